// An engine selection list in real wx controls.
#include "CommonFiles/UnitManager.h"
#include "Wx/ComboItemsWx.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/init.h>

namespace {

// wx up for the one test; a failed wx assertion fails the test instead of opening a dialog.
struct WxRunning {
    WxRunning()
    {
        wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& condition,
                              const wxString&) {
            ADD_FAILURE_AT(file.utf8_string().c_str(), line) << condition.utf8_string();
        });
        static char name[] = "CommonFilesWxTests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new wxApp);
        started = wxEntryStart(argc, argv);
    }
    ~WxRunning()
    {
        if (started)
            wxEntryCleanup();
    }
    bool started;
};

TEST(ComboItemsWx, ControlsShowTheTextsAndGiveBackTheItemData)
{
    WxRunning wx;
    ASSERT_TRUE(wx.started) << "no display";
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "units");
    wxChoice* choice = new wxChoice(frame, wxID_ANY);
    wxComboBox* combo = new wxComboBox(frame, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                                       nullptr, wxCB_READONLY);
    CComboItems items;
    CUnitManager::FillFlowReferenceCombo(items, "en");
    items.push_back({"* m³/h", static_cast<int>(0x80000028u)});

    for (wxItemContainer* control : {static_cast<wxItemContainer*>(choice), static_cast<wxItemContainer*>(combo)}) {
        control->Append("old");
        FillItemContainer(*control, items);
        ASSERT_EQ(control->GetCount(), items.size());
        for (unsigned int i = 0; i < items.size(); ++i) {
            EXPECT_EQ(control->GetString(i).utf8_string(), items[i].text);
            EXPECT_EQ(GetItemData(*control, i), items[i].data);
        }
    }
    // Deleted at once: the test runs no event loop.
    delete frame;
}

}  // namespace
