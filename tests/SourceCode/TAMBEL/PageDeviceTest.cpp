// The device configuration page on a copy of the shipped database with features added, so that
// nine of them get lists (one with an id whose list id lies in wx's reserved range) and one has
// an id below 1: its layout, its lists, what entering and leaving do with the project's device
// configuration, the V-number, scrolling, and a screenshot.
#include "TAMBELTestApp.h"

#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/Wx/ComboItemsWx.h"
#include "Harbinax/ToolTipComboBox.h"
#include "PolyglottaWx/WindowIds.h"
#include "TAMBEL/Pages/PageDevice.h"
#include "TAMBEL/TAMBELDlg.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Features 1 to 7 of the shipped database (4 without a list) and these.
const char* const kExtraFeatures =
    "PRAGMA ignore_check_constraints = 1;"
    "INSERT INTO DeviceFeatures (Id, SortOrder, FeatureName) VALUES"
    " (0, 0, 'Nothing'), (8, 8, 'Flange'), (9, 9, 'Cable entry'), (4000, 10, 'Approval');"
    "INSERT INTO DeviceFeatureItems (Id, FeatureId, SortOrder, ItemName) VALUES"
    " (1, 0, 1, 'Nothing at all'), (802, 8, 20, 'EN 1092-1'), (801, 8, 10, 'ASME B16.5'),"
    " (901, 9, 10, 'M20x1.5'), (400001, 4000, 10, 'ATEX');";

// Left, top, right, bottom in dialog units.
using Edges = std::array<int, 4>;
Edges Rect(const SDialogItem& item)
{
    return {item.x, item.y, item.x + item.width, item.y + item.height};
}

std::map<int, int> Configuration()
{
    const CDeviceConfiguration& configuration = CProjectData::GetInstance()->features;
    return std::map<int, int>(configuration.begin(), configuration.end());
}

void SetConfiguration(const std::map<int, int>& features)
{
    CDeviceConfiguration& configuration = CProjectData::GetInstance()->features;
    configuration.RemoveAll();
    for (const auto& feature : features)
        configuration.SetAt(feature.first, feature.second);
}

std::string Selected(const CToolTipComboBox* list)
{
    const int selected = list->GetSelection();
    return selected == wxNOT_FOUND ? std::string() : list->GetString(static_cast<unsigned int>(selected)).utf8_string();
}

// As when the user picks the item from the list.
void Pick(CToolTipComboBox* list, int index)
{
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_COMBOBOX, list->GetId());
    event.SetEventObject(list);
    event.SetInt(index);
    list->GetEventHandler()->ProcessEvent(event);
}

class PageDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Database texts are looked up in the interface language.
        UseTranslatedLanguage("en");
        PlaceShippedDatabase();
        if (HasFatalFailure())
            return;
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_database.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, kExtraFeatures, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        CProjectData::GetInstance()->features.RemoveAll();
        m_frame.reset(new wxFrame(nullptr, wxID_ANY, "Device"));
    }

    void TearDown() override
    {
        m_frame.reset();
        CUnitDb::GetInstance()->Close();
        std::remove(m_database.c_str());
        CProjectData::GetInstance()->features.RemoveAll();
    }

    void CreateShown() { CreatePageShown(m_page, m_frame.get()); }

    std::string VNumber() const { return m_page.GetVNumberField()->GetValue().utf8_string(); }

    const std::string m_database = ShippedDatabasePath();
    UniqueWindow<wxFrame> m_frame;
    CPageDevice m_page;
};

TEST_F(PageDeviceTest, NineFeaturesMakeTwoColumnsAndSkipFeatureFourAndIdsBelowOne)
{
    ASSERT_TRUE(m_page.Create(m_frame.get()));
    const SDialogTemplate* built = m_page.GetTemplate();
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->header.width, 482);
    EXPECT_EQ(built->header.height, 192);
    ASSERT_EQ(built->items.size(), 9u * 2 + 4);
    // The ninth list, feature 4000, heads the second column; its label before it.
    const SDialogItem& label = built->items[16];
    const SDialogItem& list = built->items[17];
    EXPECT_EQ(list.id, 5000);
    EXPECT_EQ(Rect(list), (Edges{347, 22, 477, 162}));
    EXPECT_EQ(Rect(label), (Edges{253, 22, 343, 36}));
    EXPECT_EQ(label.title, "Approval:");
    EXPECT_EQ(built->items[0].title, "Nominal size:");
    for (const SDialogItem& item : built->items)
        EXPECT_NE(item.id, 1004) << "feature 4 has no list";

    for (int feature : {0, 4})
        EXPECT_EQ(m_page.GetFeatureList(feature), nullptr) << feature;
    // The list id 5000 is one of wx's own: the window carries another.
    const CToolTipComboBox* approval = m_page.GetFeatureList(4000);
    ASSERT_NE(approval, nullptr);
    EXPECT_TRUE(approval->GetId() < wxID_LOWEST || approval->GetId() > wxID_HIGHEST) << approval->GetId();
    EXPECT_EQ(CWindowIds::ToResourceId(approval->GetId()), 5000);
    EXPECT_EQ(approval->GetPosition(), m_page.GetWindow()->ConvertDialogToPixels(wxPoint(347, 22)));
}

TEST(PageDeviceLayout, PageIsAsWideAsItsLastColumnNeeds)
{
    const struct {
        int features;
        int width;
    } cases[] = {
        {1, 236}, {8, 236}, {9, 482}, {17, 730}, {33, 1226},
    };
    for (const auto& test : cases) {
        std::vector<CPageDevice::SFeature> features;
        for (int id = 1; id <= test.features; ++id)
            features.push_back({id, "Feature"});
        CDialogTemplate dialogTemplate;
        CPageDevice::AddTemplateItems(dialogTemplate, features);
        EXPECT_EQ(dialogTemplate.Header().width, test.width) << test.features;
        const SDialogItem& last = dialogTemplate.Items()[2 * features.size() - 1];
        EXPECT_LE(last.x + last.width + 5, dialogTemplate.Header().width) << test.features;
    }
}

TEST_F(PageDeviceTest, ListsOfferAllAndTheItemsInSortOrder)
{
    CreateShown();
    const struct {
        int feature;
        std::vector<std::string> texts;
        std::vector<int> data;
    } cases[] = {
        {2, {"all", "PN 16", "PN 40", "PN 63", "PN 100", "Class 150", "Class 300"}, {0, 201, 202, 203, 204, 205, 206}},
        {8, {"all", "ASME B16.5", "EN 1092-1"}, {0, 801, 802}},
        {4000, {"all", "ATEX"}, {0, 400001}},
    };
    for (const auto& test : cases) {
        const CToolTipComboBox* list = m_page.GetFeatureList(test.feature);
        ASSERT_NE(list, nullptr) << test.feature;
        ASSERT_EQ(list->GetCount(), test.texts.size()) << test.feature;
        for (unsigned int n = 0; n < list->GetCount(); ++n) {
            EXPECT_EQ(list->GetString(n).utf8_string(), test.texts[n]) << test.feature;
            EXPECT_EQ(GetItemData(*list, n), test.data[n]) << test.feature;
        }
        EXPECT_EQ(list->GetSelection(), 0) << test.feature;
    }
    EXPECT_EQ(m_page.GetFeatureList(1)->GetCount(), 11u);
}

TEST_F(PageDeviceTest, EnteringShowsTheConfigurationAndLeavingStoresTheListsWithoutAll)
{
    CreateShown();
    EXPECT_EQ(VNumber(), "");
    SetConfiguration({{1, 104}, {3, 302}, {4000, 400001}});
    m_page.OnEnterPage();
    EXPECT_EQ(Selected(m_page.GetFeatureList(1)), "DN 50");
    EXPECT_EQ(Selected(m_page.GetFeatureList(2)), "all");
    EXPECT_EQ(Selected(m_page.GetFeatureList(3)), "Duplex steel 1.4462");
    EXPECT_EQ(Selected(m_page.GetFeatureList(4000)), "ATEX");
    EXPECT_EQ(VNumber(), "Q7XK");

    Pick(m_page.GetFeatureList(2), 2);  // PN 40
    Pick(m_page.GetFeatureList(3), 0);  // back to all
    m_page.OnLeavePage();
    EXPECT_EQ(Configuration(), (std::map<int, int>{{1, 104}, {2, 202}, {4000, 400001}}));

    // Every list on "all" leaves nothing.
    for (int feature : {1, 2, 4000})
        Pick(m_page.GetFeatureList(feature), 0);
    m_page.OnLeavePage();
    EXPECT_TRUE(Configuration().empty());
    EXPECT_EQ(VNumber(), "Q7XK") << "the lists have a selection";
}

TEST_F(PageDeviceTest, AnItemNoLongerOfferedShowsAllAndIsDroppedOnLeaving)
{
    CreateShown();
    // 999 is no item; feature 4 has no list on this page.
    SetConfiguration({{1, 999}, {2, 201}, {4, 401}});
    m_page.OnEnterPage();
    EXPECT_EQ(Selected(m_page.GetFeatureList(1)), "all");
    EXPECT_EQ(Selected(m_page.GetFeatureList(2)), "PN 16");
    m_page.OnLeavePage();
    EXPECT_EQ(Configuration(), (std::map<int, int>{{2, 201}}));
}

TEST_F(PageDeviceTest, VNumberFollowsTheSelections)
{
    CreateShown();
    EXPECT_EQ(VNumber(), "") << "nothing restored";
    Pick(m_page.GetFeatureList(9), 1);
    EXPECT_EQ(VNumber(), "Q7XK");
    Pick(m_page.GetFeatureList(9), 0);
    EXPECT_EQ(VNumber(), "Q7XK") << "\"all\" is a selection too";
    for (int feature : {1, 2, 3, 5, 6, 7, 8, 9, 4000})
        m_page.GetFeatureList(feature)->SetSelection(wxNOT_FOUND);
    m_page.OnFeatureChanged();
    EXPECT_EQ(VNumber(), "");
}

TEST_F(PageDeviceTest, ContentScrollsWhenTheWindowIsSmaller)
{
    CreateShown();
    wxWindow* window = m_page.GetWindow();
    const wxSize content = window->GetClientSize();
    const auto scrolls = [window](wxOrientation orientation) {
        return window->GetScrollRange(orientation) > window->GetScrollThumb(orientation);
    };
    window->SetSize(content / 2);
    Pump();
    EXPECT_EQ(window->GetScrollRange(wxHORIZONTAL), content.x);
    EXPECT_EQ(window->GetScrollRange(wxVERTICAL), content.y);
    EXPECT_TRUE(scrolls(wxHORIZONTAL) && scrolls(wxVERTICAL));
    // Scrolled down, the lists move up with the content.
    const wxPoint before = m_page.GetFeatureList(1)->GetPosition();
    wxScrollWinEvent down(wxEVT_SCROLLWIN_THUMBTRACK, 40, wxVERTICAL);
    down.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(down);
    EXPECT_EQ(m_page.GetFeatureList(1)->GetPosition(), before - wxPoint(0, 40));
    window->SetSize(content * 2);
    Pump();
    EXPECT_FALSE(scrolls(wxHORIZONTAL) || scrolls(wxVERTICAL));
    EXPECT_EQ(m_page.GetFeatureList(1)->GetPosition(), before);
}

TEST_F(PageDeviceTest, Screenshot)
{
    CreateShown();
    SetConfiguration({{1, 105}, {2, 202}, {3, 303}});
    m_page.OnEnterPage();
    SaveScreenshot(Snapshot(m_frame.get()), "page-device-en");
}

TEST_F(PageDeviceTest, GermanTextsAndScreenshot)
{
    UseTranslatedLanguage("de");
    CreateShown();
    const SDialogTemplate& built = *m_page.GetTemplate();
    EXPECT_EQ(built.items[0].title, "Nennweite:");
    EXPECT_EQ(built.items[18].title, "Gerätekonfiguration:");
    EXPECT_EQ(built.items[20].title, "V-Nummer:");
    EXPECT_EQ(Selected(m_page.GetFeatureList(3)), "alle");
    EXPECT_EQ(m_page.GetFeatureList(3)->GetString(1).utf8_string(), "Edelstahl 1.4404/316L");
    SetConfiguration({{3, 301}});
    m_page.OnEnterPage();
    SaveScreenshot(Snapshot(m_frame.get()), "page-device-de");
}

TEST_F(PageDeviceTest, WithoutTheDeviceFeaturesThereIsNoPageAndTheConfigurationStays)
{
    CUnitDb::GetInstance()->Close();
    EXPECT_FALSE(m_page.Create(m_frame.get()));
    EXPECT_EQ(m_page.GetWindow(), nullptr);
    SetConfiguration({{1, 104}});
    m_page.OnEnterPage();
    m_page.OnLeavePage();
    EXPECT_EQ(Configuration(), (std::map<int, int>{{1, 104}}));

    // The main window comes up all the same.
    CTAMBELDlg dialog;
    EXPECT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.GetDevicePage().GetWindow(), nullptr);
    EXPECT_NE(dialog.GetFluidPage().GetWindow(), nullptr);
    // Asked for, it cannot be made either: the fluid page stays and the configuration too.
    EXPECT_FALSE(dialog.ShowPage(&dialog.GetDevicePage()));
    EXPECT_EQ(dialog.GetCurrentPage(), &dialog.GetFluidPage());
    EXPECT_EQ(dialog.GetDevicePage().GetWindow(), nullptr);
    EXPECT_EQ(Configuration(), (std::map<int, int>{{1, 104}}));
}

}  // namespace
