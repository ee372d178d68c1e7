// Images among the program's resources (PNG or any other format wx reads), taken from the
// active satellite when it has them (CHarbinax::FindResource).
#pragma once

#include <wx/image.h>

#include <string>

// The image of that type ("BITMAP", "ICON") and id; an invalid image when there is none or its
// bytes are no image. A damaged resource is no image, never a message box for the user.
wxImage LoadResourceImage(const std::string& type, int id);
