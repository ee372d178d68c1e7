#include "HarbinaxCore/SkinFrameRules.h"

#include <gtest/gtest.h>

namespace {

// A frame with 4-pixel borders, a 24-pixel caption strip and 8 x 24 top corners; close, max and
// min on the right, the icon, pin and roll-up on the left; every button 16 x 14 and drawn.
SSkinDefinition Skin()
{
    SSkinDefinition skin;
    const auto border = [&](int element, int width, int height) {
        skin.borders[element].width = width;
        skin.borders[element].height = height;
        skin.borders[element].active = skin.borders[element].inactive = SSkinRect{0, 0, width, height};
    };
    border(SKIN_TOPLEFT, 8, 24);
    border(SKIN_TOPRIGHT, 8, 24);
    border(SKIN_BOTTOMLEFT, 8, 4);
    border(SKIN_BOTTOMRIGHT, 8, 4);
    border(SKIN_LEFT, 4, 10);
    border(SKIN_RIGHT, 4, 10);
    border(SKIN_TOP, 10, 24);
    border(SKIN_BOTTOM, 10, 4);
    const auto button = [&](int index, bool left, int offsetX) {
        SSkinButton& b = skin.buttons[index];
        b.width = 16;
        b.height = 14;
        b.alignLeft = left;
        b.offsetX = offsetX;
        b.offsetY = 5;
        b.active = b.inactive = b.hover = b.pressed = SSkinRect{0, 0, 16, 14};
    };
    button(SKIN_CLOSE, false, 6);
    button(SKIN_MAX, false, 24);
    button(SKIN_RESTORE, false, 24);
    button(SKIN_MIN, false, 42);
    button(SKIN_ICON, true, 6);
    button(SKIN_PIN1, true, 24);
    button(SKIN_PIN2, true, 24);
    button(SKIN_ROLLUP, true, 42);
    skin.captionOffsetX = 20;
    return skin;
}

SSkinFrameState Window(int width = 300, int height = 200)
{
    SSkinFrameState window;
    window.width = width;
    window.height = height;
    window.pinButtons = true;
    window.rollUpButton = true;
    return window;
}

TEST(SkinFrameRules, AreasOfTheFrame)
{
    const SSkinDefinition skin = Skin();
    const struct {
        int x, y, code;
    } cases[] = {
        {0, 0, SKINHIT_TOPLEFT},        {150, 1, SKINHIT_TOP},          {299, 0, SKINHIT_TOPRIGHT},
        {1, 20, SKINHIT_TOPLEFT},       {1, 100, SKINHIT_LEFT},         {298, 100, SKINHIT_RIGHT},
        {5, 198, SKINHIT_BOTTOMLEFT},   {150, 197, SKINHIT_BOTTOM},     {294, 199, SKINHIT_BOTTOMRIGHT},
        {150, 10, SKINHIT_CAPTION},     {150, 100, SKINHIT_CLIENT},     {-1, 100, SKINHIT_NOWHERE},
        {300, 100, SKINHIT_NOWHERE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.code, SkinFrameArea(skin, Window(), c.x, c.y)) << c.x << ',' << c.y;

    SSkinFrameState withMenu = Window();
    withMenu.menuHeight = 20;
    EXPECT_EQ(SKINHIT_MENU, SkinFrameArea(skin, withMenu, 150, 30));
    EXPECT_EQ(SKINHIT_CLIENT, SkinFrameArea(skin, withMenu, 150, 44));
    SSkinFrameState fixed = Window();
    fixed.resizable = false;
    EXPECT_EQ(SKINHIT_BORDER, SkinFrameArea(skin, fixed, 0, 0));
    EXPECT_EQ(SKINHIT_BORDER, SkinFrameArea(skin, fixed, 1, 100));
}

TEST(SkinFrameRules, MaximisedWindowsHaveNoSizingBordersAndRolledUpOnesNoHeightToSize)
{
    const struct {
        int code;
        bool maximized, rolledUp;
        int expected;
    } cases[] = {
        {SKINHIT_LEFT, true, false, SKINHIT_BORDER},          {SKINHIT_BOTTOMRIGHT, true, false, SKINHIT_BORDER},
        {SKINHIT_TOP, true, true, SKINHIT_BORDER},            {SKINHIT_CAPTION, true, false, SKINHIT_CAPTION},
        {SKINHIT_TOP, false, true, SKINHIT_CAPTION},          {SKINHIT_BOTTOM, false, true, SKINHIT_CAPTION},
        {SKINHIT_TOPLEFT, false, true, SKINHIT_LEFT},         {SKINHIT_BOTTOMLEFT, false, true, SKINHIT_LEFT},
        {SKINHIT_TOPRIGHT, false, true, SKINHIT_RIGHT},       {SKINHIT_BOTTOMRIGHT, false, true, SKINHIT_RIGHT},
        {SKINHIT_LEFT, false, true, SKINHIT_LEFT},            {SKINHIT_TOPLEFT, false, false, SKINHIT_TOPLEFT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, RemapSkinHit(c.code, c.maximized, c.rolledUp)) << c.code;
}

TEST(SkinFrameRules, SizeCommandsOfTheSizingBorders)
{
    EXPECT_EQ(0xF001, SkinSizeCommand(SKINHIT_LEFT));
    EXPECT_EQ(0xF003, SkinSizeCommand(SKINHIT_TOP));
    EXPECT_EQ(0xF008, SkinSizeCommand(SKINHIT_BOTTOMRIGHT));
    for (int code : {int(SKINHIT_CAPTION), int(SKINHIT_BORDER), int(SKINHIT_CLOSE), 9, 18})
        EXPECT_EQ(0, SkinSizeCommand(code)) << code;
}

TEST(SkinFrameRules, ButtonsFollowTheWindowsStyleAndState)
{
    const SSkinDefinition skin = Skin();
    SSkinFrameState window = Window();
    EXPECT_EQ((SSkinRect{300 - 6 - 16, 5, 16, 14}), SkinButtonRect(skin, window, SKIN_CLOSE));
    EXPECT_EQ((SSkinRect{6, 5, 16, 14}), SkinButtonRect(skin, window, SKIN_ICON));
    EXPECT_EQ(SKINHIT_CLOSE, SkinHitTest(skin, window, 280, 10));
    EXPECT_EQ(SKINHIT_MAXBUTTON, SkinHitTest(skin, window, 262, 10));
    EXPECT_EQ(SKINHIT_MINBUTTON, SkinHitTest(skin, window, 244, 10));
    EXPECT_EQ(SKINHIT_SYSMENU, SkinHitTest(skin, window, 10, 10));
    EXPECT_EQ(SKINHIT_PIN1, SkinHitTest(skin, window, 30, 10));
    EXPECT_EQ(SKINHIT_ROLLUP, SkinHitTest(skin, window, 50, 10));
    EXPECT_TRUE(SkinButtonRect(skin, window, SKIN_RESTORE).IsEmpty());
    EXPECT_TRUE(SkinButtonRect(skin, window, SKIN_PIN2).IsEmpty());

    window.pinned = true;
    EXPECT_EQ(SKINHIT_PIN2, SkinHitTest(skin, window, 30, 10));
    window.maximized = true;
    EXPECT_EQ(SKINHIT_RESTORE, SkinHitTest(skin, window, 262, 10));
    EXPECT_EQ(SKINHIT_BORDER, SkinHitTest(skin, window, 0, 100));

    SSkinFrameState plain = Window();
    plain.pinButtons = plain.rollUpButton = false;
    plain.minimizeBox = false;
    for (int button : {SKIN_PIN1, SKIN_PIN2, SKIN_ROLLUP, SKIN_MIN})
        EXPECT_TRUE(SkinButtonRect(skin, plain, button).IsEmpty()) << button;
    EXPECT_EQ(SKINHIT_CAPTION, SkinHitTest(skin, plain, 30, 10));

    plain.caption = false;
    EXPECT_TRUE(SkinButtonRect(skin, plain, SKIN_CLOSE).IsEmpty());
}

TEST(SkinFrameRules, IconAndCloseShowWithTheSystemMenuEvenWithoutPictures)
{
    SSkinDefinition skin = Skin();
    skin.buttons[SKIN_CLOSE].active = SSkinRect();
    skin.buttons[SKIN_MAX].active = SSkinRect();
    SSkinFrameState window = Window();
    EXPECT_FALSE(SkinButtonRect(skin, window, SKIN_CLOSE).IsEmpty());
    EXPECT_TRUE(SkinButtonRect(skin, window, SKIN_MAX).IsEmpty());
    window.active = false;
    EXPECT_FALSE(SkinButtonRect(skin, window, SKIN_MAX).IsEmpty()) << "the inactive picture counts now";
    window.sysMenu = false;
    EXPECT_TRUE(SkinButtonRect(skin, window, SKIN_CLOSE).IsEmpty());
    EXPECT_FALSE(SkinButtonRect(skin, window, SKIN_ICON).IsEmpty());
}

TEST(SkinFrameRules, MinimumSizeKeepsEveryShownButtonVisible)
{
    const SSkinDefinition skin = Skin();
    for (int width : {300, 120, 60}) {
        SSkinFrameState window = Window(width);
        const int minimum = SkinMinimumWidth(skin, window);
        // Left buttons end at 42 + 16, right ones start 42 + 16 from the right edge.
        EXPECT_EQ(58 + 58, minimum) << width;
        window.width = minimum;
        const SSkinRect rollUp = SkinButtonRect(skin, window, SKIN_ROLLUP);
        const SSkinRect min = SkinButtonRect(skin, window, SKIN_MIN);
        EXPECT_LE(rollUp.x + rollUp.width, min.x);
    }
    SSkinFrameState bare = Window();
    bare.pinButtons = bare.rollUpButton = bare.minimizeBox = bare.maximizeBox = false;
    EXPECT_EQ(22 + 22, SkinMinimumWidth(skin, bare)) << "the icon on the left, close on the right";
    bare.menuHeight = 19;
    EXPECT_EQ(24 + 4 + 19 + 1, SkinMinimumHeight(skin, bare));
    EXPECT_EQ(28, SkinRolledUpHeight(skin));
}

TEST(SkinFrameRules, EdgesAreTiledFromTheFarEndAndCornersStayWhole)
{
    const SSkinDefinition skin = Skin();
    std::vector<SSkinRect> top;
    std::vector<SSkinRect> left;
    int corners = 0;
    for (const SSkinPiece& piece : SkinFramePieces(skin, 45, 60)) {
        if (piece.element == SKIN_TOP)
            top.push_back(piece.place);
        else if (piece.element == SKIN_LEFT)
            left.push_back(piece.place);
        else if (piece.element == SKIN_BOTTOMRIGHT) {
            EXPECT_EQ((SSkinRect{37, 56, 8, 4}), piece.place);
        }
        if (piece.element <= SKIN_BOTTOMRIGHT)
            ++corners;
    }
    EXPECT_EQ(4, corners);
    // Between x 8 and 37: tiles of 10 from the right, the last 9 wide beside the top-left corner.
    const std::vector<SSkinRect> expectedTop = {{27, 0, 10, 24}, {17, 0, 10, 24}, {8, 0, 9, 24}};
    EXPECT_EQ(expectedTop, top);
    // Between y 24 and 56.
    const std::vector<SSkinRect> expectedLeft = {{0, 46, 4, 10}, {0, 36, 4, 10}, {0, 26, 4, 10}, {0, 24, 4, 2}};
    EXPECT_EQ(expectedLeft, left);
}

TEST(SkinFrameRules, ClientAreaSitsInsideTheFrame)
{
    const SSkinDefinition skin = Skin();
    SSkinFrameState window = Window();
    window.menuHeight = 20;
    EXPECT_EQ((SSkinRect{4, 44, 292, 152}), SkinClientRect(skin, window));
    window.rolledUp = true;
    window.height = 28;
    EXPECT_EQ((SSkinRect{4, 24, 292, 0}), SkinClientRect(skin, window));
}

}  // namespace
