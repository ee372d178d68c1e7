#include "support/WxTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

// GTK's development headers are not installed with wx's: the few calls are declared here.
extern "C" {
GdkWindow* gdk_get_default_root_window();
GdkPixbuf* gdk_pixbuf_get_from_window(GdkWindow* window, int x, int y, int width, int height);
int gdk_pixbuf_get_width(const GdkPixbuf* pixbuf);
int gdk_pixbuf_get_height(const GdkPixbuf* pixbuf);
int gdk_pixbuf_get_rowstride(const GdkPixbuf* pixbuf);
int gdk_pixbuf_get_n_channels(const GdkPixbuf* pixbuf);
unsigned char* gdk_pixbuf_get_pixels(const GdkPixbuf* pixbuf);
void g_object_unref(void* object);
unsigned long gtk_label_get_type();
unsigned long gtk_container_get_type();
int g_type_check_instance_is_a(void* instance, unsigned long type);
const char* gtk_label_get_text(void* label);
void gtk_container_forall(void* container, void (*callback)(void* widget, void* data), void* data);
}

void Pump()
{
    // The event loop's own pieces rather than wxYield, which must not be called again from an
    // event handler that a yield is running.
    for (int round = 0; round < 5; ++round) {
        wxTheApp->ProcessPendingEvents();
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        while (loop && loop->Pending())
            loop->Dispatch();
        wxTheApp->ProcessIdle();
        wxMilliSleep(5);
    }
}

void PumpFor(int milliseconds)
{
    wxStopWatch watch;
    do {
        Pump();
    } while (watch.Time() < milliseconds);
}

bool WaitFor(const std::function<bool()>& condition)
{
    wxStopWatch watch;
    while (!condition()) {
        if (watch.Time() > 10000)
            return condition();
        Pump();
    }
    return true;
}

void ShowAndFocus(wxWindow* topLevel)
{
    topLevel->Show();
    topLevel->Raise();
    WaitFor([topLevel] { return topLevel->IsShownOnScreen(); });
    Pump();
    wxUIActionSimulator().MouseMove(topLevel->GetScreenRect().GetPosition() + wxPoint(5, 5));
    Pump();
}

wxBitmap Snapshot(wxWindow* window)
{
    // The desktop paints on its own clock: give it time for what the test changed.
    window->Refresh();
    for (int round = 0; round < 8; ++round) {
        window->Update();
        Pump();
    }
    // From the window itself: the screen may still show what was there before it.
    return ClientPixels(window);
}

wxBitmap ClientPixels(wxWindow* window)
{
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size);
    wxClientDC source(window);
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, size.x, size.y, &source, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap;
}

wxBitmap ScreenArea(const wxRect& area)
{
    // Read from the X server each time: wx's screen DC may hand back the pixels of an earlier
    // read, so a second window in the same place would show its predecessor.
    wxImage image(area.GetSize());
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), area.x, area.y, area.width,
                                                   area.height);
    if (!pixels)
        return wxBitmap(image);
    const int width = std::min(area.width, gdk_pixbuf_get_width(pixels));
    const int height = std::min(area.height, gdk_pixbuf_get_height(pixels));
    const int stride = gdk_pixbuf_get_rowstride(pixels);
    const int channels = gdk_pixbuf_get_n_channels(pixels);
    const unsigned char* data = gdk_pixbuf_get_pixels(pixels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* pixel = data + y * stride + x * channels;
            image.SetRGB(x, y, pixel[0], pixel[1], pixel[2]);
        }
    }
    g_object_unref(pixels);
    return wxBitmap(image);
}

wxBitmap WholeWindow(wxWindow* topLevel)
{
    topLevel->Move(0, 0);
    WaitFor([topLevel] { return topLevel->IsShownOnScreen(); });
    PumpFor(100);
    Snapshot(topLevel);
    return ScreenArea(wxRect(wxPoint(0, 0), topLevel->GetSize()));
}

bool ScreenshotsWanted()
{
    const char* folder = std::getenv("ZEPHRIN_SCREENSHOT_DIR");
    return folder != nullptr && *folder != '\0';
}

void SaveScreenshot(const wxBitmap& bitmap, const std::string& name)
{
    if (ScreenshotsWanted())
        bitmap.SaveFile(wxString::FromUTF8(std::string(std::getenv("ZEPHRIN_SCREENSHOT_DIR")) + "/" + name + ".png"),
                        wxBITMAP_TYPE_PNG);
}

void SendMouse(wxWindow* window, wxEventType type, const wxPoint& point)
{
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

namespace {

bool IsColour(const wxImage& image, int x, int y, const wxColour& colour)
{
    return image.GetRed(x, y) == colour.Red() && image.GetGreen(x, y) == colour.Green() &&
           image.GetBlue(x, y) == colour.Blue();
}

}  // namespace

int CountColour(const wxImage& image, const wxColour& colour, const wxRect& area)
{
    const wxRect scanned = area.IsEmpty() ? wxRect(image.GetSize()) : area.Intersect(wxRect(image.GetSize()));
    int count = 0;
    for (int y = scanned.GetTop(); y <= scanned.GetBottom(); ++y) {
        for (int x = scanned.GetLeft(); x <= scanned.GetRight(); ++x) {
            if (IsColour(image, x, y, colour))
                ++count;
        }
    }
    return count;
}

wxRect ColourBounds(const wxImage& image, const wxColour& colour)
{
    wxRect bounds;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (IsColour(image, x, y, colour))
                bounds = bounds.IsEmpty() ? wxRect(x, y, 1, 1) : bounds.Union(wxRect(x, y, 1, 1));
        }
    }
    return bounds;
}

void SDeleteWindow::operator()(wxWindow* window) const
{
    if (window->GetHandle())
        window->Hide();
    delete window;
}

namespace {

void CollectLabelTexts(void* widget, void* data)
{
    auto* texts = static_cast<std::vector<std::string>*>(data);
    if (g_type_check_instance_is_a(widget, gtk_label_get_type()))
        texts->push_back(gtk_label_get_text(widget));
    if (g_type_check_instance_is_a(widget, gtk_container_get_type()))
        gtk_container_forall(widget, CollectLabelTexts, texts);
}

}  // namespace

std::vector<std::string> NativeLabelTexts(void* widget)
{
    std::vector<std::string> texts;
    if (widget)
        CollectLabelTexts(widget, &texts);
    return texts;
}
