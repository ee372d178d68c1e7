// The update settings dialog on a display, and the update client's progress as window events: what the controls turn into settings text and back,
// the two modes with their rows, the protocols offered, and the keys.
#include "Harbinax/MessageBox.h"
#include "Harbinax/ProgressEvents.h"
#include "Renovix/RenovixLib/RenovixSchedule.h"
#include "Renovix/RenovixWx/RenovixProgressEvents.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "support/LocaleScope.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

::testing::Environment* const wx = ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"RenovixWxTests"}));

using Dlg = CRenovixSettingsDlg;

int ItemData(wxComboBox* combo, unsigned int i)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(combo->GetClientData(i)));
}

// Picks the item with that data as the user does, with the selection event.
void Choose(wxComboBox* combo, int data)
{
    for (unsigned int i = 0; i < combo->GetCount(); ++i) {
        if (ItemData(combo, i) == data) {
            combo->SetSelection(static_cast<int>(i));
            wxCommandEvent event(wxEVT_COMBOBOX, combo->GetId());
            event.SetEventObject(combo);
            event.SetInt(static_cast<int>(i));
            combo->GetEventHandler()->ProcessEvent(event);
            return;
        }
    }
    ADD_FAILURE() << "no item " << data;
}

std::vector<std::string> Items(wxComboBox* combo)
{
    std::vector<std::string> items;
    for (unsigned int i = 0; i < combo->GetCount(); ++i)
        items.push_back(combo->GetString(i).utf8_string());
    return items;
}

class RenovixSettingsDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageBoxSinkForTesting([this](const SMessageBox& box) {
            boxes.push_back(box.text);
            return wxID_OK;
        });
        CRenovixSettings::SetDefaults(settings);
        settings.protocol = RENOVIX_PROTOCOL_HTTP;
        settings.baseDir = "http://server/updates/";
    }
    void TearDown() override { SetMessageBoxSinkForTesting(nullptr); }

    std::unique_ptr<Dlg> Modal(const std::string& language = "en")
    {
        std::unique_ptr<Dlg> dialog = Dlg::Create(language, nullptr, false, true, true);
        EXPECT_TRUE(dialog);
        if (dialog)
            dialog->SetSettings(settings);
        return dialog;
    }
    static wxComboBox* Combo(Dlg& dialog, int id) { return dynamic_cast<wxComboBox*>(dialog.GetItem(id)); }
    static wxTextCtrl* Edit(Dlg& dialog, int id) { return dynamic_cast<wxTextCtrl*>(dialog.GetItem(id)); }
    static wxCheckBox* Day(Dlg& dialog, int index) { return dynamic_cast<wxCheckBox*>(dialog.GetItem(Dlg::IDC_MONDAY + index)); }

    CRenovixSettings settings;
    std::vector<std::string> boxes;
};

struct SScheduleCase {
    int kind;
    const char* time;
    const char* number;
    std::vector<int> days;  // 0 = Monday
    const char* expected;   // null: refused, the schedule before stays
};

TEST_F(RenovixSettingsDlgTest, ControlsBecomeTheScheduleText)
{
    const SScheduleCase cases[] = {
        {Dlg::SCHEDULE_WEEKLY, "07:15", "", {0, 4}, "WEEKLY|0100010|07:15"},
        {Dlg::SCHEDULE_WEEKLY, "23:59", "", {6}, "WEEKLY|1000000|23:59"},
        {Dlg::SCHEDULE_DAILY, "8:00", "", {}, "DAILY|08:00"},
        {Dlg::SCHEDULE_DAILY, " 8:05 ", "", {}, "DAILY|08:05"},
        {Dlg::SCHEDULE_MONTHLY, "7:30", "15", {}, "MONTHLY|15|07:30"},
        {Dlg::SCHEDULE_INTERVAL, "00:00", "3", {}, "INTERVAL|3|00:00"},
        {Dlg::SCHEDULE_MANUALLY, "", "", {}, "MANUALLY"},
        {Dlg::SCHEDULE_EVERYSTART, "nonsense", "", {}, "EVERYSTART"},
        {Dlg::SCHEDULE_DAILY, "8", "", {}, nullptr},
        {Dlg::SCHEDULE_DAILY, "24:00", "", {}, nullptr},
        {Dlg::SCHEDULE_DAILY, "08:60", "", {}, nullptr},
        {Dlg::SCHEDULE_WEEKLY, "08:00h", "", {1}, nullptr},
        {Dlg::SCHEDULE_MONTHLY, "08:00", "32", {}, nullptr},
        {Dlg::SCHEDULE_MONTHLY, "08:00", "", {}, nullptr},
        {Dlg::SCHEDULE_INTERVAL, "08:00", "0", {}, nullptr},
    };
    for (const SScheduleCase& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " / " + c.number + " -> " + (c.expected ? c.expected : "refused"));
        settings.schedule = "MONTHLY|1|01:00";
        boxes.clear();
        auto dialog = Modal();
        ASSERT_TRUE(dialog);
        Choose(Combo(*dialog, Dlg::IDC_SCHEDULE), c.kind);
        Edit(*dialog, Dlg::IDC_TIME)->ChangeValue(c.time);
        Edit(*dialog, Dlg::IDC_NUMBER)->ChangeValue(c.number);
        for (int day = 0; day < 7; ++day)
            Day(*dialog, day)->SetValue(false);
        for (int day : c.days)
            Day(*dialog, day)->SetValue(true);
        EXPECT_EQ(dialog->CheckInput(), c.expected != nullptr);
        EXPECT_EQ(boxes.size(), c.expected ? 0u : 1u);
        const CRenovixSettings read = dialog->GetSettings();
        EXPECT_EQ(read.schedule, c.expected ? c.expected : "MONTHLY|1|01:00");
        // A new schedule runs next when it says, counted from now.
        if (c.expected)
            EXPECT_EQ(read.nextRun, CRenovixSchedule::NextDate(c.expected, std::time(nullptr)));
        else
            EXPECT_EQ(read.nextRun, settings.nextRun);
    }
}

TEST_F(RenovixSettingsDlgTest, RefusedTimeIsExplainedInTheDialogsLanguage)
{
    auto dialog = Modal("de");
    ASSERT_TRUE(dialog);
    Choose(Combo(*dialog, Dlg::IDC_SCHEDULE), Dlg::SCHEDULE_DAILY);
    Edit(*dialog, Dlg::IDC_TIME)->ChangeValue("8.00");
    EXPECT_FALSE(dialog->CheckInput());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Bitte die Uhrzeit als HH:MM eingeben, zum Beispiel 08:00.");
}

struct SPathCase {
    int protocol;
    const char* typed;
    const char* stored;
};

TEST_F(RenovixSettingsDlgTest, RemotePathGetsSlashesAndATrailingOne)
{
    const SPathCase cases[] = {
        {RENOVIX_PROTOCOL_HTTP, "a\\b", "a/b/"},
        {RENOVIX_PROTOCOL_HTTP, "http://server/x/", "http://server/x/"},
        {RENOVIX_PROTOCOL_FTP, "ftp://server\\pub", "ftp://server/pub/"},
        // Folders of this system take '/' too.
        {RENOVIX_PROTOCOL_FILE, "/srv/share\\updates", "/srv/share/updates/"},
        {RENOVIX_PROTOCOL_NONE, "a\\b", "a\\b"},
        {RENOVIX_PROTOCOL_HTTP, "", ""},
    };
    for (const SPathCase& c : cases) {
        SCOPED_TRACE(c.typed);
        auto dialog = Modal();
        ASSERT_TRUE(dialog);
        Choose(Combo(*dialog, Dlg::IDC_PROTOCOL), c.protocol);
        Edit(*dialog, Dlg::IDC_REMOTE_PATH)->ChangeValue(c.typed);
        const CRenovixSettings read = dialog->GetSettings();
        EXPECT_EQ(read.protocol, c.protocol);
        EXPECT_EQ(read.baseDir, c.stored);
    }
}

struct SShowCase {
    const char* schedule;
    int kind;  // -1: nothing selected
    const char* time;
    const char* number;
    const char* days;  // Monday first
    bool timeRow;
    bool numberRow;
    bool dayBoxes;
};

TEST_F(RenovixSettingsDlgTest, ShowsTheStoredSchedule)
{
    const SShowCase cases[] = {
        {"weekly|0100010|07:15", Dlg::SCHEDULE_WEEKLY, "07:15", "", "1000100", true, false, true},
        {"WEEKLY|1000001|21:00", Dlg::SCHEDULE_WEEKLY, "21:00", "", "0000011", true, false, true},
        // A time of four characters is no time.
        {"DAILY|8:00", Dlg::SCHEDULE_DAILY, "", "", "0000000", true, false, false},
        {"MONTHLY|15|07:30", Dlg::SCHEDULE_MONTHLY, "07:30", "15", "0000000", true, true, false},
        {"interval|3|06:00", Dlg::SCHEDULE_INTERVAL, "06:00", "3", "0000000", true, true, false},
        {"EVERYSTART", Dlg::SCHEDULE_EVERYSTART, "", "", "0000000", false, false, false},
        {"hourly|5", -1, "", "", "0000000", false, false, false},
    };
    for (const SShowCase& c : cases) {
        SCOPED_TRACE(c.schedule);
        settings.schedule = c.schedule;
        auto dialog = Modal();
        ASSERT_TRUE(dialog);
        wxComboBox* schedule = Combo(*dialog, Dlg::IDC_SCHEDULE);
        const int selection = schedule->GetSelection();
        EXPECT_EQ(selection == wxNOT_FOUND ? -1 : ItemData(schedule, selection), c.kind);
        EXPECT_EQ(Edit(*dialog, Dlg::IDC_TIME)->GetValue(), c.time);
        EXPECT_EQ(Edit(*dialog, Dlg::IDC_NUMBER)->GetValue(), c.number);
        for (int day = 0; day < 7; ++day)
            EXPECT_EQ(Day(*dialog, day)->GetValue(), c.days[day] == '1') << day;
        EXPECT_EQ(dialog->GetItem(Dlg::IDC_TIME)->IsShown(), c.timeRow);
        EXPECT_EQ(dialog->GetItem(Dlg::IDC_NUMBER)->IsShown(), c.numberRow);
        EXPECT_EQ(Day(*dialog, 0)->IsShown(), c.dayBoxes);
        // Nothing changed: the schedule and its next run stay.
        EXPECT_EQ(dialog->GetSettings().nextRun, settings.nextRun);
    }
}

// The keywords are read by the ASCII case rules: under a Turkish locale the C library leaves
// the I of "DAILY" and "INTERVAL" upper case.
TEST_F(RenovixSettingsDlgTest, StoredScheduleIsShownUnderATurkishLocale)
{
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    for (const auto& [text, kind] : {std::pair<const char*, int>{"DAILY|03:00", Dlg::SCHEDULE_DAILY},
                                     std::pair<const char*, int>{"INTERVAL|3|06:00", Dlg::SCHEDULE_INTERVAL}}) {
        settings.schedule = text;
        auto dialog = Modal();
        ASSERT_TRUE(dialog);
        wxComboBox* schedule = Combo(*dialog, Dlg::IDC_SCHEDULE);
        ASSERT_NE(schedule->GetSelection(), wxNOT_FOUND) << text;
        EXPECT_EQ(ItemData(schedule, schedule->GetSelection()), kind) << text;
    }
}

TEST_F(RenovixSettingsDlgTest, NumberLabelNamesDayOrInterval)
{
    auto dialog = Modal("de");
    ASSERT_TRUE(dialog);
    Choose(Combo(*dialog, Dlg::IDC_SCHEDULE), Dlg::SCHEDULE_MONTHLY);
    EXPECT_EQ(dialog->GetItem(Dlg::IDC_NUMBER_LABEL)->GetLabel().utf8_string(), "Tag:");
    Choose(Combo(*dialog, Dlg::IDC_SCHEDULE), Dlg::SCHEDULE_INTERVAL);
    EXPECT_EQ(dialog->GetItem(Dlg::IDC_NUMBER_LABEL)->GetLabel().utf8_string(), "Intervall:");
}

TEST_F(RenovixSettingsDlgTest, ModalDialogOffersEveryProtocolInItsLanguage)
{
    auto dialog = Modal("de");
    ASSERT_TRUE(dialog);
    auto* window = dynamic_cast<wxTopLevelWindow*>(dialog->GetWindow());
    ASSERT_TRUE(window);
    EXPECT_EQ(window->GetTitle().utf8_string(), "Renovix Einstellungen");
    EXPECT_EQ(Items(Combo(*dialog, Dlg::IDC_PROTOCOL)),
              (std::vector<std::string>{"keines", "Dateisystem", "HTTP", "FTP"}));
    EXPECT_EQ(Items(Combo(*dialog, Dlg::IDC_SCHEDULE)),
              (std::vector<std::string>{"manuell", "jeden Programmstart", "täglich", "wöchentlich", "monatlich",
                                        "alle X Tage"}));
    EXPECT_EQ(dialog->GetItem(Dlg::IDC_SAVE)->GetLabel().utf8_string(), "&Sichern");
    EXPECT_EQ(dialog->GetItem(2)->GetLabel().utf8_string(), "&Abbrechen");
    dialog->EnableFtp(false);
    EXPECT_EQ(Items(Combo(*dialog, Dlg::IDC_PROTOCOL)), (std::vector<std::string>{"keines", "Dateisystem", "HTTP"}));
    EXPECT_EQ(Combo(*dialog, Dlg::IDC_PROTOCOL)->GetSelection(), 2) << "HTTP stays chosen";
    dialog->EnableProtocolSelection(false);
    dialog->EnableRemotePath(false);
    EXPECT_FALSE(dialog->GetItem(Dlg::IDC_PROTOCOL)->IsEnabled());
    EXPECT_FALSE(dialog->GetItem(Dlg::IDC_REMOTE_PATH)->IsEnabled());
}

TEST_F(RenovixSettingsDlgTest, ChildWithoutProtocolAndRemotePathPassesThemThrough)
{
    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "page"));
    settings.protocol = RENOVIX_PROTOCOL_FTP;
    settings.baseDir = "ftp://server\\pub";
    settings.schedule = "DAILY|03:00";
    std::unique_ptr<Dlg> dialog = Dlg::Create("en", frame.get(), true, false, false);
    ASSERT_TRUE(dialog);
    dialog->EnableFtp(false);
    dialog->SetSettings(settings);
    EXPECT_EQ(dialog->GetWindow()->GetParent(), frame.get());
    for (int id : std::vector<int>{Dlg::IDC_PROTOCOL_LABEL, Dlg::IDC_PROTOCOL, Dlg::IDC_REMOTE_PATH_LABEL, Dlg::IDC_REMOTE_PATH,
                   Dlg::IDC_SAVE, 2})
        EXPECT_EQ(dialog->GetItem(id), nullptr) << id;
    EXPECT_NE(dialog->GetItem(Dlg::IDC_SCHEDULE), nullptr);
    // The rows that are left take the room from the top.
    EXPECT_EQ(dialog->GetItem(Dlg::IDC_SCHEDULE_LABEL)->GetPosition().y, 0);
    Choose(Combo(*dialog, Dlg::IDC_SCHEDULE), Dlg::SCHEDULE_WEEKLY);
    Edit(*dialog, Dlg::IDC_TIME)->ChangeValue("6:30");
    Day(*dialog, 2)->SetValue(true);
    const CRenovixSettings read = dialog->GetSettings();
    EXPECT_EQ(read.protocol, RENOVIX_PROTOCOL_FTP);
    EXPECT_EQ(read.baseDir, "ftp://server\\pub");
    EXPECT_EQ(read.schedule, "WEEKLY|0001000|06:30");
    // The frame takes the panel with it; the dialog object must not destroy it again.
    frame.reset();
    EXPECT_EQ(dialog->GetWindow(), nullptr);
    dialog.reset();
}

TEST_F(RenovixSettingsDlgTest, EscapeLeavesTheModalDialogOpenSaveEndsItWithTheSettings)
{
    settings.schedule = "MANUALLY";
    auto dialog = Modal();
    ASSERT_TRUE(dialog);
    wxWindow* window = dialog->GetWindow();
    bool openAfterEscape = false;
    window->CallAfter([&] {
        ShowAndFocus(window);
        dialog->GetItem(Dlg::IDC_REMOTE_PATH)->SetFocus();
        wxUIActionSimulator keyboard;
        keyboard.Char(WXK_ESCAPE);
        PumpFor(100);
        openAfterEscape = window->IsShown();
        // Enter moves on like Tab instead of pressing Save.
        keyboard.Char(WXK_RETURN);
        PumpFor(100);
        Choose(Combo(*dialog, Dlg::IDC_SCHEDULE), Dlg::SCHEDULE_DAILY);
        Edit(*dialog, Dlg::IDC_TIME)->ChangeValue("9:45");
        wxCommandEvent save(wxEVT_BUTTON, Dlg::IDC_SAVE);
        save.SetEventObject(dialog->GetItem(Dlg::IDC_SAVE));
        dialog->GetItem(Dlg::IDC_SAVE)->GetEventHandler()->ProcessEvent(save);
    });
    EXPECT_EQ(dialog->DoModal(), wxID_OK);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(dialog->GetSettings().schedule, "DAILY|09:45");
}

TEST_F(RenovixSettingsDlgTest, CancelEndsTheModalDialog)
{
    auto dialog = Modal();
    ASSERT_TRUE(dialog);
    wxWindow* cancel = dialog->GetItem(2);
    dialog->GetWindow()->CallAfter([cancel] {
        wxCommandEvent click(wxEVT_BUTTON, cancel->GetId());
        click.SetEventObject(cancel);
        cancel->GetEventHandler()->ProcessEvent(click);
    });
    EXPECT_EQ(dialog->DoModal(), wxID_CANCEL);
}

// The update client's progress reaches a window as its events, in order.
TEST(RenovixProgressEventsTest, ForwardsEachCallAsItsEvent)
{
    wxEvtHandler window;
    std::vector<std::string> seen;
    window.Bind(RENOVIX_DOWNLOAD_FILE, [&](wxCommandEvent& e) { seen.push_back("file " + e.GetString().utf8_string()); });
    window.Bind(RENOVIX_SET_FILESIZE, [&](wxCommandEvent& e) { seen.push_back("size " + std::to_string(e.GetExtraLong())); });
    window.Bind(RENOVIX_DOWNLOADED_1KB, [&](wxCommandEvent&) { seen.push_back("1KB"); });
    CRenovixProgressEvents progress;
    IRenovixProgress& observer = progress;
    observer.OnDownloadFile("lost");  // no window yet
    progress.SetTarget(&window);
    observer.OnDownloadFile("Zephrin");
    observer.OnSetFileSize(12);
    observer.OnDownloaded1KB();
    observer.OnDownloadFile("");
    EXPECT_EQ(seen, (std::vector<std::string>{"file Zephrin", "size 12", "1KB", "file "}));
}

TEST_F(RenovixSettingsDlgTest, Screenshot)
{
    settings.schedule = "WEEKLY|0100010|07:15";
    auto dialog = Modal();
    ASSERT_TRUE(dialog);
    ShowAndFocus(dialog->GetWindow());
    const wxBitmap picture = Snapshot(dialog->GetWindow());
    EXPECT_TRUE(picture.IsOk());
    SaveScreenshot(picture, "RenovixSettings");
}

}  // namespace
