#include "TAMBEL/StartupEnvironment.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/Harbinax.h"
#include "TAMBEL/ProductionDbConnection.h"
#include "TAMBEL/TAMBELApp.h"
#include "TAMBEL/TAMBELDlg.h"
#include "TAMBEL/RenovixUpdateClient.h"

#include <sys/stat.h>

CStartupEnvironment::CStartupEnvironment()
    : m_productionDb(std::make_unique<CProductionDbConnection>())
{
}

CStartupEnvironment::~CStartupEnvironment() = default;

bool CStartupEnvironment::InitializePlatform()
{
    return true;
}

bool CStartupEnvironment::IsOtherInstanceRunning(CTAMBELApp& app)
{
    return app.IsOtherInstanceRunning(false);
}

bool CStartupEnvironment::LoadConfiguration()
{
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    return configuration && configuration->Load();
}

bool CStartupEnvironment::ConfigurationFileExists()
{
    struct stat status;
    return ::lstat((CHarbinax::GetProgramFolder() + "Zephrin.cfg").c_str(), &status) == 0;
}

bool CStartupEnvironment::SaveConfiguration(int* errorNumber)
{
    *errorNumber = 0;
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    return configuration && configuration->Save(std::string(), errorNumber);
}

std::unique_ptr<CUpdateClient> CStartupEnvironment::CreateUpdateClient()
{
    return std::make_unique<CRenovixUpdateClient>();
}

bool CStartupEnvironment::OpenUnitsDatabase()
{
    CUnitDb* database = CUnitDb::GetInstance();
    return database && database->Open() >= 0;
}

bool CStartupEnvironment::LoadUnits()
{
    CUnitManager* units = CUnitManager::GetInstance();
    return units && units->LoadUnitList();
}

bool CStartupEnvironment::LoadFluids()
{
    CFluidManager* fluids = CFluidManager::GetInstance();
    return fluids && fluids->LoadFluidList();
}

bool CStartupEnvironment::LoadNormConditions()
{
    CNormConditionManager* conditions = CNormConditionManager::GetInstance();
    return conditions && conditions->LoadDbList();
}

void CStartupEnvironment::UseFirstNormConditionAsDefault()
{
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    CNormConditionManager* conditions = CNormConditionManager::GetInstance();
    if (configuration && conditions)
        conditions->GetCondition(1, configuration->default_norm_condition);
}

void CStartupEnvironment::CloseUnitsDatabase()
{
    if (CUnitDb* database = CUnitDb::GetInstance())
        database->Close();
}

CProductionDbLink& CStartupEnvironment::ProductionDb()
{
    return *m_productionDb;
}

bool CStartupEnvironment::RunMainDialog(CTAMBELApp& app)
{
    CTAMBELDlg dialog;
    app.SetMainDialog(&dialog);
    const int result = dialog.DoModal();
    app.SetMainDialog(nullptr);
    return result == 0;
}
