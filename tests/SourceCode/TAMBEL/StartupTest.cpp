// The start-up and shutdown of the application object with every step scripted: the failure
// table, the update result bits, when the configuration is saved, and a second start.
#include "FakeStartupEnvironment.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/TAMBELCalculator/CalculationResult.h"
#include "CommonFiles/UnitManager.h"

#include "Platform/AtomicFile.h"
#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

bool Contains(const CallList& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Each start begins as the program's own: translation off, English configured.
        App().EnableTranslator(false);
        CApplicationConfiguration::GetInstance()->language = "en";
    }

    void TearDown() override { App().SetEnvironment(std::make_unique<CStartupEnvironment>()); }

    // One start-up and its shutdown; true when the main window was reached.
    bool Run(const SStartupScript& script)
    {
        App().SetEnvironment(std::make_unique<CFakeStartupEnvironment>(script, calls));
        EXPECT_FALSE(App().InitInstance());
        const bool reached = Contains(calls, "RunMainDialog");
        EXPECT_EQ(reached, App().ReachedMainWindow());
        App().ExitInstance();
        return reached;
    }

    CMessageBoxRecorder messages;
    CallList calls;
};

// --- Failure table ---------------------------------------------------------------------------

struct SFailureCase {
    const char* name;
    void (*fail)(SStartupScript& script);
    const char* caption;
    const char* text;
    long icon;
    bool reachesMainWindow;
};

void PrintTo(const SFailureCase& failure, std::ostream* out)
{
    *out << failure.name;
}

const SFailureCase kFailures[] = {
    {"Platform", [](SStartupScript& s) { s.platform = false; }, "TAMBEL: Fatal error",
     "The COM subsystem could not be initialized.\nTerminating application.", wxICON_ERROR, false},
    {"Configuration", [](SStartupScript& s) { s.configuration = false; }, "Zephrin: Notice",
     "The application configuration file could not be loaded.\nAssuming default values.", wxICON_WARNING, true},
    {"UpdateInit",
     [](SStartupScript& s) {
         s.protocol = 1;
         s.updateInit = false;
     },
     "Zephrin: Update error", "Could not initialize Renovix", wxICON_ERROR, true},
    {"UpdateList",
     [](SStartupScript& s) {
         s.protocol = 1;
         s.updateList = false;
     },
     "Zephrin: Update error", "Could not retrieve the update list from server!", wxICON_ERROR, true},
    {"UpdateRun",
     [](SStartupScript& s) {
         s.protocol = 1;
         s.updateResult = UPDATE_RESULT_FAILED | 0x20;
     },
     "Zephrin: Error", "Renovix failed to update all files!", wxICON_ERROR, true},
    {"UpdaterStart",
     [](SStartupScript& s) {
         s.protocol = 1;
         s.updateResult = UPDATE_RESULT_HAD_SHARED;
         s.restart = false;
     },
     "Zephrin: Update error", "Could not restart application for update!", wxICON_ERROR, true},
    {"UnitsDatabase", [](SStartupScript& s) { s.unitsDb = false; }, "Zephrin: Database error",
     "Could not open the units database. Sizing cannot run without the database.", wxICON_ERROR, false},
    {"Units", [](SStartupScript& s) { s.units = false; }, "Zephrin: Database error",
     "Could not load units from the database. Sizing cannot run without units.", wxICON_ERROR, false},
    {"Fluids", [](SStartupScript& s) { s.fluids = false; }, "Zephrin: Database error",
     "Could not load fluids from the database. Sizing functionality is limited without fluid database.",
     wxICON_ERROR, true},
    {"NormConditions", [](SStartupScript& s) { s.normConditions = false; }, "Zephrin: Database error",
     "Could not load norm. flow conditions from the database. Sizing functionality is limited without norm. "
     "flow conditions.",
     wxICON_ERROR, true},
};

class StartupFailureTest : public StartupTest, public ::testing::WithParamInterface<SFailureCase> {};

TEST_P(StartupFailureTest, ShowsItsOneMessageAndEndsOrGoesOn)
{
    const SFailureCase& failure = GetParam();
    SStartupScript script;
    failure.fail(script);

    EXPECT_EQ(Run(script), failure.reachesMainWindow);
    ASSERT_EQ(messages.Boxes().size(), 1u);
    const SMessageBox& box = messages.Boxes()[0];
    EXPECT_EQ(box.caption, failure.caption);
    EXPECT_EQ(box.text, failure.text);
    EXPECT_EQ(box.style & (wxICON_ERROR | wxICON_WARNING | wxICON_INFORMATION), failure.icon);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(App().GetExitCode(), failure.reachesMainWindow || failure.icon == wxICON_WARNING ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, StartupFailureTest, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<SFailureCase>& info) { return info.param.name; });

TEST_F(StartupTest, RunsEveryStepInOrderAndUndoesThemAtExit)
{
    EXPECT_TRUE(Run(SStartupScript()));
    EXPECT_TRUE(messages.Boxes().empty());
    const CallList expected = {"InitializePlatform",
                               "IsOtherInstanceRunning",
                               "LoadConfiguration",
                               "CreateUpdateClient",
                               "SetProgressWindow",
                               "LoadSettingsFromFile " + TestProgramFolder() + "Renovix.xml",
                               "OpenUnitsDatabase",
                               "LoadUnits",
                               "LoadFluids",
                               "LoadNormConditions",
                               "LoadConfiguration",
                               "OpenProductionDb",
                               "RunMainDialog",
                               "SaveConfiguration",
                               "CloseProductionDb",
                               "CloseUnitsDatabase"};
    EXPECT_EQ(calls, expected);
}

TEST_F(StartupTest, MissingConfigurationTakesNormConditionOneBeforeTheSecondLoad)
{
    SStartupScript script;
    script.configuration = false;
    script.configurationFileExists = false;
    Run(script);
    const auto first = std::find(calls.begin(), calls.end(), "UseFirstNormConditionAsDefault");
    ASSERT_NE(first, calls.end());
    EXPECT_EQ(std::find(first, calls.end(), "LoadConfiguration") - first, 1);
    // A missing file is written with the defaults at exit.
    EXPECT_TRUE(Contains(calls, "SaveConfiguration"));
}

TEST_F(StartupTest, AnUnreadableConfigurationIsNeverSavedOver)
{
    SStartupScript script;
    script.configuration = false;
    script.configurationFileExists = true;
    Run(script);
    EXPECT_FALSE(Contains(calls, "SaveConfiguration"));
}

TEST_F(StartupTest, AnEarlyEndSavesNoConfigurationAndClosesOnlyWhatWasOpened)
{
    SStartupScript script;
    script.platform = false;
    Run(script);
    EXPECT_EQ(calls, CallList{"InitializePlatform"});

    calls.clear();
    script.platform = true;
    script.unitsDb = false;
    Run(script);
    EXPECT_TRUE(Contains(calls, "SaveConfiguration"));  // it was loaded
    EXPECT_FALSE(Contains(calls, "CloseUnitsDatabase"));
    EXPECT_FALSE(Contains(calls, "OpenProductionDb"));
}

// Settings the system refuses to write are not lost without a word: the first failed save of a
// run, the one at exit included, tells the file and the reason in the program's language; later
// failures of the same run are not told again, the next run tells again.
TEST_F(StartupTest, ConfigurationThatCannotBeWrittenIsToldOncePerRun)
{
    const std::string file = TestProgramFolder() + "Zephrin.cfg";
    const struct {
        const char* language;
        const char* caption;
        std::string text;
    } languages[] = {
        {"en", "Zephrin: Warning",
         "The settings could not be saved to " + file +
             ".\nPermission denied: you may not write to this folder or file."},
        {"de", "Zephrin: Warnung",
         "Die Einstellungen konnten nicht in " + file +
             " gespeichert werden.\nZugriff verweigert: Sie dürfen in diesen Ordner oder diese Datei nicht schreiben."},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        CApplicationConfiguration::GetInstance()->language = language.language;
        SStartupScript script;
        script.saveConfigurationError = EACCES;
        // The one save at exit.
        const std::size_t before = messages.Boxes().size();
        EXPECT_TRUE(Run(script));
        ASSERT_EQ(messages.Boxes().size(), before + 1);
        EXPECT_EQ(messages.Boxes().back().caption, language.caption);
        EXPECT_EQ(messages.Boxes().back().text, language.text);
        EXPECT_EQ(messages.Boxes().back().style & wxICON_WARNING, wxICON_WARNING);

        // Saves while the main window runs (the configuration page's, the filter dialog's)
        // fail on the real file; the first tells, the rest and the exit's stay silent.
        script.mainWindow = [](CTAMBELApp& app) {
            CAtomicFile::SetHookForTesting([](CAtomicFile::Step) { return EACCES; });
            EXPECT_FALSE(app.SaveConfiguration(*CApplicationConfiguration::GetInstance()));
            EXPECT_FALSE(app.SaveConfiguration(*CApplicationConfiguration::GetInstance()));
            CAtomicFile::SetHookForTesting(nullptr);
        };
        EXPECT_TRUE(Run(script));
        ASSERT_EQ(messages.Boxes().size(), before + 2);
        EXPECT_EQ(messages.Boxes().back().text, language.text);
        CApplicationConfiguration::GetInstance()->language = "en";
    }
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
}

// The same with a program folder the user really may not write: the save runs as nobody, for
// whom the permission bits count.
TEST_F(StartupTest, ConfigurationInAFolderTheUserMayNotWrite)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only as root can the save run as another user";
    CTemporaryFolder reports;
    ASSERT_TRUE(GiveToUnprivileged(reports.Path("")));
    const std::string report = reports.Path("message.txt");
    SStartupScript script;
    script.mainWindow = [&](CTAMBELApp& app) {
        const int result = RunInChild([&] {
            if (!LeaveRoot())
                return 10;
            const std::size_t before = messages.Boxes().size();
            const bool saved = app.SaveConfiguration(*CApplicationConfiguration::GetInstance());
            WriteWholeFile(report, saved || messages.Boxes().size() != before + 1 ? "" : messages.Boxes().back().text);
            return 0;
        });
        EXPECT_EQ(result, 0);
    };
    EXPECT_TRUE(Run(script));
    EXPECT_EQ(ReadWholeFile(report), "The settings could not be saved to " + TestProgramFolder() +
                                         "Zephrin.cfg.\nPermission denied: you may not write to this folder or file.");
    App().SetUiLanguage("en");
    App().EnableTranslator(false);
}

TEST_F(StartupTest, ASecondStartNeitherUpdatesNorOpensAnything)
{
    SStartupScript script;
    script.otherInstance = true;
    script.protocol = 1;
    EXPECT_FALSE(Run(script));
    EXPECT_EQ(calls, (CallList{"InitializePlatform", "IsOtherInstanceRunning"}));
    EXPECT_TRUE(messages.Boxes().empty());
    EXPECT_EQ(App().GetExitCode(), 0);
}

// The splash screen's status lines, from the start's first line on: the ones before the
// translator is enabled pass unchanged, the others in the user's language.
CallList StatusesOfTheStart(const CallList& noted)
{
    const auto first = std::find(noted.begin(), noted.end(), "Starting application...");
    return CallList(first, noted.end());
}

TEST_F(StartupTest, SplashShowsEachStepsStatusLine)
{
    SStartupScript script;
    script.protocol = 1;
    auto environment = std::make_unique<CFakeStartupEnvironment>(script, calls);
    const CFakeStartupEnvironment& fake = *environment;
    App().SetEnvironment(std::move(environment));
    App().InitInstance();
    EXPECT_EQ(StatusesOfTheStart(fake.SplashStatuses()),
              (CallList{"Starting application...", "Running Renovix...", "Opening units database...",
                        "Loading units...", "Loading fluids...", "Loading norm. flow conditions..."}));
    App().ExitInstance();

    CApplicationConfiguration::GetInstance()->language = "de";
    App().EnableTranslator(false);
    script.updateResult = UPDATE_RESULT_HAD_SHARED;
    environment = std::make_unique<CFakeStartupEnvironment>(script, calls);
    const CFakeStartupEnvironment& german = *environment;
    App().SetEnvironment(std::move(environment));
    App().InitInstance();
    EXPECT_EQ(StatusesOfTheStart(german.SplashStatuses()),
              (CallList{"Starting application...", "Renovix wird ausgeführt...",
                        "Anwendung wird für die Aktualisierung neu gestartet..."}));
    App().ExitInstance();
}

// --- Update result bits ------------------------------------------------------------------------

struct SUpdateCase {
    const char* name;
    std::uint32_t result;
    bool savesSettings;
    const char* message;  // null: none
    bool restarts;
};

void PrintTo(const SUpdateCase& update, std::ostream* out)
{
    *out << update.name;
}

const SUpdateCase kUpdates[] = {
    {"Ok", 0x1, true, nullptr, false},
    {"OkWithNewFiles", 0x10000001, true, nullptr, false},
    // Bit 1 is asked first: whatever else is set, the run counts as done.
    {"OkBeforeEverythingElse", 0x7, true, nullptr, false},
    {"FailedDownload", 0x24, false, "Renovix failed to update all files!", false},
    // A failure wins over locked files: no hand-over.
    {"FailedAndLocked", 0x6, false, "Renovix failed to update all files!", false},
    {"Locked", 0x2, false, nullptr, true},
    {"Nothing", 0x0, false, nullptr, false},
};

class UpdateResultTest : public StartupTest, public ::testing::WithParamInterface<SUpdateCase> {};

TEST_P(UpdateResultTest, FollowsTheBitsInTheirOrder)
{
    const SUpdateCase& update = GetParam();
    SStartupScript script;
    script.protocol = 1;
    script.updateResult = update.result;

    const bool reached = Run(script);
    EXPECT_EQ(Contains(calls, "SaveSettingsToFile " + TestProgramFolder() + "Renovix.xml"), update.savesSettings);
    const std::string restart =
        "RestartAndUpdate " + TestProgramFolder() + "Renovix " + TestProgramFolder() + "Zephrin 2000";
    EXPECT_EQ(Contains(calls, restart), update.restarts);
    if (update.message) {
        ASSERT_EQ(messages.Boxes().size(), 1u);
        EXPECT_EQ(messages.Boxes()[0].caption, "Zephrin: Error");
        EXPECT_EQ(messages.Boxes()[0].text, update.message);
    } else {
        EXPECT_TRUE(messages.Boxes().empty());
    }
    // A hand-over to the updater ends the program before the units database opens.
    EXPECT_EQ(reached, !update.restarts);
    EXPECT_EQ(Contains(calls, "OpenUnitsDatabase"), !update.restarts);
    EXPECT_EQ(App().GetExitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Bits, UpdateResultTest, ::testing::ValuesIn(kUpdates),
                         [](const ::testing::TestParamInfo<SUpdateCase>& info) { return info.param.name; });

TEST_F(StartupTest, NoUpdateRunsWithoutProtocolOrWhenNotDue)
{
    SStartupScript script;
    script.protocol = 0;
    Run(script);
    EXPECT_FALSE(Contains(calls, "Init"));

    calls.clear();
    script.protocol = 2;
    script.updateDue = false;
    Run(script);
    EXPECT_FALSE(Contains(calls, "Init"));
    EXPECT_TRUE(messages.Boxes().empty());
}

// --- Language --------------------------------------------------------------------------------

TEST_F(StartupTest, GermanUserInterfaceReachesTheEngine)
{
    CApplicationConfiguration::GetInstance()->language = "de";
    SStartupScript script;
    script.fluids = false;
    App().SetEnvironment(std::make_unique<CFakeStartupEnvironment>(script, calls));
    App().InitInstance();

    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].caption, "Zephrin: Datenbankfehler");
    EXPECT_EQ(App().GetLanguage(), "de");
    EXPECT_EQ(DataFormat::Format(1234.5, 6, false), "1234,5");
    EXPECT_EQ(GetCalculationErrorText(CALC_OK | CALC_NO_FLUID, "; ", std::string()),
              "OK; Kein Messstoff für die Dichteberechnung; ");
    EXPECT_EQ(CUnitManager::GetPressureReferenceText(2), "rel.");

    // Back to English texts and '.' once the program ends.
    App().ExitInstance();
    EXPECT_EQ(DataFormat::Format(1234.5, 6, false), "1234.5");
    EXPECT_EQ(GetCalculationErrorText(CALC_NO_FLUID, "", std::string()), "No fluid for density calculation");
}

}  // namespace
