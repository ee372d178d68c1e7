// The device configuration page: the order features of the device. Its template is built at run
// time from the device features; for now an empty panel. It has no toolbar button and is not in
// the main window's page list.
#pragma once

#include "TAMBEL/Pages/TemplatePage.h"

class CPageDevice : public CTemplatePage {
public:
    CPageDevice();

    // A hidden child page of the main window.
    bool Create(wxWindow* parent);
};
