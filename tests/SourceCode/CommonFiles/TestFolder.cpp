#include "TestFolder.h"

#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
    std::ifstream schemaFile(ZEPHRIN_DB_SCHEMA);
    std::stringstream schema;
    schema << schemaFile.rdbuf();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((m_path + name).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    // One transaction: a file sync per statement would make every fixture slow.
    const std::string script = "BEGIN;" + schema.str() + content + "COMMIT;";
    const int code = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(code, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

void TestFolder::WriteFile(const std::string& name, const std::string& text) const
{
    std::ofstream(m_path + name) << text;
}

std::string BuildProgramFolder()
{
    const char* dir = std::getenv("ZEPHRIN_PROGRAM_DIR");
    return dir != nullptr ? std::string(dir) + "/" : std::string();
}
