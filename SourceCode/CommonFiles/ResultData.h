// The project's list of result rows in order: filled by the sizing run, merged, filtered and
// shown by the results page, stored as the part "ResultData" of project files.
#pragma once

#include "CommonFiles/ResultItem.h"
#include "Oddments/OleDbTypes.h"

#include <memory>
#include <vector>

class TiXmlElement;

class CResultData {
public:
    CResultData() = default;
    CResultData(const CResultData&) = delete;
    CResultData& operator=(const CResultData&) = delete;

    // The project's result list: the one in the process-wide project; null after process end.
    static CResultData* GetInstance();

    void RemoveAll() { m_items.clear(); }
    // Appends a copy of the row; its position.
    int Add(const CResultItem& item);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetUpperBound() const { return GetCount() - 1; }
    // The row at a position from 0 to GetUpperBound.
    const CResultItem& GetAt(int index) const { return *m_items[static_cast<std::size_t>(index)]; }
    CResultItem& GetAt(int index) { return *m_items[static_cast<std::size_t>(index)]; }

    // A child "ResultItems" with one "ResultItem" per row. FALSE without an element or when a
    // row cannot be written; nothing is added then.
    BOOL WriteXml(TiXmlElement* element) const;
    // Empties the list, then appends the rows of "ResultItems" in order. FALSE without an
    // element, without "ResultItems" or at the first row that cannot be read (the rows before
    // it stay).
    BOOL ReadXml(const TiXmlElement* element);

    // Rows of one size and version whose flow ranges are all the same become one row valid for
    // every pressure class (PressureId RESULT_EVERY_PRESSURE_CLASS); the rows of a group with
    // differing ranges stay, next to each other. The order of the groups' first rows is kept.
    void MergePressureClasses();

private:
    std::vector<std::unique_ptr<CResultItem>> m_items;
};
