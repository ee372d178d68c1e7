#include "Harbinax/DataComboBox.h"

#include "Harbinax/ComboButtonRenderer.h"
#include "Harbinax/ThemeAttributes.h"
#include "HarbinaxCore/ComboItemMarker.h"

#include <wx/combobox.h>
#include <wx/dc.h>
#include <wx/settings.h>

#include <cstdint>

namespace {

CThemeAttributes& ComboTheme()
{
    static CThemeAttributes theme;
    return theme;
}

CThemeAttributes& WindowTheme()
{
    static CThemeAttributes theme;
    return theme;
}

}  // namespace

CDataComboBox::CDataComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
{
    CComboButtonRenderer::Install();
    // Runs before the base's handler, which asks the theme again.
    Bind(wxEVT_SYS_COLOUR_CHANGED, [](wxSysColourChangedEvent& event) {
        ComboTheme().Forget();
        WindowTheme().Forget();
        CComboButtonRenderer::ForgetPictures();
        event.Skip();
    });
    // Created here rather than by the base's constructor, so that creation calls our
    // OnThemeChange.
    Create(parent, id, wxString(), pos, size, 0, nullptr, style | wxCB_READONLY);
}

void CDataComboBox::OnThemeChange()
{
    const wxVisualAttributes& theme = ComboTheme().Get([] { return wxComboBox::GetClassDefaultAttributes(); });
    if (!m_hasTcBgCol)
        m_tcBgCol = theme.colBg;
    if (!m_hasFgCol)
        SetOwnForegroundColour(theme.colFg);
    if (!HasTransparentBackground())
        SetOwnBackgroundColour(GetParent()->GetBackgroundColour());
}

wxVisualAttributes CDataComboBox::GetDefaultAttributes() const
{
    return WindowTheme().Get([this] { return wxOwnerDrawnComboBox::GetDefaultAttributes(); });
}

bool CDataComboBox::SelectItemData(int data)
{
    const unsigned int count = GetCount();
    for (unsigned int n = 0; n < count; ++n) {
        if (GetItemData(n) == data) {
            SetSelection(static_cast<int>(n));
            return true;
        }
    }
    SetSelection(wxNOT_FOUND);
    return false;
}

int CDataComboBox::GetSelectedItemData() const
{
    const int selection = GetSelection();
    return selection == wxNOT_FOUND ? -1 : GetItemData(static_cast<unsigned int>(selection));
}

int CDataComboBox::GetItemData(unsigned int n) const
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(GetClientData(n)));
}

void CDataComboBox::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const
{
    if (item < 0 || static_cast<unsigned int>(item) >= GetCount())
        return;
    const wxString text = GetString(static_cast<unsigned int>(item));
    if (text.empty())
        return;
    // The background, highlighted or not, is already drawn.
    const SMarkedComboItem marked = ClassifyComboItem(text.ToStdWstring());
    wxColour colour;
    if (marked.marker != EComboItemMarker::None) {
        const SMarkerColour marker = MarkerColour(marked.marker);
        colour.Set(marker.red, marker.green, marker.blue);
    } else {
        colour = wxSystemSettings::GetColour((flags & wxODCB_PAINTING_SELECTED) ? wxSYS_COLOUR_HIGHLIGHTTEXT
                                                                                  : wxSYS_COLOUR_WINDOWTEXT);
    }
    const wxString shown(marked.shownText);
    wxDCTextColourChanger textColour(dc, colour);
    dc.DrawText(shown, rect.x + 2, rect.y + (rect.height - dc.GetTextExtent(shown).y) / 2);
}

wxCoord CDataComboBox::OnMeasureItem(size_t) const
{
    return GetTextExtent(wxString::FromUTF8("kg/m\xC2\xB3|")).y;
}
