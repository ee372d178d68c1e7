#include "Stretchkit/AnchorLayout.h"

#include "Stretchkit/LayoutConvert.h"

#include <wx/listbox.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
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
    m_callbacks.clear();
}

void CAnchorLayout::AnchorAgain(const wxRect& area)
{
    for (SRecord& record : m_anchors) {
        if (record.child)
            record.anchor = AnchorChild(ToLayoutRect(area), ToLayoutRect(record.child->GetRect()),
                                        record.anchor.topLeft, record.anchor.bottomRight);
    }
}

void CAnchorLayout::AddCallbackAnchor(int callbackId)
{
    m_callbacks.push_back(callbackId);
}

bool CAnchorLayout::FillCallbackAnchor(SCallbackAnchor&)
{
    return false;
}

bool CAnchorLayout::ChildNeedsRedraw(const wxWindow* child, const wxRect& old, const wxRect& now) const
{
    const int dW = now.width - old.width;
    const int dH = now.height - old.height;
    if (dW == 0 && dH == 0)
        return false;
    // Text lines up, wraps or is cut by the width; a picture or a frame fills the whole control.
    if (dynamic_cast<const wxStaticText*>(child))
        return dW != 0;
    if (dynamic_cast<const wxStaticBitmap*>(child) || dynamic_cast<const wxStaticLine*>(child) ||
        dynamic_cast<const wxStaticBox*>(child))
        return true;
    // A wider list shows more of lines that were scrolled sideways.
    if (dynamic_cast<const wxListBox*>(child))
        return dW > 0;
    return false;
}

void CAnchorLayout::RepositionChildren()
{
    wxWindow* window = GetLayoutWindow();
    m_anchors.erase(std::remove_if(m_anchors.begin(), m_anchors.end(), [](const SRecord& record) { return !record.child; }),
                    m_anchors.end());
    if (!window)
        return;

    std::vector<wxWindow*> windows;
    std::vector<SAnchoredChild> children;
    windows.reserve(m_anchors.size() + m_callbacks.size());
    children.reserve(m_anchors.size() + m_callbacks.size());
    for (const SRecord& record : m_anchors) {
        windows.push_back(record.child);
        children.push_back({record.anchor, ToLayoutRect(record.child->GetRect())});
    }
    for (const int id : m_callbacks) {
        SCallbackAnchor record;
        record.callbackId = id;
        if (FillCallbackAnchor(record) && record.window && record.window->GetParent() == window) {
            windows.push_back(record.window);
            children.push_back({record.anchor, ToLayoutRect(record.window->GetRect())});
        }
    }
    const std::vector<SChildMove> moves = PlanChildMoves(ToLayoutRect(GetLayoutRect()), children);
    if (moves.empty())
        return;

    std::vector<wxWindow*> repaint;
    {
        wxWindowUpdateLocker batch(window);
        for (const SChildMove& move : moves) {
            wxWindow* child = windows[move.index];
            const wxRect old = child->GetRect();
            const wxRect now = ToWxRect(move.rect);
            child->SetSize(now, wxSIZE_ALLOW_MINUS_ONE);
            if (ChildNeedsRedraw(child, old, now))
                repaint.push_back(child);
        }
    }
    for (wxWindow* child : repaint)
        child->Refresh();
}
