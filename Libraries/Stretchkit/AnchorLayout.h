// Keeps the children of a window at fixed distances from percentage points of the window's
// layout rectangle, each corner separately, and moves them all in one batch when the window
// changes size. The owner calls RepositionChildren from its size handling.
#pragma once

#include "StretchkitCore/AnchorGeometry.h"

#include <wx/gdicmn.h>

#include <vector>

class wxWindow;

// A child that the owner places itself: at every layout FillCallbackAnchor names the window and
// its anchors (AnchorChild gives them for a child where it stands).
struct SCallbackAnchor {
    int callbackId = 0;
    wxWindow* window = nullptr;
    SAnchorGeometry anchor;
};

class CAnchorLayout {
public:
    CAnchorLayout();
    virtual ~CAnchorLayout();
    CAnchorLayout(const CAnchorLayout&) = delete;
    CAnchorLayout& operator=(const CAnchorLayout&) = delete;

    // Anchors a direct child of the layout window where it stands now, so anchoring belongs
    // after the child has its designed place and before the window is resized. Anchoring a
    // child again replaces its anchor. False for null or for a window that is not a child.
    bool AddAnchor(wxWindow* child, SAnchorPoint topLeft, SAnchorPoint bottomRight = kNoAnchor);
    // The same for the layout window's direct child with that window id.
    bool AddDlgItemAnchor(int id, SAnchorPoint topLeft, SAnchorPoint bottomRight);
    // False, and nothing changes, for a window that is not anchored.
    bool DeleteAnchor(wxWindow* child);
    // Forgets the anchors and the callback anchors.
    void DeleteAllAnchors();
    // Anchors every anchored child again where it stands now, with its anchor points, as if the
    // layout rectangle were area: after the children were placed anew for a layout of that size.
    void AnchorAgain(const wxRect& area);
    // A child placed at each layout by what FillCallbackAnchor answers for that id.
    void AddCallbackAnchor(int callbackId);

    // Moves every anchored child that is not in place for the current layout rectangle, and
    // then every child that FillCallbackAnchor names, with the window frozen so that they all
    // show at once; a child whose picture depends on its size is repainted whole. Destroyed
    // children are forgotten.
    void RepositionChildren();

protected:
    // The rectangle anchors are measured in, in the layout window's client coordinates;
    // the client rectangle unless an owner knows better.
    virtual wxRect GetLayoutRect() const;
    virtual wxWindow* GetLayoutWindow() const = 0;
    // Fills the record's window and anchor for this layout; false skips it (the default).
    virtual bool FillCallbackAnchor(SCallbackAnchor& record);
    // Whether the child, moved from old to now (client coordinates), must be repainted whole:
    // native controls repaint only what their new size uncovers, which leaves the old picture
    // of centred or right-aligned text, images, frames and list boxes in place.
    virtual bool ChildNeedsRedraw(const wxWindow* child, const wxRect& old, const wxRect& now) const;

private:
    struct SRecord;
    std::vector<SRecord> m_anchors;  // in anchoring order, one per child
    std::vector<int> m_callbacks;    // ids, in the order they were added
};
