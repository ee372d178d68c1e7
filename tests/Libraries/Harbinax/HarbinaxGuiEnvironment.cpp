#include "HarbinaxGuiEnvironment.h"

#include "HarbinaxTestSupport.h"
#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>
#include <memory>

namespace {

// OnInit of wx would parse the test's arguments as its own command line.
class CTestApp : public CHarbinax {
public:
    bool OnInit() override { return true; }
};

std::unique_ptr<CTemporaryFolder> folder;

class CWxEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        folder = std::make_unique<CTemporaryFolder>();
        Platform::SetProgramPathForTesting(folder->Path("Zephrin"));
        // The user's language as Initialize finds it.
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        static char name[] = "HarbinaxGuiTests";
        static char first[] = "\"/opt/Sizing/Zephrin\"";
        static char second[] = "second";
        static char* argv[] = {name, first, second, nullptr};
        int argc = 3;
        wxApp::SetInstance(new CTestApp);
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display";
        ASSERT_TRUE(wxTheApp->CallOnInit());
        // Errors go to the test output, not into message boxes nobody closes.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        App().Initialize();
    }

    void TearDown() override
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
        Platform::SetProgramPathForTesting(std::string());
        folder.reset();
    }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CWxEnvironment);

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
