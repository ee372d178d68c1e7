// The single-line editor a text cell puts over itself: a filtered edit with a thin border that
// grows to the right as the text gets longer and ends on Tab, Enter, Escape (the text as it was),
// an arrow or page key (unless a click started it: then those move the caret) or the loss of
// the focus. It reports its end exactly once, with the text and the key that ended it.
#pragma once

#include "Harbinax/FilterEdit.h"
#include "grid/GridPort.h"
#include "grid/window/GridEditor.h"

class CGridInPlaceEdit : public CFilterEdit, public IGridEditor {
public:
    CGridInPlaceEdit(wxWindow* parent, const CGridEditRequest& request, EndHandler onEnd);

    wxWindow* GetEditorWindow() override { return this; }
    void EndEdit(int key = 0) override;
    bool IsEnded() const override { return m_ended; }
    void Detach() override { m_onEnd = nullptr; }
    void Type(unsigned character) override;
    void Paste() override { CFilterEdit::Paste(); }

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
