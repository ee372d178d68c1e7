// Hands out the pieces of a text between occurrences of one separator, one at a time; the
// update run walks its comma-separated package lists with it.
#pragma once

#include <string>

class CStringTokenizer {
public:
    CStringTokenizer() = default;
    CStringTokenizer(const std::string& text, char separator) { Set(text, separator); }

    // Starts handing out text from its beginning.
    void Set(const std::string& text, char separator);

    std::string GetText() const { return m_text; }
    char GetSeparator() const { return m_separator; }
    bool HasMoreTokens() const { return !m_remainder.empty(); }

    // The text up to the next separator (which is dropped); an empty piece for an empty
    // remainder. A separator at the very end gives no extra empty piece.
    std::string NextToken();

private:
    char m_separator = ' ';
    std::string m_text;
    std::string m_remainder;
};
