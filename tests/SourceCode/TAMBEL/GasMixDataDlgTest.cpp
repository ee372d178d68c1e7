// The gas-mix dialog: its layout for growing numbers of gases, the window of the total it
// accepts, shares outside 0 to 100, and Cancel; run modally with the user's steps queued.
#include "TAMBELTestApp.h"

#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/UnitDb.h"
#include "TAMBEL/GasMixDataDlg.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/textctrl.h>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

std::vector<CGasMixDataDlg::SGas> Gases(int count)
{
    std::vector<CGasMixDataDlg::SGas> gases;
    for (int i = 0; i < count; ++i)
        gases.push_back({2 + i, "Gas " + std::to_string(i + 1)});
    return gases;
}

TEST(GasMixLayout, WidthsFollowTheColumns)
{
    struct SCase {
        int gases;
        int width;
    };
    for (const SCase& c : {SCase{1, 114}, SCase{10, 114}, SCase{11, 222}, SCase{21, 338}, SCase{31, 454},
                           // From 41 gases on the last field would end past the formula's width.
                           SCase{41, 576}}) {
        CGasMixDataDlg dialog(nullptr);
        ASSERT_TRUE(dialog.CreateTemplate(Gases(c.gases)));
        EXPECT_EQ(dialog.GetTemplate()->header.width, c.width) << c.gases << " gases";
        for (const SDialogItem& item : dialog.GetTemplate()->items)
            EXPECT_LE(item.x + item.width, c.width) << "item " << item.id << " with " << c.gases << " gases";
    }
}

TEST(GasMixLayout, ElevenGasesStartASecondColumn)
{
    CGasMixDataDlg dialog(nullptr);
    ASSERT_TRUE(dialog.CreateTemplate(Gases(11)));
    const std::vector<SDialogItem>& items = dialog.GetTemplate()->items;
    const auto label = std::find_if(items.begin(), items.end(),
                                    [](const SDialogItem& item) { return item.id == 12 + CGasMixDataDlg::kLabelOffset; });
    ASSERT_NE(label, items.end());
    EXPECT_EQ(label->x, 123);
    EXPECT_EQ(label->y, 5);
    ASSERT_NE(dialog.GetItem(12 + CGasMixDataDlg::kFieldOffset), nullptr);
    // OK and Cancel centred below.
    EXPECT_EQ(dialog.GetItem(1)->GetPosition().x, dialog.ConvertDialogToPixels(wxPoint(59, 0)).x);
}

// Field ids in the range wx keeps for itself carry other window ids; typing there counts all the same.
TEST(GasMixFields, AFieldWhoseWindowIdDiffersIsTotalledAndChecked)
{
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
    UniqueWindow<CGasMixDataDlg> dialog(new CGasMixDataDlg(nullptr));
    ASSERT_TRUE(dialog->CreateTemplate({{2, "Low"}, {4200, "High"}}));
    auto* field = dynamic_cast<wxTextCtrl*>(dialog->GetItem(4200 + CGasMixDataDlg::kFieldOffset));
    ASSERT_NE(field, nullptr);
    ASSERT_NE(field->GetId(), 4200 + CGasMixDataDlg::kFieldOffset);
    CMessageBoxRecorder boxes;
    std::string total;
    dialog->CallAfter([&] {
        field->SetValue("120");
        Pump();
        total = dialog->GetItem(CGasMixDataDlg::kTotalSumId)->GetLabel().utf8_string();
        dialog->EndModal(wxID_CANCEL);
    });
    dialog->DoModal();
    EXPECT_EQ(total, "Total sum: 120.00 %");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please enter a value between 0.0 and 100.0 for 'High'");
}

class GasMixDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        PlaceShippedDatabase();
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CFluidManager::GetInstance()->LoadFluidList());
    }

    static void TearDownTestSuite()
    {
        CUnitDb::GetInstance()->Close();
        std::remove((TestProgramFolder() + "Zephrin.db").c_str());
    }

    void SetUp() override
    {
        // English numbers and texts, whatever tests before left.
        App().SetUiLanguage("en");
        App().EnableTranslator(false);
        dialog.reset(new CGasMixDataDlg(nullptr));
        ASSERT_TRUE(dialog->CreateTemplate());
    }

    wxTextCtrl* Field(int gas) { return dynamic_cast<wxTextCtrl*>(dialog->GetItem(gas + CGasMixDataDlg::kFieldOffset)); }

    // Runs the dialog; inside it the shares are typed (gas -> text) and the button pressed. A
    // dialog still open afterwards is cancelled.
    int Run(const std::map<int, std::string>& shares, int button)
    {
        dialog->CallAfter([this, shares, button] {
            for (const auto& [gas, text] : shares) {
                wxTextCtrl* field = Field(gas);
                ASSERT_NE(field, nullptr) << "gas " << gas;
                field->SetValue(wxString::FromUTF8(text));
            }
            Pump();
            total = dialog->GetItem(CGasMixDataDlg::kTotalSumId)->GetLabel().utf8_string();
            wxCommandEvent click(wxEVT_BUTTON, button);
            click.SetEventObject(dialog->FindWindow(button));
            dialog->FindWindow(button)->GetEventHandler()->ProcessEvent(click);
            if (dialog->IsModal())
                dialog->EndModal(wxID_CANCEL);
        });
        return dialog->DoModal();
    }

    std::vector<GasMixElement> Elements() const
    {
        std::vector<GasMixElement> elements;
        EXPECT_EQ(dialog->GetGasMixElements(elements), 1);
        return elements;
    }

    UniqueWindow<CGasMixDataDlg> dialog;
    std::string total;
};

TEST_F(GasMixDialogTest, HasAFieldForEveryShownGasButAir)
{
    EXPECT_EQ(Field(FLUID_INDEX_AIR), nullptr);
    EXPECT_EQ(Field(FLUID_INDEX_WATER_VAPOUR), nullptr);
    EXPECT_NE(Field(2), nullptr);
    EXPECT_NE(Field(13), nullptr);
    EXPECT_EQ(dialog->GetTitle(), "Enter gas mix data");
    EXPECT_EQ(dialog->GetTemplate()->header.width, 222);
}

TEST_F(GasMixDialogTest, TotalsWithinAHundredthOfTwoAreAccepted)
{
    struct SCase {
        std::map<int, std::string> shares;
        bool accepted;
    };
    const SCase cases[] = {
        {{{2, "33.33"}, {3, "33.33"}, {4, "33.32"}}, true},
        {{{2, "99.98"}}, true},
        {{{2, "50"}, {3, "50,02"}}, true},
        {{{2, "99.97"}}, false},
        {{{2, "100.03"}}, false},
        // The sum fits, but no share may lie outside 0 to 100.
        {{{2, "150"}, {3, "-50"}}, false},
    };
    for (const SCase& c : cases) {
        // The previous mixture shows; the user clears it.
        dialog->SetGasMixElements({{5, 100.0}});
        std::map<int, std::string> shares = c.shares;
        shares[5] = "";
        CMessageBoxRecorder boxes;
        const int result = Run(shares, wxID_OK);
        EXPECT_EQ(result, c.accepted ? wxID_OK : wxID_CANCEL) << c.shares.begin()->second;
        const std::vector<GasMixElement> elements = Elements();
        if (c.accepted) {
            EXPECT_TRUE(boxes.Boxes().empty());
            ASSERT_EQ(elements.size(), c.shares.size());
            EXPECT_EQ(elements[0].GasId, c.shares.begin()->first);
        } else {
            ASSERT_FALSE(boxes.Boxes().empty());
            ASSERT_EQ(elements.size(), 1u);
            EXPECT_EQ(elements[0].GasId, 5);
        }
    }
}

TEST_F(GasMixDialogTest, TheTotalIsShownAndTooSmallATotalIsExplained)
{
    CMessageBoxRecorder boxes;
    Run({{2, "60"}, {3, "39.5"}}, wxID_OK);
    EXPECT_EQ(total, "Total sum: 99.50 %");
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes().back().caption, "TAMBEL: Invalid data");
    EXPECT_EQ(boxes.Boxes().back().text, "The total sum of gases must be 100.0!");
}

TEST_F(GasMixDialogTest, ASharePastAHundredIsReportedWhileTyping)
{
    CMessageBoxRecorder boxes;
    dialog->CallAfter([this] {
        Field(3)->SetValue("100.2");
        Pump();
        dialog->EndModal(wxID_CANCEL);
    });
    dialog->DoModal();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please enter a value between 0.0 and 100.0 for 'Oxygen'");
}

TEST_F(GasMixDialogTest, CancelKeepsThePreviousMixtureAndEmptySharesAreLeftOut)
{
    dialog->SetGasMixElements({{2, 79.0}, {3, 21.0}});
    EXPECT_EQ(Run({{2, "50"}, {3, "50"}}, wxID_CANCEL), wxID_CANCEL);
    std::vector<GasMixElement> elements = Elements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_DOUBLE_EQ(elements[0].Percentage, 79.0);

    // The fields show the mixture again when opened; a cleared one is no part of the result.
    EXPECT_EQ(Run({{3, ""}, {4, "21"}}, wxID_OK), wxID_OK);
    elements = Elements();
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].GasId, 2);
    EXPECT_DOUBLE_EQ(elements[0].Percentage, 79.0);
    EXPECT_EQ(elements[1].GasId, 4);
}

// A field still showing the text it was filled with keeps the mixture's exact share, so OK on an
// unchanged dialog leaves the mixture as it was, order included; a share typed is taken as typed.
TEST_F(GasMixDialogTest, UnchangedSharesKeepEveryDigitAndTypedOnesAreTaken)
{
    const std::vector<GasMixElement> mixture = {{3, 21.9158766}, {2, 78.0841234}};
    dialog->SetGasMixElements(mixture);
    CMessageBoxRecorder boxes;
    ASSERT_EQ(Run({}, wxID_OK), wxID_OK);
    EXPECT_EQ(Elements(), mixture);
    EXPECT_TRUE(boxes.Boxes().empty());

    // One share typed, the other as shown.
    ASSERT_EQ(Run({{2, "78.09"}}, wxID_OK), wxID_OK);
    EXPECT_EQ(Elements(), (std::vector<GasMixElement>{{2, 78.09}, {3, 21.9158766}}));

    // Filled anew from that mixture: a share typed back to another's text is typed; the text a
    // field shows again is what it was filled with.
    ASSERT_EQ(Run({{2, "78.08"}, {3, "21.92"}}, wxID_OK), wxID_OK);
    EXPECT_EQ(Elements(), (std::vector<GasMixElement>{{2, 78.08}, {3, 21.9158766}}));
}

}  // namespace
