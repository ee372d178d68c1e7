#include "HarbinaxCore/StyleNames.h"

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

INSTANTIATE_TEST_SUITE_P(
    Table, StyleNamesTest,
    ::testing::Values(
        SStyleCase{"ws_child ws_visible", 0x50000000}, SStyleCase{"WS_CHILD WS_VISIBLE WS_TABSTOP", 0x50010000},
        SStyleCase{"WS_POPUPWINDOW", 0x80880000}, SStyleCase{"WS_OVERLAPPEDWINDOW", 0xCF0000},
        SStyleCase{"WS_TILEDWINDOW", 0xCF0000}, SStyleCase{"DS_SHELLFONT", 0x48},
        SStyleCase{"LBS_STANDARD", 0xA00003}, SStyleCase{"BS_LEFTTEXT", 0x20}, SStyleCase{"BS_RIGHTBUTTON", 0x20},
        // Names of value 0 are known and add nothing.
        SStyleCase{"WS_OVERLAPPED WS_TILED BS_PUSHBUTTON BS_TEXT SS_LEFT ES_LEFT", 0},
        // Whole names only: LBS_NOTIFY must not also count as BS_NOTIFY (0x4000 is LBS_NOSEL).
        SStyleCase{"LBS_NOTIFY", 0x1}, SStyleCase{"CBS_DROPDOWNLIST CBS_SORT", 0x103},
        SStyleCase{"DS_CENTERMOUSE", 0x1000},
        SStyleCase{"WS_POPUP WS_CAPTION WS_SYSMENU DS_MODALFRAME DS_SETFONT", 0x80C800C0},
        // Any white space separates; the last name needs none after it.
        SStyleCase{"\tWS_CHILD\n  WS_VISIBLE\r\nWS_BORDER", 0x50800000},
        // Unknown names and extended names in the wrong table add nothing.
        SStyleCase{"WS_CHILD WS_CHILDX XWS_CHILD WS_EX_TOPMOST", 0x40000000}, SStyleCase{"", 0},
        // The control kinds beyond the classic ones.
        SStyleCase{"LVS_REPORT LVS_SINGLESEL LVS_SHOWSELALWAYS LVS_NOSORTHEADER", 0x800D},
        SStyleCase{"TCS_BOTTOM", 0x2}, SStyleCase{"PBS_SMOOTH", 0x1}));

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
