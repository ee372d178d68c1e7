// The flat toolbar at the top of a page dialog: a 32 x 32 icon with its label under it per
// button, separators, drop-down arrows, and the check group of the page buttons.
#pragma once

#include "Harbinax/ToolBarButton.h"

#include <wx/toolbar.h>

#include <map>
#include <vector>

class cvToolBar : public wxToolBar {
public:
    static constexpr int kButtonWidth = 32;
    static constexpr int kButtonHeight = 32;

    // A shown child of the parent, empty until SetButtons.
    explicit cvToolBar(wxWindow* parent);

    // Replaces all tools: per descriptor an optional separator, then its tool, in list order.
    // Afterwards a horizontal toolbar spans its parent's client width at the top, as high as it
    // needs; a vertical one its client height at the left edge, as wide as it needs.
    void SetButtons(const std::vector<cvToolBarButton>& buttons, bool vertical = false);

    // The toolkit has no tool that is both checkable and carries a drop-down arrow: such a
    // check-group tool keeps its arrow and shows its check as a framed picture.
    void ToggleTool(int toolId, bool toggle) override;
    bool GetToolState(int toolId) const override;

protected:
    // Never narrower (a vertical bar: never lower) than its buttons: GTK cannot lay a bar out in
    // less, and a window passing through a small size on its way (as when the window manager
    // frames it) hands its children that size.
    void DoSetSize(int x, int y, int width, int height, int sizeFlags) override;

private:
    struct SDropDownCheck {
        wxBitmap plain;
        wxBitmap checked;
        bool state = false;
    };

    void OnTool(wxCommandEvent& event);

    std::vector<int> m_checkGroup;  // command ids of the check-group tools
    std::map<int, SDropDownCheck> m_dropDownChecks;
};
