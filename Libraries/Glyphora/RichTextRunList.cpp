#include "Glyphora/RichTextRunList.h"

#include "Glyphora/HtmlMarkup.h"
#include "Platform/AsciiText.h"

#include <algorithm>

namespace {

// The alignment of a paragraph tag's attribute text ("align='center'"); false when it names none.
bool ReadParagraphAlignment(const std::string& attributes, int& alignment)
{
    if (attributes.compare(0, 5, "align") != 0)
        return false;
    std::string value = attributes.size() > 6 ? attributes.substr(6) : std::string();
    const std::size_t first = value.find_first_not_of("'\"");
    const std::size_t last = value.find_last_not_of("'\"");
    value = first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
    for (char& c : value)
        c = Platform::AsciiUpper(c);
    if (value == "LEFT")
        alignment = CRichTextRun::kAlignLeft;
    else if (value == "RIGHT")
        alignment = CRichTextRun::kAlignRight;
    else if (value == "CENTER")
        alignment = CRichTextRun::kAlignCenter;
    else
        return false;
    return true;
}

}  // namespace

void CRichTextRunList::Clear()
{
    m_runs.clear();
    m_markup.clear();
}

void CRichTextRunList::Parse(const std::string& markup)
{
    Clear();
    m_markup = markup;
    CRichTextRun first;
    first.CopyFormat(m_template);
    m_runs.push_back(first);
    std::vector<CRichTextRun> paragraphs;
    std::vector<CRichTextRun> fonts;
    std::string rest = markup;
    while (!rest.empty()) {
        Glyphora::SMarkupPiece piece = Glyphora::TakeMarkupPiece(rest);
        m_runs.back().text = std::move(piece.text);
        if (!piece.hasTag)
            break;
        const std::string_view tag = Platform::TrimAsciiBlanks(piece.tag);
        const std::size_t blank = tag.find(' ');
        const std::string name = Platform::AsciiLowerText(tag.substr(0, blank));
        const std::string attributes(blank == std::string_view::npos ? std::string_view() : tag.substr(blank + 1));
        ApplyTag(name, attributes, paragraphs, fonts);
    }
    RemoveEmptyRuns();
}

// Starts the run that follows the tag, with the tag's change of format.
void CRichTextRunList::ApplyTag(const std::string& tag, const std::string& attributes,
                                std::vector<CRichTextRun>& paragraphs, std::vector<CRichTextRun>& fonts)
{
    CRichTextRun& current = m_runs.back();
    CRichTextRun next;
    next.CopyFormat(current);
    if (tag == "br") {
        current.lineBreak = true;
    } else if (tag == "b" || tag == "/b") {
        next.bold = tag == "b";
    } else if (tag == "i" || tag == "/i") {
        next.italic = tag == "i";
    } else if (tag == "u" || tag == "/u") {
        next.underline = tag == "u";
    } else if (tag == "p") {
        if (!current.text.empty())
            current.lineBreak = true;
        paragraphs.push_back(current);
        ReadParagraphAlignment(attributes, next.alignment);
    } else if (tag == "/p") {
        next.alignment = paragraphs.empty() ? CRichTextRun::kAlignLeft : paragraphs.back().alignment;
        if (!paragraphs.empty())
            paragraphs.pop_back();
        current.lineBreak = true;
    } else if (tag == "font") {
        fonts.push_back(current);
        std::string value;
        if (Glyphora::FindQuotedAttribute(attributes, "size", value))
            Glyphora::ReadFontSizePoints(value, next.size);
        if (Glyphora::FindQuotedAttribute(attributes, "face", value))
            next.face = value;
    } else if (tag == "/font") {
        // A closing tag without its opening one goes back to the template's font, not to none.
        const CRichTextRun& previous = fonts.empty() ? m_template : fonts.back();
        next.face = previous.face;
        next.size = previous.size;
        next.extra = previous.extra;
        if (!fonts.empty())
            fonts.pop_back();
    }
    m_runs.push_back(std::move(next));
}

// Runs that carry nothing go; an empty run that only ends a line hands its break to the run
// before it. Empty lines (a break after a break) stay.
void CRichTextRunList::RemoveEmptyRuns()
{
    std::size_t i = 0;
    while (i < m_runs.size()) {
        CRichTextRun& run = m_runs[i];
        if (!run.text.empty()) {
            ++i;
        } else if (!run.lineBreak) {
            m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (i > 0 && !m_runs[i - 1].lineBreak) {
            m_runs[i - 1].lineBreak = true;
            m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void CRichTextRunList::SplitWords()
{
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        for (;;) {
            CRichTextRun& run = m_runs[i];
            if (run.text.size() < 3)
                break;
            const std::size_t blank = run.text.rfind(' ', run.text.size() - 2);
            if (blank == std::string::npos || blank < 1)
                break;
            CRichTextRun word;
            word.CopyFormat(run);
            word.text = run.text.substr(blank);
            word.lineBreak = run.lineBreak;
            run.lineBreak = false;
            run.text.resize(blank);
            m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(i + 1), std::move(word));
        }
    }
}

bool CRichTextRunList::Layout(int width, const MeasureFunction& measure)
{
    if (!measure)
        return false;
    const std::size_t count = m_runs.size();
    std::vector<long long> widths(count);

    // Lines: a run that does not fit starts the next line, unless it is the first of its line.
    long long x = 0;
    int line = 0;
    for (std::size_t i = 0; i < count; ++i) {
        CRichTextRun& run = m_runs[i];
        const SExtent extent = measure(run.text, run);
        if (x + extent.width > width && x != 0) {
            x = 0;
            ++line;
        }
        run.lineIndex = line;
        run.x = static_cast<int>(x);
        run.lineBottom = extent.height;
        widths[i] = extent.width;
        if (run.lineBreak) {
            x = 0;
            ++line;
        } else {
            x += extent.width;
        }
    }

    long long top = 0;
    for (std::size_t first = 0; first < count;) {
        std::size_t end = first + 1;
        while (end < count && m_runs[end].lineIndex == m_runs[first].lineIndex)
            ++end;
        const std::size_t last = end - 1;

        // Blanks at the line's edges take no room.
        bool trimmed = false;
        if (!m_runs[first].text.empty() && m_runs[first].text.front() == ' ') {
            m_runs[first].text.erase(0, 1);
            trimmed = true;
        }
        if (!m_runs[last].text.empty() && m_runs[last].text.back() == ' ') {
            m_runs[last].text.pop_back();
            trimmed = true;
        }
        if (trimmed) {
            long long lineX = 0;
            for (std::size_t i = first; i < end; ++i) {
                const SExtent extent = measure(m_runs[i].text, m_runs[i]);
                m_runs[i].x = static_cast<int>(lineX);
                m_runs[i].lineBottom = extent.height;
                widths[i] = extent.width;
                lineX += extent.width;
            }
        }

        int height = 0;
        for (std::size_t i = first; i < end; ++i)
            height = std::max(height, m_runs[i].lineBottom);
        const long long rest = width - (m_runs[last].x + widths[last]);
        long long shift = 0;
        if (m_runs[first].alignment == CRichTextRun::kAlignRight)
            shift = rest;
        else if (m_runs[first].alignment == CRichTextRun::kAlignCenter)
            shift = rest / 2;
        top += height;
        for (std::size_t i = first; i < end; ++i) {
            m_runs[i].x = static_cast<int>(m_runs[i].x + shift);
            m_runs[i].lineBottom = static_cast<int>(top);
        }
        first = end;
    }
    return true;
}
