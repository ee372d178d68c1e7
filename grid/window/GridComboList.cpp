#include "grid/window/GridComboList.h"

#include "grid/GridDefs.h"

#include <wx/settings.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace {
// The dropped list as wide as the combo box or the options need, but never wider than the cap.
class CCappedPopup : public wxVListBoxComboPopup {
public:
    explicit CCappedPopup(CGridComboList& box) : m_box(box) {}
    // Asked each time the list drops down.
    wxSize GetAdjustedSize(int minWidth, int prefHeight, int maxHeight) override
    {
        wxSize size = wxVListBoxComboPopup::GetAdjustedSize(minWidth, prefHeight, maxHeight);
        size.x = std::max(minWidth, m_box.DropWidth());
        return size;
    }

private:
    CGridComboList& m_box;
};

wxArrayString Choices(const std::vector<std::string>& options)
{
    wxArrayString choices;
    for (const std::string& option : options)
        choices.Add(wxString::FromUTF8(option));
    return choices;
}
} // namespace

CGridComboList::CGridComboList(wxWindow* parent, const CGridEditRequest& request, EndHandler onEnd)
    : m_row(request.row),
      m_col(request.col),
      m_initialText(wxString::FromUTF8(request.text)),
      m_dropDownList(request.dropDownList),
      m_onEnd(std::move(onEnd))
{
    const wxRect cell(request.rect.left, request.rect.top, request.rect.right - request.rect.left + 1,
                      request.rect.bottom - request.rect.top + 1);
    m_options = Choices(request.options);
    Create(parent, static_cast<wxWindowID>(request.controlId), wxString(), cell.GetPosition(), cell.GetSize(),
           m_options, (m_dropDownList ? wxCB_READONLY : 0) | wxTE_PROCESS_ENTER | wxWANTS_CHARS);
    SetFont(parent->GetFont());
    SetPopupControl(new CCappedPopup(*this));
    SetPopupMaxHeight(4 * cell.height + wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y));
    const int index = FindString(m_initialText);
    if (index != wxNOT_FOUND)
        SetSelection(index);
    else
        SetValue(m_initialText);

    Bind(wxEVT_KEY_DOWN, &CGridComboList::OnKeyDown, this);
    Bind(wxEVT_KILL_FOCUS, &CGridComboList::OnKillFocus, this);
    if (wxTextCtrl* text = GetTextCtrl()) {
        text->Bind(wxEVT_KEY_DOWN, &CGridComboList::OnKeyDown, this);
        text->Bind(wxEVT_KILL_FOCUS, &CGridComboList::OnKillFocus, this);
    }
    SetFocus();
    // Dropped down once the box is on the screen.
    CallAfter([this] {
        if (!m_ended)
            Popup();
    });

    if (m_dropDownList)
        return;
    const unsigned first = request.firstChar;
    if (first == GridKeyLButton || first == GridKeyReturn) {
        SetInsertionPointEnd();
    } else if (first == '\b') {
        SetInsertionPointEnd();
        Type(first);
    } else if (first >= GridKeyPageUp && first <= GridKeyDown) {
        SelectAll();
    } else {
        SelectAll();
        Type(first);
    }
}

CGridComboList::~CGridComboList()
{
    // Closed while the box is whole: a list still open when the base class takes it down
    // measures its items through a box that is no longer an owner-drawn one.
    if (IsPopupShown())
        Dismiss();
}

int CGridComboList::DropWidth()
{
    int width = 0;
    for (const wxString& option : m_options)
        width = std::max(width, GetTextExtent(option).x + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this));
    width += GetTextExtent("0").x;
    return std::min(width, kMaxDropWidth);
}

void CGridComboList::Type(unsigned character)
{
    wxTextCtrl* text = GetTextCtrl();
    if (!text)
        return;
    long from = 0;
    long to = 0;
    text->GetSelection(&from, &to);
    if (character == '\b') {
        if (from == to && from > 0)
            --from;
        text->Remove(from, to);
        return;
    }
    text->Replace(from, to, wxString(static_cast<wxChar>(character)));
}

void CGridComboList::Paste()
{
    if (wxTextCtrl* text = GetTextCtrl())
        text->Paste();
}

void CGridComboList::EndEdit(int key)
{
    if (m_ended)
        return;
    m_ended = true;
    if (IsPopupShown())
        Dismiss();
    if (key == GridKeyEscape)
        SetValue(m_initialText);
    const std::string text = GetValue().ToStdString(wxConvUTF8);
    Hide();
    if (m_onEnd) {
        const EndHandler onEnd = m_onEnd;
        m_onEnd = nullptr;
        onEnd(m_row, m_col, text, key);
    }
}

void CGridComboList::OnKeyDown(wxKeyEvent& event)
{
    const int code = event.GetKeyCode();
    if (code == WXK_TAB || code == WXK_RETURN || code == WXK_NUMPAD_ENTER || code == WXK_ESCAPE) {
        EndEdit(code == WXK_TAB ? GridKeyTab : code == WXK_ESCAPE ? GridKeyEscape : GridKeyReturn);
        return;
    }
    static const struct {
        int wxKey;
        int gridKey;
    } moving[] = {{WXK_PAGEUP, GridKeyPageUp}, {WXK_PAGEDOWN, GridKeyPageDown}, {WXK_DOWN, GridKeyDown},
                  {WXK_UP, GridKeyUp},         {WXK_RIGHT, GridKeyRight},       {WXK_LEFT, GridKeyLeft}};
    if (event.ControlDown())
        for (const auto& key : moving)
            if (code == key.wxKey) {
                EndEdit(key.gridKey);
                return;
            }
    event.Skip();
}

void CGridComboList::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    // The focus moving between the box, its edit part and its dropped list is no end; where it
    // went is known only once the window system has moved it.
    CallAfter([this] {
        if (m_ended || IsPopupShown())
            return;
        for (wxWindow* focus = wxWindow::FindFocus(); focus; focus = focus->GetParent())
            if (focus == this || focus == GetPopupWindow())
                return;
        EndEdit(0);
    });
}
