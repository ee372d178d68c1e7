#include "Pagewright/Report.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"

#include <gtest/gtest.h>

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

}  // namespace
