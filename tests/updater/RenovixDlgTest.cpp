// The updater's window in the test process: the result reports in both languages, a manual run
// against an update folder, the progress it shows, the hand-over's narrow window, and the about
// box.
#include "Harbinax/MessageBox.h"
#include "Harbinax/ProgressEvents.h"
#include "Platform/ProgramFolder.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixLib/TextScrambler.h"
#include "support/LayoutCheck.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "updater/AboutDlg.h"
#include "updater/RenovixApp.h"
#include "updater/RenovixDlg.h"
#include "updater/Resource.h"

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<CTemporaryFolder> folder;

class CRenovixTestEnvironment : public CWxTestEnvironment {
public:
    CRenovixTestEnvironment() : CWxTestEnvironment({"RenovixUpdaterTests"}) {}

    void SetUp() override
    {
        folder = std::make_unique<CTemporaryFolder>();
        Platform::SetProgramPathForTesting(folder->Path("Renovix"));
        CWxTestEnvironment::SetUp();
        // Without a display there is no application to load the texts into.
        if (::testing::Test::HasFatalFailure())
            return;
        CRenovixApp::GetApp()->LoadTexts();
    }
    void TearDown() override
    {
        CWxTestEnvironment::TearDown();
        Platform::SetProgramPathForTesting(std::string());
        folder.reset();
    }

protected:
    wxApp* CreateApp() override { return new CTestApp<CRenovixApp>; }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CRenovixTestEnvironment);

class RenovixDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(CRenovixApp::GetApp(), nullptr) << "no application: the test program's set-up failed";
        SetMessageBoxSinkForTesting([this](const SMessageBox& box) {
            boxes.push_back(box.caption + "\t" + box.text);
            return wxID_OK;
        });
        CRenovixApp::GetApp()->SetLanguage("en");
        std::filesystem::remove_all(Share(""));
        std::filesystem::create_directories(Share(""));
        std::remove(Program("Renovix.xml").c_str());
        std::remove(Program("a.txt").c_str());
    }
    void TearDown() override
    {
        SetMessageBoxSinkForTesting(nullptr);
        if (CRenovixApp::GetApp() != nullptr)
            CRenovixApp::GetApp()->SetLanguage("en");
    }

    static std::string Program(const std::string& name) { return folder->Path(name); }
    static std::string Share(const std::string& name) { return folder->Path("share/" + name); }

    // Settings for the update folder "share" with a list of the entries.
    static void UpdateFolder(const std::vector<std::string>& sources)
    {
        std::string list = "<?xml version='1.0'?>\n<renovix>\n";
        for (const std::string& source : sources)
            list += "<updateentry source='" + CTextScrambler::Encode(source) + "' destination='' flags='FILE'/>\n";
        WriteWholeFile(Share("RenovixList.1.0.0.0.xml"), list + "</renovix>\n");
        WriteWholeFile(Program("Renovix.xml"), "<renovix><settings basedir='" + Share("") +
                                                   "' protocol='FILE' schedule='DAILY|03:00' "
                                                   "nextrenovix='2000-01-01 00:00:00' packages='all'/></renovix>");
    }

    std::unique_ptr<CRenovixDlg, SDeleteWindow> Dialog(bool modal = true)
    {
        std::unique_ptr<CRenovixDlg, SDeleteWindow> dialog(new CRenovixDlg(nullptr));
        EXPECT_TRUE(dialog->Create(modal));
        return dialog;
    }

    std::vector<std::string> boxes;
};

struct SResultCase {
    const char* language;
    int result;
    const char* locked;
    const char* text;
    int title;
    long icon;
};

TEST_F(RenovixDlgTest, ResultTexts)
{
    const SResultCase cases[] = {
        {"en", 0x4 | 0x20 | 0x80, "",
         "Errors occured during the update.\nSome files could not be updated.\n\n"
         "One or more files could not be downloaded from the update-server.\n"
         "A downloaded Zip-archive could not be unzipped.",
         IDS_ERROR, wxICON_ERROR},
        {"en", 0x4 | 0x10 | 0x40 | 0x100 | 0x200, "",
         "Errors occured during the update.\nSome files could not be updated.\n\n"
         "One or more files on the CE-Device were in use and could not be updated.\n"
         "One or more downloaded files were corrupted.\n"
         "ActiveSync for the CE-Device could not be initialized.\n"
         "A file on the CE-Device could not be created.",
         IDS_ERROR, wxICON_ERROR},
        {"de", 0x4 | 0x40, "",
         "Beim Update gab es Fehler.\nEinige Dateien konnten nicht upgedated werden.\n\n"
         "Eine oder mehrere heruntergeladener Dateien waren beschädigt.",
         IDS_ERROR, wxICON_ERROR},
        {"en", 0x2, "/opt/z/Zephrin\n/opt/z/a.txt",
         "Some files could not be updated, because they are used by other applications.\n"
         "Please close all applications and restart the update.\n\n/opt/z/Zephrin\n/opt/z/a.txt",
         IDS_WARNING, wxICON_WARNING},
        {"en", 0x10000001, "", "The update was successful. All available updates were downloaded.", IDS_INFO,
         wxICON_INFORMATION},
        {"en", 0x1, "", "Update successful but there were no new updates available.", IDS_INFO, wxICON_INFORMATION},
        {"de", 0x1, "", "Das Update war erfolgreich. Es lagen keine neuen Updates vor.", IDS_INFO,
         wxICON_INFORMATION},
    };
    for (const SResultCase& c : cases) {
        SCOPED_TRACE(c.text);
        CRenovixApp::GetApp()->SetLanguage(c.language);
        int title = 0;
        long style = 0;
        EXPECT_EQ(CRenovixDlg::ResultText(c.result, c.locked, &title, &style), c.text);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(style, wxOK | c.icon);
    }
}

TEST_F(RenovixDlgTest, BoxCaptionsNameTheProgramInTheLanguage)
{
    auto dialog = Dialog();
    dialog->ReportResult(0x4 | 0x20, "");
    CRenovixApp::GetApp()->SetLanguage("de");
    dialog->ReportResult(0x2, "a");
    dialog->ReportResult(0x1, "");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].substr(0, boxes[0].find('\t')), "Renovix: Error");
    EXPECT_EQ(boxes[1].substr(0, boxes[1].find('\t')), "Renovix: Warnung");
    EXPECT_EQ(boxes[2].substr(0, boxes[2].find('\t')), "Renovix: Information");
}

TEST_F(RenovixDlgTest, ArgumentLosesBlanksAndQuotesAtItsEnds)
{
    EXPECT_EQ(CRenovixApp::StripArgument("\"/opt/my programs/Zephrin\""), "/opt/my programs/Zephrin");
    EXPECT_EQ(CRenovixApp::StripArgument("  /opt/z/Zephrin "), "/opt/z/Zephrin");
    EXPECT_EQ(CRenovixApp::StripArgument(" \" \"  "), "");
    EXPECT_EQ(CRenovixApp::StripArgument(""), "");
}

TEST_F(RenovixDlgTest, ManualRunWithoutNewFilesSaysSo)
{
    UpdateFolder({});
    auto dialog = Dialog();
    EXPECT_EQ(dialog->ManualRun(), CRenovix::UPDATE_RESULT_OK);
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Renovix: Information\tUpdate successful but there were no new updates available."}));
    EXPECT_EQ(dialog->GetCurrentFileText(), "Update successfull");
    // The run moved the next update on.
    EXPECT_EQ(ReadWholeFile(Program("Renovix.xml")).find("2000-01-01"), std::string::npos);
}

TEST_F(RenovixDlgTest, ManualRunInstallsANewFile)
{
    WriteWholeFile(Share("a.txt"), "new a");
    UpdateFolder({"a.txt"});
    // A list left by an earlier hand-over names another entry; the manual run took it away first.
    auto dialog = Dialog();
    EXPECT_EQ(dialog->ManualRun(), CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_EQ(ReadWholeFile(Program("a.txt")), "new a");
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Renovix: Information\tThe update was successful. All available updates were downloaded."}));
}

TEST_F(RenovixDlgTest, ManualRunWithoutSettingsOrListStops)
{
    auto dialog = Dialog();
    EXPECT_EQ(dialog->ManualRun(), -1);
    UpdateFolder({});
    std::remove(Share("RenovixList.1.0.0.0.xml").c_str());
    EXPECT_EQ(dialog->ManualRun(), -1);
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Renovix: Error\tThe application-settings could not be loaded.\nThe update cannot start.",
                         "Renovix: Error\tThe remote updatelistcould not be downloaded.\nCancelling update."}));
}

TEST_F(RenovixDlgTest, ProgressShowsFileAndKilobytes)
{
    auto dialog = Dialog();
    CRenovixApp::GetApp()->SetLanguage("de");
    SendDownloadFile(dialog.get(), "Zephrin");
    SendSetFileSize(dialog.get(), 3);
    SendDownloaded1KB(dialog.get());
    SendDownloaded1KB(dialog.get());
    EXPECT_EQ(dialog->GetCurrentFileText(), "Zephrin 2 von 3 KB");
    auto* gauge = dynamic_cast<wxGauge*>(dialog->GetItem(IDC_PROGRESS));
    ASSERT_TRUE(gauge);
    EXPECT_EQ(gauge->GetRange(), 3);
    EXPECT_EQ(gauge->GetValue(), 2);
    SendDownloadFile(dialog.get(), "a.txt");
    EXPECT_EQ(dialog->GetCurrentFileText(), "a.txt");
}

TEST_F(RenovixDlgTest, HandOverShowsOnlyTheProgressAndStartsNothingWithoutSettings)
{
    auto dialog = Dialog(false);
    dialog->Show();
    const int textTop = dialog->GetItem(IDC_TEXT_UPDATE)->GetPosition().y;
    EXPECT_FALSE(dialog->UpdateRun(Program("never-started")));
    for (int id : {IDC_TEXT_UPDATE, IDC_TEXT_SETTINGS, IDC_TEXT_CLOSE, IDC_MANUAL_UPDATE, IDC_SETTINGS, IDC_ABOUT, 1})
        EXPECT_FALSE(dialog->GetItem(id)->IsShown()) << id;
    EXPECT_TRUE(dialog->GetItem(IDC_PROGRESS)->IsShown());
    EXPECT_EQ(dialog->GetClientSize().y, textTop);
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Renovix: Error\tThe application-settings could not be loaded.\nThe update cannot start."}));
}

TEST_F(RenovixDlgTest, SettingsCommandEditsTheSettingsFile)
{
    UpdateFolder({});
    auto dialog = Dialog();
    // The settings dialog picks the schedule and saves as soon as it shows.
    bool shown = false;
    auto save = [&shown](wxShowEvent& event) {
        event.Skip();
        auto* window = dynamic_cast<wxDialog*>(event.GetEventObject());
        if (!window || !event.IsShown() || shown || !CDialogControls::FindItem(window, CRenovixSettingsDlg::IDC_SAVE))
            return;
        shown = true;
        window->CallAfter([window] {
            auto* schedule = dynamic_cast<wxComboBox*>(CDialogControls::FindItem(window, CRenovixSettingsDlg::IDC_SCHEDULE));
            schedule->SetSelection(1);  // every start
            wxWindow* button = CDialogControls::FindItem(window, CRenovixSettingsDlg::IDC_SAVE);
            wxCommandEvent click(wxEVT_BUTTON, button->GetId());
            click.SetEventObject(button);
            button->GetEventHandler()->ProcessEvent(click);
        });
    };
    wxTheApp->Bind(wxEVT_SHOW, save);
    dialog->OnSettings();
    wxTheApp->Unbind(wxEVT_SHOW, save);
    EXPECT_TRUE(shown);
    const std::string stored = ReadWholeFile(Program("Renovix.xml"));
    EXPECT_NE(stored.find("schedule=\"EVERYSTART\""), std::string::npos) << stored;
    EXPECT_NE(stored.find(Share("")), std::string::npos) << "the rest stays: " << stored;
}

TEST_F(RenovixDlgTest, ExitButtonEndsTheWindow)
{
    auto dialog = Dialog();
    wxWindow* exit = dialog->GetItem(1);
    ASSERT_TRUE(exit);
    EXPECT_EQ(exit->GetLabel(), "") << "an icon only";
    dialog->CallAfter([exit] {
        wxCommandEvent click(wxEVT_BUTTON, exit->GetId());
        click.SetEventObject(exit);
        exit->GetEventHandler()->ProcessEvent(click);
    });
    EXPECT_EQ(dialog->DoModal(), wxID_OK);
}

TEST_F(RenovixDlgTest, GermanWindowAndScreenshots)
{
    CRenovixApp::GetApp()->SetLanguage("de");
    auto dialog = Dialog();
    EXPECT_EQ(dialog->GetItem(IDC_CURRENT_FILE)->GetLabel().utf8_string(), "Aktuelle Datei:");
    EXPECT_EQ(dialog->GetItem(IDC_TEXT_CLOSE)->GetLabel().utf8_string(), "Programm beenden");
    EXPECT_EQ(dialog->GetItem(IDC_ABOUT)->GetToolTipText().utf8_string(), "Info über Renovix...");
    SendDownloadFile(dialog.get(), "Zephrin");
    SendSetFileSize(dialog.get(), 4);
    SendDownloaded1KB(dialog.get());
    ShowAndFocus(dialog.get());
    SaveScreenshot(Snapshot(dialog.get()), "RenovixDialog");

    CAboutDlg about(dialog.get());
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(about.GetTitle().utf8_string(), "Info über Renovix");
    EXPECT_EQ(about.GetItem(IDC_PROGRAM_VERSION)->GetLabel().utf8_string(), "Version 2.3.4.5");
    EXPECT_EQ(about.GetItem(IDC_LIBRARY_VERSION)->GetLabel().utf8_string(), "Version 1.0.0.0");
    ShowAndFocus(&about);
    SaveScreenshot(Snapshot(&about), "RenovixAbout");
}

// Every window of the updater in both languages and in each of its states (waiting for the
// user, showing a download's progress, the hand-over's progress alone): no two controls lie
// over each other and no control or text is cut.
TEST_F(RenovixDlgTest, EveryWindowFitsItsTextsInBothLanguages)
{
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        CRenovixApp::GetApp()->SetLanguage(language);
        auto dialog = Dialog(false);
        ShowAndFocus(dialog.get());
        SaveScreenshot(WholeWindow(dialog.get()), std::string("layout-") + language + "-renovix");
        std::vector<std::string> faults = LayoutFaults(*dialog);
        SendDownloadFile(dialog.get(), "Zephrin.db");
        SendSetFileSize(dialog.get(), 4096);
        SendDownloaded1KB(dialog.get());
        ShowAndFocus(dialog.get());
        SaveScreenshot(WholeWindow(dialog.get()), std::string("layout-") + language + "-renovix-progress");
        for (const std::string& fault : LayoutFaults(*dialog))
            faults.push_back("progress: " + fault);
        auto handOver = Dialog(false);
        handOver->Show();
        EXPECT_FALSE(handOver->UpdateRun(Program("never-started")));
        ShowAndFocus(handOver.get());
        SaveScreenshot(WholeWindow(handOver.get()), std::string("layout-") + language + "-renovix-hand-over");
        for (const std::string& fault : LayoutFaults(*handOver))
            faults.push_back("hand-over: " + fault);

        CAboutDlg about(dialog.get());
        ASSERT_TRUE(about.Create());
        ShowAndFocus(&about);
        SaveScreenshot(WholeWindow(&about), std::string("layout-") + language + "-renovix-about");
        for (const std::string& fault : LayoutFaults(about))
            faults.push_back("about: " + fault);
        about.Hide();

        std::unique_ptr<CRenovixSettingsDlg> settings =
            CRenovixSettingsDlg::Create(language, nullptr, false, true, true);
        ASSERT_TRUE(settings && settings->GetWindow());
        ShowAndFocus(settings->GetWindow());
        SaveScreenshot(WholeWindow(settings->GetWindow()), std::string("layout-") + language + "-renovix-settings");
        for (const std::string& fault : LayoutFaults(*settings->GetWindow()))
            faults.push_back("settings: " + fault);

        EXPECT_TRUE(faults.empty()) << FaultList(faults);
    }
}

}  // namespace
