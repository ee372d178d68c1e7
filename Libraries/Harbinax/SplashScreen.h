// The start-up window: borderless, shaped like its bitmap (pure green 0x00FF00 marks the holes),
// centred on the screen, showing the program's file version and two status lines. It also
// receives the update library's download progress (Harbinax/ProgressEvents.h), so it is an event
// handler from construction on; the window itself exists from the first Show.
#pragma once

#include "Harbinax/SplashTexts.h"

#include <wx/bitmap.h>
#include <wx/event.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/region.h>

#include <cstdint>
#include <string>
#include <string_view>

class wxFrame;

class CSplashScreen : public wxEvtHandler {
public:
    CSplashScreen();
    ~CSplashScreen() override;
    CSplashScreen(const CSplashScreen&) = delete;
    CSplashScreen& operator=(const CSplashScreen&) = delete;

    // Loads the bitmap resource (PNG or any image wx reads) from the program's current
    // resources, the satellite's when one is active. Before Show: the window takes the bitmap's
    // size when it is created. False, and no bitmap, when it is missing or unreadable.
    bool SetBitmap(int resourceId);
    bool SetBitmap(const wxImage& image);

    // Positions are the bottom-left of the text in window pixels; a coordinate of 0 means the
    // text is not drawn. Colours are 0xBBGGRR (red in the low byte).
    void SetVersionTextPosition(int x, int y);
    void SetVersionTextColor(std::uint32_t color);
    void SetStatusTextPosition(int x, int y);
    void SetStatusTextColor(std::uint32_t color);

    // Line 0 or 1 (UTF-8, cut to 255 bytes). With a window the text is drawn at once, even
    // while start-up keeps the thread busy.
    void SetStatusText(std::string_view text, int line);

    // Creates the window the first time, shows it afterwards.
    void Show();
    // Nothing when there is no window.
    void Hide();

    // The window, null before the first Show.
    wxFrame* GetWindow() const { return m_window; }
    // The part of the window that shows: the bitmap less its pure-green pixels.
    const wxRegion& GetShapeRegion() const { return m_region; }
    const CSplashTexts& GetTexts() const { return m_texts; }
    const std::string& GetVersionText() const { return m_versionText; }

private:
    class CWindow;
    friend class CWindow;

    void OnDownloadFile(wxCommandEvent& event);
    void OnSetFileSize(wxCommandEvent& event);
    void OnDownloaded1KB(wxCommandEvent& event);

    void RedrawStatus();
    void Paint(wxDC& dc);
    void OnWindowDestroyed();

    wxPoint m_versionPos;
    std::uint32_t m_versionColor = 0;
    std::string m_versionText;
    wxPoint m_statusPos;
    std::uint32_t m_statusColor = 0;
    CSplashTexts m_texts;
    wxFont m_font;

    wxBitmap m_bitmap;  // invalid when none is loaded
    wxImage m_image;
    wxSize m_size;      // of the bitmap last loaded
    wxRegion m_region;
    wxFrame* m_window = nullptr;
};
