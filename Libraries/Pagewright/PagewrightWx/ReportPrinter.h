// Printing a report document through wxPrinter: with the print dialog, or to the printer the
// application's print settings name without asking; and the page setup that changes those
// settings. Every output page of the range is printed at its physical size; a job starts in the
// orientation of its first page.
#pragma once

#include <wx/string.h>

class CReport;
class wxPrintData;
class wxPrintDialogData;
class wxWindow;

class CReportPrinter {
public:
    // Paginates; false without pages, when the dialog is cancelled or printing fails. Without
    // dialog data of the caller the dialog is always shown, with all pages as the range.
    static bool Print(CReport& report, const wxString& name, bool showDialog, wxPrintDialogData* data = nullptr,
                      wxWindow* parent = nullptr);
    // All pages to the printer of the settings, without asking; the dialog is shown only when
    // the settings name no printer and the desktop has no default printer to print to.
    static bool PrintToDefaultPrinter(CReport& report, const wxString& name, const wxPrintData& settings,
                                      wxWindow* parent = nullptr);
    // The page setup dialog for the settings under the title, the settings take what is
    // confirmed; false when cancelled.
    static bool SetupPage(wxPrintData& settings, const wxString& title, wxWindow* parent = nullptr);
    // The pages of the data's range, or all when its minimum or maximum page is 0. A range
    // whose end lies before its start prints its end page. Running out of memory while a page
    // is drawn ends the job and throws std::bad_alloc once printing has returned.
    static bool PrintPages(const CReport& report, const wxString& name, wxPrintDialogData& data, bool prompt,
                           wxWindow* parent = nullptr);
    // The 1-based pages the data's range prints of pageCount pages.
    static void GetPageRange(const wxPrintDialogData& data, int pageCount, int& from, int& to);
};
