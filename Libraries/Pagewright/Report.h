// A report document: the template pages and fonts read from a report template, the placeholder
// variables the application fills, and the output pages that pagination makes from the
// templates. Drawing, printing and the PDF writer walk the output pages and their elements.
#pragma once

#include "Pagewright/ReportFont.h"
#include "Pagewright/ReportPage.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CReportPictureFiles;
class TiXmlDocument;
class TiXmlElement;

class CReport {
public:
    CReport();
    ~CReport();
    CReport(const CReport&) = delete;
    CReport& operator=(const CReport&) = delete;

    // Loading replaces the whole document (variables included), so variables are set after it.
    // A template that cannot be read or parsed, whose root is not "report", or that ReadXml
    // refuses, leaves the document as it was and returns false.
    // The document folder, against which pictures are found, is the file's folder.
    bool LoadFromFile(const std::string& path);
    // The template compiled into the program as RCDATA resource id; with an empty folder the
    // pictures are found in the program folder.
    bool LoadFromResource(int id, const std::string& folder = std::string());
    // A template held in memory, so callers need no temporary file; folder as above.
    bool LoadFromString(std::string_view text, const std::string& folder = std::string());
    // Replaces the document by the "page" and then the "font" children of root. Pages and fonts
    // that fail to load are skipped. False, with the document as it was, for a missing root and
    // for a page larger than CReportPage::kMaxSize: a report without one of its pages would pass
    // for complete.
    bool ReadXml(const TiXmlElement* root);
    // Every template page, then every font, as read.
    void WriteXml(TiXmlElement& root) const;
    // Writes the template atomically; false, with the file untouched, when it cannot be written.
    bool Save(const std::string& path) const;

    // Sets a placeholder; an empty value removes it. A name "T.C.n" (n > 0) also raises the row
    // count of table key "T.C" to n.
    void SetVariable(const std::string& name, const std::string& value);
    // The value, "" when unknown.
    std::string GetVariable(const std::string& name) const;
    int GetRowCount(const std::string& key) const;
    // Replaces every "$NAME" by the variable's value; "$$" is "$", and a name ending in '.' that
    // is unknown is retried without the dots, which stay as text ("$X." ends a sentence).
    std::string ExpandVariables(const std::string& text) const;

    // The most output pages, and the most elements drawn on all of them together (table cells
    // and their contents included, as CReportElement::CountDrawn counts), that a document may
    // have: drawing, printing and the PDF writer take time and memory in proportion to them.
    static constexpr int kMaxOutputPages = 1000;
    static constexpr long long kMaxDrawnElements = 200000;

    // Rebuilds the output pages from the templates and the current row counts. A document that
    // would exceed kMaxOutputPages or kMaxDrawnElements gets no output pages at all, and false;
    // it is counted from the templates first, so refusing it costs no more than the bounds.
    bool Paginate();
    int GetPageCount() const { return static_cast<int>(m_outputPages.size()); }
    // Output page by 0-based index; null outside.
    CReportPage* GetPage(int index) const;
    const std::vector<std::unique_ptr<CReportPage>>& GetTemplatePages() const { return m_templatePages; }

    const std::vector<CReportFont>& GetFonts() const { return m_fonts; }
    // The font of exactly that name; null when there is none.
    const CReportFont* FindFont(const std::string& fontname) const;

    // Adds the other document's pages, its fonts of names this one lacks, and its variables
    // (those this one has only when overwrite is set); then paginates.
    bool Append(const CReport& other, bool overwrite);
    void Clear();

    // Ends in '/' (or is empty).
    const std::string& GetDocumentFolder() const { return m_folder; }
    // The pictures the template's elements name, read once each as the template loads, within
    // the budget of CReportPictureFiles::kMaxBytes for each template loaded.
    CReportPictureFiles& GetPictureFiles() const { return *m_pictureFiles; }

private:
    bool LoadDocument(const TiXmlDocument& doc, const std::string& folder);
    std::string Lookup(const std::string& name) const;

    std::vector<CReportFont> m_fonts;
    std::map<std::string, std::string> m_variables;
    std::map<std::string, int> m_rowCounts;
    std::vector<std::unique_ptr<CReportPage>> m_outputPages;
    std::vector<std::unique_ptr<CReportPage>> m_templatePages;
    std::string m_folder;
    std::unique_ptr<CReportPictureFiles> m_pictureFiles;
};
