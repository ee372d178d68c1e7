// The layout check the page and dialog walks rely on: each kind of fault it knows is found in a
// window made to have it, and a window without one passes.
#include "support/LayoutCheck.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/stattext.h>

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
        {" wider than room ",
         [](wxWindow* panel) { new wxStaticText(panel, wxID_ANY, "A label far too long", {10, 10}, {30, 20}); }},
        {" taller than ",
         [](wxWindow* panel) { new wxStaticText(panel, wxID_ANY, "one\ntwo\nthree", {10, 10}, {200, 15}); }},
        {" wider than the room ",
         [](wxWindow* panel) {
             auto* list = new wxListCtrl(panel, wxID_ANY, {10, 10}, {150, 100}, wxLC_REPORT);
             list->AppendColumn("A", wxLIST_FORMAT_LEFT, 100);
             list->AppendColumn("B", wxLIST_FORMAT_LEFT, 100);
         }},
        {" reaches past ", [](wxWindow* panel) { new wxButton(panel, wxID_ANY, "OK", {350, 10}, {100, 40}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxDefaultPosition, {400, 300});
        auto* panel = new wxPanel(frame);
        c.make(panel);
        frame->Show();
        const std::vector<std::string> faults = LayoutFaults(*frame);
        if (*c.fault == '\0') {
            EXPECT_TRUE(faults.empty()) << FaultList(faults);
        } else {
            ASSERT_EQ(faults.size(), 1u) << FaultList(faults);
            EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
        }
        frame->Destroy();
    }
}

}  // namespace
