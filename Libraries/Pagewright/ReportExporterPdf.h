// Writes a paginated report as a PDF 1.3 file: fonts described by their metrics (never
// embedded), 24-bit bitmaps as RGB images, every stream Flate-compressed. The file is built in
// memory and replaces the target as a whole.
#pragma once

#include "Pagewright/FontMetrics.h"
#include "Pagewright/ReportValues.h"
#include "Quillet/Logger.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CReport;
class CReportPage;
class CReportElement;
class CReportText;
class CReportHtmlText;
class CReportLine;
class CReportRectangle;
class CReportTable;
class CReportPicture;
class CRichTextRun;

class CReportExporterPdf {
public:
    CReportExporterPdf();
    ~CReportExporterPdf();
    CReportExporterPdf(const CReportExporterPdf&) = delete;
    CReportExporterPdf& operator=(const CReportExporterPdf&) = delete;

    // 1 once the file is written; 0 for a null document, one without output pages, a page that
    // could not be compressed, or a file that could not be written (an existing file then stays
    // as it was).
    int Export(CReport* document, const std::string& path);
    // The bytes of the last export.
    const std::string& GetOutput() const { return m_output; }

    // A real number as PDF text: rounded half up to three decimals, six printed, '.' always.
    static std::string FormatNumber(double value);
    // A PDF name: every delimiter, '#' and byte outside '!'..'~' as #xx.
    static std::string EscapeName(std::string_view name);
    // A string operand: '\', '(' and ')' behind a backslash, CR as \r.
    static std::string EscapeString(std::string_view text);
    // The lines of a text at the size: broken at line feeds and, when multiline, a line wider
    // than the box ends before its last blank after its first character up to which it fits,
    // or before the first such blank when it fits up to none (a word wider than the box keeps
    // its line). Blanks before the cut stay with the line, the rest starts with the blank cut
    // at, and every line loses one leading blank once it is measured.
    static std::vector<std::string> BreakLines(const CFontMetrics& metrics, const std::string& content, double size,
                                               double boxWidth, bool multiline);

private:
    struct SFontEntry {
        std::string typeface;
        bool bold = false;
        bool italic = false;
        std::unique_ptr<CFontMetrics> metrics;
        int object = -1;
    };

    void Reset();
    void AppendLine(std::string_view line);
    int BeginObject(bool dictionary);
    void EndObject(bool dictionary);
    void AddContent(std::string_view line);

    // Fonts and images every page uses, found before the pages are written.
    void RegisterPage(CReportPage& page);
    void RegisterElement(CReportElement& element);
    void RegisterImage(const CReportPicture& picture);
    SFontEntry* AddFont(const std::string& typeface, bool bold, bool italic);
    SFontEntry* FindFontEntry(const std::string& typeface, bool bold, bool italic);
    // The first entry with metrics: text whose own font is missing takes it.
    SFontEntry* FallbackFont();
    void WriteFont(std::size_t index, SFontEntry& entry);
    void WriteResources();

    void BeginPage(const CReportPage& page);
    bool EndPage();

    void WriteElement(CReportElement& element);
    void WriteLine(const CReportLine& line);
    void WriteRectangle(const CReportRectangle& rectangle);
    void WriteText(const CReportText& text);
    void WriteHtmlText(CReportHtmlText& html);
    void WriteTable(const CReportTable& table);
    void WritePicture(const CReportPicture& picture);

    // The runs of the element's mark-up, parsed with its default format (not laid out).
    void ParseRuns(CReportHtmlText& html);
    // The font key of a run: its own face and styles, the template's face when it has none.
    SFontEntry* RunFont(const CRichTextRun& run, const CRichTextRun& defaults);

    void SetStrokeColor(ReportColor color);
    void SetFillColor(ReportColor color);
    void SetLineWidth(double width);
    std::string Color(ReportColor color, const char* grayOperator, const char* rgbOperator) const;

    double X(const CReportElement& element, int x) const;
    double Y(const CReportElement& element, int y) const;
    std::string Point(const CReportElement& element, int x, int y) const;

    CLogger m_log;
    std::string m_output;
    CReport* m_document = nullptr;
    std::vector<long long> m_offsets;
    std::vector<int> m_pageObjects;
    std::map<std::string, int> m_images;
    int m_resourcesObject = 0;
    std::vector<SFontEntry> m_fonts;
    std::string m_content;
    ReportColor m_strokeColor = 0;
    ReportColor m_fillColor = 0;
    double m_lineWidth = 0.0;
    bool m_failed = false;
};
