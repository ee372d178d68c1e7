#include "Pagewright/ReportExporterPdf.h"

#include "Glyphora/RichTextRunList.h"
#include "Pagewright/PfmFontMetrics.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportImage.h"
#include "Pagewright/ReportLine.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"
#include "Pagewright/TrueTypeFontMetrics.h"
#include "Platform/AtomicFile.h"
#include "Platform/NumberText.h"
#include "Platform/TextEncoding.h"
#include "Quillet/LogManager.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr double kPi = 3.14159265359;
// The image map's entry for a picture that cannot be written.
constexpr int kNoImage = -1;

double ToPoints(double tenths)
{
    return tenths / 254.0 * 72.0;
}

int ToTenths(double points)
{
    return static_cast<int>(points * 254.0 / 72.0 + 0.5);
}

// The lines at the size fit the box by the rule of every drawing of a text, with the font's
// descent (in thousandths of the size) below the last.
bool LinesFit(const CFontMetrics& metrics, const std::vector<std::string>& lines, double size, double boxWidth,
              double boxHeight)
{
    double widest = 0.0;
    for (const std::string& line : lines)
        widest = std::max(widest, metrics.GetStringWidth(line, size));
    return CReportText::LinesFit(widest, lines.size(), size, size * std::abs(metrics.descent) / 1000.0, boxWidth,
                                 boxHeight);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return std::string(buffer, n > 0 ? std::min<std::size_t>(n, sizeof buffer - 1) : 0);
}

// zlib's compress into a buffer of its worst-case size; false when zlib fails.
bool Compress(std::string_view data, std::string& out)
{
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    out.resize(length);
    if (compress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(data.data()),
                 static_cast<uLong>(data.size())) != Z_OK)
        return false;
    out.resize(length);
    return true;
}

std::uint32_t LittleEndian(const std::string& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}

// The RGB rows (top row first, width * 3 bytes each) of an uncompressed 24-bit BMP; false for
// any other picture.
bool ReadBmpRgb(const std::string& b, int& width, int& height, std::string& rgb)
{
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return false;
    const std::uint32_t dataOffset = LittleEndian(b, 10, 4);
    const std::uint32_t headerSize = LittleEndian(b, 14, 4);
    if (headerSize < 40)
        return false;
    const std::int32_t w = static_cast<std::int32_t>(LittleEndian(b, 18, 4));
    const std::int32_t h = static_cast<std::int32_t>(LittleEndian(b, 22, 4));
    const std::uint32_t bits = LittleEndian(b, 28, 2);
    const std::uint32_t compression = LittleEndian(b, 30, 4);
    if (bits != 24 || compression != 0 || w <= 0 || h == 0 || h == INT32_MIN || w > 65535 || std::abs(h) > 65535)
        return false;
    const bool bottomUp = h > 0;
    width = w;
    height = std::abs(h);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (dataOffset > b.size() || (b.size() - dataOffset) / stride < static_cast<std::size_t>(height))
        return false;
    rgb.resize(static_cast<std::size_t>(width) * 3 * height);
    for (int row = 0; row < height; ++row) {
        const std::size_t source = dataOffset + stride * (bottomUp ? height - 1 - row : row);
        char* target = &rgb[static_cast<std::size_t>(row) * width * 3];
        for (int x = 0; x < width; ++x) {
            target[3 * x] = b[source + 3 * x + 2];
            target[3 * x + 1] = b[source + 3 * x + 1];
            target[3 * x + 2] = b[source + 3 * x];
        }
    }
    return true;
}

bool IsDelimiter(unsigned char c)
{
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' ||
           c == '/' || c == '%' || c == '#';
}

}  // namespace

CReportExporterPdf::CReportExporterPdf()
{
    if (CLogManager* logs = CLogManager::GetInstance())
        m_log = logs->GetLogger("CReportExporterPdf", LOGLEVEL_PARENT);
}

CReportExporterPdf::~CReportExporterPdf()
{
    Reset();
}

std::string CReportExporterPdf::FormatNumber(double value)
{
    const double thousandths = std::floor(value * 1000.0 + 0.5);
    // Whole thousandths print as "%f" would print them, without its cost and its locale.
    if (!(std::fabs(thousandths) < 1e15))
        return Platform::DoubleToText(thousandths / 1000.0, 'f', 6);
    long long t = static_cast<long long>(thousandths);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    const bool negative = t < 0;
    if (negative)
        t = -t;
    for (int i = 0; i < 3; ++i)
        *--p = '0';
    for (int i = 0; i < 3; ++i, t /= 10)
        *--p = static_cast<char>('0' + t % 10);
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + t % 10);
        t /= 10;
    } while (t != 0);
    if (negative)
        *--p = '-';
    return std::string(p, end);
}

std::string CReportExporterPdf::EscapeName(std::string_view name)
{
    std::string escaped;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x21 || c > 0x7E || IsDelimiter(c))
            escaped += Format("#%02X", c);
        else
            escaped += ch;
    }
    return escaped;
}

std::string CReportExporterPdf::EscapeString(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')')
            escaped += '\\';
        if (c == '\r')
            escaped += "\\r";
        else
            escaped += c;
    }
    return escaped;
}

void CReportExporterPdf::Reset()
{
    m_document = nullptr;
    m_output.clear();
    m_offsets.clear();
    m_pageObjects.clear();
    m_images.clear();
    m_content.clear();
    m_strokeColor = 0;
    m_fillColor = 0;
    m_lineWidth = 0.0;
    m_fonts.clear();
    m_resourcesObject = 0;
    m_failed = false;
}

void CReportExporterPdf::AppendLine(std::string_view line)
{
    m_output += line;
    m_output += '\n';
}

int CReportExporterPdf::BeginObject(bool dictionary)
{
    m_offsets.push_back(static_cast<long long>(m_output.size()));
    const int number = static_cast<int>(m_offsets.size());
    AppendLine(Format("%d 0 obj", number));
    if (dictionary)
        AppendLine("<<");
    return number;
}

void CReportExporterPdf::EndObject(bool dictionary)
{
    if (dictionary)
        AppendLine(">>");
    AppendLine("endobj");
}

void CReportExporterPdf::AddContent(std::string_view line)
{
    m_content += line;
    m_content += '\n';
}

int CReportExporterPdf::Export(CReport* document, const std::string& path)
{
    Reset();
    if (document == nullptr)
        return 0;
    m_document = document;

    AppendLine("%PDF-1.3");
    AppendLine("%\xE2\xE3\xCF\xD3");
    BeginObject(true);
    char date[32] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y%m%d%H%M%S", &local);
    AppendLine(std::string("/CreationDate (D:") + date + ")");
    AppendLine("/Producer (corvanta PDF)");
    EndObject(true);
    BeginObject(true);
    AppendLine("/Type /Catalog");
    AppendLine("/Pages 3 0 R");
    EndObject(true);
    m_offsets.push_back(-1);  // the page tree, written last

    for (const CReportFont& font : document->GetFonts())
        AddFont(font.typeface, font.bold, font.italic);
    for (int i = 0; i < document->GetPageCount(); ++i) {
        if (CReportPage* page = document->GetPage(i))
            RegisterPage(*page);
    }
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        WriteFont(i, m_fonts[i]);
    WriteResources();

    for (int i = 0; i < document->GetPageCount() && !m_failed; ++i) {
        CReportPage* page = document->GetPage(i);
        if (page == nullptr)
            continue;
        BeginPage(*page);
        for (const std::unique_ptr<CReportElement>& element : page->elements)
            WriteElement(*element);
        if (!EndPage())
            m_failed = true;
    }
    if (m_failed) {
        QUILLET_POS(m_log);
        m_log.Error("could not compress a page of '%s'", path.c_str());
        return 0;
    }
    // Readers refuse a page tree without pages; such a file would only look written.
    if (m_pageObjects.empty()) {
        QUILLET_POS(m_log);
        m_log.Error("no pages to write to '%s'", path.c_str());
        return 0;
    }

    m_offsets[2] = static_cast<long long>(m_output.size());
    AppendLine("3 0 obj");
    AppendLine("<<");
    AppendLine("/Type /Pages");
    AppendLine(Format("/Count %d", static_cast<int>(m_pageObjects.size())));
    m_output += "/Kids [ ";
    for (int object : m_pageObjects)
        m_output += Format("%d 0 R ", object);
    AppendLine("]");
    EndObject(true);

    const std::size_t xref = m_output.size();
    AppendLine("xref");
    AppendLine(Format("0 %d", static_cast<int>(m_offsets.size()) + 1));
    m_output += "0000000000 65535 f\r\n";
    for (long long offset : m_offsets)
        m_output += Format("%010lld 00000 n\r\n", offset);
    AppendLine("trailer");
    AppendLine("<<");
    AppendLine(Format("/Size %d", static_cast<int>(m_offsets.size()) + 1));
    AppendLine("/Root 2 0 R");
    AppendLine("/Info 1 0 R");
    AppendLine(">>");
    AppendLine("startxref");
    AppendLine(Format("%zu", xref));
    AppendLine("%%EOF");

    std::string error;
    if (!CAtomicFile::Write(path, m_output, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("could not write '%s': %s", path.c_str(), error.c_str());
        return 0;
    }
    return 1;
}

// --- registration --------------------------------------------------------------------------------

CReportExporterPdf::SFontEntry* CReportExporterPdf::FindFontEntry(const std::string& typeface, bool bold, bool italic)
{
    for (SFontEntry& entry : m_fonts) {
        if (entry.typeface == typeface && entry.bold == bold && entry.italic == italic)
            return &entry;
    }
    return nullptr;
}

CReportExporterPdf::SFontEntry* CReportExporterPdf::AddFont(const std::string& typeface, bool bold, bool italic)
{
    if (SFontEntry* entry = FindFontEntry(typeface, bold, italic))
        return entry;
    SFontEntry entry;
    entry.typeface = typeface;
    entry.bold = bold;
    entry.italic = italic;
    m_fonts.push_back(std::move(entry));
    return &m_fonts.back();
}

CReportExporterPdf::SFontEntry* CReportExporterPdf::FallbackFont()
{
    for (SFontEntry& entry : m_fonts) {
        if (entry.metrics)
            return &entry;
    }
    return nullptr;
}

void CReportExporterPdf::RegisterPage(CReportPage& page)
{
    for (const std::unique_ptr<CReportElement>& element : page.elements)
        RegisterElement(*element);
}

void CReportExporterPdf::RegisterElement(CReportElement& element)
{
    if (auto* picture = dynamic_cast<CReportPicture*>(&element)) {
        RegisterImage(*picture);
    } else if (auto* html = dynamic_cast<CReportHtmlText*>(&element)) {
        ParseRuns(*html);
        CRichTextRunList& runs = *html->richText;
        for (const CRichTextRun& run : runs.GetRuns()) {
            const CRichTextRun& defaults = runs.GetTemplate();
            AddFont(run.face.empty() ? defaults.face : run.face, run.bold != 0, run.italic != 0);
        }
    } else if (auto* table = dynamic_cast<CReportTable*>(&element)) {
        // Every cell shows its column's prototype bound to its own variable, whose value may
        // bring fonts of its own mark-up.
        table->ForEachCell([&](const CReportColumn& column, const SReportRect& cell, int row) {
            bool filled = false;
            if (std::unique_ptr<CReportElement> made = column.MakeCell(cell, table->name, row, filled))
                RegisterElement(*made);
            return true;
        });
    }
}

void CReportExporterPdf::RegisterImage(const CReportPicture& picture)
{
    const std::shared_ptr<const CReportImage>& image = picture.GetImage();
    if (!image || m_images.count(picture.filename) != 0)
        return;
    int width = 0;
    int height = 0;
    std::string rgb;
    std::string packed;
    if (!ReadBmpRgb(image->GetBytes(), width, height, rgb) || !Compress(rgb, packed)) {
        QUILLET_POS(m_log);
        m_log.Warn("'%s' is no 24-bit bitmap and is left out", picture.filename.c_str());
        m_images[picture.filename] = kNoImage;  // tried once per export
        return;
    }
    const int number = BeginObject(false);
    AppendLine("<< /Type /XObject");
    AppendLine("   /Subtype /Image");
    AppendLine(Format("   /Width %d", width));
    AppendLine(Format("   /Height %d", height));
    AppendLine("   /ColorSpace /DeviceRGB");
    AppendLine("   /BitsPerComponent 8");
    AppendLine("   /Filter /FlateDecode");
    AppendLine(Format("   /Length %d", static_cast<int>(packed.size())));
    AppendLine(">>");
    m_output += "stream\n";
    m_output += packed;
    AppendLine("");
    AppendLine("endstream");
    AppendLine("endobj");
    m_images[picture.filename] = number;
}

void CReportExporterPdf::ParseRuns(CReportHtmlText& html)
{
    if (!html.richText)
        html.richText = std::make_unique<CRichTextRunList>();
    CRichTextRun& defaults = html.richText->GetTemplate();
    defaults = CRichTextRun();
    defaults.face = "Arial";
    defaults.size = 10;
    const CReport* document = html.GetDocument();
    if (const CReportFont* font = document != nullptr ? document->FindFont(html.fontname) : nullptr) {
        defaults.face = font->typeface;
        defaults.bold = font->bold ? 1 : 0;
        defaults.italic = font->italic ? 1 : 0;
        defaults.size = font->sizeInPoints ? font->size : static_cast<int>(ToPoints(font->size) + 0.5);
    }
    html.richText->Parse(html.GetDisplayMarkup());
}

CReportExporterPdf::SFontEntry* CReportExporterPdf::RunFont(const CRichTextRun& run, const CRichTextRun& defaults)
{
    return FindFontEntry(run.face.empty() ? defaults.face : run.face, run.bold != 0, run.italic != 0);
}

// --- fonts and resources -----------------------------------------------------------------------

void CReportExporterPdf::WriteFont(std::size_t index, SFontEntry& entry)
{
    // Each style is described by its own face, so readers space bold and italic text, and the
    // layout measures it, as that face draws it.
    std::unique_ptr<CFontMetrics> metrics;
    auto trueType = std::make_unique<CTrueTypeFontMetrics>();
    if (trueType->Load(entry.typeface, entry.bold, entry.italic)) {
        metrics = std::move(trueType);
    } else {
        QUILLET_POS(m_log);
        m_log.Warn("'%s'is no TTF-Font", entry.typeface.c_str());
        auto type1 = std::make_unique<CPfmFontMetrics>();
        if (type1->Load(entry.typeface, entry.bold, entry.italic)) {
            metrics = std::move(type1);
        } else {
            QUILLET_POS(m_log);
            m_log.Warn("'%s'is no PFM-Font", entry.typeface.c_str());
            QUILLET_POS(m_log);
            m_log.Error("no font info for '%s'", entry.typeface.c_str());
            return;
        }
    }
    metrics->resourceName = Format("F%d", static_cast<int>(index) + 1);
    std::string baseFont = EscapeName(metrics->fontName);
    if (entry.bold && entry.italic)
        baseFont += ",BoldItalic";
    else if (entry.bold)
        baseFont += ",Bold";
    else if (entry.italic)
        baseFont += ",Italic";

    const int number = BeginObject(true);
    AppendLine("/Type /Font");
    AppendLine(Format("/Subtype /%s", CFontMetrics::GetSubtypeName(metrics->subtype)));
    AppendLine("/BaseFont /" + baseFont);
    AppendLine("/Name /" + EscapeName(metrics->resourceName));
    AppendLine(Format("/Encoding /%s", CFontMetrics::GetEncodingName(metrics->encoding)));
    AppendLine(Format("/FirstChar %d", metrics->firstChar));
    AppendLine(Format("/LastChar %d", metrics->lastChar));
    AppendLine(Format("/FontDescriptor %d 0 R", number + 1));
    m_output += "/Widths [";
    for (int code = metrics->firstChar; code <= metrics->lastChar; ++code) {
        if (code % 16 != 0)
            m_output += ' ';
        else if (code != 32)
            m_output += '\n';
        m_output += Format("%d", metrics->GetWidth(static_cast<unsigned char>(code)));
    }
    AppendLine("]");
    EndObject(true);
    BeginObject(true);
    AppendLine("/Type /FontDescriptor");
    AppendLine("/FontName /" + baseFont);
    AppendLine(Format("/Flags %d", metrics->flags));
    AppendLine(Format("/FontBBox [%d %d %d %d]", metrics->bboxLeft, metrics->bboxBottom, metrics->bboxRight,
                      metrics->bboxTop));
    AppendLine(Format("/StemV %d", metrics->stemV));
    AppendLine(Format("/ItalicAngle %d", metrics->italicAngle));
    AppendLine(Format("/CapHeight %d", metrics->capHeight));
    AppendLine(Format("/Ascent %d", metrics->ascent));
    AppendLine(Format("/Descent %d", metrics->descent));
    EndObject(true);
    entry.metrics = std::move(metrics);
    entry.object = number;
}

void CReportExporterPdf::WriteResources()
{
    m_resourcesObject = BeginObject(true);
    AppendLine("/ProcSet [ /PDF /Text /ImageC]");
    m_output += "/Font << ";
    bool first = true;
    for (const SFontEntry& entry : m_fonts) {
        if (!entry.metrics || entry.object < 0)
            continue;
        if (!first)
            m_output += "         ";
        first = false;
        m_output += Format("/%s %d 0 R ", EscapeName(entry.metrics->resourceName).c_str(), entry.object);
        m_output += '\n';
    }
    AppendLine("      >>");
    if (std::any_of(m_images.begin(), m_images.end(), [](const auto& image) { return image.second != kNoImage; })) {
        m_output += "/XObject << ";
        first = true;
        for (const auto& [name, object] : m_images) {
            if (object == kNoImage)
                continue;
            if (!first)
                m_output += "            ";
            first = false;
            m_output += Format("/Im%d %d 0 R ", object, object);
            m_output += '\n';
        }
        AppendLine("         >>");
    }
    EndObject(true);
}

// --- pages ---------------------------------------------------------------------------------------

void CReportExporterPdf::BeginPage(const CReportPage& page)
{
    const int number = BeginObject(true);
    AppendLine("/Type /Page");
    AppendLine("/Parent 3 0 R");
    AppendLine(Format("/Resources %d 0 R", m_resourcesObject));
    AppendLine(Format("/Contents %d 0 R", number + 1));
    AppendLine("/MediaBox [0 0 " + FormatNumber(ToPoints(page.width)) + " " + FormatNumber(ToPoints(page.height)) + "]");
    EndObject(true);
    m_pageObjects.push_back(number);
    BeginObject(true);
    AppendLine("/Filter /FlateDecode");
    AppendLine(Format("/Length %d 0 R", number + 2));
    AppendLine(">>");
    m_output += "stream\n";
    m_content.clear();
    m_strokeColor = 0;
    m_fillColor = 0;
    m_lineWidth = 0.0;
}

bool CReportExporterPdf::EndPage()
{
    std::string packed;
    if (!Compress(m_content, packed))
        return false;
    m_output += packed;
    AppendLine("");
    AppendLine("endstream");
    AppendLine("endobj");
    BeginObject(false);
    AppendLine(Format("%d", static_cast<int>(packed.size())));
    AppendLine("endobj");
    m_content.clear();
    return true;
}

// --- drawing state -------------------------------------------------------------------------------

std::string CReportExporterPdf::Color(ReportColor color, const char* grayOperator, const char* rgbOperator) const
{
    const int r = static_cast<int>(color & 0xFF);
    const int g = static_cast<int>(color >> 8 & 0xFF);
    const int b = static_cast<int>(color >> 16 & 0xFF);
    if (r == g && g == b)
        return FormatNumber(r / 255.0) + " " + grayOperator;
    return FormatNumber(r / 255.0) + " " + FormatNumber(g / 255.0) + " " + FormatNumber(b / 255.0) + " " + rgbOperator;
}

void CReportExporterPdf::SetStrokeColor(ReportColor color)
{
    if (color == m_strokeColor)
        return;
    AddContent(Color(color, "G", "RG"));
    m_strokeColor = color;
}

void CReportExporterPdf::SetFillColor(ReportColor color)
{
    if (color == m_fillColor)
        return;
    AddContent(Color(color, "g", "rg"));
    m_fillColor = color;
}

void CReportExporterPdf::SetLineWidth(double width)
{
    if (width == m_lineWidth)
        return;
    AddContent(FormatNumber(width) + " w");
    m_lineWidth = width;
}

// Only elements of a page are written (WriteElement), so the owner is there.
double CReportExporterPdf::X(const CReportElement& element, int x) const
{
    return ToPoints(static_cast<double>(x) + element.owner->leftBorder);
}

double CReportExporterPdf::Y(const CReportElement& element, int y) const
{
    return ToPoints(element.owner->height - (static_cast<double>(y) + element.owner->topBorder));
}

std::string CReportExporterPdf::Point(const CReportElement& element, int x, int y) const
{
    return FormatNumber(X(element, x)) + " " + FormatNumber(Y(element, y));
}

// --- elements ------------------------------------------------------------------------------------

void CReportExporterPdf::WriteElement(CReportElement& element)
{
    if (element.owner == nullptr || !element.IsVisible())
        return;
    const std::string& type = element.GetTypeName();
    if (type == "line")
        WriteLine(static_cast<const CReportLine&>(element));
    else if (type == "text")
        WriteText(static_cast<const CReportText&>(element));
    else if (type == "rectangle")
        WriteRectangle(static_cast<const CReportRectangle&>(element));
    else if (type == "table")
        WriteTable(static_cast<const CReportTable&>(element));
    else if (type == "picture")
        WritePicture(static_cast<const CReportPicture&>(element));
    else if (type == "htmltext")
        WriteHtmlText(static_cast<CReportHtmlText&>(element));
}

void CReportExporterPdf::WriteLine(const CReportLine& line)
{
    SetStrokeColor(line.color);
    SetLineWidth(ToPoints(line.penWidth));
    AddContent(Point(line, line.x, line.y) + " m");
    AddContent(Point(line, line.x2, line.y2) + " l");
    AddContent("S");
    AddContent("");
}

void CReportExporterPdf::WriteRectangle(const CReportRectangle& rectangle)
{
    SetStrokeColor(rectangle.borderColor);
    m_lineWidth = ToPoints(rectangle.borderWidth);
    AddContent(FormatNumber(m_lineWidth) + " w");
    if (rectangle.angle == 0.0) {
        AddContent(Point(rectangle, rectangle.x, rectangle.y + rectangle.height) + " " +
                   FormatNumber(ToPoints(rectangle.width)) + " " + FormatNumber(ToPoints(rectangle.height)) + " re");
    } else {
        const std::array<SReportPoint, 4> corners = rectangle.GetCorners();
        AddContent(Point(rectangle, corners[3].x, corners[3].y) + " m");
        for (const SReportPoint& corner : corners)
            AddContent(Point(rectangle, corner.x, corner.y) + " l");
    }
    if (rectangle.fillColor == CReportRectangle::kTransparent) {
        AddContent("S");
    } else {
        SetFillColor(rectangle.fillColor);
        AddContent("B");
    }
    AddContent("");
}

void CReportExporterPdf::WriteText(const CReportText& text)
{
    const CReport* document = text.GetDocument();
    if (document == nullptr)
        return;
    std::string content = CTextEncoding::Utf8ToWindows1252(text.GetDisplayText());
    if (content.empty())
        return;

    // Select the font first: text that no font can show is not written at all.
    double size = 10.0;
    SFontEntry* font = nullptr;
    if (const CReportFont* record = document->FindFont(text.fontname)) {
        size = record->sizeInPoints ? record->size : ToPoints(record->size);
        font = FindFontEntry(record->typeface, record->bold, record->italic);
        if (font == nullptr || !font->metrics) {
            QUILLET_POS(m_log);
            m_log.Error("'%s' font not found in PDF-Fonts", record->typeface.c_str());
            font = FallbackFont();
        }
    } else {
        QUILLET_POS(m_log);
        m_log.Warn("'%s' font not found", text.fontname.c_str());
        font = FallbackFont();
    }
    if (font == nullptr) {
        QUILLET_POS(m_log);
        m_log.Error("'%s' could not select a font", text.fontname.c_str());
        return;
    }
    const CFontMetrics& metrics = *font->metrics;

    SetFillColor(text.color);
    SReportPoint corners[4] = {{text.x, text.y}, {text.x, text.y + text.height},
                               {text.x + text.width, text.y + text.height}, {text.x + text.width, text.y}};
    for (int i = 1; i < 4; ++i)
        Pagewright::RotatePoint(text.x, text.y, corners[i], text.angle);
    AddContent("q");
    AddContent(Point(text, corners[3].x, corners[3].y) + " m");
    for (int i : {0, 1, 2, 3})
        AddContent(Point(text, corners[i].x, corners[i].y) + " l");
    AddContent("W n");

    const double boxWidth = ToPoints(text.width);
    const double a = text.angle * kPi / 180.0;
    std::vector<std::string> lines = BreakLines(metrics, content, size, boxWidth, text.multiline);
    if (text.shrinkToFit) {
        const double full = size;
        size = full * CReportText::ShrinkFactor([&](double factor) {
                   lines = BreakLines(metrics, content, full * factor, boxWidth, text.multiline);
                   return LinesFit(metrics, lines, full * factor, boxWidth, ToPoints(text.height));
               });
    }
    AddContent("/" + EscapeName(metrics.resourceName) + " " + FormatNumber(size) + " Tf");
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        const int n = static_cast<int>(index) + 1;
        const double lineWidth = metrics.GetStringWidth(line, size);
        const double offset = text.GetAlignOffset(static_cast<int>(lineWidth), static_cast<int>(boxWidth));
        AddContent("BT");
        if (text.angle == 0.0) {
            AddContent(FormatNumber(X(text, text.x) + offset) + " " + FormatNumber(Y(text, text.y) - size * n) + " Td");
        } else {
            AddContent(FormatNumber(std::cos(a)) + " " + FormatNumber(std::sin(a)) + " " + FormatNumber(-std::sin(a)) +
                       " " + FormatNumber(std::cos(a)) + " " + Point(text, text.x, text.y) + " Tm");
            AddContent(FormatNumber(offset) + " " + FormatNumber(-size * n) + " Td");
        }
        AddContent("(" + EscapeString(line) + ")'");
        AddContent("ET");
    }
    AddContent("Q");
    AddContent("");
}

std::vector<std::string> CReportExporterPdf::BreakLines(const CFontMetrics& metrics, const std::string& content,
                                                        double size, double boxWidth, bool multiline)
{
    // A line ending at candidate c (a blank after the line's start, or the paragraph's end) is
    // as wide as the difference of two running sums, so the rule - the last candidate whose
    // line fits, tried from the end backwards - becomes a search: with the smallest running
    // sum from each candidate to the paragraph's end, "some candidate from here on fits" turns
    // false once and stays so. The sums are negated for a negative size, at which a wider sum
    // is the narrower line; every comparison is the measuring's own, on the same integer sum.
    const long long sign = size < 0 ? -1 : 1;
    const auto fits = [&](long long units) { return !(CFontMetrics::WidthAtSize(units, size) > boxWidth); };
    std::vector<std::string> lines;
    std::vector<long long> running;        // sign * running sum before each byte of the paragraph
    std::vector<std::size_t> candidates;   // offsets in the paragraph, its end last
    std::vector<long long> smallest;       // least running sum of the candidates from here on
    std::size_t begin = 0;
    for (;;) {
        const std::size_t feed = content.find('\n', begin);
        const std::size_t end = feed == std::string::npos ? content.size() : feed;
        const std::string_view paragraph(content.data() + begin, end - begin);
        running.assign(1, 0);
        candidates.clear();
        for (std::size_t at = 0; at < paragraph.size(); ++at) {
            if (at > 0 && paragraph[at] == ' ')
                candidates.push_back(at);
            running.push_back(running.back() + sign * metrics.GetWidth(static_cast<unsigned char>(paragraph[at])));
        }
        candidates.push_back(paragraph.size());
        smallest.resize(candidates.size());
        for (std::size_t i = candidates.size(); i-- > 0;)
            smallest[i] = i + 1 < candidates.size() ? std::min(running[candidates[i]], smallest[i + 1])
                                                    : running[candidates[i]];
        std::size_t start = 0;
        std::size_t first = 0;  // the first candidate after start
        for (;;) {
            std::size_t cut = candidates.size() - 1;
            if (multiline) {
                const long long base = running[start];
                const auto beyond = std::partition_point(
                    smallest.begin() + first, smallest.end(), [&](long long least) { return fits(sign * (least - base)); });
                const std::size_t fitting = static_cast<std::size_t>(beyond - smallest.begin());
                cut = fitting > first ? fitting - 1 : first;
            }
            const std::size_t stop = candidates[cut];
            const std::size_t from = start < stop && paragraph[start] == ' ' ? start + 1 : start;
            lines.emplace_back(paragraph.substr(from, stop - from));
            if (stop == paragraph.size())
                break;
            start = stop;
            first = cut + 1;
        }
        if (feed == std::string::npos)
            break;
        begin = feed + 1;
    }
    return lines;
}

void CReportExporterPdf::WriteHtmlText(CReportHtmlText& html)
{
    if (html.GetDocument() == nullptr)
        return;
    ParseRuns(html);
    CRichTextRunList& runs = *html.richText;
    runs.SplitWords();
    const CRichTextRun defaults = runs.GetTemplate();
    runs.Layout(html.width, [&](const std::string& text, const CRichTextRun& run) {
        const SFontEntry* font = RunFont(run, defaults);
        if (font == nullptr || !font->metrics)
            return CRichTextRunList::SExtent{};
        const double size = run.size != 0 ? run.size : defaults.size;
        return CRichTextRunList::SExtent{
            ToTenths(font->metrics->GetStringWidth(CTextEncoding::Utf8ToWindows1252(text), size)), ToTenths(size)};
    });
    for (const CRichTextRun& run : runs.GetRuns()) {
        if (run.text.empty())
            continue;
        // Runs carry no colour of their own: html text is written in the default black.
        SetFillColor(0);
        AddContent("q");
        AddContent(Point(html, html.x + html.width, html.y) + " m");
        AddContent(Point(html, html.x, html.y) + " l");
        AddContent(Point(html, html.x, html.y + html.height) + " l");
        AddContent(Point(html, html.x + html.width, html.y + html.height) + " l");
        AddContent(Point(html, html.x + html.width, html.y) + " l");
        AddContent("W n");
        const SFontEntry* font = RunFont(run, defaults);
        if (font != nullptr && font->metrics)
            AddContent("/" + EscapeName(font->metrics->resourceName) + " " +
                       FormatNumber(run.size != 0 ? run.size : defaults.size) + " Tf");
        AddContent("BT");
        AddContent(Point(html, html.x + run.x, html.y + run.lineBottom) + " Td");
        AddContent("(" + EscapeString(CTextEncoding::Utf8ToWindows1252(run.text)) + ")'");
        AddContent("ET");
        AddContent("Q");
        AddContent("");
    }
}

void CReportExporterPdf::WriteTable(const CReportTable& table)
{
    table.ForEachCell([&](const CReportColumn& column, const SReportRect& cell, int row) {
        if (column.owner == nullptr || !column.IsVisible())
            return true;
        bool filled = false;
        if (std::unique_ptr<CReportElement> element = column.MakeCell(cell, table.name, row, filled))
            WriteElement(*element);
        if (!filled && !column.showBorderAlways)
            return true;
        const CReportColumn::SSides& thickness = column.borderThickness;
        const struct {
            int width;
            int x1, y1, x2, y2;
        } borders[] = {
            {thickness.left, cell.left, cell.bottom, cell.left, cell.top},
            {thickness.right, cell.right, cell.bottom, cell.right, cell.top},
            {thickness.top, cell.left, cell.top, cell.right, cell.top},
            {thickness.bottom, cell.left, cell.bottom, cell.right, cell.bottom},
        };
        for (const auto& border : borders) {
            if (border.width <= 0)
                continue;
            CReportLine line(border.x1, border.y1, border.x2, border.y2, column.borderColor, border.width);
            line.owner = column.owner;
            WriteElement(line);
        }
        return true;
    });
}

void CReportExporterPdf::WritePicture(const CReportPicture& picture)
{
    const auto image = m_images.find(picture.filename);
    if (!picture.GetImage() || image == m_images.end() || image->second == kNoImage)
        return;
    // Placed as on screen and paper: x and y are the anchor of the alignment.
    int x = picture.x;
    int y = picture.y;
    int width = picture.width;
    int height = picture.height;
    picture.GetPlacement(x, y, width, height);
    AddContent("q");
    AddContent(FormatNumber(ToPoints(width)) + " 0 0 " + FormatNumber(ToPoints(height)) + " " +
               Point(picture, x, y + height) + " cm");
    AddContent(Format("/Im%d Do", image->second));
    AddContent("Q");
    AddContent("");
}
