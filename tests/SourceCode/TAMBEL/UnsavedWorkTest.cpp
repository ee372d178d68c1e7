// The question before a changed project is lost, on the real main window: closing it, and opening
// a file over the project. Nothing is asked while the project is as it was after the start, an
// open or a save; Yes saves through the file dialog (answered by the test) and goes on only when
// the file was written, No goes on, Cancel stays. A close that cannot be refused and a page that
// refuses to be left ask nothing.
#include "FakeStartupEnvironment.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DialogControls.h"
#include "Harbinax/MessageDialog.h"
#include "PolyglottaWx/WindowIds.h"
#include "TAMBEL/GasMixDataDlg.h"
#include "TAMBEL/Pages/PageFluid.h"
#include "TAMBEL/Pages/PageFluidIds.h"
#include "TAMBEL/Pages/PageResults.h"
#include "TAMBEL/ProjectFileDialog.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELDlg.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kQuestion[] = "The project has been changed.\nDo you want to save the changes?";

class UnsavedWorkTest : public ::testing::Test {
protected:
    // The databases as the program loads them at start: the fluid page offers what it offers there.
    static void SetUpTestSuite()
    {
        OpenShippedDatabase();
    }

    static void TearDownTestSuite()
    {
        CloseShippedDatabase();
    }

    void SetUp() override
    {
        App().SetUiLanguage("en");
        App().EnableTranslator(false);
        CApplicationConfiguration::GetInstance()->Reset();
        App().SetEnvironment(std::make_unique<CFakeStartupEnvironment>(SStartupScript(), calls));
        SetMessageBoxSinkForTesting([this](const SMessageBox& box) {
            boxes.push_back(box);
            if (!(box.style & wxYES_NO))
                return static_cast<int>(wxID_OK);
            const int answer = answers.empty() ? wxID_CANCEL : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return answer;
        });
        SetFileDialogSinkForTesting([this](const SFileDialogRequest& request) {
            requests.push_back(request.save ? "save" : "open");
            return request.save ? savePath : openPath;
        });
        CProjectData::GetInstance()->Reset();
        NewMainWindow();
    }

    void TearDown() override
    {
        // The window goes while its boxes still go to the test: its page may refuse once more.
        App().SetMainDialog(nullptr);
        dialog.reset();
        SetFileDialogSinkForTesting(nullptr);
        SetMessageBoxSinkForTesting(nullptr);
        App().SetUiLanguage("en");
        App().EnableTranslator(false);
        App().SetEnvironment(std::make_unique<CStartupEnvironment>());
        CProjectData::GetInstance()->Reset();
    }

    // As the program starts it: created, known to the application, shown.
    void NewMainWindow()
    {
        App().SetMainDialog(nullptr);
        dialog = std::make_unique<CTAMBELDlg>();
        ASSERT_TRUE(dialog->Create());
        App().SetMainDialog(dialog.get());
        ShowAndFocus(dialog->GetFrame());
    }

    wxTextCtrl* Field(int id) const
    {
        return dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(dialog->GetFluidPage().GetWindow(), id));
    }

    // What the user typed into a field of the fluid page.
    void Type(int id, const std::string& text)
    {
        wxTextCtrl* field = Field(id);
        ASSERT_NE(field, nullptr) << id;
        field->ChangeValue(text);
    }

    // The close box or File > Exit; true when the window went.
    bool Close()
    {
        const bool closed = dialog->GetFrame()->Close();
        Pump();
        EXPECT_EQ(closed, !dialog->GetFrame()->IsShown());
        return closed;
    }

    void Menu(int resourceId)
    {
        wxCommandEvent command(wxEVT_MENU, CWindowIds::FromResourceId(resourceId));
        dialog->GetFrame()->ProcessWindowEvent(command);
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const SMessageBox& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    CallList calls;
    std::unique_ptr<CTAMBELDlg> dialog;
    std::vector<SMessageBox> boxes;
    std::deque<int> answers;  // to questions; Cancel when none is left
    std::vector<std::string> requests;
    std::string savePath;
    std::string openPath;
    CTemporaryFolder folder;
};

TEST_F(UnsavedWorkTest, UntouchedProgramAsksNothing)
{
    Menu(ID_FILE_OPEN);
    EXPECT_EQ(requests, (std::vector<std::string>{"open"}));
    EXPECT_TRUE(Close());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UnsavedWorkTest, ChangedProjectIsAskedAboutBeforeTheWindowCloses)
{
    const struct {
        const char* name;
        int answer;
        std::string savePath;  // empty: the file dialog cancelled
        bool closes;
        std::vector<std::string> requests;
        std::vector<std::string> texts;
    } cases[] = {
        {"Cancel", wxID_CANCEL, folder.Path("unused.xml"), false, {}, {kQuestion}},
        {"No", wxID_NO, folder.Path("unused.xml"), true, {}, {kQuestion}},
        {"Yes", wxID_YES, folder.Path("kept.xml"), true, {"save"}, {kQuestion}},
        {"YesSaveCancelled", wxID_YES, "", false, {"save"}, {kQuestion}},
        {"YesSaveFailed", wxID_YES, folder.Path("no such folder/kept.xml"), false, {"save"},
         {kQuestion, "Could not save data to file!\nThe folder does not exist."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NewMainWindow();
        boxes.clear();
        requests.clear();
        Type(IDC_CUSTOMER, c.name);
        answers = {c.answer};
        savePath = c.savePath;
        EXPECT_EQ(Close(), c.closes);
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(Texts(), c.texts);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0].caption, "TAMBEL: Confirmation");
        EXPECT_EQ(boxes[0].style & (wxYES_NO | wxCANCEL | wxICON_QUESTION), wxYES_NO | wxCANCEL | wxICON_QUESTION);
        EXPECT_EQ(boxes[0].owner, dialog->GetFrame());
        // Staying keeps the window as the user left it.
        if (!c.closes) {
            EXPECT_EQ(Field(IDC_CUSTOMER)->GetValue(), c.name);
            EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetFluidPage());
        }
    }
    // The file holds the project as the page showed it.
    const std::string saved = ReadWholeFile(folder.Path("kept.xml"));
    EXPECT_NE(saved.find("Yes"), std::string::npos) << saved;
    EXPECT_EQ(ReadWholeFile(folder.Path("unused.xml")), "");
}

// The end of the desktop session closes the window whatever the answer would be.
TEST_F(UnsavedWorkTest, CloseThatCannotBeRefusedAsksNothing)
{
    Type(IDC_CUSTOMER, "Stadtwerke");
    dialog->GetFrame()->Close(true);
    Pump();
    EXPECT_FALSE(dialog->GetFrame()->IsShown());
    EXPECT_TRUE(boxes.empty());
}

// The page says why it cannot be left; the window stays with what the user typed.
TEST_F(UnsavedWorkTest, PageThatRefusesToBeLeftKeepsTheWindowWithoutAQuestion)
{
    Type(IDC_CUSTOMER, "Stadtwerke");
    Type(IDC_PA_NO, "9999999999");
    answers = {wxID_NO};
    EXPECT_FALSE(Close());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text, kQuestion);
    EXPECT_EQ(boxes[0].style & wxICON_QUESTION, 0);
    Menu(ID_FILE_OPEN);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(Field(IDC_PA_NO)->GetValue(), "9999999999");
}

// A saved or opened project is the unchanged one; the e-mail's copy is no save.
TEST_F(UnsavedWorkTest, SavedAndOpenedProjectsAreTheUnchangedOnes)
{
    Type(IDC_CUSTOMER, "Saved");
    savePath = folder.Path("saved.xml");
    Menu(ID_FILE_SAVE);
    ASSERT_FALSE(ReadWholeFile(savePath).empty());
    Menu(ID_FILE_OPEN);
    EXPECT_EQ(requests, (std::vector<std::string>{"save", "open"}));
    EXPECT_TRUE(boxes.empty());

    Type(IDC_CUSTOMER, "Mailed");
    ASSERT_TRUE(App().SaveProjectFile(folder.Path("mail.xml"), false));
    requests.clear();
    Menu(ID_FILE_OPEN);
    EXPECT_EQ(Texts(), (std::vector<std::string>{kQuestion}));
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(Field(IDC_CUSTOMER)->GetValue(), "Mailed");

    // Opened over the change with No: the file's project shows and counts as unchanged.
    answers = {wxID_NO};
    openPath = savePath;
    Menu(ID_FILE_OPEN);
    EXPECT_EQ(requests, (std::vector<std::string>{"open"}));
    EXPECT_EQ(Field(IDC_CUSTOMER)->GetValue(), "Saved");
    boxes.clear();
    EXPECT_TRUE(Close());
    EXPECT_TRUE(boxes.empty());
}

// Yes before an open saves first, then asks for the file to open.
TEST_F(UnsavedWorkTest, YesBeforeAnOpenSavesFirst)
{
    Type(IDC_CUSTOMER, "Before the open");
    answers = {wxID_YES};
    savePath = folder.Path("before.xml");
    Menu(ID_FILE_OPEN);
    EXPECT_EQ(requests, (std::vector<std::string>{"save", "open"}));
    EXPECT_NE(ReadWholeFile(savePath).find("Before the open"), std::string::npos);
    EXPECT_EQ(Texts(), (std::vector<std::string>{kQuestion}));
}

// A file written elsewhere may hold more digits than the page shows: as opened, it is unchanged.
TEST_F(UnsavedWorkTest, OpenedFileWithMoreDigitsThanShownIsUnchanged)
{
    Type(IDC_TEMPERATURE, "20");
    savePath = folder.Path("shown.xml");
    Menu(ID_FILE_SAVE);
    CProjectData* project = CProjectData::GetInstance();
    ASSERT_EQ(project->physical.Temperature.Value, 20.0);
    project->physical.Temperature.Value = 20.123456789;
    const std::string path = folder.Path("digits.xml");
    std::string detail;
    ASSERT_EQ(CProjectFile::Save(*project, path, &detail), nullptr) << detail;
    ASSERT_TRUE(App().OpenProjectFile(path));
    EXPECT_EQ(Field(IDC_TEMPERATURE)->GetValue(), "20.12");
    EXPECT_TRUE(Close());
    EXPECT_TRUE(boxes.empty());
}

// A gas described by the user whose every number carries more digits than its field shows.
void MakeProjectOfManyDigits(CProjectData& project)
{
    project.Reset();
    CPhysicalData& physical = project.physical;
    physical.Fluid = CreateFluid(FLUID_TYPE_GAS);
    physical.Fluid->Type = FLUID_TYPE_GAS;
    physical.Fluid->DbIndex = FLUID_INDEX_CUSTOM;
    physical.Fluid->Name = "Process gas";
    const CUnitManager* units = CUnitManager::GetInstance();
    const auto set = [units](CUnitValue& target, int unit, double value, int reference) {
        ASSERT_TRUE(units->GetUnit(target, unit));
        target.Value = value;
        target.Reference = reference;
        ASSERT_TRUE(units->ConvertToBase(target.BaseValue, value, unit, reference));
    };
    set(physical.Temperature, 1, 20.123456789, 0);  // degC
    set(physical.Pressure, 7, 5.123456789, 1);      // bar abs.
    set(physical.Density, 21, 6.0123456789, 0);     // kg/m3
    set(physical.Viscosity, 97, 0.0181234567, 0);   // mPa s
    set(physical.Flow, 50, 300.123456789, 4);       // Nm3/h
    physical.TemperatureRange.MinRange = -10.123456789;
    physical.TemperatureRange.MaxRange = 80.987654321;
    physical.PressureRange.MinRange = 1.123456789;
    physical.PressureRange.MaxRange = 9.87654321;
    physical.CompressibilityFactor = 0.987654321;
    CNormFlowCondition& norm = physical.NormFlowConditions;
    norm.Id = -1;
    norm.Name = "Custom";
    set(norm.Temperature, 1, 15.123456789, 0);
    set(norm.Pressure, 7, 1.01323456789, 1);
    set(norm.Density, 21, 1.2123456789, 0);
    project.customer.customer = "Stadtwerke";
}

// Looking at a project changes nothing, whichever page it was opened on and whichever pages
// were looked at since: its values keep the digits the fields do not show, nothing is asked at
// the end, and a save writes the file as it was.
TEST_F(UnsavedWorkTest, LookingAtAProjectKeepsEveryDigitOnEveryPage)
{
    CProjectData* project = CProjectData::GetInstance();
    ASSERT_NO_FATAL_FAILURE(MakeProjectOfManyDigits(*project));
    const std::string written = folder.Path("digits.xml");
    std::string detail;
    ASSERT_EQ(CProjectFile::Save(*project, written, &detail), nullptr) << detail;
    ASSERT_NE(ReadWholeFile(written).find("20.123456789"), std::string::npos);
    // As the program saves it after a calculation: with the results of these very numbers.
    savePath = folder.Path("calculated.xml");
    ASSERT_TRUE(dialog->ShowPage(&dialog->GetResultsPage()));
    ASSERT_TRUE(App().OpenProjectFile(written));
    dialog->GetResultsPage().OnRecalculate();
    Menu(ID_FILE_SAVE);
    const std::string calculated = ReadWholeFile(savePath);
    for (const char* digits : {"20.123456789", "5.123456789", "6.0123456789", "0.0181234567", "300.123456789",
                               "-10.123456789", "80.987654321", "1.123456789", "9.87654321", "0.987654321",
                               "15.123456789", "1.01323456789", "1.2123456789"})
        ASSERT_TRUE(calculated.find(std::string("\"") + digits + "\"") != std::string::npos ||
                    calculated.find(std::string(">") + digits + "<") != std::string::npos)
            << digits << calculated;

    const char* const pages[] = {"fluid", "device", "results", "configuration"};
    // As the page's button does: the page shown stays.
    const auto show = [this](const std::string& name) {
        cvBaseDialog* page = name == "device"    ? static_cast<cvBaseDialog*>(&dialog->GetDevicePage())
                             : name == "results" ? static_cast<cvBaseDialog*>(&dialog->GetResultsPage())
                             : name == "configuration"
                                 ? static_cast<cvBaseDialog*>(&dialog->GetConfigurationPage())
                                 : static_cast<cvBaseDialog*>(&dialog->GetFluidPage());
        return dialog->GetCurrentPage() == page || dialog->ShowPage(page);
    };
    for (const std::string openedOn : pages) {
        SCOPED_TRACE(openedOn);
        // A program started anew.
        CProjectData::GetInstance()->Reset();
        NewMainWindow();
        boxes.clear();
        ASSERT_TRUE(show(openedOn));
        openPath = folder.Path("calculated.xml");
        // The results page calculates the new program's project as it is shown: not to be saved.
        answers = {wxID_NO};
        Menu(ID_FILE_OPEN);
        ASSERT_EQ(CProjectData::GetInstance()->customer.customer, "Stadtwerke");
        boxes.clear();
        for (const char* page : pages) {
            ASSERT_TRUE(show(page)) << page << " " << testing::PrintToString(Texts());
            Pump();
        }
        ASSERT_TRUE(show(openedOn));
        savePath = folder.Path("looked-at-" + openedOn + ".xml");
        Menu(ID_FILE_SAVE);
        EXPECT_EQ(ReadWholeFile(savePath), calculated);
        ASSERT_TRUE(show("fluid"));
        EXPECT_TRUE(Close());
        EXPECT_EQ(Texts(), std::vector<std::string>{});
    }
}

// OK in the gas-mix dialog without a change leaves the project as it was opened: the shares keep
// the digits their fields do not show, the density stays, nothing is asked at the end, and a
// save writes the file as it was.
TEST_F(UnsavedWorkTest, GasMixDialogConfirmedUnchangedChangesNothing)
{
    CProjectData* project = CProjectData::GetInstance();
    ASSERT_NO_FATAL_FAILURE(MakeProjectOfManyDigits(*project));
    auto mix = CreateFluid(FLUID_TYPE_GAS_MIX);
    mix->Type = FLUID_TYPE_GAS_MIX;
    // A mixture is no fluid of the list.
    mix->DbIndex = FLUID_INDEX_NONE;
    mix->Name = "Synthetic air";
    dynamic_cast<CFluidGasMix&>(*mix).Elements = {{3, 20.9458766}, {2, 78.0841234}, {4, 0.97}};
    project->physical.Fluid = std::move(mix);
    const std::string opened = folder.Path("mix.xml");
    std::string detail;
    ASSERT_EQ(CProjectFile::Save(*project, opened, &detail), nullptr) << detail;
    ASSERT_NE(ReadWholeFile(opened).find("78.084123"), std::string::npos);
    ASSERT_TRUE(App().OpenProjectFile(opened));

    CGasMixDataDlg* gasMix = dialog->GetFluidPage().GetGasMixDialog();
    ASSERT_NE(gasMix, nullptr);
    std::string shown;
    dialog->GetFluidPage().GetWindow()->CallAfter([&] {
        ASSERT_TRUE(gasMix->IsModal());
        shown = dynamic_cast<const wxTextCtrl*>(gasMix->GetItem(2 + CGasMixDataDlg::kFieldOffset))->GetValue().utf8_string();
        wxWindow* ok = gasMix->FindWindow(wxID_OK);
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(ok);
        ok->GetEventHandler()->ProcessEvent(click);
        if (gasMix->IsModal())
            gasMix->EndModal(wxID_CANCEL);
    });
    wxCommandEvent press(wxEVT_BUTTON, IDC_GAS_MIX);
    press.SetEventObject(CDialogControls::FindItem(dialog->GetFluidPage().GetWindow(), IDC_GAS_MIX));
    dialog->GetFluidPage().GetWindow()->GetEventHandler()->ProcessEvent(press);
    EXPECT_EQ(shown, "78.08");
    // Nothing to ask about before the project is dropped.
    EXPECT_TRUE(App().MayDropProject());
    EXPECT_EQ(Texts(), std::vector<std::string>{});

    savePath = folder.Path("saved.xml");
    Menu(ID_FILE_SAVE);
    EXPECT_EQ(ReadWholeFile(savePath), ReadWholeFile(opened));
    EXPECT_EQ(Texts(), std::vector<std::string>{});
}

// The real box in both languages: caption, text and answers; Cancel keeps the window.
TEST_F(UnsavedWorkTest, RealQuestionInBothLanguages)
{
    const struct {
        const char* language;
        const char* caption;
        const char* text;
        std::vector<wxString> answers;
    } languages[] = {
        {"en", "Zephrin: Confirmation", kQuestion, {"&Yes", "&No", "&Cancel"}},
        {"de", "Zephrin: Bestätigung", "Das Projekt wurde geändert.\nMöchten Sie die Änderungen speichern?",
         {"&Ja", "&Nein", "&Abbrechen"}},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        UseTranslatedLanguage(language.language);
        NewMainWindow();
        Type(IDC_CUSTOMER, std::string("Stadtwerke ") + language.language);
        SetMessageBoxSinkForTesting(nullptr);
        wxString caption;
        wxString text;
        std::vector<wxString> answers;
        auto cancelWhenShown = [&](wxShowEvent& event) {
            event.Skip();
            auto* box = dynamic_cast<CMessageDialog*>(event.GetEventObject());
            if (!box || !event.IsShown())
                return;
            box->CallAfter([&, box] {
                PumpFor(300);
                caption = box->GetTitle();
                text = box->GetMessage();
                for (const int id : {wxID_YES, wxID_NO, wxID_CANCEL}) {
                    if (const wxWindow* button = box->FindWindow(id))
                        answers.push_back(button->GetLabel());
                }
                SaveScreenshot(WholeWindow(box), std::string("save-question-") + language.language);
                box->EndModal(wxID_CANCEL);
            });
        };
        App().Bind(wxEVT_SHOW, cancelWhenShown);
        EXPECT_FALSE(Close());
        App().Unbind(wxEVT_SHOW, cancelWhenShown);
        EXPECT_EQ(caption, wxString::FromUTF8(language.caption));
        EXPECT_EQ(text, wxString::FromUTF8(language.text));
        EXPECT_EQ(answers, language.answers);
        EXPECT_TRUE(dialog->GetFrame()->IsShown());
    }
}

}  // namespace
