// TinyXML parses nested elements by recursion, so a deep enough document overflows the stack.
// This scan measures the nesting before TinyXML sees the text, without recursion. It reads
// the text the way TinyXML's parser does (comments, CDATA, declarations, other "<!" and "<?"
// nodes, quoted attribute values, TinyXML's reading of character references, and where its
// parser gives up), so markup hidden in any of them is never counted and no element TinyXML
// will open is missed.
#pragma once

#include <cstddef>
#include <string_view>

class CXmlDepthScan
{
public:
    struct Result
    {
        int depth = 0;            // deepest element nesting TinyXML reaches (1: a root alone)
        bool tooDeep = false;     // the nesting went past the limit; the scan stopped there
        std::size_t offset = 0;   // when tooDeep: where the first element past the limit starts
    };

    // text: valid UTF-8 without NUL bytes, as TinyXML will get it in its UTF-8 mode.
    static Result Scan(std::string_view text, int limit);
};
