#include "support/WxTestEnvironment.h"

::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"PagewrightWxGuiTests"}));
