#include "TestFolder.h"

#include "Platform/ProgramFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

TestFolder::~TestFolder()
{
    Platform::SetProgramPathForTesting(std::string());
}

void TestFolder::BecomeProgramFolder() const
{
    Platform::SetProgramPathForTesting(m_folder.Path("Zephrin"));
}

void TestFolder::MakeDatabase(const std::string& name, const std::string& content) const
{
    const std::string schema = ReadWholeFile(ZEPHRIN_DB_SCHEMA);
    ASSERT_FALSE(schema.empty()) << "no schema in " << ZEPHRIN_DB_SCHEMA;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_folder.Path(name).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    // One transaction: a file sync per statement would make every fixture slow.
    const std::string script = "BEGIN;" + schema + content + "COMMIT;";
    const int code = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(code, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

void TestFolder::WriteFile(const std::string& name, const std::string& text) const
{
    WriteWholeFile(m_folder.Path(name), text);
}
