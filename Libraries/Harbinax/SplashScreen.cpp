#include "Harbinax/SplashScreen.h"

#include "Harbinax/FileVersion.h"
#include "Harbinax/ProgressEvents.h"
#include "Harbinax/ResourceImage.h"
#include "Harbinax/SplashShape.h"

#include <wx/apptrait.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/settings.h>

#include <algorithm>
#include <memory>

namespace {

// Height of the splash font, which is also the line spacing of the two status lines and half
// the height of the area they are redrawn in.
constexpr int lineHeight = 13;

// Pure green pixels of the bitmap are holes in the window.
constexpr std::uint32_t kHole = 0x00FF00;

wxColour FromColorRef(std::uint32_t color)
{
    return wxColour(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace

// The window: draws what its owner holds and tells it when it goes.
class CSplashScreen::CWindow : public wxFrame {
public:
    explicit CWindow(CSplashScreen* owner) : m_owner(owner)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Bind(wxEVT_PAINT, &CWindow::OnPaint, this);
    }
    ~CWindow() override
    {
        if (m_owner)
            m_owner->OnWindowDestroyed();
    }
    void Detach() { m_owner = nullptr; }

private:
    void OnPaint(wxPaintEvent&)
    {
        wxPaintDC dc(this);
        if (m_owner)
            m_owner->Paint(dc);
    }

    CSplashScreen* m_owner;
};

CSplashScreen::CSplashScreen()
{
    Bind(RENOVIX_DOWNLOAD_FILE, &CSplashScreen::OnDownloadFile, this);
    Bind(RENOVIX_SET_FILESIZE, &CSplashScreen::OnSetFileSize, this);
    Bind(RENOVIX_DOWNLOADED_1KB, &CSplashScreen::OnDownloaded1KB, this);
}

CSplashScreen::~CSplashScreen()
{
    if (m_window) {
        static_cast<CWindow*>(m_window)->Detach();
        m_window->Destroy();
    }
}

bool CSplashScreen::SetBitmap(int resourceId)
{
    return SetBitmap(LoadResourceImage("BITMAP", resourceId));
}

bool CSplashScreen::SetBitmap(const wxImage& image)
{
    m_bitmap = wxBitmap();
    m_image = wxImage();
    if (!image.IsOk())
        return false;
    m_image = image;
    m_bitmap = wxBitmap(image);
    m_size = image.GetSize();
    return true;
}

void CSplashScreen::SetVersionTextPosition(int x, int y)
{
    m_versionPos = wxPoint(x, y);
}

void CSplashScreen::SetVersionTextColor(std::uint32_t color)
{
    m_versionColor = color;
}

void CSplashScreen::SetStatusTextPosition(int x, int y)
{
    m_statusPos = wxPoint(x, y);
}

void CSplashScreen::SetStatusTextColor(std::uint32_t color)
{
    m_statusColor = color;
}

void CSplashScreen::SetStatusText(std::string_view text, int line)
{
    if (m_texts.SetStatusText(text, line))
        RedrawStatus();
}

void CSplashScreen::Show()
{
    if (m_window) {
        m_window->Show();
    } else {
        const wxSize size(std::max(1, m_size.GetWidth()), std::max(1, m_size.GetHeight()));
        const wxSize screen = wxGetDisplaySize();
        const wxPoint position((screen.GetWidth() - size.GetWidth()) / 2,
                               (screen.GetHeight() - size.GetHeight()) / 2);
        m_versionText = FormatFileVersion(GetFileVersion(std::string()));
        // Made here, not in the constructor: the application object that owns the splash
        // screen is built before the window system is up.
        m_font = wxFont(wxFontInfo(wxSize(0, lineHeight)).Family(wxFONTFAMILY_SWISS));
        CWindow* window = new CWindow(this);
        window->Create(nullptr, wxID_ANY, "SplashScreen", position, size,
                       wxBORDER_NONE | wxFRAME_SHAPED | wxFRAME_NO_TASKBAR | wxFRAME_TOOL_WINDOW);
        m_window = window;
        const wxSize client = window->GetClientSize();
        if (m_image.IsOk()) {
            m_region = wxRegion();
            const int width = std::min(m_image.GetWidth(), client.GetWidth());
            const int height = std::min(m_image.GetHeight(), client.GetHeight());
            for (const SShapeRun& run : OpaqueRuns(m_image.GetData(), m_image.GetWidth(), width, height, kHole))
                m_region.Union(run.x, run.y, run.width, 1);
        } else {
            m_region = wxRegion(0, 0, size.GetWidth(), size.GetHeight());
        }
        window->SetShape(m_region);
        window->Show();
    }
    m_window->Raise();
    m_window->Update();
    YieldForUi();
}

void CSplashScreen::Hide()
{
    if (m_window)
        m_window->Hide();
}

void CSplashScreen::OnDownloadFile(wxCommandEvent& event)
{
    m_texts.OnDownloadFile(event.GetString().utf8_string());
    RedrawStatus();
}

void CSplashScreen::OnSetFileSize(wxCommandEvent& event)
{
    m_texts.OnSetFileSize(event.GetExtraLong());
}

void CSplashScreen::OnDownloaded1KB(wxCommandEvent&)
{
    m_texts.OnDownloaded1KB();
    RedrawStatus();
}

void CSplashScreen::RedrawStatus()
{
    if (!m_window)
        return;
    // Both lines, from the position to the right edge.
    const int width = m_window->GetClientSize().GetWidth();
    m_window->RefreshRect(wxRect(m_statusPos.x, m_statusPos.y - lineHeight, std::max(0, width - m_statusPos.x),
                                 2 * lineHeight));
    m_window->Update();
    YieldForUi();
}

void CSplashScreen::Paint(wxDC& dc)
{
    if (m_bitmap.IsOk()) {
        dc.DrawBitmap(m_bitmap, 0, 0);
    } else {
        dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        dc.Clear();
    }
    dc.SetFont(m_font);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    // Positions are the bottom of the text, as the layout of the bitmap expects.
    const auto drawAt = [&dc](const std::string& text, int x, int bottom) {
        const wxString line = wxString::FromUTF8(text);
        dc.DrawText(line, x, bottom - dc.GetCharHeight());
    };
    if (m_statusPos.x != 0 && m_statusPos.y != 0) {
        dc.SetTextForeground(FromColorRef(m_statusColor));
        drawAt(m_texts.GetStatusText(0), m_statusPos.x, m_statusPos.y);
        drawAt(m_texts.GetStatusText(1), m_statusPos.x, m_statusPos.y + lineHeight);
    }
    if (m_versionPos.x != 0 && m_versionPos.y != 0) {
        dc.SetTextForeground(FromColorRef(m_versionColor));
        drawAt(m_versionText, m_versionPos.x, m_versionPos.y);
    }
}

void CSplashScreen::OnWindowDestroyed()
{
    m_window = nullptr;
}
