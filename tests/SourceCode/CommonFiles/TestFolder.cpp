#include "TestFolder.h"

#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

TestFolder::TestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "unitdb-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot make a temporary folder";
    m_path = pattern + "/";
}

TestFolder::~TestFolder()
{
    Platform::SetProgramPathForTesting(std::string());
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TestFolder::BecomeProgramFolder() const
{
    Platform::SetProgramPathForTesting(m_path + "Zephrin");
}

void TestFolder::MakeDatabase(const std::string& name, const std::string& content) const
{
    const std::string schema = ReadFileText(ZEPHRIN_DB_SCHEMA);
    ASSERT_FALSE(schema.empty()) << "no schema in " << ZEPHRIN_DB_SCHEMA;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((m_path + name).c_str(), &db), SQLITE_OK);
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
    std::ofstream(m_path + name) << text;
}
