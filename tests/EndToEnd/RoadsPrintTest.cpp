// The report printed from the real program: to a print server of the test's own, to GTK's
// file printer, and with no print server at all, through the File menu and the toolbar.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/PdfWordLayout.h"
#include "support/TestFiles.h"
#include "support/TestPrintServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

const char kPrintDialog[] = "^Print$";
// GTK's own dialog speaks the program's language.
const char kGermanPrintDialog[] = "^Drucken$";
// In GTK's print dialog.
const SPoint kFilePrinterRow{82, 87};

// The pages of the PDF file once qpdf finds it sound; 0 when it does not.
int CheckedPages(const std::string& path)
{
    return WaitForSoundPdf(path) ? PdfPages(path) : 0;
}

// The size of the PDF's first page in points, as pdfinfo gives it ("595.276 x 841.89").
std::string PageSize(const std::string& path)
{
    std::smatch size;
    const std::string info = RunTool({"pdfinfo", path}).output;
    return std::regex_search(info, size, std::regex("Page size: *([0-9.]+ x [0-9.]+) pts")) ? size[1].str() : "";
}

// The words of the PDF without the date and time of writing in the page footers, so that
// documents made apart compare.
std::vector<SPdfPage> WordsWithoutTimes(const std::string& pdf)
{
    const std::regex time("[0-9]{1,4}[./-][0-9]{1,2}[./-][0-9]{1,4},?|[0-9]{1,2}:[0-9]{2}:[0-9]{2}");
    std::vector<SPdfPage> pages = ReadPdfWords(pdf);
    for (SPdfPage& page : pages) {
        page.words.erase(std::remove_if(page.words.begin(), page.words.end(),
                                        [&](const SPdfWord& word) { return std::regex_match(word.text, time); }),
                         page.words.end());
    }
    return pages;
}

// The words of a printed job that are not where the export of the same report has them, one
// line each; "" when every word of each page of the export is on the same page of the job, as
// high within a tenth and as far from the report's first heading word ("Customer", in German
// "Kundendaten") within a millimetre.
std::string LayoutFaults(const std::string& exported, const std::string& printed,
                         const std::string& referenceWord = "Customer")
{
    SWordLayoutRule rule;
    rule.referenceWord = referenceWord;
    std::string faults;
    for (const std::string& fault : CompareWordLayout(WordsWithoutTimes(exported), WordsWithoutTimes(printed), rule))
        faults += fault + "\n";
    return faults;
}

class PrintRoad : public Road {
protected:
    // The program started, water sized and the first meter chosen; its report exported.
    void StartSized(const std::vector<std::string>& variables)
    {
        main = Start(variables);
        ASSERT_FALSE(main.empty());
        ASSERT_NO_FATAL_FAILURE(SizeLiquidWater(main));
        ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Export as PDF", kPdfDialog, exported));
        ASSERT_TRUE(WaitForSoundPdf(exported)) << program.Messages();
        pages = PdfPages(exported);
    }

    // The printed PDF has as many pages as the export and its words where the export has them.
    void ExpectAsExported(const std::string& printed, const std::string& referenceWord = "Customer")
    {
        ASSERT_TRUE(WaitForSoundPdf(printed)) << CDesktopDriver::WindowTitles() << program.Messages();
        EXPECT_EQ(PdfPages(printed), pages);
        const std::string faults = LayoutFaults(exported, printed, referenceWord);
        EXPECT_TRUE(faults.empty()) << faults;
    }

    // File > Print to GTK's file printer, the first row of a dialog without a print server; it
    // writes output.pdf (in GTK's own language) into the folder the program was started in. The
    // dialog's title is in the program's language.
    void PrintToFile(const std::string& screenshot, const char* title = kPrintDialog)
    {
        ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Print")));
        const std::string dialog = CDesktopDriver::WaitForWindow(title, 60);
        ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
        Screenshot(screenshot);
        CDesktopDriver::Click(dialog, kFilePrinterRow.x, kFilePrinterRow.y);
        // The printer row chosen, Return prints; the buttons lie elsewhere in each language.
        ASSERT_TRUE(CDesktopDriver::KeysClosing(dialog, {"Return"}));
    }

    static std::vector<std::string> NoPrintServer(const CInstalledProgram& program)
    {
        return {"CUPS_SERVER=" + program.Path("no-print-server.sock")};
    }

    std::string main;
    const std::string exported = program.Path("report.pdf");
    int pages = 0;
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
        ASSERT_NO_FATAL_FAILURE(StartSized({}));
        // More than one, so that a job cut short shows.
        ASSERT_GE(pages, 2) << program.Messages();
    }

    // File > Print, whose dialog has the server's default printer chosen and prints at once.
    void PrintThroughTheDialog(const std::string& screenshot)
    {
        ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Print")));
        const std::string dialog = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
        ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
        Screenshot(screenshot);
        ASSERT_TRUE(CDesktopDriver::KeysClosing(dialog, {"Return"}));
    }

    // The job the server got is the report as exported; on other paper than the export's, it
    // holds every page of the report on paper of that size. It is then taken off the server, so
    // that the next job can come.
    void ExpectWholeJob(const std::string& paper = "")
    {
        const std::string job = server.WaitForJob(120);
        ASSERT_FALSE(job.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
        if (paper.empty()) {
            ASSERT_NO_FATAL_FAILURE(ExpectAsExported(job));
        } else {
            EXPECT_EQ(CheckedPages(job), pages);
            EXPECT_EQ(PageSize(job), paper);
        }
        std::filesystem::remove(job);
    }

    CTestPrintServer server;
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
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

// The paper chosen in Print settings is the paper of the next jobs, with and without the dialog;
// every page still arrives.
TEST_F(ServerPrintRoad, SettingsHoldForTheNextPrint)
{
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Print settings")));
    const std::string setup = CDesktopDriver::WaitForWindow("^Page Setup$", 60);
    ASSERT_FALSE(setup.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    // The paper list follows the printer list; A5 follows the A4 the test's locale starts with.
    CDesktopDriver::Keys(setup, {"Tab", "Down"});
    Screenshot("print-settings-a5");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(setup, {"alt+a"}));

    const char kA5[] = "419.528 x 595.276";
    CDesktopDriver::Click(main, kPrintButton.x, kPrintButton.y);
    ASSERT_NO_FATAL_FAILURE(ExpectWholeJob(kA5));
    ASSERT_NO_FATAL_FAILURE(PrintThroughTheDialog("print-dialog-a5"));
    ASSERT_NO_FATAL_FAILURE(ExpectWholeJob(kA5));
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

// No print server: the dialog offers GTK's file printer, whose PDF is the report as exported;
// a dialog cancelled says nothing. Printing leaves the project as it was: saved afterwards it is
// the file saved before. The road runs in the program's own folder, so its output.pdf is its own.
TEST_F(PrintRoad, ToAFileWithoutAPrintServer)
{
    program.StartInItsFolder();
    ASSERT_NO_FATAL_FAILURE(StartSized(NoPrintServer(program)));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("before.xml")));
    const std::string before = WaitForFile(program.Path("before.xml"), std::chrono::seconds(60));
    ASSERT_FALSE(before.empty()) << program.Messages();

    ASSERT_NO_FATAL_FAILURE(PrintToFile("print-dialog-to-file"));
    ASSERT_NO_FATAL_FAILURE(ExpectAsExported(program.Path("output.pdf")));

    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Print")));
    const std::string again = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
    ASSERT_FALSE(again.empty()) << CDesktopDriver::WindowTitles();
    ASSERT_TRUE(CDesktopDriver::KeysClosing(again, {"Escape"}));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    Screenshot("printed-to-file");

    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("after.xml")));
    EXPECT_EQ(WaitForFile(program.Path("after.xml"), std::chrono::seconds(60)), before);
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// In German the job holds the German report where its export has it: the program started in
// German, water sized and exported, then printed to GTK's file printer, whose dialog speaks
// German too. The road runs in the program's own folder, so the file printed is its own.
TEST_F(PrintRoad, ToAFileInGerman)
{
    ASSERT_NO_FATAL_FAILURE(SetProgramLanguage(program, "de"));
    program.StartInItsFolder();

    main = Start(NoPrintServer(program));
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main, kGermanCalculateButton));
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Export as PDF")));
    ASSERT_TRUE(ChooseFile("^Als PDF exportieren$", exported)) << CDesktopDriver::WindowTitles();
    ASSERT_TRUE(WaitForSoundPdf(exported)) << program.Messages();
    pages = PdfPages(exported);
    ASSERT_NE(PdfText(exported).find("Kundendaten"), std::string::npos);

    ASSERT_NO_FATAL_FAILURE(PrintToFile("print-dialog-to-file-de", kGermanPrintDialog));
    // GTK's German file printer names its file in German.
    ASSERT_NO_FATAL_FAILURE(ExpectAsExported(program.Path("Ausgabe.pdf"), "Kundendaten"));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

// No print server: the toolbar's print, which asks nothing when there is a printer, shows the
// dialog instead of waiting for a printer for ever; cancelled, it says nothing.
TEST_F(PrintRoad, DirectWithoutAPrintServerAsksForAPrinter)
{
    ASSERT_NO_FATAL_FAILURE(StartSized(NoPrintServer(program)));
    CDesktopDriver::Click(main, kPrintButton.x, kPrintButton.y);
    const std::string dialog = CDesktopDriver::WaitForWindow(kPrintDialog, 60);
    ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
    Screenshot("print-direct-without-server");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(dialog, {"Escape"}));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

}  // namespace
