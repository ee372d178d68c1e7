#include "PagewrightWx/ReportPrinter.h"

#include "Pagewright/Report.h"
#include "PagewrightWx/DefaultPrinter.h"
#include "PagewrightWx/ReportPrintout.h"

#include <wx/cmndata.h>
#include <wx/gtk/print.h>
#include <wx/print.h>
#include <wx/printdlg.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstring>
#include <new>

// GTK's development headers are not installed with wx's.
extern "C" {
const char* gtk_print_settings_get(GtkPrintSettings* settings, const char* key);
void gtk_print_settings_unset(GtkPrintSettings* settings, const char* key);
}

void CReportPrinter::GetPageRange(const wxPrintDialogData& data, int pageCount, int& from, int& to)
{
    from = 1;
    to = pageCount;
    if (data.GetMinPage() == 0 || data.GetMaxPage() == 0)
        return;
    from = data.GetFromPage() == 0 ? 1 : std::min(data.GetFromPage(), pageCount);
    to = data.GetToPage() == 0 ? pageCount : std::min(data.GetToPage(), pageCount);
    if (to < from)
        from = to;
}

// The printout holds just the range, numbered from 1: wx's GTK printer applies a range that does
// not start at 1 twice (to the page count and to the pages), printing too few pages.
bool CReportPrinter::PrintPages(const CReport& report, const wxString& name, wxPrintDialogData& data, bool prompt,
                                wxWindow* parent)
{
    const int count = report.GetPageCount();
    if (count == 0)
        return false;
    int from = 1;
    int to = count;
    GetPageRange(data, count, from, to);
    const CReportPage* opening = report.GetPage(from - 1);
    data.GetPrintData().SetOrientation(opening->orientation == CReportPage::kLandscape ? wxLANDSCAPE : wxPORTRAIT);
    wxPrintDialogData job(data);
    job.SetMinPage(1);
    job.SetMaxPage(to - from + 1);
    job.SetFromPage(1);
    job.SetToPage(to - from + 1);
    job.SetAllPages(true);
    wxPrinter printer(&job);
    CReportPrintout printout(report, name, from, to, job.GetPrintData());
    const bool printed = printer.Print(parent, &printout, prompt);
    if (printout.RanOutOfMemory())
        throw std::bad_alloc();
    return printed;
}

bool CReportPrinter::Print(CReport& report, const wxString& name, bool showDialog, wxPrintDialogData* data,
                           wxWindow* parent)
{
    report.Paginate();
    const int count = report.GetPageCount();
    if (count == 0)
        return false;
    wxPrintDialogData built;
    if (data == nullptr) {
        built.SetMinPage(1);
        built.SetMaxPage(count);
        built.SetFromPage(1);
        built.SetToPage(count);
        built.SetNoCopies(1);
    }
    return PrintPages(report, name, data != nullptr ? *data : built, showDialog || data == nullptr, parent);
}

namespace {

// GTK's page setup under the caller's title: wx gives it its own, which no translation of ours
// reaches. The dialog is no real window, so its title is set where ShowModal reads it.
class CTitledPageSetupDialog : public wxGtkPageSetupDialog {
public:
    CTitledPageSetupDialog(wxWindow* parent, wxPageSetupDialogData* data, const wxString& title)
        : wxGtkPageSetupDialog(parent, data)
    {
        m_title = title;
    }
};

}  // namespace

bool CReportPrinter::SetupPage(wxPrintData& settings, const wxString& title, wxWindow* parent)
{
    wxPageSetupDialogData setup(settings);
    CTitledPageSetupDialog dialog(parent, &setup, title);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    settings = dialog.GetPageSetupDialogData().GetPrintData();
    // A page set up for any printer names the printer "", which GTK's print dialog then takes for
    // the default and finds nowhere, offering no printer at all: no name lets it choose the
    // desktop's default again.
    if (auto* native = dynamic_cast<wxGtkPrintNativeData*>(settings.GetNativeData())) {
        for (const char* key : {"printer", "format-for-printer"}) {
            const char* value = gtk_print_settings_get(native->GetPrintConfig(), key);
            if (value && std::strlen(value) == 0)
                gtk_print_settings_unset(native->GetPrintConfig(), key);
        }
    }
    return true;
}

namespace {

// A print server answers in far less; one that does not answer has no printer to offer.
constexpr unsigned kPrinterSearchMs = 3000;

// The user can do nothing in the program while the desktop is asked.
bool HasDefaultPrinter()
{
    wxBusyCursor busy;
    wxWindowDisabler disabled;
    return CDefaultPrinter::Exists(kPrinterSearchMs);
}

}  // namespace

bool CReportPrinter::PrintToDefaultPrinter(CReport& report, const wxString& name, const wxPrintData& settings,
                                           wxWindow* parent)
{
    report.Paginate();
    if (report.GetPageCount() == 0)
        return false;
    wxPrintDialogData data(settings);
    data.SetMinPage(0);
    data.SetMaxPage(0);
    data.EnableSelection(false);
    data.EnablePageNumbers(false);
    data.EnablePrintToFile(false);
    const bool named = !settings.GetPrinterName().empty() || settings.GetPrintMode() == wxPRINT_MODE_FILE;
    // Without a printer a job without the dialog would wait for one for ever: the user chooses.
    if (!named && !HasDefaultPrinter())
        return PrintPages(report, name, data, true, parent);
    if (PrintPages(report, name, data, false, parent))
        return true;
    // GTK gives up on a job without a dialog when it finds no default printer.
    if (named || wxPrinter::GetLastError() == wxPRINTER_NO_ERROR)
        return false;
    return PrintPages(report, name, data, true, parent);
}
