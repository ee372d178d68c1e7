// Who the sizing is for: customer, the measuring point's tag number and the order reference,
// with the production-database key of the project (PA number, VK number, position). Stored as
// the part "CustomerData" of project files and as a row of the production database.
#pragma once

#include "CommonFiles/DbColumnMap.h"
#include "Oddments/OleDbTypes.h"

#include <string>

class TiXmlElement;

class CCustomerData {
public:
    CCustomerData() { Reset(); }

    // The project's record: the one in the process-wide project; null after process end.
    static CCustomerData* GetInstance();

    // Empty texts, key 0/0/0.
    void Reset();

    // The children "customer", "tag_no", "reference" (text each) and "id" (attributes "pa",
    // "vk", "pos"). FALSE only without an element.
    BOOL WriteXml(TiXmlElement* element) const;
    // Resets, then reads what WriteXml writes; "id" and each of its attributes may be absent
    // (0). FALSE without an element, when one of the three texts is missing, or for a key number
    // that is not a whole number within its production-database column (pa and vk 32 bits, pos
    // 16 bits); what was read before stays.
    BOOL ReadXml(const TiXmlElement* element);

    // Empties the map and puts the three texts in as they stand ("customer", "tag_no",
    // "reference"), for binding as statement values. The key is not put in: the production
    // database writes its key itself. Always TRUE.
    BOOL SaveToDbFields(CDbColumnMap& fields) const;
    // Every value of the map as an SQL text literal: in single quotes, quotes inside doubled.
    static void QuoteDbFields(CDbColumnMap& fields);
    // Resets, then takes "pa", "vk", "pos", "customer", "tag_no" and "reference" where the map
    // has them (texts as they stand). FALSE for a key number as ReadXml refuses it.
    BOOL LoadFromDbFields(const CDbColumnMap& fields);

    std::string customer;
    std::string tag_no;
    std::string reference;
    int pa;
    int vk;
    int pos;
};
