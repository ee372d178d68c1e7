// The report leaving the program through the main window's commands: the shipped template as
// PDF for water and steam in English and German (checked by qpdf and poppler), printed to a file
// through GTK's file printer, and handed to a recording mail command with both attachments;
// what the user hears when no device is selected, the template is missing, a dialog is
// cancelled, no mail client exists or a step fails.
#include "../TAMBELReport/RecordingMailCommand.h"
#include "ResultsTestData.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Pagewright/Report.h"
#include "PolyglottaWx/WindowIds.h"
#include "TAMBEL/EngineWiring.h"
#include "TAMBEL/Pages/PageResults.h"
#include "TAMBEL/ProjectFileDialog.h"
#include "TAMBEL/ReportCommands.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELDlg.h"
#include "support/ChildProcess.h"
#include "support/GtkFilePrinter.h"
#include "support/LargeReports.h"
#include "support/Process.h"
#include "support/TemporaryFolder.h"
#include "support/TestPrintServer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <wx/cmndata.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/printdlg.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>


namespace {

namespace fs = std::filesystem;

class ReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage("en");
        PlaceShippedDatabase();
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
        // The engine's texts (the point tables' names among them) follow the program's language.
        ConnectEngineToApplication();
        const char* programDir = std::getenv("ZEPHRIN_PROGRAM_DIR");
        ASSERT_NE(programDir, nullptr);
        fs::create_directories(TestProgramFolder() + "Reports");
        for (const char* file : {"Reports/Zephrin.rpt", "Reports/Logo.bmp", "email_en.txt", "email_de.txt"})
            fs::copy_file(std::string(programDir) + "/" + file, TestProgramFolder() + file,
                          fs::copy_options::overwrite_existing);
        m_autoRecalculate = CApplicationConfiguration::GetInstance()->autorecalcmeters;
        CApplicationConfiguration::GetInstance()->autorecalcmeters = false;
        Project().Reset();
        MakeWaterOperatingPoint(Project().physical);
        Project().results.Add(MakeResultRow(104, 201,
                                            {{2.5, 0.3, 0.001, 1.0, 20000.0},
                                             {10.0, 1.2, 0.01, 0.75, 80000.0},
                                             {60.0, 7.0, 0.5, 0.5, 400000.0}}));
        SetFileDialogSinkForTesting([this](const SFileDialogRequest& request) {
            requests.push_back(request);
            return answer;
        });
        ASSERT_TRUE(m_dialog.Create());
        App().SetMainDialog(&m_dialog);
        // The results page is made when first shown; the fluid page is current again, as at start.
        ASSERT_TRUE(m_dialog.ShowPage(&m_dialog.GetResultsPage()));
        ASSERT_TRUE(m_dialog.ShowPage(&m_dialog.GetFluidPage()));
        Select(0);
    }

    void TearDown() override
    {
        App().SetMainDialog(nullptr);
        SetFileDialogSinkForTesting(nullptr);
        CApplicationConfiguration::GetInstance()->autorecalcmeters = m_autoRecalculate;
        Project().Reset();
        CUnitDb::GetInstance()->Close();
        DisconnectEngineFromApplication();
        fs::remove_all(TestProgramFolder() + "Reports");
        UseTranslatedLanguage("en");
    }

    static CProjectData& Project() { return *CProjectData::GetInstance(); }

    void Select(long item)
    {
        wxListCtrl* list = m_dialog.GetResultsPage().GetDeviceList();
        ASSERT_NE(list, nullptr);
        for (long other = 0; other < list->GetItemCount(); ++other)
            list->SetItemState(other, 0, wxLIST_STATE_SELECTED);
        if (item >= 0)
            list->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }

    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, CWindowIds::FromResourceId(id));
        m_dialog.GetFrame()->ProcessWindowEvent(event);
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const SMessageBox& box : boxes.Boxes())
            texts.push_back(box.caption + " / " + box.text);
        return texts;
    }

    static int PageCount(const std::string& pdf)
    {
        const std::string info = RunTool({"pdfinfo", pdf}).output;
        const std::size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
    }

    static std::string PdfText(const std::string& pdf)
    {
        const SToolRun text = RunTool({"pdftotext", "-layout", pdf, "-"});
        EXPECT_EQ(text.status, 0) << text.errors;
        return text.output;
    }

    CMessageBoxRecorder boxes;
    CTemporaryFolder folder;
    std::string answer;
    std::vector<SFileDialogRequest> requests;
    bool m_autoRecalculate = false;
    CTAMBELDlg m_dialog;
};

TEST_F(ReportCommandsTest, WithoutSelectedDeviceOnlyTheNotice)
{
    CRecordingMailCommand mail;
    Select(-1);
    for (int id : {ID_FILE_PRINT_MENU, ID_FILE_PRINT_DIRECT, ID_FILE_PDF, ID_FILE_EMAIL}) {
        SCOPED_TRACE(id);
        const std::size_t shown = boxes.Boxes().size();
        Command(id);
        ASSERT_EQ(boxes.Boxes().size(), shown + 1);
        EXPECT_EQ(boxes.Boxes().back().caption, "Zephrin: Notice");
        EXPECT_EQ(boxes.Boxes().back().text, "Please select a device first!");
        EXPECT_EQ(boxes.Boxes().back().owner, m_dialog.GetFrame());
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(mail.WasRun());
}

TEST_F(ReportCommandsTest, ResultsPageNeverShownHasNoSelectionAndGivesTheNotice)
{
    CTAMBELDlg dialog;
    ASSERT_TRUE(dialog.Create());
    App().SetMainDialog(&dialog);
    EXPECT_EQ(dialog.GetResultsPage().GetWindow(), nullptr);
    wxCommandEvent event(wxEVT_MENU, CWindowIds::FromResourceId(ID_FILE_PDF));
    dialog.GetFrame()->ProcessWindowEvent(event);
    App().SetMainDialog(&m_dialog);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please select a device first!");
    EXPECT_EQ(boxes.Boxes()[0].owner, dialog.GetFrame());
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(dialog.GetResultsPage().GetWindow(), nullptr);
}

// The shipped template, written as PDF for each case: a valid file whose text names the device,
// the fluid, and the point tables with their numbers in the language.
TEST_F(ReportCommandsTest, PdfOfTheShippedTemplateForWaterAndSteamInBothLanguages)
{
    const struct {
        const char* name;
        int fluidType;
        const char* fluid;
        const char* language;
        std::vector<std::string> expected;
    } cases[] = {
        {"water-en", FLUID_TYPE_LIQUID, "Water", "en",
         {"MOKADI ZR410", "Water", "Operating data", "Velocity", "Pressure loss", "Reynolds number", "Points",
          "60.0", "400000.0", "Error indicated is for volumetric flow measurement."}},
        {"water-de", FLUID_TYPE_LIQUID, "Water", "de",
         {"MOKADI ZR410", "Betriebsdaten", "Geschwindigkeit", "Druckverlust", "Reynoldszahl", "Punkte", "60,0",
          "400000,0", "Die angegebene Messabweichung gilt für die Volumendurchflussmessung."}},
        {"steam-en", FLUID_TYPE_SUPERHEATED_STEAM, "Steam", "en",
         {"MOKADI ZR410", "superheated steam", "Velocity", "Pressure loss", "Points", "60.0"}},
        {"steam-de", FLUID_TYPE_SUPERHEATED_STEAM, "Steam", "de",
         {"MOKADI ZR410", "Heißdampf", "Geschwindigkeit", "Druckverlust", "Punkte", "60,0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseTranslatedLanguage(c.language);
        Project().physical.Fluid = CreateFluid(c.fluidType);
        Project().physical.Fluid->Name = c.fluid;
        // The current page shows the new fluid, so storing its fields keeps it.
        m_dialog.GetFluidPage().FillCombos(false, true, false);
        m_dialog.OnEnterPage();
        // A name without extension gets ".pdf".
        answer = folder.Path(c.name);
        Command(ID_FILE_PDF);
        EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].extension, "pdf");
        EXPECT_EQ(requests[0].owner, m_dialog.GetFrame());
        requests.clear();
        const std::string pdf = answer + ".pdf";
        const SToolRun check = RunTool({"qpdf", "--check", pdf});
        EXPECT_EQ(check.status, 0) << check.output << check.errors;
        const std::string text = PdfText(pdf);
        for (const std::string& expected : c.expected)
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing in\n" << text;
        EXPECT_EQ(PageCount(pdf), 3);
        // Rendered, to be looked at.
        const std::string pages = folder.Path(c.name);
        EXPECT_EQ(RunTool({"pdftoppm", "-r", "50", "-png", pdf, pages}).status, 0);
        if (const char* shots = std::getenv("ZEPHRIN_SCREENSHOT_DIR"))
            for (const auto& page : fs::directory_iterator(fs::path(pages).parent_path()))
                if (page.path().string().rfind(pages + "-", 0) == 0)
                    fs::copy_file(page.path(), fs::path(shots) / page.path().filename(),
                                  fs::copy_options::overwrite_existing);
    }
}

TEST_F(ReportCommandsTest, PdfDialogIsTitledAndAsksBeforeReplacingTheCompletedName)
{
    const struct {
        const char* language;
        const char* title;
    } languages[] = {{"en", "Export as PDF"}, {"de", "Als PDF exportieren"}};
    for (const auto& language : languages) {
        UseTranslatedLanguage(language.language);
        answer.clear();
        Command(ID_FILE_PDF);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].title, language.title);
        EXPECT_TRUE(requests[0].save);
        EXPECT_TRUE(requests[0].filter.empty());
        requests.clear();
    }
    UseTranslatedLanguage("en");

    // The dialog asked about "report"; "report.pdf" is the file that would go.
    const std::string pdf = folder.Path("report.pdf");
    WriteWholeFile(pdf, "old");
    answer = folder.Path("report");
    std::vector<SMessageBox> asked;
    int choice = wxID_NO;
    SetMessageBoxSinkForTesting([&](const SMessageBox& box) {
        asked.push_back(box);
        return choice;
    });
    Command(ID_FILE_PDF);
    EXPECT_EQ(ReadWholeFile(pdf), "old");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, pdf + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(asked[0].style & wxYES_NO, wxYES_NO);

    choice = wxID_YES;
    Command(ID_FILE_PDF);
    SetMessageBoxSinkForTesting(nullptr);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(ReadWholeFile(pdf).rfind("%PDF", 0), 0u);
}

TEST_F(ReportCommandsTest, MissingTemplateAndCancelledDialog)
{
    answer.clear();
    Command(ID_FILE_PDF);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(requests.size(), 1u);

    fs::remove(TestProgramFolder() + "Reports/Zephrin.rpt");
    answer = folder.Path("never.pdf");
    for (int id : {ID_FILE_PDF, ID_FILE_PRINT_MENU}) {
        Command(id);
        ASSERT_FALSE(boxes.Boxes().empty());
        EXPECT_EQ(boxes.Boxes().back().caption, "Zephrin: Error");
        EXPECT_EQ(boxes.Boxes().back().text, "Could not open report template!");
    }
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(fs::exists(answer));
}

TEST_F(ReportCommandsTest, TemplateWithAPageOfTwoBillionUnitsIsRefusedAtOnce)
{
    // One row a unit down the whole page: laid out, that is billions of cells.
    WriteWholeFile(TestProgramFolder() + "Reports/Zephrin.rpt",
                   "<report><page width='2100' height='2147483647'>"
                   "<table x='0' y='0' width='2100' height='2147483647' rowheight='1' multipage='TRUE' name='T'>"
                   "<column width='2100' name='C'><text fontname='F'>$COLUMN_VARIABLE</text></column>"
                   "</table></page><font fontname='F' typeface='Liberation Sans' fontsize='30'/></report>");
    answer = folder.Path("never.pdf");
    const auto start = std::chrono::steady_clock::now();
    Command(ID_FILE_PDF);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Zephrin: Error / Could not open report!"}));
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(fs::exists(answer));
}

// 150 pages 10 m high, each a table of 1-unit rows (15 million cells, hundreds of megabytes of
// PDF), and tables nested 300 and 999 deep. Every output refuses them at once, before any
// dialog, file or mail.
TEST_F(ReportCommandsTest, TemplatesBeyondTheDocumentBoundsAreRefusedByEveryOutput)
{
    answer = folder.Path("never.pdf");
    for (const std::string& report :
         {TallTablePagesReport(150, "Liberation Sans"), NestedTablesReport(300), NestedTablesReport(999)}) {
        WriteWholeFile(TestProgramFolder() + "Reports/Zephrin.rpt", report);
        for (int id : {ID_FILE_PDF, ID_FILE_PRINT_MENU, ID_FILE_PRINT_DIRECT, ID_FILE_EMAIL}) {
            SCOPED_TRACE(std::to_string(id) + " " + report.substr(0, 60));
            CRecordingMailCommand mail;
            const std::size_t shown = boxes.Boxes().size();
            const auto start = std::chrono::steady_clock::now();
            Command(id);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
            ASSERT_EQ(boxes.Boxes().size(), shown + 1);
            EXPECT_EQ(boxes.Boxes().back().caption, "Zephrin: Error");
            EXPECT_EQ(boxes.Boxes().back().text, "Could not open report!");
            EXPECT_FALSE(mail.WasRun());
        }
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(fs::exists(answer));
}

// The process's address space now, in bytes.
rlim_t AddressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            return static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
    }
    return 0;
}

// A report within the bounds that needs more memory than there is: the command says it could
// not be made, gives its memory back, and the program goes on as before with the next report.
// In a child process whose address space is limited to little more than it has.
TEST_F(ReportCommandsTest, RunningOutOfMemoryIsToldAndTheProgramGoesOn)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit leaves";
#endif
    // 33 columns of 2970 text cells, each with its borders: tens of megabytes of page content.
    std::string cells = "<report><page><table width='2100' height='2970' rowheight='1' name='T'>";
    for (int i = 0; i < 33; ++i)
        cells += "<column width='60' name='C'><text fontname='F'>a cell of the table</text></column>";
    cells += "</table></page><font fontname='F' typeface='Liberation Sans' fontsize='30'/></report>";
    // 50 texts of 300 kB: reading the template alone takes more than is left.
    std::string texts = "<report><page>";
    for (int i = 0; i < 50; ++i)
        texts += "<text width='100' height='100' fontname='F'>" + std::string(300000, 'x') + "</text>";
    texts += "</page><font fontname='F' typeface='Liberation Sans' fontsize='30'/></report>";
    for (const std::string* report : {&cells, &texts}) {
        CReport document;
        ASSERT_TRUE(document.LoadFromString(*report));
        ASSERT_TRUE(document.Paginate());
    }
    const std::string shipped = folder.Path("shipped.rpt");
    fs::copy_file(TestProgramFolder() + "Reports/Zephrin.rpt", shipped);

    // What the commands do not catch must not run the rest of the tests in the child.
    const int failures = RunInChild([&]() noexcept {
        int failed = 0;
        const auto check = [&](bool ok, const std::string& what) {
            if (!ok) {
                std::fprintf(stderr, "%s\n", what.c_str());
                ++failed;
            }
        };
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        const rlimit unlimited = limit;
        malloc_trim(0);
        limit.rlim_cur = AddressSpaceInUse() + 16 * 1024 * 1024;
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            return 100;
        const struct {
            int id;
            const std::string& report;
            const char* message;
        } cases[] = {{ID_FILE_PDF, cells, "Could not export report to PDF!"},
                     {ID_FILE_PRINT_MENU, texts, "Could not open report!"},
                     {ID_FILE_PDF, texts, "Could not export report to PDF!"}};
        for (const auto& c : cases) {
            WriteWholeFile(TestProgramFolder() + "Reports/Zephrin.rpt", c.report);
            answer = folder.Path("never.pdf");
            const std::size_t shown = boxes.Boxes().size();
            Command(c.id);
            check(boxes.Boxes().size() == shown + 1, "one message for " + std::to_string(c.id));
            check(!boxes.Boxes().empty() && boxes.Boxes().back().text == c.message,
                  "the message for " + std::to_string(c.id) + ": " +
                      (boxes.Boxes().empty() ? std::string() : boxes.Boxes().back().text));
            check(!fs::exists(answer), "no PDF");
        }
        // With memory enough again, the same program makes the shipped report.
        setrlimit(RLIMIT_AS, &unlimited);
        fs::copy_file(shipped, TestProgramFolder() + "Reports/Zephrin.rpt", fs::copy_options::overwrite_existing);
        answer = folder.Path("after.pdf");
        const std::size_t shown = boxes.Boxes().size();
        Command(ID_FILE_PDF);
        check(boxes.Boxes().size() == shown, "no message for the shipped report");
        check(ReadWholeFile(answer).rfind("%PDF-", 0) == 0, "the shipped report as PDF");
        check(Project().results.GetCount() == 1, "the project's device");
        check(CReportCommands::GetSelectedDevice(false) == 0, "the selected device");
        return failed;
    });
    EXPECT_EQ(failures, 0);
}

TEST_F(ReportCommandsTest, EmailHandsSubjectBodyAndBothAttachmentsToTheMailCommand)
{
    CRecordingMailCommand mail;
    Command(ID_FILE_EMAIL);
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
    const std::vector<std::string> arguments = mail.Arguments();
    ASSERT_EQ(arguments.size(), 10u) << ::testing::PrintToString(arguments);
    EXPECT_EQ(arguments[1], "--subject");
    EXPECT_EQ(arguments[2], "Zephrin: sizing of a vortex flow meter");
    EXPECT_EQ(arguments[3], "--body");
    EXPECT_EQ(arguments[4].rfind("Hello,\n\nattached are", 0), 0u) << arguments[4];
    EXPECT_EQ(arguments[5], "--attach");
    EXPECT_EQ(fs::path(arguments[6]).filename(), "Zephrin.xml");
    EXPECT_EQ(arguments[7], "--attach");
    EXPECT_EQ(fs::path(arguments[8]).filename(), "Zephrin.pdf");
    EXPECT_EQ(arguments[9], "Insert recipient here");
    // A folder of the command's own, not the program folder.
    EXPECT_EQ(fs::path(arguments[6]).parent_path(), fs::path(arguments[8]).parent_path());
    EXPECT_NE(fs::path(arguments[6]).parent_path().string() + "/", TestProgramFolder());
    EXPECT_NE(mail.Attachment(1).find("<PhysicalData"), std::string::npos);
    EXPECT_EQ(mail.Attachment(2).rfind("%PDF-", 0), 0u);
    EXPECT_TRUE(requests.empty());
}

TEST_F(ReportCommandsTest, EmailInGermanTakesTheGermanTemplate)
{
    UseTranslatedLanguage("de");
    CRecordingMailCommand mail;
    Command(ID_FILE_EMAIL);
    ASSERT_GE(mail.Arguments().size(), 3u);
    EXPECT_EQ(mail.Arguments()[2], "Zephrin: Auslegung eines Wirbelzähler-Durchflussmessers");
    EXPECT_EQ(mail.Arguments().back(), "Empfänger hier eintragen");
}

TEST_F(ReportCommandsTest, EmailFailuresSendNothingOrSayWhy)
{
    {
        // The PDF cannot be made: only that message, nothing handed to the mail client.
        CRecordingMailCommand mail;
        fs::copy_file(TestProgramFolder() + "Reports/Zephrin.rpt", folder.Path("saved.rpt"));
        fs::remove(TestProgramFolder() + "Reports/Zephrin.rpt");
        Command(ID_FILE_EMAIL);
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Zephrin: Error / Could not open report template!"}));
        EXPECT_FALSE(mail.WasRun());
        fs::copy_file(folder.Path("saved.rpt"), TestProgramFolder() + "Reports/Zephrin.rpt");
    }
    {
        // The mail client refuses.
        CRecordingMailCommand mail(1);
        Command(ID_FILE_EMAIL);
        EXPECT_TRUE(mail.WasRun());
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes().back().caption, "Zephrin: Mail errors");
        EXPECT_EQ(boxes.Boxes().back().text,
                  "Errors occured during the sending of the email.\nCould not send the message.");
        EXPECT_EQ(boxes.Boxes().back().owner, nullptr);
    }
    // No mail client at all.
    const std::string path = std::getenv("PATH");
    setenv("PATH", folder.Path("").c_str(), 1);
    Command(ID_FILE_EMAIL);
    setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes().back().text, "No email client was found.\nSending of emails is not possible.");
}

// The e-mail's files live in a folder of their own: a sent message's stay for the mail client
// until the next e-mail command, a failed one's go at once, and a message that was never
// handed off leaves nothing behind.
TEST_F(ReportCommandsTest, EmailFilesStayOnlyWhileTheMailClientMayNeedThem)
{
    const fs::path temporary = folder.Path("tmp");
    fs::create_directories(temporary);
    const char* previous = std::getenv("TMPDIR");
    const std::string previousValue = previous ? previous : "";
    setenv("TMPDIR", temporary.c_str(), 1);
    const auto leftOver = [&] { return std::distance(fs::directory_iterator(temporary), fs::directory_iterator()); };

    std::string sent;
    {
        CRecordingMailCommand mail;
        Command(ID_FILE_EMAIL);
        ASSERT_EQ(mail.Arguments().size(), 10u);
        sent = mail.Arguments()[6];
        EXPECT_EQ(fs::path(sent).parent_path().parent_path(), temporary);
        // Named after the sizing program, not after the updater whose folder class it shares.
        EXPECT_EQ(fs::path(sent).parent_path().filename().string().rfind("zephrin.", 0), 0u) << sent;
    }
    EXPECT_TRUE(fs::exists(sent));
    EXPECT_TRUE(fs::exists(fs::path(sent).parent_path() / "Zephrin.pdf"));

    {
        CRecordingMailCommand mail(1);
        Command(ID_FILE_EMAIL);
        ASSERT_TRUE(mail.WasRun());
        EXPECT_FALSE(fs::exists(fs::path(sent).parent_path()));
        EXPECT_FALSE(fs::exists(fs::path(mail.Arguments()[6]).parent_path()));
    }
    EXPECT_EQ(leftOver(), 0);

    {
        CRecordingMailCommand mail;
        fs::remove(TestProgramFolder() + "Reports/Zephrin.rpt");
        Command(ID_FILE_EMAIL);
        EXPECT_FALSE(mail.WasRun());
    }
    EXPECT_EQ(leftOver(), 0);
    if (previous)
        setenv("TMPDIR", previousValue.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

// GTK's "Print to File" printer as the chosen printer: the print dialog's job is a PDF file
// with every page of the report.
TEST_F(ReportCommandsTest, PrintToAFileThroughGtkGivesEveryPage)
{
    const std::string pdf = folder.Path("printed.pdf");
    App().GetReportCommands().GetPrintDialogData().SetPrintData(FilePrinterSettings(pdf));
    CPrintDialogAnswer press;
    Command(ID_FILE_PRINT_MENU);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(PageCount(pdf), 3);
    EXPECT_NE(PdfText(pdf).find("MOKADI ZR410"), std::string::npos);
}

// The toolbar's print button sends the report to the default printer without asking.
TEST_F(ReportCommandsTest, PrintDirectGoesToTheDefaultPrinter)
{
    CTestPrintServer server;
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    App().GetReportCommands().GetPrintDialogData().SetPrintData(wxPrintData());
    Command(ID_FILE_PRINT_DIRECT);
    EXPECT_TRUE(boxes.Boxes().empty());
    const std::string job = server.WaitForJob(120);
    ASSERT_FALSE(job.empty());
    EXPECT_EQ(PageCount(job), 3);
    EXPECT_NE(PdfText(job).find("MOKADI ZR410"), std::string::npos);
}

// The page setup dialog, caught as it is about to show and answered with the button of the test.
class CPageSetupAnswer : public wxModalDialogHook {
public:
    explicit CPageSetupAnswer(int button) : m_button(button) { Register(); }
    ~CPageSetupAnswer() override { Unregister(); }
    int Enter(wxDialog* dialog) override
    {
        auto* setup = dynamic_cast<wxPageSetupDialogBase*>(dialog);
        if (!setup)
            return wxID_NONE;
        ++seen;
        setup->GetPageSetupDialogData().GetPrintData().SetOrientation(wxLANDSCAPE);
        return m_button;
    }
    void Exit(wxDialog*) override {}
    int seen = 0;

private:
    int m_button;
};

// Print setup changes the settings of later print jobs only when confirmed.
TEST_F(ReportCommandsTest, PrintSetupKeepsWhatIsConfirmed)
{
    wxPrintData& settings = App().GetReportCommands().GetPrintDialogData().GetPrintData();
    settings.SetOrientation(wxPORTRAIT);
    for (const int button : {wxID_CANCEL, wxID_OK}) {
        CPageSetupAnswer answer(button);
        Command(ID_FILE_PRINT_SETUP);
        EXPECT_EQ(answer.seen, 1);
        EXPECT_EQ(App().GetReportCommands().GetPrintDialogData().GetPrintData().GetOrientation(),
                  button == wxID_OK ? wxLANDSCAPE : wxPORTRAIT);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
