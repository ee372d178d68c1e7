#include "HarbinaxCore/InputFilter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// The decimal separator of the user-interface language in these tests.
wchar_t separator = L'.';

enum class EMode { All, Allowed, Integer, Decimal, DecimalCommaAndPoint };
enum class ECase { Keep, Upper, Lower };

struct SFilterCase {
    const char* name;
    EMode mode;
    wchar_t uiSeparator;
    const wchar_t* allowed;
    int maxLength;
    ECase letterCase;
    const wchar_t* typed;  // typed one after the other at the end, or pasted, or set
    const wchar_t* shown;
};

CInputFilter MakeFilter(const SFilterCase& c)
{
    separator = c.uiSeparator;
    CInputFilter filter([] { return separator; });
    switch (c.mode) {
    case EMode::All:
        break;
    case EMode::Allowed:
        filter.SetAllowedChars(c.allowed);
        break;
    case EMode::Integer:
        filter.SetInteger(true);
        break;
    case EMode::Decimal:
        filter.SetNumeric(true, false);
        break;
    case EMode::DecimalCommaAndPoint:
        filter.SetNumeric(true, true);
        break;
    }
    filter.SetMaxLength(c.maxLength);
    if (c.letterCase == ECase::Upper)
        filter.SetUpperCase(true);
    else if (c.letterCase == ECase::Lower)
        filter.SetLowerCase(true);
    return filter;
}

class InputFilterTest : public ::testing::TestWithParam<SFilterCase> {
protected:
    void SetUp() override { std::setlocale(LC_CTYPE, "C.UTF-8"); }
    void TearDown() override { std::setlocale(LC_CTYPE, "C"); }
};

// Typing character by character at the end, pasting and setting a text all give the same.
TEST_P(InputFilterTest, TextAsShown)
{
    const SFilterCase& c = GetParam();
    const CInputFilter filter = MakeFilter(c);
    EXPECT_EQ(filter.FilterText(c.typed), std::wstring(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputFilterTest,
    ::testing::Values(
        SFilterCase{"AllPass", EMode::All, L'.', L"", 0, ECase::Keep, L"Any text, 1-2!", L"Any text, 1-2!"},
        // A sign only first and once: "1-2" would read back as 1.
        SFilterCase{"IntegerSecondSign", EMode::Integer, L'.', L"", 0, ECase::Keep, L"1-2+", L"12"},
        SFilterCase{"IntegerSign", EMode::Integer, L'.', L"", 0, ECase::Keep, L"-12+3", L"-123"},
        SFilterCase{"IntegerTwoSigns", EMode::Integer, L'.', L"", 0, ECase::Keep, L"+-5", L"+5"},
        SFilterCase{"IntegerNoSeparator", EMode::Integer, L',', L"", 0, ECase::Keep, L"3.5,2", L"352"},
        // German: a typed point becomes the comma; a second separator of either kind is refused.
        SFilterCase{"GermanPoint", EMode::DecimalCommaAndPoint, L',', L"", 0, ECase::Keep, L"3.5", L"3,5"},
        SFilterCase{"GermanSecondComma", EMode::DecimalCommaAndPoint, L',', L"", 0, ECase::Keep, L"3,5,1", L"3,51"},
        SFilterCase{"GermanSecondPoint", EMode::DecimalCommaAndPoint, L',', L"", 0, ECase::Keep, L"3,5.1", L"3,51"},
        SFilterCase{"GermanNegative", EMode::DecimalCommaAndPoint, L',', L"", 0, ECase::Keep, L"-0.25", L"-0,25"},
        SFilterCase{"GermanOwnSeparator", EMode::Decimal, L',', L"", 0, ECase::Keep, L"1.5,5", L"15,5"},
        SFilterCase{"EnglishPoint", EMode::DecimalCommaAndPoint, L'.', L"", 0, ECase::Keep, L"3,5", L"3.5"},
        SFilterCase{"EnglishOwnSeparator", EMode::Decimal, L'.', L"", 0, ECase::Keep, L"3,5.7", L"35.7"},
        SFilterCase{"EnglishMixed", EMode::DecimalCommaAndPoint, L'.', L"", 0, ECase::Keep, L"12a3.4.5", L"123.45"},
        SFilterCase{"SignAfterDigits", EMode::DecimalCommaAndPoint, L'.', L"", 0, ECase::Keep, L"1.5e-3", L"1.53"},
        // Fifteen characters at most, of those that pass.
        SFilterCase{"MaxLength", EMode::All, L'.', L"", 15, ECase::Keep, L"abcdefghijklmnopqrst",
                    L"abcdefghijklmno"},
        SFilterCase{"MaxLengthCountsAccepted", EMode::Integer, L'.', L"", 3, ECase::Keep, L"1a2b3c4", L"123"},
        SFilterCase{"UpperAllowed", EMode::Allowed, L'.', L"ABC", 0, ECase::Upper, L"abcdA", L"ABCA"},
        SFilterCase{"AllowedIsExact", EMode::Allowed, L'.', L"ABC", 0, ECase::Keep, L"abcABC", L"ABC"},
        SFilterCase{"Upper", EMode::All, L'.', L"", 0, ECase::Upper, L"dn 50 \u00e4\u00df", L"DN 50 \u00c4\u00df"},
        SFilterCase{"Lower", EMode::All, L'.', L"", 0, ECase::Lower, L"PN40 \u00d6", L"pn40 \u00f6"},
        // Control characters are not pasted into a single line.
        SFilterCase{"ControlCharacters", EMode::All, L'.', L"", 0, ECase::Keep, L"12\r\n34\t5\b\x7f", L"12345"},
        SFilterCase{"ControlCharactersNumeric", EMode::Integer, L'.', L"", 0, ECase::Keep, L"-1\n-2", L"-12"}),
    [](const ::testing::TestParamInfo<SFilterCase>& info) { return std::string(info.param.name); });

TEST(InputFilter, SeparatorIsReadAtCheckTime)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetNumeric(true, true);
    EXPECT_EQ(filter.FilterText(L"1,5"), L"1.5");
    separator = L',';
    EXPECT_EQ(filter.FilterText(L"1.5"), L"1,5");
    // A text from before the change of language already has its separator.
    wchar_t ch = L',';
    EXPECT_FALSE(filter.CheckChar(L"1.5", 3, ch));
}

TEST(InputFilter, OwnSeparatorIsTakenWhenSet)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetNumeric(true, false);
    EXPECT_EQ(filter.GetSeparators(), L".");
    EXPECT_EQ(filter.GetAllowedChars(), L"0123456789+-.");
    filter.SetNumeric(false, false);
    EXPECT_EQ(filter.GetSeparators(), L"");
    EXPECT_EQ(filter.GetAllowedChars(), L"");
    EXPECT_FALSE(filter.IsNumeric());
    separator = L',';
    filter.SetNumeric(true, false);
    EXPECT_EQ(filter.GetAllowedChars(), L"0123456789+-,");
}

// A field switched from taking both separators to its own takes only its own; one set up again
// after a change of language takes the new one only.
TEST(InputFilter, NumericAgainReplacesTheSeparators)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetNumeric(true, true);
    filter.SetNumeric(true, false);
    EXPECT_EQ(filter.GetSeparators(), L".");
    EXPECT_EQ(filter.GetAllowedChars(), L"0123456789+-.");
    EXPECT_EQ(filter.FilterText(L"1,5"), L"15");
    separator = L',';
    filter.SetNumeric(true, false);
    EXPECT_EQ(filter.GetSeparators(), L",");
    EXPECT_EQ(filter.FilterText(L"1.5"), L"15");
}

TEST(InputFilter, CheckCharAtAPosition)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetNumeric(true, true);
    struct SCase {
        const wchar_t* text;
        std::size_t position;
        wchar_t ch;
        bool accepted;
    };
    const SCase cases[] = {
        {L"15", 0, L'-', true},    // a sign in front
        {L"15", 1, L'-', false},   // not inside
        {L"15", 2, L'+', false},   // nor behind
        {L"-15", 0, L'-', false},  // not twice
        {L"-15", 0, L'7', false},  // nothing before the sign
        {L"-15", 0, L'.', false},
        {L"-15", 1, L'7', true},
        {L"-15", 3, L'.', true},
        {L"-1.5", 2, L'.', false},
        // Typing over a selection that holds the only sign: the text without it has none.
        {L"15", 0, L'-', true},
        {L"", 0, L'\b', true},
        {L"1", 0, L'x', false},
    };
    for (const SCase& c : cases) {
        wchar_t ch = c.ch;
        EXPECT_EQ(filter.CheckChar(c.text, c.position, ch), c.accepted)
            << "'" << static_cast<char>(c.ch) << "' at " << c.position << " of " << std::wstring(c.text).size();
    }
}

TEST(InputFilter, BackspacePassesAFullText)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetMaxLength(3);
    wchar_t backspace = L'\b';
    wchar_t letter = L'x';
    EXPECT_TRUE(filter.CheckChar(L"abc", 3, backspace));
    EXPECT_FALSE(filter.CheckChar(L"abc", 3, letter));
    EXPECT_TRUE(filter.CheckChar(L"ab", 2, letter));
}

TEST(InputFilter, CaseForcingSwitchesTheOtherOff)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetUpperCase(true);
    filter.SetLowerCase(true);
    EXPECT_EQ(filter.FilterText(L"AbC"), L"abc");
    filter.SetUpperCase(true);
    EXPECT_EQ(filter.FilterText(L"AbC"), L"ABC");
    filter.SetUpperCase(false);
    EXPECT_EQ(filter.FilterText(L"AbC"), L"AbC");
}

TEST(InputFilter, MultiLineKeepsLineBreaks)
{
    separator = L'.';
    CInputFilter filter([] { return separator; });
    filter.SetMultiLine(true);
    EXPECT_EQ(filter.FilterText(L"Line 1\r\nLine\t2\x01"), L"Line 1\nLine\t2");
}

}  // namespace
