#include "Stretchkit/AnchorLayout.h"

#include "Stretchkit/LayoutConvert.h"

#include <wx/weakref.h>
#include <wx/window.h>
#include <wx/wupdlock.h>

#include <algorithm>

// Records are found by their window, never by a position in the list: positions shift when
// an anchor is deleted. The reference empties itself when the child is destroyed.
struct CAnchorLayout::SRecord {
    wxWeakRef<wxWindow> child;
    SAnchorGeometry anchor;
};

CAnchorLayout::CAnchorLayout() = default;

CAnchorLayout::~CAnchorLayout() = default;

wxRect CAnchorLayout::GetLayoutRect() const
{
    const wxWindow* window = GetLayoutWindow();
    return window ? wxRect(window->GetClientSize()) : wxRect();
}

bool CAnchorLayout::AddAnchor(wxWindow* child, SAnchorPoint topLeft, SAnchorPoint bottomRight)
{
    wxWindow* window = GetLayoutWindow();
    if (!child || !window || child->GetParent() != window)
        return false;
    const SAnchorGeometry anchor =
        AnchorChild(ToLayoutRect(GetLayoutRect()), ToLayoutRect(child->GetRect()), topLeft, bottomRight);
    for (SRecord& record : m_anchors) {
        if (record.child == child) {
            record.anchor = anchor;
            return true;
        }
    }
    m_anchors.push_back({child, anchor});
    return true;
}

bool CAnchorLayout::AddDlgItemAnchor(int id, SAnchorPoint topLeft, SAnchorPoint bottomRight)
{
    wxWindow* window = GetLayoutWindow();
    if (!window)
        return false;
    for (wxWindow* child : window->GetChildren()) {
        if (child->GetId() == id)
            return AddAnchor(child, topLeft, bottomRight);
    }
    return false;
}

bool CAnchorLayout::DeleteAnchor(wxWindow* child)
{
    const auto found = std::find_if(m_anchors.begin(), m_anchors.end(),
                                    [child](const SRecord& record) { return child && record.child == child; });
    if (found == m_anchors.end())
        return false;
    m_anchors.erase(found);
    return true;
}

void CAnchorLayout::DeleteAllAnchors()
{
    m_anchors.clear();
}

void CAnchorLayout::RepositionChildren()
{
    wxWindow* window = GetLayoutWindow();
    m_anchors.erase(std::remove_if(m_anchors.begin(), m_anchors.end(), [](const SRecord& record) { return !record.child; }),
                    m_anchors.end());
    if (!window || m_anchors.empty())
        return;

    std::vector<SAnchoredChild> children;
    children.reserve(m_anchors.size());
    for (const SRecord& record : m_anchors)
        children.push_back({record.anchor, ToLayoutRect(record.child->GetRect())});
    const std::vector<SChildMove> moves = PlanChildMoves(ToLayoutRect(GetLayoutRect()), children);
    if (moves.empty())
        return;

    wxWindowUpdateLocker batch(window);
    for (const SChildMove& move : moves)
        m_anchors[move.index].child->SetSize(ToWxRect(move.rect), wxSIZE_ALLOW_MINUS_ONE);
}
