// The PDF writer against cairo's PDF surface on the same 10-page report.
#include "Glyphora/RichTextRunList.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportExporterPdf.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportImage.h"
#include "Pagewright/ReportLine.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kPages = 10;
constexpr int kRuns = 20;
constexpr int kRows = 20;

std::string Bmp(int size)
{
    const int stride = (size * 3 + 3) / 4 * 4;
    std::string b(54 + stride * size, '\0');
    auto put = [&](std::size_t at, unsigned v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<unsigned>(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, size, 4);
    put(22, size, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::size_t at = 54 + static_cast<std::size_t>(y) * stride + 3 * x;
            b[at] = static_cast<char>(x * 4);
            b[at + 1] = static_cast<char>(y * 4);
            b[at + 2] = static_cast<char>((x + y) * 2);
        }
    }
    return b;
}

std::string Template()
{
    std::string page = "<page>\n";
    for (int i = 0; i < 25; ++i)
        page += "<text x=\"100\" y=\"" + std::to_string(100 + 40 * i) +
                "\" width=\"900\" height=\"40\" fontname=\"Body\">Line " + std::to_string(i) +
                ": Durchfluss $FLOW m3/h, Größe DN 50</text>\n";
    page += R"(<text x="1100" y="100" width="800" height="300" fontname="Body" multiline="TRUE">A longer paragraph that wraps at the edge of its box so that the measuring of words is part of the work.</text>
<line x="100" y="1150" x2="2000" y2="1150" color="#808080" penwidth="3"/>
<rectangle x="1100" y="500" width="800" height="300" bordercolor="#000080" fillcolor="#e0e0ff"/>
<htmltext x="1100" y="850" width="800" height="250" fontname="Body">Html &lt;b&gt;bold&lt;/b&gt; and &lt;i&gt;italic&lt;/i&gt; words &lt;font face='Courier New'&gt;mono 42&lt;/font&gt; in one paragraph that wraps.</htmltext>
<picture x="1500" y="2400" width="400" height="400" filename="logo.bmp"/>
<table x="100" y="1200" width="1800" height="1000" rowheight="50" name="T">
  <column name="A" width="600"><text fontname="Body">$COLUMN_VARIABLE</text></column>
  <column name="B" width="600"><text fontname="Body" align="RIGHT">$COLUMN_VARIABLE</text></column>
  <column name="C" width="600"><text fontname="Bold" align="CENTER">$COLUMN_VARIABLE</text></column>
</table>
</page>
)";
    std::string text = "<report>\n";
    for (int i = 0; i < kPages; ++i)
        text += page;
    text += R"(<font fontname="Body" typeface="Arial" fontsize="9pt"/>
<font fontname="Bold" typeface="Arial" fontsize="9pt" isbold="TRUE"/>
</report>)";
    return text;
}

double Points(double tenths)
{
    return tenths / 254.0 * 72.0;
}

void SetColor(cairo_t* cr, ReportColor c)
{
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0, (c >> 16 & 0xFF) / 255.0);
}

// The same elements through cairo: fonts by family, the picture decoded once per file.
class CCairoWriter {
public:
    void Element(cairo_t* cr, const CReportElement& element)
    {
        const CReport& document = *element.GetDocument();
        if (auto* text = dynamic_cast<const CReportText*>(&element)) {
            const CReportFont* font = document.FindFont(text->fontname);
            cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                                   font != nullptr && font->bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
            cairo_set_font_size(cr, font != nullptr ? font->size : 10);
            SetColor(cr, text->color);
            cairo_move_to(cr, Points(text->x), Points(text->y) + 9);
            cairo_show_text(cr, text->GetDisplayText().c_str());
        } else if (auto* line = dynamic_cast<const CReportLine*>(&element)) {
            SetColor(cr, line->color);
            cairo_set_line_width(cr, Points(line->penWidth));
            cairo_move_to(cr, Points(line->x), Points(line->y));
            cairo_line_to(cr, Points(line->x2), Points(line->y2));
            cairo_stroke(cr);
        } else if (auto* rect = dynamic_cast<const CReportRectangle*>(&element)) {
            cairo_rectangle(cr, Points(rect->x), Points(rect->y), Points(rect->width), Points(rect->height));
            SetColor(cr, rect->fillColor);
            cairo_fill_preserve(cr);
            SetColor(cr, rect->borderColor);
            cairo_stroke(cr);
        } else if (auto* html = dynamic_cast<const CReportHtmlText*>(&element)) {
            CRichTextRunList runs;
            runs.GetTemplate().face = "Liberation Sans";
            runs.GetTemplate().size = 9;
            runs.Parse(html->GetDisplayMarkup());
            double x = Points(html->x);
            for (const CRichTextRun& run : runs.GetRuns()) {
                cairo_select_font_face(cr, run.face.empty() ? "Liberation Sans" : run.face.c_str(),
                                       run.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                       run.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
                cairo_set_font_size(cr, 9);
                cairo_move_to(cr, x, Points(html->y) + 9);
                cairo_show_text(cr, run.text.c_str());
                cairo_text_extents_t extents;
                cairo_text_extents(cr, run.text.c_str(), &extents);
                x += extents.x_advance;
            }
        } else if (auto* table = dynamic_cast<const CReportTable*>(&element)) {
            for (int row = 0; row < table->GetRowsPerPage(); ++row) {
                for (std::size_t i = 0; i < table->columns.size(); ++i) {
                    const SReportRect cell = table->GetCellRect(row, i);
                    bool filled = false;
                    if (auto made = table->columns[i]->MakeCell(cell, table->name, row + 1, filled))
                        Element(cr, *made);
                    cairo_set_source_rgb(cr, 0, 0, 0);
                    cairo_set_line_width(cr, Points(1));
                    cairo_rectangle(cr, Points(cell.left), Points(cell.top), Points(cell.right - cell.left),
                                    Points(cell.bottom - cell.top));
                    cairo_stroke(cr);
                }
            }
        } else if (auto* picture = dynamic_cast<const CReportPicture*>(&element)) {
            cairo_surface_t* image = Image(*picture);
            if (image == nullptr)
                return;
            cairo_save(cr);
            cairo_translate(cr, Points(picture->x), Points(picture->y));
            cairo_scale(cr, Points(picture->width) / cairo_image_surface_get_width(image),
                        Points(picture->height) / cairo_image_surface_get_height(image));
            cairo_set_source_surface(cr, image, 0, 0);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    }
    ~CCairoWriter()
    {
        for (auto& [name, surface] : m_images)
            cairo_surface_destroy(surface);
    }

private:
    cairo_surface_t* Image(const CReportPicture& picture)
    {
        auto found = m_images.find(picture.filename);
        if (found != m_images.end())
            return found->second;
        const std::string& b = picture.GetImage()->GetBytes();
        const int w = picture.GetImage()->GetPixelWidth();
        const int h = picture.GetImage()->GetPixelHeight();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const int bmpStride = (w * 3 + 3) / 4 * 4;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const std::size_t at = 54 + static_cast<std::size_t>(h - 1 - y) * bmpStride + 3 * x;
                unsigned char* px = data + y * stride + 4 * x;
                px[0] = b[at];
                px[1] = b[at + 1];
                px[2] = b[at + 2];
                px[3] = 0xFF;
            }
        }
        cairo_surface_mark_dirty(surface);
        m_images[picture.filename] = surface;
        return surface;
    }
    std::map<std::string, cairo_surface_t*> m_images;
};

long long FileSize(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

}  // namespace

int main()
{
    char folderTemplate[] = "/tmp/pdf_bench.XXXXXX";
    const char* folder = ::mkdtemp(folderTemplate);
    if (folder == nullptr)
        return 1;
    const std::string dir = std::string(folder) + "/";
    std::ofstream(dir + "logo.bmp", std::ios::binary) << Bmp(64);

    CReport document;
    if (!document.LoadFromString(Template(), dir))
        return 1;
    document.SetVariable("FLOW", "123.45");
    for (int row = 1; row <= kRows; ++row) {
        document.SetVariable("T.A." + std::to_string(row), "Messstelle " + std::to_string(row));
        document.SetVariable("T.B." + std::to_string(row), std::to_string(row * 12.5));
        document.SetVariable("T.C." + std::to_string(row), "OK");
    }
    document.Paginate();

    using Clock = std::chrono::steady_clock;
    const std::string ours = dir + "ours.pdf";
    const std::string theirs = dir + "cairo.pdf";
    CReportExporterPdf exporter;
    auto start = Clock::now();
    for (int i = 0; i < kRuns; ++i) {
        if (exporter.Export(&document, ours) != 1)
            return 1;
    }
    const double oursMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRuns;

    start = Clock::now();
    for (int i = 0; i < kRuns; ++i) {
        cairo_surface_t* surface = cairo_pdf_surface_create(theirs.c_str(), Points(2100), Points(2970));
        cairo_t* cr = cairo_create(surface);
        CCairoWriter writer;
        for (int p = 0; p < document.GetPageCount(); ++p) {
            for (const auto& element : document.GetPage(p)->elements)
                writer.Element(cr, *element);
            cairo_show_page(cr);
        }
        cairo_destroy(cr);
        cairo_surface_finish(surface);
        cairo_surface_destroy(surface);
    }
    const double cairoMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRuns;

    std::printf("pdf_bench: %d pages, %d runs\n", document.GetPageCount(), kRuns);
    std::printf("  PDF writer: %8.2f ms per document, %8lld bytes\n", oursMs, FileSize(ours));
    std::printf("  cairo:      %8.2f ms per document, %8lld bytes\n", cairoMs, FileSize(theirs));
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
    std::remove((dir + "logo.bmp").c_str());
    ::rmdir(folder);
    return 0;
}
