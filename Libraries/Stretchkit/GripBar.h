// The size grip: a small triangle of ridges in the bottom-right corner of a top-level window.
// Dragging it with the left button resizes that window within its minimum and maximum size.
#pragma once

#include "StretchkitCore/LayoutGeometry.h"

#include <wx/window.h>

class CGripBar : public wxWindow {
public:
    CGripBar();
    // Gives the mouse back when it goes during a drag.
    ~CGripBar() override;
    // A hidden child of the parent, as large as the system's scroll-bar corner.
    bool Create(wxWindow* parent);

    // Width of a vertical and height of a horizontal scroll bar.
    static wxSize GripSize();

    bool AcceptsFocus() const override { return false; }
    bool AcceptsFocusFromKeyboard() const override { return false; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    bool m_dragging = false;
    SLayoutSize m_startSize;   // of the top-level window when the drag began
    SLayoutPoint m_startMouse; // on the screen
};
