// The pages from..to (1-based) of a report on paper, as the printout's pages 1..n. Each page is
// drawn at its physical size from the top-left of the printable area; a page whose orientation
// is not the sheet's is turned a quarter, its top at the sheet's left edge.
#pragma once

#include <wx/cmndata.h>
#include <wx/print.h>

class CReport;

class CReportPrintout : public wxPrintout {
public:
    // The print data is the job's: its native part is shared with the printer's.
    CReportPrintout(const CReport& report, const wxString& title, int from, int to, const wxPrintData& printData);

    void OnPreparePrinting() override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    // A page that runs out of memory ends the job (printing's own callers cannot pass the
    // exception on); the printer then says so to its caller.
    bool OnPrintPage(int page) override;
    bool RanOutOfMemory() const { return m_outOfMemory; }

private:
    bool PrintPage(int page);

    const CReport& m_report;
    int m_from;
    int m_to;
    wxPrintData m_printData;
    bool m_outOfMemory = false;
};
