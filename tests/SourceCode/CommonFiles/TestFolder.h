// A throw-away program folder for the units database tests: the engine looks for "units.udl"
// and "Zephrin.db" beside the program, so the tests point the program folder here.
#pragma once

#include "EngineTestSupport.h"
#include "support/TemporaryFolder.h"

#include <string>

class TestFolder {
public:
    TestFolder() = default;
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // With a trailing '/'.
    std::string Path() const { return m_folder.Path(""); }

    // Makes the folder the program folder until destruction.
    void BecomeProgramFolder() const;

    // A database file of the shipped schema, filled by the statements.
    void MakeDatabase(const std::string& name, const std::string& content) const;
    void WriteFile(const std::string& name, const std::string& text) const;

private:
    CTemporaryFolder m_folder;
};
