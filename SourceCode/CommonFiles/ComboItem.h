// One entry of a selection list that the engine fills for a dialog: the text shown and the
// integer the dialog gets back for it (a unit's database index, a reference code, an id).
// A thin adapter on the window side puts such a list into a combo box.
#pragma once

#include <string>
#include <vector>

struct CComboItem {
    std::string text;
    int data;
};

typedef std::vector<CComboItem> CComboItems;
