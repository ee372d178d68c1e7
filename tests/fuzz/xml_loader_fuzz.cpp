// libFuzzer target over the XML loader. A crash, a sanitizer report or a hang is a finding, and
// so is a document that TinyXML nests deeper than the pre-scan measured: that document could
// overflow the stack once it is deep enough.
#include "Platform/TextEncoding.h"
#include "Platform/XmlPreScan.h"
#include "Platform/XmlFile.h"
#include "Platform/XmlNumbers.h"
#include "../Libraries/PlatformXml/XmlTestSupport.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// On the text the loader hands TinyXML.
void CheckScanAgainstTinyXml(std::string_view bytes)
{
    const std::string text = CTextEncoding::FileTextToUtf8(bytes);
    const bool hasMark = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (text.find('\0') != std::string::npos)
        return;
    const CXmlPreScan::Result scan = CXmlPreScan::Scan(text, CXmlFile::kMaxDepth, CXmlFile::kMaxAttributes);
    if (scan.overLimit)
        return;
    TiXmlDocument doc;
    doc.Parse(text.c_str(), nullptr, hasMark ? TIXML_ENCODING_UNKNOWN : TIXML_ENCODING_UTF8);
    const int depth = TreeDepth(doc);
    if (depth > scan.depth) {
        std::fprintf(stderr, "TinyXML nests %d levels, the scan found %d\n", depth, scan.depth);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TiXmlDocument doc;
    std::string error;
    if (CXmlFile::LoadText(doc, bytes, "fuzz.xml", &error)) {
        for (const TiXmlElement* element = doc.RootElement(); element; element = element->NextSiblingElement()) {
            for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute; attribute = attribute->Next()) {
                double d;
                int i;
                CXmlNumbers::QueryDoubleAttribute(*element, attribute->Name(), d);
                CXmlNumbers::QueryIntAttribute(*element, attribute->Name(), i);
                CXmlNumbers::ReadOptionalDouble(*element, attribute->Name(), d);
            }
        }
        CXmlFile::ToText(doc);
    }
    CheckScanAgainstTinyXml(bytes);
    return 0;
}
