#include "grid/window/GridInPlaceEdit.h"

#include "grid/GridDefs.h"

namespace {
long AlignmentStyle(int alignment)
{
    return alignment == 2 ? wxTE_RIGHT : alignment == 1 ? wxTE_CENTRE : wxTE_LEFT;
}

wxRect EditorRect(const CGridRect& cell)
{
    return wxRect(cell.left, cell.top, cell.right - cell.left + 1, cell.bottom - cell.top + 1);
}
} // namespace

CGridInPlaceEdit::CGridInPlaceEdit(wxWindow* parent, const CGridEditRequest& request, EndHandler onEnd)
    : CFilterEdit(parent, static_cast<wxWindowID>(request.controlId), wxString(), EditorRect(request.rect).GetPosition(),
                  EditorRect(request.rect).GetSize(),
                  wxBORDER_SIMPLE | wxTE_PROCESS_ENTER | wxTE_PROCESS_TAB | AlignmentStyle(request.alignment)),
      m_row(request.row),
      m_col(request.col),
      m_initialText(wxString::FromUTF8(request.text)),
      m_exitOnArrows(request.firstChar != GridKeyLButton),
      m_onEnd(std::move(onEnd))
{
    SetFilter(request.filter);
    SetSelectAllOnFocus(false);
    SetFont(parent->GetFont());
    SetText(m_initialText);
    Bind(wxEVT_KEY_DOWN, &CGridInPlaceEdit::OnKeyDown, this);
    Bind(wxEVT_KILL_FOCUS, &CGridInPlaceEdit::OnKillFocus, this);
    Bind(wxEVT_TEXT, &CGridInPlaceEdit::OnText, this);
    SetFocus();

    const unsigned first = request.firstChar;
    switch (first) {
    case GridKeyLButton:
    case GridKeyReturn:
        SetInsertionPointEnd();
        break;
    case '\b':
        SetInsertionPointEnd();
        Type(first);
        break;
    case GridKeyTab:
    case GridKeySpace:
    case GridKeyPageUp:
    case GridKeyPageDown:
    case GridKeyEnd:
    case GridKeyHome:
    case GridKeyLeft:
    case GridKeyUp:
    case GridKeyRight:
    case GridKeyDown:
        SelectAll();
        break;
    default:
        // The typed character replaces the whole text.
        SelectAll();
        Type(first);
        break;
    }
}

void CGridInPlaceEdit::Type(unsigned character)
{
    long from = 0;
    long to = 0;
    GetSelection(&from, &to);
    if (character == '\b') {
        if (from == to && from > 0)
            --from;
        Remove(from, to);
        return;
    }
    const wxString value = GetValue();
    const std::wstring rest = (value.Left(from) + value.Mid(to)).ToStdWstring();
    wchar_t ch = static_cast<wchar_t>(character);
    if (!GetFilter().CheckChar(rest, static_cast<std::size_t>(from), ch))
        return;
    Replace(from, to, wxString(ch));
}

void CGridInPlaceEdit::EndEdit(int key)
{
    if (m_ended)
        return;
    m_ended = true;
    if (key == GridKeyEscape)
        SetText(m_initialText);
    const std::string text = GetValue().ToStdString(wxConvUTF8);
    Hide();
    if (m_onEnd) {
        const EndHandler onEnd = m_onEnd;
        m_onEnd = nullptr;
        onEnd(m_row, m_col, text, key);
    }
}

void CGridInPlaceEdit::OnKeyDown(wxKeyEvent& event)
{
    switch (event.GetKeyCode()) {
    case WXK_TAB:
        EndEdit(GridKeyTab);
        return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        EndEdit(GridKeyReturn);
        return;
    case WXK_ESCAPE:
        EndEdit(GridKeyEscape);
        return;
    default:
        break;
    }
    static const struct {
        int wxKey;
        int gridKey;
    } moving[] = {{WXK_PAGEUP, GridKeyPageUp}, {WXK_PAGEDOWN, GridKeyPageDown}, {WXK_DOWN, GridKeyDown},
                  {WXK_UP, GridKeyUp},         {WXK_RIGHT, GridKeyRight},       {WXK_LEFT, GridKeyLeft}};
    for (const auto& key : moving)
        if (event.GetKeyCode() == key.wxKey && (m_exitOnArrows || event.ControlDown())) {
            EndEdit(key.gridKey);
            return;
        }
    event.Skip();
}

void CGridInPlaceEdit::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    EndEdit(0);
}

void CGridInPlaceEdit::OnText(wxCommandEvent& event)
{
    event.Skip();
    // Grows to fit the text and two spaces, never past the grid's right edge, never shrinking.
    const int width = GetTextExtent(GetValue() + "  ").x;
    wxRect rect = GetRect();
    if (width <= rect.width)
        return;
    rect.width = std::min(width, GetParent()->GetClientSize().x - rect.x);
    SetSize(rect);
}
