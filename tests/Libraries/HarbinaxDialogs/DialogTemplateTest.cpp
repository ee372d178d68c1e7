#include "HarbinaxCore/DialogItemKind.h"
#include "HarbinaxCore/DialogTemplate.h"
#include "HarbinaxCore/StyleNames.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

#include <string>

using namespace DialogStyle;

namespace {

const char* const kDialog = R"(<?xml version="1.0"?>
<!-- a comment before the dialog -->
<dialog style="WS_POPUP WS_CAPTION WS_SYSMENU DS_MODALFRAME DS_SETFONT" exstyle="WS_EX_APPWINDOW"
        x="10" y="-20" width="243" height="127" helpid="77" menuid="65535" class="MyClass"
        title="Renovix &#x00FC;ber" pointsize="8" weight="700" italic="1" charset="204" typeface="MS Sans Serif">
  <item class="STATIC" id="1010" x="7" y="7" width="55" height="8" title="Current file:" style="WS_CHILD WS_VISIBLE"/>
  <note>not an item</note>
  <item class="msctls_progress32" id="1009" x="7" y="36" width="229" height="14" style="WS_CHILD WS_VISIBLE PBS_SMOOTH WS_BORDER" exstyle="WS_EX_CLIENTEDGE" helpid="3"/>
  <item class="BUTTON" id="-1" x="7" y="100" width="20" height="20" title="&amp;OK" style="WS_CHILD WS_VISIBLE BS_DEFPUSHBUTTON BS_ICONS"/>
</dialog>)";

TEST(DialogTemplate, ReadsHeaderAndItemsFromXml)
{
    CDialogTemplate dialog;
    std::string error;
    ASSERT_TRUE(dialog.LoadFromXml(kDialog, &error)) << error;

    const SDialogHeader& h = dialog.Header();
    EXPECT_EQ(h.style, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    EXPECT_EQ(h.exStyle, WS_EX_APPWINDOW);
    EXPECT_EQ(h.x, 10);
    EXPECT_EQ(h.y, -20);
    EXPECT_EQ(h.width, 243);
    EXPECT_EQ(h.height, 127);
    EXPECT_EQ(h.helpId, 77u);
    EXPECT_EQ(h.menuId, 65535u);
    EXPECT_EQ(h.windowClass, "MyClass");
    EXPECT_EQ(h.title, "Renovix \xC3\xBC" "ber");
    EXPECT_EQ(h.pointSize, 8);
    EXPECT_EQ(h.weight, 700);
    EXPECT_EQ(h.italic, 1);
    EXPECT_EQ(h.charset, 204);
    EXPECT_EQ(h.typeface, "MS Sans Serif");

    ASSERT_EQ(dialog.Items().size(), 3u);
    const SDialogItem& text = dialog.Items()[0];
    EXPECT_EQ(text.id, 1010);
    EXPECT_EQ(text.windowClass, "STATIC");
    EXPECT_EQ(text.title, "Current file:");
    EXPECT_EQ(text.style, 0x50000000u);
    EXPECT_EQ(text.exStyle, 0u);
    EXPECT_EQ(text.helpId, 0u);
    EXPECT_EQ(text.x, 7);
    EXPECT_EQ(text.y, 7);
    EXPECT_EQ(text.width, 55);
    EXPECT_EQ(text.height, 8);

    const SDialogItem& progress = dialog.Items()[1];
    EXPECT_EQ(progress.id, 1009);
    EXPECT_EQ(progress.style, WS_CHILD | WS_VISIBLE | PBS_SMOOTH | WS_BORDER);
    EXPECT_EQ(progress.exStyle, WS_EX_CLIENTEDGE);
    EXPECT_EQ(progress.helpId, 3u);
    EXPECT_EQ(progress.title, "");

    const SDialogItem& button = dialog.Items()[2];
    EXPECT_EQ(button.id, 0xFFFF);
    EXPECT_EQ(button.title, "&OK");
    EXPECT_EQ(button.style, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
    EXPECT_EQ(dialog.UnknownStyleNames(), std::vector<std::string>{"BS_ICONS"});
}

TEST(DialogTemplate, MissingAttributesAreZeroAndEmpty)
{
    CDialogTemplate dialog;
    ASSERT_TRUE(dialog.LoadFromXml("<dialog><item/></dialog>"));
    EXPECT_EQ(dialog.Header().style, 0u);
    EXPECT_EQ(dialog.Header().title, "");
    ASSERT_EQ(dialog.Items().size(), 1u);
    EXPECT_EQ(dialog.Items()[0].id, 0);
    EXPECT_EQ(dialog.Items()[0].windowClass, "");
}

// A description that does not load leaves the one read before as it was.
TEST(DialogTemplate, BadXmlLeavesTheDialogUnchanged)
{
    const char* const bad[] = {
        "<dialog title='x'><item id='1'></dialog>",      // does not parse
        "",                                              // no document
        "<dlg title='x'/>",                              // no dialog element
        "<dialog x='12abc'/>",                           // not a number
        "<dialog width='40000'/>",                       // out of the 16-bit range
        "<dialog><item id='1'/><item id='70000'/></dialog>",  // an item's id out of range
        "<dialog><item x='1.5'/></dialog>",              // not a whole number
        "<dialog italic='256'/>",
    };
    for (const char* xml : bad) {
        CDialogTemplate dialog;
        ASSERT_TRUE(dialog.LoadFromXml(kDialog));
        std::string error;
        EXPECT_FALSE(dialog.LoadFromXml(xml, &error)) << xml;
        EXPECT_FALSE(error.empty()) << xml;
        EXPECT_EQ(dialog.Header().title, "Renovix \xC3\xBC" "ber") << xml;
        EXPECT_EQ(dialog.Items().size(), 3u) << xml;
    }
}

TEST(DialogTemplate, NumberErrorsNameTheAttributeAndLine)
{
    CDialogTemplate dialog;
    std::string error;
    EXPECT_FALSE(dialog.LoadFromXml("<dialog>\n<item id='1'/>\n<item height='x9'/></dialog>", &error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    EXPECT_NE(error.find("height=\"x9\""), std::string::npos) << error;
}

TEST(DialogTemplate, ElementOfAnotherNameIsRefused)
{
    CDialogTemplate dialog;
    EXPECT_FALSE(dialog.ReadDialogElement(nullptr));
    EXPECT_FALSE(dialog.LoadFromXml("<resources><dialog title='inner'/></resources>"));
}

TEST(DialogTemplate, AddItemShortcutsOrTheirStylesIntoTheCallers)
{
    CDialogTemplate dialog;
    const SDialogRect rect{10, 20, 60, 34};
    EXPECT_EQ(dialog.AddButton(rect, 1001, "Push"), 0);
    EXPECT_EQ(dialog.AddDefButton(rect, 1, "OK", WS_GROUP), 1);
    EXPECT_EQ(dialog.AddStatic(rect, -1, "Label", SS_RIGHT, WS_EX_STATICEDGE), 2);
    EXPECT_EQ(dialog.AddCheckBox(rect, 1002, "Check"), 3);
    EXPECT_EQ(dialog.AddEdit(rect, 1003, "Text"), 4);
    EXPECT_EQ(dialog.AddComboBox(rect, 1004, ""), 5);
    EXPECT_EQ(dialog.AddItem("SysListView32", {0, 0, 100, 50}, 1005, "", WS_CHILD | LVS_REPORT, 0), 6);

    const auto& items = dialog.Items();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].windowClass, "BUTTON");
    EXPECT_EQ(items[0].style, 0x50010000u);
    EXPECT_EQ(items[1].style, 0x50010001u | WS_GROUP);
    EXPECT_EQ(items[2].windowClass, "STATIC");
    EXPECT_EQ(items[2].style, 0x50000000u | SS_RIGHT);
    EXPECT_EQ(items[2].exStyle, WS_EX_STATICEDGE);
    EXPECT_EQ(items[2].id, 0xFFFF);
    EXPECT_EQ(items[3].windowClass, "BUTTON");
    EXPECT_EQ(items[3].style, 0x50010D03u);
    EXPECT_EQ(items[4].windowClass, "EDIT");
    EXPECT_EQ(items[4].style, 0x50810080u);
    EXPECT_EQ(items[5].windowClass, "COMBOBOX");
    EXPECT_EQ(items[5].style, 0x50210003u);
    EXPECT_EQ(items[6].windowClass, "SysListView32");

    EXPECT_EQ(items[0].x, 10);
    EXPECT_EQ(items[0].y, 20);
    EXPECT_EQ(items[0].width, 50);
    EXPECT_EQ(items[0].height, 14);
    EXPECT_EQ(items[0].title, "Push");
    EXPECT_EQ(items[0].helpId, 0u);
}

TEST(DialogTemplate, IsBuiltOnce)
{
    CDialogTemplate dialog;
    dialog.Header().title = "First";
    dialog.AddStatic({0, 0, 10, 10}, 100, "one");
    const SDialogTemplate* built = dialog.BuildTemplate();
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(dialog.GetTemplate(), built);
    EXPECT_EQ(dialog.BuildTemplate(), nullptr);

    // The built template no longer follows the description, and no XML is read into it.
    dialog.AddStatic({0, 0, 10, 10}, 101, "two");
    dialog.Header().title = "Changed";
    EXPECT_EQ(built->items.size(), 1u);
    EXPECT_EQ(built->header.title, "First");
    EXPECT_FALSE(dialog.LoadFromXml("<dialog title='Other'/>"));
    EXPECT_EQ(dialog.Header().title, "Changed");

    dialog.FreeTemplate();
    EXPECT_EQ(dialog.GetTemplate(), nullptr);
    ASSERT_TRUE(dialog.LoadFromXml("<dialog title='Other'><item id='5'/></dialog>"));
    const SDialogTemplate* rebuilt = dialog.BuildTemplate();
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->header.title, "Other");
    EXPECT_EQ(rebuilt->items.size(), 1u);
}

TEST(DialogTemplate, ResetClearsTheDescriptionButNotTheBuiltTemplate)
{
    CDialogTemplate dialog;
    ASSERT_TRUE(dialog.LoadFromXml(kDialog));
    const SDialogTemplate* built = dialog.BuildTemplate();
    dialog.ResetTemplate();
    EXPECT_EQ(dialog.Header().style, 0u);
    EXPECT_EQ(dialog.Header().typeface, "");
    EXPECT_TRUE(dialog.Items().empty());
    EXPECT_EQ(dialog.GetTemplate(), built);
    EXPECT_EQ(built->items.size(), 3u);
}

struct SKindCase {
    const char* windowClass;
    std::uint32_t style;
    EDialogItemKind kind;
};

const SKindCase kKindCases[] = {
    {"BUTTON", BS_PUSHBUTTON, EDialogItemKind::PushButton},
    {"button", BS_DEFPUSHBUTTON | BS_ICON, EDialogItemKind::PushButton},
    {"BUTTON", BS_OWNERDRAW, EDialogItemKind::PushButton},
    {"BUTTON", BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, EDialogItemKind::CheckBox},
    {"BUTTON", BS_AUTO3STATE, EDialogItemKind::CheckBox},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP, EDialogItemKind::RadioButton},
    {"BUTTON", BS_RADIOBUTTON, EDialogItemKind::RadioButton},
    {"BUTTON", BS_GROUPBOX, EDialogItemKind::GroupBox},
    {"STATIC", SS_LEFT, EDialogItemKind::Text},
    {"Static", SS_RIGHT | SS_NOPREFIX | SS_SUNKEN, EDialogItemKind::Text},
    {"STATIC", SS_LEFTNOWORDWRAP, EDialogItemKind::Text},
    {"STATIC", SS_ICON | SS_CENTERIMAGE, EDialogItemKind::Icon},
    {"STATIC", SS_BITMAP, EDialogItemKind::Bitmap},
    {"STATIC", SS_ETCHEDHORZ, EDialogItemKind::HorizontalLine},
    {"STATIC", SS_ETCHEDVERT, EDialogItemKind::VerticalLine},
    {"STATIC", SS_BLACKFRAME, EDialogItemKind::Placeholder},
    {"STATIC", SS_ETCHEDFRAME, EDialogItemKind::Placeholder},
    {"STATIC", SS_GRAYRECT, EDialogItemKind::Placeholder},
    {"EDIT", ES_MULTILINE | ES_WANTRETURN, EDialogItemKind::Edit},
    {"COMBOBOX", CBS_DROPDOWNLIST, EDialogItemKind::ComboBox},
    {"LISTBOX", LBS_STANDARD, EDialogItemKind::ListBox},
    {"SysListView32", LVS_REPORT, EDialogItemKind::ListView},
    {"systabcontrol32", 0, EDialogItemKind::TabStrip},
    {"msctls_progress32", PBS_SMOOTH, EDialogItemKind::ProgressBar},
    {"SysLink", 0, EDialogItemKind::Link},
    {"SCROLLBAR", 0, EDialogItemKind::Unknown},
    {"", 0, EDialogItemKind::Unknown},
};

void ExpectKindsOfTheTable()
{
    for (const SKindCase& c : kKindCases) {
        SDialogItem item;
        item.windowClass = c.windowClass;
        item.style = WS_CHILD | WS_VISIBLE | c.style;
        EXPECT_EQ(DialogItemKind(item), c.kind) << c.windowClass << " " << std::hex << c.style;
    }
}

TEST(DialogItemKind, FollowsClassAndStyle)
{
    ExpectKindsOfTheTable();
}

// Under a Turkish locale the C library's strcasecmp takes "Static" for another word than
// "STATIC"; the ASCII rule still holds.
TEST(DialogItemKind, FollowsClassWhateverTheProcessLocale)
{
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    ExpectKindsOfTheTable();
}

// Radio buttons form a group from one with WS_GROUP up to the next control with WS_GROUP.
TEST(DialogItemKind, RadioGroups)
{
    CDialogTemplate dialog;
    const SDialogRect r{0, 0, 10, 10};
    const std::uint32_t radio = BS_AUTORADIOBUTTON;
    dialog.AddButton(r, 10, "first, no group style", radio);           // 0: starts (no radio before)
    dialog.AddButton(r, 11, "second", radio);                          // 1
    dialog.AddButton(r, 12, "third, WS_GROUP", radio | WS_GROUP);      // 2: starts
    dialog.AddStatic(r, -1, "text between");                           // 3
    dialog.AddButton(r, 13, "fourth", radio);                          // 4: still third's group
    dialog.AddEdit(r, 14, "", WS_GROUP);                               // 5
    dialog.AddButton(r, 15, "after a group start", radio);             // 6: starts
    dialog.AddButton(r, 16, "last", radio);                            // 7
    const bool starts[] = {true, false, true, false, false, false, true, false};
    for (std::size_t i = 0; i < dialog.Items().size(); ++i) {
        if (DialogItemKind(dialog.Items()[i]) == EDialogItemKind::RadioButton) {
            EXPECT_EQ(StartsRadioGroup(dialog.Items(), i), starts[i]) << i;
        }
    }
}

}  // namespace
