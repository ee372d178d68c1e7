#include "ProductionDbCommandsFixture.h"
#include "TAMBELTestApp.h"

#include "PolyglottaWx/WindowIds.h"
#include "Quillet/LogLevel.h"
#include "SelectDbRecordsDlg/SelectDbRecordsDlg.h"
#include "TAMBEL/ProductionDbLink.h"
#include "TAMBEL/StartupEnvironment.h"
#include "TAMBEL/Resource.h"
#include "support/DamagedDatabase.h"
#include "support/LayoutCheck.h"
#include "support/LogCapture.h"
#include "support/WxTestSupport.h"

#include <gmock/gmock.h>
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include <functional>
#include <utility>

using testing::ElementsAre;

namespace {

std::vector<std::string> Rows(const wxListCtrl* list)
{
    std::vector<std::string> rows;
    for (long row = 0; row < list->GetItemCount(); ++row) {
        rows.push_back((list->GetItemText(row, 0) + " " + list->GetItemText(row, 1) + " " + list->GetItemText(row, 2))
                           .ToStdString());
    }
    return rows;
}

void Click(wxWindow* dialog, int itemId)
{
    wxCommandEvent click(wxEVT_BUTTON, CDialogControls::WindowId(itemId));
    click.SetEventObject(dialog);
    dialog->GetEventHandler()->ProcessEvent(click);
}

}  // namespace

class SelectDbRecordsDlgTest : public ProductionDbCommandsFixture {
protected:
    void SetUp() override
    {
        ProductionDbCommandsFixture::SetUp();
        OpenWithTables();
        for (const CProductionDbKey& key : {CProductionDbKey(12399, 1, 1), CProductionDbKey(12300, 2, 7),
                                            CProductionDbKey(12300, 1, 100), CProductionDbKey(12400, 1, 1),
                                            CProductionDbKey(1230, 1, 1), CProductionDbKey(555, 99123, 5)}) {
            OtherProgramSavesAndLocks(key);
        }
    }

    // Runs the dialog modally for one record; inside, the steps drive it.
    int RunSelect(CSelectDbRecordsDlg& dialog, CProductionDbKey& key, const std::function<void()>& steps)
    {
        dialog.CallAfter([&dialog, steps] {
            WaitFor([&dialog] { return dialog.IsShownOnScreen(); });
            steps();
            if (dialog.IsModal())
                dialog.EndModal(wxID_CANCEL);
        });
        return dialog.SelectRecord(key, "&Load", "&Load");
    }

    CProductionDb* Db() { return App().GetEnvironment().ProductionDb().Database(); }
};

TEST_F(SelectDbRecordsDlgTest, TypedPrefixListsKeysInOrderAndTheActionTakesTheMarkedOne)
{
    UseTranslatedLanguage("en");
    CSelectDbRecordsDlg dialog(nullptr, Db());
    CProductionDbKey key;
    const int result = RunSelect(dialog, key, [&] {
        EXPECT_EQ(dialog.GetTitle(), "Load record");
        EXPECT_EQ(dialog.GetItem(CSelectDbRecordsDlg::IDC_ACTION)->GetLabel(), "&Load");
        EXPECT_FALSE(dialog.SelectedList()->IsShown());
        dialog.PaEdit()->SetValue("12");
        EXPECT_EQ(dialog.MatchingList()->GetItemCount(), 0);
        dialog.PaEdit()->SetValue("123");
        EXPECT_THAT(Rows(dialog.MatchingList()),
                    ElementsAre("12300 1 100", "12300 2 007", "12399 1 001"));
        SaveScreenshot(Snapshot(&dialog), "select-records-en");
        // A position typed as "1" means 100.
        dialog.PositionEdit()->SetValue("1");
        EXPECT_THAT(Rows(dialog.MatchingList()), ElementsAre("12300 1 100"));
        dialog.PositionEdit()->SetValue("");
        // VK alone searches from 99 on.
        dialog.PaEdit()->SetValue("");
        dialog.VkEdit()->SetValue("98");
        EXPECT_EQ(dialog.MatchingList()->GetItemCount(), 0);
        dialog.VkEdit()->SetValue("99");
        EXPECT_THAT(Rows(dialog.MatchingList()), ElementsAre("555 99123 005"));
        // Ten nines are a number, not an overflow, and match nothing.
        dialog.VkEdit()->SetValue("");
        dialog.PaEdit()->SetValue("9999999999");
        EXPECT_EQ(dialog.MatchingList()->GetItemCount(), 0);
        Click(&dialog, CSelectDbRecordsDlg::IDC_ACTION);
        EXPECT_THAT(Texts(), ElementsAre("Please select a record first."));
        EXPECT_TRUE(dialog.IsModal());
        dialog.PaEdit()->SetValue("123");
        Click(&dialog, CSelectDbRecordsDlg::IDC_ACTION);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(key, CProductionDbKey(12300, 1, 100));
}

TEST_F(SelectDbRecordsDlgTest, ShortKeysAreFoundBesidesTheirPrefixRange)
{
    for (const CProductionDbKey& key : {CProductionDbKey(1001, 1, 1), CProductionDbKey(1001, 2, 100),
                                        CProductionDbKey(10010, 1, 1), CProductionDbKey(10019, 2, 3),
                                        CProductionDbKey(10020, 1, 1), CProductionDbKey(12345, 1, 5),
                                        CProductionDbKey(123450, 1, 1), CProductionDbKey(7, 1234, 1)}) {
        OtherProgramSavesAndLocks(key);
    }
    struct Case {
        const char* pa;
        const char* vk;
        const char* pos;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"1001", "", "", {"1001 1 001", "1001 2 100", "10010 1 001", "10019 2 003"}},
        {"1001", "", "001", {"1001 1 001", "10010 1 001"}},
        {"1001", "", "1", {"1001 2 100"}},
        {"12345", "", "", {"12345 1 005"}},
        {"123", "", "", {"12300 1 100", "12300 2 007", "12345 1 005", "12399 1 001"}},
        {"1230", "", "", {"1230 1 001", "12300 1 100", "12300 2 007"}},
        {"", "1234", "", {"7 1234 001"}},
    };
    CSelectDbRecordsDlg dialog(nullptr, Db());
    CProductionDbKey key;
    const int result = RunSelect(dialog, key, [&] {
        for (const Case& c : cases) {
            dialog.PositionEdit()->SetValue(c.pos);
            dialog.VkEdit()->SetValue(c.vk);
            dialog.PaEdit()->SetValue(c.pa);
            EXPECT_EQ(Rows(dialog.MatchingList()), c.rows) << c.pa << "/" << c.vk << "/" << c.pos;
        }
        dialog.VkEdit()->SetValue("");
        dialog.PositionEdit()->SetValue("");
        dialog.PaEdit()->SetValue("1001");
        SaveScreenshot(Snapshot(&dialog), "select-records-short-key");
        Click(&dialog, CSelectDbRecordsDlg::IDC_ACTION);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(key, CProductionDbKey(1001, 1, 1));
}

TEST_F(SelectDbRecordsDlgTest, CancelPicksNothing)
{
    CSelectDbRecordsDlg dialog(nullptr, Db());
    CProductionDbKey key(1, 2, 3);
    EXPECT_EQ(RunSelect(dialog, key, [&] { dialog.PaEdit()->SetValue("123"); }), 0);
    EXPECT_EQ(key, CProductionDbKey(1, 2, 3));
}

TEST_F(SelectDbRecordsDlgTest, GermanWording)
{
    UseTranslatedLanguage("de");
    CSelectDbRecordsDlg dialog(nullptr, Db());
    CProductionDbKey key;
    RunSelect(dialog, key, [&] {
        dialog.PaEdit()->SetValue("123");
        SaveScreenshot(Snapshot(&dialog), "select-records-de");
        EXPECT_EQ(dialog.GetItem(CSelectDbRecordsDlg::IDC_ACTION)->GetLabel(), "&Load");
        wxListItem column;
        column.SetMask(wxLIST_MASK_TEXT);
        dialog.MatchingList()->GetColumn(0, column);
        EXPECT_EQ(column.GetText(), "PA-Nr.");
    });
    App().EnableTranslator(false);
}

// The action's words come at run time; the button and the request take the room they need as
// the template's own texts do.
TEST_F(SelectDbRecordsDlgTest, ALongActionIsShownWhole)
{
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        CSelectDbRecordsDlg dialog(nullptr, Db());
        ASSERT_TRUE(dialog.Create(mode, "overwrite the record of another project with this one",
                                  "&Overwrite the other project"));
        ShowAndFocus(&dialog);
        const std::vector<std::string> faults = LayoutFaults(dialog);
        EXPECT_TRUE(faults.empty()) << FaultList(faults);
    }
}

TEST_F(SelectDbRecordsDlgTest, SeveralRecordsAreGatheredInOrderAndJoinedIntoOneCondition)
{
    CSelectDbRecordsDlg dialog(nullptr, Db());
    std::string condition;
    dialog.CallAfter([&dialog] {
        WaitFor([&dialog] { return dialog.IsShownOnScreen(); });
        EXPECT_TRUE(dialog.SelectedList()->IsShown());
        // ">" shows an arrow to the right, "<" one to the left: the head is where the tip is.
        for (const auto& arrow : {std::make_pair(CSelectDbRecordsDlg::IDC_ADD, true),
                                  std::make_pair(CSelectDbRecordsDlg::IDC_REMOVE, false)}) {
            const auto* button = dynamic_cast<wxButton*>(dialog.GetItem(arrow.first));
            ASSERT_NE(button, nullptr);
            const wxImage icon = button->GetBitmap().ConvertToImage();
            ASSERT_TRUE(icon.IsOk()) << arrow.first;
            ASSERT_TRUE(icon.HasAlpha());
            EXPECT_EQ(icon.GetAlpha(9, 3) > 0, arrow.second) << arrow.first;
            EXPECT_EQ(icon.GetAlpha(6, 3) > 0, !arrow.second) << arrow.first;
        }
        SaveScreenshot(Snapshot(&dialog), "select-several-records-en");
        dialog.PaEdit()->SetValue("123");
        wxListCtrl* matching = dialog.MatchingList();
        matching->SetItemState(0, 0, wxLIST_STATE_SELECTED);
        matching->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        Click(&dialog, CSelectDbRecordsDlg::IDC_ADD);
        matching->SetItemState(2, 0, wxLIST_STATE_SELECTED);
        matching->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        Click(&dialog, CSelectDbRecordsDlg::IDC_ADD);
        Click(&dialog, CSelectDbRecordsDlg::IDC_ADD);  // already chosen: nothing more
        EXPECT_THAT(Rows(dialog.SelectedList()), ElementsAre("12399 1 001", "12300 2 007"));
        Click(&dialog, CSelectDbRecordsDlg::IDC_ACTION);
    });
    ASSERT_EQ(dialog.GetSelectionCondition(condition, "Export", "", true, "t"), 1);
    EXPECT_EQ(condition, "((t.pa=12399 AND t.vk=1 AND t.pos=1 ) OR (t.pa=12300 AND t.vk=2 AND t.pos=7 ))");
}

TEST_F(SelectDbRecordsDlgTest, KeysReadPartWayListNoneAndTellTheUser)
{
    // 3000 more keys from PA 123..: the key index spans many pages.
    ASSERT_TRUE(m_other.ExecuteSql("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999) "
                                   "INSERT INTO fwr_customer_data (pa, vk, pos) "
                                   "SELECT 12300 + i % 100, 100 + i / 100, 3 FROM n"));
    CProductionDbKey key;
    {
        CSelectDbRecordsDlg dialog(nullptr, Db());
        RunSelect(dialog, key, [&] {
            dialog.PaEdit()->SetValue("123");
            EXPECT_EQ(dialog.MatchingList()->GetItemCount(), 3003) << "all keys are listed";
        });
    }
    App().GetEnvironment().ProductionDb().Close();
    m_other.Close();

    std::string error;
    // The list is read from the key's index alone.
    ASSERT_TRUE(DamageMiddleLeafPage(m_initString.substr(m_initString.find("Data Source=") + 12),
                                     "sqlite_autoindex_fwr_customer_data_1", error))
        << error;
    ASSERT_TRUE(App().OpenProductionDb(false));
    CSelectDbRecordsDlg dialog(nullptr, Db());
    const std::string log = LogWrittenWhile(TestProgramFolder() + "damaged.log", LOGLEVEL_ERROR, [&] {
        RunSelect(dialog, key, [&] {
            dialog.PaEdit()->SetValue("123");
            EXPECT_EQ(dialog.MatchingList()->GetItemCount(), 0);
        });
    });
    EXPECT_THAT(Texts(), ElementsAre("Unable to read data."));
    EXPECT_NE(log.find("\nerror|reading the records failed"), std::string::npos) << log;
}

TEST_F(SelectDbRecordsDlgTest, LoadCommandRunsTheDialogFromTheMenu)
{
    // The application's own picker: the dialog comes up for the menu command.
    App().GetProductionDbCommands().SetRecordPicker(nullptr);
    bool shown = false;
    auto pick = [&shown](wxShowEvent& event) {
        event.Skip();
        auto* dialog = dynamic_cast<CSelectDbRecordsDlg*>(event.GetEventObject());
        if (!dialog || !event.IsShown() || shown)
            return;
        shown = true;
        dialog->CallAfter([dialog] {
            dialog->PaEdit()->SetValue("12399");
            Click(dialog, CSelectDbRecordsDlg::IDC_ACTION);
        });
    };
    App().Bind(wxEVT_SHOW, pick);
    wxCommandEvent command(wxEVT_MENU, CWindowIds::FromResourceId(ID_FILE_OPEN_DB));
    App().ProcessEvent(command);
    App().Unbind(wxEVT_SHOW, pick);
    EXPECT_TRUE(shown);
    EXPECT_EQ(CProductionDbCommands::GetCurrentProjectKey(), CProductionDbKey(12399, 1, 1));
}
