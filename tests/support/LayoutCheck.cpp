#include "support/LayoutCheck.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combo.h>
#include <wx/control.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <algorithm>

// The few calls of GTK that measure a control; the development headers of GTK are not installed
// with wx's.
extern "C" {
void gtk_widget_get_preferred_width(GtkWidget* widget, int* minimum, int* natural);
void gtk_widget_get_preferred_height_for_width(GtkWidget* widget, int width, int* minimum, int* natural);
int gtk_label_get_line_wrap(GtkWidget* label);
int gtk_label_get_ellipsize(GtkWidget* label);
}

namespace {

std::string Name(const wxWindow& window)
{
    wxString text = window.GetLabel();
    text.Replace("\n", " ");
    return wxString(window.GetClassInfo()->GetClassName()).utf8_string() + " " + std::to_string(window.GetId()) + " \"" +
           text.utf8_string() + "\" at " + std::to_string(window.GetPosition().x) + "," +
           std::to_string(window.GetPosition().y) + " " + std::to_string(window.GetSize().x) + "x" +
           std::to_string(window.GetSize().y);
}

// Room a list header keeps around its text: the frame and padding of its button.
constexpr int kHeaderPadding = 8;

// GTK's sizes of a native control: for the width it has, the height it needs at least; its
// narrowest width and the width it lays its whole text out in.
struct SGtkSizes {
    int minimumHeight = 0;
    int minimumWidth = 0;
    int naturalWidth = 0;
};

SGtkSizes GtkSizes(const wxWindow& control)
{
    GtkWidget* widget = control.GetHandle();
    SGtkSizes sizes;
    int natural = 0;
    gtk_widget_get_preferred_width(widget, &sizes.minimumWidth, &sizes.naturalWidth);
    gtk_widget_get_preferred_height_for_width(widget, std::max(control.GetClientSize().x, sizes.minimumWidth),
                                              &sizes.minimumHeight, &natural);
    return sizes;
}

// The one-line controls a user reads or types into, and labels: each must have the height GTK
// needs for it, and the controls with a text the width GTK lays it out in.
void CheckControl(const wxWindow& control, std::vector<std::string>& faults)
{
    const wxSize room = control.GetClientSize();
    const bool text = dynamic_cast<const wxStaticText*>(&control) || dynamic_cast<const wxAnyButton*>(&control) ||
                      dynamic_cast<const wxCheckBox*>(&control) || dynamic_cast<const wxRadioButton*>(&control) ||
                      dynamic_cast<const wxStaticBox*>(&control);
    const bool field = dynamic_cast<const wxChoice*>(&control) || dynamic_cast<const wxTextCtrl*>(&control) ||
                       dynamic_cast<const wxSpinCtrl*>(&control) || dynamic_cast<const wxSpinCtrlDouble*>(&control);
    if (const auto* combo = dynamic_cast<const wxComboCtrl*>(&control)) {
        // Drawn by wx over a window of its own: the height wx asks GTK's text field for.
        const int needed = combo->GetBestSize().y;
        if (room.y < needed)
            faults.push_back(Name(control) + " lower than the " + std::to_string(needed) + " px of its field");
        return;
    }
    if (!text && !field)
        return;
    const wxString label = wxControl::RemoveMnemonics(control.GetLabel());
    // A group box's frame takes any height; only its title may be cut.
    if (dynamic_cast<const wxStaticBox*>(&control)) {
        const int width = GtkSizes(control).naturalWidth;
        if (!label.empty() && room.x < width)
            faults.push_back("title cut: " + Name(control) + " narrower than its " + std::to_string(width) + " px");
        return;
    }
    // An empty label shows nothing to cut.
    if (dynamic_cast<const wxStaticText*>(&control) && label.empty())
        return;
    const SGtkSizes needed = GtkSizes(control);
    if (room.y < needed.minimumHeight)
        faults.push_back(Name(control) + " lower than the " + std::to_string(needed.minimumHeight) +
                         " px GTK needs for it");
    if (!text || label.empty())
        return;
    const auto* gtkLabel = dynamic_cast<const wxStaticText*>(&control);
    // A label that wraps its words needs room for the longest; any other text, for all of it.
    const bool wraps = gtkLabel && gtk_label_get_line_wrap(control.GetHandle()) &&
                       gtk_label_get_ellipsize(control.GetHandle()) == 0;
    const int width = wraps ? needed.minimumWidth : needed.naturalWidth;
    if (room.x < width)
        faults.push_back("text cut: " + Name(control) + " narrower than the " + std::to_string(width) +
                         " px GTK lays " + (wraps ? "its longest word" : "its text") + " out in");
}

void CheckHeaders(const wxListCtrl& list, std::vector<std::string>& faults)
{
    if (!list.InReportView() || !list.IsShown())
        return;
    int columns = 0;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        columns += list.GetColumnWidth(column);
    // A column a user must scroll to is one he may not know of; a vertical scroll bar may come.
    const int room = list.GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, &list);
    if (columns > room)
        faults.push_back("columns of " + std::to_string(columns) + " px wider than the room " + std::to_string(room) +
                         " px of " + Name(list));
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
        list.GetColumn(column, item);
        const int extent = list.GetTextExtent(item.GetText()).x;
        if (extent + 2 * kHeaderPadding > list.GetColumnWidth(column))
            faults.push_back("header \"" + item.GetText().utf8_string() + "\" (" + std::to_string(extent) +
                             " px) wider than its column of " + std::to_string(list.GetColumnWidth(column)) +
                             " px in " + Name(list));
    }
}

// Group boxes frame other controls, lines part them and may cross each other.
bool Frames(const wxWindow* window)
{
    return dynamic_cast<const wxStaticBox*>(window) || dynamic_cast<const wxStaticLine*>(window);
}

bool Shared(const SharedRectangles& shared, const wxWindow* a, const wxWindow* b)
{
    return std::any_of(shared.begin(), shared.end(), [a, b](const auto& pair) {
        return (pair.first == a && pair.second == b) || (pair.first == b && pair.second == a);
    });
}

void CheckChildren(const wxWindow& parent, const SharedRectangles& shared, const Overlays& overlays,
                   std::vector<std::string>& faults)
{
    std::vector<const wxWindow*> shown;
    for (const wxWindow* child : parent.GetChildren()) {
        if (child->IsTopLevel() || !child->IsShown() ||
            std::find(overlays.begin(), overlays.end(), child) != overlays.end())
            continue;
        shown.push_back(child);
        // What lies beyond its parent's edge is cut off; a frame lays its tool bar out itself.
        if (!dynamic_cast<const wxToolBar*>(child) && !wxRect(parent.GetClientSize()).Contains(child->GetRect()))
            faults.push_back(Name(*child) + " reaches past " + Name(parent));
        if (child->GetClassInfo() == wxCLASSINFO(wxPanel))
            CheckChildren(*child, shared, overlays, faults);
        else if (const auto* list = dynamic_cast<const wxListCtrl*>(child))
            CheckHeaders(*list, faults);
        else
            CheckControl(*child, faults);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (Frames(shown[i]))
            continue;
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            if (Frames(shown[j]) || Shared(shared, shown[i], shown[j]))
                continue;
            if (shown[i]->GetRect().Intersects(shown[j]->GetRect()))
                faults.push_back(Name(*shown[i]) + " overlaps " + Name(*shown[j]));
        }
    }
}

}  // namespace

std::vector<std::string> LayoutFaults(const wxWindow& window, const SharedRectangles& shared,
                                      const Overlays& overlays)
{
    std::vector<std::string> faults;
    CheckChildren(window, shared, overlays, faults);
    return faults;
}

std::string FaultList(const std::vector<std::string>& faults)
{
    std::string text;
    for (const std::string& fault : faults)
        text += "\n  " + fault;
    return text;
}
