#include "Harbinax/ClippedTextTip.h"
#include "grid/GridCellCombo.h"
#include "grid/window/GridComboList.h"
#include "grid/window/GridEditor.h"
#include "grid/window/GridInPlaceEdit.h"
#include "grid/window/GridNotifyEvent.h"
#include "grid/window/GridPrintout.h"
#include "grid/window/GridWindow.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <wx/clipbrd.h>
#include <wx/dcps.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <cstdio>
#include <sstream>

#include <gtest/gtest.h>

::testing::Environment* const wx = ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"GridWindowTests"}));

namespace {

// A frame with a grid of 10 rows and 4 columns (one fixed of each) of 24 x 80 pixels, cells
// "r,c", that records the grid's notifications.
class GridWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "Grid", wxDefaultPosition, wxSize(500, 400));
        m_grid = new CGridWindow(m_frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, 10, 4, 1, 1);
        for (int row = 0; row < 10; ++row) {
            m_grid->SetRowHeight(row, 24);
            for (int col = 0; col < 4; ++col)
                m_grid->SetItemText(row, col, std::to_string(row) + "," + std::to_string(col));
        }
        for (int col = 0; col < 4; ++col)
            m_grid->SetColumnWidth(col, 80);
        m_frame->Bind(EVT_GRIDCTRL_NOTIFY, [this](CGridNotifyEvent& event) {
            m_codes.push_back(event.GetCode());
            if (event.GetCode() == GridNotifyBeginEdit && m_vetoEdits)
                event.Veto();
        });
        ShowAndFocus(m_frame);
        m_grid->SetFocus();
        WaitFor([this] { return wxWindow::FindFocus() == m_grid; });
        m_grid->UpdateScrollBars();
    }

    void TearDown() override
    {
        if (m_frame)
            SDeleteWindow()(m_frame);
    }

    void Key(wxWindow* target, int code, bool shift = false, bool ctrl = false)
    {
        wxKeyEvent down(wxEVT_KEY_DOWN);
        down.m_keyCode = code;
        down.m_uniChar = code < WXK_START ? static_cast<wxChar>(code) : static_cast<wxChar>(WXK_NONE);
        down.m_shiftDown = shift;
        down.m_controlDown = ctrl;
        down.SetEventObject(target);
        if (target->GetEventHandler()->ProcessEvent(down) && !down.GetSkipped())
            return;
        if (code >= WXK_START && code != WXK_RETURN)
            return;
        wxKeyEvent typed(down);
        typed.SetEventType(wxEVT_CHAR);
        typed.Skip(false);
        target->GetEventHandler()->ProcessEvent(typed);
    }

    int Count(int code) const { return static_cast<int>(std::count(m_codes.begin(), m_codes.end(), code)); }

    void MakeReadOnly()
    {
        for (int row = 0; row < m_grid->GetRowCount(); ++row)
            for (int col = 0; col < m_grid->GetColumnCount(); ++col)
                m_grid->SetItemState(row, col, m_grid->GetItemState(row, col) | CELLSTATE_READONLY);
    }

    wxFrame* m_frame = nullptr;
    CGridWindow* m_grid = nullptr;
    std::vector<int> m_codes;
    bool m_vetoEdits = false;
};

}  // namespace

TEST_F(GridWindowTest, ThreeByThreeGridPaintsCellsLinesAndBackgroundInAMemoryDc)
{
    m_grid->SetRowCount(3);
    m_grid->SetColumnCount(3);
    m_grid->SetItemBackColour(1, 1, GridRgb(255, 0, 0));
    m_grid->SetGridLineColor(GridRgb(0, 0, 255));
    wxBitmap bitmap(300, 100, 24);
    {
        wxMemoryDC dc(bitmap);
        m_grid->PaintTo(dc, wxRect(0, 0, 300, 100));
    }
    const wxImage image = bitmap.ConvertToImage();
    // The red cell fills its 80 x 24 pixels but the grid lines on its right and bottom.
    EXPECT_EQ(ColourBounds(image, *wxRED), wxRect(80, 24, 79, 23));
    // Vertical lines at the right edges of the two scrolled columns, horizontal ones below the
    // two scrolled rows: from the fixed area to the end of the cells.
    const wxColour blue(0, 0, 255);
    EXPECT_EQ(CountColour(image, blue, wxRect(159, 24, 1, 48)), 48);
    EXPECT_EQ(CountColour(image, blue, wxRect(239, 24, 1, 48)), 48);
    EXPECT_EQ(CountColour(image, blue, wxRect(80, 47, 160, 1)), 160);
    // Right of the grid: the grid's background colour.
    const wxColour background = wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW);
    EXPECT_EQ(CountColour(image, background, wxRect(240, 0, 60, 100)), 60 * 100);
    // Text was drawn in the ordinary cells.
    const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    EXPECT_GT(CountColour(image, text, wxRect(161, 25, 77, 21)), 5);
}

TEST_F(GridWindowTest, TabGoesDownTheColumnAndShiftTabWrapsToTheRowAbove)
{
    m_grid->SetFocusCell(1, 2);
    Key(m_grid, WXK_TAB);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(2, 2));
    m_grid->SetFocusCell(3, 1);
    Key(m_grid, WXK_TAB, true);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(2, 3));
}

TEST_F(GridWindowTest, ArrowsInAReadOnlyGridMoveOneCellAndPageDownAtTheBottomGoesToTheLastRow)
{
    MakeReadOnly();
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, WXK_DOWN);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(3, 2));
    Key(m_grid, WXK_RIGHT);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(3, 3));
    Key(m_grid, WXK_PAGEDOWN);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(9, 3));
}

TEST_F(GridWindowTest, CtrlCPutsTheSelectionOnTheClipboardAndCtrlVPastesIt)
{
    m_grid->SetItemText(1, 1, "a");
    m_grid->SetItemText(1, 2, "b");
    m_grid->SetFocusCell(1, 1);
    m_grid->SetSelectedRange(1, 1, 1, 2);
    Key(m_grid, 'C', false, true);
    {
        wxClipboardLocker lock;
        ASSERT_TRUE(!!lock);
        wxTextDataObject data;
        ASSERT_TRUE(wxTheClipboard->GetData(data));
        EXPECT_EQ(data.GetText(), "a\tb");
    }
    m_grid->SetFocusCell(4, 2);
    m_grid->SetSelectedRange(4, 2, 4, 2);
    Key(m_grid, 'V', false, true);
    EXPECT_EQ(m_grid->GetItemText(4, 2), "a");
    EXPECT_EQ(m_grid->GetItemText(4, 3), "b");
}

TEST_F(GridWindowTest, TypingReplacesTheTextAndEnterKeepsIt)
{
    m_grid->SetItemText(2, 2, "123");
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '7');
    CGridInPlaceEdit* editor = m_grid->GetInPlaceEdit();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), "7");
    EXPECT_EQ(editor->GetInsertionPoint(), 1);
    Key(editor, WXK_ESCAPE);
    EXPECT_EQ(m_grid->GetInPlaceEdit(), nullptr);
    EXPECT_EQ(m_grid->GetItemText(2, 2), "123");

    Key(m_grid, WXK_RETURN);
    editor = m_grid->GetInPlaceEdit();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), "123");
    EXPECT_EQ(editor->GetInsertionPoint(), 3);
    long from = 0;
    long to = 0;
    editor->GetSelection(&from, &to);
    EXPECT_EQ(from, to);
}

TEST_F(GridWindowTest, EscapeReportsItsKeyAndRestoresTheText)
{
    m_grid->SetItemText(2, 2, "123");
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '4');
    ASSERT_NE(m_grid->GetInPlaceEdit(), nullptr);
    Key(m_grid->GetInPlaceEdit(), '5');
    EXPECT_EQ(m_grid->GetInPlaceEdit()->GetValue(), "45");
    Key(m_grid->GetInPlaceEdit(), WXK_ESCAPE);
    EXPECT_EQ(m_grid->GetItemText(2, 2), "123");
    // Unchanged text: no end of edit reaches the owner.
    EXPECT_EQ(Count(GridNotifyEndEdit), 0);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(2, 2));
}

TEST_F(GridWindowTest, EditorReportsTheKeyThatEndedIt)
{
    struct Case {
        int wxKey;
        bool startedByClick;
        int reported;  // -1: the key does not end the edit
        const char* text;
    };
    const Case cases[] = {
        {WXK_ESCAPE, false, GridKeyEscape, "123"}, {WXK_RETURN, false, GridKeyReturn, "7"},
        {WXK_TAB, false, GridKeyTab, "7"},         {WXK_DOWN, false, GridKeyDown, "7"},
        {WXK_DOWN, true, -1, ""},                  {WXK_PAGEUP, false, GridKeyPageUp, "7"},
    };
    for (const Case& c : cases) {
        CGridEditRequest request;
        request.row = 2;
        request.col = 3;
        request.rect = CGridRect{10, 10, 89, 33};
        request.text = "123";
        request.firstChar = c.startedByClick ? static_cast<int>(GridKeyLButton) : '7';
        int reported = -1;
        std::string text;
        int ends = 0;
        auto* editor = new CGridInPlaceEdit(m_grid, request, [&](int, int, const std::string& t, int key) {
            reported = key;
            text = t;
            ++ends;
        });
        Key(editor, c.wxKey);
        EXPECT_EQ(reported, c.reported) << c.wxKey;
        if (c.reported >= 0) {
            EXPECT_EQ(text, c.text) << c.wxKey;
        }
        editor->EndEdit(0);
        EXPECT_EQ(ends, 1) << c.wxKey;
        editor->Destroy();
    }
}

TEST_F(GridWindowTest, TypingPastTheCellWidensTheEditorUpToTheGridsRightEdge)
{
    m_grid->SetFocusCell(2, 3);
    Key(m_grid, 'w');
    CGridInPlaceEdit* editor = m_grid->GetInPlaceEdit();
    ASSERT_NE(editor, nullptr);
    const wxRect start = editor->GetRect();
    editor->AppendText("wwwwwwwwww");
    const wxRect wider = editor->GetRect();
    EXPECT_GT(wider.width, start.width);
    EXPECT_LT(wider.GetRight(), m_grid->GetClientSize().x - 1);
    EXPECT_EQ(wider.x, start.x);
    editor->AppendText(wxString('w', 200));
    EXPECT_EQ(editor->GetRect().GetRight(), m_grid->GetClientSize().x - 1);
    editor->SetValue("w");
    EXPECT_EQ(editor->GetRect().width, m_grid->GetClientSize().x - start.x);
}

TEST_F(GridWindowTest, DownEndsTheEditOnceAndEditsTheCellBelow)
{
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '9');
    ASSERT_NE(m_grid->GetInPlaceEdit(), nullptr);
    Key(m_grid->GetInPlaceEdit(), WXK_DOWN);
    EXPECT_EQ(m_grid->GetItemText(2, 2), "9");
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(3, 2));
    ASSERT_NE(m_grid->GetInPlaceEdit(), nullptr);
    EXPECT_EQ(m_grid->GetEditCell(), CCellID(3, 2));
    // The focus moving elsewhere ends the second edit; the first is not ended again.
    m_grid->EndCellEdit();
    Pump();
    EXPECT_EQ(Count(GridNotifyEndEdit), 1);
    EXPECT_EQ(Count(GridNotifyBeginEdit), 2);
}

TEST_F(GridWindowTest, DestroyingTheGridWhileEditingIsClean)
{
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '1');
    ASSERT_NE(m_grid->GetInPlaceEdit(), nullptr);
    m_grid->Destroy();
    Pump();
    SDeleteWindow()(m_frame);
    m_frame = nullptr;
}

TEST_F(GridWindowTest, WheelTurnsScrollByLines)
{
    m_grid->SetRowCount(200);
    for (int row = 0; row < 200; ++row)
        m_grid->SetRowHeight(row, 20);
    m_grid->UpdateScrollBars();
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -240;
    wheel.m_wheelDelta = 120;
    wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    wheel.SetEventObject(m_grid);
    m_grid->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(m_grid->GetScrollPosition(SB_VERT), 6 * 20);
    EXPECT_EQ(m_grid->GetScrollPos(wxVERTICAL), 6 * 20);
}

TEST_F(GridWindowTest, HeaderClickSortsWhenEnabledAndTheOwnerHearsOfTheClick)
{
    m_grid->SetItemText(1, 2, "zz");
    m_grid->SetHeaderSort(true);
    int clicks = 0;
    m_frame->Bind(wxEVT_BUTTON, [&clicks](wxCommandEvent&) { ++clicks; });
    SendMouse(m_grid, wxEVT_LEFT_DOWN, wxPoint(180, 10));
    SendMouse(m_grid, wxEVT_LEFT_UP, wxPoint(180, 10));
    Pump();
    EXPECT_EQ(m_grid->GetItemText(9, 2), "zz");
    EXPECT_EQ(clicks, 1);
}

TEST_F(GridWindowTest, DraggingADividerResizesTheColumn)
{
    SendMouse(m_grid, wxEVT_MOTION, wxPoint(159, 10));
    SendMouse(m_grid, wxEVT_LEFT_DOWN, wxPoint(159, 10));
    wxMouseEvent drag(wxEVT_MOTION);
    drag.SetPosition(wxPoint(200, 10));
    drag.m_leftDown = true;
    m_grid->GetEventHandler()->ProcessEvent(drag);
    // The tracking band, two pixels wide over the whole height, lies over the cells until the release.
    const wxColour band = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    const wxSize client = m_grid->GetClientSize();
    auto painted = [this, client] {
        wxBitmap bitmap(client, 24);
        {
            wxMemoryDC dc(bitmap);
            m_grid->PaintTo(dc, wxRect(client));
        }
        return bitmap.ConvertToImage();
    };
    wxImage image = painted();
    EXPECT_EQ(CountColour(image, band, wxRect(200, 0, 2, client.y)), 2 * client.y);
    EXPECT_LT(CountColour(image, band, wxRect(202, 0, 1, client.y)), client.y / 2);
    SendMouse(m_grid, wxEVT_LEFT_UP, wxPoint(200, 10));
    EXPECT_EQ(m_grid->GetColumnWidth(1), 120);
    EXPECT_FALSE(m_grid->HasCapture());
    image = painted();
    EXPECT_LT(CountColour(image, band, wxRect(200, 0, 2, client.y)), client.y);
}

TEST_F(GridWindowTest, TitleTipForClippedCellsPassesClicksToTheCellBeneath)
{
    m_grid->SetItemText(2, 2, "a text much too long for eighty pixels");
    SendMouse(m_grid, wxEVT_MOTION, wxPoint(250, 60));
    EXPECT_TRUE(m_grid->GetTitleTip() == nullptr || !m_grid->GetTitleTip()->IsTipShown());
    SendMouse(m_grid, wxEVT_MOTION, wxPoint(170, 60));
    CClippedTextTip* tip = m_grid->GetTitleTip();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsTipShown());
    EXPECT_EQ(tip->GetText(), " a text much too long for eighty pixels ");

    if (ScreenshotsWanted()) {
        PumpFor(200);
        // From the screen: the tip is a window of its own above the grid.
        SaveScreenshot(ScreenArea(m_frame->GetScreenRect()), "grid_window");
    }

    // A click on the tip lands on the cell under it.
    ASSERT_NE(m_grid->GetFocusCell(), CCellID(2, 2));
    const wxPoint onTip = tip->ScreenToClient(m_grid->ClientToScreen(wxPoint(200, 60)));
    SendMouse(tip, wxEVT_LEFT_DOWN, onTip);
    SendMouse(tip, wxEVT_LEFT_UP, onTip);
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(2, 2));
}

TEST_F(GridWindowTest, TitleTipGoesWithAKeyAndWithThePointerLeavingGridAndTip)
{
    // The tip of the last column reaches beyond the grid's right edge.
    m_grid->SetItemText(2, 3, "a text much too long for eighty pixels, and longer still");
    m_grid->SetFocusCell(1, 1);
    auto showTip = [this] {
        SendMouse(m_grid, wxEVT_MOTION, wxPoint(250, 60));
        return m_grid->GetTitleTip() && m_grid->GetTitleTip()->IsTipShown();
    };
    ASSERT_TRUE(showTip());
    Key(m_grid, WXK_RIGHT);
    EXPECT_FALSE(m_grid->GetTitleTip()->IsTipShown());
    EXPECT_EQ(m_grid->GetFocusCell(), CCellID(1, 2));

    ASSERT_TRUE(showTip());
    CClippedTextTip* tip = m_grid->GetTitleTip();
    const wxRect gridRect = m_grid->GetScreenRect();
    const wxRect tipRect = tip->GetScreenRect();
    ASSERT_GT(tipRect.GetRight(), gridRect.GetRight());
    auto leave = [](wxWindow* from, const wxPoint& screen) {
        SendMouse(from, wxEVT_LEAVE_WINDOW, from->ScreenToClient(screen));
    };
    const wxPoint onTipBeyondGrid(tipRect.GetRight() - 3, tipRect.y + 3);
    const wxPoint aboveGrid(gridRect.x + 250, gridRect.y - 20);
    const wxPoint rightOfTip(tipRect.GetRight() + 20, tipRect.y + 3);
    // From the grid onto the tip, and from the tip back into the grid, it stays.
    leave(m_grid, onTipBeyondGrid);
    EXPECT_TRUE(tip->IsTipShown());
    leave(tip, wxPoint(gridRect.x + 250, tipRect.GetBottom() + 2));
    EXPECT_TRUE(tip->IsTipShown());
    // Off both, from either, it goes.
    leave(m_grid, aboveGrid);
    EXPECT_FALSE(tip->IsTipShown());
    ASSERT_TRUE(showTip());
    leave(tip, rightOfTip);
    EXPECT_FALSE(tip->IsTipShown());
}

namespace {

// Prints the grid into a PostScript file as a printer would; the file's text.
std::string PrintToFile(CGridWindow& grid, int& pages)
{
    const wxString path = wxFileName::CreateTempFileName("grid-print");
    wxPrintData data;
    data.SetFilename(path);
    data.SetPrintMode(wxPRINT_MODE_FILE);
    wxPostScriptDC dc(data);
    EXPECT_TRUE(dc.IsOk());
    CGridPrintout printout(grid);
    printout.SetDC(&dc);
    printout.SetPPIScreen(96, 96);
    const int ppi = dc.GetResolution();
    printout.SetPPIPrinter(ppi, ppi);
    int width = 0;
    int height = 0;
    dc.GetSize(&width, &height);
    printout.SetPageSizePixels(width, height);
    printout.SetPaperRectPixels(wxRect(0, 0, width, height));
    printout.OnPreparePrinting();
    int minPage = 0;
    int from = 0;
    int to = 0;
    printout.GetPageInfo(&minPage, &pages, &from, &to);
    dc.StartDoc("grid");
    for (int page = 1; page <= pages; ++page) {
        dc.StartPage();
        EXPECT_TRUE(printout.OnPrintPage(page));
        dc.EndPage();
    }
    dc.EndDoc();
    wxString text;
    wxFFile(path).ReadAll(&text);
    wxRemoveFile(path);
    return text.ToStdString();
}

}  // namespace

TEST_F(GridWindowTest, PrintingIntoAFileGivesOnePageWithItsFooter)
{
    int pages = 0;
    const std::string text = PrintToFile(*m_grid, pages);
    EXPECT_EQ(pages, 1);
    EXPECT_NE(text.find("Page 1 of 1"), std::string::npos);
    EXPECT_NE(text.find("9,3"), std::string::npos);

    if (ScreenshotsWanted()) {
        // The first page on a bitmap the size of a letter page at 96 dpi, to look at.
        wxBitmap paper(816, 1056, 24);
        wxMemoryDC dc(paper);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        CGridPrintout printout(*m_grid);
        printout.SetDC(&dc);
        printout.SetPPIScreen(96, 96);
        printout.SetPPIPrinter(96, 96);
        printout.SetPageSizePixels(816, 1056);
        printout.SetPaperRectPixels(wxRect(0, 0, 816, 1056));
        printout.OnPreparePrinting();
        printout.OnPrintPage(1);
        dc.SelectObject(wxNullBitmap);
        SaveScreenshot(paper, "grid_print");
    }
}

TEST_F(GridWindowTest, ARowTallerThanThePageIsPrintedOnAPageOfItsOwn)
{
    m_grid->SetRowHeight(5, 5000);
    int pages = 0;
    const std::string text = PrintToFile(*m_grid, pages);
    EXPECT_EQ(pages, 3);
    EXPECT_NE(text.find("5,2"), std::string::npos);
    EXPECT_NE(text.find("Page 3 of 3"), std::string::npos);
}

namespace {

CGridCellCombo* MakeCombo(CGridWindow& grid, int row, int col, bool dropDownList)
{
    grid.SetCellType(row, col, [] { return std::make_unique<CGridCellCombo>(); });
    auto* combo = dynamic_cast<CGridCellCombo*>(grid.GetCell(row, col));
    combo->SetOptions({"bar", "psi", "kPa", "a unit with a name far too long for any drop-down list"});
    combo->SetStyle(dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    grid.SetItemText(row, col, "psi");
    return combo;
}

}  // namespace

TEST_F(GridWindowTest, ComboCellChoosesAnOptionAndEndsOnce)
{
    MakeCombo(*m_grid, 2, 3, true);
    m_grid->SetFocusCell(2, 3);
    Key(m_grid, WXK_F2);
    CGridComboList* combo = m_grid->GetComboList();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetSelection(), 1);
    EXPECT_LE(combo->DropWidth(), CGridComboList::kMaxDropWidth);
    if (ScreenshotsWanted()) {
        m_frame->Refresh();
        m_frame->Update();
        PumpFor(300);
        SaveScreenshot(ScreenArea(m_frame->GetScreenRect()), "grid_combo");
    }
    ASSERT_TRUE(WaitFor([combo] { return combo->IsPopupShown(); }));
    EXPECT_LE(combo->GetPopupWindow()->GetSize().x, CGridComboList::kMaxDropWidth + 2);
    combo->SetSelection(2);
    combo->EndEdit(GridKeyReturn);
    combo->EndEdit(0);
    Pump();
    EXPECT_EQ(m_grid->GetItemText(2, 3), "kPa");
    EXPECT_EQ(Count(GridNotifyEndEdit), 1);
    EXPECT_EQ(m_grid->GetComboList(), nullptr);
}

TEST_F(GridWindowTest, ComboCellEscapeRestoresAndTypingReplacesTheText)
{
    MakeCombo(*m_grid, 2, 3, false);
    m_grid->SetFocusCell(2, 3);
    Key(m_grid, 'x');
    CGridComboList* combo = m_grid->GetComboList();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetValue(), "x");
    Key(combo, WXK_ESCAPE);
    Pump();
    EXPECT_EQ(m_grid->GetItemText(2, 3), "psi");
    EXPECT_EQ(Count(GridNotifyEndEdit), 0);
}

TEST_F(GridWindowTest, DestroyingTheGridWithItsListOpenOrAnEditJustEndedIsClean)
{
    MakeCombo(*m_grid, 2, 3, true);
    m_grid->SetFocusCell(2, 3);
    Key(m_grid, WXK_F2);
    CGridComboList* combo = m_grid->GetComboList();
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(WaitFor([combo] { return combo->IsPopupShown(); }));
    m_grid->Destroy();
    Pump();

    // An editor that has ended waits for the event loop to be deleted.
    m_grid = new CGridWindow(m_frame, wxID_ANY, wxDefaultPosition, wxSize(300, 200), 4, 4, 1, 1);
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '1');
    CGridInPlaceEdit* editor = m_grid->GetInPlaceEdit();
    ASSERT_NE(editor, nullptr);
    Key(editor, WXK_RETURN);
    EXPECT_EQ(m_grid->GetInPlaceEdit(), nullptr);
    m_grid->Destroy();
    Pump();
}

TEST_F(GridWindowTest, ComboCellShowsItsButtonWhereItMayBeEdited)
{
    MakeCombo(*m_grid, 1, 3, true);
    MakeCombo(*m_grid, 2, 3, true);
    m_grid->SetItemState(2, 3, CELLSTATE_READONLY);
    wxBitmap bitmap(400, 100, 24);
    {
        wxMemoryDC dc(bitmap);
        m_grid->PaintTo(dc, wxRect(0, 0, 400, 100));
    }
    const wxImage image = bitmap.ConvertToImage();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    EXPECT_GT(CountColour(image, face, wxRect(300, 24, 20, 24)), 20);
    EXPECT_EQ(CountColour(image, face, wxRect(300, 48, 20, 24)), 0);
}

namespace {

void PutOnClipboard(const wxString& text)
{
    wxClipboardLocker lock;
    ASSERT_TRUE(!!lock);
    ASSERT_TRUE(wxTheClipboard->SetData(new wxTextDataObject(text)));
}

bool CommandEnabled(wxWindow& window, int id)
{
    wxUpdateUIEvent state(id);
    state.SetEventObject(&window);
    window.GetEventHandler()->ProcessEvent(state);
    return state.GetEnabled();
}

void Command(wxWindow& window, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(&window);
    window.GetEventHandler()->ProcessEvent(command);
}

}  // namespace

TEST_F(GridWindowTest, EditMenuCommandsAreEnabledByTheGridAndCarriedOut)
{
    PutOnClipboard("p");
    m_grid->SetFocusCell(2, 2);
    EXPECT_FALSE(CommandEnabled(*m_grid, wxID_COPY));
    EXPECT_FALSE(CommandEnabled(*m_grid, wxID_CUT));
    EXPECT_TRUE(CommandEnabled(*m_grid, wxID_PASTE));
    EXPECT_TRUE(CommandEnabled(*m_grid, wxID_SELECTALL));
    MakeReadOnly();
    EXPECT_FALSE(CommandEnabled(*m_grid, wxID_PASTE));

    Command(*m_grid, wxID_SELECTALL);
    EXPECT_EQ(m_grid->GetSelectedCount(), 9 * 3);
    EXPECT_EQ(Count(GridNotifySelChanging), 1);
    EXPECT_EQ(Count(GridNotifySelChanged), 1);
    EXPECT_TRUE(CommandEnabled(*m_grid, wxID_COPY));
    Command(*m_grid, wxID_COPY);
    wxClipboardLocker lock;
    ASSERT_TRUE(!!lock);
    wxTextDataObject data;
    ASSERT_TRUE(wxTheClipboard->GetData(data));
    EXPECT_TRUE(data.GetText().StartsWith("1,1\t1,2\t1,3\n2,1"));
}

TEST_F(GridWindowTest, PasteWhileEditingPutsTheClipboardIntoTheEditor)
{
    PutOnClipboard("42");
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '7');
    CGridInPlaceEdit* editor = m_grid->GetInPlaceEdit();
    ASSERT_NE(editor, nullptr);
    Command(*m_grid, wxID_PASTE);
    EXPECT_TRUE(WaitFor([editor] { return editor->GetValue() == "742"; })) << editor->GetValue();
    EXPECT_EQ(m_grid->GetItemText(2, 2), "2,2");
    EXPECT_EQ(m_grid->GetInPlaceEdit(), editor);
    Key(editor, WXK_RETURN);
    EXPECT_EQ(m_grid->GetItemText(2, 2), "742");
}

TEST_F(GridWindowTest, InPlaceEditHasItsBorder)
{
    m_grid->SetFocusCell(2, 2);
    Key(m_grid, '7');
    CGridInPlaceEdit* editor = m_grid->GetInPlaceEdit();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetWindowStyleFlag() & wxBORDER_MASK, static_cast<long>(wxBORDER_SIMPLE));
    if (ScreenshotsWanted()) {
        PumpFor(200);
        SaveScreenshot(ScreenArea(m_frame->GetScreenRect()), "grid_edit");
    }
}

TEST_F(GridWindowTest, AFontForTheWindowIsTheFontOfCellsWithoutTheirOwn)
{
    const int height = m_grid->GetDefaultCell(false, false)->GetHeight();
    const wxFont larger = m_grid->GetFont().Scaled(2.0f);
    m_grid->SetFont(larger);
    // New rows take the height of the larger font.
    EXPECT_GT(m_grid->GetDefaultCell(false, false)->GetHeight(), height * 3 / 2);
    EXPECT_GT(m_grid->GetDefaultCell(true, true)->GetHeight(), height * 3 / 2);
    const int row = m_grid->InsertRow("new");
    EXPECT_EQ(m_grid->GetRowHeight(row), m_grid->GetDefaultCell(false, true)->GetHeight());
}

TEST_F(GridWindowTest, TitleTipIsInTheFontOfItsCell)
{
    m_grid->SetItemText(2, 2, "a text much too long for eighty pixels");
    CGridFont bold;
    bold.weight = 700;
    m_grid->SetItemFont(2, 2, &bold);
    SendMouse(m_grid, wxEVT_MOTION, wxPoint(170, 60));
    CClippedTextTip* tip = m_grid->GetTitleTip();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsTipShown());
    EXPECT_EQ(tip->GetFont().GetNumericWeight(), 700);
    // As wide as the text is in bold, so none of it is cut off again.
    const wxFont boldFont = m_grid->GetFont().Bold();
    int width = 0;
    int height = 0;
    tip->GetTextExtent(tip->GetText(), &width, &height, nullptr, nullptr, &boldFont);
    EXPECT_GE(tip->GetSize().x, width);
}

TEST_F(GridWindowTest, ComboCellGivesItsEditPartAndMeasuresTheListAtEachDropDown)
{
    CGridCellCombo* cell = MakeCombo(*m_grid, 2, 3, false);
    cell->SetOptions({"bar", "kilopascal gauge"});
    m_grid->SetFocusCell(2, 3);
    Key(m_grid, WXK_F2);
    CGridComboList* combo = m_grid->GetComboList();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(cell->GetEditWnd(), static_cast<IGridEditor*>(combo));
    ASSERT_TRUE(WaitFor([combo] { return combo->IsPopupShown(); }));
    const int narrow = combo->GetPopupWindow()->GetSize().x;
    combo->Dismiss();
    combo->SetFont(combo->GetFont().Scaled(1.5f));
    combo->Popup();
    ASSERT_TRUE(WaitFor([combo] { return combo->IsPopupShown(); }));
    EXPECT_GT(combo->GetPopupWindow()->GetSize().x, narrow);
    combo->EndEdit(GridKeyEscape);
    Pump();

    // A list that takes only its options has nothing to type or paste into.
    MakeCombo(*m_grid, 1, 3, true);
    m_grid->SetFocusCell(1, 3);
    Key(m_grid, WXK_F2);
    ASSERT_NE(m_grid->GetComboList(), nullptr);
    EXPECT_EQ(m_grid->GetCell(1, 3)->GetEditWnd(), nullptr);
}

namespace {

// Single lines the PostScript strokes (a move, one line, a stroke), by direction; the outlines
// and fills of cells and clip areas are paths of several lines.
struct CPrintedLines {
    int horizontal = 0;
    int vertical = 0;
};

CPrintedLines CountLines(const std::string& postScript)
{
    CPrintedLines lines;
    std::istringstream in(postScript);
    std::vector<std::string> text;
    for (std::string line; std::getline(in, line);)
        text.push_back(line);
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        double x1 = 0;
        double y1 = 0;
        double x2 = 0;
        double y2 = 0;
        char move[16] = {};
        char draw[16] = {};
        if (std::sscanf(text[i].c_str(), "%lf %lf %15s", &x1, &y1, move) != 3 || std::string(move) != "moveto" ||
            std::sscanf(text[i + 1].c_str(), "%lf %lf %15s", &x2, &y2, draw) != 3 || std::string(draw) != "lineto" ||
            text[i + 2] != "stroke")
            continue;
        if (x1 == x2 && y1 != y2)
            ++lines.vertical;
        else if (y1 == y2 && x1 != x2)
            ++lines.horizontal;
    }
    return lines;
}

}  // namespace

TEST_F(GridWindowTest, PrintedGridLinesFollowTheLineSetting)
{
    int pages = 0;
    const CPrintedLines none = (m_grid->SetGridLineStyle(GVL_NONE), CountLines(PrintToFile(*m_grid, pages)));
    const CPrintedLines horizontal = (m_grid->SetGridLineStyle(GVL_HORZ), CountLines(PrintToFile(*m_grid, pages)));
    const CPrintedLines vertical = (m_grid->SetGridLineStyle(GVL_VERT), CountLines(PrintToFile(*m_grid, pages)));
    const CPrintedLines both = (m_grid->SetGridLineStyle(GVL_BOTH), CountLines(PrintToFile(*m_grid, pages)));
    // The header's line below it and the footer's above it are there in every case.
    EXPECT_EQ(none.vertical, 0);
    EXPECT_EQ(horizontal.vertical, 0);
    EXPECT_GT(horizontal.horizontal, none.horizontal + 40);
    EXPECT_EQ(vertical.horizontal, none.horizontal);
    EXPECT_GT(vertical.vertical, 40);
    EXPECT_EQ(both.vertical, vertical.vertical);
    EXPECT_EQ(both.horizontal, horizontal.horizontal);
}

TEST_F(GridWindowTest, PrintedHeaderIsTitledByTheFirstWindowOutwardsWithAText)
{
    m_frame->SetTitle("Line schedule");
    auto* panel = new wxPanel(m_frame);
    auto* grid = new CGridWindow(panel, wxID_ANY, wxDefaultPosition, wxSize(300, 200), 3, 3, 1, 1);
    int pages = 0;
    EXPECT_NE(PrintToFile(*grid, pages).find("Line schedule"), std::string::npos);
}

TEST_F(GridWindowTest, AColumnWiderThanThePagePrintsOnAStripOfItsOwn)
{
    m_grid->SetWysiwygPrinting(true);
    m_grid->SetColumnWidth(2, 3000);
    int pages = 0;
    const std::string text = PrintToFile(*m_grid, pages);
    EXPECT_EQ(pages, 3);
    for (const char* cell : {"5,1", "5,2", "5,3"})
        EXPECT_NE(text.find(cell), std::string::npos) << cell;
    EXPECT_NE(text.find("Page 3 of 3"), std::string::npos);
}
