// What pages and elements of a report template have in common: a type name that is also their
// XML tag, a sort order and a display condition.
#pragma once

#include <string>

class TiXmlElement;
class TiXmlNode;

class CReportObject {
public:
    virtual ~CReportObject() = default;

    const std::string& GetTypeName() const { return m_typeName; }

    // Reads the object from its XML element; false only for a missing element or one whose tag
    // is not exactly the type name. Attribute faults fall back to defaults.
    virtual bool Load(const TiXmlElement* element);
    // Writes the object's attributes (and children) into an element named by the type name.
    virtual void Save(TiXmlElement& element) const;
    // Appends the object as a new child element of parent.
    void AppendTo(TiXmlNode& parent) const;

    short id = -1;
    int sortorder = -1;  // the page number on output pages
    std::string displaycondition;

protected:
    explicit CReportObject(const char* typeName) : m_typeName(typeName) {}
    CReportObject(const CReportObject&) = default;
    CReportObject& operator=(const CReportObject&) = default;

private:
    std::string m_typeName;
};
