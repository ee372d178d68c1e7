// The fluid classes: their defaults and validity, the factory, the copy between kinds and the
// XML of each kind.
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidLiquid.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidSuperheatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "Platform/XmlFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

// --- Factory and defaults -------------------------------------------------------------------

TEST(CreateFluid, MakesTheClassOfEachKindResetAndNothingForOtherKinds)
{
    struct Case {
        int type;
        const std::type_info& cls;
        int state;
    };
    const Case cases[] = {
        {FLUID_TYPE_LIQUID, typeid(CFluidLiquid), FLUID_STATE_LIQUID},
        {FLUID_TYPE_GAS, typeid(CFluidGas), FLUID_STATE_GAS},
        {FLUID_TYPE_WET_GAS, typeid(CFluidWetGas), FLUID_STATE_GAS},
        {FLUID_TYPE_GAS_MIX, typeid(CFluidGasMix), FLUID_STATE_GAS},
        {FLUID_TYPE_SATURATED_STEAM, typeid(CFluidSaturatedSteam), FLUID_STATE_GAS},
        {FLUID_TYPE_SUPERHEATED_STEAM, typeid(CFluidSuperheatedSteam), FLUID_STATE_GAS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::unique_ptr<CFluid> fluid = CreateFluid(c.type);
        ASSERT_NE(fluid, nullptr);
        EXPECT_EQ(typeid(*fluid), c.cls);
        EXPECT_EQ(fluid->Type, c.type);
        EXPECT_EQ(fluid->State, c.state);
        EXPECT_EQ(fluid->DbIndex, FLUID_INDEX_NONE);
        EXPECT_TRUE(fluid->Name.empty());
        EXPECT_FALSE(fluid->HideInGui);
    }
    for (const int type : {7, 0, -1, 9999})
        EXPECT_EQ(CreateFluid(type), nullptr) << type;

    const CFluid plain;
    EXPECT_EQ(plain.State, FLUID_STATE_NONE);
    EXPECT_EQ(plain.Type, FLUID_TYPE_NONE);
    const CFluidSaturatedSteam steam;
    EXPECT_EQ(steam.SaturationType, SATURATION_NONE);
}

// --- Validity -------------------------------------------------------------------------------

// A gas with the three numbers the rule needs; the others stay 0.
template <class T>
std::unique_ptr<T> ValidGas()
{
    auto gas = std::make_unique<T>();
    gas->MolWeight = 28.96;
    gas->CritVolu = 1.414;
    gas->CritZ = 0.302;
    return gas;
}

std::unique_ptr<CFluidGasMix> Mix(const std::vector<GasMixElement>& elements)
{
    auto mix = std::make_unique<CFluidGasMix>();
    mix->Elements = elements;
    return mix;
}

TEST(FluidValidity, RulesOfEveryClass)
{
    struct Case {
        const char* what;
        std::function<std::unique_ptr<CFluid>()> make;
        bool valid;
    };
    const Case cases[] = {
        {"plain fluid after reset", [] { return std::make_unique<CFluid>(); }, false},
        {"plain fluid with state and type",
         [] {
             auto f = std::make_unique<CFluid>();
             f->State = FLUID_STATE_LIQUID;
             f->Type = FLUID_TYPE_LIQUID;
             return f;
         },
         true},
        {"plain fluid with type 0",
         [] {
             auto f = std::make_unique<CFluid>();
             f->State = FLUID_STATE_LIQUID;
             f->Type = 0;
             return f;
         },
         false},
        {"liquid after reset", [] { return std::make_unique<CFluidLiquid>(); }, true},
        {"liquid with state 0",
         [] {
             auto f = std::make_unique<CFluidLiquid>();
             f->State = 0;
             return f;
         },
         false},
        {"gas after reset", [] { return std::make_unique<CFluidGas>(); }, false},
        {"gas with molar mass, critical volume and Z", [] { return ValidGas<CFluidGas>(); }, true},
        {"gas without molar mass",
         [] {
             auto g = ValidGas<CFluidGas>();
             g->MolWeight = 0.0;
             return g;
         },
         false},
        {"gas without critical volume",
         [] {
             auto g = ValidGas<CFluidGas>();
             g->CritVolu = 0.0;
             return g;
         },
         false},
        {"gas with negative critical Z",
         [] {
             auto g = ValidGas<CFluidGas>();
             g->CritZ = -0.3;
             return g;
         },
         false},
        {"gas with type 0",
         [] {
             auto g = ValidGas<CFluidGas>();
             g->Type = 0;
             return g;
         },
         false},
        {"humid gas after reset", [] { return std::make_unique<CFluidWetGas>(); }, false},
        {"humid gas: humidity is not checked",
         [] {
             auto g = ValidGas<CFluidWetGas>();
             g->RelativeHumidity = -20.0;
             return g;
         },
         true},
        {"humid gas without critical Z",
         [] {
             auto g = ValidGas<CFluidWetGas>();
             g->CritZ = 0.0;
             return g;
         },
         false},
        {"superheated steam after reset", [] { return std::make_unique<CFluidSuperheatedSteam>(); }, false},
        {"superheated steam with gas data", [] { return ValidGas<CFluidSuperheatedSteam>(); }, true},
        {"gas mix after reset (no gas)", [] { return std::make_unique<CFluidGasMix>(); }, false},
        {"gas mix 50 + 50", [] { return Mix({{1, 50.0}, {2, 50.0}}); }, true},
        {"gas mix 50 + 49.995", [] { return Mix({{1, 50.0}, {2, 49.995}}); }, true},
        {"gas mix 50 + 49.98", [] { return Mix({{1, 50.0}, {2, 49.98}}); }, false},
        {"gas mix 100.01", [] { return Mix({{1, 60.0}, {2, 40.01}}); }, true},
        {"gas mix 100.02", [] { return Mix({{1, 60.0}, {2, 40.02}}); }, false},
        {"gas mix with gas id 0", [] { return Mix({{1, 50.0}, {0, 50.0}}); }, false},
        {"gas mix with a share of 0", [] { return Mix({{1, 100.0}, {2, 0.0}}); }, false},
        {"gas mix with a negative share", [] { return Mix({{1, 110.0}, {2, -10.0}}); }, false},
        // Eight shares a user enters that make exactly 99.99 sum to 99.98999999999998.
        {"gas mix whose decimal shares make 99.99",
         [] {
             return Mix({{1, 15.35}, {2, 3.55}, {3, 17.98}, {4, 27.19}, {5, 20.83}, {6, 4.43}, {7, 6.71},
                         {8, 3.95}});
         },
         true},
        {"gas mix with state -1",
         [] {
             auto m = Mix({{1, 100.0}});
             m->State = FLUID_STATE_NONE;
             return m;
         },
         false},
        {"saturated steam after reset (type never set)", [] { return std::make_unique<CFluidSaturatedSteam>(); },
         false},
        {"saturated steam, pressure given",
         [] {
             auto s = std::make_unique<CFluidSaturatedSteam>();
             s->SaturationType = SATURATION_PRESSURE_GIVEN;
             return s;
         },
         true},
        {"saturated steam, temperature given",
         [] {
             auto s = std::make_unique<CFluidSaturatedSteam>();
             s->SaturationType = SATURATION_TEMPERATURE_GIVEN;
             return s;
         },
         true},
        {"saturated steam with saturation type 2",
         [] {
             auto s = std::make_unique<CFluidSaturatedSteam>();
             s->SaturationType = 2;
             return s;
         },
         false},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CFluid> fluid = c.make();
        EXPECT_EQ(fluid->IsValid() != FALSE, c.valid) << c.what;
    }
}

// --- Copy -----------------------------------------------------------------------------------

// A fluid of the kind with every field set to a value that tells source from target.
std::unique_ptr<CFluid> Filled(int type, bool source)
{
    std::unique_ptr<CFluid> fluid = CreateFluid(type);
    const double k = source ? 1.0 : 2.0;
    fluid->State = source ? 7 : 8;
    fluid->Name = source ? "source" : "target";
    fluid->Formula = source ? "S2" : "T2";
    fluid->DbIndex = source ? 42 : 43;
    fluid->HideInGui = source;
    if (auto* gas = dynamic_cast<CFluidGas*>(fluid.get())) {
        gas->MolWeight = 10.0 * k;
        gas->CritTemp = 20.0 * k;
        gas->CritPress = 30.0 * k;
        gas->CritVolu = 40.0 * k;
        gas->CritZ = 0.5 * k;
        for (int i = 0; i < CFluidGas::kCoefficientCount; ++i)
            gas->Coefficients[i] = (i + 1) * k;
    }
    if (auto* wet = dynamic_cast<CFluidWetGas*>(fluid.get()))
        wet->RelativeHumidity = 30.0 * k;
    if (auto* mix = dynamic_cast<CFluidGasMix*>(fluid.get()))
        mix->Elements = source ? std::vector<GasMixElement>{{1, 60.0}, {2, 40.0}} : std::vector<GasMixElement>{{3, 100.0}};
    if (auto* steam = dynamic_cast<CFluidSaturatedSteam*>(fluid.get()))
        steam->SaturationType = source ? 1 : 0;
    return fluid;
}

// The whole object as the text of its XML element.
std::string Snapshot(const CFluid& fluid)
{
    TiXmlDocument doc;
    TiXmlElement element("FluidData");
    fluid.WriteXml(&element);
    doc.InsertEndChild(element);
    return CXmlFile::ToText(doc);
}

TEST(CopyFluid, MatrixOfAllKinds)
{
    for (int from = FLUID_TYPE_LIQUID; from <= FLUID_TYPE_SUPERHEATED_STEAM; ++from) {
        for (int to = FLUID_TYPE_LIQUID; to <= FLUID_TYPE_SUPERHEATED_STEAM; ++to) {
            SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
            const std::unique_ptr<CFluid> source = Filled(from, true);
            const std::unique_ptr<CFluid> target = Filled(to, false);
            const std::string before = Snapshot(*target);
            const bool allowed = from == to || (from == FLUID_TYPE_GAS && (to == FLUID_TYPE_WET_GAS ||
                                                                         to == FLUID_TYPE_SUPERHEATED_STEAM));
            ASSERT_EQ(CopyFluid(source.get(), target.get()) != FALSE, allowed);
            if (!allowed) {
                EXPECT_EQ(Snapshot(*target), before);
                continue;
            }
            // Common data from the source, the target's own kind.
            EXPECT_EQ(target->Type, to);
            EXPECT_EQ(target->State, 7);
            EXPECT_EQ(target->Name, "source");
            EXPECT_EQ(target->Formula, "S2");
            EXPECT_EQ(target->DbIndex, 42);
            EXPECT_TRUE(target->HideInGui);
            if (auto* gas = dynamic_cast<CFluidGas*>(target.get())) {
                EXPECT_EQ(gas->MolWeight, 10.0);
                EXPECT_EQ(gas->CritTemp, 20.0);
                EXPECT_EQ(gas->CritPress, 30.0);
                EXPECT_EQ(gas->CritVolu, 40.0);
                EXPECT_EQ(gas->CritZ, 0.5);
                EXPECT_EQ(gas->Coefficients[0], 1.0);
                EXPECT_EQ(gas->Coefficients[9], 10.0);
            }
            // A gas copied into a humid gas leaves the humidity alone.
            if (auto* wet = dynamic_cast<CFluidWetGas*>(target.get())) {
                EXPECT_EQ(wet->RelativeHumidity, from == FLUID_TYPE_WET_GAS ? 30.0 : 60.0);
            }
            if (auto* mix = dynamic_cast<CFluidGasMix*>(target.get())) {
                ASSERT_EQ(mix->Elements.size(), 2u);
                EXPECT_EQ(mix->Elements[1].GasId, 2);
                EXPECT_EQ(mix->Elements[1].Percentage, 40.0);
            }
            if (auto* steam = dynamic_cast<CFluidSaturatedSteam*>(target.get())) {
                EXPECT_EQ(steam->SaturationType, 1);
            }
        }
    }
}

TEST(CopyFluid, MissingFluidsAndUnknownKindsCopyNothing)
{
    const std::unique_ptr<CFluid> gas = Filled(FLUID_TYPE_GAS, true);
    EXPECT_FALSE(CopyFluid(nullptr, gas.get()));
    EXPECT_FALSE(CopyFluid(gas.get(), nullptr));

    CFluid odd;
    odd.Type = 7;
    odd.Name = "odd";
    CFluid other;
    other.Type = 7;
    EXPECT_FALSE(CopyFluid(&odd, &other));
    EXPECT_TRUE(other.Name.empty());

    EXPECT_TRUE(CopyFluid(gas.get(), gas.get()));
    EXPECT_EQ(gas->Name, "source");
}

// The fluid list makes a plain gas object for every gas row, whatever its kind: copying such an
// entry reads only what the object has, the rest of the target stays.
TEST(CopyFluid, ByTheObjectsRealClass)
{
    CFluidGas humidAir;  // a list entry of kind humid gas
    humidAir.Type = FLUID_TYPE_WET_GAS;
    humidAir.Name = "Humid air";
    humidAir.MolWeight = 28.96;
    CFluidWetGas wet;
    wet.RelativeHumidity = 55.0;
    ASSERT_TRUE(CopyFluid(&humidAir, &wet));
    EXPECT_EQ(wet.Name, "Humid air");
    EXPECT_EQ(wet.MolWeight, 28.96);
    EXPECT_EQ(wet.RelativeHumidity, 55.0);
    EXPECT_EQ(wet.Type, FLUID_TYPE_WET_GAS);

    CFluidGas mixEntry;  // a list entry of kind gas mix
    mixEntry.Type = FLUID_TYPE_GAS_MIX;
    mixEntry.Name = "Natural gas";
    CFluidGasMix mix;
    mix.Elements = {{5, 90.0}, {6, 10.0}};
    ASSERT_TRUE(CopyFluid(&mixEntry, &mix));
    EXPECT_EQ(mix.Name, "Natural gas");
    ASSERT_EQ(mix.Elements.size(), 2u);
    EXPECT_EQ(mix.Elements[0].GasId, 5);

    // The other way: a humid gas into a plain object of that kind has no gas part to fill.
    const std::unique_ptr<CFluid> realWet = Filled(FLUID_TYPE_WET_GAS, true);
    CFluid plain;
    plain.Type = FLUID_TYPE_WET_GAS;
    ASSERT_TRUE(CopyFluid(realWet.get(), &plain));
    EXPECT_EQ(plain.Name, "source");
}

// --- XML ------------------------------------------------------------------------------------

// Writes the fluid as a project file does, reads the text back into the class its "Type"
// picks.
std::unique_ptr<CFluid> RoundTrip(const CFluid& fluid, std::string* text = nullptr)
{
    TiXmlDocument doc;
    TiXmlElement element("FluidData");
    EXPECT_TRUE(fluid.WriteXml(&element));
    doc.InsertEndChild(element);
    const std::string written = CXmlFile::ToText(doc);
    if (text != nullptr)
        *text = written;

    TiXmlDocument read;
    std::string error;
    EXPECT_TRUE(CXmlFile::LoadText(read, written, "fluid", &error)) << error;
    const TiXmlElement* root = read.RootElement();
    int type = -1;
    root->QueryIntAttribute("Type", &type);
    std::unique_ptr<CFluid> back = CreateFluid(type);
    if (back != nullptr) {
        EXPECT_TRUE(back->ReadXml(root));
    }
    return back;
}

TEST(FluidXml, EveryKindReadsBackAsWritten)
{
    for (int type = FLUID_TYPE_LIQUID; type <= FLUID_TYPE_SUPERHEATED_STEAM; ++type) {
        SCOPED_TRACE(type);
        const std::unique_ptr<CFluid> fluid = Filled(type, true);
        fluid->Name = "Luft <trocken> & \"rein\"";
        const std::unique_ptr<CFluid> back = RoundTrip(*fluid);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(typeid(*back), typeid(*fluid));
        EXPECT_EQ(Snapshot(*back), Snapshot(*fluid));
        EXPECT_EQ(back->Name, fluid->Name);
        EXPECT_EQ(back->DbIndex, 42);
        EXPECT_TRUE(back->HideInGui);
    }
}

TEST(FluidXml, AttributesAndGasMixChildrenAsWritten)
{
    CFluidWetGas wet;
    wet.Name = "Humid air";
    wet.DbIndex = 11;
    wet.MolWeight = 28.9647123;
    wet.Coefficients[9] = 1e-7;
    wet.RelativeHumidity = 45.5;
    std::string text;
    const std::unique_ptr<CFluid> back = RoundTrip(wet, &text);
    EXPECT_NE(text.find("State=\"2\" Type=\"3\" Name=\"Humid air\" Formula=\"\" DbIndex=\"11\" HideInGui=\"0\" "
                        "MolWeight=\"28.9647123\""),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Coefficient01=\"0\""), std::string::npos);
    EXPECT_NE(text.find("Coefficient10=\"1e-07\" RelativeHumidity=\"45.5\""), std::string::npos) << text;
    // Every digit: a density from a fitted coefficient must not change after save and load.
    auto* gas = dynamic_cast<CFluidWetGas*>(back.get());
    ASSERT_NE(gas, nullptr);
    EXPECT_EQ(gas->MolWeight, 28.9647123);
    EXPECT_EQ(gas->Coefficients[9], 1e-7);
    EXPECT_EQ(gas->RelativeHumidity, 45.5);

    CFluidGasMix mix;
    mix.Elements = {{5, 85.25}, {6, 10.0}, {1, 4.75}};
    const std::unique_ptr<CFluid> mixBack = RoundTrip(mix, &text);
    EXPECT_NE(text.find("<GasMixElement GasId=\"5\" Percentage=\"85.25\" />\n"
                        "    <GasMixElement GasId=\"6\" Percentage=\"10\" />\n"
                        "    <GasMixElement GasId=\"1\" Percentage=\"4.75\" />"),
              std::string::npos)
        << text;
    auto* mixRead = dynamic_cast<CFluidGasMix*>(mixBack.get());
    ASSERT_NE(mixRead, nullptr);
    ASSERT_EQ(mixRead->Elements.size(), 3u);
    EXPECT_EQ(mixRead->Elements[2].GasId, 1);
    EXPECT_EQ(mixRead->Elements[2].Percentage, 4.75);
    EXPECT_TRUE(mixRead->IsValid());

    CFluidSaturatedSteam steam;
    steam.SaturationType = SATURATION_TEMPERATURE_GIVEN;
    RoundTrip(steam, &text);
    EXPECT_NE(text.find("HideInGui=\"0\" SaturationType=\"1\""), std::string::npos) << text;
}

TEST(FluidXml, ReadingResetsFirstAndFillsWhatIsMissing)
{
    TiXmlDocument doc;
    std::string error;
    ASSERT_TRUE(CXmlFile::LoadText(doc,
                                   "<FluidData Type=\"4\" Name=\"Mix\">"
                                   "<GasMixElement GasId=\"2\" Percentage=\"100\"/><Other/>"
                                   "<GasMixElement/></FluidData>",
                                   "fluid", &error))
        << error;
    CFluidGasMix mix;
    mix.Elements = {{9, 1.0}};
    mix.DbIndex = 5;
    mix.HideInGui = true;
    ASSERT_TRUE(mix.ReadXml(doc.RootElement()));
    EXPECT_EQ(mix.Type, 4);
    EXPECT_EQ(mix.State, 0);  // a missing number reads as 0
    EXPECT_EQ(mix.DbIndex, FLUID_INDEX_NONE);
    EXPECT_FALSE(mix.HideInGui);
    ASSERT_EQ(mix.Elements.size(), 2u);
    EXPECT_EQ(mix.Elements[0].GasId, 2);
    EXPECT_EQ(mix.Elements[1].GasId, 0);
    EXPECT_EQ(mix.Elements[1].Percentage, 0.0);
    EXPECT_FALSE(mix.IsValid());

    CFluidGas gas;
    gas.MolWeight = 5.0;
    ASSERT_TRUE(gas.ReadXml(doc.RootElement()));
    EXPECT_EQ(gas.MolWeight, 0.0);

    EXPECT_FALSE(gas.ReadXml(nullptr));
    EXPECT_FALSE(gas.WriteXml(nullptr));
    EXPECT_FALSE(mix.WriteXml(nullptr));
}

// atof took "nan" as it stands and "28,9" as 28: a fluid number is one finite number or the
// fluid is refused.
TEST(FluidXml, NumbersThatAreNotOneFiniteNumberFailTheRead)
{
    const struct {
        int type;
        const char* text;
    } cases[] = {
        {FLUID_TYPE_GAS_MIX, "<FluidData><GasMixElement GasId=\"2\" Percentage=\"nan\"/></FluidData>"},
        {FLUID_TYPE_GAS_MIX, "<FluidData><GasMixElement GasId=\"2\" Percentage=\"inf\"/></FluidData>"},
        {FLUID_TYPE_GAS_MIX, "<FluidData><GasMixElement GasId=\"2\" Percentage=\"abc\"/></FluidData>"},
        {FLUID_TYPE_GAS_MIX, "<FluidData><GasMixElement GasId=\"2.5\" Percentage=\"50\"/></FluidData>"},
        {FLUID_TYPE_GAS_MIX, "<FluidData DbIndex=\"-2x\"/>"},
        {FLUID_TYPE_GAS_MIX, "<FluidData State=\"2,0\"/>"},
        {FLUID_TYPE_LIQUID, "<FluidData HideInGui=\"4294967296\"/>"},
        {FLUID_TYPE_GAS, "<FluidData MolWeight=\"28,9\"/>"},
        {FLUID_TYPE_WET_GAS, "<FluidData Coefficient03=\"-inf\"/>"},
        {FLUID_TYPE_WET_GAS, "<FluidData RelativeHumidity=\"nan\"/>"},
        {FLUID_TYPE_SATURATED_STEAM, "<FluidData SaturationType=\"1x\"/>"},
    };
    for (const auto& c : cases) {
        TiXmlDocument doc;
        std::string error;
        ASSERT_TRUE(CXmlFile::LoadText(doc, c.text, "fluid", &error)) << error;
        std::unique_ptr<CFluid> fluid = CreateFluid(c.type);
        ASSERT_TRUE(fluid);
        EXPECT_FALSE(fluid->ReadXml(doc.RootElement())) << c.text;
    }
}

TEST(FluidXml, SixDecimalTextOfOlderFilesStillReads)
{
    TiXmlDocument doc;
    std::string error;
    ASSERT_TRUE(CXmlFile::LoadText(
        doc, "<FluidData State=\"2\" Type=\"2\" MolWeight=\"18.015000\" Coefficient03=\"-2.716330\"/>", "fluid",
        &error))
        << error;
    CFluidGas gas;
    ASSERT_TRUE(gas.ReadXml(doc.RootElement()));
    EXPECT_EQ(gas.MolWeight, 18.015);
    EXPECT_EQ(gas.Coefficients[2], -2.71633);
}

}  // namespace
