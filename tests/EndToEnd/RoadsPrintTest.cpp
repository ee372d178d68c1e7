// The report printed from the real program: to a print server of the test's own, to GTK's
// file printer, and with no print server at all, through the File menu and the toolbar.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/TestPrintServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

namespace {

const char kPrintDialog[] = "^Print$";
// In GTK's print dialog.
const SPoint kFilePrinterRow{82, 87};
const SPoint kPrintButtonOfDialog{581, 487};

// The pages of the PDF file once qpdf finds it sound; 0 when it does not.
int CheckedPages(const std::string& path)
{
    return WaitForSoundPdf(path) ? PdfPages(path) : 0;
}

// The size of the PDF's first page in points, as pdfinfo gives it ("595.276 x 841.89").
std::string PageSize(const std::string& path)
{
    std::smatch size;
    const std::string info = RunTool({"pdfinfo", path});
    return std::regex_search(info, size, std::regex("Page size: *([0-9.]+ x [0-9.]+) pts")) ? size[1].str() : "";
}

class PrintRoad : public Road {
protected:
    // The program started, water sized and the first meter chosen.
    std::string StartSized(const std::vector<std::string>& variables)
    {
        const std::string main = Start(variables);
        if (!main.empty())
            SizeLiquidWater(main);
        return main;
    }

    // The pages of the report the program makes for the chosen meter: its PDF export has them all.
    int ReportPages(const std::string& mainWindow)
    {
        const std::string exported = program.Path("report.pdf");
        ChooseFileCommand(mainWindow, "Export as PDF", kPdfDialog, exported);
        return WaitForSoundPdf(exported) ? PdfPages(exported) : 0;
    }

    static std::vector<std::string> NoPrintServer(const CInstalledProgram& program)
    {
        return {"CUPS_SERVER=" + program.Path("no-print-server.sock")};
    }
};

// Printing to a print server of the test's own, the program started with water sized and the
// number of pages its report has.
class ServerPrintRoad : public PrintRoad {
protected:
    void SetUp() override
    {
        std::string error;
        if (!server.Start(error))
            GTEST_SKIP() << error;
        main = StartSized({});
        ASSERT_FALSE(main.empty());
        pages = ReportPages(main);
        // More than one, so that a job cut short shows.
        ASSERT_GE(pages, 2) << program.Messages();
    }

    // File > Print, whose dialog has the server's default printer chosen and prints at once.
    void PrintThroughTheDialog(const std::string& screenshot)
    {
        ChooseMenuItem(main, EMenu::File, FileItem("Print"));
        const std::string dialog = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
        ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
        Screenshot(screenshot);
        CDesktopDriver::Keys(dialog, {"Return"});
        EXPECT_TRUE(CDesktopDriver::WaitForNoWindow(kPrintDialog));
    }

    // The job the server got holds every page of the report, on paper of the size when one is
    // given; it is then taken off the server, so that the next job can come.
    void ExpectWholeJob(const std::string& paper = "")
    {
        const std::string job = server.WaitForJob(120);
        ASSERT_FALSE(job.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
        EXPECT_EQ(CheckedPages(job), pages);
        if (!paper.empty()) {
            EXPECT_EQ(PageSize(job), paper);
        }
        std::filesystem::remove(job);
    }

    CTestPrintServer server;
    std::string main;
    int pages = 0;
};

// Every page of the report reaches the print server, without a dialog from the toolbar and
// through the dialog from the File menu.
TEST_F(ServerPrintRoad, ToTheTestPrintServer)
{
    CDesktopDriver::Click(main, kPrintButton.x, kPrintButton.y);
    ASSERT_NO_FATAL_FAILURE(ExpectWholeJob());
    ASSERT_NO_FATAL_FAILURE(PrintThroughTheDialog("print-dialog-test-server"));
    ASSERT_NO_FATAL_FAILURE(ExpectWholeJob());
    EXPECT_EQ(program.Messages(), "");
    ExitWithoutSaving(main);
}

// The paper chosen in Print settings is the paper of the next jobs, with and without the dialog;
// every page still arrives.
TEST_F(ServerPrintRoad, SettingsHoldForTheNextPrint)
{
    ChooseMenuItem(main, EMenu::File, FileItem("Print settings"));
    const std::string setup = CDesktopDriver::WaitForWindow("^Page Setup$", 60);
    ASSERT_FALSE(setup.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    // The paper list follows the printer list; A5 follows the A4 the test's locale starts with.
    CDesktopDriver::Keys(setup, {"Tab", "Down"});
    Screenshot("print-settings-a5");
    CDesktopDriver::Keys(setup, {"alt+a"});
    ASSERT_TRUE(CDesktopDriver::WaitForNoWindow("^Page Setup$"));

    const char kA5[] = "419.528 x 595.276";
    CDesktopDriver::Click(main, kPrintButton.x, kPrintButton.y);
    ASSERT_NO_FATAL_FAILURE(ExpectWholeJob(kA5));
    ASSERT_NO_FATAL_FAILURE(PrintThroughTheDialog("print-dialog-a5"));
    ASSERT_NO_FATAL_FAILURE(ExpectWholeJob(kA5));
    EXPECT_EQ(program.Messages(), "");
    ExitWithoutSaving(main);
}

// No print server: the dialog offers GTK's file printer, whose PDF is sound; a dialog
// cancelled says nothing and the project stays as it was.
TEST_F(PrintRoad, ToAFileWithoutAPrintServer)
{
    std::filesystem::remove(std::filesystem::current_path() / "output.pdf");
    const std::string main = StartSized(NoPrintServer(program));
    ASSERT_FALSE(main.empty());
    ChooseMenuItem(main, EMenu::File, FileItem("Print"));
    const std::string dialog = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
    ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
    Screenshot("print-dialog-to-file");
    // Without a print server nothing is chosen: the file printer is the list's first row.
    CDesktopDriver::Click(dialog, kFilePrinterRow.x, kFilePrinterRow.y);
    CDesktopDriver::Click(dialog, kPrintButtonOfDialog.x, kPrintButtonOfDialog.y);
    EXPECT_TRUE(CDesktopDriver::WaitForNoWindow(kPrintDialog));
    // GTK's file printer writes into the folder the program was started in.
    const std::string written = (std::filesystem::current_path() / "output.pdf").string();
    EXPECT_TRUE(WaitForSoundPdf(written)) << CDesktopDriver::WindowTitles();
    EXPECT_GE(PdfPages(written), 1);
    std::filesystem::remove(written);

    ChooseMenuItem(main, EMenu::File, FileItem("Print"));
    const std::string again = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
    ASSERT_FALSE(again.empty()) << CDesktopDriver::WindowTitles();
    CDesktopDriver::Keys(again, {"Escape"});
    EXPECT_TRUE(CDesktopDriver::WaitForNoWindow(kPrintDialog));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    Screenshot("printed-to-file");
    ExitWithoutSaving(main);
}

// No print server: the toolbar's print, which asks nothing when there is a printer, shows the
// dialog instead of waiting for a printer for ever; cancelled, it says nothing.
TEST_F(PrintRoad, DirectWithoutAPrintServerAsksForAPrinter)
{
    const std::string main = StartSized(NoPrintServer(program));
    ASSERT_FALSE(main.empty());
    CDesktopDriver::Click(main, kPrintButton.x, kPrintButton.y);
    const std::string dialog = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
    ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
    Screenshot("print-direct-without-server");
    CDesktopDriver::Keys(dialog, {"Escape"});
    EXPECT_TRUE(CDesktopDriver::WaitForNoWindow(kPrintDialog));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ExitWithoutSaving(main);
}

}  // namespace
