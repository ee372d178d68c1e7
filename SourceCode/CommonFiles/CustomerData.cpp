#include "CommonFiles/CustomerData.h"

#include "CommonFiles/ProjectData.h"

#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/NumberText.h"
#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

namespace {

const char* const kTextFields[] = {"customer", "tag_no", "reference"};

void AppendText(TiXmlElement& parent, const char* name, const std::string& text)
{
    TiXmlElement child(name);
    child.InsertEndChild(TiXmlText(text.c_str()));
    parent.InsertEndChild(child);
}

// FALSE when the element is missing; an empty element gives an empty text.
BOOL ReadText(const TiXmlElement& parent, const char* name, std::string& text)
{
    const TiXmlElement* child = parent.FirstChildElement(name);
    if (child == nullptr)
        return FALSE;
    const char* value = child->GetText();
    text = value != nullptr ? value : "";
    return TRUE;
}

}  // namespace

CCustomerData* CCustomerData::GetInstance()
{
    CProjectData* project = CProjectData::GetInstance();
    return project ? &project->customer : nullptr;
}

void CCustomerData::Reset()
{
    customer.clear();
    tag_no.clear();
    reference.clear();
    pa = 0;
    vk = 0;
    pos = 0;
}

BOOL CCustomerData::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    AppendText(*element, "customer", customer);
    AppendText(*element, "tag_no", tag_no);
    AppendText(*element, "reference", reference);
    TiXmlElement id("id");
    CXmlNumbers::SetLongAttribute(id, "pa", pa);
    CXmlNumbers::SetLongAttribute(id, "vk", vk);
    CXmlNumbers::SetLongAttribute(id, "pos", pos);
    element->InsertEndChild(id);
    return TRUE;
}

BOOL CCustomerData::ReadXml(const TiXmlElement* element)
{
    Reset();
    if (element == nullptr)
        return FALSE;
    if (!ReadText(*element, "customer", customer) || !ReadText(*element, "tag_no", tag_no) ||
        !ReadText(*element, "reference", reference))
        return FALSE;
    if (const TiXmlElement* id = element->FirstChildElement("id")) {
        pa = static_cast<int>(CXmlNumbers::AttributeAtoL(*id, "pa"));
        vk = static_cast<int>(CXmlNumbers::AttributeAtoL(*id, "vk"));
        pos = static_cast<int>(CXmlNumbers::AttributeAtoL(*id, "pos"));
    }
    return TRUE;
}

BOOL CCustomerData::SaveToDbFields(CDbColumnMap& fields) const
{
    fields.clear();
    fields[kTextFields[0]] = customer;
    fields[kTextFields[1]] = tag_no;
    fields[kTextFields[2]] = reference;
    return TRUE;
}

void CCustomerData::QuoteDbFields(CDbColumnMap& fields)
{
    for (CDbColumnMap::value_type& entry : fields)
        entry.second = "'" + CDynamicRecordSetOleDb::DoubleCharacter(entry.second, '\'') + "'";
}

BOOL CCustomerData::LoadFromDbFields(const CDbColumnMap& fields)
{
    Reset();
    CDbColumnMap::const_iterator found;
    if ((found = fields.find("pa")) != fields.end())
        pa = static_cast<int>(Platform::AtoL(found->second.c_str()));
    if ((found = fields.find("vk")) != fields.end())
        vk = static_cast<int>(Platform::AtoL(found->second.c_str()));
    if ((found = fields.find("pos")) != fields.end())
        pos = static_cast<int>(Platform::AtoL(found->second.c_str()));
    std::string* const texts[] = {&customer, &tag_no, &reference};
    for (int i = 0; i < 3; ++i) {
        if ((found = fields.find(kTextFields[i])) != fields.end())
            *texts[i] = found->second;
    }
    return TRUE;
}
