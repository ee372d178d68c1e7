// Roads that leave files: the sizing exported as PDF and mailed with its project file, a
// project saved and opened again in a program started anew, and a save the file-size limit
// refuses. The files are checked with the tools a receiver would use (qpdf, pdftotext, xmllint).
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The report of the sized water names its fluid, state and conditions and the meter's size.
void ExpectWaterReport(const std::string& text)
{
    for (const char* expected : {"Water (liquid)", "20.0 \u00b0C", "5.0 bar gauge", "100.0 m3/h", "Size  ", "DN "})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
}

// Exported as PDF to a file typed without extension, which the dialog completes; then mailed
// through a command of the test's own that records its arguments and keeps the attachments.
TEST_F(Road, PdfExportAndMail)
{
    const std::string mailFolder = program.Path("mail");
    const std::string mailCommand = program.Path("record-mail.sh");
    ASSERT_TRUE(WriteScript(mailCommand, "#!/bin/sh\n"
                                         "mkdir -p '" + mailFolder + "'\n"
                                         "previous=\n"
                                         "for word in \"$@\"; do\n"
                                         "  [ \"$previous\" = --attach ] && cp \"$word\" '" + mailFolder + "/'\n"
                                         "  previous=$word\n"
                                         "done\n"
                                         "printf '%s\\n' \"$@\" > '" + mailFolder + "/arguments.new'\n"
                                         "mv '" + mailFolder + "/arguments.new' '" + mailFolder + "/arguments'\n"));
    const std::string main = Start({"ZEPHRIN_MAIL_COMMAND=" + mailCommand});
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));

    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Export as PDF", kPdfDialog, program.Path("sizing")));
    const std::string exported = PdfText(program.Path("sizing.pdf"));
    ASSERT_FALSE(exported.empty()) << program.Messages();
    ExpectWaterReport(exported);

    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Send as Email")));
    const std::string arguments = WaitForFile(mailFolder + "/arguments", std::chrono::seconds(60));
    ASSERT_FALSE(arguments.empty()) << program.Messages();
    EXPECT_NE(arguments.find("--subject\n"), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("\n--attach\n"), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("Insert recipient here\n"), std::string::npos) << arguments;
    // The report mailed is the one exported.
    EXPECT_EQ(PdfText(mailFolder + "/Zephrin.pdf"), exported);
    const std::string project = mailFolder + "/Zephrin.xml";
    ASSERT_TRUE(fs::exists(project)) << arguments;
    // A well-formed project with its fluid data and its meters.
    EXPECT_EQ(RunTool({"xmllint", "--xpath", "name(/*)", project}).output, "TAMBEL\n");
    EXPECT_NE(RunTool({"xmllint", "--xpath", "count(/TAMBEL/ResultData//*)", project}).output, "0\n");
    EXPECT_EQ(RunTool({"xmllint", "--xpath", "count(/TAMBEL/PhysicalData)", project}).output, "1\n");
    Screenshot("pdf-export-and-mail");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

// A file that is there is replaced only once the user says so in the chooser's question: when
// he cancels it, the file stays as it was.
TEST_F(Road, PdfExportAsksBeforeReplacingAFile)
{
    const std::string path = program.Path("sizing.pdf");
    WriteWholeFile(path, "kept");
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));
    for (const char* answer : {"Escape", "Return"}) {
        SCOPED_TRACE(answer);
        ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Export as PDF")));
        const std::string dialog = CDesktopDriver::WaitForWindow(kPdfDialog, 60);
        ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles();
        TypeIntoFileChooser(dialog, path);
        // GTK's question has no title, but it takes the keyboard; Return is its default
        // answer, Replace.
        CDesktopDriver::Keys(dialog, {"Return"});
        std::string question;
        ASSERT_TRUE(WaitUntil(std::chrono::seconds(60), [&] {
            question = CDesktopDriver::ActiveWindow();
            return !question.empty() && question != dialog && question != main;
        })) << CDesktopDriver::WindowTitles();
        Screenshot("pdf-replace-question");
        ASSERT_TRUE(CDesktopDriver::KeysClosing(question, {answer}));
        if (std::string(answer) == "Escape") {
            // Back in the chooser, which is cancelled too.
            ASSERT_TRUE(CDesktopDriver::KeysClosing(dialog, {"Escape"}));
            EXPECT_EQ(ReadWholeFile(path), "kept");
        }
    }
    EXPECT_NE(PdfText(path), "");
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

// Saved, and opened in a program started anew: the project saved again is the same file, and its
// report shows the same fluid, conditions and meter.
TEST_F(Road, ProjectSavedAndOpened)
{
    std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("project")));
    const std::string saved = WaitForFile(program.Path("project.xml"), std::chrono::seconds(60));
    ASSERT_FALSE(saved.empty()) << program.Messages();
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Export as PDF", kPdfDialog, program.Path("before.pdf")));
    const std::string before = PdfText(program.Path("before.pdf"));
    ExpectWaterReport(before);
    ASSERT_NO_FATAL_FAILURE(Exit(main));

    main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Open", kOpenDialog, program.Path("project.xml")));
    Screenshot("project-opened");
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("again.xml")));
    EXPECT_EQ(WaitForFile(program.Path("again.xml"), std::chrono::seconds(60)), saved);
    // The program starts on the fluid page; the results page shows the opened rows.
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Export as PDF", kPdfDialog, program.Path("after.pdf")));
    EXPECT_EQ(PdfText(program.Path("after.pdf")), before);
    Screenshot("project-saved-and-opened");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// A road in each language, whose texts and dialog titles it expects.
class LanguageRoad : public Road, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(SetProgramLanguage(program, GetParam())); }

    bool German() const { return std::string(GetParam()) == "de"; }
    std::string Shot(const std::string& name) const { return name + "-" + GetParam(); }
    const char* OpenDialog() const { return German() ? "^Öffnen$" : kOpenDialog; }
    const char* SaveDialog() const { return German() ? "^Speichern$" : kSaveDialog; }
};

// The project file dialogs and GTK's page setup are titled in the program's language, as their
// buttons are.
TEST_P(LanguageRoad, DialogTitlesSpeakTheProgramsLanguage)
{
    const std::string main = Start({"CUPS_SERVER=" + program.Path("no-print-server.sock")});
    ASSERT_FALSE(main.empty());
    const std::pair<const char*, const char*> commands[] = {
        {"Open", OpenDialog()}, {"Print settings", German() ? "^Seite einrichten$" : "^Page Setup$"}};
    for (const auto& [item, title] : commands) {
        SCOPED_TRACE(item);
        ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem(item)));
        const std::string dialog = CDesktopDriver::WaitForWindow(title, 60);
        ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
        Screenshot(Shot(std::string("title-") + item));
        CDesktopDriver::Keys(dialog, {"Escape"});
        ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(dialog, 30));
    }
    // A changed project asks where it goes under the Save command's name.
    ASSERT_NO_FATAL_FAILURE(EnterField(main, kMaximumFlow, "100"));
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Save")));
    const std::string save = CDesktopDriver::WaitForWindow(SaveDialog(), 60);
    ASSERT_FALSE(save.empty()) << CDesktopDriver::WindowTitles();
    Screenshot(Shot("title-Save"));
    CDesktopDriver::Keys(save, {"Escape"});
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(save, 30));
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

// Started under a file-size limit (as with "ulimit -f") far below the sized project: the save
// fails with its reason, leaves no file, not even its temporary one, and the program runs on
// with its project still unsaved, so that leaving asks about it.
TEST_P(LanguageRoad, ASaveBeyondTheFileSizeLimitKeepsTheProgramAndItsProject)
{
    // The signal the limit raises keeps its default action here, which ends a process: only the
    // program itself can keep it from doing so.
    struct sigaction own = {};
    ASSERT_EQ(sigaction(SIGXFSZ, nullptr, &own), 0);
    ASSERT_NE(own.sa_handler, SIG_IGN);
    // Above what the log holds by the save, below the sized project's some 55 KB.
    program.LimitFileSize(44 * 1024);
    const std::string main = Start();
    ASSERT_FALSE(main.empty()) << program.Faults();
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main, German() ? kGermanCalculateButton : kCalculateButton));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", SaveDialog(), program.Path("large")));
    const std::string reason =
        German() ? "Die Datei wäre größer, als das System erlaubt." : "The file would be larger than the system allows.";
    ASSERT_TRUE(WaitForMessage(reason)) << program.Messages() << program.Faults();
    Screenshot(Shot("save-beyond-file-size-limit"));
    EXPECT_TRUE(program.Running()) << program.Faults();
    EXPECT_EQ(program.Messages(),
              German() ? "Zephrin: Fehler\tDie Daten konnten nicht in die Datei gespeichert werden! " + reason + "\n"
                       : "Zephrin: Error\tCould not save data to file! " + reason + "\n");
    std::vector<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(program.Path(""))) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("large", 0) == 0 || name.rfind(".large", 0) == 0 || entry.path().extension() == ".tmp")
            left.push_back(name);
    }
    EXPECT_EQ(left, std::vector<std::string>());
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageRoad, ::testing::Values("en", "de"));

}  // namespace
