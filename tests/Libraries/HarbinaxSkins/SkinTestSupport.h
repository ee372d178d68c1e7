// The skin of the skin tests ("Frame": a blue frame with a 26-pixel caption strip, 4-pixel
// borders, rounded top corners and every caption button) and the application object they run in.
#pragma once

#include "Harbinax/Harbinax.h"

#include <string>

// The running application object.
CHarbinax& App();

// The skin's file in the test data: "Frame.xml" or "Frame.bmp".
std::string SkinDataFile(const std::string& name);

// Frame sizes of the skin.
constexpr int kLeft = 4;
constexpr int kRight = 4;
constexpr int kTop = 26;
constexpr int kBottom = 4;
