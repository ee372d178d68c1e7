#include "CommonFiles/ResultData.h"

#include "CommonFiles/ProjectData.h"


#include <tinyxml.h>

#include <cstring>

CResultData* CResultData::GetInstance()
{
    CProjectData* project = CProjectData::GetInstance();
    return project ? &project->results : nullptr;
}

int CResultData::Add(const CResultItem& item)
{
    m_items.push_back(std::make_unique<CResultItem>(item));
    return GetUpperBound();
}

BOOL CResultData::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    TiXmlElement items("ResultItems");
    for (const std::unique_ptr<CResultItem>& item : m_items) {
        TiXmlElement itemElement("ResultItem");
        if (!item->WriteXml(&itemElement))
            return FALSE;
        items.InsertEndChild(itemElement);
    }
    element->InsertEndChild(items);
    return TRUE;
}

BOOL CResultData::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    RemoveAll();
    const TiXmlElement* items = element->FirstChildElement("ResultItems");
    if (items == nullptr)
        return FALSE;
    for (const TiXmlElement* itemElement = items->FirstChildElement("ResultItem"); itemElement != nullptr;
         itemElement = itemElement->NextSiblingElement("ResultItem")) {
        auto item = std::make_unique<CResultItem>();
        if (!item->ReadXml(itemElement))
            return FALSE;
        m_items.push_back(std::move(item));
    }
    return TRUE;
}

void CResultData::MergePressureClasses()
{
    if (m_items.size() < 2)
        return;
    // Ranges compare by their stored bytes, so two NaN bounds count as the same.
    const auto sameFlowRange = [](const CResultItem& a, const CResultItem& b) {
        return std::memcmp(&a.FlowRange.MinRange, &b.FlowRange.MinRange, sizeof(double)) == 0 &&
               std::memcmp(&a.FlowRange.MaxRange, &b.FlowRange.MaxRange, sizeof(double)) == 0;
    };
    std::vector<std::unique_ptr<CResultItem>> remaining = std::move(m_items);
    std::vector<std::unique_ptr<CResultItem>> merged;
    merged.reserve(remaining.size());
    std::vector<bool> taken(remaining.size(), false);
    for (std::size_t first = 0; first < remaining.size(); ++first) {
        if (taken[first])
            continue;
        CResultItem& head = *remaining[first];
        std::vector<std::size_t> group;
        bool uniform = true;
        for (std::size_t i = first + 1; i < remaining.size(); ++i) {
            if (taken[i] || remaining[i]->SizeId != head.SizeId || remaining[i]->SectionId != head.SectionId)
                continue;
            group.push_back(i);
            if (uniform && !sameFlowRange(*remaining[i], head))
                uniform = false;
        }
        if (!group.empty() && uniform)
            head.PressureId = RESULT_EVERY_PRESSURE_CLASS;
        merged.push_back(std::move(remaining[first]));
        for (const std::size_t member : group) {
            taken[member] = true;
            if (!uniform)
                merged.push_back(std::move(remaining[member]));
        }
    }
    m_items = std::move(merged);
}
