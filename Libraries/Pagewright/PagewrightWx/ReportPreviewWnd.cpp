#include "PagewrightWx/ReportPreviewWnd.h"

#include "Pagewright/Report.h"
#include "PagewrightWx/ReportDcCanvas.h"
#include "PagewrightWx/ReportPainter.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include <algorithm>
#include <cmath>

CReportPreviewWnd::CReportPreviewWnd(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxHSCROLL | wxVSCROLL | wxTAB_TRAVERSAL | wxWANTS_CHARS)
{
    // The paint covers the whole client area.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CReportPreviewWnd::OnPaint, this);
    Bind(wxEVT_SIZE, &CReportPreviewWnd::OnSize, this);
    Bind(wxEVT_MOUSEWHEEL, &CReportPreviewWnd::OnMouseWheel, this);
    Bind(wxEVT_LEFT_DOWN, &CReportPreviewWnd::OnLeftDown, this);
    for (const wxEventTypeTag<wxScrollWinEvent>& type :
         {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &CReportPreviewWnd::OnScroll, this);
    UpdateScrollBars();
}

void CReportPreviewWnd::SetReport(CReport* report)
{
    m_report = report;
    if (m_report != nullptr) {
        if (m_report->GetPageCount() == 0)
            m_report->Paginate();
        const int count = m_report->GetPageCount();
        if (m_pageIndex < 0 && count > 0)
            m_pageIndex = 0;
        if (m_pageIndex >= count)
            m_pageIndex = count - 1;
    }
    UpdateImage();
}

int CReportPreviewWnd::GetPageCount() const
{
    return m_report != nullptr ? m_report->GetPageCount() : 0;
}

void CReportPreviewWnd::SetPage(int page)
{
    page = std::max(page, 1);
    if (m_report != nullptr)
        page = std::min(page, m_report->GetPageCount());
    if (page == m_pageIndex + 1)
        return;
    m_pageIndex = page - 1;
    UpdateImage();
    Refresh();
}

void CReportPreviewWnd::SetFitToWidth(bool fit)
{
    m_fitToWidth = fit;
    UpdateImage();
    Refresh();
}

void CReportPreviewWnd::SetZoom(double zoom, bool redraw)
{
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    UpdateImage();
    if (redraw)
        Refresh();
}

double CReportPreviewWnd::GetDpi() const
{
    const wxSize dpi = GetDPI();
    return dpi.y > 0 ? dpi.y : 96.0;
}

double CReportPreviewWnd::FitZoom(int clientWidth, double dpi, int pageWidth)
{
    if (pageWidth <= 0 || dpi <= 0)
        return 1.0;
    return std::clamp(clientWidth * 254.0 / dpi / pageWidth, kMinZoom, kMaxZoom);
}

int CReportPreviewWnd::ScrollPosition(EScroll code, int pos, int extent, int client, int thumb)
{
    const int last = extent - client + 1;
    switch (code) {
    case kLineUp:
        return std::max(0, pos - kLineStep);
    case kLineDown:
        return std::min(last, pos + kLineStep);
    case kPageUp:
        return pos - last >= 0 ? pos - last : 0;
    case kPageDown:
        return std::min(last, pos + last);
    case kThumb:
        return thumb;
    case kTop:
        return 0;
    case kBottom:
        return last;
    case kOther:
        break;
    }
    return pos;
}

void CReportPreviewWnd::UpdateImage()
{
    const CReportPage* page = m_report != nullptr ? m_report->GetPage(m_pageIndex) : nullptr;
    const wxSize client = GetClientSize();
    if (page == nullptr) {
        m_imageSize = wxSize();
    } else {
        const double dpi = GetDpi();
        if (m_fitToWidth)
            m_zoom = FitZoom(client.x, dpi, page->width);
        // The page's size in hundredths of a millimetre at the zoom, then in pixels.
        const double width = std::trunc(page->width * 10.0 * m_zoom);
        const double height = std::trunc(page->height * 10.0 * m_zoom);
        m_imageSize = wxSize(static_cast<int>(std::min(width * dpi / 2540.0, 1e9)),
                             static_cast<int>(std::min(height * dpi / 2540.0, 1e9)));
    }
    m_scroll.x = std::clamp(m_scroll.x, 0, std::max(0, m_imageSize.x - client.x));
    m_scroll.y = std::clamp(m_scroll.y, 0, std::max(0, m_imageSize.y - client.y));
    UpdateScrollBars();
}

void CReportPreviewWnd::UpdateScrollBars()
{
    const wxSize client = GetClientSize();
    if (client.x < m_imageSize.x) {
        SetScrollbar(wxHORIZONTAL, m_scroll.x, client.x, m_imageSize.x);
    } else {
        m_scroll.x = 0;
        SetScrollbar(wxHORIZONTAL, 0, 0, 0);
    }
    if (client.y < m_imageSize.y) {
        SetScrollbar(wxVERTICAL, m_scroll.y, client.y, m_imageSize.y);
    } else {
        m_scroll.y = 0;
        SetScrollbar(wxVERTICAL, 0, 0, 0);
    }
}

void CReportPreviewWnd::ScrollBy(int orientation, EScroll code, int thumb)
{
    const wxSize client = GetClientSize();
    int& pos = orientation == wxHORIZONTAL ? m_scroll.x : m_scroll.y;
    const int extent = orientation == wxHORIZONTAL ? m_imageSize.x : m_imageSize.y;
    const int next = ScrollPosition(code, pos, extent, orientation == wxHORIZONTAL ? client.x : client.y, thumb);
    if (next == pos)
        return;
    pos = next;
    UpdateScrollBars();
    Refresh();
}

void CReportPreviewWnd::OnScroll(wxScrollWinEvent& event)
{
    const wxEventType type = event.GetEventType();
    EScroll code = kOther;
    if (type == wxEVT_SCROLLWIN_LINEUP)
        code = kLineUp;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        code = kLineDown;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        code = kPageUp;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        code = kPageDown;
    else if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE)
        code = kThumb;
    else if (type == wxEVT_SCROLLWIN_TOP)
        code = kTop;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        code = kBottom;
    ScrollBy(event.GetOrientation(), code, event.GetPosition());
}

// One line per wheel event, whatever its size.
void CReportPreviewWnd::OnMouseWheel(wxMouseEvent& event)
{
    ScrollBy(wxVERTICAL, event.GetWheelRotation() >= 0 ? kLineUp : kLineDown, 0);
}

void CReportPreviewWnd::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    event.Skip();
}

void CReportPreviewWnd::OnSize(wxSizeEvent& event)
{
    UpdateImage();
    Refresh();
    event.Skip();
}

// Only the client area is rendered: the canvas's origin is moved by the scroll position.
void CReportPreviewWnd::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    const CReportPage* page = m_report != nullptr ? m_report->GetPage(m_pageIndex) : nullptr;
    if (page == nullptr) {
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        return;
    }
    UpdateImage();
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    const double dpi = GetDpi();
    CReportDcCanvas canvas(dc, dpi, dpi, wxPoint(-m_scroll.x, -m_scroll.y));
    CReportPainter(canvas, CReportPainter::DesktopTextColor()).DrawPage(*m_report, m_pageIndex, m_zoom);
    // The page's own fill may round a pixel past the image; what lies beyond it is no page.
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    const int right = m_imageSize.x - m_scroll.x;
    const int bottom = m_imageSize.y - m_scroll.y;
    if (right < client.x)
        dc.DrawRectangle(right, 0, client.x - right, client.y);
    if (bottom < client.y)
        dc.DrawRectangle(0, bottom, client.x, client.y - bottom);
}
