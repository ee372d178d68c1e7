#include "HarbinaxCore/StyleNames.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace DialogStyle;

namespace {

struct SStyleCase {
    const char* text;
    std::uint32_t value;
};

class StyleNamesTest : public ::testing::TestWithParam<SStyleCase> {};

TEST_P(StyleNamesTest, ValueOfTheNames)
{
    EXPECT_EQ(CStyleNames::ParseStyleNames(GetParam().text), GetParam().value) << GetParam().text;
}

const SStyleCase kStyleCases[] = {
    {"ws_child ws_visible", 0x50000000}, {"WS_CHILD WS_VISIBLE WS_TABSTOP", 0x50010000},
    {"WS_POPUPWINDOW", 0x80880000}, {"WS_OVERLAPPEDWINDOW", 0xCF0000},
    {"WS_TILEDWINDOW", 0xCF0000}, {"DS_SHELLFONT", 0x48},
    {"LBS_STANDARD", 0xA00003}, {"BS_LEFTTEXT", 0x20}, {"BS_RIGHTBUTTON", 0x20},
    // Names of value 0 are known and add nothing.
    {"WS_OVERLAPPED WS_TILED BS_PUSHBUTTON BS_TEXT SS_LEFT ES_LEFT", 0},
    // Whole names only: LBS_NOTIFY must not also count as BS_NOTIFY (0x4000 is LBS_NOSEL).
    {"LBS_NOTIFY", 0x1}, {"CBS_DROPDOWNLIST CBS_SORT", 0x103},
    {"DS_CENTERMOUSE", 0x1000},
    {"WS_POPUP WS_CAPTION WS_SYSMENU DS_MODALFRAME DS_SETFONT", 0x80C800C0},
    // Any white space separates; the last name needs none after it.
    {"\tWS_CHILD\n  WS_VISIBLE\r\nWS_BORDER", 0x50800000},
    // Unknown names and extended names in the wrong table add nothing.
    {"WS_CHILD WS_CHILDX XWS_CHILD WS_EX_TOPMOST", 0x40000000}, {"", 0},
    // The control kinds beyond the classic ones.
    {"LVS_REPORT LVS_SINGLESEL LVS_SHOWSELALWAYS LVS_NOSORTHEADER", 0x800D},
    {"TCS_BOTTOM", 0x2}, {"PBS_SMOOTH", 0x1},
};

INSTANTIATE_TEST_SUITE_P(Table, StyleNamesTest, ::testing::ValuesIn(kStyleCases));

// Under a Turkish locale the C library's toupper('i') stays 'i'; the ASCII rule still holds.
TEST(StyleNames, SameValuesWhateverTheProcessLocale)
{
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    for (const SStyleCase& c : kStyleCases)
        EXPECT_EQ(CStyleNames::ParseStyleNames(c.text), c.value) << c.text;
    EXPECT_EQ(CStyleNames::ParseExStyleNames("ws_ex_clientedge"), WS_EX_CLIENTEDGE);
}

TEST(StyleNames, ExtendedNamesHaveTheirOwnTable)
{
    EXPECT_EQ(CStyleNames::ParseExStyleNames("WS_EX_OVERLAPPEDWINDOW"), 0x300u);
    EXPECT_EQ(CStyleNames::ParseExStyleNames("ws_ex_palettewindow"), 0x188u);
    EXPECT_EQ(CStyleNames::ParseExStyleNames("WS_EX_LEFT WS_EX_LTRREADING WS_EX_RIGHTSCROLLBAR"), 0u);
    EXPECT_EQ(CStyleNames::ParseExStyleNames("WS_EX_APPWINDOW WS_EX_CLIENTEDGE"), 0x40200u);
    EXPECT_EQ(CStyleNames::ParseExStyleNames("WS_VISIBLE"), 0u);
}

TEST(StyleNames, UnknownNamesAreReportedAsWritten)
{
    std::vector<std::string> unknown;
    EXPECT_EQ(CStyleNames::ParseStyleNames("WS_CHILD WS_CHILD|WS_VISIBLE bs_notify Ws_Vizible", &unknown),
              WS_CHILD | BS_NOTIFY);
    EXPECT_EQ(unknown, (std::vector<std::string>{"WS_CHILD|WS_VISIBLE", "Ws_Vizible"}));
}

}  // namespace
