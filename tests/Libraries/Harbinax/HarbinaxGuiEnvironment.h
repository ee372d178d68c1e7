// The application object of the windowed tests: one CHarbinax for the whole test program, its
// program folder pointed at a temporary folder where the tests put satellite bundles.
#pragma once

#include "Harbinax/Harbinax.h"

#include <string>

// The folder the application object takes as its program folder (with a trailing '/'); the
// program is "Zephrin" in it.
const std::string& TestProgramFolder();

// The running application object.
CHarbinax& App();
