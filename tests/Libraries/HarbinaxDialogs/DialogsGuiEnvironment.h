// The application object of the windowed dialog tests: our own, so that resources, the decimal
// separator and translation go through it as in the programs.
#pragma once

#include "Harbinax/Harbinax.h"
#include "support/WxTestSupport.h"

// The running application object.
CHarbinax& App();
