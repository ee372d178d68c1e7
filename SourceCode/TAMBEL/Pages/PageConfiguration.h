// The configuration page: language, default units, filter and update settings. For now an empty panel.
#pragma once

#include "TAMBEL/Pages/TemplatePage.h"

class CPageConfiguration : public CTemplatePage {
public:
    CPageConfiguration();

    // A hidden child page of the main window.
    bool Create(wxWindow* parent);
};
