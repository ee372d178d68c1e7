#include "SkinTestSupport.h"

#include "support/WxTestEnvironment.h"

#include <cstdlib>

namespace {

class CSkinEnvironment : public CWxTestEnvironment {
public:
    CSkinEnvironment() : CWxTestEnvironment({"SkinGuiTests"}) {}

protected:
    wxApp* CreateApp() override { return new CTestApp<CHarbinax>; }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CSkinEnvironment);

}  // namespace

CHarbinax& App()
{
    return *CHarbinax::GetApp();
}

std::string SkinDataFile(const std::string& name)
{
    const char* folder = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/HarbinaxSkins/" + name;
}
