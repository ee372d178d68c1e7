// The classes, parts and states of themed drawing that this desktop answers natively: push
// buttons and check boxes of the "BUTTON" class, the drop button of the "COMBOBOX" class and the
// items of the "HEADER" class. Parts and states keep the numbers callers know them by.
#pragma once

#include <string>

enum class EThemeClass { None, Button, ComboBox, Header };

namespace ThemePart {
// "BUTTON"
constexpr int kPushButton = 1;
constexpr int kCheckBox = 3;
// "COMBOBOX"
constexpr int kDropDownButton = 1;
// "HEADER"
constexpr int kHeaderItem = 1;
}  // namespace ThemePart

namespace ThemeState {
// Push button; the drop button and header items use 1 to 4 (header items 1 to 3) alike.
constexpr int kNormal = 1;
constexpr int kHot = 2;
constexpr int kPressed = 3;
constexpr int kDisabled = 4;
constexpr int kDefaulted = 5;
// Check box: 1-4 unchecked, 5-8 checked, 9-12 mixed, each as normal, hot, pressed, disabled.
constexpr int kCheckBoxStates = 12;
}  // namespace ThemeState

// What a part's state asks of the drawing.
struct SThemeDrawState {
    bool disabled = false;
    bool pressed = false;
    bool hot = false;
    bool isDefault = false;
    bool checked = false;
    bool mixed = false;
};

// The first class of a ';'-separated list ("Button;Edit") that is drawn natively, compared
// without regard to case and surrounding blanks; None when there is none.
EThemeClass FindThemeClass(const std::wstring& classList);

// Whether the class has that part in that state (state 0 asks for the part alone).
bool IsThemePartDrawn(EThemeClass themeClass, int part, int state);

// The drawing state of a part's state; false when IsThemePartDrawn says no.
bool DecodeThemeState(EThemeClass themeClass, int part, int state, SThemeDrawState& drawState);

// The push button's state for a button: disabled before pressed before hot before default.
int PushButtonState(bool disabled, bool pressed, bool hot, bool isDefault);

// How far a part's content lies inside its background, in pixels on each side.
struct SThemeContentMargins {
    int horizontal;
    int vertical;
};
// headerMargin: the desktop's margin of a header item's text.
SThemeContentMargins ThemeContentMargins(EThemeClass themeClass, int part, int headerMargin);
