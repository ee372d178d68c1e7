// Keeps the children of a window at fixed distances from percentage points of the window's
// layout rectangle, each corner separately, and moves them all in one batch when the window
// changes size. The owner calls RepositionChildren from its size handling.
#pragma once

#include "StretchkitCore/AnchorGeometry.h"

#include <wx/gdicmn.h>

#include <vector>

class wxWindow;

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
    void DeleteAllAnchors();

    // Moves every anchored child that is not in place for the current layout rectangle, with
    // the window frozen so that they all show at once. Destroyed children are forgotten.
    void RepositionChildren();

protected:
    // The rectangle anchors are measured in, in the layout window's client coordinates;
    // the client rectangle unless an owner knows better.
    virtual wxRect GetLayoutRect() const;
    virtual wxWindow* GetLayoutWindow() const = 0;

private:
    struct SRecord;
    std::vector<SRecord> m_anchors;  // in anchoring order, one per child
};
