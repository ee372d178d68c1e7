// A push button that shows an image on the themed button face. Where the desktop has no themes
// it is drawn as a classic button with its image. The image is placed by the alignment styles
// (wxBU_LEFT, wxBU_RIGHT, wxBU_TOP, wxBU_BOTTOM; centred otherwise), greyed while the button is
// disabled. A click, the space bar or Enter sends wxEVT_BUTTON.
#pragma once

#include <wx/anybutton.h>
#include <wx/bitmap.h>
#include <wx/control.h>

class CImageButtonWithStyle : public wxControl {
public:
    CImageButtonWithStyle(wxWindow* parent, wxWindowID id, const wxBitmap& image = wxNullBitmap,
                          const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                          long style = 0);
    // Gives the mouse back when it goes while pressed.
    ~CImageButtonWithStyle() override;

    void SetImage(const wxBitmap& image);
    const wxBitmap& GetImage() const { return m_image; }

    // The default button of its dialog (wxTopLevelWindow::SetDefaultItem).
    bool IsDefault() const;
    bool IsHot() const { return m_hot; }
    bool IsPressed() const { return m_pressed && m_pointerInside; }

    bool Enable(bool enable = true) override;

protected:
    wxSize DoGetBestClientSize() const override;
    // The whole button as it is now.
    void DrawButton(wxDC& dc);

private:
    void OnPaint(wxPaintEvent& event);
    void OnEnter(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);

    void Click();
    void EndPress();

    wxBitmap m_image;
    bool m_hot = false;
    bool m_pressed = false;        // by the mouse or the space bar
    bool m_pointerInside = false;  // while pressed
};
