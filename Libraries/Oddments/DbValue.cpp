#include "Oddments/DbValue.h"

#include <cstdio>

CDbValue::CDbValue(const char* text)
{
    if (text != nullptr) {
        m_kind = Text;
        m_text = text;
    }
}

CDbValue::CDbValue(std::vector<unsigned char> bytes)
    : m_kind(Binary), m_text(bytes.begin(), bytes.end())
{
}

CDbValue::CDbValue(const CDateTime& date)
{
    if (date.GetStatus() != CDateTime::null) {
        m_kind = Date;
        m_date = date;
    }
}

bool CDbValue::FormatDate(const CDateTime& date, std::string& text)
{
    if (date.GetStatus() != CDateTime::valid)
        return false;
    const int year = date.GetYear();
    if (year < 0)
        return false;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, date.GetMonth(),
                  date.GetDay(), date.GetHour(), date.GetMinute(), date.GetSecond());
    text = buffer;
    return true;
}
