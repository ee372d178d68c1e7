#include "TAMBEL/Pages/PageResults.h"

#include "PagewrightWx/ReportPreviewWnd.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/TAMBELCalculator/DeviceCalculation.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DialogControls.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "TAMBEL/Pages/PageFluid.h"
#include "TAMBEL/Report/ResultGraph.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/ResultFilterDlg.h"
#include "TAMBEL/TAMBELApp.h"
#include "TAMBEL/TAMBELDlg.h"
#include "grid/window/GridWindow.h"

#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <cstdio>
#include <vector>

namespace {

// A flow other than 0 was given, however wrong; a 0 was given when the fluid page shows it,
// and is none when its field is empty or there is no page.
bool IsFlowGiven(double flow)
{
    if (flow != 0.0)
        return true;
    const CTAMBELApp* app = CTAMBELApp::GetApp();
    CTAMBELDlg* mainDialog = app ? app->GetMainDialog() : nullptr;
    return mainDialog && mainDialog->GetFluidPage().ShowsFlow();
}

// The preview's drawing rectangle in report units.
const SGraphRect kPreviewRect = {0, 0, 800, 600};
// The device feature whose item the summary names (the wetted material).
constexpr int kSummaryFeature = 3;
constexpr int kFlowRangeColumn = 3;
// The device list's columns as the template drew them: device, nominal size, nominal pressure,
// flow range.
const std::vector<int> kColumnWidths = {100, 60, 80, 120};
constexpr int kFlowRangeDigits = 5;
constexpr int kPointDigits = 6;

std::string English(int column)
{
    std::string caption;
    GetResultColumnCaption(caption, column, "en", FALSE, FALSE);
    return caption;
}

wxString Wx(const std::string& text)
{
    return wxString::FromUTF8(text);
}

CResultData& Results()
{
    static CResultData none;
    CResultData* results = CResultData::GetInstance();
    return results ? *results : none;
}

}  // namespace

CPageResults::CPageResults()
    : CTemplatePage("CPageResults")
{
}

bool CPageResults::Create(wxWindow* parent)
{
    if (!CreateFromResource(parent, IDD_PAGE_RESULTS))
        return false;
    OnInitDialog();
    return true;
}

void CPageResults::OnInitDialog()
{
    wxWindow* page = GetWindow();
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_PAGE_RESULTS, page);
    const auto item = [page](int id) { return CDialogControls::FindItem(page, id); };
    m_list = dynamic_cast<wxListCtrl*>(item(IDC_DEVICE_LIST));
    m_tabs = dynamic_cast<wxNotebook*>(item(IDC_RESULT_TAB));
    m_graphButton = dynamic_cast<wxRadioButton*>(item(IDC_GRAPH));
    m_details = dynamic_cast<wxStaticText*>(item(IDC_DETAILS));

    wxRect area(wxPoint(0, 0), page->GetClientSize());
    if (wxWindow* frame = item(IDC_GRAPH_CTRL))
        area = frame->GetRect();
    m_preview = CreatePreviewWindow(page, area);
    m_preview->Refresh();
    m_grid = new CGridWindow(page, wxID_ANY, area.GetPosition(), area.GetSize());
    m_grid->SetWindowStyleFlag(m_grid->GetWindowStyleFlag() | wxBORDER_SIMPLE | wxTAB_TRAVERSAL);

    // The page's extra width is shared by the left half (list, details) and the right half
    // (tabs, curve, points).
    AddDlgItemAnchor(IDC_HLINE1, kAnchorTopLeft, kAnchorTopRight);
    AddDlgItemAnchor(IDC_VLINE1, kAnchorTopCenter, kAnchorBottomCenter);
    AddDlgItemAnchor(IDC_DEVICE_LIST, kAnchorTopLeft, kAnchorBottomCenter);
    AddDlgItemAnchor(IDC_DETAILS_LBL, kAnchorBottomLeft, kAnchorBottomCenter);
    AddDlgItemAnchor(IDC_DETAILS, kAnchorBottomLeft, kAnchorBottomCenter);
    for (int id : {IDC_RESULT_FILTER, IDC_CALCULATE, IDC_GRAPH, IDC_DATA})
        AddDlgItemAnchor(id, kAnchorTopCenter, kAnchorTopCenter);
    AddDlgItemAnchor(IDC_RESULT_TAB, kAnchorTopCenter, kAnchorTopRight);
    AddDlgItemAnchor(IDC_GRAPH_CTRL, kAnchorTopCenter, kAnchorBottomRight);
    AddAnchor(m_preview, kAnchorTopCenter, kAnchorBottomRight);
    AddAnchor(m_grid, kAnchorTopCenter, kAnchorBottomRight);

    if (m_tabs) {
        for (int column = RESULT_COLUMN_VELOCITY; column <= RESULT_COLUMN_REYNOLDS; ++column) {
            std::string caption;
            GetResultColumnCaption(caption, column, GetAppLanguage(), FALSE, FALSE);
            m_tabs->AddPage(new wxPanel(m_tabs), Wx(caption));
        }
        m_tabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent&) { ShowSelectedDevice(); });
    }
    if (m_list) {
        const char* const captions[] = {"Device", "Nominal size", "Nominal pressure", "Flow range"};
        for (const char* caption : captions)
            m_list->AppendColumn(Wx(TranslateText(caption)));
        CDialogControls::FitColumns(*m_list, kColumnWidths);
        m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CPageResults::OnItemSelected, this);
    }
    if (m_graphButton)
        m_graphButton->SetValue(true);
    m_grid->Hide();

    page->Bind(wxEVT_SHOW, &CPageResults::OnShowWindow, this);
    page->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRecalculate(); }, CDialogControls::WindowId(IDC_CALCULATE));
    page->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnResultFilter(); },
               CDialogControls::WindowId(IDC_RESULT_FILTER));
    for (int id : {IDC_GRAPH, IDC_DATA})
        page->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { ShowSelectedDevice(); }, CDialogControls::WindowId(id));

    // The filter starts from the configured flow-range percentage, as the filter dialog does.
    m_filter.Reset();
    if (const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance())
        m_filter.MaxFlowPercent = configuration->minflowrangepercent;
}

bool CPageResults::OnEnterPage()
{
    ClearPage();
    FillDeviceList();
    return true;
}

// Sizing again belongs to the page coming into view, not to entering it: a project opened while
// the page is shown enters it again and keeps the rows it was stored with.
void CPageResults::OnShowWindow(wxShowEvent& event)
{
    event.Skip();
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    if (event.IsShown() && configuration && configuration->autorecalcmeters)
        OnRecalculate();
}

bool CPageResults::OnLeavePage()
{
    return true;
}

bool CPageResults::CanEnterPage(int* reason)
{
    if (reason)
        *reason = 0;
    const std::string missing = CPageFluid::MissingFluidData();
    if (missing.empty())
        return true;
    ShowMessageBox(GetWindow() ? wxGetTopLevelParent(GetWindow()) : nullptr, missing, "Data incomplete",
                   wxOK | wxICON_WARNING);
    return false;
}

void CPageResults::Calculate()
{
    wxBusyCursor wait;
    CResultData& results = Results();
    CUnitDb* database = CUnitDb::GetInstance();
    const CPhysicalData* data = CPhysicalData::GetInstance();
    const CDeviceConfiguration* features = CDeviceConfiguration::GetInstance();
    if (!database || !data || !features) {
        results.RemoveAll();
        m_lastCalculation = CALC_DATABASE_ERROR;
        return;
    }
    CUnit velocityUnit;
    const CUnitManager* units = CUnitManager::GetInstance();
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    const bool haveVelocityUnit = units && configuration && units->GetUnit(velocityUnit, configuration->velocity);
    m_lastCalculation =
        CalculateDevices(*data, *features, results, database->GetSession(), haveVelocityUnit ? &velocityUnit : nullptr);
    results.MergePressureClasses();
}

void CPageResults::OnRecalculate()
{
    Calculate();
    ClearPage();
    FillDeviceList();
}

void CPageResults::OnResultFilter()
{
    CResultFilterDlg dialog(GetWindow());
    if (dialog.Run(&m_filter) == wxID_OK) {
        ClearPage();
        FillDeviceList();
    }
}

void CPageResults::ClearPage()
{
    if (m_list)
        m_list->DeleteAllItems();
    if (m_details)
        m_details->SetLabel(wxString());
}

void CPageResults::InsertFlowRangeColumn(const std::string& unitName)
{
    std::string caption = TranslateText("Flow range");
    if (!unitName.empty()) {
        char suffix[256];
        std::snprintf(suffix, sizeof suffix, " [%s]", unitName.c_str());
        caption += suffix;
    }
    // Its width is fitted with the list's entries.
    if (m_list->GetColumnCount() > kFlowRangeColumn)
        m_list->DeleteColumn(kFlowRangeColumn);
    m_list->InsertColumn(kFlowRangeColumn, Wx(caption));
}

void CPageResults::FillDeviceList()
{
    if (!m_list)
        return;
    wxBusyCursor wait;
    m_list->DeleteAllItems();
    const CResultData& results = Results();
    InsertFlowRangeColumn(results.GetCount() > 0 ? results.GetAt(0).FlowUnit.Name : std::string());

    const CPhysicalData* data = CPhysicalData::GetInstance();
    CUnitDb* database = CUnitDb::GetInstance();
    const std::string language = GetAppLanguage();
    for (int i = 0; data && i < results.GetCount(); ++i) {
        const CResultItem& row = results.GetAt(i);
        if (row.IsFiltered(m_filter, *data, &results))
            continue;
        const long item = m_list->InsertItem(m_list->GetItemCount(), "MOKADI ZR410");
        m_list->SetItemData(item, i);
        std::string name;
        row.GetItemName(name, language);
        m_list->SetItem(item, 1, Wx(name));
        if (database)
            m_list->SetItem(item, 2,
                            Wx(database->GetTranslatedText(row.PressureId, language, "DeviceFeatureItems", "ItemName",
                                                           "Id")));
        char range[128];
        std::snprintf(range, sizeof range, "%s - %s",
                      DataFormat::Format(row.FlowRange.MinRange, kFlowRangeDigits, false).c_str(),
                      DataFormat::Format(row.FlowRange.MaxRange, kFlowRangeDigits, false).c_str());
        m_list->SetItem(item, kFlowRangeColumn, Wx(range));
    }
    CDialogControls::FitColumns(*m_list, kColumnWidths);
    if (m_list->GetItemCount() == 0 && m_details)
        m_details->SetLabel(Wx(GetEmptyListText()));
    ShowSelectedDevice();
}

std::string CPageResults::GetEmptyListText() const
{
    if (!IsCalculationOk(m_lastCalculation))
        return GetCalculationErrorText(m_lastCalculation, "\n");
    CalcResult errors = 0;
    const CResultData& results = Results();
    for (int i = 0; i < results.GetCount(); ++i) {
        for (int code : results.GetAt(i).Errors)
            errors |= static_cast<CalcResult>(code);
    }
    std::string text = GetCalculationErrorText(errors & ~CALC_OK, "\n");
    // Without a flow every device falls out of its flow range, none is wrong.
    const CPhysicalData* data = CPhysicalData::GetInstance();
    if (data && !(data->Flow.Value > 0.0))
        text = TranslateText(IsFlowGiven(data->Flow.Value) ? "The maximum flow must be above 0."
                                                           : "No maximum flow is given.") +
               (text.empty() ? "" : "\n") + text;
    else if (text.empty() && results.GetCount() > 0)
        text = TranslateText("The result filter hides every device.");
    return text;
}

void CPageResults::OnItemSelected(wxListEvent& event)
{
    const long index = static_cast<long>(m_list->GetItemData(event.GetIndex()));
    if (index >= 0 && index < Results().GetCount()) {
        ShowSummary(static_cast<int>(index));
        ShowDevice(static_cast<int>(index));
    }
}

void CPageResults::ShowSummary(int index)
{
    if (!m_details)
        return;
    const CDeviceConfiguration* features = CDeviceConfiguration::GetInstance();
    std::string vNumber;
    int furtherItem = 0;
    if (features) {
        features->GetVNumber(vNumber);
        features->Lookup(kSummaryFeature, furtherItem);
    }
    std::string text;
    Results().GetAt(index).GetSummaryText(text, GetAppLanguage(), vNumber, furtherItem);
    m_details->SetLabel(Wx(text));
}

void CPageResults::ShowSelectedDevice()
{
    const long selected = m_list ? m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED) : -1;
    const long index = selected >= 0 ? static_cast<long>(m_list->GetItemData(selected)) : -1;
    if (index >= 0 && index < Results().GetCount()) {
        ShowDevice(static_cast<int>(index));
        return;
    }
    m_preview->Hide();
    m_grid->Hide();
}

bool CPageResults::IsGraphMode() const
{
    return m_graphButton && m_graphButton->GetValue();
}

void CPageResults::ShowDevice(int index)
{
    const bool graph = IsGraphMode();
    m_preview->Show(graph);
    m_grid->Show(!graph);
    const int column = m_tabs ? m_tabs->GetSelection() + 1 : 0;
    if (column < RESULT_COLUMN_VELOCITY || column > RESULT_COLUMN_REYNOLDS)
        return;
    const CResultItem& row = Results().GetAt(index);
    if (graph)
        ShowGraph(row, column);
    else
        ShowPoints(row, column);
}

std::string CPageResults::BuildGraphMarkup(const CResultItem& row, int column)
{
    CResultGraph graph;
    if (column == RESULT_COLUMN_ERROR)
        graph.SetCaption(TranslateText("Error indicated is for volumetric flow measurement."));
    return graph.Build(row, kPreviewRect, column);
}

std::string CPageResults::BuildPreviewText(const CResultItem& row, int column)
{
    // The page holds the chart with its caption.
    const SGraphRect extent = CResultGraph::GetExtent(kPreviewRect);
    char page[128];
    std::snprintf(page, sizeof page, "<page width=\"%d\" height=\"%d\" leftborder=\"10\" topborder=\"10\">\n",
                  extent.right - extent.left + 10, extent.bottom - extent.top + 10);
    return std::string("<report>\n<font fontname=\"Axis\" typeface=\"Arial\" fontsize=\"8pt\" />\n") + page +
           BuildGraphMarkup(row, column) + "</page>\n</report>\n";
}

void CPageResults::ShowGraph(const CResultItem& row, int column)
{
    m_previewReport.Clear();
    if (!m_previewReport.LoadFromString(BuildPreviewText(row, column))) {
        QUILLET_POS(m_log);
        m_log.Error("The curve of column %d cannot be read as a report", column);
    }
    ShowPreviewReport();
}

CReportPreviewWnd* CPageResults::CreatePreviewWindow(wxWindow* parent, const wxRect& area)
{
    auto* preview = new CReportPreviewWnd(parent, wxID_ANY, area.GetPosition(), area.GetSize());
    preview->SetWindowStyleFlag(preview->GetWindowStyleFlag() | wxBORDER_SIMPLE);
    preview->SetFitToWidth(true);
    return preview;
}

void CPageResults::ShowPreviewReport()
{
    // The same document comes again for every selection: its pages are made anew each time.
    m_previewReport.Paginate();
    m_preview->SetReport(&m_previewReport);
    m_preview->Refresh();
}

void CPageResults::ShowPoints(const CResultItem& row, int column)
{
    m_grid->SetRedraw(false);
    m_grid->DeleteAllItems();
    std::string unit;
    row.GetColumnUnitName(unit, RESULT_COLUMN_FLOW);
    char heading[256];
    std::snprintf(heading, sizeof heading, "%s [%s]", English(RESULT_COLUMN_FLOW).c_str(), unit.c_str());
    const std::uint32_t centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    m_grid->InsertColumn(heading, centred);
    row.GetColumnUnitName(unit, column);
    m_grid->InsertColumn(English(column) + (unit.empty() ? std::string() : "[" + unit + "]"), centred);
    m_grid->SetFixedRowCount(1);

    // Points of equal velocity (at the digits shown) would be equal rows.
    double lastVelocity = -1.0;
    for (const CResultPoint& point : row.Points) {
        const double velocity = DataFormat::RoundToSignificantDigits(point[RESULT_COLUMN_VELOCITY], kPointDigits);
        if (velocity == lastVelocity)
            continue;
        lastVelocity = velocity;
        double value = point[static_cast<std::size_t>(column)];
        if (column == RESULT_COLUMN_PRESSURE_LOSS) {
            double converted = 0.0;
            ConvertFromBaseUnit(converted, value, row.PressureUnit, 0);
            value = converted;
        }
        const int gridRow = m_grid->InsertRow(DataFormat::Format(point[RESULT_COLUMN_FLOW], kPointDigits, false));
        m_grid->SetItemText(gridRow, 1, DataFormat::Format(value, kPointDigits, false));
        m_grid->SetItemState(gridRow, 0, CELLSTATE_READONLY);
        m_grid->SetItemState(gridRow, 1, CELLSTATE_READONLY);
    }
    m_grid->AutoSize();
    m_grid->SetRedraw(true, false);
}
