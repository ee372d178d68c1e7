#include "Pagewright/Report.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"
#include "support/LargeReports.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

const char kTemplate[] = R"(<report>
  <page><text x="0" y="0" width="100" height="50" fontname="F">first</text></page>
  <page>
    <table x="100" y="200" width="400" height="HEIGHT" rowheight="5" multipage="TRUE" name="T">
      <column name="C" width="200"><text>$COLUMN_VARIABLE</text></column>
      <column name="D" width="200"><text>$COLUMN_VARIABLE</text></column>
    </table>
  </page>
  <font fontname="F" typeface="Arial" fontsize="10pt"/>
</report>)";

std::string TemplateWithTableHeight(const std::string& height)
{
    std::string text = kTemplate;
    text.replace(text.find("HEIGHT"), 6, height);
    return text;
}

const CReportTable& TableOf(const CReportPage& page)
{
    return dynamic_cast<const CReportTable&>(*page.elements.at(0));
}

TEST(ReportPagination, MultipageTableSpreadsItsRowsOverPages)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromString(TemplateWithTableHeight("25")));
    for (int row = 1; row <= 20; ++row)
        document.SetVariable("T.C." + std::to_string(row), "c");
    for (int row = 1; row <= 7; ++row)
        document.SetVariable("T.D." + std::to_string(row), "d");
    document.Paginate();
    ASSERT_EQ(document.GetPageCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(document.GetPage(i)->sortorder, i + 1);
        EXPECT_EQ(document.GetPage(i)->id, i + 1);
        EXPECT_EQ(document.GetPage(i)->document, &document);
    }
    EXPECT_EQ(TableOf(*document.GetPage(1)).firstRow, 0);
    EXPECT_EQ(TableOf(*document.GetPage(2)).firstRow, 5);  // the second table page starts at row 6
    EXPECT_EQ(TableOf(*document.GetPage(4)).firstRow, 15);
    EXPECT_EQ(TableOf(*document.GetTemplatePages()[1]).firstRow, 0);
    EXPECT_EQ(document.GetPage(5), nullptr);
    EXPECT_EQ(document.GetPage(-1), nullptr);

    // Output pages are rebuilt from the templates, with their elements on the copy.
    document.Paginate();
    ASSERT_EQ(document.GetPageCount(), 5);
    const CReportTable& table = TableOf(*document.GetPage(3));
    EXPECT_EQ(table.owner, document.GetPage(3));
    EXPECT_EQ(table.columns[0]->owner, document.GetPage(3));
    EXPECT_EQ(table.columns[0]->prototype->owner, document.GetPage(3));
}

TEST(ReportPagination, TableLowerThanOneRowStaysOnOnePage)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromString(TemplateWithTableHeight("4")));
    document.SetVariable("T.C.20", "c");
    document.Paginate();
    EXPECT_EQ(document.GetPageCount(), 2);
    EXPECT_EQ(TableOf(*document.GetPage(1)).GetRowsPerPage(), 0);
}

TEST(ReportPagination, CellsOfAPageAndTheirVariables)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromString(TemplateWithTableHeight("15")));
    document.SetVariable("T.C.4", "four");
    document.Paginate();
    const CReportTable& table = TableOf(*document.GetPage(2));
    EXPECT_EQ(table.GetRowsPerPage(), 3);
    const SReportRect cell = table.GetCellRect(0, 1);
    EXPECT_EQ(cell.left, 300);
    EXPECT_EQ(cell.top, 200);
    EXPECT_EQ(cell.right, 500);
    EXPECT_EQ(cell.bottom, 205);

    bool borders = false;
    const int row = table.firstRow + 1;  // the first row of the second page is row 4
    std::unique_ptr<CReportElement> made = table.columns[0]->MakeCell(table.GetCellRect(0, 0), table.name, row, borders);
    const auto& text = dynamic_cast<const CReportText&>(*made);
    EXPECT_EQ(text.content, "$T.C.4");
    EXPECT_EQ(text.GetDisplayText(), "four");
    EXPECT_TRUE(borders);
}

TEST(ReportPagination, AppendAddsPagesFontsAndVariables)
{
    CReport first;
    ASSERT_TRUE(first.LoadFromString(TemplateWithTableHeight("25")));
    first.SetVariable("A", "mine");
    CReport second;
    ASSERT_TRUE(second.LoadFromString(R"(<report><page/><font fontname="F" typeface="Other"/>
        <font fontname="G" typeface="Courier"/></report>)"));
    second.SetVariable("A", "theirs");
    second.SetVariable("B", "b");
    second.SetVariable("T.C.30", "x");

    EXPECT_TRUE(first.Append(second, false));
    ASSERT_EQ(first.GetTemplatePages().size(), 3u);
    EXPECT_EQ(first.GetTemplatePages()[2]->document, &first);
    ASSERT_EQ(first.GetFonts().size(), 2u);
    EXPECT_EQ(first.FindFont("F")->typeface, "Arial");
    EXPECT_EQ(first.FindFont("G")->typeface, "Courier");
    EXPECT_EQ(first.GetVariable("A"), "mine");
    EXPECT_EQ(first.GetVariable("B"), "b");
    EXPECT_EQ(first.GetRowCount("T.C"), 0);  // row counts are not taken over
    EXPECT_EQ(first.GetPageCount(), 3);

    first.Append(second, true);
    EXPECT_EQ(first.GetVariable("A"), "theirs");

    first.Append(first, false);
    EXPECT_EQ(first.GetTemplatePages().size(), 8u);
}

// A page of one table, 2970 rows of 1 unit, with the columns given.
std::string TableOfColumns(int columns, const std::string& column)
{
    std::string text = "<report><page><table width='2100' height='2970' rowheight='1' multipage='TRUE' name='T'>";
    for (int i = 0; i < columns; ++i)
        text += column;
    return text + "</table></page></report>";
}

// What is drawn is counted over all output pages, table cells and what they show included, a
// long text once more for every 256 bytes; a document beyond either bound gets no pages at all.
TEST(ReportPagination, DocumentsBeyondThePageOrDrawingBoundGetNoPages)
{
    const std::string empty = "<column width='10' name='C'/>";
    const std::string text = "<column width='10' name='C'><text>$COLUMN_VARIABLE</text></column>";
    const std::string longText =
        "<column width='10' name='C'><text>" + std::string(256, 'x') + "$COLUMN_VARIABLE</text></column>";
    const struct {
        const char* name;
        std::string report;
        int rows;  // of column T.C
        int pages;  // 0: refused
    } cases[] = {
        // Each of the 999 rows of T.C a page of its own, after the first page: 1000 pages.
        {"1000 pages", TemplateWithTableHeight("5"), 999, 1000},
        {"1001 pages", TemplateWithTableHeight("5"), 1000, 0},
        // One table and 2970 cells per column: 1 + 67 * 2970 = 198991 elements.
        {"67 empty columns", TableOfColumns(67, empty), 0, 1},
        {"68 empty columns", TableOfColumns(68, empty), 0, 0},
        // A cell and its text: 1 + 33 * 2970 * 2 = 196021.
        {"33 columns of text", TableOfColumns(33, text), 0, 1},
        {"34 columns of text", TableOfColumns(34, text), 0, 0},
        // A text of 256 bytes or more weighs one more: 1 + 22 * 2970 * 3 = 196021.
        {"22 columns of long text", TableOfColumns(22, longText), 0, 1},
        {"23 columns of long text", TableOfColumns(23, longText), 0, 0},
        // Each page draws as much: 33 pages of 1 + 2970 * 2 = 5941 elements are 196053.
        {"33 pages of a column of text", TableOfColumns(1, text), 33 * 2970, 33},
        {"34 pages of a column of text", TableOfColumns(1, text), 34 * 2970, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CReport document;
        ASSERT_TRUE(document.LoadFromString(c.report));
        if (c.rows > 0) {
            // Pages of an earlier pagination go as well.
            ASSERT_TRUE(document.Paginate());
            EXPECT_GT(document.GetPageCount(), 0);
            document.SetVariable("T.C." + std::to_string(c.rows), "last");
        }
        EXPECT_EQ(document.Paginate(), c.pages > 0);
        EXPECT_EQ(document.GetPageCount(), c.pages);
    }
}

// The largest documents a template can ask for are refused in about the time the bounds allow:
// 150 pages 10 m high, each a table of 1-unit rows (15 million cells); a page of tables nested
// 300 and 999 levels deep, one in each cell of the level above.
TEST(ReportPagination, HugeDocumentsAreRefusedAtOnce)
{
    const struct {
        const char* name;
        std::string report;
    } cases[] = {{"150 high pages", TallTablePagesReport(150, "Arial")},
                 {"300 nested tables", NestedTablesReport(300)},
                 {"999 nested tables", NestedTablesReport(999)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CReport document;
        ASSERT_TRUE(document.LoadFromString(c.report));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(document.Paginate());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(document.GetPageCount(), 0);
    }
}

// A table nested in a column is shown by each of its cells; the cells share the nested table's
// columns, and drawing them never copies the levels below.
TEST(ReportPagination, CellsOfANestedTableShareItsColumns)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromString(
        "<report><page><table x='100' y='200' width='1000' height='100' rowheight='50' name='T'>"
        "<column width='600' name='C' cellspacing='5;10;5;10'><table height='100' rowheight='20' name='N'>"
        "<column width='300' name='D'><text>$COLUMN_VARIABLE</text></column></table></column></table></page></report>"));
    ASSERT_TRUE(document.Paginate());
    const CReportTable& outer = TableOf(*document.GetPage(0));
    const auto& nested = dynamic_cast<const CReportTable&>(*outer.columns[0]->prototype);
    std::vector<int> rows;
    outer.ForEachCell([&](const CReportColumn& column, const SReportRect& cell, int row) -> bool {
        rows.push_back(row);
        EXPECT_EQ(&column, outer.columns[0].get());
        bool borders = true;
        const std::unique_ptr<CReportElement> made = column.MakeCell(cell, outer.name, row, borders);
        const auto& table = dynamic_cast<const CReportTable&>(*made);
        EXPECT_FALSE(borders);
        // Moved into the cell less its spacing, and fitted into it: two rows of 20 in 40.
        EXPECT_EQ(table.x, 110);
        EXPECT_EQ(table.y, cell.top + 5);
        EXPECT_EQ(table.width, 580);
        EXPECT_EQ(table.height, 40);
        EXPECT_EQ(table.GetRowsPerPage(), 2);
        EXPECT_EQ(table.columns, nested.columns);
        // One element for the table, and a cell and its text for each of its two rows.
        EXPECT_EQ(table.CountDrawn(100), 5);
        return true;
    });
    EXPECT_EQ(rows, (std::vector<int>{1, 2}));
    // A page's own copy has columns of its own.
    EXPECT_NE(TableOf(*document.GetTemplatePages()[0]).columns[0], outer.columns[0]);
}

}  // namespace
