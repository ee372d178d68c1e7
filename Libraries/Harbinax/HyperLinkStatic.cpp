#include "Harbinax/HyperLinkStatic.h"

#include "HarbinaxCore/DesktopOpen.h"

#include <wx/dcclient.h>

#include <utility>

namespace {

// Link blue.
const wxColour kLinkColour(0x32, 0x32, 0xE1);

// The cursor that was in place before a link set the hand. One for all links: only the link
// under the pointer hovers, and it gives the cursor back before another can take it.
wxCursor& SavedCursor()
{
    static wxCursor cursor;
    return cursor;
}

CHyperLinkStatic::Launcher& TestLauncher()
{
    static CHyperLinkStatic::Launcher launcher;
    return launcher;
}

}  // namespace

CHyperLinkStatic::CHyperLinkStatic(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                                   const wxSize& size, long style)
{
    // The dialog shows through around the text, as on a button face elsewhere.
    SetBackgroundStyle(wxBG_STYLE_TRANSPARENT);
    Create(parent, id, pos, size, style | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE);
    SetLabel(label);
    SetInitialSize(size);
    Bind(wxEVT_PAINT, &CHyperLinkStatic::OnPaint, this);
    Bind(wxEVT_MOTION, &CHyperLinkStatic::OnMouseMove, this);
    Bind(wxEVT_LEFT_UP, &CHyperLinkStatic::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CHyperLinkStatic::OnCaptureLost, this);
}

CHyperLinkStatic::~CHyperLinkStatic()
{
    if (m_hovering)
        EndHover();
}

void CHyperLinkStatic::SetLauncherForTesting(Launcher launcher)
{
    TestLauncher() = std::move(launcher);
}

void CHyperLinkStatic::SetLabel(const wxString& label)
{
    wxControl::SetLabel(label);
    InvalidateBestSize();
    Refresh();
}

bool CHyperLinkStatic::OpenLink()
{
    if (m_hovering)
        EndHover();
    const std::string target = m_link.ToStdString(wxConvUTF8);
    return TestLauncher() ? TestLauncher()(target) : OpenWithDesktop(target);
}

wxSize CHyperLinkStatic::DoGetBestClientSize() const
{
    wxClientDC dc(const_cast<CHyperLinkStatic*>(this));
    dc.SetFont(GetFont());
    return dc.GetMultiLineTextExtent(GetLabelText());
}

void CHyperLinkStatic::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxRect client = GetClientRect();
    dc.SetFont(GetFont());
    dc.SetTextForeground(kLinkColour);
    dc.SetClippingRegion(client);
    dc.DrawLabel(GetLabelText(), client, wxALIGN_LEFT | wxALIGN_TOP);
}

void CHyperLinkStatic::OnMouseMove(wxMouseEvent& event)
{
    // While hovering the link holds the mouse, so it also sees the pointer leave.
    const bool inside = GetClientRect().Contains(event.GetPosition());
    if (inside && !m_hovering)
        BeginHover();
    else if (!inside && m_hovering)
        EndHover();
    event.Skip();
}

void CHyperLinkStatic::OnLeftUp(wxMouseEvent& event)
{
    if (GetClientRect().Contains(event.GetPosition()))
        OpenLink();
    event.Skip();
}

void CHyperLinkStatic::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // Another window took the mouse; the hover ends without a capture to give back.
    if (m_hovering)
        EndHover();
}

void CHyperLinkStatic::BeginHover()
{
    m_hovering = true;
    SavedCursor() = GetCursor();
    // The cursor first: the capture shows the cursor the window has when it starts.
    SetCursor(wxCursor(wxCURSOR_HAND));
    CaptureMouse();
}

void CHyperLinkStatic::EndHover()
{
    m_hovering = false;
    if (HasCapture())
        ReleaseMouse();
    SetCursor(SavedCursor());
    SavedCursor() = wxNullCursor;
}
