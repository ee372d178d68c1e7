// The SQL conditions with which the record selection finds order-number keys: prefix matching
// for what the user has typed so far, exact matching for a chosen key. Each part names its
// column as "$TABLE.<column>", for the caller to replace by a table name. The numbers come from
// digits only, so they are safe in the statement text; typed PA and VK numbers may have more
// digits than a key can hold and are kept as 64-bit numbers.
#pragma once

#include "ProductionDb/ProductionDbKey.h"

#include <string>

class CDbRecordCondition {
public:
    // A typed PA or VK number: its leading digits (at most 10) as a number; 0 when empty.
    static long long ParseNumber(const std::string& text);
    // A typed position fills the three digits from the left: "5" is 500, "05" 50, "005" 5.
    static long long ParsePosition(const std::string& text);
    // The list is only searched once a PA or VK number has at least two digits worth (>= 99).
    static bool IsWorthSearching(long long pa, long long vk);

    // "(" + parts joined by "AND " + ")", empty when no part applies. A part is exact
    // ("$TABLE.pa=%d ") or a prefix range (PA and VK padded to 5 digits, the position to 3);
    // a PA or VK of fewer than 5 digits matches itself besides its range, the position only its
    // range. Zero values are left out unless includeZero is set.
    static std::string Build(long long pa, long long vk, long long pos, bool exactPa, bool exactVk, bool exactPos,
                             bool includeZero);
    // The condition that selects exactly that key.
    static std::string ForKey(const CProductionDbKey& key, bool includeZero);
    // The statement that lists the keys matching the typed texts, in key order; table is the
    // full table name that replaces "$TABLE".
    static std::string ListStatement(long long pa, long long vk, long long pos, const std::string& table);
    // Every "$TABLE" of the text replaced by the table name.
    static std::string ReplaceTable(std::string text, const std::string& table);
};
