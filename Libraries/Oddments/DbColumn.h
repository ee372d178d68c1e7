// One column of a result: its name and type, and the buffer of the current row in that type.
// Providers hand each value over in the form they have it (integer, real, text or bytes); the
// column converts it to its own type once, so every getter reads a settled value.
#pragma once

#include "Oddments/DeclaredType.h"
#include "Oddments/OleDbTypes.h"

#include <string>
#include <string_view>

class CDbColumn {
public:
    union Value {
        std::int8_t i1;
        std::uint8_t ui1;
        std::int16_t i2;
        std::uint16_t ui2;
        std::int32_t i4;
        std::uint32_t ui4;
        std::int64_t i8;
        std::uint64_t ui8;
        float r4;
        double r8;
        std::int64_t cy;  // value x 10000
        double date;
        VARIANT_BOOL boolean;
        DB_NUMERIC numeric;
        DBDATE dbdate;
        DBTIME dbtime;
        DBTIMESTAMP timestamp;
    };

    CDbColumn(std::string name, const Oddments::DeclaredType& type);

    const std::string& GetName() const { return m_name; }
    DBTYPE GetType() const { return m_type.type; }

    // The current row. A value that is NULL, missing, or does not fit the type reads as zero
    // (status tells which).
    DBSTATUS GetStatus() const { return m_status; }
    // An integer column whose value is beyond its declared type (SQLite keeps 64 bits in any
    // integer column): the value is in the i8 member.
    bool IsWide() const { return m_wide; }
    const Value& GetValue() const { return m_value; }
    // STR text, or the bytes of an IUNKNOWN stream.
    std::string_view GetText() const { return m_view; }
    const std::u16string& GetWideText() const { return m_wideText; }

    // Zero value, empty text, status NULL (the state between rows).
    void Clear();
    void SetNull() { Clear(); }
    void SetInteger(long long value);
    void SetReal(double value);
    void SetText(const char* text, size_t length);
    void SetBytes(const void* data, size_t length);
    // Like SetText, but a text or byte column keeps only the pointer: the provider promises
    // that the memory stays as it is until its next fetch. Saves a copy of every text.
    void SetTextReference(const char* text, size_t length);

private:
    void Fail(DBSTATUS status);
    void SetDecimalText(const char* text, size_t length);
    void SetDateText(const char* text, size_t length);

    std::string m_name;
    Oddments::DeclaredType m_type;
    DBSTATUS m_status = DBSTATUS_S_ISNULL;
    Value m_value;
    bool m_wide = false;
    std::string m_text;
    std::string_view m_view;  // the current text: m_text or the provider's memory
    std::u16string m_wideText;
};
