#include "HarbinaxCore/SkinDefinition.h"

#include "Platform/XmlFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

bool Parse(const std::string& xml, SSkinDefinition& definition, std::string& error)
{
    TiXmlDocument doc;
    if (!CXmlFile::LoadText(doc, xml, "skin.xml", &error))
        return false;
    return ReadSkinDefinition(*doc.RootElement(), definition, error);
}

TEST(SkinColour, HashBlanksAndCaseAreIgnoredAndOnlySixDigitsCount)
{
    const struct {
        const char* text;
        std::uint32_t colour;
    } cases[] = {
        {"#FF0000", 0x0000FF},  {" ff0000 ", 0x0000FF}, {"FF0000", 0x0000FF}, {"# #00ff00\t", 0x00FF00},
        {"#0000Fe", 0xFE0000}, {"#F00", 0},            {"", 0},             {"#FF00000", 0},
        {"GG00ZZ", 0},         {"1x2345", 0x452310},   {"FF 000", 0x0000FF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.colour, ParseSkinColour(c.text)) << '"' << c.text << '"';
}

TEST(SkinDefinitionXml, ReadsCaptionPiecesAndButtons)
{
    SSkinDefinition skin;
    std::string error;
    ASSERT_TRUE(Parse(R"(<skindefinition bmpfile="frame.bmp" activecaption="#FFFFFF" shadecaption="FF00FF"
        inactivecaption="808080" captionoffsetx="24" captionoffsety="5" captionbold="True" captionfontsizepx="13"
        captionfont="Liberation Sans">
      <borderelement name="topleft" width="8" height="26" activex="1" activey="2" inactivex="3" inactivey="4"/>
      <borderelement name="BOTTOM" width="4" height="6"/>
      <borderelement name="MIDDLE" width="99" height="99"/>
      <button name="Close" align="right" offsetx="5" offsety="4" width="16" height="14" activex="10" activey="11"
        inactivex="12" inactivey="13" hooverx="14" hoovery="15" pressedx="16" pressedy="17"/>
      <button name="ICON" align="left" offsetx="4" width="16" height="16"/>
      <button name="MIN" align="centre" width="16" height="14"/>
      <button name="HELP" width="16" height="14"/>
      <caption name="TOP" width="5"/>
    </skindefinition>)",
                      skin, error))
        << error;
    EXPECT_EQ("frame.bmp", skin.bitmapFile);
    EXPECT_EQ(0xFFFFFFu, skin.activeCaption);
    EXPECT_EQ(SSkinDefinition::kMagenta, skin.shadeCaption);
    EXPECT_EQ(0x808080u, skin.inactiveCaption);
    EXPECT_EQ(24, skin.captionOffsetX);
    EXPECT_EQ(5, skin.captionOffsetY);
    EXPECT_TRUE(skin.captionBold);
    EXPECT_EQ(13, skin.captionFontSizePx);
    EXPECT_EQ("Liberation Sans", skin.captionFont);

    const SSkinBorderElement& topLeft = skin.borders[SKIN_TOPLEFT];
    EXPECT_EQ((SSkinRect{1, 2, 8, 26}), topLeft.active);
    EXPECT_EQ((SSkinRect{3, 4, 8, 26}), topLeft.inactive);
    EXPECT_EQ((SSkinRect{0, 0, 4, 6}), skin.borders[SKIN_BOTTOM].active) << "missing numbers are 0";
    EXPECT_EQ(0, skin.borders[SKIN_TOP].width) << "an element of another kind is skipped";

    const SSkinButton& close = skin.buttons[SKIN_CLOSE];
    EXPECT_FALSE(close.alignLeft);
    EXPECT_EQ(5, close.offsetX);
    EXPECT_EQ(4, close.offsetY);
    EXPECT_EQ((SSkinRect{10, 11, 16, 14}), close.active);
    EXPECT_EQ((SSkinRect{12, 13, 16, 14}), close.inactive);
    EXPECT_EQ((SSkinRect{14, 15, 16, 14}), close.hover);
    EXPECT_EQ((SSkinRect{16, 17, 16, 14}), close.pressed);
    EXPECT_TRUE(skin.buttons[SKIN_ICON].alignLeft);
    EXPECT_FALSE(skin.buttons[SKIN_MIN].alignLeft) << "neither LEFT nor RIGHT is right-aligned";
}

TEST(SkinDefinitionXml, BoldOnlyForTrueAndOnlyUnderItsOwnRoot)
{
    SSkinDefinition skin;
    std::string error;
    ASSERT_TRUE(Parse(R"(<skindefinition captionbold="yes"/>)", skin, error));
    EXPECT_FALSE(skin.captionBold);
    EXPECT_FALSE(Parse(R"(<skin bmpfile="a.bmp"/>)", skin, error));
    EXPECT_NE(std::string::npos, error.find("skindefinition"));
}

TEST(SkinDefinitionRectangles, EveryPieceMustLieInsideTheBitmap)
{
    const struct {
        const char* xml;
        bool fits;
    } cases[] = {
        {R"(<borderelement name="TOP" width="10" height="20" activex="90" activey="30"/>)", true},
        {R"(<borderelement name="TOP" width="10" height="20" activex="91" activey="30"/>)", false},
        {R"(<borderelement name="TOP" width="10" height="20" inactivey="31"/>)", false},
        {R"(<borderelement name="TOP" width="10" height="20" activex="-1"/>)", false},
        {R"(<borderelement name="TOP" width="-4" height="20"/>)", false},
        {R"(<borderelement name="TOP" width="0" height="20" activex="5000"/>)", true},
        {R"(<borderelement name="TOP" width="2147483647" height="1" activex="2147483647"/>)", false},
        {R"(<button name="PIN2" width="10" height="10" hooverx="95"/>)", false},
        {R"(<button name="PIN2" width="10" height="10" pressedy="41"/>)", false},
        {R"(<button name="ROLLUP" width="10" height="10" activex="90" activey="40" pressedx="90" pressedy="40"/>)",
         true},
    };
    for (const auto& c : cases) {
        SSkinDefinition skin;
        std::string error;
        ASSERT_TRUE(Parse(std::string("<skindefinition>") + c.xml + "</skindefinition>", skin, error)) << error;
        EXPECT_EQ(c.fits, CheckSkinRectangles(skin, 100, 50, error)) << c.xml;
        if (!c.fits) {
            EXPECT_NE(std::string::npos, error.find("outside the bitmap")) << error;
        }
    }
}

}  // namespace
