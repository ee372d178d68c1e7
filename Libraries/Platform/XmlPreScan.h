// TinyXML parses nested elements by recursion, so a deep enough document overflows the stack,
// and it checks each new attribute against all earlier ones of its element, so an element
// with a huge number of them takes hours. This scan measures both before TinyXML sees the
// text, without recursion. It reads the text the way TinyXML's parser does (comments, CDATA,
// declarations, other "<!" and "<?" nodes, quoted attribute values, TinyXML's reading of
// character references, and where its parser gives up), so markup hidden in any of them is
// never counted and no element TinyXML will open is missed.
#pragma once

#include <cstddef>
#include <string_view>

class CXmlPreScan
{
public:
    struct Result
    {
        int depth = 0;            // deepest element nesting TinyXML reaches (1: a root alone)
        int attributes = 0;       // most attributes on one element
        bool overLimit = false;   // one of the two went past its limit; the scan stopped there
        std::size_t offset = 0;   // when overLimit: where the element that did it starts
    };

    // text: valid UTF-8 without NUL bytes, as TinyXML will get it in its UTF-8 mode.
    static Result Scan(std::string_view text, int depthLimit, int attributeLimit);
};
