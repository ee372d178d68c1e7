// The results page: the device list of a calculation, the selected device's summary, points
// and curve. For now an empty panel.
#pragma once

#include "TAMBEL/Pages/TemplatePage.h"

class CPageResults : public CTemplatePage {
public:
    CPageResults();

    // A hidden child page of the main window.
    bool Create(wxWindow* parent);
};
