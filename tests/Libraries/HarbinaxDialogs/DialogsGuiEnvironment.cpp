#include "DialogsGuiEnvironment.h"

#include "support/WxTestEnvironment.h"

namespace {

class CDialogsEnvironment : public CWxTestEnvironment {
public:
    CDialogsEnvironment() : CWxTestEnvironment({"HarbinaxDialogsTests"}) {}

protected:
    wxApp* CreateApp() override { return new CTestApp<CHarbinax>; }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CDialogsEnvironment);

}  // namespace

CHarbinax& App()
{
    return *CHarbinax::GetApp();
}
