#include "Harbinax/ToolBar.h"

#include <wx/artprov.h>

#include <algorithm>

cvToolBar::cvToolBar(wxWindow* parent)
    : wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT | wxTB_NODIVIDER)
{
    // Bound first, so the group is right before the parent hears of the click.
    Bind(wxEVT_TOOL, &cvToolBar::OnTool, this);
}

void cvToolBar::SetButtons(const std::vector<cvToolBarButton>& buttons)
{
    const wxSize bitmapSize(kButtonWidth, kButtonHeight);
    ClearTools();
    m_checkGroup.clear();
    SetToolBitmapSize(bitmapSize);
    for (const cvToolBarButton& button : buttons) {
        if (button.separatorBefore)
            AddSeparator();
        wxBitmap icon = button.icon;
        if (!icon.IsOk())
            icon = wxArtProvider::GetBitmap(wxART_MISSING_IMAGE, wxART_TOOLBAR, bitmapSize);
        if (!icon.IsOk())
            icon = wxBitmap(bitmapSize);
        wxItemKind kind = wxITEM_NORMAL;
        if (button.checkGroup)
            kind = wxITEM_CHECK;
        else if (button.dropDown)
            kind = wxITEM_DROPDOWN;
        AddTool(button.commandId, wxString::FromUTF8(button.label), icon, wxNullBitmap, kind);
        if (button.checkGroup)
            m_checkGroup.push_back(button.commandId);
    }
    Realize();
    SetSize(0, 0, GetParent()->GetClientSize().x, GetBestSize().y);
}

void cvToolBar::DoSetSize(int x, int y, int width, int height, int sizeFlags)
{
    if (GetToolsCount() > 0) {
        const wxSize best = GetBestSize();
        if (IsVertical())
            height = height < 0 ? height : std::max(height, best.y);
        else
            width = width < 0 ? width : std::max(width, best.x);
    }
    wxToolBar::DoSetSize(x, y, width, height, sizeFlags);
}

void cvToolBar::OnTool(wxCommandEvent& event)
{
    // A check-group tool stays checked when pressed again, and takes the check from the others.
    if (std::find(m_checkGroup.begin(), m_checkGroup.end(), event.GetId()) != m_checkGroup.end()) {
        for (int id : m_checkGroup)
            ToggleTool(id, id == event.GetId());
    }
    event.Skip();
}
