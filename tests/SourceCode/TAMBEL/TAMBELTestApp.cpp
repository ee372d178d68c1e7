#include "TAMBELTestApp.h"

#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Platform/ProgramFolder.h"
#include "TAMBEL/Resource.h"
#include "support/TemporaryFolder.h"
#include "support/WxTestEnvironment.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

std::unique_ptr<CTemporaryFolder> folder;

class CTAMBELTestEnvironment : public CWxTestEnvironment {
public:
    CTAMBELTestEnvironment() : CWxTestEnvironment({"TAMBELTests"}) {}

    void SetUp() override
    {
        folder = std::make_unique<CTemporaryFolder>();
        Platform::SetProgramPathForTesting(folder->Path("Zephrin"));
        // The instance check's files stay inside the test's folder.
        setenv("XDG_RUNTIME_DIR", folder->Path("").c_str(), 1);
        CWxTestEnvironment::SetUp();
    }

    void TearDown() override
    {
        CWxTestEnvironment::TearDown();
        Platform::SetProgramPathForTesting(std::string());
        folder.reset();
    }

protected:
    wxApp* CreateApp() override { return new CTestApp<CTAMBELApp>; }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CTAMBELTestEnvironment);

}  // namespace

const std::string& TestProgramFolder()
{
    static const std::string path = folder->Path("");
    return path;
}

CTAMBELApp& App()
{
    return *CTAMBELApp::GetApp();
}

std::string ShippedDatabasePath()
{
    return TestProgramFolder() + "Zephrin.db";
}

void PlaceShippedDatabase()
{
    const char* programDir = std::getenv("ZEPHRIN_PROGRAM_DIR");
    ASSERT_NE(programDir, nullptr);
    std::ifstream in(std::string(programDir) + "/Zephrin.db", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::ofstream(ShippedDatabasePath(), std::ios::binary | std::ios::trunc) << in.rdbuf();
}

void OpenShippedDatabase()
{
    ASSERT_NO_FATAL_FAILURE(PlaceShippedDatabase());
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
    ASSERT_TRUE(CFluidManager::GetInstance()->LoadFluidList());
    ASSERT_TRUE(CNormConditionManager::GetInstance()->LoadDbList());
}

void CloseShippedDatabase()
{
    CUnitDb::GetInstance()->Close();
    std::remove(ShippedDatabasePath().c_str());
}

void UseTranslatedLanguage(const std::string& code)
{
    App().EnableTranslator(true);
    ASSERT_TRUE(App().LoadTranslationResource(IDR_TRANSLATION_EN, false));
    ASSERT_TRUE(App().LoadTranslationResource(IDR_TRANSLATION_DE, true));
    App().SetDefaultLanguage("en");
    App().SetUiLanguage(code);
}

CMessageBoxRecorder::CMessageBoxRecorder()
{
    SetMessageBoxSinkForTesting([this](const SMessageBox& box) {
        m_boxes.push_back(box);
        return wxID_OK;
    });
}

CMessageBoxRecorder::~CMessageBoxRecorder()
{
    SetMessageBoxSinkForTesting(nullptr);
}

