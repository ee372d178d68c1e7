// A top-level window made to wear a skin: borderless and shaped, since the skin draws the frame
// and cuts its corners, with its content placed inside the skin's frame while it is registered
// with the skin manager (the whole window otherwise). Its client size is the content's; client
// coordinates stay those of the whole window, as mouse events and drawing see it.
#pragma once

#include <wx/frame.h>

#include <memory>

class CSkinFrame : public wxFrame {
public:
    CSkinFrame(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& position = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = wxDEFAULT_FRAME_STYLE);

    ~CSkinFrame() override;

    // The sizer, or else a single child, fills the content area inside the frame.
    bool Layout() override;

    // The menu bar is kept by the frame and drawn by the skin in its menu strip, below the
    // caption; the toolkit would show it above the skin's caption. Its menus open from there;
    // keyboard accelerators of its items are not installed.
    void SetMenuBar(wxMenuBar* menuBar) override;

    // The skin draws title and icon in the caption: it draws them anew.
    void SetTitle(const wxString& title) override;
    void SetIcons(const wxIconBundle& icons) override;
    wxMenuBar* GetMenuBar() const override { return m_menuBar.get(); }

protected:
    void DoGetClientSize(int* width, int* height) const override;
    void DoSetClientSize(int width, int height) override;

private:
    // The frame's width and height around the content; zero while unregistered.
    wxSize FrameSize() const;

    std::unique_ptr<wxMenuBar> m_menuBar;
};
