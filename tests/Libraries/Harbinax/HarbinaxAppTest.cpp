#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "Harbinax/SplashScreen.h"
#include "HarbinaxGuiEnvironment.h"
#include "HarbinaxTestSupport.h"
#include "support/WindowManager.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/mstream.h>
#include <wx/settings.h>
#include <wx/timer.h>
#include <wx/wfstream.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Every test starts and ends with translation off, English and the usual compare depth.
class AppBase : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        Reset();
        for (const std::string& file : m_files)
            std::remove(file.c_str());
        SetMessageBoxSinkForTesting(MessageBoxSink());
    }

    static void Reset()
    {
        App().EnableTranslator(false);
        App().SetDefaultLanguage("en");
        App().SetVersionCompareDepth(4);
        App().SetLanguage("en");
    }

    void Satellite(const std::string& code, const std::string& record,
                   std::vector<CResourceBundle::SEntry> entries)
    {
        const std::string path = TestProgramFolder() + "Zephrin_" + code + ".res";
        m_files.push_back(path);
        WriteSatellite(path, record, std::move(entries));
    }

    std::string TranslationFile(const std::string& xml)
    {
        const std::string path = TestProgramFolder() + "translation.xml";
        m_files.push_back(path);
        WriteWholeFile(path, xml);
        return path;
    }

    std::vector<std::string> m_files;
};

TEST_F(AppBase, CommandLineAsStarted)
{
    const std::vector<std::string> expected = {"HarbinaxGuiTests", "\"/opt/Sizing/Zephrin\"", "second"};
    EXPECT_EQ(expected, App().GetArgumentList());
    EXPECT_EQ("\"/opt/Sizing/Zephrin\" second", App().GetCommandLineText());
}

TEST_F(AppBase, ProgramFolderAndSatelliteBaseName)
{
    EXPECT_EQ(TestProgramFolder(), CHarbinax::GetProgramFolder());
    // Initialize named the satellites after the program file "Zephrin".
    Satellite("fr", VersionRecord(1, 2, 3, 4), {{"STRING", "#1", "un"}});
    EXPECT_EQ(0, App().SetLanguage("fr"));
    EXPECT_EQ("un", App().GetString(1));
}

TEST_F(AppBase, LanguageSetsCodeNameAndDecimalSeparatorButNotTheNumericLocale)
{
    App().SetLanguage(" German ");
    EXPECT_EQ("de", App().GetLanguage());
    EXPECT_EQ("german", App().GetLanguageName());
    EXPECT_EQ(',', CHarbinax::GetDecimalSeparator());
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    EXPECT_STREQ("1.5", text) << "the C library's numbers keep their point";

    App().SetLanguage("zh");
    EXPECT_EQ("en", App().GetLanguage());
    EXPECT_EQ("english", App().GetLanguageName());
    EXPECT_EQ('.', CHarbinax::GetDecimalSeparator());
    EXPECT_EQ("en", GetAppLanguage());

    App().SetLanguage(nullptr);  // the user's language: LC_ALL is de_DE.UTF-8 here
    EXPECT_EQ("de", App().GetLanguage());
}

// $LANGUAGE exists from the start (empty: this user sets none) and is only ever given new values,
// since other threads may read the environment. The text language alone leaves the process
// locale and environment as the program's language set them.
TEST_F(AppBase, LanguageVariableStaysAndTheTextLanguageLeavesTheProcessAlone)
{
    const auto variable = [] {
        const char* value = std::getenv("LANGUAGE");
        return std::string(value ? value : "(none)");
    };
    EXPECT_EQ(variable(), "");
    App().SetLanguage("de");
    EXPECT_EQ(variable(), "de");
    EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "de_DE.UTF-8");
    App().SetLanguage("en");
    EXPECT_EQ(variable(), "");
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    App().SetTextLanguage("de");
    EXPECT_EQ("de", App().GetLanguage());
    EXPECT_EQ(',', CHarbinax::GetDecimalSeparator());
    EXPECT_EQ(variable(), "");
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), locale);
}

TEST_F(AppBase, SatelliteResultCodes)
{
    EXPECT_EQ(0, App().SetLanguage("en")) << "the base language loads nothing";
    EXPECT_EQ(2, App().SetLanguage("de")) << "no bundle";
    EXPECT_EQ("de", App().GetLanguage());

    Satellite("de", VersionRecord(1, 2, 3, 5), {{"STRING", "#1", "eigene 1"}});
    EXPECT_EQ(11, App().SetLanguage("de"));
    EXPECT_EQ("own 1", App().GetString(1));
    App().SetVersionCompareDepth(3);
    EXPECT_EQ(0, App().SetLanguage("DE"));
    EXPECT_EQ("eigene 1", App().GetString(1));
    EXPECT_EQ("eigene 1", TranslateString(1));

    EXPECT_EQ(0, App().SetLanguage("en"));
    EXPECT_EQ("own 1", App().GetString(1));
    EXPECT_EQ("?", App().GetString(99));
}

TEST_F(AppBase, SplashBitmapComesFromTheActiveSatellite)
{
    wxImage small(20, 10);
    small.SetRGB(wxRect(0, 0, 20, 10), 10, 20, 30);
    wxInitAllImageHandlers();
    wxMemoryOutputStream out;
    ASSERT_TRUE(small.SaveFile(out, wxBITMAP_TYPE_PNG));
    std::string png(out.GetSize(), '\0');
    out.CopyTo(png.data(), png.size());
    Satellite("de", VersionRecord(1, 2, 3, 4), {{"BITMAP", "#139", png}});

    CSplashScreen splash;
    ASSERT_EQ(0, App().SetLanguage("de"));
    ASSERT_TRUE(splash.SetBitmap(139));
    splash.Show();
    EXPECT_EQ(wxSize(20, 10), splash.GetWindow()->GetClientSize());

    App().SetLanguage("en");
    ASSERT_TRUE(splash.SetBitmap(139));
    CSplashScreen own;
    ASSERT_TRUE(own.SetBitmap(139));
    own.Show();
    EXPECT_EQ(wxSize(480, 460), own.GetWindow()->GetClientSize());
}

const char* const translation = R"(<?xml version="1.0" encoding="UTF-8"?>
<translator>
  <dialog id="100"><caption><en>Settings</en><de>Einstellungen</de></caption></dialog>
  <stringtable defaultlanguage="en">
    <string strid="TAMBEL"><en>Zephrin</en><de>Zephrin</de></string>
    <string strid="Error"><de>Fehler</de></string>
    <string strid="Unable to save data."><de>Daten konnten nicht gespeichert werden.</de></string>
    <string id="5"><en>Five</en><de>Fünf</de></string>
  </stringtable>
</translator>
)";

TEST_F(AppBase, TranslationOnlyWhenEnabled)
{
    ASSERT_TRUE(App().LoadTranslationFile(TranslationFile(translation), false));
    EXPECT_EQ("Error", TranslateText("Error"));
    EXPECT_EQ("?", TranslateString(5));

    App().EnableTranslator(true);
    App().SetDefaultLanguage("en");
    EXPECT_EQ(0, App().SetLanguage("german"));
    EXPECT_EQ("de", App().GetLanguage());
    EXPECT_EQ("en", App().GetDefaultLanguage());
    EXPECT_EQ(',', CHarbinax::GetDecimalSeparator());
    EXPECT_EQ("Fehler", TranslateText("Error"));
    EXPECT_EQ("Error", TranslateText("Error", "en"));
    EXPECT_EQ("Not in the table", TranslateText("Not in the table"));
    EXPECT_EQ("Fünf", App().GetString(5));
    EXPECT_EQ("Five", TranslateString(5, "en"));

    wxDialog dialog(nullptr, wxID_ANY, "Settings");
    App().TranslateDialog(100, &dialog);
    EXPECT_EQ("Einstellungen", dialog.GetTitle().utf8_string());
    App().EnableTranslator(false);
    dialog.SetTitle("Settings");
    App().TranslateDialog(100, &dialog);
    EXPECT_EQ("Settings", dialog.GetTitle().utf8_string());
}

TEST_F(AppBase, MessageBoxCaptionRule)
{
    std::vector<SMessageBox> boxes;
    SetMessageBoxSinkForTesting([&boxes](const SMessageBox& box) {
        boxes.push_back(box);
        return wxID_NO;
    });
    EXPECT_EQ(wxID_NO, ShowMessageBox(nullptr, "Unable to save data.", "Error", wxOK | wxICON_ERROR));

    ASSERT_TRUE(App().LoadTranslationFile(TranslationFile(translation), false));
    App().EnableTranslator(true);
    App().SetLanguage("de");
    ShowMessageBox(nullptr, "Unable to save data.", "Error", wxYES_NO | wxICON_QUESTION);

    // The one message that names the program before the tables are loaded.
    ShowMessageBoxNamed(nullptr, "Zephrin", "Unable to save data.", "Error", wxOK | wxICON_WARNING);

    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ("TAMBEL: Error", boxes[0].caption);
    EXPECT_EQ("Unable to save data.", boxes[0].text);
    EXPECT_EQ(wxOK | wxICON_ERROR, boxes[0].style);
    EXPECT_EQ("Zephrin: Fehler", boxes[1].caption);
    EXPECT_EQ("Daten konnten nicht gespeichert werden.", boxes[1].text);
    EXPECT_EQ("Zephrin: Fehler", boxes[2].caption);
    EXPECT_EQ(wxOK | wxICON_WARNING, boxes[2].style);
}

// Notes the modal dialog being shown.
class CShownDialog : public wxModalDialogHook {
public:
    CShownDialog() { Register(); }
    ~CShownDialog() override { Unregister(); }
    int Enter(wxDialog* dialog) override
    {
        shown = dialog;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

    wxDialog* shown = nullptr;
};

// The window manager writes a box's caption into its title bar, which is no wider than the box:
// a short text must not leave the caption cut.
TEST_F(AppBase, MessageBoxIsWideEnoughForItsCaption)
{
    CWindowManager manager;
    ASSERT_TRUE(manager.Start()) << "openbox could not be started";
    const struct {
        const char* screenshot;
        const char* title;
    } cases[] = {{"MessageBoxCaptionEn", "Information about the configuration file"},
                 {"MessageBoxCaptionDe", "Informationen zur Konfigurationsdatei"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string caption = std::string("Zephrin: ") + c.title;
        wxScreenDC dc;
        dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold());
        const wxSize text = dc.GetTextExtent(wxString::FromUTF8(caption));
        // Beside the caption: the window menu and three buttons, about a line square each.
        const int needed = text.x + 4 * text.y;

        CShownDialog hook;
        int width = 0;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            ASSERT_NE(nullptr, hook.shown);
            width = hook.shown->GetSize().x;
            if (ScreenshotsWanted())
                SaveScreenshot(ScreenArea(hook.shown->GetScreenRect()), c.screenshot);
            hook.shown->EndModal(wxID_OK);
        });
        timer.StartOnce(1500);
        EXPECT_EQ(wxID_OK, ShowMessageBoxNamed(nullptr, "Zephrin", "Done.", c.title, wxOK | wxICON_INFORMATION));
        EXPECT_GE(width, needed);
    }
}

TEST_F(AppBase, TranslationResourceFromTheProgramOrAModule)
{
    const std::string bundlePath = TestProgramFolder() + "module.res";
    m_files.push_back(bundlePath);
    WriteSatellite(bundlePath, VersionRecord(1, 2, 3, 4), {{"RCDATA", "#103", translation}});
    CResourceBundle module;
    std::string error;
    ASSERT_TRUE(module.Load(bundlePath, error)) << error;

    App().EnableTranslator(true);
    App().SetLanguage("de");
    EXPECT_FALSE(App().LoadTranslationResource(103, false)) << "the program has no RCDATA 103";
    EXPECT_FALSE(App().LoadTranslationResource(104, false, &module));
    ASSERT_TRUE(App().LoadTranslationResource(103, false, &module));
    EXPECT_EQ("Fehler", TranslateText("Error"));
}

}  // namespace
