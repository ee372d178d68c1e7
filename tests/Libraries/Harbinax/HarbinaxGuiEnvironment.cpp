#include "HarbinaxGuiEnvironment.h"

#include "Platform/ProgramFolder.h"
#include "support/TemporaryFolder.h"
#include "support/WxTestEnvironment.h"

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<CTemporaryFolder> folder;

// The program "Zephrin" in a temporary folder, started with two arguments by a German user.
class CHarbinaxEnvironment : public CWxTestEnvironment {
public:
    CHarbinaxEnvironment() : CWxTestEnvironment({"HarbinaxGuiTests", "\"/opt/Sizing/Zephrin\"", "second"}) {}

    void SetUp() override
    {
        folder = std::make_unique<CTemporaryFolder>();
        Platform::SetProgramPathForTesting(folder->Path("Zephrin"));
        // The user's language as Initialize finds it; no $LANGUAGE of the desktop.
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        unsetenv("LANGUAGE");
        CWxTestEnvironment::SetUp();
        if (!::testing::Test::HasFatalFailure())
            App().Initialize();
    }

    void TearDown() override
    {
        CWxTestEnvironment::TearDown();
        Platform::SetProgramPathForTesting(std::string());
        folder.reset();
    }

protected:
    wxApp* CreateApp() override { return new CTestApp<CHarbinax>; }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CHarbinaxEnvironment);

}  // namespace

const std::string& TestProgramFolder()
{
    // With the trailing '/'.
    static const std::string path = folder->Path("");
    return path;
}

CHarbinax& App()
{
    return *CHarbinax::GetApp();
}
