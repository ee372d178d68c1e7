#include "CommonFiles/CustomerData.h"

#include "CommonFiles/ProjectData.h"

#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/NumberText.h"
#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

#include <climits>
#include <cstdint>

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

// The key's columns in the production database: pa and vk hold 32 bits, pos 16.
struct SKeyField {
    const char* name;
    int CCustomerData::*field;
    long min;
    long max;
};

const SKeyField kKeyFields[] = {
    {"pa", &CCustomerData::pa, INT_MIN, INT_MAX},
    {"vk", &CCustomerData::vk, INT_MIN, INT_MAX},
    {"pos", &CCustomerData::pos, INT16_MIN, INT16_MAX},
};

// A key number is one whole number within its column, or no key at all: a number cut to fit
// would name another project.
bool ReadKeyNumber(const char* text, const SKeyField& key, int& value)
{
    long number = 0;
    if (!Platform::TextToLong(text, number) || number < key.min || number > key.max)
        return false;
    value = static_cast<int>(number);
    return true;
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
        for (const SKeyField& key : kKeyFields) {
            const char* text = id->Attribute(key.name);
            if (text != nullptr && !ReadKeyNumber(text, key, this->*key.field))
                return FALSE;
        }
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
    for (const SKeyField& key : kKeyFields) {
        if ((found = fields.find(key.name)) != fields.end() && !ReadKeyNumber(found->second.c_str(), key, this->*key.field))
            return FALSE;
    }
    std::string* const texts[] = {&customer, &tag_no, &reference};
    for (int i = 0; i < 3; ++i) {
        if ((found = fields.find(kTextFields[i])) != fields.end())
            *texts[i] = found->second;
    }
    return TRUE;
}
