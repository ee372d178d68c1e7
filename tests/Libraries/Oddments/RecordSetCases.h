// The record-set cases that every provider must pass alike. Each test program supplies its
// provider's databases and instantiates the cases with them.
#pragma once

#include "Oddments/DataSource.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Oddments/Session.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CTestDatabases {
public:
    virtual ~CTestDatabases() = default;
    virtual const char* Name() const = 0;
    // Initialisation string of a new, empty database.
    virtual std::string CreateDatabase() = 0;
    // Creates the table "kinds": one column per column type, in this order:
    // id I4 (key), i2 I2, i8 I8, ui1 UI1, r4 R4, r8 R8, cy CY, num NUMERIC(10,2), flag BOOL,
    // txt STR, wtxt WSTR, d DBDATE, t DBTIME, ts DBTIMESTAMP, data IUNKNOWN.
    virtual std::vector<std::string> KindsSchema() const = 0;
    // The provider's usual column type for whole numbers that holds 64 bits (SQLite's
    // INTEGER does, though it is declared as 32 bits).
    virtual const char* WholeNumberType() const = 0;
};

// Each case runs under a German locale (decimal comma) on a new database holding the
// table "kinds" with three rows: 1 with a value in every column, 2 with NULL in every column
// but the key, 3 with zeros and false.
class RecordSetCases : public testing::TestWithParam<CTestDatabases*> {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string m_initString;
    CDataSource m_source;
    CSession m_session;
};

// For INSTANTIATE_TEST_SUITE_P: names the cases after the provider.
std::string ProviderName(const testing::TestParamInfo<CTestDatabases*>& info);

// A folder of its own for the test program, removed at its end.
const CTemporaryFolder& TestFolder();

// The row count of a table, -1 when it cannot be read.
int CountRows(CSession& session, const char* table);

// The types of the open record set's columns, in order.
std::vector<DBTYPE> ColumnTypes(const CDynamicRecordSetOleDb& rs);
