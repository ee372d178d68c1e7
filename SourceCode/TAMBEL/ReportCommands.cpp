#include "TAMBEL/ReportCommands.h"

#include "CommonFiles/ProjectData.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "PagewrightWx/ReportPrinter.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "Renovix/RenovixLib/PrivateTempFolder.h"
#include "Pagewright/ReportExporterPdf.h"
#include "TAMBEL/Pages/PageResults.h"
#include "TAMBEL/ProjectFileDialog.h"
#include "TAMBEL/Report/EmailTemplate.h"
#include "TAMBEL/Report/MailSession.h"
#include "TAMBEL/Report/MapiMessage.h"
#include "TAMBEL/Report/ResultGraph.h"
#include "TAMBEL/TAMBELApp.h"
#include "TAMBEL/TAMBELDlg.h"
#include "TAMBEL/TAMBELReport.h"
#include "Platform/WholeFile.h"

#include <wx/cmndata.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/utils.h>

#include <new>


namespace {

const char kMailErrors[] = "Mail errors";

wxWindow* MessageOwner()
{
    const CTAMBELApp* app = CTAMBELApp::GetApp();
    return app && app->GetMainDialog() ? app->GetMainDialog()->GetFrame() : nullptr;
}

void ShowError(const char* text)
{
    ShowMessageBox(MessageOwner(), text, "Error", wxOK | wxICON_ERROR);
}

void ShowMailError(const char* text)
{
    ShowMessageBox(nullptr, text, kMailErrors, wxOK | wxICON_ERROR);
}

}  // namespace

CReportCommands::CReportCommands()
    : m_log(CLogManager::GetInstance()->GetLogger("CReportCommands", LOGLEVEL_PARENT))
{
}

CReportCommands::~CReportCommands() = default;

wxPrintDialogData& CReportCommands::GetPrintDialogData()
{
    // Made on first use: print data made before the toolkit's print support is set up (as by
    // this object's owner, the application) carries no native settings, and GTK's dialogs crash on it.
    if (!m_printDialogData) {
        m_printDialogData = std::make_unique<wxPrintDialogData>();
        m_printDialogData->SetAllPages(true);
    }
    return *m_printDialogData;
}

std::string CReportCommands::GetTemplatePath()
{
    return CHarbinax::GetProgramFolder() + "Reports/Zephrin.rpt";
}

int CReportCommands::GetSelectedDevice(bool showMessage)
{
    long index = -1;
    const CTAMBELApp* app = CTAMBELApp::GetApp();
    if (CTAMBELDlg* dialog = app ? app->GetMainDialog() : nullptr) {
        dialog->OnLeavePage();
        if (const wxListCtrl* list = dialog->GetResultsPage().GetDeviceList()) {
            const long selected = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
            if (selected >= 0 && selected < list->GetItemCount())
                index = static_cast<long>(list->GetItemData(selected));
        }
    }
    if (!showMessage)
        return static_cast<int>(index);
    const CProjectData* project = CProjectData::GetInstance();
    if (project && index >= 0 && index <= project->results.GetUpperBound())
        return static_cast<int>(index);
    ShowMessageBox(MessageOwner(), "Please select a device first!", "Notice", wxOK | wxICON_INFORMATION);
    return -1;
}

const char* CReportCommands::BuildReport(CTAMBELReport& report, const std::string& templatePath,
                                         const CResultItem& row, const CPhysicalData& data,
                                         const std::string& language)
{
    std::string text;
    if (!Platform::ReadWholeFile(templatePath, text))
        return "Could not open report template!";
    const std::string expanded =
        InsertResultGraphs(text, row, TranslateText("Error indicated is for volumetric flow measurement."));
    // Pictures of the template lie beside it.
    const std::size_t slash = templatePath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : templatePath.substr(0, slash + 1);
    if (!report.LoadFromString(expanded, folder))
        return "Could not open report!";
    report.FillReportFields(data, row, language);
    // Laid out before any output, so a report too large to draw is refused whole.
    if (!report.Paginate())
        return "Could not open report!";
    return nullptr;
}

CReportCommands::EResult CReportCommands::OutputReport(const std::string& templatePath, EOutput output,
                                                       const std::string& pdfPath)
{
    const int index = GetSelectedDevice(true);
    CProjectData* project = CProjectData::GetInstance();
    if (index < 0 || !project)
        return EResult::Cancelled;
    // The row as it is now; sizing again while the report is made must not change it.
    const CResultItem row = project->results.GetAt(index);
    // A report that needs more memory than there is ends here, its memory given back before
    // the user is told; the project is only read, so it stays as it was.
    try {
        return MakeOutput(templatePath, output, pdfPath, row, *project);
    } catch (const std::bad_alloc&) {
        QUILLET_POS(m_log);
        m_log.Error("Out of memory making the report from %s", templatePath.c_str());
        ShowError(output == EOutput::Pdf ? "Could not export report to PDF!" : "Could not open report!");
        return EResult::Failed;
    }
}

CReportCommands::EResult CReportCommands::MakeOutput(const std::string& templatePath, EOutput output,
                                                     const std::string& pdfPath, const CResultItem& row,
                                                     const CProjectData& project)
{
    CTAMBELReport report;
    if (const char* message = BuildReport(report, templatePath, row, project.physical, GetAppLanguage())) {
        QUILLET_POS(m_log);
        m_log.Error("Report not made from %s: %s", templatePath.c_str(), message);
        ShowError(message);
        return EResult::Failed;
    }
    const wxString name = wxString::FromUTF8(TranslateText("TAMBEL"));
    switch (output) {
    case EOutput::Pdf: {
        const std::string path = pdfPath.empty() ? AskPdfFilePath(MessageOwner()) : pdfPath;
        if (path.empty())
            return EResult::Cancelled;
        CReportExporterPdf exporter;
        if (exporter.Export(&report, path) == 0) {
            QUILLET_POS(m_log);
            m_log.Error("Report not exported to %s", path.c_str());
            ShowError("Could not export report to PDF!");
            return EResult::Failed;
        }
        return EResult::Done;
    }
    case EOutput::PrintDirect:
        // A cancelled dialog or a missing printer is not worth a message.
        return CReportPrinter::PrintToDefaultPrinter(report, name, GetPrintDialogData().GetPrintData(), MessageOwner())
                   ? EResult::Done
                   : EResult::Cancelled;
    case EOutput::Print:
        break;
    }
    return CReportPrinter::Print(report, name, true, &GetPrintDialogData(), MessageOwner()) ? EResult::Done
                                                                                              : EResult::Cancelled;
}

void CReportCommands::OnFilePrintSetup()
{
    CReportPrinter::SetupPage(GetPrintDialogData().GetPrintData(), wxString::FromUTF8(TranslateText("Page Setup")),
                              MessageOwner());
}

void CReportCommands::OnFileEmail()
{
    if (GetSelectedDevice(true) < 0)
        return;
    // The last message's files stay until now: the mail client may read them after the hand-off.
    m_mailFolder.reset();
    // The report's own steps say so themselves; this catches what the message and its files need.
    try {
        SendReportByMail();
    } catch (const std::bad_alloc&) {
        QUILLET_POS(m_log);
        m_log.Error("Out of memory making the e-mail");
        ShowError("Could not export report to PDF!");
    }
}

void CReportCommands::SendReportByMail()
{
    wxBusyCursor wait;
    CMailSession session;
    if (!session.IsLoaded()) {
        ShowMailError("No email client was found.\nSending of emails is not possible.");
        return;
    }
    CMapiMessage message;
    const std::string placeholder = TranslateText("Insert recipient here");
    message.to.push_back({placeholder, placeholder});
    message.subject = TranslateText("TAMBEL");
    CEmailTemplate::Read(CHarbinax::GetProgramFolder() + "email_" + GetAppLanguage() + ".txt", message.subject,
                         message.body);

    // Fixed names, as the receiver sees them, in a folder of this command alone.
    auto folder = std::make_unique<CPrivateTempFolder>("zephrin");
    if (folder->Folder().empty()) {
        ShowError("Could not create report file!");
        return;
    }
    // Each step has told the user why it failed; a mail without its attachments is not sent.
    CTAMBELApp* app = CTAMBELApp::GetApp();
    const std::string projectPath = folder->Folder() + "Zephrin.xml";
    const std::string pdfPath = folder->Folder() + "Zephrin.pdf";
    if (!app || !app->SaveProjectFile(projectPath, false))
        return;
    if (OutputReport(GetTemplatePath(), EOutput::Pdf, pdfPath) != EResult::Done)
        return;
    message.attachmentPaths = {projectPath, pdfPath};
    message.attachmentTitles = {"Zephrin.xml", "Zephrin.pdf"};
    if (!session.SendMail(message)) {
        ShowMailError("Errors occured during the sending of the email.\nCould not send the message.");
        return;
    }
    m_mailFolder = std::move(folder);
}
