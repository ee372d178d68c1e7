// The filter dialog: it shows the record and the configured percentage, clamps the percentage on
// OK and stores it in the configuration file, and Cancel changes neither record nor file.
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "Harbinax/FilterEdit.h"
#include "TAMBEL/ResultFilterDlg.h"
#include "support/LocaleScope.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>

#include <cstdio>
#include <string>

namespace {

class ResultFilterDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage("en");
        std::remove(m_file.c_str());
        m_configuration.minflowrangepercent = 70.0;
    }
    void TearDown() override { std::remove(m_file.c_str()); }

    // Runs the dialog on the record; while it is shown, edit changes its controls and then it
    // ends with button.
    int Run(CResultFilter& filter, const std::function<void(CResultFilterDlg&)>& edit, int button)
    {
        CResultFilterDlg dialog(nullptr, &m_configuration);
        return Run(dialog, filter, edit, button);
    }
    static int Run(CResultFilterDlg& dialog, CResultFilter& filter, const std::function<void(CResultFilterDlg&)>& edit,
                   int button)
    {
        dialog.CallAfter([&dialog, edit, button] {
            edit(dialog);
            wxCommandEvent click(wxEVT_BUTTON, button);
            click.SetEventObject(&dialog);
            dialog.GetEventHandler()->ProcessEvent(click);
        });
        return dialog.Run(&filter);
    }

    static CFilterEdit* Edit(CResultFilterDlg& dialog, int id) { return dynamic_cast<CFilterEdit*>(dialog.GetItem(id)); }
    static wxCheckBox* Check(CResultFilterDlg& dialog, int id) { return dynamic_cast<wxCheckBox*>(dialog.GetItem(id)); }

    const std::string m_file = TestProgramFolder() + "Zephrin.cfg";
    CApplicationConfiguration m_configuration;
};

TEST_F(ResultFilterDlgTest, ShowsTheRecordAndTheConfiguredPercentage)
{
    CResultFilter filter;
    filter.HideErrors = FALSE;
    filter.MinTurndown = 2.5;
    std::string shown[2];
    bool checks[5] = {};
    Run(filter,
        [&](CResultFilterDlg& dialog) {
            shown[0] = Edit(dialog, 1067)->GetValue().utf8_string();
            shown[1] = Edit(dialog, 1069)->GetValue().utf8_string();
            const int ids[] = {1064, 1065, 1066, 1068, 1073};
            for (int i = 0; i < 5; ++i)
                checks[i] = Check(dialog, ids[i])->GetValue();
            EXPECT_EQ(dialog.GetTitle(), "Filter options");
            SaveScreenshot(Snapshot(&dialog), "ResultFilterDialog");
        },
        wxID_CANCEL);
    EXPECT_EQ(shown[0], "2.5");
    EXPECT_EQ(shown[1], "70.0");
    EXPECT_FALSE(checks[0]);
    EXPECT_TRUE(checks[1] && checks[2] && checks[3] && checks[4]);
}

TEST_F(ResultFilterDlgTest, OkClampsAndStoresThePercentage)
{
    const struct {
        const char* typed;
        double stored;
    } cases[] = {{"150", 100.0}, {"-5", 0.0}, {"55,5", 55.5}, {"x", 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CResultFilter filter;
        const int result = Run(filter,
                               [&](CResultFilterDlg& dialog) {
                                   Edit(dialog, 1069)->ChangeValue(c.typed);
                                   Edit(dialog, 1067)->ChangeValue("6");
                                   Check(dialog, 1073)->SetValue(false);
                               },
                               wxID_OK);
        EXPECT_EQ(result, wxID_OK);
        EXPECT_EQ(filter.MaxFlowPercent, c.stored);
        EXPECT_EQ(filter.MinTurndown, 6.0);
        EXPECT_EQ(filter.HideSpecialDevices, FALSE);
        EXPECT_EQ(m_configuration.minflowrangepercent, c.stored);
        CApplicationConfiguration reread;
        ASSERT_TRUE(reread.Load());
        EXPECT_EQ(reread.minflowrangepercent, c.stored);
    }
}

// The numbers are typed text, read the same whatever the process locale's decimal separator.
TEST_F(ResultFilterDlgTest, OkReadsBothSeparatorsUnderAGermanLocale)
{
    CLocaleScope german("de_DE.UTF-8");
    CResultFilter filter;
    Run(filter,
        [](CResultFilterDlg& dialog) {
            Edit(dialog, 1069)->ChangeValue("55.5");
            Edit(dialog, 1067)->ChangeValue("2,5");
        },
        wxID_OK);
    EXPECT_EQ(filter.MaxFlowPercent, 55.5);
    EXPECT_EQ(filter.MinTurndown, 2.5);
}

TEST_F(ResultFilterDlgTest, CancelTouchesNothing)
{
    CResultFilter filter;
    filter.MaxFlowPercent = 100.0;
    const int result = Run(filter,
                           [&](CResultFilterDlg& dialog) {
                               Edit(dialog, 1069)->ChangeValue("20");
                               Check(dialog, 1064)->SetValue(false);
                           },
                           wxID_CANCEL);
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(filter.HideErrors, TRUE);
    EXPECT_EQ(filter.MaxFlowPercent, 100.0);
    EXPECT_EQ(m_configuration.minflowrangepercent, 70.0);
    EXPECT_EQ(ReadWholeFile(m_file), "");
}

// A percentage typed before cancelling is gone when the dialog opens again.
TEST_F(ResultFilterDlgTest, ReopeningShowsTheRecordAndConfigurationAgain)
{
    CResultFilterDlg dialog(nullptr, &m_configuration);
    CResultFilter filter;
    Run(dialog, filter, [](CResultFilterDlg& shown) { Edit(shown, 1069)->ChangeValue("20"); }, wxID_CANCEL);
    filter.MinTurndown = 8.0;
    std::string shown[2];
    Run(dialog, filter,
        [&](CResultFilterDlg& again) {
            shown[0] = Edit(again, 1069)->GetValue().utf8_string();
            shown[1] = Edit(again, 1067)->GetValue().utf8_string();
        },
        wxID_CANCEL);
    EXPECT_EQ(shown[0], "70.0");
    EXPECT_EQ(shown[1], "8.0");
}

}  // namespace
