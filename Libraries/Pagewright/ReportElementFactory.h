// Makes the report element that an XML element of a template describes.
#pragma once

#include <memory>

class CReportElement;
class CReportPage;
class TiXmlElement;

// The tag (in any case) chooses the kind: line, rectangle, text, picture, htmltext, table or
// column; the element then loads itself for the owner page. Null for another tag and for an
// element whose Load fails (which wants the tag in lower case).
std::unique_ptr<CReportElement> CreateReportElement(const TiXmlElement* element, CReportPage* owner);
