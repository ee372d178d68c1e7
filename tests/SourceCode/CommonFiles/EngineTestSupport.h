// What the engine's test programs share: the build's program folder with the shipped database,
// units and values made by hand and a German desktop. Header only: a test program takes it by
// its include path, with ZephrinTestSupport for the file helpers.
#pragma once

#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitValue.h"
#include "Platform/ProgramFolder.h"
#include "support/LocaleScope.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The program folder of the build, which holds the shipped Zephrin.db, with a trailing '/';
// empty when ZEPHRIN_PROGRAM_DIR is not set.
inline std::string BuildProgramFolder()
{
    const char* dir = std::getenv("ZEPHRIN_PROGRAM_DIR");
    return dir != nullptr ? std::string(dir) + "/" : std::string();
}

// Makes the build's program folder the program's; false, with a test failure, without one.
inline bool UseBuildProgramFolder()
{
    const std::string folder = BuildProgramFolder();
    if (folder.empty()) {
        ADD_FAILURE() << "ZEPHRIN_PROGRAM_DIR is not set";
        return false;
    }
    Platform::SetProgramPathForTesting(folder + "Zephrin");
    return true;
}

// The shipped database opened as the program opens it, from the build's program folder, for
// the object's lifetime; suites that share it call Open and Close themselves.
class ShippedDatabase {
public:
    ShippedDatabase() : m_open(Open()) {}
    ~ShippedDatabase() { Close(); }
    ShippedDatabase(const ShippedDatabase&) = delete;
    ShippedDatabase& operator=(const ShippedDatabase&) = delete;

    bool IsOpen() const { return m_open; }

    // False, with a test failure, when it does not open.
    static bool Open()
    {
        if (!UseBuildProgramFolder())
            return false;
        const HRESULT result = CUnitDb::GetInstance()->Open();
        EXPECT_EQ(result, S_OK) << "the shipped database in " << BuildProgramFolder() << " does not open";
        return result == S_OK;
    }
    // Closes the units database and forgets the program folder.
    static void Close()
    {
        CUnitDb::GetInstance()->Close();
        Platform::SetProgramPathForTesting(std::string());
    }

private:
    bool m_open;
};

// A unit of system 0 unless given.
inline CUnit MakeUnit(const char* name, int type, double factor, double offset = 0.0, int dbIndex = -1,
                      int system = 0, int flags = UNIT_LINEAR)
{
    CUnit unit;
    unit.Name = name;
    unit.Type = type;
    unit.System = system;
    unit.ConversionFactor = factor;
    unit.ConversionOffset = offset;
    unit.ConversionFlags = flags;
    unit.DbIndex = dbIndex;
    return unit;
}

// Unit, numbers and reference equal.
inline void ExpectSameValue(const CUnitValue& read, const CUnitValue& written, const std::string& what)
{
    EXPECT_EQ(read.DbIndex, written.DbIndex) << what;
    EXPECT_EQ(read.Name, written.Name) << what;
    EXPECT_EQ(read.Type, written.Type) << what;
    EXPECT_EQ(read.System, written.System) << what;
    EXPECT_EQ(read.ConversionFactor, written.ConversionFactor) << what;
    EXPECT_EQ(read.ConversionOffset, written.ConversionOffset) << what;
    EXPECT_EQ(read.ConversionFlags, written.ConversionFlags) << what;
    EXPECT_EQ(read.Reference, written.Reference) << what;
    EXPECT_EQ(read.Value, written.Value) << what;
    EXPECT_EQ(read.BaseValue, written.BaseValue) << what;
}

