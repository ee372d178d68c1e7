#include "PagewrightWx/DefaultPrinter.h"

// The few calls of GTK's printer search and of GLib's main loop needed here; their development
// headers are not installed with wx's.
extern "C" {
typedef int gboolean;
typedef void* gpointer;
typedef struct _GtkPrinter GtkPrinter;
typedef struct _GMainContext GMainContext;
typedef gboolean (*GtkPrinterFunc)(GtkPrinter* printer, gpointer data);
typedef void (*GDestroyNotify)(gpointer data);
typedef gboolean (*GSourceFunc)(gpointer data);
void gtk_enumerate_printers(GtkPrinterFunc func, gpointer data, GDestroyNotify destroy, gboolean wait);
gboolean gtk_printer_is_default(GtkPrinter* printer);
unsigned g_timeout_add(unsigned interval, GSourceFunc function, gpointer data);
gboolean g_source_remove(unsigned tag);
gboolean g_main_context_iteration(GMainContext* context, gboolean mayBlock);
}

namespace {

// Lives until GTK ends the search, which may be long after the caller stopped waiting.
struct SSearch {
    bool found = false;
    bool finished = false;
    bool abandoned = false;
};

gboolean OnPrinter(GtkPrinter* printer, gpointer data)
{
    auto* search = static_cast<SSearch*>(data);
    if (!search->abandoned && gtk_printer_is_default(printer))
        search->found = true;
    // True ends the search.
    return search->found || search->abandoned;
}

void OnFinished(gpointer data)
{
    auto* search = static_cast<SSearch*>(data);
    if (search->abandoned)
        delete search;
    else
        search->finished = true;
}

gboolean OnTimeout(gpointer data)
{
    *static_cast<bool*>(data) = true;
    return 0;
}

}  // namespace

bool CDefaultPrinter::Exists(unsigned timeoutMs)
{
    auto* search = new SSearch;
    gtk_enumerate_printers(OnPrinter, search, OnFinished, 0);
    bool timedOut = false;
    const unsigned timer = g_timeout_add(timeoutMs, OnTimeout, &timedOut);
    while (!search->found && !search->finished && !timedOut)
        g_main_context_iteration(nullptr, 1);
    if (!timedOut)
        g_source_remove(timer);
    const bool found = search->found;
    if (search->finished)
        delete search;
    else
        search->abandoned = true;
    return found;
}
