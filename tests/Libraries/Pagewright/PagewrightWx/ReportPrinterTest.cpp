#include "Pagewright/Report.h"
#include "PagewrightWx/ReportPrinter.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <wx/cmndata.h>
#include <wx/gtk/print.h>
#include <wx/timer.h>

#include <cstdio>
#include <memory>
#include <string>

// The few calls of GTK the tests need to answer its print dialog; the development headers of
// GTK are not installed with wx's.
extern "C" {
struct SGList {
    void* data;
    SGList* next;
    SGList* prev;
};
void gtk_print_settings_set_printer(GtkPrintSettings* settings, const char* printer);
void gtk_print_settings_set(GtkPrintSettings* settings, const char* key, const char* value);
void* gtk_settings_get_default();
void g_object_set(void* object, const char* name, ...);
SGList* gtk_window_list_toplevels();
void g_list_free(SGList* list);
const char* g_type_name_from_instance(void* instance);
void* gtk_print_unix_dialog_get_selected_printer(void* dialog);
void gtk_dialog_response(void* dialog, int response);
}

namespace {

// A portrait page, a landscape page with a long bar along its top, and a portrait page.
const char kThreePages[] = R"(<report>
  <page><rectangle x="100" y="100" width="1000" height="50" fillcolor="#000000"/></page>
  <page width="2970" height="2100" orientation="LANDSCAPE">
    <rectangle x="100" y="100" width="2600" height="50" fillcolor="#000000"/></page>
  <page><rectangle x="100" y="100" width="1000" height="50" fillcolor="#000000"/></page>
</report>)";

std::string Run(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return output;
    char buffer[4096];
    std::size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, read);
    return output;
}

int PageCount(const std::string& pdf)
{
    const std::string info = Run("pdfinfo '" + pdf + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The bounding box of the dark pixels of a page rendered at 20 pixels per inch, as
// "width x height".
wxSize DarkExtent(const std::string& pdf, int page)
{
    const std::string pgm = Run("pdftoppm -gray -r 20 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                " '" + pdf + "' 2>/dev/null");
    int width = 0;
    int height = 0;
    int max = 0;
    int consumed = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &width, &height, &max, &consumed) != 3)
        return wxSize();
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(pgm.data()) + consumed + 1;
    if (pgm.size() < static_cast<std::size_t>(consumed + 1 + width * height))
        return wxSize();
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[y * width + x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? wxSize() : wxSize(right - left + 1, bottom - top + 1);
}

// GTK's own "Print to File" printer writing a PDF file, so no printer needs to be installed.
wxPrintData FileSettings(const std::string& path)
{
    // Only the file backend: the machine has no print server to ask for printers.
    g_object_set(gtk_settings_get_default(), "gtk-print-backends", "file", nullptr);
    wxPrintData settings;
    settings.SetPrinterName("Print to File");
    settings.SetPrintMode(wxPRINT_MODE_FILE);
    settings.SetFilename(path);
    settings.ConvertToNative();
    GtkPrintSettings* config = static_cast<wxGtkPrintNativeData*>(settings.GetNativeData())->GetPrintConfig();
    gtk_print_settings_set_printer(config, "Print to File");
    gtk_print_settings_set(config, "output-file-format", "pdf");
    gtk_print_settings_set(config, "output-uri", ("file://" + path).c_str());
    return settings;
}

// GTK prints to its file printer only from its dialog: this presses the dialog's Print button
// once the printer of the settings is chosen in it, as a user would.
class CPrintDialogAnswer : public wxTimer {
public:
    CPrintDialogAnswer() { Start(50); }
    void Notify() override
    {
        SGList* windows = gtk_window_list_toplevels();
        for (SGList* node = windows; node != nullptr; node = node->next) {
            if (std::string(g_type_name_from_instance(node->data)) == "GtkPrintUnixDialog" &&
                gtk_print_unix_dialog_get_selected_printer(node->data) != nullptr) {
                gtk_dialog_response(node->data, -5);  // GTK_RESPONSE_OK
                answered = true;
                Stop();
            }
        }
        g_list_free(windows);
    }
    bool answered = false;
};

TEST(ReportPrinter, PrintsEveryPageToAPdfFileWithTheLandscapePageTurned)
{
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("report.pdf");
    CReport document;
    ASSERT_TRUE(document.LoadFromString(kThreePages));
    wxPrintDialogData data(FileSettings(pdf));
    data.SetAllPages(true);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    EXPECT_TRUE(answer.answered);
    ASSERT_EQ(PageCount(pdf), 3);
    // Portrait sheets: the bar of the landscape page runs down the sheet.
    const wxSize portrait = DarkExtent(pdf, 1);
    const wxSize landscape = DarkExtent(pdf, 2);
    EXPECT_GT(portrait.x, 4 * portrait.y);
    EXPECT_GT(landscape.y, 4 * landscape.x);
    EXPECT_GT(landscape.y, portrait.x * 2);
}

TEST(ReportPrinter, PrintsTheRangeOfTheDialogData)
{
    CTemporaryFolder folder;
    const std::string pdf = folder.Path("range.pdf");
    CReport document;
    ASSERT_TRUE(document.LoadFromString(kThreePages));
    wxPrintDialogData data(FileSettings(pdf));
    data.SetMinPage(1);
    data.SetMaxPage(3);
    data.SetFromPage(2);
    data.SetToPage(3);
    CPrintDialogAnswer answer;
    ASSERT_TRUE(CReportPrinter::Print(document, "Report", true, &data));
    ASSERT_EQ(PageCount(pdf), 2);
    // The job starts with the landscape page: its sheets are landscape and page 3 is turned.
    const wxSize landscape = DarkExtent(pdf, 1);
    const wxSize portrait = DarkExtent(pdf, 2);
    EXPECT_GT(landscape.x, 4 * landscape.y);
    EXPECT_GT(portrait.y, 4 * portrait.x);
}

TEST(ReportPrinter, NothingToPrintWithoutPages)
{
    CTemporaryFolder folder;
    CReport empty;
    EXPECT_FALSE(CReportPrinter::PrintToDefaultPrinter(empty, "Report", FileSettings(folder.Path("none.pdf"))));
    EXPECT_TRUE(ReadWholeFile(folder.Path("none.pdf")).empty());
}

}  // namespace
