// The rules of the filtered edit: which characters may go into the text, in which form, and
// where. Kept apart from the control so that they can be checked without a display.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

class CInputFilter {
public:
    // decimalSeparator answers the decimal separator of the user-interface language; it is asked
    // again at every check, so a change of language takes effect at once.
    explicit CInputFilter(std::function<wchar_t()> decimalSeparator);

    // Numeric mode off; only these characters may be typed (empty: every character).
    void SetAllowedChars(const std::wstring& characters);
    // On: numeric mode with the characters "0123456789+-". Off: numeric mode off, every
    // character allowed. Either way no decimal separator is accepted.
    void SetInteger(bool on);
    // On: numeric mode with "0123456789+-" and, as decimal separators, ',' and '.' when
    // acceptCommaAndPoint is set, else the current decimal separator. Off: numeric mode off,
    // every character allowed.
    void SetNumeric(bool on, bool acceptCommaAndPoint);
    // At most length characters (0: no limit).
    void SetMaxLength(int length);
    // Switching one case on switches the other off.
    void SetLowerCase(bool on);
    void SetUpperCase(bool on);
    // A multi-line text keeps line breaks and tabs that are pasted or set.
    void SetMultiLine(bool on);

    bool IsNumeric() const { return m_numeric; }
    int GetMaxLength() const { return m_maxLength; }
    const std::wstring& GetAllowedChars() const { return m_allowed; }
    const std::wstring& GetSeparators() const { return m_separators; }

    // Whether ch may be inserted at position of text (the text without the part that the
    // character replaces); ch may be changed to the form it is inserted in. Control characters
    // (below 32) pass, a backspace even when the text is full. In numeric mode a sign must stand
    // first and only once, nothing goes in before it, a separator that is not the decimal
    // separator becomes it, and a second separator is refused.
    bool CheckChar(const std::wstring& text, std::size_t position, wchar_t& ch) const;

    // Whether a pasted or set character goes through CheckChar at all: control characters are
    // dropped, except line breaks and tabs in a multi-line text.
    bool IsInsertable(wchar_t ch) const;

    // Each character of text, in order, checked against the result so far and appended when it
    // passes, in its checked form.
    std::wstring FilterText(const std::wstring& text) const;

private:
    std::function<wchar_t()> m_decimalSeparator;
    bool m_numeric = false;
    int m_maxLength = 0;
    std::wstring m_separators;
    std::wstring m_allowed;
    bool m_lowerCase = false;
    bool m_upperCase = false;
    bool m_multiLine = false;
};
