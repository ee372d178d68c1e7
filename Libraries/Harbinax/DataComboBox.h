// A drop-down list whose items carry an integer item data and which selects items by it. Items
// named with the marks of user-defined units ("* ") and of the pseudo units ("!!") are drawn in
// warning colours, the pseudo units without their mark.
//
// The item data travels as the item's untyped client data, (void*)(intptr_t)data, the form in
// which the adapters that fill combo boxes from selection lists store it.
#pragma once

#include <wx/odcombo.h>

class CDataComboBox : public wxOwnerDrawnComboBox {
public:
    // Always a read-only drop-down list.
    CDataComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize, long style = 0);

    // Selects the first item (lowest index) whose item data is data; when none is, clears the
    // selection and returns false.
    virtual bool SelectItemData(int data);
    // The selected item's data, -1 when nothing is selected.
    virtual int GetSelectedItemData() const;

    int GetItemData(unsigned int n) const;

protected:
    // As the base's, with the theme's combo box colours asked of GTK once instead of for every
    // control (GTK builds and destroys a combo box to answer).
    void OnThemeChange() override;
    // Asked at every paint, since the box has no background colour of its own; the same for all.
    wxVisualAttributes GetDefaultAttributes() const override;
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    // All items are as high as the text "kg/m³|" in the control's font.
    wxCoord OnMeasureItem(size_t item) const override;
};
