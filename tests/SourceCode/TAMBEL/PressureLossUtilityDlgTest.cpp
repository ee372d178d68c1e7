// The pressure-loss utility on the shipped database: its starting fields, which fields a pipe
// type and the length or angle choice enable, a straight pipe and a cone through the dialog,
// the result re-shown in another unit, a cone without a cone refused, a damaged materials table,
// and screenshots.
#include "TAMBELTestApp.h"

#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/FilterEdit.h"
#include "PolyglottaWx/WindowIds.h"
#include "Quillet/LogLevel.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/PressureLossUtilityDlg.h"
#include "support/DamagedDatabase.h"
#include "support/LogCapture.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using Dlg = CPressureLossUtilityDlg;

class PressureLossUtilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage("en");
        ASSERT_NO_FATAL_FAILURE(PlaceShippedDatabase());
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
        m_dialog.reset(new Dlg(nullptr));
        ASSERT_TRUE(m_dialog->Create());
        m_dialog->Show();
    }

    void TearDown() override
    {
        m_dialog.reset();
        CUnitDb::GetInstance()->Close();
        std::remove(m_database.c_str());
    }

    std::string Text(int id) const
    {
        if (const auto* label = dynamic_cast<const wxStaticText*>(m_dialog->GetItem(id)))
            return label->GetLabel().utf8_string();
        return m_dialog->GetEdit(id) ? m_dialog->GetEdit(id)->GetValue().utf8_string()
                                     : dynamic_cast<wxTextCtrl*>(m_dialog->GetItem(id))->GetValue().utf8_string();
    }
    void Type(int id, const char* text) { m_dialog->GetEdit(id)->ChangeValue(text); }
    void Choose(int id, int data) { ASSERT_TRUE(m_dialog->GetList(id)->SelectItemData(data)) << id << " " << data; }
    // As when the user picks the item: the list tells the dialog.
    void Pick(int id, int data)
    {
        Choose(id, data);
        CDataComboBox* list = m_dialog->GetList(id);
        wxCommandEvent event(wxEVT_COMBOBOX, list->GetId());
        event.SetEventObject(list);
        event.SetInt(list->GetSelection());
        list->GetEventHandler()->ProcessEvent(event);
    }
    void Check(int id)
    {
        auto* radio = dynamic_cast<wxRadioButton*>(m_dialog->GetItem(id));
        radio->SetValue(true);
        wxCommandEvent event(wxEVT_RADIOBUTTON, radio->GetId());
        event.SetEventObject(radio);
        radio->GetEventHandler()->ProcessEvent(event);
    }
    bool Enabled(int id) const { return m_dialog->GetItem(id)->IsEnabled(); }

    // The straight pipe most cases start from: 1 kg/dm3, 1 m, 1000 l/h, 50 mm, friction factor 0.02.
    void EnterStraightPipe()
    {
        Choose(Dlg::IDC_MATERIAL, 16);  // smooth plastic: no roughness
        m_dialog->OnMaterialChanged();
        Type(Dlg::IDC_FRICTION_FACTOR, "0.02");
        Type(Dlg::IDC_DENSITY, "1");
        Choose(Dlg::IDC_DENSITY_UNIT, 20);
        Type(Dlg::IDC_FLOW, "1000");
        Choose(Dlg::IDC_FLOW_UNIT, 41);
        Type(Dlg::IDC_LARGER_DIAMETER, "50");
        Choose(Dlg::IDC_LARGER_DIAMETER_UNIT, 100);
        Type(Dlg::IDC_LENGTH, "1");
        Choose(Dlg::IDC_LENGTH_UNIT, 98);
        Choose(Dlg::IDC_RESULT_UNIT, 7);
    }

    const std::string m_database = TestProgramFolder() + "Zephrin.db";
    UniqueWindow<Dlg> m_dialog;
};

TEST_F(PressureLossUtilityTest, StartsWithSteelAStraightPipeAndTheDefaultNumbers)
{
    EXPECT_EQ(m_dialog->GetTitle(), "Pressure Loss Calculation Utility");
    EXPECT_EQ(m_dialog->GetList(Dlg::IDC_MATERIAL)->GetSelectedItemData(), 11);
    EXPECT_EQ(m_dialog->GetList(Dlg::IDC_MATERIAL)->GetValue(), "Commercial steel");
    EXPECT_EQ(m_dialog->GetList(Dlg::IDC_MATERIAL)->GetCount(), 7u);
    EXPECT_FALSE(m_dialog->GetEdit(Dlg::IDC_FRICTION_FACTOR)->IsEditable());
    EXPECT_EQ(Text(Dlg::IDC_FRICTION_FACTOR), "");
    EXPECT_EQ(Text(Dlg::IDC_DENSITY), "1.0");
    EXPECT_EQ(Text(Dlg::IDC_FLOW), "1000.0");
    EXPECT_EQ(Text(Dlg::IDC_LARGER_DIAMETER), "50.0");
    EXPECT_EQ(Text(Dlg::IDC_LENGTH), "1.0");
    EXPECT_EQ(m_dialog->GetList(Dlg::IDC_LENGTH_UNIT)->GetSelectedItemData(), 98);
    // Density lists system 0 before systems 2 and 1.
    const CDataComboBox* density = m_dialog->GetList(Dlg::IDC_DENSITY_UNIT);
    EXPECT_EQ(density->GetItemData(0), 20);
    EXPECT_EQ(density->GetItemData(density->GetCount() - 1), 25);
    EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
}

TEST_F(PressureLossUtilityTest, PipeTypeAndLengthOrAngleEnableTheirFields)
{
    const struct {
        int type;
        int use;
        bool smaller, length, angle;
    } cases[] = {
        {Dlg::IDC_STRAIGHT, Dlg::IDC_ANGLE_FLAG, false, true, false},
        {Dlg::IDC_EXPANDER, Dlg::IDC_LENGTH_FLAG, true, true, false},
        {Dlg::IDC_REDUCER, Dlg::IDC_ANGLE_FLAG, true, false, true},
    };
    for (const auto& c : cases) {
        Check(c.use);
        Check(c.type);
        EXPECT_EQ(Enabled(Dlg::IDC_LENGTH_FLAG), c.type != Dlg::IDC_STRAIGHT) << c.type;
        EXPECT_EQ(Enabled(Dlg::IDC_SMALLER_DIAMETER), c.smaller) << c.type;
        EXPECT_EQ(Enabled(Dlg::IDC_SMALLER_DIAMETER_UNIT), c.smaller) << c.type;
        EXPECT_EQ(Enabled(Dlg::IDC_LENGTH), c.length) << c.type;
        EXPECT_EQ(Enabled(Dlg::IDC_ANGLE), c.angle) << c.type;
        EXPECT_EQ(Enabled(Dlg::IDC_ANGLE_UNIT), c.angle) << c.type;
    }
}

TEST_F(PressureLossUtilityTest, StraightPipeResultIsReShownInAnotherUnitWithoutRecalculating)
{
    EnterStraightPipe();
    EXPECT_TRUE(m_dialog->GetEdit(Dlg::IDC_FRICTION_FACTOR)->IsEditable());
    m_dialog->Calculate();
    EXPECT_EQ(Text(Dlg::IDC_RESULT), "0.0000400281");
    EXPECT_EQ(Text(Dlg::IDC_FRICTION_FACTOR), "0.02");

    Type(Dlg::IDC_FLOW, "2000");
    Pick(Dlg::IDC_RESULT_UNIT, 5);
    EXPECT_EQ(Text(Dlg::IDC_RESULT), "4.00281");

    // Another pipe type empties the field; the kept result comes back with a unit change.
    Check(Dlg::IDC_EXPANDER);
    EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
    Pick(Dlg::IDC_RESULT_UNIT, 7);
    EXPECT_EQ(Text(Dlg::IDC_RESULT), "0.0000400281");
}

TEST_F(PressureLossUtilityTest, RoughMaterialFillsAndLocksTheFrictionFactor)
{
    EnterStraightPipe();
    Choose(Dlg::IDC_MATERIAL, 11);
    m_dialog->OnMaterialChanged();
    EXPECT_EQ(Text(Dlg::IDC_FRICTION_FACTOR), "");
    m_dialog->Calculate();
    // 0.00015 ft per 0.05 m: relative roughness 0.0009144.
    const double root = -0.5 / std::log10(0.00015 / (0.05 / 0.3048) / 3.7);
    EXPECT_NEAR(std::stod(Text(Dlg::IDC_FRICTION_FACTOR)), root * root, 1e-9);
    EXPECT_FALSE(m_dialog->GetEdit(Dlg::IDC_FRICTION_FACTOR)->IsEditable());
    EXPECT_NE(Text(Dlg::IDC_RESULT), "");
}

TEST_F(PressureLossUtilityTest, ConeWhoseSmallerDiameterIsNotSmallerShowsNoResultAndWhy)
{
    EnterStraightPipe();
    Check(Dlg::IDC_REDUCER);
    Choose(Dlg::IDC_SMALLER_DIAMETER_UNIT, 100);
    for (const char* smaller : {"50", "60", ""}) {
        Type(Dlg::IDC_SMALLER_DIAMETER, smaller);
        m_dialog->Calculate();
        EXPECT_EQ(Text(Dlg::IDC_RESULT), "") << smaller;
        EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE),
                  "No result: the smaller diameter must be above 0 and below the larger diameter.")
            << smaller;
    }
    Type(Dlg::IDC_SMALLER_DIAMETER, "25");
    m_dialog->Calculate();
    EXPECT_NE(Text(Dlg::IDC_RESULT), "");
    EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE), "");

    Check(Dlg::IDC_ANGLE_FLAG);
    Type(Dlg::IDC_ANGLE, "0");
    m_dialog->Calculate();
    EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
    EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE), "No result: the angle must lie between 0 and 90 degrees.");
    Type(Dlg::IDC_ANGLE, "10");
    m_dialog->Calculate();
    EXPECT_NE(Text(Dlg::IDC_RESULT), "");
    SaveScreenshot(Snapshot(m_dialog.get()), "pressure-loss-reducer");
}

// An input the result cannot come from (empty, 0 or negative) is named in the note, in the
// dialog's language, and no result is shown.
TEST_F(PressureLossUtilityTest, InputWithoutAResultIsNamedInTheNote)
{
    const struct {
        int edit;
        const char* english;
        const char* german;
    } inputs[] = {
        {Dlg::IDC_DENSITY, "No result: the density must be above 0.",
         "Kein Ergebnis: Die Dichte muss größer als 0 sein."},
        {Dlg::IDC_FLOW, "No result: the volume flow must be above 0.",
         "Kein Ergebnis: Der Volumendurchfluss muss größer als 0 sein."},
        {Dlg::IDC_LARGER_DIAMETER, "No result: the larger diameter must be above 0.",
         "Kein Ergebnis: Der große Durchmesser muss größer als 0 sein."},
        {Dlg::IDC_LENGTH, "No result: the length must be above 0.",
         "Kein Ergebnis: Die Länge muss größer als 0 sein."},
    };
    for (const char* language : {"en", "de"}) {
        UseTranslatedLanguage(language);
        m_dialog.reset(new Dlg(nullptr));
        ASSERT_TRUE(m_dialog->Create());
        m_dialog->Show();
        for (const auto& input : inputs) {
            for (int type : {Dlg::IDC_STRAIGHT, Dlg::IDC_EXPANDER}) {
                for (const char* typed : {"", "0", "-1", "0.0"}) {
                    SCOPED_TRACE(std::string(language) + " field " + std::to_string(input.edit) + " type " +
                                 std::to_string(type) + " '" + typed + "'");
                    EnterStraightPipe();
                    Type(Dlg::IDC_SMALLER_DIAMETER, "25");
                    Choose(Dlg::IDC_SMALLER_DIAMETER_UNIT, 100);
                    Check(type);
                    Type(input.edit, typed);
                    m_dialog->Calculate();
                    EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
                    EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE),
                              std::string(language) == "en" ? input.english : input.german);
                }
            }
        }
        // Mended, the result comes and the note goes.
        EnterStraightPipe();
        m_dialog->Calculate();
        EXPECT_NE(Text(Dlg::IDC_RESULT), "");
        EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE), "");
        Type(Dlg::IDC_LARGER_DIAMETER, "");
        m_dialog->Calculate();
        SaveScreenshot(Snapshot(m_dialog.get()), std::string("pressure-loss-no-diameter-") + language);
    }
    UseTranslatedLanguage("en");
}

// A factor the material gave belongs to its result: without a result it goes too, in both
// languages, and the note names the upper of two missing inputs; a factor the user typed stays.
TEST_F(PressureLossUtilityTest, NoResultEmptiesTheComputedFrictionFactorButNotATypedOne)
{
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        UseTranslatedLanguage(language);
        m_dialog.reset(new Dlg(nullptr));
        ASSERT_TRUE(m_dialog->Create());
        m_dialog->Show();
        EnterStraightPipe();
        Pick(Dlg::IDC_MATERIAL, 11);
        m_dialog->Calculate();
        ASSERT_NE(Text(Dlg::IDC_FRICTION_FACTOR), "");
        ASSERT_NE(Text(Dlg::IDC_RESULT), "");
        // The diameter is shown above the density: it is named.
        Type(Dlg::IDC_LARGER_DIAMETER, "");
        Type(Dlg::IDC_DENSITY, "");
        m_dialog->Calculate();
        EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
        EXPECT_EQ(Text(Dlg::IDC_FRICTION_FACTOR), "");
        EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE), std::string(language) == "en"
                                                  ? "No result: the larger diameter must be above 0."
                                                  : "Kein Ergebnis: Der große Durchmesser muss größer als 0 sein.");
        SaveScreenshot(Snapshot(m_dialog.get()), std::string("pressure-loss-no-result-rough-") + language);
        // Mended, the factor comes back with the result.
        Type(Dlg::IDC_LARGER_DIAMETER, "50");
        Type(Dlg::IDC_DENSITY, "1");
        m_dialog->Calculate();
        EXPECT_NE(Text(Dlg::IDC_FRICTION_FACTOR), "");
        EXPECT_NE(Text(Dlg::IDC_RESULT), "");

        EnterStraightPipe();
        Type(Dlg::IDC_FRICTION_FACTOR, "0.025");
        Type(Dlg::IDC_DENSITY, "0");
        m_dialog->Calculate();
        EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
        EXPECT_EQ(Text(Dlg::IDC_FRICTION_FACTOR), "0.025");
    }
    UseTranslatedLanguage("en");
}

// Of several inputs without a result the note names the one highest up in the dialog as it is
// shown, whichever two are missing.
TEST_F(PressureLossUtilityTest, NoteNamesTheTopmostMissingInput)
{
    const std::map<int, std::string> notes = {
        {Dlg::IDC_LARGER_DIAMETER, "No result: the larger diameter must be above 0."},
        {Dlg::IDC_SMALLER_DIAMETER, "No result: the smaller diameter must be above 0 and below the larger diameter."},
        {Dlg::IDC_LENGTH, "No result: the length must be above 0."},
        {Dlg::IDC_DENSITY, "No result: the density must be above 0."},
        {Dlg::IDC_FLOW, "No result: the volume flow must be above 0."},
    };
    std::vector<int> shown;
    for (const auto& [id, note] : notes)
        shown.push_back(id);
    std::sort(shown.begin(), shown.end(), [this](int upper, int lower) {
        return m_dialog->GetItem(upper)->GetScreenPosition().y < m_dialog->GetItem(lower)->GetScreenPosition().y;
    });
    ASSERT_EQ(shown, (std::vector<int>{Dlg::IDC_LARGER_DIAMETER, Dlg::IDC_SMALLER_DIAMETER, Dlg::IDC_LENGTH,
                                       Dlg::IDC_DENSITY, Dlg::IDC_FLOW}));
    for (std::size_t upper = 0; upper < shown.size(); ++upper) {
        for (std::size_t lower = upper + 1; lower < shown.size(); ++lower) {
            SCOPED_TRACE(std::to_string(shown[upper]) + " above " + std::to_string(shown[lower]));
            EnterStraightPipe();
            Check(Dlg::IDC_EXPANDER);
            Type(Dlg::IDC_SMALLER_DIAMETER, "25");
            Choose(Dlg::IDC_SMALLER_DIAMETER_UNIT, 100);
            Type(shown[upper], "");
            Type(shown[lower], "");
            m_dialog->Calculate();
            EXPECT_EQ(Text(Dlg::IDC_RESULT), "");
            EXPECT_EQ(Text(Dlg::IDC_RESULT_NOTE), notes.at(shown[upper]));
        }
    }
}

TEST_F(PressureLossUtilityTest, Screenshot)
{
    EnterStraightPipe();
    m_dialog->Calculate();
    SaveScreenshot(Snapshot(m_dialog.get()), "pressure-loss-straight");
}

TEST_F(PressureLossUtilityTest, GermanTextsAndScreenshot)
{
    UseTranslatedLanguage("de");
    UniqueWindow<Dlg> german(new Dlg(nullptr));
    ASSERT_TRUE(german->Create());
    german->Show();
    EXPECT_EQ(german->GetTitle(), wxString::FromUTF8("Druckverlustrechner"));
    EXPECT_EQ(german->GetItem(Dlg::IDC_CALCULATE)->GetLabel(), wxString::FromUTF8("Druckverlust berechnen"));
    EXPECT_EQ(german->GetList(Dlg::IDC_MATERIAL)->GetValue(), wxString::FromUTF8("Handelsüblicher Stahl"));
    SaveScreenshot(Snapshot(german.get()), "pressure-loss-de");
}

TEST_F(PressureLossUtilityTest, MaterialsReadPartWayOfferNoneAndLogWhy)
{
    m_dialog.reset();
    CUnitDb::GetInstance()->Close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_database.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "WITH RECURSIVE n(i) AS (SELECT 101 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                           "INSERT INTO Materials SELECT i, 0.001, printf('material %040d', i) FROM n;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    m_dialog.reset(new Dlg(nullptr));
    ASSERT_TRUE(m_dialog->Create());
    EXPECT_EQ(m_dialog->GetList(Dlg::IDC_MATERIAL)->GetCount(), 7u + 2900u) << "the whole table loads";
    m_dialog.reset();
    CUnitDb::GetInstance()->Close();

    std::string error;
    ASSERT_TRUE(DamageMiddleLeafPage(m_database, "Materials", error)) << error;
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    const std::string log = LogWrittenWhile(TestProgramFolder() + "damaged.log", LOGLEVEL_ERROR, [this] {
        m_dialog.reset(new Dlg(nullptr));
        EXPECT_TRUE(m_dialog->Create());
    });
    EXPECT_EQ(m_dialog->GetList(Dlg::IDC_MATERIAL)->GetCount(), 0u);
    EXPECT_NE(log.find("\nerror|The materials could not be read completely"), std::string::npos) << log;
}

TEST_F(PressureLossUtilityTest, UtilitiesMenuOpensAnotherModally)
{
    bool shown = false;
    auto closeFirstDialog = [this, &shown](wxShowEvent& event) {
        event.Skip();
        auto* dialog = dynamic_cast<Dlg*>(event.GetEventObject());
        if (!dialog || !event.IsShown() || shown || dialog == m_dialog.get())
            return;
        shown = true;
        dialog->CallAfter([dialog] { dialog->EndModal(wxID_CANCEL); });
    };
    App().Bind(wxEVT_SHOW, closeFirstDialog);
    wxCommandEvent command(wxEVT_MENU, CWindowIds::FromResourceId(ID_UTILITIES_PRESSURELOSSCALCULATOR));
    App().ProcessEvent(command);
    App().Unbind(wxEVT_SHOW, closeFirstDialog);
    EXPECT_TRUE(shown);
}

}  // namespace
