#include "Oddments/DynamicRecordSetOleDb.h"

#include "Oddments/DbColumn.h"
#include "Oddments/DbConnection.h"
#include "Oddments/Session.h"
#include "Platform/NumberText.h"
#include "Platform/TextEncoding.h"
#include "Quillet/LogManager.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstring>

namespace {

__extension__ typedef unsigned __int128 UInt128;

UInt128 NumericMagnitude(const DB_NUMERIC& numeric)
{
    UInt128 magnitude = 0;
    for (int i = 15; i >= 0; --i)
        magnitude = (magnitude << 8) | numeric.val[i];
    return magnitude;
}

double NumericToDouble(const DB_NUMERIC& numeric)
{
    const double value =
        static_cast<double>(NumericMagnitude(numeric)) / std::pow(10.0, static_cast<double>(numeric.scale));
    // An emptied buffer has sign 0 too: zero stays zero, not -0.
    return numeric.sign == 0 && value != 0.0 ? -value : value;
}

// A column's value as a whole number, truncated towards zero. outside: no 64-bit number can
// give it (NaN, beyond the range, a UI8 above the signed range); value then keeps the sign of
// what is stored, so a test for zero still tells the truth.
struct SWhole {
    long long value = 0;
    bool outside = false;
};

SWhole Outside(bool negative)
{
    return {negative ? LLONG_MIN : LLONG_MAX, true};
}

SWhole NumericToWhole(const DB_NUMERIC& numeric)
{
    UInt128 whole = NumericMagnitude(numeric);
    for (int i = 0; i < numeric.scale; ++i)
        whole /= 10;
    const bool negative = numeric.sign == 0;
    if (whole > UInt128(LLONG_MAX))
        return Outside(negative);
    const long long value = static_cast<long long>(whole);
    return {negative ? -value : value, false};
}

SWhole DoubleToWhole(double value)
{
    if (std::isnan(value))
        return {0, true};
    // 2^63 is exact as a double; every double below it in size fits.
    if (std::fabs(value) >= 9223372036854775808.0)
        return Outside(value < 0);
    return {static_cast<long long>(value), false};
}

// A byte stream as text: with a zero byte in it, the bytes are UTF-16 units up to the first
// zero unit (a trailing odd byte dropped); without one, they are the text itself.
std::string StreamText(std::string_view bytes)
{
    if (bytes.find('\0') == std::string_view::npos)
        return std::string(bytes);
    std::u16string wide;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                    (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (unit == 0)
            break;
        wide += unit;
    }
    return CTextEncoding::Utf16ToUtf8(wide);
}

// The value of a column of one of the integer types (UI8 as its bit pattern); false for
// every other type.
bool IntegerOf(const CDbColumn& column, long long& value)
{
    const CDbColumn::Value& v = column.GetValue();
    if (column.IsWide()) {
        value = v.i8;
        return true;
    }
    switch (column.GetType()) {
    case DBTYPE_I1:
        value = v.i1;
        return true;
    case DBTYPE_I2:
        value = v.i2;
        return true;
    case DBTYPE_I4:
        value = v.i4;
        return true;
    case DBTYPE_UI1:
        value = v.ui1;
        return true;
    case DBTYPE_UI2:
        value = v.ui2;
        return true;
    case DBTYPE_UI4:
        value = v.ui4;
        return true;
    case DBTYPE_I8:
    case DBTYPE_UI8:
        value = v.i8;
        return true;
    default:
        return false;
    }
}

SWhole WholeOf(const CDbColumn& column, BOOL convert)
{
    long long integer = 0;
    if (IntegerOf(column, integer)) {
        if (column.GetType() == DBTYPE_UI8 && integer < 0)
            return Outside(false);
        return {integer, false};
    }
    const CDbColumn::Value& v = column.GetValue();
    if (column.GetType() == DBTYPE_NUMERIC)
        return NumericToWhole(v.numeric);
    if (!convert)
        return {};
    switch (column.GetType()) {
    case DBTYPE_R4:
        return DoubleToWhole(v.r4);
    case DBTYPE_R8:
        return DoubleToWhole(v.r8);
    case DBTYPE_CY:
        return {v.cy / 10000, false};
    // atol saturates at the range of long, which lies beyond that of any caller's number.
    case DBTYPE_STR:
        return {Platform::AtoL(std::string(column.GetText()).c_str()), false};
    case DBTYPE_WSTR:
        return {Platform::AtoL(CTextEncoding::Utf16ToUtf8(column.GetWideText()).c_str()), false};
    default:
        return {};
    }
}

CDateTime NullDate()
{
    CDateTime date(1900, 1, 1, 0, 0, 0);
    date.SetStatus(CDateTime::null);
    return date;
}

}  // namespace

CDynamicRecordSetOleDb::CDynamicRecordSetOleDb()
    : m_log(CLogManager::GetInstance()->GetLogger("CDynamicRecordSetOleDb", LOGLEVEL_PARENT))
{
}

CDynamicRecordSetOleDb::~CDynamicRecordSetOleDb()
{
    Close();
}

BOOL CDynamicRecordSetOleDb::Open(CSession& session, const char* sql, const CDbValues& params)
{
    Close();
    m_sql = sql != nullptr ? sql : "";
    QUILLET_POS(m_log);
    m_log.Trace("Executing SQL: %s", m_sql.c_str());
    m_connection = session.GetConnection();
    if (m_connection == nullptr)
        m_result = E_UNEXPECTED;
    else
        m_result = m_connection->Query(m_sql, params, m_cursor);
    QUILLET_POS(m_log);
    m_log.Trace("Executing SQL result: 0x%08X", static_cast<unsigned>(m_result));
    return SUCCEEDED(m_result) ? TRUE : FALSE;
}

void CDynamicRecordSetOleDb::Close()
{
    std::fill(std::begin(m_nameHits), std::end(m_nameHits), NameHit());
    m_cursor.reset();
    m_connection.reset();
    m_sql.clear();
    m_result = S_OK;
    m_valueFailed = false;
}

BOOL CDynamicRecordSetOleDb::MoveNext()
{
    // A value of this step that no getter could give stands for the whole read.
    if (m_valueFailed) {
        ClearRow();
        return FALSE;
    }
    // A fetched row sets every column, so the row is emptied only when none came.
    m_result = m_cursor != nullptr ? m_cursor->Fetch() : E_UNEXPECTED;
    if (m_result != S_OK)
        ClearRow();
    // Ends the loop like the end of the rows: callers tell the two apart by the result.
    if (FAILED(m_result) && m_cursor != nullptr) {
        QUILLET_POS(m_log);
        m_log.Error("Reading the rows failed (0x%08X, %s): %s", static_cast<unsigned>(m_result),
                    m_connection->GetErrorText().c_str(), m_sql.c_str());
    }
    return m_result == S_OK ? TRUE : FALSE;
}

void CDynamicRecordSetOleDb::ClearRow()
{
    if (m_cursor == nullptr)
        return;
    for (CDbColumn& column : m_cursor->GetColumns())
        column.Clear();
}

DBORDINAL CDynamicRecordSetOleDb::GetColumnCount() const
{
    return m_cursor != nullptr ? m_cursor->GetColumns().size() : 0;
}

const CDbColumn* CDynamicRecordSetOleDb::Column(DBORDINAL column) const
{
    if (m_cursor == nullptr || column < 1 || column > m_cursor->GetColumns().size())
        return nullptr;
    return &m_cursor->GetColumns()[column - 1];
}

const char* CDynamicRecordSetOleDb::GetColumnName(DBORDINAL column) const
{
    const CDbColumn* found = Column(column);
    return found != nullptr ? found->GetName().c_str() : nullptr;
}

bool CDynamicRecordSetOleDb::GetColumnType(DBORDINAL column, DBTYPE* type) const
{
    const CDbColumn* found = Column(column);
    if (found == nullptr || type == nullptr)
        return false;
    *type = found->GetType();
    return true;
}

// 0 when no column has the name. The first column of the name wins.
DBORDINAL CDynamicRecordSetOleDb::FindColumn(const char* name) const
{
    if (m_cursor == nullptr || name == nullptr)
        return 0;
    const std::vector<CDbColumn>& columns = m_cursor->GetColumns();
    // Literal names lie a few bytes apart: spread the pointer over all slots.
    const std::uint64_t spread = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(name)) * 0x9E3779B97F4A7C15u;
    NameHit& hit = m_nameHits[spread >> 60];
    if (hit.name == name && std::strcmp(columns[hit.column - 1].GetName().c_str(), name) == 0)
        return hit.column;

    const size_t length = std::strlen(name);
    DBORDINAL found = 0;
    bool unique = true;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string& candidate = columns[i].GetName();
        if (candidate.size() == length && std::memcmp(candidate.data(), name, length) == 0) {
            if (found != 0) {
                unique = false;
                break;
            }
            found = i + 1;
        }
    }
    // Only a name that no other column has can be checked by comparing one column.
    if (found != 0 && unique)
        hit = NameHit{name, found};
    return found;
}

bool CDynamicRecordSetOleDb::GetOrdinal(const char* name, DBORDINAL* column) const
{
    const DBORDINAL found = FindColumn(name);
    if (found == 0 || column == nullptr)
        return false;
    *column = found;
    return true;
}

int CDynamicRecordSetOleDb::GetLongAt(DBORDINAL column, BOOL convert) const
{
    const CDbColumn* found = Column(column);
    if (found == nullptr)
        return 0;
    const SWhole whole = WholeOf(*found, convert);
    if (!whole.outside && whole.value >= INT_MIN && whole.value <= INT_MAX)
        return static_cast<int>(whole.value);
    // Any other number in its place would be taken as the stored one: the step fails instead,
    // so a caller that reads its rows to the end refuses them.
    m_valueFailed = true;
    m_result = DB_E_DATAOVERFLOW;
    QUILLET_POS(m_log);
    m_log.Error("Column %s holds a value beyond the range of a 32-bit integer: %s", found->GetName().c_str(),
                m_sql.c_str());
    return 0;
}

int CDynamicRecordSetOleDb::GetLong(const char* name, BOOL convert) const
{
    return GetLongAt(FindColumn(name), convert);
}

BOOL CDynamicRecordSetOleDb::GetBoolAt(DBORDINAL column, BOOL convert) const
{
    const CDbColumn* found = Column(column);
    if (found == nullptr)
        return FALSE;
    const CDbColumn::Value& v = found->GetValue();
    // Any non-zero value is true, whatever a writer stored for it.
    if (found->GetType() == DBTYPE_BOOL)
        return v.boolean != 0 ? TRUE : FALSE;
    if (!convert)
        return FALSE;
    // All 64 bits count; the currency's unscaled value, so 0.0001 is true.
    if (found->GetType() == DBTYPE_CY)
        return v.cy != 0 ? TRUE : FALSE;
    return WholeOf(*found, TRUE).value != 0 ? TRUE : FALSE;
}

BOOL CDynamicRecordSetOleDb::GetBool(const char* name, BOOL convert) const
{
    return GetBoolAt(FindColumn(name), convert);
}

double CDynamicRecordSetOleDb::GetDoubleAt(DBORDINAL column, BOOL convert) const
{
    const CDbColumn* found = Column(column);
    if (found == nullptr)
        return 0.0;
    const CDbColumn::Value& v = found->GetValue();
    switch (found->GetType()) {
    case DBTYPE_R4:
        return v.r4;
    case DBTYPE_R8:
        return v.r8;
    case DBTYPE_CY:
        return static_cast<double>(v.cy) / 10000.0;
    case DBTYPE_NUMERIC:
        return NumericToDouble(v.numeric);
    default:
        break;
    }
    if (!convert)
        return 0.0;
    long long integer = 0;
    if (IntegerOf(*found, integer)) {
        return found->GetType() == DBTYPE_UI8 ? static_cast<double>(static_cast<std::uint64_t>(integer))
                                              : static_cast<double>(integer);
    }
    switch (found->GetType()) {
    case DBTYPE_STR:
        return Platform::AtoF(std::string(found->GetText()).c_str());
    case DBTYPE_WSTR:
        return Platform::AtoF(CTextEncoding::Utf16ToUtf8(found->GetWideText()).c_str());
    default:
        return 0.0;
    }
}

double CDynamicRecordSetOleDb::GetDouble(const char* name, BOOL convert) const
{
    return GetDoubleAt(FindColumn(name), convert);
}

void CDynamicRecordSetOleDb::GetStringAt(std::string& text, DBORDINAL column, BOOL convert) const
{
    text.clear();
    const CDbColumn* found = Column(column);
    if (found == nullptr)
        return;
    switch (found->GetType()) {
    case DBTYPE_STR:
        text.assign(found->GetText());
        return;
    case DBTYPE_WSTR:
        text = CTextEncoding::Utf16ToUtf8(found->GetWideText());
        return;
    default:
        break;
    }
    if (!convert)
        return;
    long long integer = 0;
    if (IntegerOf(*found, integer)) {
        text = found->GetType() == DBTYPE_UI8 ? std::to_string(static_cast<std::uint64_t>(integer))
                                              : std::to_string(integer);
        return;
    }
    switch (found->GetType()) {
    case DBTYPE_R4:
    case DBTYPE_R8:
    case DBTYPE_CY:
    case DBTYPE_NUMERIC:
        text = Platform::DoubleToText(GetDoubleAt(column, FALSE), 'f', 6);
        break;
    case DBTYPE_IUNKNOWN:
        text = StreamText(found->GetText());
        break;
    default:
        break;
    }
}

void CDynamicRecordSetOleDb::GetString(std::string& text, const char* name, BOOL convert) const
{
    GetStringAt(text, FindColumn(name), convert);
}

void CDynamicRecordSetOleDb::GetDateAt(CDateTime& date, DBORDINAL column, BOOL) const
{
    date = NullDate();
    const CDbColumn* found = Column(column);
    // A NULL value is no date either.
    if (found == nullptr || found->GetStatus() != DBSTATUS_S_OK)
        return;
    const CDbColumn::Value& v = found->GetValue();
    switch (found->GetType()) {
    case DBTYPE_DATE:
        date = CDateTime(v.date);
        break;
    case DBTYPE_DBDATE:
        date = CDateTime(v.dbdate.year, v.dbdate.month, v.dbdate.day, 0, 0, 0);
        break;
    case DBTYPE_DBTIME:
        date = CDateTime(1900, 1, 1, v.dbtime.hour, v.dbtime.minute, v.dbtime.second);
        break;
    case DBTYPE_DBTIMESTAMP:
        date = CDateTime(v.timestamp.year, v.timestamp.month, v.timestamp.day, v.timestamp.hour,
                         v.timestamp.minute, v.timestamp.second);
        break;
    default:
        break;
    }
}

void CDynamicRecordSetOleDb::GetDate(CDateTime& date, const char* name, BOOL convert) const
{
    GetDateAt(date, FindColumn(name), convert);
}

BOOL CDynamicRecordSetOleDb::GetBlobAt(std::vector<unsigned char>& bytes, DBORDINAL column) const
{
    bytes.clear();
    const CDbColumn* found = Column(column);
    if (found == nullptr || found->GetType() != DBTYPE_IUNKNOWN)
        return FALSE;
    const std::string_view data = found->GetText();
    bytes.assign(data.begin(), data.end());
    return TRUE;
}

BOOL CDynamicRecordSetOleDb::GetBlob(std::vector<unsigned char>& bytes, const char* name) const
{
    return GetBlobAt(bytes, FindColumn(name));
}

std::string CDynamicRecordSetOleDb::DoubleCharacter(const std::string& text, char character)
{
    std::string result;
    result.reserve(text.size() + 8);
    for (char c : text) {
        result += c;
        if (c == character)
            result += c;
    }
    return result;
}
