#include "HarbinaxCore/ComboItemMarker.h"
#include "HarbinaxCore/ImagePlacement.h"
#include "HarbinaxCore/TextTipRules.h"
#include "HarbinaxCore/ThemeParts.h"

#include <gtest/gtest.h>

namespace {

TEST(ComboItemMarker, ClassifiesAndStripsOnlyThePseudoUnitMark)
{
    struct SCase {
        const wchar_t* text;
        EComboItemMarker marker;
        const wchar_t* shown;
    };
    const SCase cases[] = {
        {L"* my unit", EComboItemMarker::UserUnit, L"* my unit"},
        {L"!!MW", EComboItemMarker::PseudoUnit, L"MW"},
        {L"!!SG", EComboItemMarker::PseudoUnit, L"SG"},
        {L"!!", EComboItemMarker::PseudoUnit, L""},
        {L"* !!MW", EComboItemMarker::UserUnit, L"* !!MW"},  // the first mark wins
        {L"*unit", EComboItemMarker::None, L"*unit"},         // the mark is star and blank
        {L"!MW", EComboItemMarker::None, L"!MW"},
        {L"kg/h !!", EComboItemMarker::None, L"kg/h !!"},     // only in front
        {L"", EComboItemMarker::None, L""},
    };
    for (const SCase& c : cases) {
        const SMarkedComboItem item = ClassifyComboItem(c.text);
        EXPECT_EQ(item.marker, c.marker) << c.text;
        EXPECT_EQ(item.shownText, c.shown) << c.text;
    }
}

TEST(ComboItemMarker, ColoursAreRedAndAmber)
{
    const SMarkerColour red = MarkerColour(EComboItemMarker::UserUnit);
    EXPECT_EQ(red.red, 0xFF);
    EXPECT_EQ(red.green, 0x32);
    EXPECT_EQ(red.blue, 0x32);
    const SMarkerColour amber = MarkerColour(EComboItemMarker::PseudoUnit);
    EXPECT_EQ(amber.red, 0xE8);
    EXPECT_EQ(amber.green, 0xA6);
    EXPECT_EQ(amber.blue, 0x08);
}

TEST(TextTipRules, ComboTextFitsUpToSixPixelsLessThanTheTextArea)
{
    const STipArea area = ComboTextArea(120, 24, 20);
    EXPECT_EQ(area.width, 100);
    EXPECT_EQ(area.height, 24);
    EXPECT_FALSE(ComboTextNeedsTip(94, area.width));
    EXPECT_TRUE(ComboTextNeedsTip(95, area.width));
    // A box narrower than its button has no text area.
    EXPECT_EQ(ComboTextArea(10, 24, 20).width, 0);
    EXPECT_TRUE(ComboTextNeedsTip(1, 0));
}

TEST(TextTipRules, ListItemFitsUpToThreePixelsLessThanTheItem)
{
    EXPECT_FALSE(ListItemNeedsTip(97, 100));
    EXPECT_TRUE(ListItemNeedsTip(98, 100));
}

TEST(TextTipRules, TipPlacesAndStays)
{
    // The tip's text goes where the control draws it: 2 pixels in, centred vertically.
    int x = 0;
    int y = 0;
    ClippedTextOrigin({200, 100, 80, 24}, 15, x, y);
    EXPECT_EQ(x, 202);
    EXPECT_EQ(y, 104);

    const STipArea text = ComboTextArea(120, 24, 20);
    EXPECT_TRUE(ComboTipStays(text, 0, 0));
    EXPECT_TRUE(ComboTipStays(text, 99, 23));
    EXPECT_FALSE(ComboTipStays(text, 100, 10));  // on the drop button
    EXPECT_FALSE(ComboTipStays(text, 50, 24));
    EXPECT_FALSE(ComboTipStays(text, -1, 10));

    const STipArea list{0, 0, 100, 200};
    EXPECT_TRUE(ListTipStays(list, 50, 50, true));
    EXPECT_FALSE(ListTipStays(list, 50, 50, false));  // the list closed
    EXPECT_FALSE(ListTipStays(list, 50, 200, true));
}

TEST(ThemeParts, ClassListTakesTheFirstKnownClassWhateverTheCase)
{
    EXPECT_EQ(FindThemeClass(L"BUTTON"), EThemeClass::Button);
    EXPECT_EQ(FindThemeClass(L"Button"), EThemeClass::Button);
    EXPECT_EQ(FindThemeClass(L"Edit; combobox"), EThemeClass::ComboBox);
    EXPECT_EQ(FindThemeClass(L"header;button"), EThemeClass::Header);
    EXPECT_EQ(FindThemeClass(L"Edit;Toolbar"), EThemeClass::None);
    EXPECT_EQ(FindThemeClass(L""), EThemeClass::None);
    EXPECT_EQ(FindThemeClass(L";;"), EThemeClass::None);
    EXPECT_EQ(FindThemeClass(L"Buttons"), EThemeClass::None);
}

TEST(ThemeParts, StatesDecodeToWhatTheDrawingShows)
{
    SThemeDrawState state;
    ASSERT_TRUE(DecodeThemeState(EThemeClass::Button, ThemePart::kPushButton, ThemeState::kDefaulted, state));
    EXPECT_TRUE(state.isDefault);
    EXPECT_FALSE(state.pressed || state.hot || state.disabled);
    ASSERT_TRUE(DecodeThemeState(EThemeClass::Button, ThemePart::kPushButton, ThemeState::kPressed, state));
    EXPECT_TRUE(state.pressed);
    EXPECT_FALSE(state.isDefault);

    // Check box: 6 is checked and hot, 12 mixed and disabled, 1 unchecked and normal.
    ASSERT_TRUE(DecodeThemeState(EThemeClass::Button, ThemePart::kCheckBox, 6, state));
    EXPECT_TRUE(state.checked && state.hot);
    EXPECT_FALSE(state.mixed || state.disabled || state.pressed);
    ASSERT_TRUE(DecodeThemeState(EThemeClass::Button, ThemePart::kCheckBox, 12, state));
    EXPECT_TRUE(state.mixed && state.disabled);
    EXPECT_FALSE(state.checked);
    ASSERT_TRUE(DecodeThemeState(EThemeClass::Button, ThemePart::kCheckBox, 1, state));
    EXPECT_FALSE(state.checked || state.mixed || state.hot || state.pressed || state.disabled);

    ASSERT_TRUE(DecodeThemeState(EThemeClass::ComboBox, ThemePart::kDropDownButton, ThemeState::kDisabled, state));
    EXPECT_TRUE(state.disabled);
    ASSERT_TRUE(DecodeThemeState(EThemeClass::Header, ThemePart::kHeaderItem, ThemeState::kHot, state));
    EXPECT_TRUE(state.hot);

    // Parts and states the desktop does not draw.
    EXPECT_FALSE(DecodeThemeState(EThemeClass::Button, 2, 1, state));
    EXPECT_FALSE(DecodeThemeState(EThemeClass::Button, ThemePart::kPushButton, 6, state));
    EXPECT_FALSE(DecodeThemeState(EThemeClass::Button, ThemePart::kCheckBox, 13, state));
    EXPECT_FALSE(DecodeThemeState(EThemeClass::Header, ThemePart::kHeaderItem, ThemeState::kDisabled, state));
    EXPECT_FALSE(DecodeThemeState(EThemeClass::ComboBox, ThemePart::kDropDownButton, -1, state));
    EXPECT_FALSE(DecodeThemeState(EThemeClass::None, 1, 1, state));
    EXPECT_TRUE(IsThemePartDrawn(EThemeClass::Header, ThemePart::kHeaderItem, 0));
}

TEST(ThemeParts, PushButtonStateOrder)
{
    EXPECT_EQ(PushButtonState(true, true, true, true), ThemeState::kDisabled);
    EXPECT_EQ(PushButtonState(false, true, true, true), ThemeState::kPressed);
    EXPECT_EQ(PushButtonState(false, false, true, true), ThemeState::kHot);
    EXPECT_EQ(PushButtonState(false, false, false, true), ThemeState::kDefaulted);
    EXPECT_EQ(PushButtonState(false, false, false, false), ThemeState::kNormal);
}

TEST(ImagePlacement, AlignsInsideAndStartsAtTheEdgeWhenTooBig)
{
    EXPECT_EQ(PlaceImage(4, 40, 16, EImageAlign::Start), 4);
    EXPECT_EQ(PlaceImage(4, 40, 16, EImageAlign::Centre), 16);
    EXPECT_EQ(PlaceImage(4, 40, 16, EImageAlign::End), 28);
    EXPECT_EQ(PlaceImage(4, 41, 16, EImageAlign::Centre), 16);
    for (const EImageAlign align : {EImageAlign::Start, EImageAlign::Centre, EImageAlign::End}) {
        EXPECT_EQ(PlaceImage(4, 10, 16, align), 4);
        EXPECT_EQ(PlaceImage(4, 16, 16, align), 4);
    }
}

}  // namespace
