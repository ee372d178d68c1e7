// The production-database cases that both providers must pass alike. Each test program
// supplies its provider's databases and instantiates the cases with them.
#pragma once

#include "ProductionDb/ProductionDb.h"
#include "support/LocaleScope.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CPdbDatabases {
public:
    virtual ~CPdbDatabases() = default;
    virtual const char* Name() const = 0;
    // Initialisation string of a new, empty database; files go into the folder.
    virtual std::string CreateDatabase(const CTemporaryFolder& folder) = 0;
    // Statements that make the insert of point 3 of result row 1 fail.
    virtual std::vector<std::string> FailingPointTrigger() const = 0;
};

// Each case runs under a German locale (decimal comma) on a new database that the data-link
// file m_dataLink names and m_db has open; the tables are not created yet.
class ProductionDbCases : public testing::TestWithParam<CPdbDatabases*> {
protected:
    void SetUp() override;

    // Creates the tables; a failed test when that fails.
    void CreateTables();
    // Runs statements on the database m_db has open.
    void Execute(const std::string& sql);
    // The row count of a table with the prefix, -1 when it cannot be read.
    int CountRows(const std::string& table);
    // What the log got since the case began.
    std::string LogText() const;
    // A load of the key fails with the log line, and the project it was to replace stays.
    void ExpectLoadRefused(const CProductionDbKey& key, const std::string& logLine);

    CTemporaryFolder m_folder;
    std::unique_ptr<CLocaleScope> m_locale;
    std::string m_dataLink;
    CProductionDb m_db;
    size_t m_logStart = 0;
};

// For INSTANTIATE_TEST_SUITE_P: names the cases after the provider.
std::string ProviderName(const testing::TestParamInfo<CPdbDatabases*>& info);

// The log file of the test program, opened at trace level by the first case.
std::string LogFileName();
