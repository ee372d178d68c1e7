// Open and Save as the user meets them: the file dialogs (answered by the test), the current
// page stored before saving and reloaded after opening, every message, and the production
// database's record freed only once the project lives in the file.
#include "FakeStartupEnvironment.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/Fluids/FluidLiquid.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "Platform/AtomicFile.h"
#include "Platform/FileSizeSignal.h"
#include "Platform/XmlFile.h"
#include "PolyglottaWx/WindowIds.h"
#include "TAMBEL/ProjectFileDialog.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELDlg.h"
#include "support/ChildProcess.h"
#include "support/EnvironmentScope.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <tinyxml.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/modalhook.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <locale.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// A main window that only records the page protocol.
class CRecordingMainDialog : public CTAMBELDlg {
public:
    CRecordingMainDialog(CallList& calls, bool& storeResult) : m_calls(calls), m_storeResult(storeResult) {}
    bool OnEnterPage() override
    {
        m_calls.push_back("EnterPage");
        return true;
    }
    bool OnLeavePage() override
    {
        m_calls.push_back("LeavePage");
        return m_storeResult;
    }

private:
    CallList& m_calls;
    bool& m_storeResult;
};

class ProjectFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App().EnableTranslator(false);
        App().SetEnvironment(std::make_unique<CFakeStartupEnvironment>(SStartupScript(), calls));
        App().SetMainDialog(&mainDialog);
        SetFileDialogSinkForTesting([this](const SFileDialogRequest& request) {
            requests.push_back(request);
            calls.push_back(request.save ? "SaveDialog" : "OpenDialog");
            return answer;
        });
        Project().Reset();
        Project().customer.customer = "Stadtwerke";
        Project().customer.pa = 4711;
        Project().features.SetAt(1, 11);
        Project().physical.Fluid = std::make_unique<CFluidLiquid>();
        Project().physical.Fluid->Name = "Water";
        Project().physical.Temperature.Value = 42.5;
    }

    void TearDown() override
    {
        SetFileDialogSinkForTesting(nullptr);
        App().SetMainDialog(nullptr);
        App().SetEnvironment(std::make_unique<CStartupEnvironment>());
        Project().Reset();
    }

    static CProjectData& Project() { return *CProjectData::GetInstance(); }

    static std::string ProjectText()
    {
        TiXmlDocument doc;
        EXPECT_EQ(CProjectFile::Write(Project(), doc), nullptr);
        return CXmlFile::ToText(doc);
    }

    // The project's file with only these parts.
    std::string FileWith(const std::vector<std::string>& parts, const std::string& root = "TAMBEL")
    {
        TiXmlDocument doc;
        EXPECT_EQ(CProjectFile::Write(Project(), doc), nullptr);
        std::string text = "<" + root + ">";
        for (const std::string& part : parts) {
            TiXmlPrinter printer;
            doc.RootElement()->FirstChildElement(part)->Accept(&printer);
            text += printer.Str();
        }
        const std::string path = folder.Path("file.xml");
        WriteWholeFile(path, text + "</" + root + ">");
        return path;
    }

    CallList calls;
    bool storeResult = true;
    CRecordingMainDialog mainDialog{calls, storeResult};
    CMessageBoxRecorder boxes;
    CTemporaryFolder folder;
    std::string answer;
    std::vector<SFileDialogRequest> requests;
};

TEST_F(ProjectFileCommandsTest, SavedThroughTheDialogAndOpenedAgain)
{
    answer = folder.Path("pump station");  // the extension is added
    ASSERT_TRUE(App().SaveProjectFile(""));
    const std::string path = folder.Path("pump station.xml");
    EXPECT_EQ(calls, (CallList{"SaveDialog", "LeavePage"}));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].owner, nullptr);
    EXPECT_EQ(requests[0].filter, "XML files (*.xml)|*.xml|All files (*.*)|*.*");
    EXPECT_EQ(requests[0].extension, "xml");
    const std::string saved = ProjectText();
    EXPECT_EQ(ReadWholeFile(path), saved);

    Project().Reset();
    calls.clear();
    answer = path;
    ASSERT_TRUE(App().OpenProjectFile(""));
    EXPECT_EQ(calls, (CallList{"OpenDialog", "EnterPage"}));
    EXPECT_FALSE(requests.back().save);
    EXPECT_EQ(ProjectText(), saved);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ProjectFileCommandsTest, CancelledDialogsDoNothing)
{
    const std::string before = ProjectText();
    EXPECT_FALSE(App().SaveProjectFile(""));
    EXPECT_FALSE(App().OpenProjectFile(""));
    EXPECT_EQ(calls, (CallList{"SaveDialog", "OpenDialog"}));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(ProjectText(), before);
}

TEST_F(ProjectFileCommandsTest, GivenPathIsOverwrittenWithoutDialog)
{
    const std::string path = folder.Path("Zephrin_Email.xml.tmp");
    WriteWholeFile(path, "old");
    ASSERT_TRUE(App().SaveProjectFile(path));
    EXPECT_EQ(calls, (CallList{"LeavePage"}));
    EXPECT_EQ(ReadWholeFile(path), ProjectText());
}

TEST_F(ProjectFileCommandsTest, CompletedNameOfAnExistingFileIsReplacedOnlyWhenConfirmed)
{
    const std::string path = folder.Path("existing.xml");
    WriteWholeFile(path, "old");
    answer = folder.Path("existing");
    std::vector<SMessageBox> asked;
    int choice = wxID_NO;
    SetMessageBoxSinkForTesting([&](const SMessageBox& box) {
        asked.push_back(box);
        return choice;
    });
    EXPECT_FALSE(App().SaveProjectFile(""));
    EXPECT_EQ(ReadWholeFile(path), "old");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "TAMBEL: Confirmation");
    EXPECT_EQ(asked[0].text, path + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(asked[0].style & wxYES_NO, wxYES_NO);

    choice = wxID_YES;
    EXPECT_TRUE(App().SaveProjectFile(""));
    SetMessageBoxSinkForTesting(nullptr);
    EXPECT_EQ(ReadWholeFile(path), ProjectText());
}

TEST_F(ProjectFileCommandsTest, OpeningKeepsAnExistingNameWithoutExtension)
{
    FileWith({"PhysicalData", "DeviceConfiguration", "CustomerData", "ResultData"});
    const std::string path = folder.Path("project");
    WriteWholeFile(path, ReadWholeFile(folder.Path("file.xml")));
    answer = path;
    EXPECT_TRUE(App().OpenProjectFile(""));
}

TEST_F(ProjectFileCommandsTest, PageThatCannotStoreItsFieldsStopsTheSave)
{
    storeResult = false;
    const std::string path = folder.Path("project.xml");
    EXPECT_FALSE(App().SaveProjectFile(path));
    EXPECT_EQ(calls, (CallList{"LeavePage"}));
    EXPECT_TRUE(ReadWholeFile(path).empty());
}

TEST_F(ProjectFileCommandsTest, FileThatCannotBeWrittenIsAnError)
{
    EXPECT_FALSE(App().SaveProjectFile(folder.Path("no such folder/project.xml")));
    EXPECT_EQ(calls, (CallList{"LeavePage"}));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Error");
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not save data to file!\nThe folder does not exist.");
    EXPECT_EQ(boxes.Boxes()[0].style & wxICON_ERROR, wxICON_ERROR);
}

// The message of a failed save keeps its line and adds the system's reason in the program's
// language, never the system's English text.
TEST_F(ProjectFileCommandsTest, FailedSaveNamesTheSystemsReasonInBothLanguages)
{
    const struct {
        int error;
        const char* en;
        const char* de;
    } reasons[] = {
        {EACCES, "Permission denied: you may not write to this folder or file.",
         "Zugriff verweigert: Sie dürfen in diesen Ordner oder diese Datei nicht schreiben."},
        {EPERM, "Permission denied: you may not write to this folder or file.",
         "Zugriff verweigert: Sie dürfen in diesen Ordner oder diese Datei nicht schreiben."},
        {ENOSPC, "No space left on the device.", "Auf dem Datenträger ist kein Platz mehr frei."},
        {EDQUOT, "Your disk quota is used up.", "Ihr Speicherplatzkontingent ist aufgebraucht."},
        {EROFS, "The file system is read-only.", "Das Dateisystem ist schreibgeschützt."},
        {EFBIG, "The file would be larger than the system allows.", "Die Datei wäre größer, als das System erlaubt."},
        {EIO, "The system reported error 5.", "Das System meldete den Fehler 5."},
    };
    const std::string path = folder.Path("project.xml");
    for (const char* language : {"en", "de"}) {
        UseTranslatedLanguage(language);
        for (const auto& reason : reasons) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(reason.error));
            CAtomicFile::SetHookForTesting([&](CAtomicFile::Step step) {
                return step == CAtomicFile::Step::Write ? reason.error : 0;
            });
            const std::size_t shown = boxes.Boxes().size();
            EXPECT_FALSE(App().SaveProjectFile(path));
            CAtomicFile::SetHookForTesting(nullptr);
            ASSERT_EQ(boxes.Boxes().size(), shown + 1);
            const bool german = std::string(language) == "de";
            EXPECT_EQ(boxes.Boxes().back().caption, german ? "Zephrin: Fehler" : "Zephrin: Error");
            EXPECT_EQ(boxes.Boxes().back().text,
                      std::string(german ? "Die Daten konnten nicht in die Datei gespeichert werden!"
                                         : "Could not save data to file!") +
                          "\n" + (german ? reason.de : reason.en));
        }
    }
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
    EXPECT_TRUE(ReadWholeFile(path).empty());
}

// The system's own refusals, met as a user meets them: a folder the user may not write (the
// child leaves root, for which permission bits do not count), a full file system (a tiny tmpfs
// of the child's own, where the system lets it mount one) and a file size limit. The reason
// shown is the one that arose.
TEST_F(ProjectFileCommandsTest, ReadOnlyFolderAndFullDiskSayWhy)
{
    const std::string locked = folder.Path("locked");
    ASSERT_EQ(mkdir(locked.c_str(), 0555), 0);
    const std::string small = folder.Path("small");
    ASSERT_EQ(mkdir(small.c_str(), 0777), 0);
    ASSERT_TRUE(GiveToUnprivileged(folder.Path("")));
    const std::string report = folder.Path("report.txt");
    // The message the save in the child showed, "saved" when it saved; "" when the child could
    // not prepare (77) or failed otherwise.
    auto saveInChild = [&](const std::function<bool()>& prepare, const std::string& path) {
        std::remove(report.c_str());
        const int result = RunInChild([&] {
            if (!prepare())
                return 77;
            const bool saved = App().SaveProjectFile(path);
            // The report is no file the limit is meant for.
            const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &none);
            WriteWholeFile(report, saved ? "saved" : boxes.Boxes().empty() ? "" : boxes.Boxes().back().text);
            return 0;
        });
        return result == 0 ? ReadWholeFile(report) : std::string();
    };
    const auto asNobody = [] { return LeaveRoot(); };
    const auto onFullDisk = [&] {
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
            return false;
        // Filled up to its last byte.
        std::FILE* filler = std::fopen((small + "/filler").c_str(), "wb");
        const std::string block(4096, 'x');
        while (filler && std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        if (filler)
            std::fclose(filler);
        return true;
    };
    // The program's own start-up keeps it running past the limit (its test is a road of the real
    // program); the child does what the program does.
    const auto withSizeLimit = [] {
        if (!Platform::IgnoreFileSizeSignal())
            return false;
        const rlimit limit{100, RLIM_INFINITY};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    };
    const bool mayMount = saveInChild(onFullDisk, small + "/project.xml") != "";
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        UseTranslatedLanguage(language);
        const bool german = std::string(language) == "de";
        const std::string first =
            german ? "Die Daten konnten nicht in die Datei gespeichert werden!\n" : "Could not save data to file!\n";
        EXPECT_EQ(saveInChild(asNobody, locked + "/project.xml"),
                  first + (german ? "Zugriff verweigert: Sie dürfen in diesen Ordner oder diese Datei nicht schreiben."
                                  : "Permission denied: you may not write to this folder or file."));
        if (mayMount) {
            EXPECT_EQ(saveInChild(onFullDisk, small + "/project.xml"),
                      first + (german ? "Auf dem Datenträger ist kein Platz mehr frei." : "No space left on the device."));
        }
        EXPECT_EQ(saveInChild(withSizeLimit, folder.Path("limited.xml")),
                  first + (german ? "Die Datei wäre größer, als das System erlaubt."
                                  : "The file would be larger than the system allows."));
    }
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
    EXPECT_FALSE(std::filesystem::exists(locked + "/project.xml"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("limited.xml")));
    if (!mayMount)
        GTEST_SKIP() << "no permission to mount a tmpfs: the full disk was not tried";
}

TEST_F(ProjectFileCommandsTest, OnlyPhysicalDataOpensWithThreeWarnings)
{
    const std::string path = FileWith({"PhysicalData"});
    ASSERT_TRUE(App().OpenProjectFile(path));
    EXPECT_EQ(calls, (CallList{"EnterPage"}));
    const char* const expected[] = {"File is missing device data!", "File is missing customer data!",
                                    "File is missing result data!"};
    ASSERT_EQ(boxes.Boxes().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(boxes.Boxes()[i].caption, "TAMBEL: Warning");
        EXPECT_EQ(boxes.Boxes()[i].text, expected[i]);
        EXPECT_EQ(boxes.Boxes()[i].style & wxICON_WARNING, wxICON_WARNING);
    }
    EXPECT_EQ(Project().features.GetCount(), 0);
    EXPECT_EQ(Project().customer.customer, "");
    EXPECT_EQ(Project().customer.pa, 0);
    EXPECT_EQ(Project().results.GetCount(), 0);
    ASSERT_TRUE(Project().physical.Fluid);
    EXPECT_EQ(Project().physical.Fluid->Name, "Water");
}

// Files that are refused: one error each, and the project, the page and the record lock as
// they were.
TEST_F(ProjectFileCommandsTest, RefusedFilesLeaveProjectAndLockAlone)
{
    const struct {
        const char* name;
        std::vector<std::string> parts;
        std::string root;
        const char* message;
    } files[] = {
        {"WrongRoot", {"PhysicalData", "DeviceConfiguration", "CustomerData", "ResultData"}, "Project",
         "File has unknown structure!"},
        {"NoPhysicalData", {"DeviceConfiguration", "CustomerData", "ResultData"}, "TAMBEL",
         "File is missing physical data!"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const std::string path = FileWith(file.parts, file.root);
        Project().customer.customer = "Current";
        const std::string before = ProjectText();
        calls.clear();
        const std::size_t shown = boxes.Boxes().size();
        EXPECT_FALSE(App().OpenProjectFile(path));
        EXPECT_TRUE(calls.empty());
        ASSERT_EQ(boxes.Boxes().size(), shown + 1);
        EXPECT_EQ(boxes.Boxes().back().caption, "TAMBEL: Error");
        EXPECT_EQ(boxes.Boxes().back().text, file.message);
        EXPECT_EQ(ProjectText(), before);
    }
    WriteWholeFile(folder.Path("broken.xml"), "<TAMBEL><PhysicalData>");
    EXPECT_FALSE(App().OpenProjectFile(folder.Path("broken.xml")));
    EXPECT_EQ(boxes.Boxes().back().text, "Could not open file!");
    EXPECT_TRUE(calls.empty());
}

TEST_F(ProjectFileCommandsTest, MessagesInGerman)
{
    UseTranslatedLanguage("de");
    const std::string path = FileWith({"PhysicalData"});
    EXPECT_TRUE(App().OpenProjectFile(path));
    WriteWholeFile(path, "<Projekt/>");
    EXPECT_FALSE(App().OpenProjectFile(path));
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
    ASSERT_EQ(boxes.Boxes().size(), 4u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Zephrin: Warnung");
    EXPECT_EQ(boxes.Boxes()[0].text, "In der Datei fehlen die Gerätedaten!");
    EXPECT_EQ(boxes.Boxes()[3].caption, "Zephrin: Fehler");
    EXPECT_EQ(boxes.Boxes()[3].text, "Die Datei hat einen unbekannten Aufbau!");
}

// The real main window: its menu commands reach the application's Open and Save.
TEST_F(ProjectFileCommandsTest, MenuCommandsOfTheMainWindow)
{
    CTAMBELDlg dialog;
    ASSERT_TRUE(dialog.Create());
    App().SetMainDialog(&dialog);
    answer = folder.Path("menu.xml");
    wxCommandEvent save(wxEVT_MENU, CWindowIds::FromResourceId(ID_FILE_SAVE));
    dialog.GetFrame()->ProcessWindowEvent(save);
    // What the current page stored is what the file holds.
    const std::string saved = ProjectText();
    EXPECT_EQ(ReadWholeFile(answer), saved);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].owner, dialog.GetFrame());

    Project().Reset();
    Project().customer.customer = "other";
    // Opening over the changed project asks first; the change is given up.
    std::vector<std::string> asked;
    SetMessageBoxSinkForTesting([&](const SMessageBox& box) {
        asked.push_back(box.text);
        return static_cast<int>(wxID_NO);
    });
    wxCommandEvent open(wxEVT_MENU, CWindowIds::FromResourceId(ID_FILE_OPEN));
    dialog.GetFrame()->ProcessWindowEvent(open);
    SetMessageBoxSinkForTesting(nullptr);
    EXPECT_EQ(asked, (std::vector<std::string>{"The project has been changed.\nDo you want to save the changes?"}));
    EXPECT_EQ(ProjectText(), saved);
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_TRUE(boxes.Boxes().empty());
    App().SetMainDialog(nullptr);
}

// The desktop's own dialog, caught as it is about to show: what it offers, and a cancel that
// saves nothing.
class CFileDialogCatcher : public wxModalDialogHook {
public:
    CFileDialogCatcher() { Register(); }
    ~CFileDialogCatcher() override { Unregister(); }
    int Enter(wxDialog* dialog) override
    {
        auto* fileDialog = dynamic_cast<wxFileDialog*>(dialog);
        if (!fileDialog)
            return wxID_NONE;
        ++seen;
        wildcard = fileDialog->GetWildcard();
        style = fileDialog->GetWindowStyle();
        title = fileDialog->GetMessage();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}

    int seen = 0;
    wxString wildcard;
    long style = 0;
    wxString title;
};

// The same for the texts GTK's own dialog shows, read from its widgets; with screenshots wanted
// it is shown for a picture first.
class CNativeTextsCatcher : public wxModalDialogHook {
public:
    explicit CNativeTextsCatcher(std::string name) : m_name(std::move(name)) { Register(); }
    ~CNativeTextsCatcher() override { Unregister(); }
    int Enter(wxDialog* dialog) override
    {
        if (!dynamic_cast<wxFileDialog*>(dialog))
            return wxID_NONE;
        ++seen;
        texts = NativeLabelTexts(dialog->GetHandle());
        if (ScreenshotsWanted()) {
            dialog->Show();
            WaitFor([dialog] { return dialog->IsShownOnScreen(); });
            Pump();
            // GTK places and sizes its own dialog; wx does not know where.
            SaveScreenshot(ScreenArea(wxRect(wxPoint(0, 0), wxGetDisplaySize())), m_name);
            dialog->Hide();
        }
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}

    int seen = 0;
    std::vector<std::string> texts;

private:
    std::string m_name;
};

// They are titled as the command in the program's language.
TEST_F(ProjectFileCommandsTest, RealFileDialogsOfferProjectFilesAndCancel)
{
    SetFileDialogSinkForTesting(nullptr);
    for (const char* language : {"en", "de"}) {
        UseTranslatedLanguage(language);
        const bool german = std::string(language) == "de";
        for (const bool save : {true, false}) {
            SCOPED_TRACE(std::string(language) + (save ? " save" : " open"));
            CFileDialogCatcher catcher;
            EXPECT_FALSE(save ? App().SaveProjectFile("") : App().OpenProjectFile(""));
            ASSERT_EQ(catcher.seen, 1);
            EXPECT_EQ(catcher.wildcard, german ? "XML-Dateien (*.xml)|*.xml|Alle Dateien (*.*)|*.*"
                                               : "XML files (*.xml)|*.xml|All files (*.*)|*.*");
            EXPECT_EQ(catcher.style & (wxFD_SAVE | wxFD_OVERWRITE_PROMPT | wxFD_OPEN | wxFD_FILE_MUST_EXIST),
                      save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST);
            EXPECT_EQ(catcher.title.utf8_string(),
                      save ? (german ? "Speichern" : "Save") : (german ? "Öffnen" : "Open"));
            EXPECT_TRUE(calls.empty());
            EXPECT_TRUE(boxes.Boxes().empty());
        }
    }
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
}

// GTK's own file chooser, as Open shows it, speaks the program's language where the system has
// a locale for it, whatever the desktop speaks, and else the desktop's language; the C library's
// numbers keep their point all the while.
TEST_F(ProjectFileCommandsTest, FileChooserSpeaksTheProgramsLanguage)
{
    SetFileDialogSinkForTesting(nullptr);
    const CEnvironmentScope desktop("LC_ALL", "de_DE.UTF-8");
    const CEnvironmentScope desktopLanguage("LANGUAGE", "de");
    struct SCase {
        const char* program;
        const char* cancel;
        const char* open;
    };
    std::vector<SCase> cases = {{"de", "Abbrechen", "Öffnen"}, {"en", "Cancel", "Open"}};
    // A language the system has no locale for: the desktop's German.
    locale_t french = newlocale(LC_MESSAGES_MASK, "fr_FR.UTF-8", static_cast<locale_t>(nullptr));
    if (french == static_cast<locale_t>(nullptr))
        cases.push_back({"fr", "Abbrechen", "Öffnen"});
    else
        freelocale(french);
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.program);
        UseTranslatedLanguage(c.program);
        CNativeTextsCatcher catcher(std::string("FileChooser-") + c.program);
        EXPECT_FALSE(App().OpenProjectFile(""));
        ASSERT_EQ(catcher.seen, 1);
        const auto has = [&](const char* text) {
            return std::find(catcher.texts.begin(), catcher.texts.end(), text) != catcher.texts.end();
        };
        EXPECT_TRUE(has(c.cancel) && has(c.open)) << ::testing::PrintToString(catcher.texts);
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
        char number[16];
        std::snprintf(number, sizeof number, "%.1f", 1.5);
        EXPECT_STREQ(number, "1.5");
    }
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
}

}  // namespace
