#include "GridTestSupport.h"

#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Rows(const CGridCtrl& grid)
{
    std::vector<std::string> rows;
    for (int row = 0; row < grid.GetRowCount(); ++row)
        rows.push_back(RowTexts(grid, row));
    return rows;
}

}  // namespace

TEST(GridTextFileTest, SavedGridLoadsBackTheSame)
{
    CTemporaryFolder folder;
    CGridFixture f;
    f.grid.SetRowCount(3);
    f.grid.SetColumnCount(3);
    f.grid.SetFixedRowCount(1);
    const char* texts[3][3] = {{"h1", "h2", "h3"}, {"a", "", "c"}, {"1.5", "x y", ""}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            f.grid.SetItemText(row, col, texts[row][col]);

    const std::string path = folder.Path("grid.txt");
    std::string error;
    ASSERT_TRUE(f.grid.SaveAsText(path, ',', &error)) << error;
    EXPECT_EQ(ReadWholeFile(path), "h1,h2,h3\na,,c\n1.5,x y,\n");

    CGridFixture loaded;
    ASSERT_TRUE(loaded.grid.LoadFromText(path, ',', &error)) << error;
    EXPECT_EQ(Rows(loaded.grid), Rows(f.grid));
    EXPECT_EQ(loaded.grid.GetFixedRowCount(), 0);
    EXPECT_EQ(loaded.grid.GetItemFormat(0, 0), static_cast<std::uint32_t>(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    // Columns are sized to their widest text with the default style.
    EXPECT_EQ(loaded.grid.GetColumnWidth(1), 3 * 7 + 4 * 7);
}

TEST(GridTextFileTest, LinesAndFieldsAsWritten)
{
    const std::string longText(3000, 'w');
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"headings and one row", "h1,h2\nx,y\n", {"h1|h2", "x|y"}},
        {"last line without a line end", "h1,h2\nx,y", {"h1|h2", "x|y"}},
        {"double separator", "a,b,c\n1,,3\n", {"a|b|c", "1||3"}},
        {"trailing separator", "a,b\n1,\n", {"a|b", "1|"}},
        {"empty line", "a,b\n\n2,3\n", {"a|b", "|", "2|3"}},
        {"fields beyond the headings are dropped", "a\n1,2,3\n", {"a", "1"}},
        {"missing fields stay empty", "a,b,c\n1\n", {"a|b|c", "1||"}},
        {"carriage returns of DOS files", "a,b\r\n1,2\r\n", {"a|b", "1|2"}},
        {"one long line is one row", "a,b\n" + longText + ",z\n", {"a|b", longText + "|z"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        CGridFixture f;
        ASSERT_TRUE(f.grid.LoadFromTextString(c.file, ',')) << c.name;
        EXPECT_EQ(Rows(f.grid), c.rows) << c.name;
        EXPECT_EQ(f.grid.GetFixedRowCount(), 0) << c.name;
    }
}

TEST(GridTextFileTest, SeparatorsAndLineBreaksInTextsAreNotQuoted)
{
    CGridFixture f;
    f.grid.SetRowCount(2);
    f.grid.SetColumnCount(2);
    f.grid.SetItemText(1, 0, "1,5");
    f.grid.SetItemText(1, 1, "two\nlines");
    EXPECT_EQ(f.grid.SaveAsTextString(','), ",\n1,5,two\nlines\n");
    EXPECT_EQ(f.grid.SaveAsTextString('\t'), "\t\n1,5\ttwo\nlines\n");
}

TEST(GridTextFileTest, FailuresLeaveGridAndFileAlone)
{
    CTemporaryFolder folder;
    CGridFixture f;
    f.grid.SetRowCount(2);
    f.grid.SetColumnCount(2);
    f.grid.SetItemText(1, 1, "keep");
    std::string error;
    EXPECT_FALSE(f.grid.LoadFromText(folder.Path("missing.txt"), ',', &error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
    EXPECT_EQ(f.grid.GetItemText(1, 1), "keep");

    error.clear();
    EXPECT_FALSE(f.grid.SaveAsText(folder.Path("no/such/folder/grid.txt"), ',', &error));
    EXPECT_FALSE(error.empty());

    const std::string path = folder.Path("old.txt");
    WriteWholeFile(path, "a,b\n");
    CGridFixture virtualGrid;
    virtualGrid.grid.SetVirtualMode(true);
    EXPECT_FALSE(virtualGrid.grid.LoadFromText(path, ',', &error));
    EXPECT_FALSE(virtualGrid.grid.LoadFromTextString("a,b\n", ','));
}
