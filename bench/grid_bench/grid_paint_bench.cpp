// Painting a 100,000-row virtual grid into a memory DC of 1280 x 1024, against the same data in
// wxGrid over a virtual table. Target: a full paint under 16 ms whatever the row count. Also the
// time to set 100,000 row heights one by one in a shown grid. Needs a display (run it under
// xvfb-run).
#include "grid/window/GridNotifyEvent.h"
#include "grid/window/GridWindow.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/grid.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kColumns = 12;
constexpr int kRowHeight = 22;
constexpr int kColumnWidth = 100;
constexpr int kPaints = 60;
const wxSize kArea(1280, 1024);

std::string CellText(int row, int col)
{
    if (row == 0)
        return "Column " + std::to_string(col);
    return col == 0 ? std::to_string(row) : std::to_string(row * 31 + col * 7) + "." + std::to_string(col);
}

// The same cell texts for wxGrid.
class CBenchTable : public wxGridTableBase {
public:
    explicit CBenchTable(int rows) : m_rows(rows) {}
    int GetNumberRows() override { return m_rows; }
    int GetNumberCols() override { return kColumns; }
    wxString GetValue(int row, int col) override { return CellText(row + 1, col); }
    void SetValue(int, int, const wxString&) override {}

private:
    int m_rows;
};

// Mean milliseconds of one full paint of our grid scrolled to the middle.
double PaintGrid(wxFrame* frame, int rows)
{
    auto* grid = new CGridWindow(frame, wxID_ANY, wxDefaultPosition, kArea);
    grid->SetVirtualMode(true);
    grid->SetColumnCount(kColumns);
    grid->SetRowCount(rows + 1);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int col = 0; col < kColumns; ++col)
        grid->SetColumnWidth(col, kColumnWidth);
    for (int row = 0; row <= rows; ++row)
        grid->SetRowHeight(row, kRowHeight);
    grid->Bind(EVT_GRIDCTRL_NOTIFY, [](CGridNotifyEvent& event) {
        if (GridItemInfo* info = event.GetItemInfo())
            info->strText = CellText(info->row, info->col);
    });
    grid->UpdateScrollBars();
    grid->SetScrollPosition(SB_VERT, rows / 2 * kRowHeight);

    wxBitmap bitmap(kArea);
    wxMemoryDC dc(bitmap);
    grid->PaintTo(dc, wxRect(kArea));
    const auto start = Clock::now();
    for (int i = 0; i < kPaints; ++i)
        grid->PaintTo(dc, wxRect(kArea));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kPaints;
    grid->Destroy();
    return ms;
}

// Milliseconds to set the height of every row of a shown grid one by one, with drawing on (every
// call sets the scroll bars) or off around the loop (they are set once when drawing resumes).
double SetRowHeights(wxFrame* frame, int rows, bool drawingOff)
{
    auto* grid = new CGridWindow(frame, wxID_ANY, wxDefaultPosition, kArea, rows + 1, kColumns, 1, 1);
    const auto start = Clock::now();
    if (drawingOff)
        grid->SetRedraw(false);
    for (int row = 0; row <= rows; ++row)
        grid->SetRowHeight(row, kRowHeight + row % 3);
    if (drawingOff)
        grid->SetRedraw(true);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (grid->GetScrollMax(SB_VERT) <= 0)
        std::printf("no vertical scroll range after setting the heights\n");
    grid->Destroy();
    return ms;
}

// The same in wxGrid: labels and the visible cells into a memory DC (its grid lines it draws only
// onto its own window, so they are left out here: wxGrid gets the lighter job).
double PaintWxGrid(wxFrame* frame, int rows)
{
    auto* grid = new wxGrid(frame, wxID_ANY, wxDefaultPosition, kArea);
    grid->SetTable(new CBenchTable(rows), true);
    grid->SetDefaultRowSize(kRowHeight, true);
    grid->SetDefaultColSize(kColumnWidth, true);
    grid->SetRowLabelSize(kColumnWidth);
    grid->SetColLabelSize(kRowHeight);

    const int first = rows / 2;
    const int visible = kArea.y / kRowHeight;
    wxGridCellCoordsArray cells;
    wxArrayInt shownRows;
    wxArrayInt shownCols;
    for (int row = first; row < first + visible && row < rows; ++row) {
        shownRows.Add(row);
        for (int col = 0; col < kColumns - 1; ++col)
            cells.Add(wxGridCellCoords(row, col));
    }
    for (int col = 0; col < kColumns - 1; ++col)
        shownCols.Add(col);

    wxBitmap bitmap(kArea);
    wxMemoryDC dc(bitmap);
    auto paint = [&] {
        dc.SetDeviceOrigin(0, -first * kRowHeight);
        grid->DrawGridCellArea(dc, cells);
        grid->DrawRowLabels(dc, shownRows);
        dc.SetDeviceOrigin(0, 0);
        grid->DrawColLabels(dc, shownCols);
    };
    paint();
    const auto start = Clock::now();
    for (int i = 0; i < kPaints; ++i)
        paint();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kPaints;
    grid->Destroy();
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    wxTheApp->CallOnInit();
    auto* frame = new wxFrame(nullptr, wxID_ANY, "grid paint", wxDefaultPosition, kArea + wxSize(40, 40));
    frame->Show();

    const double large = PaintGrid(frame, 100000);
    const double small = PaintGrid(frame, 1000);
    const double wx = PaintWxGrid(frame, 100000);
    std::printf("paint 100,000-row virtual grid, 1280 x 1024: %8.2f ms (target < 16)\n", large);
    std::printf("  the same on 1,000 rows:                    %8.2f ms\n", small);
    std::printf("wxGrid over a virtual table, same data:      %8.2f ms\n", wx);
    std::printf("ratio ours / wxGrid:                         %8.2f\n", wx > 0 ? large / wx : 0.0);
    std::printf("100,000 row heights one by one, drawing off: %8.1f ms\n", SetRowHeights(frame, 100000, true));
    std::printf("  the same with drawing on:                  %8.1f ms\n", SetRowHeights(frame, 100000, false));
    frame->Destroy();
    wxEntryCleanup();
    return 0;
}
