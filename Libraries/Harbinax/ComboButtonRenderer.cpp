#include "Harbinax/ComboButtonRenderer.h"

#include "Harbinax/DataComboBox.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

#include <cstring>
#include <memory>

namespace {

// Around the button, for what the theme draws outside it.
constexpr int kMargin = 4;

}  // namespace

CComboButtonRenderer* CComboButtonRenderer::s_installed = nullptr;

CComboButtonRenderer::CComboButtonRenderer(wxRendererNative& next)
    : wxDelegateRendererNative(next)
{
}

void CComboButtonRenderer::Install()
{
    if (s_installed)
        return;
    // wx fills its renderer in on first use and would then drop one set before: asked first.
    wxRendererNative& next = wxRendererNative::Get();
    // Handed over to us by wx; it stays alive behind ours.
    static std::unique_ptr<wxRendererNative> previous;
    previous.reset(wxRendererNative::Set(nullptr));
    s_installed = new CComboButtonRenderer(next);
    wxRendererNative::Set(s_installed);
}

void CComboButtonRenderer::ForgetPictures()
{
    if (s_installed)
        s_installed->m_pictures.clear();
}

void CComboButtonRenderer::DrawComboBoxDropButton(wxWindow* win, wxDC& dc, const wxRect& rect, int flags)
{
    if (!dynamic_cast<CDataComboBox*>(win) || rect.IsEmpty() || dc.GetContentScaleFactor() != 1.0) {
        wxDelegateRendererNative::DrawComboBoxDropButton(win, dc, rect, flags);
        return;
    }
    wxBitmap& picture = m_pictures[std::make_tuple(rect.width, rect.height, flags)];
    if (!picture.IsOk()) {
        // Drawn on transparent pixels, so that the list's own background shows around it, with
        // room for the frame and shadow the theme draws outside the button.
        const wxSize size = rect.GetSize() + wxSize(2 * kMargin, 2 * kMargin);
        wxImage image(size, false);
        image.InitAlpha();
        std::memset(image.GetAlpha(), 0, static_cast<size_t>(size.x) * size.y);
        picture = wxBitmap(image, 32);
        wxMemoryDC memory(picture);
        wxDelegateRendererNative::DrawComboBoxDropButton(win, memory, wxRect(wxPoint(kMargin, kMargin), rect.GetSize()),
                                                         flags);
    }
    dc.DrawBitmap(picture, rect.GetPosition() - wxPoint(kMargin, kMargin), true);
}
