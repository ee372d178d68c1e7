#include "support/GtkFilePrinter.h"

#include <wx/gtk/print.h>

#include <libintl.h>

// The few calls of GTK the printing tests need to answer its print dialog; the development headers of
// GTK are not installed with wx's.
extern "C" {
struct SGList {
    void* data;
    SGList* next;
    SGList* prev;
};
void gtk_print_settings_set_printer(GtkPrintSettings* settings, const char* printer);
void gtk_print_settings_set(GtkPrintSettings* settings, const char* key, const char* value);
void gtk_print_settings_set_resolution(GtkPrintSettings* settings, int resolution);
unsigned long gtk_print_operation_get_type();
unsigned g_signal_lookup(const char* name, unsigned long type);
unsigned long g_signal_add_emission_hook(unsigned signal, unsigned detail,
                                         int (*hook)(void* hint, unsigned count, const void* values, void* data),
                                         void* data, void (*destroy)(void*));
void* g_value_get_object(const void* value);
void* g_type_class_ref(unsigned long type);
void* gtk_settings_get_default();
void g_object_set(void* object, const char* name, ...);
SGList* gtk_window_list_toplevels();
void g_list_free(SGList* list);
const char* g_type_name_from_instance(void* instance);
void* gtk_print_unix_dialog_get_selected_printer(void* dialog);
void gtk_dialog_response(void* dialog, int response);
struct SGtkPageRange {
    int start;
    int end;
};
GtkPrintSettings* gtk_print_unix_dialog_get_settings(void* dialog);
void gtk_print_unix_dialog_set_settings(void* dialog, GtkPrintSettings* settings);
void gtk_print_settings_set_print_pages(GtkPrintSettings* settings, int pages);
void gtk_print_settings_set_page_ranges(GtkPrintSettings* settings, SGtkPageRange* ranges, int count);
void g_object_unref(void* object);
GtkPrintSettings* gtk_print_operation_get_print_settings(GtkPrintOperation* operation);
}

namespace {

// GTK's print dialog makes the job's settings anew, without the resolution the print data asked
// for: it is put back as the job begins, before wx makes the job's printer DC from them.
int g_resolution = 0;

int RestoreResolution(void*, unsigned, const void* values, void*)
{
    if (g_resolution > 0) {
        gtk_print_settings_set_resolution(
            gtk_print_operation_get_print_settings(static_cast<GtkPrintOperation*>(g_value_get_object(values))),
            g_resolution);
    }
    return 1;  // stays connected
}

}  // namespace

wxPrintData FilePrinterSettings(const std::string& path, int dpi)
{
    // The class is made first: its signals exist only then.
    static const bool hooked =
        g_type_class_ref(gtk_print_operation_get_type()) != nullptr &&
        g_signal_add_emission_hook(g_signal_lookup("begin-print", gtk_print_operation_get_type()), 0,
                                   RestoreResolution, nullptr, nullptr) != 0;
    (void)hooked;
    g_resolution = dpi;
    // Only the file backend: the machine has no print server to ask for printers.
    g_object_set(gtk_settings_get_default(), "gtk-print-backends", "file", nullptr);
    // GTK names its file printer in the language of its texts, which follows the program's.
    const char* printer = dgettext("gtk30", "Print to File");
    wxPrintData settings;
    settings.SetPrinterName(wxString::FromUTF8(printer));
    settings.SetPrintMode(wxPRINT_MODE_FILE);
    settings.SetFilename(path);
    if (dpi > 0)
        settings.SetQuality(dpi);
    settings.ConvertToNative();
    GtkPrintSettings* config = static_cast<wxGtkPrintNativeData*>(settings.GetNativeData())->GetPrintConfig();
    gtk_print_settings_set_printer(config, printer);
    gtk_print_settings_set(config, "output-file-format", "pdf");
    gtk_print_settings_set(config, "output-uri", ("file://" + path).c_str());
    return settings;
}

void CPrintDialogAnswer::Notify()
{
    SGList* windows = gtk_window_list_toplevels();
    for (SGList* node = windows; node != nullptr; node = node->next) {
        if (std::string(g_type_name_from_instance(node->data)) == "GtkPrintUnixDialog" &&
            gtk_print_unix_dialog_get_selected_printer(node->data) != nullptr) {
            if (!m_pages.empty()) {
                std::vector<SGtkPageRange> ranges;
                for (const auto& [first, last] : m_pages)
                    ranges.push_back({first - 1, last - 1});
                GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(node->data);
                gtk_print_settings_set_print_pages(settings, 2);  // GTK_PRINT_PAGES_RANGES
                gtk_print_settings_set_page_ranges(settings, ranges.data(), static_cast<int>(ranges.size()));
                gtk_print_unix_dialog_set_settings(node->data, settings);
                g_object_unref(settings);
            }
            gtk_dialog_response(node->data, -5);  // GTK_RESPONSE_OK
            answered = true;
            Stop();
        }
    }
    g_list_free(windows);
}
