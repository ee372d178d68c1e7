#include "CommonFiles/DeviceConfiguration.h"

#include "CommonFiles/ProjectData.h"

#include "CommonFiles/UnitDb.h"
#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

CDeviceConfiguration* CDeviceConfiguration::GetInstance()
{
    CProjectData* project = CProjectData::GetInstance();
    return project ? &project->features : nullptr;
}

BOOL CDeviceConfiguration::Lookup(int featureId, int& itemId) const
{
    const FeatureMap::const_iterator found = m_features.find(featureId);
    itemId = found != m_features.end() ? found->second : 0;
    return found != m_features.end() ? TRUE : FALSE;
}

BOOL CDeviceConfiguration::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    TiXmlElement features("Features");
    for (const FeatureMap::value_type& entry : m_features) {
        TiXmlElement feature("Feature");
        CXmlNumbers::SetLongAttribute(feature, "Id", entry.first);
        CXmlNumbers::SetLongAttribute(feature, "Value", entry.second);
        features.InsertEndChild(feature);
    }
    element->InsertEndChild(features);
    return TRUE;
}

BOOL CDeviceConfiguration::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    RemoveAll();
    const TiXmlElement* features = element->FirstChildElement("Features");
    if (features == nullptr)
        return FALSE;
    for (const TiXmlElement* feature = features->FirstChildElement("Feature"); feature != nullptr;
         feature = feature->NextSiblingElement("Feature")) {
        int id = 0;
        int value = 0;
        if (!CXmlNumbers::ReadOptionalInt(*feature, "Id", id) || !CXmlNumbers::ReadOptionalInt(*feature, "Value", value))
            return FALSE;
        if (id > 0 && value > 0)
            SetAt(id, value);
    }
    return TRUE;
}

void CDeviceConfiguration::GetVNumber(std::string& vNumber) const
{
    vNumber.clear();
    const CUnitDb* db = CUnitDb::GetInstance();
    if (db == nullptr)
        return;
    for (const FeatureMap::value_type& entry : m_features)
        db->GetOrderNumberPrefix(entry.second, vNumber);
}
