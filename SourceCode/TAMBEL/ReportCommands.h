// The report leaves the program for the device selected on the results page: printed (through
// the print dialog or straight to the chosen printer), written as a PDF file, or handed to the
// mail client with the PDF and the project file attached. Every output reads the template
// "Reports/Zephrin.rpt" of the program folder, puts the device's charts at its graph markers
// and fills it for the current language.
#pragma once

#include "Quillet/Logger.h"

#include <memory>
#include <string>

class CPhysicalData;
class CProjectData;
class CPrivateTempFolder;
class CResultItem;
class CTAMBELReport;
class wxPrintDialogData;
class wxWindow;

class CReportCommands {
public:
    enum class EOutput { Print, PrintDirect, Pdf };
    enum class EResult { Done, Cancelled, Failed };

    CReportCommands();
    ~CReportCommands();

    static std::string GetTemplatePath();

    // The result-list index of the device selected on the results page (the current page having
    // stored its fields first), or -1; with showMessage the user is told to select one.
    static int GetSelectedDevice(bool showMessage);

    // The template read (a trailing CR of a line dropped), the row's charts inserted, loaded,
    // filled and paginated; null on success, else the message for the user (also for a report
    // beyond the bounds of CReport::Paginate).
    static const char* BuildReport(CTAMBELReport& report, const std::string& templatePath, const CResultItem& row,
                                   const CPhysicalData& data, const std::string& language);

    // Any failure has been shown to the user when Failed comes back, running out of memory
    // included; a cancelled dialog is silent. An empty pdfPath asks the user for one.
    EResult OutputReport(const std::string& templatePath, EOutput output, const std::string& pdfPath);

    // The commands of the menu and toolbar.
    void OnFilePrint() { OutputReport(GetTemplatePath(), EOutput::Print, std::string()); }
    void OnFilePrintDirect() { OutputReport(GetTemplatePath(), EOutput::PrintDirect, std::string()); }
    void OnFilePdf() { OutputReport(GetTemplatePath(), EOutput::Pdf, std::string()); }
    void OnFilePrintSetup();
    // The project file and the PDF written to a private folder, then handed to the mail client;
    // nothing is sent when either could not be written.
    void OnFileEmail();

    // The printer, paper and range the print commands use; Print setup changes them.
    wxPrintDialogData& GetPrintDialogData();

private:
    EResult MakeOutput(const std::string& templatePath, EOutput output, const std::string& pdfPath,
                       const CResultItem& row, const CProjectData& project);
    void SendReportByMail();

    CLogger m_log;
    std::unique_ptr<wxPrintDialogData> m_printDialogData;
    // The files of the last e-mail handed off: the mail client reads them after the hand-off
    // has returned, so they go with the next e-mail command or the program.
    std::unique_ptr<CPrivateTempFolder> m_mailFolder;
};
