#include "Harbinax/FilterEdit.h"

#include "Harbinax/Harbinax.h"

#include <wx/clipbrd.h>
#include <wx/dnd.h>
#include <wx/utils.h>

#include <algorithm>

// Takes dropped text in place of the native entry, which would insert it unchecked.
class CFilterEdit::CDropTarget : public wxTextDropTarget {
public:
    explicit CDropTarget(CFilterEdit* edit) : m_edit(edit) {}

    wxDragResult OnDragOver(wxCoord, wxCoord, wxDragResult result) override
    {
        return m_edit->IsEditable() ? result : wxDragNone;
    }

    bool OnDropText(wxCoord x, wxCoord y, const wxString& text) override
    {
        return m_edit->DropText(wxPoint(x, y), text);
    }

private:
    CFilterEdit* m_edit;
};

CFilterEdit::CFilterEdit(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos,
                         const wxSize& size, long style)
    : wxTextCtrl(parent, id, value, pos, size, style),
      m_filter([] { return static_cast<wchar_t>(static_cast<unsigned char>(CHarbinax::GetDecimalSeparator())); })
{
    m_filter.SetMultiLine(IsMultiLine());
    Bind(wxEVT_CHAR, &CFilterEdit::OnChar, this);
    Bind(wxEVT_TEXT_PASTE, &CFilterEdit::OnPaste, this);
    Bind(wxEVT_MIDDLE_DOWN, &CFilterEdit::OnMiddleDown, this);
    Bind(wxEVT_SET_FOCUS, &CFilterEdit::OnSetFocus, this);
    SetDropTarget(new CDropTarget(this));
}

void CFilterEdit::SetAllowedChars(const wxString& characters)
{
    m_filter.SetAllowedChars(characters.ToStdWstring());
}

void CFilterEdit::SetInteger(bool on)
{
    m_filter.SetInteger(on);
}

void CFilterEdit::SetNumeric(bool on, bool acceptCommaAndPoint)
{
    m_filter.SetNumeric(on, acceptCommaAndPoint);
}

void CFilterEdit::SetMaxLength(unsigned long length)
{
    m_filter.SetMaxLength(static_cast<int>(length));
    if (!IsMultiLine())
        wxTextCtrl::SetMaxLength(length);
}

wxString CFilterEdit::WidestAcceptedText() const
{
    const int length = m_filter.GetMaxLength();
    const std::wstring& characters = m_filter.GetAllowedChars();
    if (length <= 0 || characters.empty())
        return wxString();
    const auto width = [this](wchar_t ch) { return GetTextExtent(wxString(ch)).x; };
    const auto widest = [&width](const std::wstring& among) {
        wchar_t found = among.front();
        for (const wchar_t ch : among) {
            if (width(ch) > width(found))
                found = ch;
        }
        return found;
    };
    if (!m_filter.IsNumeric())
        return wxString(widest(characters), static_cast<std::size_t>(length));
    // A number has a sign only in front and one decimal separator at most.
    const wchar_t digit = widest(L"0123456789");
    wxString text(digit, static_cast<std::size_t>(length));
    text[0] = widest(std::wstring{digit, L'+', L'-'});
    const std::wstring& separators = m_filter.GetSeparators();
    if (length > 1 && !separators.empty() && width(widest(separators)) > width(digit))
        text[1] = widest(separators);
    return text;
}

void CFilterEdit::SetLowerCase(bool on)
{
    m_filter.SetLowerCase(on);
}

void CFilterEdit::SetUpperCase(bool on)
{
    m_filter.SetUpperCase(on);
}

void CFilterEdit::SetText(const wxString& text)
{
    SetValue(FilterText(text));
}

wxString CFilterEdit::FilterText(const wxString& text) const
{
    return wxString(m_filter.FilterText(text.ToStdWstring()));
}

void CFilterEdit::OnChar(wxKeyEvent& event)
{
    const wxChar ch = event.GetUnicodeKey();
    // A line break takes a character of a limited text like any other.
    if (IsMultiLine() && ch == WXK_RETURN && !event.HasAnyModifiers()) {
        InsertChecked(L'\n');
        return;
    }
    // Navigation keys, editing commands (backspace, Ctrl+C, ...) and shortcuts are the
    // control's and the dialog's, not characters of the text.
    if (ch == WXK_NONE || ch < 32 || ch == 127 || event.ControlDown() || event.AltDown()) {
        event.Skip();
        return;
    }
    InsertChecked(ch);
}

void CFilterEdit::OnPaste(wxClipboardTextEvent&)
{
    PasteFiltered(false);
}

void CFilterEdit::OnMiddleDown(wxMouseEvent& event)
{
    // The middle button pastes the primary selection where it is clicked; it goes through the
    // same filter as any paste.
    SetFocus();
    long position = 0;
    if (HitTest(event.GetPosition(), &position) != wxTE_HT_UNKNOWN)
        SetInsertionPoint(position);
    PasteFiltered(true);
}

void CFilterEdit::OnSetFocus(wxFocusEvent& event)
{
    event.Skip();
    // After the control's own handling, which places the caret.
    if (m_selectAllOnFocus)
        CallAfter([this] {
            if (HasFocus())
                SelectAll();
        });
}

void CFilterEdit::InsertChecked(wchar_t ch)
{
    long from = 0;
    long to = 0;
    GetSelection(&from, &to);
    std::wstring text = GetValue().ToStdWstring();
    const std::size_t start = std::min(static_cast<std::size_t>(from), text.size());
    const std::size_t end = std::max(start, std::min(static_cast<std::size_t>(to), text.size()));
    text.erase(start, end - start);
    wchar_t checked = ch;
    if (!m_filter.CheckChar(text, start, checked)) {
        if (m_beepOnReject)
            wxBell();
        return;
    }
    Replace(static_cast<long>(start), static_cast<long>(end), wxString(checked));
    SetInsertionPoint(static_cast<long>(start) + 1);
}

void CFilterEdit::PasteFiltered(bool primarySelection)
{
    if (!IsEditable())
        return;
    wxString text;
    {
        wxTheClipboard->UsePrimarySelection(primarySelection);
        wxClipboardLocker locker;
        if (!!locker && wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
            wxTextDataObject data;
            if (wxTheClipboard->GetData(data))
                text = data.GetText();
        }
        wxTheClipboard->UsePrimarySelection(false);
    }
    InsertFiltered(text);
}

bool CFilterEdit::DropText(const wxPoint& point, const wxString& text)
{
    if (!IsEditable())
        return false;
    long position = GetLastPosition();
    if (HitTest(point, &position) == wxTE_HT_UNKNOWN)
        position = GetLastPosition();
    // The native entry inserts the raw text itself once this returns; the field is put back as
    // it was before the drop and the text goes in through the filter afterwards.
    CallAfter([this, before = GetValue(), position, text] {
        ChangeValue(before);
        SetInsertionPoint(position);  // drops the selection: dropped text is inserted, not typed over
        InsertFiltered(text);
    });
    return true;
}

void CFilterEdit::InsertFiltered(const wxString& text)
{
    for (const wxUniChar ch : text) {
        const wchar_t c = static_cast<wchar_t>(ch.GetValue());
        if (m_filter.IsInsertable(c))
            InsertChecked(c);
    }
}
