// Draws the drop-down buttons of the data combo boxes from pictures kept per size and state.
// The GTK theme draws a button with gradients and shadows in software, which cost more than the
// rest of painting a page full of lists, and every list's button looks the same. Other windows
// are drawn as before.
#pragma once

#include <wx/bitmap.h>
#include <wx/renderer.h>

#include <map>
#include <tuple>

class CComboButtonRenderer : public wxDelegateRendererNative {
public:
    // Puts the renderer in front of the one in place, once per process.
    static void Install();
    // The pictures are drawn again after a theme change.
    static void ForgetPictures();

    void DrawComboBoxDropButton(wxWindow* win, wxDC& dc, const wxRect& rect, int flags) override;

private:
    explicit CComboButtonRenderer(wxRendererNative& next);

    static CComboButtonRenderer* s_installed;
    // By width, height and state flags.
    std::map<std::tuple<int, int, int>, wxBitmap> m_pictures;
};
