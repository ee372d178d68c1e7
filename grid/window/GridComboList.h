// The combo box a combo cell puts over itself: its options dropped down at once, the option
// that matches the cell's text selected (else the text shown as it is), free text in its edit
// part unless only the options may be chosen. Tab, Enter, Escape (the text as it was), Ctrl with
// an arrow or page key, or the focus going elsewhere end it, reported exactly once.
#pragma once

#include "grid/GridPort.h"
#include "grid/window/GridEditor.h"

#include <wx/odcombo.h>

class CGridComboList : public wxOwnerDrawnComboBox, public IGridEditor {
public:
    // The dropped list is never wider than this.
    static constexpr int kMaxDropWidth = 200;

    CGridComboList(wxWindow* parent, const CGridEditRequest& request, EndHandler onEnd);
    ~CGridComboList() override;

    wxWindow* GetEditorWindow() override { return this; }
    void EndEdit(int key = 0) override;
    bool IsEnded() const override { return m_ended; }
    void Detach() override { m_onEnd = nullptr; }
    void Type(unsigned character) override;
    // Into the edit part; a box that takes only its options has none.
    void Paste() override;

    // Widest option with room for a scroll bar and a digit, at most kMaxDropWidth; worked out
    // each time the list drops down, in the box's font of that moment.
    int DropWidth();

private:
    void OnKeyDown(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);

    int m_row;
    int m_col;
    wxString m_initialText;
    wxArrayString m_options;
    bool m_dropDownList;
    bool m_ended = false;
    EndHandler m_onEnd;
};
