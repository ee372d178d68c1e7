// The process-wide units database, units and norm conditions as the program has them after
// start-up, loaded from a fixture database or from the shipped one; closed and emptied again at
// the end, so tests that follow see no list.
#pragma once

#include "CommonFiles/UnitValue.h"
#include "TestFolder.h"

#include <memory>
#include <string>

class LoadedDatabase {
public:
    // The shipped database of the build.
    LoadedDatabase();
    // A database of the shipped schema filled by the statements, in a throw-away program folder.
    explicit LoadedDatabase(const std::string& content);
    ~LoadedDatabase();
    LoadedDatabase(const LoadedDatabase&) = delete;
    LoadedDatabase& operator=(const LoadedDatabase&) = delete;

    // Units and norm conditions loaded.
    bool Loaded() const { return m_loaded; }
    // The folder of the fixture database; the build's program folder for the shipped one.
    std::string Folder() const;

private:
    void Load();

    std::unique_ptr<TestFolder> m_folder;
    bool m_loaded = false;
};

// A value in a linear unit of system 0.
void SetValue(CUnitValue& value, int dbIndex, const char* name, int type, double factor, double number,
              double base, int reference);
// Units the fixture databases share: 1 degC, 3 degF, 7 bar, 10 psi, 21 kg/m3, 38 m3/h,
// 50 Nm3/h, 92 m/s, 97 mPa s.
extern const char kFixtureUnits[];
