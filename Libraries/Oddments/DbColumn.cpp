#include "Oddments/DbColumn.h"

#include "Platform/DateTime.h"
#include "Platform/NumberText.h"
#include "Platform/TextEncoding.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

__extension__ typedef unsigned __int128 UInt128;

constexpr int kMaxDecimalDigits = 38;

UInt128 PowerOfTen(int exponent)
{
    UInt128 result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

std::string_view Trimmed(const char* text, size_t length)
{
    std::string_view view(text, length);
    while (!view.empty() && (view.front() == ' ' || view.front() == '\t'))
        view.remove_prefix(1);
    while (!view.empty() && (view.back() == ' ' || view.back() == '\t'))
        view.remove_suffix(1);
    return view;
}

// A decimal number read exactly: "-123.45" is negative, magnitude 12345, scale 2; an
// exponent moves the scale ("1.5e3" is 15 with scale -2).
struct Decimal {
    bool negative = false;
    UInt128 magnitude = 0;
    int scale = 0;
};

bool ParseDecimal(std::string_view text, Decimal& out)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        out.negative = text[i++] == '-';
    int digits = 0;
    bool point = false;
    int significant = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        ++digits;
        if (significant == 0 && c == '0') {
            if (point)
                ++out.scale;
            continue;
        }
        if (++significant > kMaxDecimalDigits)
            return false;
        out.magnitude = out.magnitude * 10 + static_cast<unsigned>(c - '0');
        if (point)
            ++out.scale;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        long exponent = 0;
        if (!Platform::TextToLong(text.substr(i + 1), exponent) || exponent < -1000 ||
            exponent > 1000)
            return false;
        out.scale -= static_cast<int>(exponent);
        i = text.size();
    }
    return i == text.size();
}

// Brings the number to the wanted scale, rounding half away from zero; false when the
// result needs more digits than a column can hold.
bool Rescale(Decimal& number, int scale)
{
    if (number.magnitude == 0) {
        number.scale = scale;
        return true;
    }
    if (number.scale > scale) {
        const int drop = number.scale - scale;
        if (drop > kMaxDecimalDigits) {
            number.magnitude = 0;
        } else {
            const UInt128 divisor = PowerOfTen(drop);
            const UInt128 remainder = number.magnitude % divisor;
            number.magnitude /= divisor;
            if (remainder * 2 >= divisor)
                ++number.magnitude;
        }
    } else if (number.scale < scale) {
        const int grow = scale - number.scale;
        if (grow > kMaxDecimalDigits || number.magnitude >= PowerOfTen(kMaxDecimalDigits - grow))
            return false;
        number.magnitude *= PowerOfTen(grow);
    }
    number.scale = scale;
    return number.magnitude < PowerOfTen(kMaxDecimalDigits);
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

struct DateText {
    bool hasDate = false;
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    std::uint32_t fraction = 0;  // billionths
};

// Reads exactly `count` digits at text[i].
bool Digits(std::string_view text, size_t& i, int count, int& out)
{
    out = 0;
    for (int k = 0; k < count; ++k, ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

// "YYYY-MM-DD", "HH:MM[:SS[.f]]" or both, separated by ' ' or 'T'; a trailing zone offset
// ("Z", "+01", "-05:30") is ignored: the value is taken as the wall-clock time it shows.
bool ParseDateText(std::string_view text, DateText& out)
{
    size_t i = 0;
    if (text.size() >= 10 && text[4] == '-') {
        if (!Digits(text, i, 4, out.year) || text[i++] != '-' || !Digits(text, i, 2, out.month) ||
            i >= text.size() || text[i++] != '-' || !Digits(text, i, 2, out.day))
            return false;
        if (out.month < 1 || out.month > 12 || out.day < 1 ||
            out.day > DaysInMonth(out.year, out.month))
            return false;
        out.hasDate = true;
        if (i == text.size())
            return true;
        if (text[i] != ' ' && text[i] != 'T')
            return false;
        ++i;
    }
    if (!Digits(text, i, 2, out.hour) || i >= text.size() || text[i++] != ':' ||
        !Digits(text, i, 2, out.minute))
        return false;
    if (i < text.size() && text[i] == ':') {
        ++i;
        if (!Digits(text, i, 2, out.second))
            return false;
        if (i < text.size() && text[i] == '.') {
            ++i;
            std::uint32_t scale = 100000000;
            const size_t start = i;
            for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
                out.fraction += static_cast<std::uint32_t>(text[i] - '0') * scale;
                scale /= 10;
            }
            if (i == start)
                return false;
        }
    }
    if (out.hour > 23 || out.minute > 59 || out.second > 59)
        return false;
    if (i == text.size())
        return true;
    const std::string_view zone = text.substr(i);
    if (zone == "Z")
        return true;
    if (zone[0] != '+' && zone[0] != '-')
        return false;
    for (size_t k = 1; k < zone.size(); ++k) {
        if ((zone[k] < '0' || zone[k] > '9') && zone[k] != ':')
            return false;
    }
    return zone.size() > 1;
}

}  // namespace

CDbColumn::CDbColumn(std::string name, const Oddments::DeclaredType& type)
    : m_name(std::move(name)), m_type(type)
{
    Clear();
}

void CDbColumn::Clear()
{
    std::memset(&m_value, 0, sizeof m_value);
    m_text.clear();
    m_view = std::string_view();
    m_wideText.clear();
    m_status = DBSTATUS_S_ISNULL;
    m_wide = false;
}

void CDbColumn::Fail(DBSTATUS status)
{
    Clear();
    m_status = status;
}

void CDbColumn::SetInteger(long long value)
{
    auto inRange = [&](long long low, long long high) {
        if (value >= low && value <= high)
            return true;
        Fail(DBSTATUS_E_DATAOVERFLOW);
        return false;
    };
    // Kept whole rather than lost: read like a 64-bit column, as another provider's wider
    // column would give it.
    auto fitsOrWidens = [&](long long low, long long high) {
        if (value >= low && value <= high)
            return true;
        m_value.i8 = value;
        m_wide = true;
        return false;
    };
    m_status = DBSTATUS_S_OK;
    m_wide = false;
    switch (m_type.type) {
    case DBTYPE_I1:
        if (fitsOrWidens(INT8_MIN, INT8_MAX))
            m_value.i1 = static_cast<std::int8_t>(value);
        break;
    case DBTYPE_UI1:
        if (fitsOrWidens(0, UINT8_MAX))
            m_value.ui1 = static_cast<std::uint8_t>(value);
        break;
    case DBTYPE_I2:
        if (fitsOrWidens(INT16_MIN, INT16_MAX))
            m_value.i2 = static_cast<std::int16_t>(value);
        break;
    case DBTYPE_UI2:
        if (fitsOrWidens(0, UINT16_MAX))
            m_value.ui2 = static_cast<std::uint16_t>(value);
        break;
    case DBTYPE_I4:
        if (fitsOrWidens(INT32_MIN, INT32_MAX))
            m_value.i4 = static_cast<std::int32_t>(value);
        break;
    case DBTYPE_UI4:
        if (fitsOrWidens(0, UINT32_MAX))
            m_value.ui4 = static_cast<std::uint32_t>(value);
        break;
    case DBTYPE_I8:
        m_value.i8 = value;
        break;
    case DBTYPE_UI8:
        if (inRange(0, INT64_MAX))
            m_value.ui8 = static_cast<std::uint64_t>(value);
        break;
    case DBTYPE_R4:
        m_value.r4 = static_cast<float>(value);
        break;
    case DBTYPE_R8:
        m_value.r8 = static_cast<double>(value);
        break;
    case DBTYPE_CY:
        if (inRange(INT64_MIN / 10000, INT64_MAX / 10000))
            m_value.cy = value * 10000;
        break;
    case DBTYPE_BOOL:
        m_value.boolean = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case DBTYPE_NUMERIC:
    case DBTYPE_STR:
    case DBTYPE_WSTR:
    case DBTYPE_IUNKNOWN: {
        const std::string text = Platform::LongToText(static_cast<long>(value));
        SetText(text.data(), text.size());
        break;
    }
    default:
        Fail(DBSTATUS_E_CANTCONVERTVALUE);
        break;
    }
}

void CDbColumn::SetReal(double value)
{
    switch (m_type.type) {
    case DBTYPE_I1:
    case DBTYPE_UI1:
    case DBTYPE_I2:
    case DBTYPE_UI2:
    case DBTYPE_I4:
    case DBTYPE_UI4:
    case DBTYPE_I8:
    case DBTYPE_UI8:
        // Towards zero, as the database itself reads a real as an integer.
        if (value > -9.2e18 && value < 9.2e18)
            SetInteger(static_cast<long long>(value));
        else
            Fail(DBSTATUS_E_DATAOVERFLOW);
        break;
    case DBTYPE_R4:
        m_status = DBSTATUS_S_OK;
        m_value.r4 = static_cast<float>(value);
        break;
    case DBTYPE_R8:
        m_status = DBSTATUS_S_OK;
        m_value.r8 = value;
        break;
    case DBTYPE_BOOL:
        m_status = DBSTATUS_S_OK;
        m_value.boolean = value != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case DBTYPE_CY:
    case DBTYPE_NUMERIC: {
        // Through the 15 significant digits a real reliably holds, so 12.3456 stays 12.3456
        // and does not turn into 12.345599999...
        if (!std::isfinite(value)) {
            Fail(DBSTATUS_E_CANTCONVERTVALUE);
            break;
        }
        const std::string text = Platform::DoubleToText(value, 'g', 15);
        SetText(text.data(), text.size());
        break;
    }
    case DBTYPE_STR:
    case DBTYPE_WSTR:
    case DBTYPE_IUNKNOWN: {
        const std::string text = Platform::DoubleToText(value);
        SetText(text.data(), text.size());
        break;
    }
    default:
        Fail(DBSTATUS_E_CANTCONVERTVALUE);
        break;
    }
}

void CDbColumn::SetText(const char* text, size_t length)
{
    switch (m_type.type) {
    case DBTYPE_STR:
    case DBTYPE_IUNKNOWN:
        m_status = DBSTATUS_S_OK;
        m_text.assign(text, length);
        m_view = m_text;
        return;
    case DBTYPE_WSTR:
        m_status = DBSTATUS_S_OK;
        m_wideText = CTextEncoding::Utf8ToUtf16(std::string_view(text, length));
        return;
    case DBTYPE_CY:
    case DBTYPE_NUMERIC:
        SetDecimalText(text, length);
        return;
    case DBTYPE_DATE:
    case DBTYPE_DBDATE:
    case DBTYPE_DBTIME:
    case DBTYPE_DBTIMESTAMP:
        SetDateText(text, length);
        return;
    case DBTYPE_BOOL: {
        std::string word(Trimmed(text, length));
        for (char& c : word)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (word == "t" || word == "true" || word == "y" || word == "yes" || word == "on") {
            SetInteger(1);
            return;
        }
        if (word == "f" || word == "false" || word == "n" || word == "no" || word == "off") {
            SetInteger(0);
            return;
        }
        break;  // a number, below
    }
    default:
        break;
    }
    const std::string_view view = Trimmed(text, length);
    long integer = 0;
    double real = 0.0;
    if (Platform::TextToLong(view, integer))
        SetInteger(integer);
    else if (Platform::TextToDouble(view, real))
        SetReal(real);
    else
        Fail(DBSTATUS_E_CANTCONVERTVALUE);
}

void CDbColumn::SetBytes(const void* data, size_t length)
{
    SetText(static_cast<const char*>(data), length);
}

void CDbColumn::SetTextReference(const char* text, size_t length)
{
    if (m_type.type == DBTYPE_STR || m_type.type == DBTYPE_IUNKNOWN) {
        m_status = DBSTATUS_S_OK;
        m_view = std::string_view(text, length);
    } else {
        SetText(text, length);
    }
}

void CDbColumn::SetDecimalText(const char* text, size_t length)
{
    Decimal number;
    if (!ParseDecimal(Trimmed(text, length), number)) {
        Fail(DBSTATUS_E_CANTCONVERTVALUE);
        return;
    }
    int scale = m_type.scale;
    if (m_type.type == DBTYPE_NUMERIC && !m_type.fixedScale)
        scale = number.scale < 0 ? 0 : (number.scale > kMaxDecimalDigits ? kMaxDecimalDigits : number.scale);
    if (!Rescale(number, scale)) {
        Fail(DBSTATUS_E_DATAOVERFLOW);
        return;
    }
    if (m_type.type == DBTYPE_CY) {
        const UInt128 limit = number.negative ? UInt128(INT64_MAX) + 1 : UInt128(INT64_MAX);
        if (number.magnitude > limit) {
            Fail(DBSTATUS_E_DATAOVERFLOW);
            return;
        }
        m_status = DBSTATUS_S_OK;
        const std::uint64_t magnitude = static_cast<std::uint64_t>(number.magnitude);
        m_value.cy = number.negative ? static_cast<std::int64_t>(0 - magnitude)
                                     : static_cast<std::int64_t>(magnitude);
        return;
    }
    m_status = DBSTATUS_S_OK;
    DB_NUMERIC& numeric = m_value.numeric;
    numeric.precision = m_type.precision;
    numeric.scale = static_cast<std::uint8_t>(scale);
    numeric.sign = number.negative && number.magnitude != 0 ? 0 : 1;
    UInt128 magnitude = number.magnitude;
    for (std::uint8_t& byte : numeric.val) {
        byte = static_cast<std::uint8_t>(magnitude & 0xFF);
        magnitude >>= 8;
    }
}

void CDbColumn::SetDateText(const char* text, size_t length)
{
    DateText date;
    if (!ParseDateText(Trimmed(text, length), date)) {
        Fail(DBSTATUS_E_CANTCONVERTVALUE);
        return;
    }
    switch (m_type.type) {
    case DBTYPE_DATE: {
        if (!date.hasDate)
            date.year = 1899, date.month = 12, date.day = 30;
        const CDateTime value(date.year, date.month, date.day, date.hour, date.minute, date.second);
        if (value.GetStatus() != CDateTime::valid) {
            Fail(DBSTATUS_E_CANTCONVERTVALUE);
            return;
        }
        m_value.date = value.GetOleDate();
        break;
    }
    case DBTYPE_DBDATE:
        if (!date.hasDate) {
            Fail(DBSTATUS_E_CANTCONVERTVALUE);
            return;
        }
        m_value.dbdate = {static_cast<std::int16_t>(date.year), static_cast<std::uint16_t>(date.month),
                          static_cast<std::uint16_t>(date.day)};
        break;
    case DBTYPE_DBTIME:
        m_value.dbtime = {static_cast<std::uint16_t>(date.hour), static_cast<std::uint16_t>(date.minute),
                          static_cast<std::uint16_t>(date.second)};
        break;
    default:
        if (!date.hasDate) {
            Fail(DBSTATUS_E_CANTCONVERTVALUE);
            return;
        }
        m_value.timestamp = {static_cast<std::int16_t>(date.year),  static_cast<std::uint16_t>(date.month),
                             static_cast<std::uint16_t>(date.day),  static_cast<std::uint16_t>(date.hour),
                             static_cast<std::uint16_t>(date.minute), static_cast<std::uint16_t>(date.second),
                             date.fraction};
        break;
    }
    m_status = DBSTATUS_S_OK;
}
