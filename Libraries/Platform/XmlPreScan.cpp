#include "Platform/XmlPreScan.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>
#include <vector>

// Each step below follows the TinyXML 2.6 parser function named in its comment. Where that
// parser fails, it stops reading the document altogether, so the scan stops too: nothing after
// that point can open an element.

namespace {

constexpr std::size_t kEnd = std::string_view::npos;

class CScanner
{
public:
    CScanner(std::string_view text, int depthLimit, int attributeLimit)
        : m_text(text), m_depthLimit(depthLimit), m_attributeLimit(attributeLimit)
    {
    }

    CXmlPreScan::Result Run();

private:
    // The byte at i, 0 past the end (TinyXML reads a NUL-terminated copy).
    unsigned char At(std::size_t i) const
    {
        return i < m_text.size() ? static_cast<unsigned char>(m_text[i]) : 0;
    }
    std::size_t Find(std::string_view what, std::size_t from) const
    {
        return from > m_text.size() ? kEnd : m_text.find(what, from);
    }

    // TiXmlBase::IsWhiteSpace, IsAlpha, IsAlphaNum, ToLower: the C library under the process
    // locale, exactly as the parser calls it.
    static bool IsWhiteSpace(unsigned char c) { return c != 0 && (std::isspace(c) || c == '\n' || c == '\r'); }
    static bool IsAlpha(unsigned char c) { return c < 127 ? std::isalpha(c) != 0 : true; }
    static bool IsAlphaNum(unsigned char c) { return c < 127 ? std::isalnum(c) != 0 : true; }
    static bool IsNameStart(unsigned char c) { return IsAlpha(c) || c == '_'; }
    static bool IsNameChar(unsigned char c)
    {
        return c != 0 && (IsAlphaNum(c) || c == '_' || c == '-' || c == '.' || c == ':');
    }
    static int ToLower(unsigned char c)
    {
        const int v = static_cast<char>(c);  // the parser passes a plain char
        return v < 128 ? std::tolower(v) : v;
    }

    bool StringEqual(std::size_t i, const char* tag, bool ignoreCase) const;
    std::size_t SkipWhiteSpace(std::size_t i) const;
    std::size_t Entity(std::size_t i) const;
    std::size_t Text(std::size_t i) const;
    std::size_t Attribute(std::size_t i, std::string_view& name) const;
    std::size_t Declaration(std::size_t i) const;
    std::size_t Node(std::size_t i);
    std::size_t Element(std::size_t i);
    std::size_t EndTag(std::size_t i);

    std::string_view m_text;
    int m_depthLimit;
    int m_attributeLimit;
    std::vector<std::string_view> m_open;  // names of the elements open at the current position
    CXmlPreScan::Result m_result;
};

// TiXmlBase::StringEqual: a prefix match, false at the end of the text.
bool CScanner::StringEqual(std::size_t i, const char* tag, bool ignoreCase) const
{
    if (At(i) == 0)
        return false;
    for (; *tag; ++i, ++tag) {
        const unsigned char c = At(i);
        const unsigned char t = static_cast<unsigned char>(*tag);
        if (c == 0 || (ignoreCase ? ToLower(c) != ToLower(t) : c != t))
            return false;
    }
    return true;
}

// TiXmlBase::SkipWhiteSpace in UTF-8 mode: byte order marks and U+FFFE, U+FFFF count as blanks.
std::size_t CScanner::SkipWhiteSpace(std::size_t i) const
{
    while (i < m_text.size()) {
        if (At(i) == 0xEF && ((At(i + 1) == 0xBB && At(i + 2) == 0xBF) ||
                              (At(i + 1) == 0xBF && (At(i + 2) == 0xBE || At(i + 2) == 0xBF)))) {
            i += 3;
        } else if (IsWhiteSpace(At(i))) {
            ++i;
        } else {
            break;
        }
    }
    return i;
}

// TiXmlBase::GetEntity at a '&'. A numeric reference jumps to the first ';' after it as long
// as the characters just before that ';' back to the last 'x' (or '#') are digits; whatever
// lies between is swallowed, '<' and quotes included. Returns the position after the
// reference, kEnd where the parser fails.
std::size_t CScanner::Entity(std::size_t i) const
{
    if (At(i + 1) != '#' || At(i + 2) == 0)
        return i + 1;  // named or unknown entities hold no markup
    const bool hex = At(i + 2) == 'x';
    if (hex && At(i + 3) == 0)
        return kEnd;
    const std::size_t semicolon = Find(";", i + (hex ? 3 : 2));
    if (semicolon == kEnd)
        return kEnd;
    for (std::size_t q = semicolon - 1; At(q) != (hex ? 'x' : '#'); --q) {
        const unsigned char c = At(q);
        const bool digit = (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit)
            return kEnd;
    }
    return semicolon + 1;
}

// TiXmlText::Parse outside CDATA: text up to the next '<'; running out of text fails.
std::size_t CScanner::Text(std::size_t i) const
{
    while (i < m_text.size()) {
        if (At(i) == '<')
            return i;
        i = At(i) == '&' ? Entity(i) : i + 1;
    }
    return kEnd;
}

// TiXmlAttribute::Parse: name, '=', then a quoted value (read with references) or a bare one.
std::size_t CScanner::Attribute(std::size_t i, std::string_view& name) const
{
    i = SkipWhiteSpace(i);
    if (!IsNameStart(At(i)))
        return kEnd;
    const std::size_t start = i;
    while (IsNameChar(At(i)))
        ++i;
    name = m_text.substr(start, i - start);
    if (i >= m_text.size())
        return kEnd;
    i = SkipWhiteSpace(i);
    if (At(i) != '=')
        return kEnd;
    i = SkipWhiteSpace(i + 1);
    if (i >= m_text.size())
        return kEnd;
    const unsigned char quote = At(i);
    if (quote == '"' || quote == '\'') {
        for (++i; At(i) != quote; i = At(i) == '&' ? Entity(i) : i + 1) {
            if (i >= m_text.size())
                return kEnd;
        }
        ++i;
        return i < m_text.size() ? i : kEnd;
    }
    for (; i < m_text.size() && !IsWhiteSpace(At(i)) && At(i) != '/' && At(i) != '>'; ++i) {
        if (At(i) == '"' || At(i) == '\'')
            return kEnd;
    }
    return i;
}

// TiXmlDeclaration::Parse: version, encoding and standalone are read as attributes (their
// quoted values may hold '>'), anything else up to a blank or '>'.
std::size_t CScanner::Declaration(std::size_t i) const
{
    i += 5;  // "<?xml"
    while (i < m_text.size()) {
        if (At(i) == '>')
            return i + 1;
        i = SkipWhiteSpace(i);
        if (StringEqual(i, "version", true) || StringEqual(i, "encoding", true) || StringEqual(i, "standalone", true)) {
            std::string_view name;
            i = Attribute(i, name);
            if (i == kEnd)
                return kEnd;
        } else {
            while (i < m_text.size() && At(i) != '>' && !IsWhiteSpace(At(i)))
                ++i;
        }
    }
    return kEnd;
}

// TiXmlNode::Identify and the Parse of the node it picks, at a '<'. Returns where the node
// ends (for an element with content: after its start tag), kEnd where reading stops.
std::size_t CScanner::Node(std::size_t i)
{
    if (StringEqual(i, "<?xml", true))
        return Declaration(i);
    if (StringEqual(i, "<!--", false)) {
        const std::size_t end = Find("-->", i + 4);
        return end == kEnd ? kEnd : end + 3;
    }
    if (StringEqual(i, "<![CDATA[", false)) {
        const std::size_t end = Find("]]>", i + 9);
        return end == kEnd ? kEnd : end + 3;
    }
    if (IsNameStart(At(i + 1)))
        return Element(i);
    // TiXmlUnknown: anything else runs to the first '>'.
    const std::size_t end = Find(">", i + 1);
    return end == kEnd ? kEnd : end + 1;
}

// TiXmlElement::Parse up to the end of the start tag.
std::size_t CScanner::Element(std::size_t i)
{
    const std::size_t start = i;
    const auto overLimit = [&] {
        m_result.overLimit = true;
        m_result.offset = start;
        return kEnd;
    };
    const int depth = static_cast<int>(m_open.size()) + 1;
    m_result.depth = std::max(m_result.depth, depth);
    if (depth > m_depthLimit)
        return overLimit();
    i = SkipWhiteSpace(i + 1);
    if (!IsNameStart(At(i)))
        return kEnd;
    const std::size_t name = i;
    while (IsNameChar(At(i)))
        ++i;
    const std::string_view elementName = m_text.substr(name, i - name);
    std::unordered_set<std::string_view> attributes;  // the parser gives up on a repeated one
    while (true) {
        i = SkipWhiteSpace(i);
        if (i >= m_text.size())
            return kEnd;
        if (At(i) == '/')
            return At(i + 1) == '>' ? i + 2 : kEnd;
        if (At(i) == '>') {
            m_open.push_back(elementName);
            return i + 1;
        }
        std::string_view attribute;
        i = Attribute(i, attribute);
        if (i == kEnd || i >= m_text.size() || !attributes.insert(attribute).second)
            return kEnd;
        const int count = static_cast<int>(attributes.size());
        m_result.attributes = std::max(m_result.attributes, count);
        if (count > m_attributeLimit)
            return overLimit();
    }
}

// The end of TiXmlElement::Parse: "</" and the open element's name (the parser matches it as
// a prefix), blanks, '>'.
std::size_t CScanner::EndTag(std::size_t i)
{
    const std::string_view name = m_open.back();
    m_open.pop_back();
    if (m_text.compare(i + 2, name.size(), name) != 0)
        return kEnd;
    i = SkipWhiteSpace(i + 2 + name.size());
    return At(i) == '>' ? i + 1 : kEnd;
}

// TiXmlDocument::Parse with TiXmlElement::ReadValue folded in: whether an element is open
// tells which of the two is reading.
CXmlPreScan::Result CScanner::Run()
{
    std::size_t i = SkipWhiteSpace(0);
    while (i < m_text.size()) {
        if (m_open.empty()) {
            // Outside the elements the parser stops at the first text.
            i = At(i) == '<' ? Node(i) : kEnd;
        } else if (At(i) != '<') {
            i = Text(i);
        } else if (At(i + 1) == '/') {
            i = EndTag(i);
        } else {
            i = Node(i);
        }
        if (i == kEnd)
            break;
        i = SkipWhiteSpace(i);
    }
    return m_result;
}

}  // namespace

CXmlPreScan::Result CXmlPreScan::Scan(std::string_view text, int depthLimit, int attributeLimit)
{
    return CScanner(text, depthLimit, attributeLimit).Run();
}
