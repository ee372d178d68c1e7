#include "Renovix/RenovixLib/StringTokenizer.h"

void CStringTokenizer::Set(const std::string& text, char separator)
{
    m_separator = separator;
    m_text = text;
    m_remainder = text;
}

std::string CStringTokenizer::NextToken()
{
    const size_t end = m_remainder.find(m_separator);
    std::string piece = m_remainder.substr(0, end);
    m_remainder.erase(0, piece.size());
    if (!m_remainder.empty() && m_remainder[0] == m_separator)
        m_remainder.erase(0, 1);
    return piece;
}
