#include "support/LayoutCheck.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/control.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/tglbtn.h>
#include <wx/toolbar.h>

#include <algorithm>

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

int WidestLine(const wxWindow& window, const wxString& text)
{
    int widest = 0;
    for (const wxString& line : wxSplit(text, '\n', '\0'))
        widest = std::max(widest, window.GetTextExtent(line).x);
    return widest;
}

// Room GTK keeps around a text inside the control's edge: frame and padding of a button, the
// box of a check box or radio button.
constexpr int kButtonPadding = 8;

void CheckText(const wxWindow& control, std::vector<std::string>& faults)
{
    const wxString text = wxControl::RemoveMnemonics(control.GetLabel());
    if (text.empty() || !control.IsShown())
        return;
    const int width = control.GetClientSize().x;
    const int lineHeight = control.GetCharHeight();
    int room = width;
    if (dynamic_cast<const wxStaticText*>(&control)) {
        // Lines broken by the program and needing no wrapping take the height GTK lays them
        // out in.
        const int needed = control.GetBestSize().y;
        if (text.Contains('\n') && WidestLine(control, text) <= width && needed > control.GetClientSize().y)
            faults.push_back("text " + std::to_string(needed) + " px taller than " + Name(control));
        // A label of several lines wraps its words: each word must fit, and the lines must fit
        // the height.
        const int lines = std::max(1, control.GetClientSize().y / lineHeight);
        if (lines > 1) {
            int used = 0;
            int count = 1;
            for (const wxString& word : wxSplit(text, ' ', '\0')) {
                const int extent = control.GetTextExtent(word).x;
                if (extent > width)
                    faults.push_back("word \"" + word.utf8_string() + "\" wider than " + Name(control));
                used += (used ? control.GetTextExtent(" ").x : 0) + extent;
                if (used > width) {
                    ++count;
                    used = extent;
                }
            }
            if (count > lines)
                faults.push_back("text of " + std::to_string(count) + " lines taller than " + Name(control));
            return;
        }
    } else if (dynamic_cast<const wxCheckBox*>(&control) || dynamic_cast<const wxRadioButton*>(&control)) {
        room = width - lineHeight;
    } else if (dynamic_cast<const wxAnyButton*>(&control)) {
        room = width - 2 * kButtonPadding;
    }
    if (WidestLine(control, text) > room)
        faults.push_back("text " + std::to_string(WidestLine(control, text)) + " px wider than room " +
                         std::to_string(room) + " of " + Name(control));
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
        if (extent + 2 * kButtonPadding > list.GetColumnWidth(column))
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
        else if (dynamic_cast<const wxStaticText*>(child) || dynamic_cast<const wxAnyButton*>(child) ||
                 dynamic_cast<const wxCheckBox*>(child) || dynamic_cast<const wxRadioButton*>(child) ||
                 dynamic_cast<const wxStaticBox*>(child))
            CheckText(*child, faults);
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
