#include "ProductionDb/DbRecordCondition.h"

#include <cctype>

namespace {

constexpr size_t kMaxDigits = 10;

// The condition part of one column: exact, or the range of every number that starts with the
// digits of value when padded to width digits. Where the padding applies, a shorter key is a
// key of its own too (PA 1001 must not only find 10010-10019): with shortAlsoExact the number
// itself matches as well.
std::string Part(const char* column, long long value, bool exact, size_t width, const char* rangeJoin,
                 bool shortAlsoExact)
{
    const std::string name = std::string("$TABLE.") + column;
    const std::string digits = std::to_string(value);
    if (exact)
        return name + "=" + digits + " ";
    std::string low = digits;
    std::string high = digits;
    if (low.size() < width) {
        low.append(width - digits.size(), '0');
        high.append(width - digits.size(), '9');
    }
    if (!shortAlsoExact || digits.size() >= width)
        return name + ">=" + low + rangeJoin + "AND " + name + "<=" + high + " ";
    // One range from the number itself to the top of its padded range, filtered: the keys are
    // then read in index order as they come, and a damaged page shows as a read part way
    // (an OR of the two would sort all keys before the first one comes).
    return "(" + name + ">=" + digits + " AND " + name + "<=" + high + " AND (" + name + "=" + digits + " OR " +
           name + ">=" + low + ")) ";
}

}  // namespace

long long CDbRecordCondition::ParseNumber(const std::string& text)
{
    long long value = 0;
    size_t digits = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || digits == kMaxDigits)
            break;
        value = value * 10 + (c - '0');
        ++digits;
    }
    return value;
}

long long CDbRecordCondition::ParsePosition(const std::string& text)
{
    std::string padded = text;
    if (padded.size() < 3)
        padded.append(3 - padded.size(), '0');
    return ParseNumber(padded);
}

bool CDbRecordCondition::IsWorthSearching(long long pa, long long vk)
{
    return pa >= 99 || vk >= 99;
}

std::string CDbRecordCondition::Build(long long pa, long long vk, long long pos, bool exactPa, bool exactVk,
                                      bool exactPos, bool includeZero)
{
    std::string condition = "(";
    if (includeZero || pa > 0)
        condition += Part("pa", pa, exactPa, 5, " ", true);
    if (includeZero || vk > 0)
        condition += std::string(condition.size() > 1 ? "AND " : "") + Part("vk", vk, exactVk, 5, "  ", true);
    if (includeZero || pos > 0)
        condition += std::string(condition.size() > 1 ? "AND " : "") + Part("pos", pos, exactPos, 3, "  ", false);
    condition += ")";
    return condition == "()" ? std::string() : condition;
}

std::string CDbRecordCondition::ForKey(const CProductionDbKey& key, bool includeZero)
{
    return Build(key.pa, key.vk, key.pos, true, true, true, includeZero);
}

std::string CDbRecordCondition::ListStatement(long long pa, long long vk, long long pos, const std::string& table)
{
    const std::string condition = Build(pa, vk, pos, false, false, true, false);
    std::string sql = "SELECT pa, vk, pos FROM $TABLE ";
    if (!condition.empty())
        sql += "WHERE " + condition + " ";
    sql += "ORDER BY pa, vk, pos";
    return ReplaceTable(sql, table);
}

std::string CDbRecordCondition::ReplaceTable(std::string text, const std::string& table)
{
    static const std::string placeholder = "$TABLE";
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + table.size()))
        text.replace(at, placeholder.size(), table);
    return text;
}
