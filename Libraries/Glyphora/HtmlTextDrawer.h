// Lays out html text (the mark-up of report html text elements: br, b, i, u, s, p with align,
// a with href, font with size, color and face) into a rectangle with word wrap and paragraph
// alignment. The result is a list of placed fragments that a canvas draws, or only the size
// the text needs.
#pragma once

#include "Glyphora/HtmlFont.h"

#include <cstdint>
#include <string>
#include <vector>

class ITextMeasurer;

class CHtmlTextDrawer {
public:
    enum { kAlignLeft = 0, kAlignRight = 2, kAlignCenter = 6 };
    // The link colour where the desktop offers no other.
    static constexpr std::uint32_t kDefaultLinkColor = 0xFF00FF;

    struct SRect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    struct SLine {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        int baseline = 0;
    };
    // A piece of text of one font drawn with its baseline at (x, baseline).
    struct SFragment {
        std::string text;
        SHtmlFont font;
        std::uint32_t color = 0;  // red in the low byte
        int x = 0;
        int baseline = 0;
        int width = 0;
        int ascent = 0;
        int descent = 0;
        std::size_t line = 0;
    };
    struct SLink {
        std::vector<SRect> region;  // one rectangle per word of the link
        std::string target;
    };

    explicit CHtmlTextDrawer(std::string text = std::string());
    void SetText(std::string text) { m_text = std::move(text); }

    // The state before the first tag: the element's font and the text colour.
    void SetBaseFont(const SHtmlFont& font) { m_baseFont = font; }
    void SetTextColor(std::uint32_t color) { m_baseColor = color; }
    void SetLinkColor(std::uint32_t color) { m_linkColor = color; }
    // -1 where the y axis points up (the report's drawing units), +1 where it points down.
    void SetYDirection(int direction) { m_yDirection = direction < 0 ? -1 : 1; }

    // Lays the text out into rect. With measureOnly the rectangle becomes the size needed (left
    // and top 0, right the widest line, bottom the end of the last line); an empty rectangle
    // then sets no width limit.
    void Layout(ITextMeasurer& measurer, SRect& rect, bool measureOnly);

    const std::vector<SLine>& GetLines() const { return m_lines; }
    const std::vector<SFragment>& GetFragments() const { return m_fragments; }
    // Index of the first link one of whose words holds the point; -1 when none.
    int HitTestLink(int x, int y) const;
    // A copy of the link; an empty record for an index out of range.
    SLink GetLink(int index) const;
    int GetLinkCount() const { return static_cast<int>(m_links.size()); }

    // "#rrggbb" of a font tag (case and blanks around it do not matter); black for any other length.
    static std::uint32_t ParseColor(const std::string& text);

private:
    struct SState {
        SHtmlFont font;
        std::uint32_t color = 0;
        int alignment = kAlignLeft;
    };

    void HandleTag(const std::string& tag);
    void OutputText(std::string piece);
    void WriteFragment(const std::string& text);
    void StartLine();
    void EndLine();
    void Push() { m_stack.push_back(m_state); }
    void Pop();

    std::string m_text;
    SHtmlFont m_baseFont;
    std::uint32_t m_baseColor = 0;
    std::uint32_t m_linkColor = kDefaultLinkColor;
    int m_yDirection = 1;

    std::vector<SLine> m_lines;
    std::vector<SFragment> m_fragments;
    std::vector<SLink> m_links;

    // Layout state.
    ITextMeasurer* m_measurer = nullptr;
    SState m_state;
    std::vector<SState> m_stack;
    SRect m_rect;
    int m_span = 0;
    int m_maxWidth = 0;
    int m_y = 0;
    bool m_lineOpen = false;
    std::size_t m_lineStart = 0;  // first fragment of the open line
    int m_x = 0;
    int m_lineHeight = 0;
    int m_lineAscent = 0;
    bool m_collectingLink = false;
    std::string m_linkTarget;
    std::vector<std::size_t> m_linkFragments;
    std::vector<std::vector<std::size_t>> m_linkWords;
};
