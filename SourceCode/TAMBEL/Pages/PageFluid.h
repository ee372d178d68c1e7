// The fluid data page: the process fluid and its operating point. For now an empty panel.
#pragma once

#include "TAMBEL/Pages/TemplatePage.h"

class CPageFluid : public CTemplatePage {
public:
    CPageFluid();

    // A hidden child page of the main window.
    bool Create(wxWindow* parent);
};
