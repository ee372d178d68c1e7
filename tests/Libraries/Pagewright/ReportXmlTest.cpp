#include "Pagewright/Report.h"
#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportLine.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"
#include "Platform/ProgramFolder.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "Platform/ResourceRegistry.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every attribute with a value other than its default. Mark-up in html text is escaped, as
// templates must write it.
const char kFullTemplate[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<report>
  <page sortorder="3" displaycondition="SHOW" width="2970" height="2100" orientation="landscape"
        backgroundcolor="#FFEEDD" leftborder="100+5" topborder="50">
    <text sortorder="1" displaycondition="A==1" x="10" y="20" width="300" height="40" fontname="Body"
          multiline="true" color="#102030" align="center" angle="900">Total: $SUM\n</text>
    <rectangle x="5" y="6" width="70" height="80" borderwidth="3" bordercolor="#aabbcc" fillcolor="#010203" angle="-450"/>
    <rectangle x="1" y="2" width="3" height="4" fillcolor="Transparent"/>
    <line x="1" y="2" x2="300" y2="400" penwidth="7" color="#00ff00"/>
    <picture x="9" y="8" width="500" height="400" filename="logo.png" mode="stretch" alignx="right" aligny="bottom"/>
    <htmltext x="11" y="12" width="600" height="90" fontname="Body">a &lt;b&gt;bold&lt;/b&gt; $NAME</htmltext>
    <table x="100" y="200" width="400" height="100" rowheight="30" multipage="TRUE" name="Points">
      <column x="1" y="2" width="150" name="Flow" borderthickness="2;1;2;1" bordercolor="#0000ff"
              showborderalways="TRUE" cellspacing="5;6;7;8">
        <text x="0" y="0" fontname="Body" align="RIGHT">$COLUMN_VARIABLE</text>
      </column>
      <column width="250" name="Error" borderthickness="2;1">
        <line x="0" y="0" x2="10" y2="0"/>
      </column>
      <column width="10" name="Empty"/>
    </table>
  </page>
  <page width="100" height="200"/>
  <font fontname="Body" typeface="Liberation Sans" fontsize="8pt" isbold="true" isitalic="TRUE"
        isunderline="TRUE" isstrikethrough="TRUE"/>
  <font fontname="Cell" typeface="Liberation Mono" fontsize="120"/>
</report>
)";

std::string SavedText(const CReport& document, const CTemporaryFolder& folder, const char* name)
{
    const std::string path = folder.Path(name);
    EXPECT_TRUE(document.Save(path));
    return ReadWholeFile(path);
}

TEST(ReportXml, LoadSaveLoadKeepsEveryAttribute)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("template.rpt"), kFullTemplate);
    CReport document;
    ASSERT_TRUE(document.LoadFromFile(folder.Path("template.rpt")));
    const std::string first = SavedText(document, folder, "first.rpt");
    CReport reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(folder.Path("first.rpt")));
    EXPECT_EQ(SavedText(reloaded, folder, "second.rpt"), first);

    ASSERT_EQ(reloaded.GetTemplatePages().size(), 2u);
    const CReportPage& page = *reloaded.GetTemplatePages()[0];
    EXPECT_EQ(page.sortorder, 3);
    EXPECT_EQ(page.displaycondition, "SHOW");
    EXPECT_EQ(page.width, 2970);
    EXPECT_EQ(page.height, 2100);
    EXPECT_EQ(page.orientation, CReportPage::kLandscape);
    EXPECT_EQ(page.backgroundColor, 0xDDEEFFu);
    EXPECT_EQ(page.leftBorder, 105);
    EXPECT_EQ(page.topBorder, 50);
    ASSERT_EQ(page.elements.size(), 7u);

    const auto& text = dynamic_cast<const CReportText&>(*page.elements[0]);
    EXPECT_EQ(text.sortorder, 1);
    EXPECT_EQ(text.displaycondition, "A==1");
    EXPECT_EQ(text.x, 10);
    EXPECT_EQ(text.y, 20);
    EXPECT_EQ(text.width, 300);
    EXPECT_EQ(text.height, 40);
    EXPECT_EQ(text.fontname, "Body");
    EXPECT_TRUE(text.multiline);
    EXPECT_EQ(text.color, 0x302010u);
    EXPECT_EQ(text.alignment, CReportText::kAlignCenter);
    EXPECT_DOUBLE_EQ(text.angle, 90.0);
    EXPECT_EQ(text.content, "Total: $SUM\\n");

    const auto& filled = dynamic_cast<const CReportRectangle&>(*page.elements[1]);
    EXPECT_EQ(filled.borderWidth, 3);
    EXPECT_EQ(filled.borderColor, 0xCCBBAAu);
    EXPECT_EQ(filled.fillColor, 0x030201u);
    EXPECT_DOUBLE_EQ(filled.angle, -45.0);
    EXPECT_EQ(dynamic_cast<const CReportRectangle&>(*page.elements[2]).fillColor, CReportRectangle::kTransparent);

    const auto& line = dynamic_cast<const CReportLine&>(*page.elements[3]);
    EXPECT_EQ(line.x2, 300);
    EXPECT_EQ(line.y2, 400);
    EXPECT_EQ(line.penWidth, 7);
    EXPECT_EQ(line.color, 0x00FF00u);

    const auto& picture = dynamic_cast<const CReportPicture&>(*page.elements[4]);
    EXPECT_EQ(picture.filename, "logo.png");
    EXPECT_EQ(picture.mode, CReportPicture::kModeStretch);
    EXPECT_EQ(picture.alignX, CReportPicture::kAlignRight);
    EXPECT_EQ(picture.alignY, CReportPicture::kAlignBottom);

    const auto& html = dynamic_cast<const CReportHtmlText&>(*page.elements[5]);
    EXPECT_EQ(html.fontname, "Body");
    EXPECT_EQ(html.markup, "a <b>bold</b> $NAME");

    const auto& table = dynamic_cast<const CReportTable&>(*page.elements[6]);
    EXPECT_EQ(table.rowHeight, 30);
    EXPECT_TRUE(table.multipage);
    EXPECT_EQ(table.name, "Points");
    ASSERT_EQ(table.columns.size(), 3u);
    const CReportColumn& flow = *table.columns[0];
    EXPECT_EQ(flow.x, 1);
    EXPECT_EQ(flow.width, 150);
    EXPECT_EQ(flow.name, "Flow");
    EXPECT_EQ(flow.borderThickness.top, 2);
    EXPECT_EQ(flow.borderThickness.left, 1);
    EXPECT_EQ(flow.borderThickness.bottom, 2);
    EXPECT_EQ(flow.borderThickness.right, 1);
    EXPECT_EQ(flow.borderColor, 0xFF0000u);
    EXPECT_TRUE(flow.showBorderAlways);
    EXPECT_EQ(flow.cellSpacing.top, 5);
    EXPECT_EQ(flow.cellSpacing.left, 6);
    EXPECT_EQ(flow.cellSpacing.bottom, 7);
    EXPECT_EQ(flow.cellSpacing.right, 8);
    ASSERT_NE(flow.prototype, nullptr);
    EXPECT_EQ(dynamic_cast<const CReportText&>(*flow.prototype).alignment, CReportText::kAlignRight);
    EXPECT_EQ(flow.prototype->owner, &page);
    const CReportColumn& error = *table.columns[1];
    EXPECT_EQ(error.borderThickness.top, 2);
    EXPECT_EQ(error.borderThickness.left, 1);
    EXPECT_EQ(error.borderThickness.bottom, 0);
    EXPECT_EQ(error.borderThickness.right, 0);
    EXPECT_EQ(error.prototype->GetTypeName(), "line");
    EXPECT_EQ(table.columns[2]->prototype, nullptr);
    EXPECT_EQ(table.columns[2]->borderThickness.left, 1);  // no attribute: the default

    ASSERT_EQ(reloaded.GetFonts().size(), 2u);
    const CReportFont* body = reloaded.FindFont("Body");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->typeface, "Liberation Sans");
    EXPECT_EQ(body->size, 8);
    EXPECT_TRUE(body->sizeInPoints);
    EXPECT_TRUE(body->bold && body->italic && body->underline && body->strikethrough);
    const CReportFont* cell = reloaded.FindFont("Cell");
    EXPECT_EQ(cell->size, 120);
    EXPECT_FALSE(cell->sizeInPoints || cell->bold || cell->italic || cell->underline || cell->strikethrough);
    EXPECT_EQ(reloaded.FindFont("body"), nullptr);

    // The written form: upper-case page colours, lower-case element colours, names of values.
    EXPECT_NE(first.find("backgroundcolor=\"#FFEEDD\""), std::string::npos);
    EXPECT_NE(first.find("orientation=\"LANDSCAPE\""), std::string::npos);
    EXPECT_NE(first.find("color=\"#102030\""), std::string::npos);
    EXPECT_NE(first.find("fillcolor=\"TRANSPARENT\""), std::string::npos);
    EXPECT_NE(first.find("mode=\"STRETCH\""), std::string::npos);
    EXPECT_NE(first.find("&lt;b&gt;"), std::string::npos);
    EXPECT_NE(first.find("angle=\"900\""), std::string::npos);
    EXPECT_NE(first.find("fontsize=\"8pt\""), std::string::npos);
}

TEST(ReportXml, FontSizes)
{
    const struct {
        const char* text;
        int size;
        bool points;
    } cases[] = {{"8pt", 8, true}, {"12PT", 12, true}, {"120", 120, false}, {"", 0, false}, {"10ptpt", 10, true}};
    for (const auto& c : cases) {
        CReport document;
        ASSERT_TRUE(document.LoadFromString(std::string("<report><font fontname='F' fontsize='") + c.text + "'/></report>"));
        ASSERT_EQ(document.GetFonts().size(), 1u);
        EXPECT_EQ(document.GetFonts()[0].size, c.size) << c.text;
        EXPECT_EQ(document.GetFonts()[0].sizeInPoints, c.points) << c.text;
    }
}

TEST(ReportXml, PageWithoutSizeKeepsTheDefaultAndSaysSo)
{
    CTemporaryFolder folder;
    CLogManager* logs = CLogManager::GetInstance();
    ASSERT_TRUE(logs->Open(folder.Path("report.log").c_str(), LOGLEVEL_TRACE));
    logs->SetFormat("$LOGGER|$MESSAGE");
    CReport document;
    const bool loaded = document.LoadFromString("<report><page/><page width='abc' height='1000'/></report>");
    logs->Close();
    ASSERT_TRUE(loaded);
    const std::string log = ReadWholeFile(folder.Path("report.log"));
    EXPECT_NE(log.find("CReportPage|Report page without a usable width (missing), using 2100"), std::string::npos) << log;
    EXPECT_NE(log.find("CReportPage|Report page without a usable width (abc), using 2100"), std::string::npos);
    EXPECT_EQ(log.find("usable height (1000)"), std::string::npos);
    ASSERT_EQ(document.GetTemplatePages().size(), 2u);
    EXPECT_EQ(document.GetTemplatePages()[0]->width, CReportPage::kDefaultWidth);
    EXPECT_EQ(document.GetTemplatePages()[0]->height, CReportPage::kDefaultHeight);
    EXPECT_EQ(document.GetTemplatePages()[0]->backgroundColor, 0xFFFFFFu);
    EXPECT_EQ(document.GetTemplatePages()[1]->width, CReportPage::kDefaultWidth);
    EXPECT_EQ(document.GetTemplatePages()[1]->height, 1000);
}

TEST(ReportXml, ElementTagsAndContent)
{
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report><page>
        <TEXT>rejected: the tag must be lower case</TEXT>
        <circle/>
        <text>kept</text>
        <htmltext>a<b>bold</b> lost</htmltext>
        <text><!-- a comment first -->lost</text>
      </page></report>)"));
    const auto& elements = document.GetTemplatePages()[0]->elements;
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(dynamic_cast<const CReportText&>(*elements[0]).content, "kept");
    // Mark-up that is not escaped is XML: only the text before it is the element's content.
    EXPECT_EQ(dynamic_cast<const CReportHtmlText&>(*elements[1]).markup, "a");
    EXPECT_EQ(dynamic_cast<const CReportText&>(*elements[2]).content, "");
}

TEST(ReportXml, FailedLoadsLeaveTheDocumentAsItWas)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("broken.rpt"), "<report><page>");
    WriteWholeFile(folder.Path("other.xml"), "<project/>");
    CReport document;
    ASSERT_TRUE(document.LoadFromString("<report><page/></report>", "/templates"));
    document.SetVariable("A", "1");
    EXPECT_FALSE(document.LoadFromFile(""));
    EXPECT_FALSE(document.LoadFromFile(folder.Path("missing.rpt")));
    EXPECT_FALSE(document.LoadFromFile(folder.Path("broken.rpt")));
    EXPECT_FALSE(document.LoadFromFile(folder.Path("other.xml")));
    EXPECT_FALSE(document.LoadFromString("not xml"));
    EXPECT_FALSE(document.LoadFromResource(-12345));
    EXPECT_FALSE(document.ReadXml(nullptr));
    EXPECT_EQ(document.GetTemplatePages().size(), 1u);
    EXPECT_EQ(document.GetVariable("A"), "1");
    EXPECT_EQ(document.GetDocumentFolder(), "/templates/");

    // A successful load starts afresh: variables go too.
    WriteWholeFile(folder.Path("good.rpt"), "<report><page/><page/></report>");
    ASSERT_TRUE(document.LoadFromFile(folder.Path("good.rpt")));
    EXPECT_EQ(document.GetTemplatePages().size(), 2u);
    EXPECT_EQ(document.GetVariable("A"), "");
    EXPECT_EQ(document.GetDocumentFolder(), folder.Path(""));
}

TEST(ReportXml, PageLargerThanTenMetresRefusesTheWholeTemplate)
{
    const struct {
        const char* size;
        bool loads;
    } cases[] = {
        {"width='100000' height='100000'", true},
        {"width='100001'", false},
        {"height='100001'", false},
        {"height='2147483647'", false},
        {"width='2147483647' height='2147483647'", false},
        {"height='99999+2'", false},  // sizes add up as coordinates do
    };
    for (const auto& c : cases) {
        CReport document;
        ASSERT_TRUE(document.LoadFromString("<report><page/><font fontname='Old'/></report>", "/before"));
        document.SetVariable("A", "1");
        // A page the report cannot do without comes after the large one.
        const std::string text = std::string("<report><page/><page ") + c.size +
                                 "><table width='1000' height='2147483647' rowheight='1' multipage='TRUE'/></page>"
                                 "<page/><font fontname='New'/></report>";
        EXPECT_EQ(document.LoadFromString(text, "/after"), c.loads) << c.size;
        if (c.loads) {
            EXPECT_EQ(document.GetTemplatePages().size(), 3u);
            EXPECT_EQ(document.GetDocumentFolder(), "/after/");
            continue;
        }
        EXPECT_EQ(document.GetTemplatePages().size(), 1u) << c.size;
        ASSERT_EQ(document.GetFonts().size(), 1u);
        EXPECT_EQ(document.GetFonts()[0].fontname, "Old");
        EXPECT_EQ(document.GetVariable("A"), "1");
        EXPECT_EQ(document.GetDocumentFolder(), "/before/");
    }
}

TEST(ReportXml, ResourceTemplatesFindPicturesInTheProgramFolder)
{
    static const char kBytes[] = "<report><page><text>from the program</text></page></report>";
    CResourceRegistry::Register("RCDATA", 9123, nullptr, reinterpret_cast<const unsigned char*>(kBytes),
                                sizeof kBytes - 1);
    CReport document;
    ASSERT_TRUE(document.LoadFromResource(9123));
    EXPECT_EQ(document.GetDocumentFolder(), Platform::GetProgramFolder());
    ASSERT_EQ(document.GetTemplatePages().size(), 1u);
    ASSERT_TRUE(document.LoadFromResource(9123, "/somewhere"));
    EXPECT_EQ(document.GetDocumentFolder(), "/somewhere/");
    ASSERT_TRUE(document.LoadFromString(kBytes));
    EXPECT_EQ(document.GetDocumentFolder(), Platform::GetProgramFolder());
}

TEST(ReportXml, SaveFailureLeavesTheFileUntouched)
{
    CTemporaryFolder folder;
    CReport document;
    ASSERT_TRUE(document.LoadFromString("<report><page/></report>"));
    EXPECT_FALSE(document.Save(""));
    EXPECT_FALSE(document.Save(folder.Path("missing/folder/x.rpt")));
    WriteWholeFile(folder.Path("kept.rpt"), "old");
    // A folder that may not be written to (root may write anywhere).
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(folder.Path("").c_str(), 0500), 0);
        EXPECT_FALSE(document.Save(folder.Path("kept.rpt")));
        chmod(folder.Path("").c_str(), 0700);
        EXPECT_EQ(ReadWholeFile(folder.Path("kept.rpt")), "old");
    }
}

}  // namespace
