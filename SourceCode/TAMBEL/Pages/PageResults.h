// The results page: sizes every device of the device database for the project's operating
// point, lists the result rows that pass the user's filter and shows the selected row's
// summary and, on the chosen tab, either its curve or a table of its points.
//
// The curve is a small report document built in memory; ShowPreviewReport hands it to the
// window that CreatePreviewWindow puts in the graph area.
#pragma once

#include "CommonFiles/ResultFilter.h"
#include "CommonFiles/TAMBELCalculator/CalculationResult.h"
#include "Pagewright/Report.h"
#include "TAMBEL/Pages/TemplatePage.h"

#include <string>

class CGridWindow;
class CReportPreviewWnd;
class CResultItem;
class wxListCtrl;
class wxListEvent;
class wxNotebook;
class wxRadioButton;
class wxStaticText;
class wxRect;
class wxShowEvent;

class CPageResults : public CTemplatePage {
public:
    CPageResults();

    // A hidden child page of the main window.
    bool Create(wxWindow* parent);

    // Lists the project's rows. While automatic recalculation is on, the page sizes again each
    // time its window is shown.
    bool OnEnterPage() override;
    bool OnLeavePage() override;
    // Only a fluid that can be sized: otherwise the user is told what it still lacks.
    bool CanEnterPage(int* reason) override;

    // "&Recalculate sizing": sizes, merges the pressure classes and lists the rows again.
    void OnRecalculate();
    // "Result fi&lter": the filter dialog; its OK lists the rows again.
    void OnResultFilter();
    // Shows the row of the list's selected item, or hides curve and grid when there is none.
    void ShowSelectedDevice();

    // The chart mark-up of the row's point column for the preview's drawing rectangle.
    static std::string BuildGraphMarkup(const CResultItem& row, int column);
    // The whole preview document's text around that mark-up.
    static std::string BuildPreviewText(const CResultItem& row, int column);

    CResultFilter& GetFilter() { return m_filter; }
    wxListCtrl* GetDeviceList() const { return m_list; }
    wxNotebook* GetTabs() const { return m_tabs; }
    CGridWindow* GetGrid() const { return m_grid; }
    CReportPreviewWnd* GetPreview() const { return m_preview; }
    wxStaticText* GetDetails() const { return m_details; }
    const CReport& GetPreviewReport() const { return m_previewReport; }

private:
    void OnInitDialog();
    void ClearPage();
    void FillDeviceList();
    void InsertFlowRangeColumn(const std::string& unitName);
    // The sizing run on the project's data; its result stays for the details text.
    void Calculate();
    void OnShowWindow(wxShowEvent& event);
    void OnItemSelected(wxListEvent& event);
    void ShowSummary(int index);
    void ShowDevice(int index);
    void ShowGraph(const CResultItem& row, int column);
    void ShowPoints(const CResultItem& row, int column);
    // The window that draws the curve document, in the graph area.
    static CReportPreviewWnd* CreatePreviewWindow(wxWindow* parent, const wxRect& area);
    // Hands the document just built to the preview window and repaints it.
    void ShowPreviewReport();
    // Why the list is empty: the calculation's failure, else a missing flow and the errors of the
    // hidden rows, else the filter that hides them all.
    std::string GetEmptyListText() const;
    bool IsGraphMode() const;

    wxListCtrl* m_list = nullptr;
    wxNotebook* m_tabs = nullptr;
    wxRadioButton* m_graphButton = nullptr;
    wxStaticText* m_details = nullptr;
    // Where the report preview window goes; a plain panel until one is connected.
    CReportPreviewWnd* m_preview = nullptr;
    CGridWindow* m_grid = nullptr;
    CReport m_previewReport;
    CResultFilter m_filter;
    CalcResult m_lastCalculation = CALC_OK;
};
