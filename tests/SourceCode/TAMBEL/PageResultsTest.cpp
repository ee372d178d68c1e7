// The results page on the shipped database with water at 30 m3/h, and on result lists of chosen
// rows: the device list with its item data and columns, calculating on entering while automatic
// recalculation is on, the details text of a calculation that lists nothing, the point grid,
// what shows without a selection, the curve document built in memory, and a screenshot.
#include "ResultsTestData.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/TAMBELCalculator/DeviceCalculation.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "TAMBEL/EngineWiring.h"
#include "PagewrightWx/ReportDcCanvas.h"
#include "PagewrightWx/ReportPainter.h"
#include "PagewrightWx/ReportPreviewWnd.h"
#include "TAMBEL/Pages/PageResults.h"
#include "grid/window/GridWindow.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string Text(const wxListCtrl* list, long item, int column)
{
    return list->GetItemText(item, column).utf8_string();
}

std::string Header(wxListCtrl* list, int column)
{
    wxListItem info;
    info.SetMask(wxLIST_MASK_TEXT);
    list->GetColumn(column, info);
    return info.GetText().utf8_string();
}

void Key(wxWindow* target, int code)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = code;
    down.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(down);
}

class PageResultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage("en");
        PlaceShippedDatabase();
        if (HasFatalFailure())
            return;
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
        CDeviceConfiguration::GetInstance()->RemoveAll();
        MakeWaterOperatingPoint(*CPhysicalData::GetInstance());
        CResultData::GetInstance()->RemoveAll();
        m_autoRecalculate = CApplicationConfiguration::GetInstance()->autorecalcmeters;
        m_percent = CApplicationConfiguration::GetInstance()->minflowrangepercent;
        CApplicationConfiguration::GetInstance()->autorecalcmeters = false;
        m_frame.reset(new wxFrame(nullptr, wxID_ANY, "Results"));
    }

    void TearDown() override
    {
        m_frame.reset();
        CApplicationConfiguration::GetInstance()->autorecalcmeters = m_autoRecalculate;
        CApplicationConfiguration::GetInstance()->minflowrangepercent = m_percent;
        CResultData::GetInstance()->RemoveAll();
        CPhysicalData::GetInstance()->Reset();
        CUnitDb::GetInstance()->Close();
        std::remove(m_database.c_str());
    }

    void CreateShown() { CreatePageShown(m_page, m_frame.get()); }

    wxListCtrl* List() const { return m_page.GetDeviceList(); }

    void Select(long item)
    {
        List()->SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                             wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        Pump();
    }

    void ChooseData(bool data)
    {
        auto* button = dynamic_cast<wxRadioButton*>(
            CDialogControls::FindItem(m_page.GetWindow(), data ? 1059 : 1055));
        ASSERT_NE(button, nullptr);
        button->SetValue(true);
        wxCommandEvent event(wxEVT_RADIOBUTTON, button->GetId());
        event.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(event);
    }

    const std::string m_database = ShippedDatabasePath();
    bool m_autoRecalculate = false;
    double m_percent = 100.0;
    UniqueWindow<wxFrame> m_frame;
    CPageResults m_page;
};

TEST_F(PageResultsTest, ListedRowsKeepTheirIndexAndShowNameClassAndFlowRange)
{
    CreateShown();
    EXPECT_EQ(Header(List(), 3), "Flow range");
    m_page.OnRecalculate();
    const CResultData& results = *CResultData::GetInstance();
    ASSERT_GT(results.GetCount(), 0);
    ASSERT_GT(List()->GetItemCount(), 0) << m_page.GetDetails()->GetLabel().utf8_string();
    EXPECT_LT(List()->GetItemCount(), results.GetCount()) << "the filter hides some rows";
    EXPECT_EQ(Header(List(), 3), "Flow range [m3/h]");

    bool gap = false;
    for (long item = 0; item < List()->GetItemCount(); ++item) {
        const long index = static_cast<long>(List()->GetItemData(item));
        ASSERT_GE(index, item);
        ASSERT_LT(index, results.GetCount());
        gap = gap || index != item;
        const CResultItem& row = results.GetAt(static_cast<int>(index));
        EXPECT_FALSE(row.IsFiltered(m_page.GetFilter(), *CPhysicalData::GetInstance(), &results));
        std::string name;
        row.GetItemName(name, "en");
        EXPECT_EQ(Text(List(), item, 0), "MOKADI ZR410");
        EXPECT_EQ(Text(List(), item, 1), name);
        EXPECT_EQ(Text(List(), item, 2).empty(), row.PressureId == RESULT_EVERY_PRESSURE_CLASS) << item;
        EXPECT_EQ(Text(List(), item, 3), DataFormat::Format(row.FlowRange.MinRange, 5, false) + " - " +
                                              DataFormat::Format(row.FlowRange.MaxRange, 5, false));
    }
    EXPECT_TRUE(gap);

    // Selecting an item shows the row it was listed for.
    const long last = List()->GetItemCount() - 1;
    Select(last);
    std::string summary;
    const CResultItem& row = results.GetAt(static_cast<int>(List()->GetItemData(last)));
    row.GetSummaryText(summary, "en", "", 0);
    EXPECT_EQ(m_page.GetDetails()->GetLabel().utf8_string(), summary);
    EXPECT_TRUE(m_page.GetPreview()->IsShown());
    EXPECT_FALSE(m_page.GetGrid()->IsShown());
}

TEST_F(PageResultsTest, MergedRowsLeaveTheClassColumnEmpty)
{
    CResultData& results = *CResultData::GetInstance();
    results.Add(MakeResultRow(104, RESULT_EVERY_PRESSURE_CLASS, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}}));
    results.Add(MakeResultRow(104, 201, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}}));
    m_page.GetFilter().HideSmallTurndown = FALSE;
    m_page.GetFilter().HideSpecialDevices = FALSE;
    CreateShown();
    ASSERT_EQ(List()->GetItemCount(), 2);
    EXPECT_EQ(Text(List(), 0, 2), "");
    EXPECT_NE(Text(List(), 1, 2), "");
    EXPECT_EQ(Text(List(), 0, 3), "2.5 - 60.0");
}

TEST_F(PageResultsTest, ShowingCalculatesOnlyWhileAutomaticRecalculationIsOn)
{
    CreateShown();
    EXPECT_EQ(List()->GetItemCount(), 0);
    EXPECT_EQ(CResultData::GetInstance()->GetCount(), 0);
    CApplicationConfiguration::GetInstance()->autorecalcmeters = true;
    m_page.GetWindow()->Hide();
    m_page.OnEnterPage();
    m_page.GetWindow()->Show();
    EXPECT_GT(CResultData::GetInstance()->GetCount(), 0);
    EXPECT_GT(List()->GetItemCount(), 0);

    // With it off, changed data shows the old rows until the button.
    CApplicationConfiguration::GetInstance()->autorecalcmeters = false;
    const double pressureLoss = CResultData::GetInstance()->GetAt(0).PressureLossRange.MaxRange;
    CPhysicalData::GetInstance()->Density.Value = 500.0;
    CPhysicalData::GetInstance()->Density.BaseValue = 0.5;
    m_page.GetWindow()->Hide();
    m_page.OnEnterPage();
    m_page.GetWindow()->Show();
    EXPECT_EQ(CResultData::GetInstance()->GetAt(0).PressureLossRange.MaxRange, pressureLoss);
    m_page.OnRecalculate();
    EXPECT_NE(CResultData::GetInstance()->GetAt(0).PressureLossRange.MaxRange, pressureLoss);
}

// A project opened while the page is shown enters it again: the rows stored with the project
// are listed as they are, even with automatic recalculation on.
TEST_F(PageResultsTest, RowsOfAnOpenedProjectStayWhileThePageIsShown)
{
    CApplicationConfiguration::GetInstance()->autorecalcmeters = true;
    CreateShown();
    ASSERT_GT(CResultData::GetInstance()->GetCount(), 2) << "shown with automatic recalculation, it sized";

    CResultData& results = *CResultData::GetInstance();
    results.RemoveAll();
    results.Add(MakeResultRow(104, RESULT_EVERY_PRESSURE_CLASS, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}}));
    results.Add(MakeResultRow(104, 201, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}}));
    m_page.GetFilter().HideSmallTurndown = FALSE;
    m_page.GetFilter().HideSpecialDevices = FALSE;
    m_page.OnEnterPage();
    Pump();
    EXPECT_EQ(results.GetCount(), 2);
    ASSERT_EQ(List()->GetItemCount(), 2);
    EXPECT_EQ(Text(List(), 0, 3), "2.5 - 60.0");
}

// The program's sizing run shows the wait cursor while it runs and takes it away at its end;
// an end without a start does no harm.
TEST_F(PageResultsTest, SizingShowsTheWaitCursorWhileItRuns)
{
    ConnectEngineToApplication();
    std::vector<bool> calls;
    const CBusyIndicator program = SetDeviceCalculationBusyIndicator([&](bool busy) { calls.push_back(busy); });
    CreateShown();
    m_page.OnRecalculate();
    SetDeviceCalculationBusyIndicator(program);
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));

    ASSERT_TRUE(program);
    program(true);
    EXPECT_TRUE(wxIsBusy());
    program(false);
    EXPECT_FALSE(wxIsBusy());
    program(false);
    EXPECT_FALSE(wxIsBusy());
    DisconnectEngineFromApplication();
}

// Without a fluid every row carries its error and the filter hides them all: the details say why.
TEST_F(PageResultsTest, ACalculationThatListsNothingSaysWhyInTheDetails)
{
    CreateShown();
    CPhysicalData::GetInstance()->Reset();
    m_page.OnRecalculate();
    EXPECT_EQ(List()->GetItemCount(), 0);
    const std::string details = m_page.GetDetails()->GetLabel().utf8_string();
    EXPECT_FALSE(details.empty());

    CUnitDb::GetInstance()->Close();
    m_page.OnRecalculate();
    EXPECT_EQ(m_page.GetDetails()->GetLabel().utf8_string(), GetCalculationErrorText(CALC_DATABASE_ERROR, "\n"));
}

TEST_F(PageResultsTest, AListEmptyBecauseOfTheInputSaysSo)
{
    const struct {
        const char* language;
        const char* noFlow;
        const char* allHidden;
    } languages[] = {{"en", "No maximum flow is given.", "The result filter hides every device."},
                     {"de", "Es ist kein maximaler Durchfluss angegeben.",
                      "Der Ergebnisfilter blendet alle Geräte aus."}};
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        UseTranslatedLanguage(language.language);
        m_frame.reset(new wxFrame(nullptr, wxID_ANY, "Results"));
        CPageResults page;
        CreatePageShown(page, m_frame.get());
        // Sized without a flow: every device falls out of its range and the default filter
        // hides it.
        CPhysicalData::GetInstance()->Flow.Value = 0.0;
        CPhysicalData::GetInstance()->Flow.BaseValue = 0.0;
        page.OnRecalculate();
        EXPECT_EQ(page.GetDeviceList()->GetItemCount(), 0);
        EXPECT_EQ(page.GetDetails()->GetLabel().utf8_string().rfind(language.noFlow, 0), 0u)
            << page.GetDetails()->GetLabel();

        // Rows without errors, all below the turndown asked for.
        MakeWaterOperatingPoint(*CPhysicalData::GetInstance());
        CResultData::GetInstance()->RemoveAll();
        CResultData::GetInstance()->Add(
            MakeResultRow(104, 201, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}}));
        page.GetFilter().HideSmallTurndown = TRUE;
        page.GetFilter().MinTurndown = 1e6;
        page.OnEnterPage();
        EXPECT_EQ(page.GetDeviceList()->GetItemCount(), 0);
        EXPECT_EQ(page.GetDetails()->GetLabel().utf8_string(), language.allHidden);
        m_frame.reset();
    }
    UseTranslatedLanguage("en");
}

TEST_F(PageResultsTest, TheFilterStartsFromTheConfiguredPercentage)
{
    CApplicationConfiguration::GetInstance()->minflowrangepercent = 80.0;
    CreateShown();
    EXPECT_EQ(m_page.GetFilter().MaxFlowPercent, 80.0);
}

TEST_F(PageResultsTest, WithoutSelectionNeitherCurveNorGridShows)
{
    CResultData::GetInstance()->Add(MakeResultRow(104, 201, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}}));
    m_page.GetFilter().HideSmallTurndown = FALSE;
    CreateShown();
    ASSERT_EQ(List()->GetItemCount(), 1);
    EXPECT_FALSE(m_page.GetPreview()->IsShown());
    EXPECT_FALSE(m_page.GetGrid()->IsShown());
    ChooseData(true);
    m_page.GetTabs()->SetSelection(2);
    Pump();
    EXPECT_FALSE(m_page.GetPreview()->IsShown());
    EXPECT_FALSE(m_page.GetGrid()->IsShown());
}

TEST_F(PageResultsTest, PointGridHasOneRowPerVelocityAndMovesByArrowKeys)
{
    // The second and third point agree in velocity to 6 digits.
    CResultData::GetInstance()->Add(MakeResultRow(104, 201,
                                                  {{2.5, 0.3, 0.001, 1.0, 20000.0},
                                                   {10.0, 1.2, 0.01, 0.75, 80000.0},
                                                   {10.5, 1.2000001, 0.011, 0.75, 80000.0},
                                                   {60.0, 7.0, 0.5, 0.5, 400000.0}}));
    m_page.GetFilter().HideSmallTurndown = FALSE;
    CreateShown();
    Select(0);
    ChooseData(true);
    CGridWindow* grid = m_page.GetGrid();
    EXPECT_TRUE(grid->IsShown());
    EXPECT_FALSE(m_page.GetPreview()->IsShown());
    ASSERT_EQ(grid->GetRowCount(), 4);  // header and three points
    EXPECT_EQ(grid->GetItemText(0, 0), "Flow [m3/h]");
    EXPECT_EQ(grid->GetItemText(0, 1), "Velocity[m/s]");
    EXPECT_EQ(grid->GetItemText(2, 0), "10.0");
    EXPECT_EQ(grid->GetItemText(3, 0), "60.0");

    struct Tab {
        int page;
        const char* header;
        const char* last;
    } tabs[] = {{1, "Pressure loss[mbar]", "500.0"}, {2, "Error[%]", "0.5"}, {3, "Reynolds number", "400000.0"}};
    for (const Tab& tab : tabs) {
        m_page.GetTabs()->SetSelection(static_cast<size_t>(tab.page));
        Pump();
        EXPECT_EQ(grid->GetItemText(0, 1), tab.header);
        EXPECT_EQ(grid->GetItemText(3, 1), tab.last);
    }

    grid->SetFocus();
    grid->SetFocusCell(1, 0);
    Key(grid, WXK_DOWN);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(2, 0));
    Key(grid, WXK_RIGHT);
    EXPECT_EQ(grid->GetFocusCell(), CCellID(2, 1));
    EXPECT_EQ(grid->GetInPlaceEdit(), nullptr);
}

TEST_F(PageResultsTest, TheCurveIsADocumentBuiltInMemory)
{
    CResultItem row = MakeResultRow(104, 201, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}});
    row.FlowUnit.Name = "m3<h";
    CResultData::GetInstance()->Add(row);
    m_page.GetFilter().HideSmallTurndown = FALSE;
    const std::string temporary = "TempReport.rpt";
    std::remove(temporary.c_str());
    CreateShown();
    Select(0);
    EXPECT_TRUE(m_page.GetPreview()->IsShown());
    EXPECT_EQ(m_page.GetPreviewReport().GetTemplatePages().size(), 1u);
    EXPECT_NE(m_page.GetPreviewReport().FindFont("Axis"), nullptr);
    EXPECT_NE(access(temporary.c_str(), F_OK), 0);

    const std::string text = CPageResults::BuildPreviewText(row, RESULT_COLUMN_ERROR);
    EXPECT_EQ(text.find("<report>\n<font fontname=\"Axis\" typeface=\"Arial\" fontsize=\"8pt\" />\n"
                        "<page width=\"810\" height=\"670\" leftborder=\"10\" topborder=\"10\">\n"),
              0u);
    EXPECT_NE(text.find(">Error indicated is for volumetric flow measurement.<"), std::string::npos);
    EXPECT_NE(text.find(">[m3&lt;h]<"), std::string::npos);
}

// The preview's texts as its window draws them: measured and drawn by the window's own canvas,
// each kept with its extent in drawing units.
class CShownTexts : public IReportCanvas {
public:
    struct SShown {
        std::string text;
        SReportPoint origin;
        STextMetrics extent;
    };

    CShownTexts(IReportCanvas& canvas) : m_canvas(canvas) {}

    void FillPolygon(const Polygon& points, ReportColor color) override { m_canvas.FillPolygon(points, color); }
    void DrawPolyline(const Polygon& points, ReportColor color, int penWidth, bool closed) override
    {
        m_canvas.DrawPolyline(points, color, penWidth, closed);
    }
    void SetClipPolygon(const Polygon& points) override { m_canvas.SetClipPolygon(points); }
    void ResetClip() override { m_canvas.ResetClip(); }
    STextMetrics MeasureText(const SCanvasFont& font, std::string_view text) override
    {
        return m_canvas.MeasureText(font, text);
    }
    void DrawText(const SCanvasFont& font, ReportColor color, SReportPoint origin, double angle,
                  std::string_view text) override
    {
        shown.push_back({std::string(text), origin, m_canvas.MeasureText(font, text)});
        m_canvas.DrawText(font, color, origin, angle, text);
    }
    void DrawImage(const CReportImage& image, const SReportRect& rect) override { m_canvas.DrawImage(image, rect); }
    void SetPixel(SReportPoint point, ReportColor color) override { m_canvas.SetPixel(point, color); }
    void FrameRegion(const ReportRegion& region, ReportColor color, int thickness) override
    {
        m_canvas.FrameRegion(region, color, thickness);
    }

    std::vector<SShown> shown;

private:
    IReportCanvas& m_canvas;
};

// The error curve's caption, in either language, shows whole in the preview's 800 units: its
// lines lie within the plot's width and on the page, below the axis labels.
TEST_F(PageResultsTest, TheErrorCaptionShowsWholeInsideThePlot)
{
    CResultItem row = MakeResultRow(104, 201, {{2.5, 0.3, 0.001, 1.0, 20000.0}, {60.0, 7.0, 0.5, 0.5, 400000.0}});
    CResultData::GetInstance()->Add(row);
    m_page.GetFilter().HideSmallTurndown = FALSE;
    CreateShown();
    m_frame->SetClientSize(wxSize(900, 560));
    m_page.GetWindow()->SetSize(m_frame->GetClientSize());
    m_page.RepositionChildren();
    Select(0);
    for (const char* code : {"de", "en"}) {
        SCOPED_TRACE(code);
        UseTranslatedLanguage(code);
        // The curve is made anew, in the language now chosen.
        m_page.GetTabs()->SetSelection(0);
        Pump();
        m_page.GetTabs()->SetSelection(2);
        PumpFor(100);
        const std::string caption = TranslateText("Error indicated is for volumetric flow measurement.");
        SaveScreenshot(Snapshot(m_frame.get()), std::string("PageResultsErrorCaption-") + code);

        CReportPreviewWnd* preview = m_page.GetPreview();
        ASSERT_TRUE(preview->IsShown());
        const double zoom = preview->GetZoom();
        const double dpi = preview->GetDpi();
        wxBitmap bitmap(preview->GetClientSize());
        wxMemoryDC dc(bitmap);
        CReportDcCanvas canvas(dc, dpi, dpi);
        CShownTexts texts(canvas);
        CReportPainter(texts, CReportPainter::DesktopTextColor()).DrawPage(m_page.GetPreviewReport(), 0, zoom);

        // Drawing units: the plot from 10 to 810 across (its border of 10 included), the
        // caption's box from 570 down, the page 670 high; y points up.
        const auto at = [zoom](int units) { return static_cast<int>(std::lround(units * zoom)); };
        std::string joined;
        int lines = 0;
        for (const CShownTexts::SShown& line : texts.shown) {
            if (caption.find(line.text) == std::string::npos || line.text.size() < 4)
                continue;
            SCOPED_TRACE(line.text);
            ++lines;
            joined += (joined.empty() ? "" : " ") + line.text;
            EXPECT_GE(line.origin.x, at(10));
            EXPECT_LE(line.origin.x + line.extent.width, at(810));
            EXPECT_LE(line.origin.y, -at(570) + 1);
            EXPECT_GE(line.origin.y - line.extent.height, -at(670) - 1);
        }
        EXPECT_EQ(joined, caption);
        EXPECT_GE(lines, 1);
    }
    UseTranslatedLanguage("en");
}

TEST_F(PageResultsTest, Screenshot)
{
    CreateShown();
    m_frame->SetClientSize(wxSize(900, 520));
    m_page.GetWindow()->SetSize(m_frame->GetClientSize());
    m_page.RepositionChildren();
    m_page.OnRecalculate();
    ASSERT_GT(List()->GetItemCount(), 1);
    Select(1);
    PumpFor(100);
    SaveScreenshot(Snapshot(m_frame.get()), "PageResultsGraph");
    ChooseData(true);
    PumpFor(100);
    SaveScreenshot(Snapshot(m_frame.get()), "PageResultsData");
}

}  // namespace

namespace {

TEST_F(PageResultsTest, GermanTexts)
{
    UseTranslatedLanguage("de");
    ConnectEngineToApplication();
    CreateShown();
    EXPECT_EQ(CDialogControls::FindItem(m_page.GetWindow(), 1063)->GetLabel().utf8_string(), "&Neu berechnen");
    EXPECT_EQ(Header(List(), 0), "Gerät");
    EXPECT_EQ(Header(List(), 3), "Durchflussbereich");
    EXPECT_EQ(m_page.GetTabs()->GetPageText(0).utf8_string(), "Geschwindigkeit");
    m_page.OnRecalculate();
    Select(0);
    // Every number of the summary and the list has the German decimal comma, none a point.
    const std::string details = m_page.GetDetails()->GetLabel().utf8_string();
    EXPECT_NE(details.find("Strom bei min. Durchfluss: "), std::string::npos) << details;
    for (std::size_t at = details.find('.'); at != std::string::npos; at = details.find('.', at + 1)) {
        const bool decimalPoint = at > 0 && at + 1 < details.size() &&
                                  std::isdigit(static_cast<unsigned char>(details[at - 1])) &&
                                  std::isdigit(static_cast<unsigned char>(details[at + 1]));
        EXPECT_FALSE(decimalPoint) << details;
    }
    EXPECT_EQ(Text(List(), 0, 3).find('.'), std::string::npos) << Text(List(), 0, 3);
    m_frame->SetClientSize(wxSize(900, 520));
    m_page.GetWindow()->SetSize(m_frame->GetClientSize());
    m_page.RepositionChildren();
    PumpFor(100);
    SaveScreenshot(Snapshot(m_frame.get()), "PageResultsGerman");
    DisconnectEngineFromApplication();
    UseTranslatedLanguage("en");
}

}  // namespace
