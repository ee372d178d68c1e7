#include "HarbinaxCore/DialogItemKind.h"

#include "HarbinaxCore/DialogTemplate.h"
#include "HarbinaxCore/StyleNames.h"
#include "Platform/AsciiText.h"

using namespace DialogStyle;

namespace {

bool IsClass(const SDialogItem& item, const char* name)
{
    return Platform::EqualsNoCase(item.windowClass, name);
}

EDialogItemKind ButtonKind(std::uint32_t style)
{
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return EDialogItemKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return EDialogItemKind::RadioButton;
    case BS_GROUPBOX:
        return EDialogItemKind::GroupBox;
    default:
        return EDialogItemKind::PushButton;
    }
}

EDialogItemKind StaticKind(std::uint32_t style)
{
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        return EDialogItemKind::Text;
    case SS_ICON:
        return EDialogItemKind::Icon;
    case SS_BITMAP:
        return EDialogItemKind::Bitmap;
    case SS_ETCHEDHORZ:
        return EDialogItemKind::HorizontalLine;
    case SS_ETCHEDVERT:
        return EDialogItemKind::VerticalLine;
    default:
        return EDialogItemKind::Placeholder;
    }
}

}  // namespace

EDialogItemKind DialogItemKind(const SDialogItem& item)
{
    if (IsClass(item, "BUTTON"))
        return ButtonKind(item.style);
    if (IsClass(item, "STATIC"))
        return StaticKind(item.style);
    if (IsClass(item, "EDIT"))
        return EDialogItemKind::Edit;
    if (IsClass(item, "COMBOBOX"))
        return EDialogItemKind::ComboBox;
    if (IsClass(item, "LISTBOX"))
        return EDialogItemKind::ListBox;
    if (IsClass(item, "SysListView32"))
        return EDialogItemKind::ListView;
    if (IsClass(item, "SysTabControl32"))
        return EDialogItemKind::TabStrip;
    if (IsClass(item, "msctls_progress32"))
        return EDialogItemKind::ProgressBar;
    if (IsClass(item, "SysLink"))
        return EDialogItemKind::Link;
    return EDialogItemKind::Unknown;
}

bool StartsRadioGroup(const std::vector<SDialogItem>& items, std::size_t index)
{
    if (items[index].style & WS_GROUP)
        return true;
    for (std::size_t i = index; i-- > 0;) {
        // The radio button before is in the group, wherever that group starts.
        if (DialogItemKind(items[i]) == EDialogItemKind::RadioButton)
            return false;
        if (items[i].style & WS_GROUP)
            return true;
    }
    return true;
}
