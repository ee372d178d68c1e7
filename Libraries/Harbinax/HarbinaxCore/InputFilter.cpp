#include "HarbinaxCore/InputFilter.h"

#include <cwctype>
#include <utility>

namespace {

const wchar_t* const kIntegerChars = L"0123456789+-";

bool IsSign(wchar_t ch)
{
    return ch == L'+' || ch == L'-';
}

}  // namespace

CInputFilter::CInputFilter(std::function<wchar_t()> decimalSeparator)
    : m_decimalSeparator(std::move(decimalSeparator))
{
}

void CInputFilter::SetAllowedChars(const std::wstring& characters)
{
    m_numeric = false;
    m_allowed = characters;
}

void CInputFilter::SetInteger(bool on)
{
    m_separators.clear();
    m_numeric = on;
    m_allowed = on ? kIntegerChars : L"";
}

void CInputFilter::SetNumeric(bool on, bool acceptCommaAndPoint)
{
    m_numeric = on;
    if (!on) {
        m_separators.clear();
        m_allowed.clear();
        return;
    }
    m_separators = acceptCommaAndPoint ? std::wstring(L",.") : std::wstring(1, m_decimalSeparator());
    m_allowed = kIntegerChars + m_separators;
}

void CInputFilter::SetMaxLength(int length)
{
    m_maxLength = length;
}

void CInputFilter::SetLowerCase(bool on)
{
    m_lowerCase = on;
    if (on)
        m_upperCase = false;
}

void CInputFilter::SetUpperCase(bool on)
{
    m_upperCase = on;
    if (on)
        m_lowerCase = false;
}

void CInputFilter::SetMultiLine(bool on)
{
    m_multiLine = on;
}

bool CInputFilter::CheckChar(const std::wstring& text, std::size_t position, wchar_t& ch) const
{
    if (m_maxLength > 0 && text.size() >= static_cast<std::size_t>(m_maxLength) && ch != L'\b')
        return false;

    if (m_lowerCase)
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    else if (m_upperCase)
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));

    if (ch < 32)
        return true;
    if (!m_allowed.empty() && m_allowed.find(ch) == std::wstring::npos)
        return false;
    if (!m_numeric)
        return true;

    const bool hasSign = text.find_first_of(L"+-") != std::wstring::npos;
    const wchar_t decimalSeparator = m_decimalSeparator();
    // The separators given and the current one, which a change of language may have added.
    const bool hasSeparator = !m_separators.empty() && (text.find_first_of(m_separators) != std::wstring::npos ||
                                                        text.find(decimalSeparator) != std::wstring::npos);
    // "1-2" would read back as 1: a sign goes first and once, and nothing goes in before it.
    if (IsSign(ch) && (hasSign || position != 0))
        return false;
    if (position == 0 && !text.empty() && IsSign(text[0]))
        return false;

    if (ch != decimalSeparator && m_separators.find(ch) != std::wstring::npos)
        ch = decimalSeparator;
    if (ch == decimalSeparator && hasSeparator)
        return false;
    return true;
}

bool CInputFilter::IsInsertable(wchar_t ch) const
{
    if (ch >= 32 && ch != 127)
        return true;
    return m_multiLine && (ch == L'\n' || ch == L'\t');
}

std::wstring CInputFilter::FilterText(const std::wstring& text) const
{
    std::wstring result;
    for (wchar_t ch : text) {
        if (IsInsertable(ch) && CheckChar(result, result.size(), ch))
            result += ch;
    }
    return result;
}
