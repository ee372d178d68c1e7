// Html text mark-up turned into runs for the PDF writer, which cannot draw through the html text
// drawer: runs of one format each, split into words, assigned to lines, trimmed and aligned.
#pragma once

#include "Glyphora/RichTextRun.h"

#include <functional>
#include <string>
#include <vector>

class CRichTextRunList {
public:
    struct SExtent {
        int width = 0;
        int height = 0;
    };
    // Width and height of a run's text in the caller's unit.
    using MeasureFunction = std::function<SExtent(const std::string& text, const CRichTextRun& run)>;

    // Replaces the runs by those of the mark-up; every run starts from the template's format.
    void Parse(const std::string& markup);
    // Splits every run at blanks; the words keep their leading blank ("one", " two").
    void SplitWords();
    // Lines of at most width, aligned; false without a measure function.
    bool Layout(int width, const MeasureFunction& measure);
    void Clear();

    const std::string& GetMarkup() const { return m_markup; }
    const std::vector<CRichTextRun>& GetRuns() const { return m_runs; }
    // The default format; set before Parse.
    CRichTextRun& GetTemplate() { return m_template; }

private:
    void ApplyTag(const std::string& tag, const std::string& attributes, std::vector<CRichTextRun>& paragraphs,
                  std::vector<CRichTextRun>& fonts);
    void RemoveEmptyRuns();

    std::string m_markup;
    std::vector<CRichTextRun> m_runs;
    CRichTextRun m_template;
};
