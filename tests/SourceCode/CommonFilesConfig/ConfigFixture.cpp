#include "ConfigFixture.h"

#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>

const char kFixtureUnits[] =
    "INSERT INTO Units VALUES"
    " (1, '°C', 3, 0, 273.15, 1, 0, 1),"
    " (3, '°F', 3, 0, 255.3722222222222, 0.5555555555555556, 0, 2),"
    " (7, 'bar', 4, 0, 0, 1, 0, 1),"
    " (10, 'psi', 4, 0, 0, 0.0689475729, 0, 2),"
    " (21, 'kg/m3', 5, 0, 0, 0.001, 0, 1),"
    " (38, 'm3/h', 1, 0, 0, 1000, 0, 1),"
    " (50, 'Nm3/h', 1, 4, 0, 1000, 0, 2),"
    " (92, 'm/s', 7, 0, 0, 1, 0, 1),"
    " (97, 'mPa s', 6, 0, 0, 1, 0, 1);";

LoadedDatabase::LoadedDatabase()
{
    if (UseBuildProgramFolder())
        Load();
}

LoadedDatabase::LoadedDatabase(const std::string& content) : m_folder(std::make_unique<TestFolder>())
{
    m_folder->MakeDatabase("Zephrin.db", content);
    m_folder->BecomeProgramFolder();
    Load();
}

void LoadedDatabase::Load()
{
    if (CUnitDb::GetInstance()->Open() < 0) {
        ADD_FAILURE() << "the units database does not open";
        return;
    }
    m_loaded = CUnitManager::GetInstance()->LoadUnitList() && CNormConditionManager::GetInstance()->LoadDbList();
    EXPECT_TRUE(m_loaded);
}

LoadedDatabase::~LoadedDatabase()
{
    // Loading from a closed database leaves both lists empty.
    CUnitDb::GetInstance()->Close();
    CUnitManager::GetInstance()->LoadUnitList();
    CNormConditionManager::GetInstance()->LoadDbList();
    Platform::SetProgramPathForTesting(std::string());
}

std::string LoadedDatabase::Folder() const
{
    return m_folder ? m_folder->Path() : BuildProgramFolder();
}

void SetValue(CUnitValue& value, int dbIndex, const char* name, int type, double factor, double number,
              double base, int reference)
{
    value.DbIndex = dbIndex;
    value.Name = name;
    value.Type = type;
    value.System = 0;
    value.ConversionFactor = factor;
    value.Value = number;
    value.BaseValue = base;
    value.Reference = reference;
}
