#include "Harbinax/SkinFrame.h"

#include "Harbinax/SkinManager.h"

#include <wx/menu.h>
#include <wx/sizer.h>

#include <algorithm>

CSkinFrame::CSkinFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& position,
                       const wxSize& size, long style)
    : wxFrame(parent, id, title, position, size, style | wxBORDER_NONE | wxFRAME_SHAPED)
{
#ifdef __WXGTK__
    // A window without a border offers the window manager nothing to do with it, so it would
    // refuse to maximise, minimise or resize it: offer what the style asks for, as a framed
    // window would. The toolkit's window functions: resize 2, move 4, minimise 8, maximise 16,
    // close 32.
    m_gdkFunc = 4 | (style & wxRESIZE_BORDER ? 2 : 0) | (style & wxMINIMIZE_BOX ? 8 : 0) |
                (style & wxMAXIMIZE_BOX ? 16 : 0) | (style & wxCLOSE_BOX ? 32 : 0);
#endif
}

CSkinFrame::~CSkinFrame() = default;

void CSkinFrame::SetMenuBar(wxMenuBar* menuBar)
{
    m_menuBar.reset(menuBar);
    // The skin measures its menu strip anew.
    SendSizeEvent();
}

void CSkinFrame::SetTitle(const wxString& title)
{
    wxFrame::SetTitle(title);
    Refresh();
}

void CSkinFrame::SetIcons(const wxIconBundle& icons)
{
    wxFrame::SetIcons(icons);
    Refresh();
}

bool CSkinFrame::Layout()
{
    wxRect content;
    const CSkinManager* skins = CSkinManager::FindInstance();
    if (!skins || !skins->GetContentRect(this, content))
        return wxFrame::Layout();
    // The toolkit places children from the window's corner, not from the content's origin.
    if (wxSizer* sizer = GetSizer()) {
        sizer->SetDimension(content.GetPosition(), content.GetSize());
        return true;
    }
    wxWindow* only = nullptr;
    for (wxWindow* child : GetChildren()) {
        if (child->IsTopLevel())
            continue;
        if (only)
            return true;
        only = child;
    }
    if (only)
        only->SetSize(content);
    return true;
}

wxSize CSkinFrame::FrameSize() const
{
    wxRect content;
    const CSkinManager* skins = CSkinManager::FindInstance();
    if (!skins || !skins->GetContentRect(this, content))
        return wxSize();
    return GetSize() - content.GetSize();
}

void CSkinFrame::DoGetClientSize(int* width, int* height) const
{
    wxFrame::DoGetClientSize(width, height);
    const wxSize frame = FrameSize();
    if (width)
        *width = std::max(0, *width - frame.x);
    if (height)
        *height = std::max(0, *height - frame.y);
}

void CSkinFrame::DoSetClientSize(int width, int height)
{
    const wxSize frame = FrameSize();
    wxFrame::DoSetClientSize(width + frame.x, height + frame.y);
}
