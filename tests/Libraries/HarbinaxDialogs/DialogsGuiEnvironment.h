// The application object of the windowed dialog tests, and helpers to let X and GTK deliver
// what a test did.
#pragma once

#include "Harbinax/Harbinax.h"

// The running application object.
CHarbinax& App();

// Handles pending events for a while, so that simulated input reaches the windows.
void Pump(int milliseconds = 150);
