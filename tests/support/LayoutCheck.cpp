#include "support/LayoutCheck.h"

#include "Harbinax/FilterEdit.h"

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
#include <wx/toplevel.h>

#include <algorithm>
#include <cstdlib>

// The few calls of GTK that measure a control; the development headers of GTK are not installed
// with wx's.
struct SGdkRectangle {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

extern "C" {
void gtk_entry_get_text_area(GtkWidget* entry, SGdkRectangle* area);
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
// Room a list's cell keeps beside its text; a narrower cell ends its text with "...".
constexpr int kEntryPadding = 8;
// Room beyond its texts a column may keep, in lines of the list's font, when the list scrolls.
constexpr int kColumnSlack = 2;
// Sibling controls closer than this look as if they were one.
constexpr int kLeastGap = 2;
// How far a label's centre may lie from the centre of the field it names.
constexpr int kCentreTolerance = 2;
// What a window's title bar takes besides the title: its icon and buttons.
constexpr int kTitleBarButtons = 120;

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

// A one-line field shows the longest text it accepts whole: a cut number is a wrong reading.
// The room is what GTK leaves the text inside the field's frame and padding.
void CheckFieldRoom(const CFilterEdit& edit, std::vector<std::string>& faults)
{
    if (edit.IsMultiLine())
        return;
    const wxString widest = edit.WidestAcceptedText();
    if (widest.empty())
        return;
    SGdkRectangle area;
    gtk_entry_get_text_area(edit.GetHandle(), &area);
    const int need = edit.GetTextExtent(widest).x;
    if (area.width < need)
        faults.push_back("value cut: " + Name(edit) + " shows " + std::to_string(area.width) +
                         " px of text, its longest accepted text \"" + widest.utf8_string() + "\" takes " +
                         std::to_string(need) + " px");
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
    if (const auto* edit = dynamic_cast<const CFilterEdit*>(&control))
        CheckFieldRoom(*edit, faults);
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
    // A label GTK shortens with an ellipsis shows its whole text as its tip.
    const bool tipped = gtkLabel && gtk_label_get_ellipsize(control.GetHandle()) != 0 &&
                        control.GetToolTipText() == label;
    if (room.x < width && !tipped)
        faults.push_back("text cut: " + Name(control) + " narrower than the " + std::to_string(width) +
                         " px GTK lays " + (wraps ? "its longest word" : "its text") + " out in");
}

void CheckColumns(const wxListCtrl& list, std::vector<std::string>& faults)
{
    if (!list.InReportView() || !list.IsShown())
        return;
    int columns = 0;
    int widest = -1;      // the column with the most room beyond its texts
    int widestSpare = 0;
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        const int width = list.GetColumnWidth(column);
        columns += width;
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
        list.GetColumn(column, item);
        const int extent = list.GetTextExtent(item.GetText()).x;
        if (extent + 2 * kHeaderPadding > width)
            faults.push_back("header \"" + item.GetText().utf8_string() + "\" (" + std::to_string(extent) +
                             " px) wider than its column of " + std::to_string(width) + " px in " + Name(list));
        int need = extent + 2 * kHeaderPadding;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            const wxString text = list.GetItemText(row, column);
            const int entry = list.GetTextExtent(text).x;
            need = std::max(need, entry + kEntryPadding);
            if (entry + kEntryPadding > width) {
                faults.push_back("entry \"" + text.utf8_string() + "\" (" + std::to_string(entry) +
                                 " px) cut in its column of " + std::to_string(width) + " px in " + Name(list));
                break;
            }
        }
        if (width - need > widestSpare) {
            widestSpare = width - need;
            widest = column;
        }
    }
    // Scrolling sideways is there to show whole texts, not room they do not use; a vertical
    // scroll bar may come.
    const int room = list.GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, &list);
    if (columns > room && widestSpare > kColumnSlack * list.GetCharHeight())
        faults.push_back("columns of " + std::to_string(columns) + " px wider than the room " + std::to_string(room) +
                         " px of " + Name(list) + ", column " + std::to_string(widest) + " " +
                         std::to_string(widestSpare) + " px wider than its texts");
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

// The fields a label names: the one-line controls a user types into or picks from.
bool IsField(const wxWindow* window)
{
    if (const auto* text = dynamic_cast<const wxTextCtrl*>(window))
        return !text->IsMultiLine();
    return dynamic_cast<const wxChoice*>(window) || dynamic_cast<const wxComboCtrl*>(window) ||
           dynamic_cast<const wxSpinCtrl*>(window) || dynamic_cast<const wxSpinCtrlDouble*>(window);
}

// A label of one line stands in the middle of the field right beside it, as the field's text does.
void CheckLabelCentre(const wxWindow& label, const std::vector<const wxWindow*>& siblings,
                      std::vector<std::string>& faults)
{
    if (!dynamic_cast<const wxStaticText*>(&label) || label.GetLabel().empty())
        return;
    const wxRect rect = label.GetRect();
    if (rect.height >= 2 * label.GetCharHeight())
        return;
    // The nearest control to the right in the label's row.
    const wxWindow* field = nullptr;
    for (const wxWindow* sibling : siblings) {
        const wxRect other = sibling->GetRect();
        const bool beside = other.x >= rect.x + rect.width && other.y < rect.y + rect.height &&
                            rect.y < other.y + other.height;
        if (!Frames(sibling) && beside && (!field || other.x < field->GetPosition().x))
            field = sibling;
    }
    if (!field || !IsField(field))
        return;
    // In half pixels, as a centre may lie between two.
    const wxRect other = field->GetRect();
    const int offset = (2 * rect.y + rect.height) - (2 * other.y + other.height);
    if (std::abs(offset) > 2 * kCentreTolerance)
        faults.push_back("label " + Name(label) + " centred " + std::to_string(std::abs(offset) / 2) +
                         (std::abs(offset) % 2 ? ".5" : "") + (offset < 0 ? " px above" : " px below") +
                         " the middle of " + Name(*field));
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
            CheckColumns(*list, faults);
        else
            CheckControl(*child, faults);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (Frames(shown[i]))
            continue;
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            if (Frames(shown[j]) || Shared(shared, shown[i], shown[j]))
                continue;
            // A frame lays its tool bar out above its client area.
            const bool toolBar = dynamic_cast<const wxToolBar*>(shown[i]) || dynamic_cast<const wxToolBar*>(shown[j]);
            const wxRect rect = shown[i]->GetRect();
            if (rect.Intersects(shown[j]->GetRect()))
                faults.push_back(Name(*shown[i]) + " overlaps " + Name(*shown[j]));
            else if (!toolBar && wxRect(rect).Inflate(kLeastGap).Intersects(shown[j]->GetRect()))
                faults.push_back(Name(*shown[i]) + " less than " + std::to_string(kLeastGap) + " px from " +
                                 Name(*shown[j]));
        }
        CheckLabelCentre(*shown[i], shown, faults);
    }
}

}  // namespace

std::vector<std::string> LayoutFaults(const wxWindow& window, const SharedRectangles& shared,
                                      const Overlays& overlays)
{
    std::vector<std::string> faults;
    if (const auto* topLevel = dynamic_cast<const wxTopLevelWindow*>(&window)) {
        // Title bars draw their title in a bold face of the desktop's font.
        const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold();
        int title = 0;
        int height = 0;
        topLevel->GetTextExtent(topLevel->GetTitle(), &title, &height, nullptr, nullptr, &font);
        const int need = title + kTitleBarButtons;
        if (!topLevel->GetTitle().empty() && window.GetSize().x < need)
            faults.push_back("title cut: \"" + topLevel->GetTitle().utf8_string() + "\" in the " +
                             std::to_string(window.GetSize().x) + " px of the window, which needs " +
                             std::to_string(need) + " px");
    }
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
