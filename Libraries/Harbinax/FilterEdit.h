// An edit control that takes only the characters its owner allows, typed, pasted or dropped: a set of
// characters, whole numbers, decimal numbers with the decimal separator of the user-interface
// language, forced letter case and a maximum length. Text set through SetText obeys the same
// rules. The rules themselves are CInputFilter's.
#pragma once

#include "HarbinaxCore/InputFilter.h"

#include <wx/textctrl.h>

class wxClipboardTextEvent;

class CFilterEdit : public wxTextCtrl {
public:
    CFilterEdit(wxWindow* parent, wxWindowID id, const wxString& value = wxString(),
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

    void SetAllowedChars(const wxString& characters);
    void SetInteger(bool on);
    void SetNumeric(bool on, bool acceptCommaAndPoint);
    // Also the control's own limit (single-line edits).
    void SetMaxLength(unsigned long length) override;
    void SetLowerCase(bool on);
    void SetUpperCase(bool on);
    void SetBeepOnReject(bool on) { m_beepOnReject = on; }
    void SetSelectAllOnFocus(bool on) { m_selectAllOnFocus = on; }
    // Takes all rules at once, as another part prepared them.
    void SetFilter(const CInputFilter& filter) { m_filter = filter; }

    // Shows the text as far as the rules let it through (an empty text clears the control).
    void SetText(const wxString& text = wxString());
    wxString FilterText(const wxString& text) const;

    const CInputFilter& GetFilter() const { return m_filter; }
    // The widest text the field takes: as many of its widest characters as its limit allows (for
    // a number, a sign in front and a decimal separator once); empty without a limit or when it
    // takes any character (such a text scrolls in its field).
    wxString WidestAcceptedText() const;

private:
    void OnChar(wxKeyEvent& event);
    void OnPaste(wxClipboardTextEvent& event);
    void OnMiddleDown(wxMouseEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    // Text dragged onto the field goes in where it is dropped, through the filter.
    bool DropText(const wxPoint& point, const wxString& text);

    // Checks ch against the text without its selection and, when it passes, puts it in place of
    // the selection; a refused one beeps when beeping is on.
    void InsertChecked(wchar_t ch);
    // Inserts the clipboard's (or the primary selection's) text character by character.
    void PasteFiltered(bool primarySelection);
    // Inserts the text character by character, each checked against the text as it grows.
    void InsertFiltered(const wxString& text);

    class CDropTarget;

    CInputFilter m_filter;
    bool m_beepOnReject = true;
    bool m_selectAllOnFocus = true;
};
