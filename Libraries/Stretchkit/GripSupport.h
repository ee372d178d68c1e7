// The size grip of a window: created once, shown while the count of show requests is above 0,
// kept in the bottom-right corner of the window's client area.
#pragma once

#include "Stretchkit/GripBar.h"
#include "StretchkitCore/GripVisibility.h"

#include <wx/weakref.h>

#include <cstdint>

class CGripSupport {
public:
    // Creates the grip as a child of the window, with the shape and painting asked (see
    // CGripBar), and places it; visible sets the count to 1, otherwise 0. False when the grip
    // window cannot be created.
    bool CreateGrip(wxWindow* parent, bool visible, bool triangular = false, bool transparent = false);

    // See CGripVisibility: a requester's status word makes repeated requests count once.
    void GripShowRequest(std::uint32_t* status, std::uint32_t mask) { m_visibility.ShowRequest(status, mask); }
    void GripHideRequest(std::uint32_t* status, std::uint32_t mask) { m_visibility.HideRequest(status, mask); }
    bool IsGripShown() const { return m_visibility.IsShown(); }
    void SetGripShown(bool shown) { m_visibility.SetShown(shown); }

    // Moves the grip into the corner, above its siblings, shown or hidden as the count says.
    void PlaceGrip();

    // Mode 1 paints the grip transparent, mode 2 opaque; false without a grip or for another mode.
    bool SetGripBackground(int mode);
    // False without a grip.
    bool SetGripTriangle(bool on);

    // Null before CreateGrip and after the grip's window is gone.
    CGripBar* GetGrip() const { return m_grip.get(); }

private:
    CGripVisibility m_visibility;
    wxWeakRef<CGripBar> m_grip;
};
