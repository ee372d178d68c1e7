// libFuzzer target over report templates and html text mark-up. Every input is read both as a
// template (loaded, paginated, every element's values computed, written and read again) and as
// mark-up (laid out by the html text drawer and turned into rich-text runs). A crash, a
// sanitizer report, a hang, or a written template that no longer loads is a finding.
#include "Glyphora/HtmlTextDrawer.h"
#include "Glyphora/RichTextRunList.h"
#include "Glyphora/TextMeasurer.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class CFuzzMeasurer : public ITextMeasurer {
public:
    STextMetrics Measure(const SHtmlFont& font, std::string_view text) override
    {
        STextMetrics metrics;
        metrics.width = static_cast<int>(text.size()) * 7;
        metrics.height = std::clamp(font.size, 1, 1000) * 2;
        metrics.ascent = metrics.height * 3 / 4;
        metrics.descent = metrics.height - metrics.ascent;
        metrics.overhang = font.italic ? 2 : 0;
        return metrics;
    }
};

void LayMarkup(const std::string& markup)
{
    CFuzzMeasurer measurer;
    CHtmlTextDrawer drawer(markup);
    CHtmlTextDrawer::SRect rect{10, 20, 150, 500};
    drawer.Layout(measurer, rect, false);
    drawer.HitTestLink(15, 25);
    CHtmlTextDrawer::SRect measured;
    drawer.Layout(measurer, measured, true);

    CRichTextRunList runs;
    runs.GetTemplate().face = "Arial";
    runs.GetTemplate().size = 10;
    runs.Parse(markup);
    runs.SplitWords();
    runs.Layout(120, [](const std::string& text, const CRichTextRun& run) {
        return CRichTextRunList::SExtent{static_cast<int>(text.size()) * 6, std::clamp(run.size, 1, 1000)};
    });
}

void VisitElement(const CReportElement& element)
{
    element.IsVisible();
    if (const auto* text = dynamic_cast<const CReportText*>(&element)) {
        text->GetDisplayText();
        text->GetCorners(0.5);
    } else if (const auto* html = dynamic_cast<const CReportHtmlText*>(&element)) {
        LayMarkup(html->GetDisplayMarkup());
    } else if (const auto* rectangle = dynamic_cast<const CReportRectangle*>(&element)) {
        rectangle->GetCorners();
    } else if (const auto* picture = dynamic_cast<const CReportPicture*>(&element)) {
        int x = picture->x;
        int y = picture->y;
        int width = 0;
        int height = 0;
        picture->GetPlacement(x, y, width, height);
    } else if (const auto* table = dynamic_cast<const CReportTable*>(&element)) {
        const int rows = std::min(table->GetRowsPerPage(), 20);
        for (int row = 0; row < rows; ++row) {
            for (std::size_t column = 0; column < table->columns.size(); ++column) {
                bool borders = false;
                if (auto cell = table->columns[column]->MakeCell(table->GetCellRect(row, column), table->name,
                                                                 table->firstRow + row + 1, borders))
                    VisitElement(*cell);
            }
        }
    }
}

std::string WrittenText(const CReport& document)
{
    TiXmlDocument doc;
    TiXmlElement root("report");
    document.WriteXml(root);
    doc.InsertEndChild(root);
    return CXmlFile::ToText(doc);
}

std::size_t ElementCount(const CReport& document)
{
    std::size_t count = 0;
    for (const auto& page : document.GetTemplatePages())
        count += page->elements.size();
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    LayMarkup(text);

    CReport document;
    if (!document.LoadFromString(text, "/nonexistent/"))
        return 0;
    // Rows for every table, so pagination has pages to make.
    for (const auto& page : document.GetTemplatePages()) {
        for (const auto& element : page->elements) {
            if (const auto* table = dynamic_cast<const CReportTable*>(element.get())) {
                for (const auto& column : table->columns)
                    document.SetVariable(CReportColumn::GetRowCountKey(table->name, column->name) + ".12", "v");
            }
        }
    }
    document.Paginate();
    for (int i = 0; i < document.GetPageCount(); ++i) {
        for (const auto& element : document.GetPage(i)->elements)
            VisitElement(*element);
    }

    const std::string written = WrittenText(document);
    CReport reloaded;
    if (!reloaded.LoadFromString(written, "/nonexistent/") ||
        reloaded.GetTemplatePages().size() != document.GetTemplatePages().size() ||
        reloaded.GetFonts().size() != document.GetFonts().size() || ElementCount(reloaded) != ElementCount(document)) {
        std::fprintf(stderr, "The written template does not read back alike:\n%s\n", written.c_str());
        std::abort();
    }
    return 0;
}
