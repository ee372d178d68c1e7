// GTK's own "Print to File" printer for the printing tests, so no printer needs to be installed.
#pragma once

#include <wx/cmndata.h>
#include <wx/timer.h>

#include <string>

// Print settings that choose the file printer writing a PDF file at the path.
wxPrintData FilePrinterSettings(const std::string& path);

// GTK prints to its file printer only from its dialog: this presses the dialog's Print button
// once the printer of the settings is chosen in it, as a user would, while the object lives.
class CPrintDialogAnswer : public wxTimer {
public:
    CPrintDialogAnswer() { Start(50); }
    void Notify() override;
    bool answered = false;
};
