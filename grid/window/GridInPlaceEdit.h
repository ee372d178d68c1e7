// The single-line editor a text cell puts over itself: a filtered edit without border that
// grows to the right as the text gets longer and ends on Tab, Enter, Escape (the text as it was),
// an arrow or page key (unless a click started it: then those move the caret) or the loss of
// the focus. It reports its end exactly once, with the text and the key that ended it.
#pragma once

#include "Harbinax/FilterEdit.h"
#include "grid/GridPort.h"

#include <functional>

class CGridInPlaceEdit : public CFilterEdit {
public:
    // row, col, text, ending key (0 when the focus went elsewhere).
    using EndHandler = std::function<void(int, int, const std::string&, int)>;

    CGridInPlaceEdit(wxWindow* parent, const CGridEditRequest& request, EndHandler onEnd);

    // Reports the end (once) and hides the editor; its owner deletes it later.
    void EndEdit(int key = 0);
    bool IsEnded() const { return m_ended; }
    // The grid goes away: nothing more is reported.
    void Detach() { m_onEnd = nullptr; }
    // Types a character at the caret as the keyboard would.
    void Type(unsigned character);

private:
    void OnKeyDown(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnText(wxCommandEvent& event);

    int m_row;
    int m_col;
    wxString m_initialText;
    bool m_exitOnArrows;
    bool m_ended = false;
    EndHandler m_onEnd;
};
