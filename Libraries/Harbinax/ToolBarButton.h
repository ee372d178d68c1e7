// One button of a page dialog's toolbar, as the dialog keeps it in its button list and builds
// the toolbar from it. A plain value: copies carry all eight fields.
#pragma once

#include <wx/bitmap.h>

#include <string>

class cvBaseDialog;

struct cvToolBarButton {
    // The page the button shows; null for a command button.
    cvBaseDialog* ownerPage = nullptr;
    // Window id of the tool, and of the menu command it stands for.
    int commandId = 0;
    // Must stay empty for the button to switch pages.
    std::string text;
    // 32 x 32; a missing icon shows the toolkit's missing-image picture.
    wxBitmap icon;
    // UTF-8 text under the icon.
    std::string label;
    // Check-group buttons behave as one radio group: pressing one checks it, unchecks the rest.
    bool checkGroup = false;
    bool dropDown = false;
    bool separatorBefore = false;
};
