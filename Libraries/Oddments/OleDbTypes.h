// The result codes, column type numbers and column value layouts of the data-access layer.
// The numbers are the ones the rest of the system (and its stored structure documents) use
// for database types and results; they are declared here as our own constants.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef std::int32_t HRESULT;
typedef std::uint16_t DBTYPE;
typedef std::uint32_t DBSTATUS;
typedef std::size_t DBORDINAL;
typedef std::int16_t VARIANT_BOOL;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// Results. Success codes are not negative; S_OK alone means "a row was fetched".
constexpr HRESULT S_OK = 0;
constexpr HRESULT DB_S_ENDOFROWSET = 0x00040EC6;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT STG_E_FILENOTFOUND = static_cast<HRESULT>(0x80030002u);
constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);  // the disk is full
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DB_E_PARAMNOTOPTIONAL = static_cast<HRESULT>(0x80040E10u); // parameter count wrong
constexpr HRESULT DB_E_ERRORSINCOMMAND = static_cast<HRESULT>(0x80040E14u);
constexpr HRESULT DB_E_CANTCONVERTVALUE = static_cast<HRESULT>(0x80040E07u);
constexpr HRESULT DB_SEC_E_PERMISSIONDENIED = static_cast<HRESULT>(0x80040E09u);
constexpr HRESULT DB_E_INTEGRITYVIOLATION = static_cast<HRESULT>(0x80040E2Fu);
constexpr HRESULT DB_E_NOTABLE = static_cast<HRESULT>(0x80040E37u);
constexpr HRESULT DB_E_TABLEINUSE = static_cast<HRESULT>(0x80040E40u);
constexpr HRESULT DB_SEC_E_AUTH_FAILED = static_cast<HRESULT>(0x80040E4Du);
constexpr HRESULT DB_E_CANCELED = static_cast<HRESULT>(0x80040E4Eu);  // cancelled, e.g. past its deadline
constexpr HRESULT DB_E_DATAOVERFLOW = static_cast<HRESULT>(0x80040E57u);  // a value beyond its type

// Column types.
enum : DBTYPE {
    DBTYPE_EMPTY = 0,
    DBTYPE_I2 = 2,
    DBTYPE_I4 = 3,
    DBTYPE_R4 = 4,
    DBTYPE_R8 = 5,
    DBTYPE_CY = 6,          // 64-bit integer scaled by 10000
    DBTYPE_DATE = 7,        // automation date (double)
    DBTYPE_BOOL = 11,       // VARIANT_BOOL, true = -1
    DBTYPE_IUNKNOWN = 13,   // long data delivered as a byte stream
    DBTYPE_I1 = 16,
    DBTYPE_UI1 = 17,
    DBTYPE_UI2 = 18,
    DBTYPE_UI4 = 19,
    DBTYPE_I8 = 20,
    DBTYPE_UI8 = 21,
    DBTYPE_STR = 129,
    DBTYPE_WSTR = 130,
    DBTYPE_NUMERIC = 131,
    DBTYPE_DBDATE = 133,
    DBTYPE_DBTIME = 134,
    DBTYPE_DBTIMESTAMP = 135,
};

// Column value status.
enum : DBSTATUS {
    DBSTATUS_S_OK = 0,
    DBSTATUS_E_CANTCONVERTVALUE = 2,  // the stored value does not fit the column type
    DBSTATUS_S_ISNULL = 3,
    DBSTATUS_E_DATAOVERFLOW = 6,      // the stored value is out of the column type's range
};

#pragma pack(push, 1)
struct DB_NUMERIC {
    std::uint8_t precision;
    std::uint8_t scale;
    std::uint8_t sign;  // 1 positive, 0 negative
    std::uint8_t val[16];  // magnitude, little-endian
};
#pragma pack(pop)
static_assert(sizeof(DB_NUMERIC) == 19, "DB_NUMERIC layout");

struct DBDATE {
    std::int16_t year;
    std::uint16_t month;
    std::uint16_t day;
};

struct DBTIME {
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
};

struct DBTIMESTAMP {
    std::int16_t year;
    std::uint16_t month;
    std::uint16_t day;
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint32_t fraction;  // billionths of a second
};
static_assert(sizeof(DBTIMESTAMP) == 16, "DBTIMESTAMP layout");
