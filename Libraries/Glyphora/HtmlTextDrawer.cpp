#include "Glyphora/HtmlTextDrawer.h"

#include "Glyphora/HtmlMarkup.h"
#include "Glyphora/TextMeasurer.h"
#include "Platform/AsciiText.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Without a rectangle a measured text may grow this wide.
constexpr int kUnlimitedWidth = 1 << 29;

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// End of the UTF-8 character that starts at position at, so a long word is never broken
// inside a character.
std::size_t NextCharacter(const std::string& text, std::size_t at)
{
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

}  // namespace

CHtmlTextDrawer::CHtmlTextDrawer(std::string text) : m_text(std::move(text)) {}

std::uint32_t CHtmlTextDrawer::ParseColor(const std::string& text)
{
    std::size_t first = 0;
    while (first < text.size() && (text[first] == '#' || text[first] == ' '))
        ++first;
    const std::string value = Platform::AsciiLowerText(Platform::TrimAsciiBlanks(std::string_view(text).substr(first)));
    if (value.size() != 6)
        return 0;
    std::uint32_t color = 0;
    for (int pair = 0; pair < 3; ++pair) {
        const int high = HexDigit(value[2 * pair]);
        const int low = HexDigit(value[2 * pair + 1]);
        // A stray high digit counts as 0; a stray low one is skipped, leaving the high digit alone.
        int byte = std::max(high, 0);
        if (low >= 0)
            byte = byte * 16 + low;
        color |= static_cast<std::uint32_t>(byte) << (8 * pair);
    }
    return color;
}

void CHtmlTextDrawer::Layout(ITextMeasurer& measurer, SRect& rect, bool measureOnly)
{
    m_measurer = &measurer;
    m_lines.clear();
    m_fragments.clear();
    m_links.clear();
    m_linkWords.clear();
    m_state = SState{m_baseFont, m_baseColor, kAlignLeft};
    m_stack.clear();
    m_rect = rect;
    if (measureOnly && rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0)
        m_rect.right = kUnlimitedWidth;
    if (measureOnly) {
        m_rect.right -= m_rect.left;
        m_rect.left = 0;
    }
    m_span = std::max(0, m_rect.right - m_rect.left);
    m_maxWidth = 0;
    m_y = m_rect.top;
    m_lineOpen = false;
    m_collectingLink = false;
    m_linkTarget.clear();
    m_linkFragments.clear();

    std::string rest;
    rest.reserve(m_text.size());
    for (char c : m_text) {
        if (c == '\n')
            rest += "<br>";
        else if (c != '\r')
            rest += c;
    }
    while (!rest.empty()) {
        Glyphora::SMarkupPiece piece = Glyphora::TakeMarkupPiece(rest);
        if (!piece.text.empty())
            OutputText(std::move(piece.text));
        if (piece.hasTag)
            HandleTag(Platform::AsciiLowerText(piece.tag));
    }
    if (m_lineOpen)
        EndLine();

    for (std::size_t i = 0; i < m_linkWords.size(); ++i) {
        for (std::size_t index : m_linkWords[i]) {
            const SFragment& word = m_fragments[index];
            m_links[i].region.push_back({word.x, word.baseline - word.ascent * m_yDirection, word.x + word.width,
                                         word.baseline + word.descent * m_yDirection});
        }
    }
    if (measureOnly)
        rect = SRect{0, 0, m_maxWidth, m_y};
    m_measurer = nullptr;
}

void CHtmlTextDrawer::Pop()
{
    // A closing tag without its opening one changes nothing.
    if (m_stack.empty())
        return;
    m_state = m_stack.back();
    m_stack.pop_back();
}

void CHtmlTextDrawer::HandleTag(const std::string& tag)
{
    SHtmlFont& font = m_state.font;
    if (tag == "br") {
        EndLine();
    } else if (tag == "b" || tag == "i" || tag == "u" || tag == "s") {
        Push();
        if (tag == "b")
            font.weight = 700;
        else if (tag == "i")
            font.italic = true;
        else if (tag == "u")
            font.underline = true;
        else
            font.strikeOut = true;
    } else if (tag == "/i") {
        if (m_lineOpen)
            m_x += m_measurer->Measure(font, std::string_view()).overhang;
        Pop();
    } else if (tag == "/b" || tag == "/u" || tag == "/s" || tag == "/font") {
        Pop();
    } else if (tag == "/p") {
        EndLine();
        Pop();
    } else if (tag == "/a") {
        if (m_collectingLink) {
            m_links.push_back(SLink{{}, m_linkTarget});
            m_linkWords.push_back(m_linkFragments);
            m_linkTarget.clear();
            m_linkFragments.clear();
            m_collectingLink = false;
        }
        Pop();
    } else if (StartsWith(tag, "p")) {
        EndLine();
        Push();
        std::string align;
        if (Glyphora::FindQuotedAttribute(tag, "align", align)) {
            if (align == "left")
                m_state.alignment = kAlignLeft;
            else if (align == "right")
                m_state.alignment = kAlignRight;
            else if (align == "center")
                m_state.alignment = kAlignCenter;
        }
    } else if (StartsWith(tag, "font")) {
        Push();
        std::string value;
        if (Glyphora::FindQuotedAttribute(tag, "size", value) && Glyphora::ReadFontSizePoints(value, font.size))
            font.sizeInPoints = true;
        if (Glyphora::FindQuotedAttribute(tag, "color", value) && value.size() == 7)
            m_state.color = ParseColor(value);
        if (Glyphora::FindQuotedAttribute(tag, "face", value) && value.size() >= 2 && value.size() <= 31)
            font.face = value;
        font.weight = 400;
        font.italic = false;
        font.underline = false;
        font.strikeOut = false;
    } else if (StartsWith(tag, "a")) {
        Push();
        font.underline = true;
        m_state.color = m_linkColor;
        std::string target;
        if (Glyphora::FindQuotedAttribute(tag, "href", target)) {
            m_linkTarget = target;
            m_linkFragments.clear();
            m_collectingLink = true;
        }
    }
}

// Word wrap: a word that does not fit goes to the next line; a word wider than the whole line
// is broken after the last character that still fits, at least one character a line.
void CHtmlTextDrawer::OutputText(std::string piece)
{
    while (!piece.empty()) {
        if (!m_lineOpen)
            StartLine();
        const std::size_t blank = piece.find(' ');
        const std::string word = piece.substr(0, blank);
        const int extent = word.empty() ? 0 : m_measurer->Measure(m_state.font, word).width;
        if (!word.empty() && m_span < extent + m_x) {
            if (m_x > 0) {
                EndLine();
                continue;
            }
            std::size_t take = 0;
            while (take < word.size()) {
                const std::size_t next = NextCharacter(word, take);
                if (m_measurer->Measure(m_state.font, std::string_view(word).substr(0, next)).width > m_span) {
                    if (take == 0)
                        take = next;
                    break;
                }
                take = next;
            }
            WriteFragment(word.substr(0, take));
            piece.erase(0, take);
            EndLine();
            continue;
        }
        const std::size_t length = blank == std::string::npos ? piece.size() : blank + 1;
        WriteFragment(piece.substr(0, length));
        piece.erase(0, length);
    }
}

void CHtmlTextDrawer::WriteFragment(const std::string& text)
{
    const STextMetrics metrics = m_measurer->Measure(m_state.font, text);
    SFragment fragment;
    fragment.text = text;
    fragment.font = m_state.font;
    fragment.color = m_state.color;
    fragment.x = m_x;
    fragment.width = metrics.width;
    fragment.ascent = metrics.ascent;
    fragment.descent = metrics.descent;
    fragment.line = m_lines.size();
    if (m_collectingLink)
        m_linkFragments.push_back(m_fragments.size());
    m_fragments.push_back(std::move(fragment));
    m_x += metrics.width;
    const SLineBox box = m_measurer->LineBox(m_state.font, metrics);
    if (box.height > m_lineHeight) {
        m_lineHeight = box.height;
        m_lineAscent = box.ascent;
    }
}

void CHtmlTextDrawer::StartLine()
{
    m_lineOpen = true;
    m_lineStart = m_fragments.size();
    m_x = 0;
    m_lineHeight = 0;
    m_lineAscent = 0;
}

// Places the open line by the paragraph alignment. Ending a line that holds nothing leaves an
// empty line as high as the one before it.
void CHtmlTextDrawer::EndLine()
{
    SLine line;
    line.top = m_y;
    if (m_lineOpen) {
        m_x += m_measurer->Measure(m_state.font, std::string_view()).overhang;
        m_maxWidth = std::max(m_maxWidth, m_x);
        if (m_state.alignment == kAlignRight)
            line.left = m_rect.right - m_x;
        else if (m_state.alignment == kAlignCenter)
            line.left = (m_rect.left + m_rect.right - m_x) / 2;
        else
            line.left = m_rect.left;
        line.right = line.left + m_x;
        line.bottom = m_y + m_lineHeight * m_yDirection;
        line.baseline = m_y + m_lineAscent * m_yDirection;
        for (std::size_t i = m_lineStart; i < m_fragments.size(); ++i) {
            m_fragments[i].x += line.left;
            m_fragments[i].baseline = line.baseline;
        }
        m_lineOpen = false;
    } else {
        const int height = m_lines.empty() ? 0 : std::abs(m_lines.back().bottom - m_lines.back().top);
        line.left = line.right = m_rect.left;
        line.bottom = line.baseline = m_y + height * m_yDirection;
    }
    m_y = line.bottom;
    m_lines.push_back(line);
}

int CHtmlTextDrawer::HitTestLink(int x, int y) const
{
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        for (const SRect& r : m_links[i].region) {
            const int top = std::min(r.top, r.bottom);
            const int bottom = std::max(r.top, r.bottom);
            if (x >= r.left && x < r.right && y >= top && y < bottom)
                return static_cast<int>(i);
        }
    }
    return -1;
}

CHtmlTextDrawer::SLink CHtmlTextDrawer::GetLink(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_links.size())
        return SLink();
    return m_links[static_cast<std::size_t>(index)];
}
