// A child window showing one output page of a report at a zoom, or scaled to the window's
// width, with scroll bars when the page is larger than the window. Each paint draws only the
// part of the page the window shows, so a high zoom costs no more memory than a low one.
//
//   CReportPreviewWnd* preview = new CReportPreviewWnd(parent);
//   preview->SetReport(&report);     // not owned; paginated when it has no output pages
//   preview->SetFitToWidth(true);
//   preview->SetPage(2);
#pragma once

#include <wx/window.h>

class CReport;
class wxScrollWinEvent;

class CReportPreviewWnd : public wxWindow {
public:
    enum EScroll { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom, kOther };
    // Pixels a line of the scroll bars and a notch of the wheel scroll.
    static constexpr int kLineStep = 50;
    static constexpr double kMinZoom = 0.001;
    static constexpr double kMaxZoom = 1000.0;

    explicit CReportPreviewWnd(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                               const wxSize& size = wxDefaultSize);

    // Attaches the document (or none) without repainting; shows its first page when none was
    // shown, its last when the page shown is beyond it.
    void SetReport(CReport* report);
    CReport* GetReport() const { return m_report; }
    // 1-based; n below 1 shows page 1, n above the page count the last page.
    int GetPage() const { return m_pageIndex + 1; }
    void SetPage(int page);
    int GetPageCount() const;
    void SetFitToWidth(bool fit);
    bool IsFitToWidth() const { return m_fitToWidth; }
    double GetZoom() const { return m_zoom; }
    // Clamped to kMinZoom..kMaxZoom.
    void SetZoom(double zoom, bool redraw = true);

    // The whole page's size at the zoom, in pixels, and the top-left of the part shown.
    wxSize GetImageSize() const { return m_imageSize; }
    wxPoint GetScrollOffset() const { return m_scroll; }
    // The screen's pixels per inch the page is drawn at.
    double GetDpi() const;

    // The scroll position after a scroll of that kind, for a page image extent pixels long in a
    // window client pixels long; thumb is the position a thumb event carries.
    static int ScrollPosition(EScroll code, int pos, int extent, int client, int thumb = 0);
    // The zoom at which a page pageWidth tenths of a millimetre wide fills clientWidth pixels.
    static double FitZoom(int clientWidth, double dpi, int pageWidth);

private:
    // The zoom (in fit-to-width mode) and the page image size for the client size; scroll
    // positions kept inside the image.
    void UpdateImage();
    void UpdateScrollBars();
    void ScrollBy(int orientation, EScroll code, int thumb);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);

    CReport* m_report = nullptr;
    int m_pageIndex = -1;
    double m_zoom = 1.0;
    bool m_fitToWidth = false;
    wxSize m_imageSize;
    wxPoint m_scroll;
};
