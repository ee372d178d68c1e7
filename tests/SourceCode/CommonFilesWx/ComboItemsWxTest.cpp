// An engine selection list in real wx controls.
#include "CommonFiles/UnitManager.h"
#include "Wx/ComboItemsWx.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>

namespace {

::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"CommonFilesWxTests"}));

TEST(ComboItemsWx, ControlsShowTheTextsAndGiveBackTheItemData)
{
    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "units"));
    wxChoice* choice = new wxChoice(frame.get(), wxID_ANY);
    wxComboBox* combo = new wxComboBox(frame.get(), wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
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
}

}  // namespace
