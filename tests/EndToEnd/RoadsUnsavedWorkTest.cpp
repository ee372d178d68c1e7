// The question before a changed project is lost, on the real program and its real question
// box: nothing asked while the project is as it was; over a change the close box, File > Exit
// and File > Open ask. Cancel keeps the program as it was, Yes saves first (a save cancelled
// keeps the program), No goes on without saving.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using UnsavedWorkRoad = Road;

const char kQuestionLine[] =
    "Zephrin: Confirmation\tThe project has been changed. Do you want to save the changes?\n";

// The question on the screen, answered with the key ("alt+y" Yes, "alt+n" No, "Escape" Cancel).
void AnswerQuestion(const std::string& key, const std::string& screenshot = "")
{
    const std::string question = CDesktopDriver::WaitForWindow(kSaveQuestion, 60);
    ASSERT_FALSE(question.empty()) << CDesktopDriver::WindowTitles();
    if (!screenshot.empty())
        Screenshot(screenshot);
    ASSERT_TRUE(CDesktopDriver::KeysClosing(question, {key}));
}

// The project file dialog of that title, cancelled.
void CancelFileDialog(const char* title)
{
    const std::string chooser = CDesktopDriver::WaitForWindow(title, 60);
    ASSERT_FALSE(chooser.empty()) << CDesktopDriver::WindowTitles();
    ASSERT_TRUE(CDesktopDriver::KeysClosing(chooser, {"Escape"}));
}

// How many times the question was asked.
int Questions(const std::string& messages)
{
    int count = 0;
    for (std::size_t at = messages.find(kQuestionLine); at != std::string::npos;
         at = messages.find(kQuestionLine, at + 1))
        ++count;
    return count;
}

TEST_F(UnsavedWorkRoad, YesNoAndCancelOnTheRealQuestion)
{
    std::string main = Start();
    ASSERT_FALSE(main.empty());
    // Untouched, File > Open goes straight to its dialog.
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Open")));
    ASSERT_NO_FATAL_FAILURE(CancelFileDialog(kOpenDialog));
    EXPECT_EQ(program.Messages(), "");

    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    // The close box, through the window manager: Cancel keeps the program with what was typed.
    std::string question;
    ASSERT_TRUE(CDesktopDriver::KeysOpening(main, {"alt+F4"}, kSaveQuestion, question));
    ASSERT_NO_FATAL_FAILURE(AnswerQuestion("Escape", "save-question"));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), kQuestionLine);

    // File > Exit, Yes, and the save's dialog cancelled: the program stays.
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Exit")));
    ASSERT_NO_FATAL_FAILURE(AnswerQuestion("alt+y"));
    ASSERT_NO_FATAL_FAILURE(CancelFileDialog(kSaveDialog));
    EXPECT_TRUE(program.Running());

    // File > Open, Yes: the project is saved first, then the file to open is asked for.
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Open")));
    ASSERT_NO_FATAL_FAILURE(AnswerQuestion("alt+y"));
    ASSERT_TRUE(ChooseFile(kSaveDialog, program.Path("kept"))) << CDesktopDriver::WindowTitles();
    const std::string kept = WaitForFile(program.Path("kept.xml"), std::chrono::seconds(60));
    ASSERT_FALSE(kept.empty()) << program.Messages();
    ASSERT_NO_FATAL_FAILURE(CancelFileDialog(kOpenDialog));
    EXPECT_EQ(Questions(program.Messages()), 3) << program.Messages();

    // Changed after the save, File > Exit, No: the program ends and the change is not saved.
    ASSERT_NO_FATAL_FAILURE(EnterField(main, kMaximumFlow, "200"));
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
    EXPECT_EQ(ReadWholeFile(program.Path("kept.xml")), kept);
    EXPECT_EQ(Questions(program.Messages()), 4) << program.Messages();

    // The saved project opened in a new start and left as it was: nothing is asked.
    main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Open", kOpenDialog, program.Path("kept.xml")));
    Screenshot("kept-project-opened");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
    EXPECT_EQ(Questions(program.Messages()), 4) << program.Messages();
}

// The project with the value of its first element of that name given more digits.
std::string WithMoreDigits(std::string project, const std::string& element, const std::string& value)
{
    const std::size_t start = project.find("<" + element + " ");
    const std::size_t attribute = project.find(" Value=\"", start);
    if (start == std::string::npos || attribute == std::string::npos)
        return project;
    const std::size_t from = attribute + 8;
    return project.replace(from, project.find('"', from) - from, value);
}

// A project whose numbers carry more digits than the fields show, opened on the configuration
// page and looked at on the fluid page: nothing is asked at the end, and saved, the file keeps
// every digit.
TEST_F(UnsavedWorkRoad, LookingAtAProjectChangesNothing)
{
    std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("typed")));
    std::string project = WaitForFile(program.Path("typed.xml"), std::chrono::seconds(60));
    ASSERT_FALSE(project.empty()) << program.Messages();
    ASSERT_NO_FATAL_FAILURE(Exit(main));
    project = WithMoreDigits(WithMoreDigits(project, "Temperature", "20.123456789"), "Flow", "100.123456789");
    ASSERT_NE(project.find("\"100.123456789\""), std::string::npos) << project;
    ASSERT_NE(project.find("\"20.123456789\""), std::string::npos) << project;
    WriteWholeFile(program.Path("digits.xml"), project);

    main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_TRUE(ClickAndWaitForChange(main, kConfigurationButton));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Open", kOpenDialog, program.Path("digits.xml")));
    ASSERT_TRUE(ClickAndWaitForChange(main, kFluidButton));
    Screenshot("digits-looked-at");
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("again")));
    EXPECT_EQ(WaitForFile(program.Path("again.xml"), std::chrono::seconds(60)), project);
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Exit")));
    const bool ended = WaitUntil(std::chrono::seconds(60), [this] { return !program.Running(); });
    EXPECT_TRUE(ended) << CDesktopDriver::WindowTitles();
    if (!ended) {
        ASSERT_NO_FATAL_FAILURE(AnswerQuestion("alt+n"));
    }
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_EQ(Questions(program.Messages()), 0) << program.Messages();
}

}  // namespace
