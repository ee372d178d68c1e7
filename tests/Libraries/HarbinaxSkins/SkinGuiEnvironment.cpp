// The application object of the skin tests: a CHarbinax, whose skin operations they call.
#include "Harbinax/Harbinax.h"
#include "support/WxTestEnvironment.h"

namespace {

class CSkinEnvironment : public CWxTestEnvironment {
public:
    CSkinEnvironment() : CWxTestEnvironment({"SkinGuiTests"}) {}

protected:
    wxApp* CreateApp() override { return new CTestApp<CHarbinax>; }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CSkinEnvironment);

}  // namespace
