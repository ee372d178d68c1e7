// Figures of the grid core on a large grid. Targets: a sort under 150 ms, a visible-range
// computation per scroll step under 50 µs whatever the row count, the export under 200 ms.
#include "grid/GridCtrl.h"
#include "grid/GridPort.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A window of 1000 x 800 pixels that ignores what it is told.
class CBenchPort : public IGridPort {
public:
    CGridSize GetClientSize() override { return {1000, 800}; }
    CGridScrollMetrics GetScrollMetrics() override { return {16, 16, 1, 1}; }
    void Invalidate(const CGridRect&) override {}
    void InvalidateAll() override {}
    void ShowScrollBar(int, bool) override {}
    void SetScrollRange(int, int, int) override {}
    void SetScrollPos(int, int) override {}
    void SetCapture(bool) override {}
    void StartTimer(int) override {}
    void StopTimer() override {}
    void StartEditor(const CGridEditRequest&) override {}
    void TypeIntoEditor(unsigned) override {}
    void EndEditor() override {}
    void ShowTitleTip(const CGridRect&, const std::string&, const CGridFont*) override {}
    void HideTitleTip() override {}
    long NotifyOwner(int, int, int) override { return 0; }
    void RequestDisplayInfo(GridItemInfo&) override {}
    void SendCacheHint(const CCellRange&) override {}
};

constexpr int kColumns = 10;

void Fill(CGridCtrl& grid, int rows)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> number(0, 1000000);
    std::uniform_int_distribution<int> letter('a', 'z');
    grid.SetColumnCount(kColumns);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRowCount(1);
    for (int col = 0; col < kColumns; ++col)
        grid.SetItemText(0, col, "Column " + std::to_string(col));
    for (int row = 1; row <= rows; ++row) {
        grid.SetItemText(row, 0, std::to_string(number(random)));
        std::string word;
        for (int i = 0; i < 8; ++i)
            word += static_cast<char>(letter(random));
        grid.SetItemText(row, 1, word);
        for (int col = 2; col < kColumns; ++col)
            grid.SetItemText(row, col, std::to_string(row * col));
    }
}

// Mean time of one scroll step and its visible range over the whole height, in µs.
double ScrollStepMicroseconds(CGridCtrl& grid)
{
    constexpr int kSteps = 20000;
    const int max = grid.GetScrollMax(SB_VERT);
    long checksum = 0;
    const auto start = Clock::now();
    for (int step = 0; step < kSteps; ++step) {
        grid.SetScrollPosition(SB_VERT, static_cast<int>(static_cast<long long>(max) * step / kSteps));
        const CCellRange range = grid.GetVisibleCellRange();
        checksum += range.GetMaxRow() - range.GetMinRow();
    }
    const double us = MillisecondsSince(start) * 1000.0 / kSteps;
    if (checksum < 0)
        std::printf("impossible\n");
    return us;
}

}  // namespace

int main()
{
    CBenchPort port;
    CGridCtrl grid;
    grid.SetPort(&port);

    auto start = Clock::now();
    Fill(grid, 100000);
    std::printf("build 100,000 x %d grid:          %8.1f ms\n", kColumns, MillisecondsSince(start));

    start = Clock::now();
    grid.SortWithFunction(CGridCtrl::CompareCellNumbers, 0, true);
    std::printf("sort by numeric column:           %8.1f ms (target < 150)\n", MillisecondsSince(start));
    start = Clock::now();
    grid.SortByText(1, true);
    std::printf("sort by text column:              %8.1f ms (target < 150)\n", MillisecondsSince(start));
    start = Clock::now();
    grid.SortByText(1, false);
    std::printf("sort sorted rows the other way:   %8.1f ms (target < 150)\n", MillisecondsSince(start));

    std::printf("visible range per scroll step:    %8.2f us (target < 50)\n", ScrollStepMicroseconds(grid));
    CGridCtrl small;
    small.SetPort(&port);
    Fill(small, 1000);
    std::printf("  the same on 1,000 rows:         %8.2f us\n", ScrollStepMicroseconds(small));

    start = Clock::now();
    const std::string text = grid.SaveAsTextString('\t');
    std::printf("export as text (in memory):       %8.1f ms, %zu bytes (target < 200)\n", MillisecondsSince(start),
                text.size());
    // Imports: the export read back, and one column of 100,000 lines without a separator.
    start = Clock::now();
    CGridCtrl loaded;
    loaded.SetPort(&port);
    loaded.LoadFromTextString(text, '\t');
    std::printf("import of the export:             %8.1f ms\n", MillisecondsSince(start));
    std::string column;
    for (int row = 0; row < 100000; ++row)
        column += std::to_string(row) + "\n";
    start = Clock::now();
    loaded.LoadFromTextString(column, '\t');
    std::printf("import of one column:             %8.1f ms\n", MillisecondsSince(start));

    char path[] = "/tmp/grid_bench_XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0) {
        close(fd);
        start = Clock::now();
        std::string error;
        const bool saved = grid.SaveAsText(path, '\t', &error);
        std::printf("export as text file:              %8.1f ms%s%s\n", MillisecondsSince(start),
                    saved ? "" : ", failed: ", error.c_str());
        std::remove(path);
    }
    return 0;
}
