// GTK's own "Print to File" printer for the printing tests, so no printer needs to be installed.
#pragma once

#include <wx/cmndata.h>
#include <wx/timer.h>

#include <string>
#include <utility>
#include <vector>

// Print settings that choose the file printer writing a PDF file at the path; with a resolution
// (dots per inch, through the print data's quality) the printer's DC of the jobs printed until
// the next settings are made has that many pixels per inch, else GTK's default of 300.
wxPrintData FilePrinterSettings(const std::string& path, int dpi = 0);

// GTK prints to its file printer only from its dialog: this presses the dialog's Print button
// once the printer of the settings is chosen in it, as a user would, while the object lives.
// With page ranges (1-based, first..last each) it chooses those pages in the dialog first.
class CPrintDialogAnswer : public wxTimer {
public:
    explicit CPrintDialogAnswer(std::vector<std::pair<int, int>> pages = {}) : m_pages(std::move(pages)) { Start(50); }
    void Notify() override;
    bool answered = false;

private:
    std::vector<std::pair<int, int>> m_pages;
};
