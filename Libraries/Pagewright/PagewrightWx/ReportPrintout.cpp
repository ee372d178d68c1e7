#include "PagewrightWx/ReportPrintout.h"

#include "Pagewright/Report.h"
#include "PagewrightWx/ReportDcCanvas.h"
#include "PagewrightWx/ReportPainter.h"

#include <wx/dc.h>
#include <wx/gtk/print.h>

#include <new>

// The few calls of GTK's printing needed here; its development headers are not installed with
// wx's.
extern "C" {
GtkPrintSettings* gtk_print_operation_get_print_settings(GtkPrintOperation* operation);
int gtk_print_settings_get_print_pages(GtkPrintSettings* settings);
void gtk_print_settings_set_print_pages(GtkPrintSettings* settings, int pages);
}

namespace {

// GtkPrintPages
constexpr int kGtkPrintPagesAll = 0;
constexpr int kGtkPrintPagesRanges = 2;

}  // namespace

CReportPrintout::CReportPrintout(const CReport& report, const wxString& title, int from, int to,
                                 const wxPrintData& printData)
    : wxPrintout(title), m_report(report), m_from(from), m_to(to), m_printData(printData)
{
}

// GTK prints only the pages of the ranges chosen in its dialog, and wx would shrink the job to
// the ranges' length as well, so pages beyond it were lost: wx is told to print all pages and
// GTK still picks the chosen ones.
void CReportPrintout::OnPreparePrinting()
{
    auto* native = dynamic_cast<wxGtkPrintNativeData*>(m_printData.GetNativeData());
    GtkPrintOperation* operation = native != nullptr ? native->GetPrintJob() : nullptr;
    GtkPrintSettings* settings = operation != nullptr ? gtk_print_operation_get_print_settings(operation) : nullptr;
    if (settings != nullptr && gtk_print_settings_get_print_pages(settings) == kGtkPrintPagesRanges)
        gtk_print_settings_set_print_pages(settings, kGtkPrintPagesAll);
}

void CReportPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    *minPage = 1;
    *maxPage = m_to - m_from + 1;
    *pageFrom = 1;
    *pageTo = *maxPage;
}

bool CReportPrintout::HasPage(int page)
{
    return page >= 1 && page <= m_to - m_from + 1;
}

bool CReportPrintout::OnPrintPage(int page)
{
    try {
        return PrintPage(page);
    } catch (const std::bad_alloc&) {
        m_outOfMemory = true;
        return false;
    }
}

bool CReportPrintout::PrintPage(int page)
{
    wxDC* dc = GetDC();
    const int index = m_from + page - 2;
    const CReportPage* reportPage = m_report.GetPage(index);
    if (dc == nullptr || reportPage == nullptr)
        return false;
    int dpiX = 0;
    int dpiY = 0;
    GetPPIPrinter(&dpiX, &dpiY);
    if (dpiX <= 0 || dpiY <= 0)
        return false;
    dc->SetUserScale(1.0, 1.0);
    dc->SetDeviceOrigin(0, 0);
    // The report's origin is the printable area's top-left; the DC's may be the paper's.
    const wxRect paper = GetPaperRectPixels();
    const wxSize sheet = dc->GetSize();
    CReportDcCanvas canvas(*dc, dpiX, dpiY, wxPoint(-paper.x, -paper.y));
    const bool sheetLandscape = sheet.x > sheet.y;
    if (sheetLandscape != (reportPage->orientation == CReportPage::kLandscape))
        canvas.TurnQuarter(sheet.y);
    CReportPainter(canvas, CReportPainter::kPaperTextColor).DrawPage(m_report, index, 1.0);
    return true;
}
