// The project file as a whole: every fluid kind saved and opened again, files that lack parts
// or have a foreign root, a part that cannot be read leaving the project as it was, a file of
// the Windows programs in their code page, and a save killed at every step.
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidGas.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "Platform/AtomicFile.h"
#include "Platform/TextEncoding.h"
#include "Platform/XmlFile.h"
#include "SampleProject.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <csignal>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// A fluid of the kind with every field of that kind set.
std::unique_ptr<CFluid> SampleFluid(int type)
{
    std::unique_ptr<CFluid> fluid = CreateFluid(type);
    fluid->State = type == FLUID_TYPE_LIQUID ? FLUID_STATE_LIQUID : FLUID_STATE_GAS;
    fluid->Name = "Fluid " + std::to_string(type);
    fluid->Formula = "F" + std::to_string(type);
    fluid->DbIndex = type == FLUID_TYPE_GAS_MIX ? FLUID_INDEX_CUSTOM : 10 + type;
    if (auto* gas = dynamic_cast<CFluidGas*>(fluid.get())) {
        gas->MolWeight = 28.96 + type;
        gas->CritTemp = 238.5;
        gas->CritPress = 546.8;
        gas->CritVolu = 1.0 / 3.0;
        gas->CritZ = 0.302;
        for (int i = 0; i < CFluidGas::kCoefficientCount; ++i)
            gas->Coefficients[static_cast<std::size_t>(i)] = 1e-3 * (i + 1) / 7.0;
    }
    if (auto* wet = dynamic_cast<CFluidWetGas*>(fluid.get()))
        wet->RelativeHumidity = 55.5;
    if (auto* mix = dynamic_cast<CFluidGasMix*>(fluid.get()))
        mix->Elements = {{1, 33.33}, {5, 33.33}, {7, 33.34}};
    if (auto* steam = dynamic_cast<CFluidSaturatedSteam*>(fluid.get()))
        steam->SaturationType = SATURATION_TEMPERATURE_GIVEN;
    return fluid;
}

void FillProject(CProjectData& project, int fluidType, const std::string& variant = "A", int rows = 3)
{
    FillSampleProject(project, 4711, 12, 3, rows, 4, variant);
    project.physical.Fluid = SampleFluid(fluidType);
}

// The document text of the project: equal texts mean every written field is equal.
std::string DocumentText(const CProjectData& project)
{
    TiXmlDocument doc;
    EXPECT_EQ(CProjectFile::Write(project, doc), nullptr);
    return CXmlFile::ToText(doc);
}

CProjectFile::SReadResult ReadText(const std::string& text, CProjectData& target)
{
    TiXmlDocument doc;
    std::string error;
    EXPECT_TRUE(CXmlFile::LoadText(doc, text, "test.xml", &error)) << error;
    return CProjectFile::Read(doc, target);
}

std::string Part(const CProjectData& project, const char* element)
{
    TiXmlDocument doc;
    EXPECT_EQ(CProjectFile::Write(project, doc), nullptr);
    TiXmlPrinter printer;
    doc.RootElement()->FirstChildElement(element)->Accept(&printer);
    return printer.Str();
}

class ProjectFileTest : public ::testing::Test {
protected:
    CTemporaryFolder folder;
};

class ProjectFileRoundTrip : public ProjectFileTest, public ::testing::WithParamInterface<int> {};

TEST_P(ProjectFileRoundTrip, SavedProjectOpensEqual)
{
    CProjectData saved;
    FillProject(saved, GetParam());
    const std::string path = folder.Path("project.xml");
    std::string detail;
    ASSERT_EQ(CProjectFile::Save(saved, path, &detail), nullptr) << detail;

    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(text.compare(0, 8, "<TAMBEL>"), 0) << "no declaration, the root first: " << text.substr(0, 40);
    const std::vector<std::string> order = {"<PhysicalData>", "<DeviceConfiguration>", "<CustomerData>",
                                            "<ResultData>"};
    std::size_t at = 0;
    for (const std::string& element : order) {
        const std::size_t found = text.find(element, at);
        ASSERT_NE(found, std::string::npos) << element << " after " << at;
        at = found;
    }

    CProjectData opened;
    FillProject(opened, FLUID_TYPE_LIQUID, "B", 5);
    const CProjectFile::SReadResult result = CProjectFile::Open(path, opened, &detail);
    ASSERT_EQ(result.error, nullptr) << result.error << " " << detail;
    EXPECT_TRUE(result.warnings.empty());
    ExpectSameProject(saved, opened);
    ASSERT_TRUE(opened.physical.Fluid);
    EXPECT_EQ(opened.physical.Fluid->Type, GetParam());
    EXPECT_EQ(DocumentText(opened), DocumentText(saved));
}

INSTANTIATE_TEST_SUITE_P(EveryFluidType, ProjectFileRoundTrip,
                         ::testing::Values(FLUID_TYPE_LIQUID, FLUID_TYPE_GAS, FLUID_TYPE_WET_GAS, FLUID_TYPE_GAS_MIX,
                                           FLUID_TYPE_SATURATED_STEAM, FLUID_TYPE_SUPERHEATED_STEAM));

TEST_F(ProjectFileTest, ProjectWithoutFluidRoundTrips)
{
    CProjectData saved;
    FillProject(saved, FLUID_TYPE_GAS);
    saved.physical.Fluid.reset();
    saved.results.RemoveAll();
    CProjectData opened;
    FillProject(opened, FLUID_TYPE_GAS, "B");
    const CProjectFile::SReadResult result = ReadText(DocumentText(saved), opened);
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_FALSE(opened.physical.Fluid);
    EXPECT_EQ(opened.results.GetCount(), 0);
    EXPECT_EQ(DocumentText(opened), DocumentText(saved));
}

TEST_F(ProjectFileTest, OnlyPhysicalDataGivesThreeWarningsAndEmptyParts)
{
    CProjectData saved;
    FillProject(saved, FLUID_TYPE_GAS_MIX);
    CProjectData opened;
    FillProject(opened, FLUID_TYPE_LIQUID, "B");
    const CProjectFile::SReadResult result =
        ReadText("<TAMBEL>" + Part(saved, "PhysicalData") + "</TAMBEL>", opened);

    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_EQ(std::vector<std::string>(result.warnings.begin(), result.warnings.end()),
              (std::vector<std::string>{"File is missing device data!", "File is missing customer data!",
                                        "File is missing result data!"}));
    EXPECT_EQ(Part(opened, "PhysicalData"), Part(saved, "PhysicalData"));
    EXPECT_EQ(opened.features.GetCount(), 0);
    EXPECT_EQ(opened.customer.customer, "");
    EXPECT_EQ(opened.customer.pa, 0);
    EXPECT_EQ(opened.customer.vk, 0);
    EXPECT_EQ(opened.customer.pos, 0);
    EXPECT_EQ(opened.results.GetCount(), 0);
}

// Files that are refused, each with its message; the project stays exactly as it was.
struct SRefusedFile {
    const char* name;
    const char* message;
    // Builds the file's text from the parts of a valid project.
    std::string (*text)(const CProjectData& project);
};

std::string AllPartsBut(const CProjectData& project, const std::string& left, const std::string& broken,
                        const std::string& root = "TAMBEL")
{
    std::string text = "<" + root + ">";
    for (const char* element : {"PhysicalData", "DeviceConfiguration", "CustomerData", "ResultData"}) {
        if (element == left)
            continue;
        text += element == broken ? "<" + broken + "/>" : Part(project, element);
    }
    return text + "</" + root + ">";
}

const SRefusedFile kRefusedFiles[] = {
    {"ForeignRoot", "File has unknown structure!",
     [](const CProjectData& p) { return AllPartsBut(p, "", "", "report"); }},
    {"LowerCaseRoot", "File has unknown structure!",
     [](const CProjectData& p) { return AllPartsBut(p, "", "", "tambel"); }},
    {"NoPhysicalData", "File is missing physical data!",
     [](const CProjectData& p) { return AllPartsBut(p, "PhysicalData", ""); }},
    {"EmptyPhysicalData", "Could not read physical data from file!",
     [](const CProjectData& p) { return AllPartsBut(p, "", "PhysicalData"); }},
    {"EmptyDeviceData", "Could not read device data from file!",
     [](const CProjectData& p) { return AllPartsBut(p, "", "DeviceConfiguration"); }},
    {"EmptyCustomerData", "Could not read customer data from file!",
     [](const CProjectData& p) { return AllPartsBut(p, "", "CustomerData"); }},
    // The last part: everything before it was read already and still must not arrive.
    {"EmptyResultData", "Could not read result data from file!",
     [](const CProjectData& p) { return AllPartsBut(p, "", "ResultData"); }},
    {"MissingPartThenBrokenOne", "Could not read result data from file!",
     [](const CProjectData& p) { return AllPartsBut(p, "CustomerData", "ResultData"); }},
};

TEST_F(ProjectFileTest, RefusedFileLeavesProjectAsItWas)
{
    CProjectData file;
    FillProject(file, FLUID_TYPE_WET_GAS, "File");
    for (const SRefusedFile& refused : kRefusedFiles) {
        SCOPED_TRACE(refused.name);
        CProjectData current;
        FillProject(current, FLUID_TYPE_SUPERHEATED_STEAM, "Current", 2);
        const std::string before = DocumentText(current);

        const CProjectFile::SReadResult result = ReadText(refused.text(file), current);
        ASSERT_NE(result.error, nullptr);
        EXPECT_STREQ(result.error, refused.message);
        EXPECT_TRUE(result.warnings.empty());
        EXPECT_EQ(DocumentText(current), before);
    }
}

// The element at the path of element names below the root ("PhysicalData/Temperature/Unit").
TiXmlElement* ElementAt(TiXmlDocument& doc, const std::string& path)
{
    TiXmlElement* element = doc.RootElement();
    std::size_t start = 0;
    while (element != nullptr && start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        element = element->FirstChildElement(path.substr(start, slash - start).c_str());
        start = slash + 1;
    }
    return element;
}

// One number of a good file made wrong: a key beyond its column, text that only begins with a
// number, a number that is not finite, a unit that converts nothing. The whole file is refused.
struct SWrongNumber {
    const char* path;
    const char* attribute;  // nullptr: the element's text
    const char* text;
    const char* message;
};

const char kPhysical[] = "Could not read physical data from file!";
const char kDevice[] = "Could not read device data from file!";
const char kCustomer[] = "Could not read customer data from file!";
const char kResult[] = "Could not read result data from file!";

const SWrongNumber kWrongNumbers[] = {
    {"CustomerData/id", "pos", "65539", kCustomer},
    {"CustomerData/id", "pos", "-32769", kCustomer},
    {"CustomerData/id", "pos", "1,5", kCustomer},
    {"CustomerData/id", "pa", "4294967395", kCustomer},
    {"CustomerData/id", "vk", "3abc", kCustomer},
    {"DeviceConfiguration/Features/Feature", "Id", "4294967297", kDevice},
    {"DeviceConfiguration/Features/Feature", "Value", "2.5", kDevice},
    {"PhysicalData/Temperature/Unit", "ConversionFactor", "1,5", kPhysical},
    {"PhysicalData/Temperature/Unit", "ConversionFactor", "0", kPhysical},
    {"PhysicalData/Temperature/Unit", "ConversionOffset", "inf", kPhysical},
    {"PhysicalData/Temperature/Unit", "DbIndex", "0", kPhysical},
    {"PhysicalData/Temperature/Unit", "Type", "x", kPhysical},
    {"PhysicalData/Temperature", "Value", "1,5", kPhysical},
    {"PhysicalData/Temperature", "Value", "1.2.3", kPhysical},
    {"PhysicalData/Temperature", "BaseValue", "abc", kPhysical},
    {"PhysicalData/Pressure", "Reference", "1x", kPhysical},
    {"PhysicalData/Temperature", "MinRange", "nan", kPhysical},
    {"PhysicalData/Pressure", "MaxRange", "-inf", kPhysical},
    {"PhysicalData/CompressibilityFactor", nullptr, "0,95", kPhysical},
    {"PhysicalData/NormFlowConditions", "Id", "9999999999", kPhysical},
    {"PhysicalData/NormFlowConditions/Density", "Value", "nan", kPhysical},
    {"PhysicalData/FluidData", "DbIndex", "7.5", kPhysical},
    {"PhysicalData/FluidData/GasMixElement", "Percentage", "nan", kPhysical},
    {"PhysicalData/FluidData/GasMixElement", "GasId", "1e3", kPhysical},
    {"ResultData/ResultItems/ResultItem", "SizeId", "99999999999999999999", kResult},
    {"ResultData/ResultItems/ResultItem", "ReynoldsMin", "nan", kResult},
    {"ResultData/ResultItems/ResultItem", "VortexFrequencyMax", "inf", kResult},
    {"ResultData/ResultItems/ResultItem/Errors/Error", "Id", "3.5", kResult},
    {"ResultData/ResultItems/ResultItem/Data/FlowUnit", "ConversionFactor", "0", kResult},
    {"ResultData/ResultItems/ResultItem/Data/VelocityUnit", "MinRange", "1e999", kResult},
    {"ResultData/ResultItems/ResultItem/Data/Point", "Flow", "nan", kResult},
    {"ResultData/ResultItems/ResultItem/Data/Point", "Velocity", "inf", kResult},
};

TEST_F(ProjectFileTest, FileWithAWrongNumberIsRefusedWhole)
{
    CProjectData file;
    FillProject(file, FLUID_TYPE_GAS_MIX, "File");
    TiXmlDocument good;
    ASSERT_EQ(CProjectFile::Write(file, good), nullptr);
    for (const SWrongNumber& wrong : kWrongNumbers) {
        SCOPED_TRACE(std::string(wrong.path) + " " + (wrong.attribute ? wrong.attribute : "text") + "=" + wrong.text);
        TiXmlDocument doc(good);
        TiXmlElement* element = ElementAt(doc, wrong.path);
        ASSERT_NE(element, nullptr);
        if (wrong.attribute != nullptr) {
            ASSERT_NE(element->Attribute(wrong.attribute), nullptr) << "the good file has the number";
            element->SetAttribute(wrong.attribute, wrong.text);
        } else {
            element->Clear();
            element->LinkEndChild(new TiXmlText(wrong.text));
        }
        CProjectData current;
        FillProject(current, FLUID_TYPE_SUPERHEATED_STEAM, "Current", 2);
        const std::string before = DocumentText(current);
        const CProjectFile::SReadResult result = ReadText(CXmlFile::ToText(doc), current);
        EXPECT_STREQ(result.error, wrong.message);
        EXPECT_EQ(DocumentText(current), before);
    }

    // The same file untouched opens whole, its key as it was written.
    CProjectData opened;
    const CProjectFile::SReadResult result = ReadText(CXmlFile::ToText(good), opened);
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_EQ(DocumentText(opened), DocumentText(file));
    EXPECT_EQ(opened.customer.pos, 3);
}

// Numbers left out keep their defaults; a key at the ends of its columns is read as it stands,
// and a value not entered yet (a unit in its reset state) is no wrong unit.
TEST_F(ProjectFileTest, AbsentNumbersKeepTheirDefaultsAndKeysReadToTheirColumnsEnds)
{
    CProjectData file;
    FillProject(file, FLUID_TYPE_GAS, "File");
    file.physical.Density.Reset();
    file.results.GetAt(1).VelocityUnit.Reset();
    file.customer.pa = INT_MIN;
    file.customer.vk = INT_MAX;
    file.customer.pos = -32768;
    TiXmlDocument doc;
    ASSERT_EQ(CProjectFile::Write(file, doc), nullptr);
    ElementAt(doc, "PhysicalData/Temperature")->RemoveAttribute("MinRange");
    ElementAt(doc, "PhysicalData/Temperature")->RemoveAttribute("MaxRange");
    TiXmlElement* physical = ElementAt(doc, "PhysicalData");
    physical->RemoveChild(physical->FirstChildElement("CompressibilityFactor"));
    ElementAt(doc, "DeviceConfiguration/Features/Feature")->RemoveAttribute("Id");
    ElementAt(doc, "ResultData/ResultItems/ResultItem")->RemoveAttribute("ReynoldsMin");

    CProjectData opened;
    const CProjectFile::SReadResult result = ReadText(CXmlFile::ToText(doc), opened);
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_EQ(opened.physical.TemperatureRange.MinRange, 0.0);
    EXPECT_EQ(opened.physical.TemperatureRange.MaxRange, 0.0);
    EXPECT_EQ(opened.physical.CompressibilityFactor, 1.0);
    EXPECT_EQ(opened.features.GetCount(), file.features.GetCount() - 1);
    EXPECT_EQ(opened.results.GetAt(0).ReynoldsMin, 0.0);
    EXPECT_EQ(opened.customer.pa, INT_MIN);
    EXPECT_EQ(opened.customer.vk, INT_MAX);
    EXPECT_EQ(opened.customer.pos, -32768);
    EXPECT_EQ(opened.physical.Density.DbIndex, -1);
    EXPECT_EQ(opened.results.GetAt(1).VelocityUnit.Type, -1);
}

TEST_F(ProjectFileTest, UnreadableFileCannotBeOpened)
{
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"NotXml", "TAMBEL"}, {"Unclosed", "<TAMBEL><PhysicalData>"}, {"Empty", ""}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const std::string path = folder.Path(std::string(file.name) + ".xml");
        WriteWholeFile(path, file.bytes);
        CProjectData current;
        FillProject(current, FLUID_TYPE_GAS);
        const std::string before = DocumentText(current);
        std::string detail;
        const CProjectFile::SReadResult result = CProjectFile::Open(path, current, &detail);
        EXPECT_STREQ(result.error, "Could not open file!");
        EXPECT_FALSE(detail.empty());
        EXPECT_EQ(DocumentText(current), before);
    }
    CProjectData current;
    std::string detail;
    EXPECT_STREQ(CProjectFile::Open(folder.Path("missing.xml"), current, &detail).error, "Could not open file!");
}

TEST_F(ProjectFileTest, WindowsFileInItsCodePageOpens)
{
    CProjectData saved;
    FillProject(saved, FLUID_TYPE_LIQUID);
    saved.physical.Temperature.Name = "°C";
    saved.customer.customer = "Größe";
    saved.customer.reference = "Maß & Gewicht <1>";
    const std::string utf8 = DocumentText(saved);
    const std::string ansi = CTextEncoding::Utf8ToWindows1252(utf8);
    ASSERT_NE(ansi, utf8);
    ASSERT_NE(ansi.find("Gr\xF6\xDF" "e"), std::string::npos);
    const std::string path = folder.Path("windows.xml");
    WriteWholeFile(path, ansi);

    CProjectData opened;
    std::string detail;
    const CProjectFile::SReadResult result = CProjectFile::Open(path, opened, &detail);
    ASSERT_EQ(result.error, nullptr) << result.error << " " << detail;
    EXPECT_EQ(opened.physical.Temperature.Name, "°C");
    EXPECT_EQ(opened.customer.customer, "Größe");
    EXPECT_EQ(opened.customer.reference, "Maß & Gewicht <1>");
    EXPECT_EQ(DocumentText(opened), utf8);
}

TEST_F(ProjectFileTest, ProjectThatWouldNotReadBackIsNotSaved)
{
    CProjectData project;
    FillProject(project, FLUID_TYPE_GAS);
    project.customer.customer = "Gr\xF6\xDF" "e";  // not UTF-8: it would open as other text
    const std::string path = folder.Path("project.xml");
    WriteWholeFile(path, "old");
    std::string detail;
    EXPECT_STREQ(CProjectFile::Save(project, path, &detail), "Could not save data to file!");
    EXPECT_FALSE(detail.empty());
    EXPECT_EQ(ReadWholeFile(path), "old");
}

// A value that is not finite would make a file that cannot be opened again: the save is
// refused with the message of its part and the old file stays.
TEST_F(ProjectFileTest, ProjectWithAValueThatIsNotFiniteIsNotSaved)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* message;
        void (*spoil)(CProjectData&, double);
    } cases[] = {
        {"Could not save physical data!", [](CProjectData& p, double v) { p.physical.Flow.BaseValue = v; }},
        {"Could not save physical data!", [](CProjectData& p, double v) { p.physical.CompressibilityFactor = v; }},
        {"Could not save physical data!", [](CProjectData& p, double v) { p.physical.PressureRange.MaxRange = v; }},
        {"Could not save physical data!", [](CProjectData& p, double v) { p.physical.Density.ConversionOffset = v; }},
        {"Could not save physical data!",
         [](CProjectData& p, double v) { static_cast<CFluidGasMix&>(*p.physical.Fluid).Elements[1].Percentage = v; }},
        {"Could not save result data!", [](CProjectData& p, double v) { p.results.GetAt(1).ReynoldsMin = v; }},
        {"Could not save result data!", [](CProjectData& p, double v) { p.results.GetAt(2).VelocityRange.MinRange = v; }},
        {"Could not save result data!", [](CProjectData& p, double v) { p.results.GetAt(0).Points[3][1] = v; }},
    };
    const std::string path = folder.Path("project.xml");
    WriteWholeFile(path, "old");
    for (const auto& c : cases) {
        for (const double value : {std::nan(""), inf, -inf}) {
            SCOPED_TRACE(std::string(c.message) + " " + std::to_string(value));
            CProjectData project;
            FillProject(project, FLUID_TYPE_GAS_MIX);
            c.spoil(project, value);
            std::string detail;
            EXPECT_STREQ(CProjectFile::Save(project, path, &detail), c.message);
            EXPECT_EQ(ReadWholeFile(path), "old");
        }
    }
    CProjectData gas;
    FillProject(gas, FLUID_TYPE_WET_GAS);
    static_cast<CFluidWetGas&>(*gas.physical.Fluid).Coefficients[4] = std::nan("");
    std::string detail;
    EXPECT_STREQ(CProjectFile::Save(gas, path, &detail), "Could not save physical data!");
    EXPECT_EQ(ReadWholeFile(path), "old");
}

// Sized before a flow was entered: turndown and current are the calculation's unguarded
// quotients, 0/x and x/0. The project is saved all the same and opens with them as they were.
TEST_F(ProjectFileTest, ASizingWithoutAFlowIsSavedAndOpensAsItWas)
{
    const std::string path = folder.Path("project.xml");
    CProjectData saved;
    FillProject(saved, FLUID_TYPE_LIQUID);
    saved.results.GetAt(0).ApplicationTurndown = std::nan("");
    saved.results.GetAt(0).CurrentMin = std::numeric_limits<double>::infinity();
    saved.results.GetAt(1).CurrentMin = -std::numeric_limits<double>::infinity();
    std::string detail;
    ASSERT_EQ(CProjectFile::Save(saved, path, &detail), nullptr) << detail;
    CProjectData opened;
    const CProjectFile::SReadResult result = CProjectFile::Open(path, opened, &detail);
    ASSERT_EQ(result.error, nullptr) << result.error << " " << detail;
    EXPECT_TRUE(std::isnan(opened.results.GetAt(0).ApplicationTurndown));
    EXPECT_EQ(opened.results.GetAt(0).CurrentMin, std::numeric_limits<double>::infinity());
    EXPECT_EQ(opened.results.GetAt(1).CurrentMin, -std::numeric_limits<double>::infinity());
}

TEST_F(ProjectFileTest, FolderThatCannotBeWrittenFailsTheSave)
{
    CProjectData project;
    FillProject(project, FLUID_TYPE_GAS);
    std::string detail;
    EXPECT_STREQ(CProjectFile::Save(project, folder.Path("no/such/folder.xml"), &detail),
                 "Could not save data to file!");
    EXPECT_FALSE(detail.empty());
}

// A save killed at each step of the file write leaves the old project or the new one, whole.
TEST_F(ProjectFileTest, SaveKilledAtAnyStepLeavesOldOrNewFile)
{
    const std::string path = folder.Path("project.xml");
    CProjectData oldProject;
    FillProject(oldProject, FLUID_TYPE_GAS, "Old", 2);
    std::string detail;
    ASSERT_EQ(CProjectFile::Save(oldProject, path, &detail), nullptr) << detail;
    const std::string oldText = ReadWholeFile(path);
    CProjectData newProject;
    // Enough rows for several chunks, so the kill falls between two of them.
    FillProject(newProject, FLUID_TYPE_GAS_MIX, "New", 150);
    const std::string newText = DocumentText(newProject);
    ASSERT_GT(newText.size(), 3 * CAtomicFile::kChunkSize);

    const struct {
        const char* name;
        CAtomicFile::Step step;
        int occurrence;  // the kill comes at this arrival at the step
    } kills[] = {{"Create", CAtomicFile::Step::Create, 1},
                 {"MiddleOfData", CAtomicFile::Step::Write, 2},
                 {"Sync", CAtomicFile::Step::Sync, 1},
                 {"Rename", CAtomicFile::Step::Rename, 1}};
    for (const auto& kill : kills) {
        SCOPED_TRACE(kill.name);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            int arrivals = 0;
            CAtomicFile::SetHookForTesting([&](CAtomicFile::Step step) {
                if (step == kill.step && ++arrivals == kill.occurrence) {
                    const char byte = 1;
                    (void)!write(ready[1], &byte, 1);
                    for (;;)
                        pause();  // until the parent's kill
                }
                return 0;
            });
            std::string ignored;
            CProjectFile::Save(newProject, path, &ignored);
            _exit(3);
        }
        close(ready[1]);
        char byte = 0;
        const bool reached = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(reached) << "the save never reached the step";
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string text = ReadWholeFile(path);
        EXPECT_EQ(text, oldText);
        CProjectData opened;
        const CProjectFile::SReadResult result = CProjectFile::Open(path, opened, &detail);
        EXPECT_EQ(result.error, nullptr) << detail;
    }

    // The next save in this process completes over what the killed ones left behind.
    ASSERT_EQ(CProjectFile::Save(newProject, path, &detail), nullptr) << detail;
    EXPECT_EQ(ReadWholeFile(path), newText);
}

TEST(ProjectDataTest, ProcessWideProjectStartsEmpty)
{
    CProjectData* project = CProjectData::GetInstance();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project, CProjectData::GetInstance());
    EXPECT_FALSE(project->physical.Fluid);
    EXPECT_EQ(project->results.GetCount(), 0);
}

}  // namespace
