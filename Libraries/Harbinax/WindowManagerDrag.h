// Moves and resizes of a borderless top-level window handed to the window manager, as its own
// frame would hand them: the mouse button held down now drives the move or the resize, with
// the window manager's snapping, limits and feedback.
#pragma once

#include <wx/gdicmn.h>

class wxTopLevelWindow;

// button: 1 for the left button; screenPoint: where it went down. False where the window
// system offers no such hand-over.
bool BeginWindowMoveDrag(wxTopLevelWindow* window, int button, const wxPoint& screenPoint);

// sizeCommand: 0xF001 (left edge) to 0xF008 (bottom-right corner), see SkinSizeCommand.
bool BeginWindowResizeDrag(wxTopLevelWindow* window, int sizeCommand, int button, const wxPoint& screenPoint);
