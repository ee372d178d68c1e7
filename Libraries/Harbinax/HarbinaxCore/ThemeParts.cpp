#include "HarbinaxCore/ThemeParts.h"

#include <cwctype>

namespace {

std::wstring Trimmed(const std::wstring& text, std::size_t begin, std::size_t end)
{
    while (begin < end && std::iswspace(text[begin]))
        ++begin;
    while (end > begin && std::iswspace(text[end - 1]))
        --end;
    std::wstring name;
    for (std::size_t i = begin; i < end; ++i)
        name += static_cast<wchar_t>(std::towupper(text[i]));
    return name;
}

EThemeClass ClassNamed(const std::wstring& upperName)
{
    if (upperName == L"BUTTON")
        return EThemeClass::Button;
    if (upperName == L"COMBOBOX")
        return EThemeClass::ComboBox;
    if (upperName == L"HEADER")
        return EThemeClass::Header;
    return EThemeClass::None;
}

// The highest state of the part, 0 when the class has no such part.
int LastState(EThemeClass themeClass, int part)
{
    switch (themeClass) {
    case EThemeClass::Button:
        if (part == ThemePart::kPushButton)
            return ThemeState::kDefaulted;
        if (part == ThemePart::kCheckBox)
            return ThemeState::kCheckBoxStates;
        return 0;
    case EThemeClass::ComboBox:
        return part == ThemePart::kDropDownButton ? ThemeState::kDisabled : 0;
    case EThemeClass::Header:
        return part == ThemePart::kHeaderItem ? ThemeState::kPressed : 0;
    case EThemeClass::None:
        break;
    }
    return 0;
}

// States 1-4 as normal, hot, pressed, disabled.
void DecodeCommon(int state, SThemeDrawState& drawState)
{
    drawState.hot = state == ThemeState::kHot;
    drawState.pressed = state == ThemeState::kPressed;
    drawState.disabled = state == ThemeState::kDisabled;
}

}  // namespace

EThemeClass FindThemeClass(const std::wstring& classList)
{
    std::size_t begin = 0;
    while (begin <= classList.size()) {
        std::size_t end = classList.find(L';', begin);
        if (end == std::wstring::npos)
            end = classList.size();
        const EThemeClass found = ClassNamed(Trimmed(classList, begin, end));
        if (found != EThemeClass::None)
            return found;
        begin = end + 1;
    }
    return EThemeClass::None;
}

bool IsThemePartDrawn(EThemeClass themeClass, int part, int state)
{
    const int last = LastState(themeClass, part);
    return last > 0 && state >= 0 && state <= last;
}

bool DecodeThemeState(EThemeClass themeClass, int part, int state, SThemeDrawState& drawState)
{
    if (!IsThemePartDrawn(themeClass, part, state))
        return false;
    drawState = SThemeDrawState();
    if (themeClass == EThemeClass::Button && part == ThemePart::kCheckBox) {
        if (state == 0)
            return true;
        const int group = (state - 1) / 4;
        drawState.checked = group == 1;
        drawState.mixed = group == 2;
        DecodeCommon((state - 1) % 4 + 1, drawState);
        return true;
    }
    DecodeCommon(state, drawState);
    drawState.isDefault = state == ThemeState::kDefaulted;
    return true;
}

int PushButtonState(bool disabled, bool pressed, bool hot, bool isDefault)
{
    if (disabled)
        return ThemeState::kDisabled;
    if (pressed)
        return ThemeState::kPressed;
    if (hot)
        return ThemeState::kHot;
    if (isDefault)
        return ThemeState::kDefaulted;
    return ThemeState::kNormal;
}

SThemeContentMargins ThemeContentMargins(EThemeClass themeClass, int part, int headerMargin)
{
    if (themeClass == EThemeClass::Button && part == ThemePart::kPushButton)
        return {4, 4};  // frame and padding of a push button face
    if (themeClass == EThemeClass::Header && part == ThemePart::kHeaderItem)
        return {headerMargin, 0};
    return {0, 0};
}
