// One value bound to a '?' placeholder of a statement. User text reaches the database only
// this way, never pasted into the statement text.
#pragma once

#include "Platform/DateTime.h"

#include <string>
#include <type_traits>
#include <vector>

class CDbValue {
public:
    enum Kind { Null, Integer, Real, Boolean, Text, Binary, Date };

    // SQL NULL.
    CDbValue() = default;
    template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    CDbValue(T value) : m_kind(Integer), m_integer(static_cast<long long>(value))
    {
    }
    template <typename T, std::enable_if_t<std::is_floating_point_v<T>, int> = 0>
    CDbValue(T value) : m_kind(Real), m_real(static_cast<double>(value))
    {
    }
    CDbValue(bool value) : m_kind(Boolean), m_integer(value ? 1 : 0) {}
    // A null pointer is SQL NULL.
    CDbValue(const char* text);
    CDbValue(std::string text) : m_kind(Text), m_text(std::move(text)) {}
    CDbValue(std::vector<unsigned char> bytes);
    // A date whose status is null is SQL NULL; an invalid one fails the statement.
    CDbValue(const CDateTime& date);

    Kind GetKind() const { return m_kind; }
    long long GetInteger() const { return m_integer; }
    double GetReal() const { return m_real; }
    bool GetBool() const { return m_integer != 0; }
    // The text, or the bytes of a binary value.
    const std::string& GetText() const { return m_text; }
    const CDateTime& GetDate() const { return m_date; }

    // The statement text form of a date ("2024-05-17 13:45:00"); false for an invalid date.
    static bool FormatDate(const CDateTime& date, std::string& text);

private:
    Kind m_kind = Null;
    long long m_integer = 0;
    double m_real = 0.0;
    std::string m_text;
    CDateTime m_date;
};

typedef std::vector<CDbValue> CDbValues;
