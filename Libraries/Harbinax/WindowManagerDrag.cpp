#include "Harbinax/WindowManagerDrag.h"

#include <wx/toplevel.h>

#include <dlfcn.h>

namespace {

// The toolkit's own calls, looked up in the process once: wx links the toolkit but does not
// offer these, and its headers are not needed for two calls.
using MoveDrag = void (*)(void* gtkWindow, int button, int rootX, int rootY, unsigned timestamp);
using ResizeDrag = void (*)(void* gtkWindow, int edge, int button, int rootX, int rootY, unsigned timestamp);

template <class TFunction>
TFunction Lookup(const char* name)
{
    return reinterpret_cast<TFunction>(dlsym(RTLD_DEFAULT, name));
}

// The toolkit's window edges by size command 0xF001..0xF008: left, right, top, top-left,
// top-right, bottom, bottom-left, bottom-right.
constexpr int edges[8] = {3, 4, 1, 0, 2, 6, 5, 7};

}  // namespace

bool BeginWindowMoveDrag(wxTopLevelWindow* window, int button, const wxPoint& screenPoint)
{
    static const MoveDrag begin = Lookup<MoveDrag>("gtk_window_begin_move_drag");
    if (!begin || !window || !window->GetHandle())
        return false;
    begin(window->GetHandle(), button, screenPoint.x, screenPoint.y, 0);
    return true;
}

bool BeginWindowResizeDrag(wxTopLevelWindow* window, int sizeCommand, int button, const wxPoint& screenPoint)
{
    static const ResizeDrag begin = Lookup<ResizeDrag>("gtk_window_begin_resize_drag");
    if (!begin || !window || !window->GetHandle() || sizeCommand < 0xF001 || sizeCommand > 0xF008)
        return false;
    begin(window->GetHandle(), edges[sizeCommand - 0xF001], button, screenPoint.x, screenPoint.y, 0);
    return true;
}
