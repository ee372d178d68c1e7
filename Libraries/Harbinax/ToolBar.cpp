#include "Harbinax/ToolBar.h"

#include <wx/artprov.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

// The icon on a light wash of the selection colour inside a frame of it, as a pressed tool looks.
wxBitmap CheckedLook(const wxBitmap& icon)
{
    wxImage image = icon.ConvertToImage();
    if (!image.HasAlpha())
        image.InitAlpha();
    const wxColour mark = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    const int wash = 80;
    const int kFrame = 2;
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x < kFrame || y < kFrame || x >= width - kFrame || y >= height - kFrame) {
                image.SetRGB(x, y, mark.Red(), mark.Green(), mark.Blue());
                image.SetAlpha(x, y, wxALPHA_OPAQUE);
                continue;
            }
            const int a = image.GetAlpha(x, y);
            const int under = wash * (255 - a) / 255;
            const int out = a + under;
            if (out == 0)
                continue;
            const auto blend = [&](int top, int bottom) { return static_cast<unsigned char>((top * a + bottom * under) / out); };
            image.SetRGB(x, y, blend(image.GetRed(x, y), mark.Red()), blend(image.GetGreen(x, y), mark.Green()),
                         blend(image.GetBlue(x, y), mark.Blue()));
            image.SetAlpha(x, y, static_cast<unsigned char>(out));
        }
    }
    return wxBitmap(image);
}

}  // namespace

cvToolBar::cvToolBar(wxWindow* parent)
    : wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT | wxTB_NODIVIDER)
{
    // Bound first, so the group is right before the parent hears of the click.
    Bind(wxEVT_TOOL, &cvToolBar::OnTool, this);
}

void cvToolBar::SetButtons(const std::vector<cvToolBarButton>& buttons, bool vertical)
{
    const wxSize bitmapSize(kButtonWidth, kButtonHeight);
    ClearTools();
    m_checkGroup.clear();
    m_dropDownChecks.clear();
    SetWindowStyleFlag((GetWindowStyleFlag() & ~(wxTB_HORIZONTAL | wxTB_VERTICAL)) |
                       (vertical ? wxTB_VERTICAL : wxTB_HORIZONTAL));
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
        if (button.dropDown)
            kind = wxITEM_DROPDOWN;
        else if (button.checkGroup)
            kind = wxITEM_CHECK;
        AddTool(button.commandId, wxString::FromUTF8(button.label), icon, wxNullBitmap, kind);
        if (button.checkGroup)
            m_checkGroup.push_back(button.commandId);
        if (button.checkGroup && button.dropDown)
            m_dropDownChecks[button.commandId] = {icon, CheckedLook(icon), false};
    }
    Realize();
    const wxSize client = GetParent()->GetClientSize();
    if (vertical)
        SetSize(0, 0, GetBestSize().x, client.y);
    else
        SetSize(0, 0, client.x, GetBestSize().y);
}

void cvToolBar::ToggleTool(int toolId, bool toggle)
{
    const auto found = m_dropDownChecks.find(toolId);
    if (found == m_dropDownChecks.end()) {
        wxToolBar::ToggleTool(toolId, toggle);
        return;
    }
    if (found->second.state == toggle)
        return;
    found->second.state = toggle;
    SetToolNormalBitmap(toolId, toggle ? found->second.checked : found->second.plain);
}

bool cvToolBar::GetToolState(int toolId) const
{
    const auto found = m_dropDownChecks.find(toolId);
    return found == m_dropDownChecks.end() ? wxToolBar::GetToolState(toolId) : found->second.state;
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
