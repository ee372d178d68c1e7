// The layout check the page and dialog walks rely on: each kind of fault it knows is found in a
// window made to have it, and a window without one passes.
#include "Harbinax/FilterEdit.h"
#include "support/LayoutCheck.h"
#include "support/WxTestSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/odcombo.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

TEST(LayoutCheck, FindsEachFaultItKnows)
{
    const struct {
        const char* fault;  // part of the one fault expected; empty for none
        std::function<void(wxWindow*)> make;
    } cases[] = {
        {"", [](wxWindow* panel) { new wxButton(panel, wxID_ANY, "OK", {10, 10}, {100, 40}); }},
        {" overlaps ",
         [](wxWindow* panel) {
             new wxButton(panel, wxID_ANY, "A", {10, 10}, {80, 40});
             new wxButton(panel, wxID_ANY, "B", {50, 20}, {80, 40});
         }},
        {"text cut: ",
         [](wxWindow* panel) {
             new wxStaticText(panel, wxID_ANY, "A label far too long", {10, 10}, {30, 20}, wxST_ELLIPSIZE_END);
         }},
        {" lower than ",
         [](wxWindow* panel) { new wxStaticText(panel, wxID_ANY, "one\ntwo\nthree", {10, 10}, {200, 40}); }},
        {" lower than ",
         [](wxWindow* panel) {
             new wxStaticText(panel, wxID_ANY, "a label of words that wraps into more lines than it has", {10, 10},
                              {100, 40}, wxST_NO_AUTORESIZE);
         }},
        {" wider than the room ",
         [](wxWindow* panel) {
             auto* list = new wxListCtrl(panel, wxID_ANY, {10, 10}, {150, 100}, wxLC_REPORT);
             list->AppendColumn("A", wxLIST_FORMAT_LEFT, 100);
             list->AppendColumn("B", wxLIST_FORMAT_LEFT, 100);
         }},
        {" reaches past ", [](wxWindow* panel) { new wxButton(panel, wxID_ANY, "OK", {350, 10}, {100, 40}); }},
        // Squeezed below what GTK needs to show them, each is unreadable.
        {" lower than ",
         [](wxWindow* panel) {
             auto* choice = new wxChoice(panel, wxID_ANY, {10, 10}, {150, 16});
             choice->Append("Liquid");
             choice->SetSelection(0);
         }},
        {" lower than ", [](wxWindow* panel) { new wxButton(panel, wxID_ANY, "Calculate", {10, 10}, {120, 10}); }},
        {" lower than ", [](wxWindow* panel) { new wxCheckBox(panel, wxID_ANY, "Show all", {10, 10}, {150, 5}); }},
        {" lower than ", [](wxWindow* panel) { new wxTextCtrl(panel, wxID_ANY, "12.5", {10, 10}, {80, 12}); }},
        {" lower than ",
         [](wxWindow* panel) { new wxComboBox(panel, wxID_ANY, "bar", {10, 10}, {120, 14}, 0, nullptr, wxCB_READONLY); }},
        {" lower than ", [](wxWindow* panel) { new wxSpinCtrl(panel, wxID_ANY, "3", {10, 10}, {120, 12}); }},
        {" lower than ", [](wxWindow* panel) { new wxRadioButton(panel, wxID_ANY, "Graph", {10, 10}, {150, 6}); }},
        {" lower than ",
         [](wxWindow* panel) { new wxStaticText(panel, wxID_ANY, "Pressure:", {10, 10}, {150, 6}, wxST_NO_AUTORESIZE); }},
        {" lower than ",
         [](wxWindow* panel) {
             new wxOwnerDrawnComboBox(panel, wxID_ANY, "kg/h", {10, 10}, {120, 8}, 0, nullptr, wxCB_READONLY);
         }},
        {"text cut: ", [](wxWindow* panel) { new wxButton(panel, wxID_ANY, "Convert to operational", {10, 10}, {60, 50}); }},
        {"text cut: ", [](wxWindow* panel) { new wxCheckBox(panel, wxID_ANY, "Show every device", {10, 10}, {60, 50}); }},
        {"text cut: ",
         [](wxWindow* panel) {
             new wxStaticText(panel, wxID_ANY, "Converted values", {10, 10}, {40, 30}, wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
         }},
        {"text cut: ",
         [](wxWindow* panel) { new wxStaticText(panel, wxID_ANY, wxString::FromUTF8("Durchflussmessgerät"), {10, 10}, {40, 200},
                              wxST_NO_AUTORESIZE); }},
        {"title cut: ", [](wxWindow* panel) { new wxStaticBox(panel, wxID_ANY, "Norm. flow conditions", {10, 10}, {40, 100}); }},
        {" less than 2 px from ",
         [](wxWindow* panel) {
             new wxCheckBox(panel, wxID_ANY, "Tuesday", {10, 10}, {150, 24});
             new wxCheckBox(panel, wxID_ANY, "Wednesday", {10, 35}, {150, 24});
         }},
        {"", [](wxWindow* panel) {
             new wxCheckBox(panel, wxID_ANY, "Tuesday", {10, 10}, {150, 24});
             new wxCheckBox(panel, wxID_ANY, "Wednesday", {10, 36}, {150, 24});
         }},
        {" px above the middle of ",
         [](wxWindow* panel) {
             const int field = 50;  // taller than GTK's text field
             new wxStaticText(panel, wxID_ANY, "Temperature:", {10, 20}, {100, 20});
             new wxTextCtrl(panel, wxID_ANY, "20", {120, 20}, {80, field});
         }},
        {"", [](wxWindow* panel) {
             const int field = 50;  // taller than GTK's text field
             new wxStaticText(panel, wxID_ANY, "Temperature:", {10, 20 + (field - 20) / 2}, {100, 20});
             new wxTextCtrl(panel, wxID_ANY, "20", {120, 20}, {80, field});
         }},
        {"title cut: ",
         [](wxWindow* panel) {
             wxGetTopLevelParent(panel)->SetLabel("A title of a window far too long for the width of its window");
         }},
        {"entry \"DN 25 high-pressure version\"",
         [](wxWindow* panel) {
             auto* list = new wxListCtrl(panel, wxID_ANY, {10, 10}, {300, 100}, wxLC_REPORT);
             list->AppendColumn("Size", wxLIST_FORMAT_LEFT, 100);
             list->InsertItem(0, "DN 25 high-pressure version");
         }},
        // A field that takes eight characters of a number shows them whole: in a field of the
        // gas-mix dialog's old 52 px, "78.084" lost its first digit.
        {"value cut: ",
         [](wxWindow* panel) {
             auto* share = new CFilterEdit(panel, wxID_ANY, "78.084", {10, 10}, {52, 34}, wxTE_RIGHT);
             share->SetNumeric(true, true);
             share->SetMaxLength(8);
         }},
        {"", [](wxWindow* panel) {
             auto* share = new CFilterEdit(panel, wxID_ANY, "78.084", {10, 10}, {200, 34}, wxTE_RIGHT);
             share->SetNumeric(true, true);
             share->SetMaxLength(8);
         }},
        // Free text scrolls in its field, whatever its limit.
        {"", [](wxWindow* panel) { new CFilterEdit(panel, wxID_ANY, "Müller", {10, 10}, {52, 34}); }},
        // A label shortened with an ellipsis is read whole in its tip.
        {"", [](wxWindow* panel) {
             auto* label = new wxStaticText(panel, wxID_ANY, "99999999999999999999999999.0", {10, 10}, {40, 30},
                                            wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
             label->SetToolTip(label->GetLabel());
         }},
        // Whole texts may make a list scroll sideways.
        {"", [](wxWindow* panel) {
             auto* list = new wxListCtrl(panel, wxID_ANY, {10, 10}, {150, 100}, wxLC_REPORT);
             for (const char* text : {"DN 25 high-pressure version", "DN 50 low-flow version"}) {
                 list->AppendColumn("Size", wxLIST_FORMAT_LEFT, list->GetTextExtent(text).x + 10);
                 list->SetItem(list->GetItemCount() == 0 ? list->InsertItem(0, "") : 0, list->GetColumnCount() - 1,
                               text);
             }
         }},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << ++number << ": " << c.fault);
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxDefaultPosition, {400, 300});
        auto* panel = new wxPanel(frame);
        c.make(panel);
        frame->Show();
        // GTK gives fields their room once it lays the shown window out.
        Pump();
        const std::vector<std::string> faults = LayoutFaults(*frame);
        if (*c.fault == '\0') {
            EXPECT_TRUE(faults.empty()) << FaultList(faults);
        } else {
            EXPECT_EQ(faults.size(), 1u) << FaultList(faults);
            if (!faults.empty()) {
                EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
            }
        }
        frame->Destroy();
    }
}

}  // namespace
