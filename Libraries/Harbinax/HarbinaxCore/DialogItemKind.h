// Which control an item of a dialog template becomes: its window class (compared without regard
// to case) and, for buttons and statics, the kind bits of its style.
//
//   class               style                                  control
//   BUTTON              BS_PUSHBUTTON, BS_DEFPUSHBUTTON,       push button (BS_ICON/BS_BITMAP:
//                       BS_OWNERDRAW and the other kinds       the owner sets the image)
//   BUTTON              BS_CHECKBOX, BS_AUTOCHECKBOX,          check box (three states with the
//                       BS_3STATE, BS_AUTO3STATE               3STATE kinds)
//   BUTTON              BS_RADIOBUTTON, BS_AUTORADIOBUTTON     radio button; WS_GROUP starts a group
//   BUTTON              BS_GROUPBOX                            group box
//   STATIC              SS_LEFT, SS_CENTER, SS_RIGHT,          text
//                       SS_SIMPLE, SS_LEFTNOWORDWRAP
//   STATIC              SS_ICON / SS_BITMAP                    the ICON / BITMAP resource named by
//                                                              the title ("#131")
//   STATIC              SS_ETCHEDHORZ / SS_ETCHEDVERT          horizontal / vertical line
//   STATIC              the frames and rectangles, SS_OWNERDRAW  plain window: a placeholder whose
//                                                              rectangle the owner fills
//   EDIT                ES_MULTILINE for several lines         edit; ES_NUMBER, ES_UPPERCASE and
//                                                              ES_LOWERCASE make it a filtered edit
//   COMBOBOX            CBS_DROPDOWNLIST: no typing            combo box
//   LISTBOX                                                    list box
//   SysListView32       LVS_REPORT ...                         list view
//   SysTabControl32                                            tab strip
//   msctls_progress32                                          progress bar
//   SysLink             title = text and link target           hyperlink
#pragma once

#include <cstddef>
#include <vector>

struct SDialogItem;

enum class EDialogItemKind {
    Unknown,
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Text,
    Icon,
    Bitmap,
    HorizontalLine,
    VerticalLine,
    Placeholder,
    Edit,
    ComboBox,
    ListBox,
    ListView,
    TabStrip,
    ProgressBar,
    Link,
};

EDialogItemKind DialogItemKind(const SDialogItem& item);

// True when the radio button at index begins a new group of radio buttons: it has WS_GROUP, or
// a control with WS_GROUP stands between it and the radio button before it, or no radio button
// comes before it.
bool StartsRadioGroup(const std::vector<SDialogItem>& items, std::size_t index);
