// The size grip: a small triangle of ridges in the bottom-right corner of a top-level window
// (bottom-left in a right-to-left window). Dragging it with the left button resizes that window
// within its minimum and maximum size. It takes its size from the desktop's scroll bars again
// when the desktop's settings change, keeping its outer corner where it was.
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

    // Transparent: the parent's background shows around the ridges; otherwise the grip fills its
    // square in the colour of button faces, as a scroll-bar corner does.
    void EnableTransparentPaint(bool on);
    bool IsTransparentPaint() const { return m_transparent; }
    // Triangular: only the lower triangle toward the window's corner is grip; the rest shows the
    // parent's background and takes no drag.
    void EnableTriangleRegion(bool on);
    bool IsTriangleRegion() const { return m_triangular; }
    // The grip of a right-to-left window sits in the bottom-left corner and drags that corner.
    bool IsMirrored() const;
    // Whether the point (client coordinates) is part of the grip.
    bool IsGripPoint(const wxPoint& point) const;

    bool AcceptsFocus() const override { return false; }
    bool AcceptsFocusFromKeyboard() const override { return false; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnSettingsChanged(wxSysColourChangedEvent& event);

    bool m_transparent = false;
    bool m_triangular = false;
    bool m_dragging = false;
    SLayoutSize m_startSize;   // of the top-level window when the drag began
    SLayoutPoint m_startPosition;
    SLayoutPoint m_startMouse; // on the screen
};
