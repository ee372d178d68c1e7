// One named font of a report template, which text and html text elements name.
#pragma once

#include <string>

class TiXmlElement;

class CReportFont {
public:
    // Reads a "font" element; false only when there is none.
    bool Load(const TiXmlElement* element);
    void Save(TiXmlElement& element) const;

    std::string fontname;  // the key elements use
    std::string typeface;
    // Tenths of a millimetre of cell height, or points when sizeInPoints is set ("12pt").
    int size = 0;
    bool sizeInPoints = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};
