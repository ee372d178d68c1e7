// The fluid list: what it reads from the fluid database, the look-ups and the selection lists,
// against a fixture database and against the shipped one.
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidLiquid.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/Fluids/FluidSuperheatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/UnitDb.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace {

// Rows the list must leave out: a gas without gas data, one with a molar mass of 0, a fluid
// without a kind. Humid air and the mix are gas rows of other kinds; water vapour is hidden.
const char kFluids[] =
    "INSERT INTO Languages VALUES (1, 'en', 'English'), (2, 'de', 'Deutsch');"
    "INSERT INTO CalculationTypes VALUES (1, 'Liquid'), (2, 'Gas'), (3, 'Humid gas'), (4, 'Gas mixture'),"
    " (5, 'Saturated steam'), (6, 'Superheated steam');"
    "INSERT INTO FluidsBase VALUES (1, 2, 'Air', '', 2, 0), (2, 2, 'Nitrogen', 'N2', 2, 0),"
    " (3, 2, 'No gas data', 'X', 2, 0), (4, 2, 'Massless', 'Y', 2, 0), (11, 2, 'Humid air', '', 3, 0),"
    " (12, 2, 'Natural gas', '', 4, 0), (1000, 2, 'Water vapour', 'H2O', 2, -1),"
    " (2000, 1, 'Water', 'H2O', 1, 0), (2001, 1, 'Kindless', '', 0, 0);"
    "INSERT INTO FluidsGas (FluidId, MolWeight, CritTemp, CritPress, CritVolu, CritZ) VALUES"
    " (1, 28.96, 238.5, 546.8, 1.414, 0.302), (2, 28.014, 227.2, 492.8, 1.434, 0.290),"
    " (4, 0, 1, 1, 1, 1), (11, 28.96, 238.5, 546.8, 1.414, 0.302), (12, 17.5, 350, 670, 1.6, 0.29);"
    "INSERT INTO FluidsGas VALUES (1000, 18.015, 1164.8, 3200.1, 0.895, 0.229,"
    " 0.5, 2, 3, 4, 5, 6, 7, 8, 9, -1e-7);"
    "INSERT INTO Translations VALUES (1, 'FluidsBase', 2, 'Luft'), (2, 'CalculationTypes', 2, 'Gas (de)'),"
    " (9999, 'FluidsBase', 1, 'Custom fluid'), (9999, 'FluidsBase', 2, 'Benutzerdefiniert');";

class FluidManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.MakeDatabase("Zephrin.db", kFluids);
        folder.BecomeProgramFolder();
        ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
        ASSERT_TRUE(fluids.LoadFluidList());
    }
    void TearDown() override { CUnitDb::GetInstance()->Close(); }

    std::vector<int> Indexes(int type)
    {
        CFluidPtrArray list;
        EXPECT_TRUE(fluids.GetFluidList(list, type, FALSE, std::string()));
        std::vector<int> indexes;
        for (const CFluid* fluid : list)
            indexes.push_back(fluid->DbIndex);
        return indexes;
    }
    const CFluid* Entry(int dbIndex)
    {
        for (int type = 1; type <= 6; ++type) {
            CFluidPtrArray list;
            fluids.GetFluidList(list, type, FALSE, std::string());
            for (const CFluid* fluid : list) {
                if (fluid->DbIndex == dbIndex)
                    return fluid;
            }
        }
        return nullptr;
    }

    TestFolder folder;
    CFluidManager fluids;
};

TEST_F(FluidManagerTest, ListHoldsTheValidRowsInDatabaseOrder)
{
    EXPECT_EQ(fluids.GetCount(), 6u);
    EXPECT_EQ(Indexes(FLUID_TYPE_GAS), (std::vector<int>{1, 2, 1000}));
    EXPECT_EQ(Indexes(FLUID_TYPE_WET_GAS), std::vector<int>{11});
    EXPECT_EQ(Indexes(FLUID_TYPE_GAS_MIX), std::vector<int>{12});
    EXPECT_EQ(Indexes(FLUID_TYPE_LIQUID), std::vector<int>{2000});
    EXPECT_TRUE(Indexes(FLUID_TYPE_SATURATED_STEAM).empty());

    // A liquid row is a plain fluid, a gas row a plain gas whatever its kind.
    const CFluid* water = Entry(2000);
    ASSERT_NE(water, nullptr);
    EXPECT_EQ(typeid(*water), typeid(CFluid));
    EXPECT_EQ(water->State, FLUID_STATE_LIQUID);
    EXPECT_EQ(water->Formula, "H2O");
    EXPECT_EQ(typeid(*Entry(11)), typeid(CFluidGas));
    EXPECT_EQ(typeid(*Entry(12)), typeid(CFluidGas));

    const auto* vapour = dynamic_cast<const CFluidGas*>(Entry(1000));
    ASSERT_NE(vapour, nullptr);
    EXPECT_TRUE(vapour->HideInGui);
    EXPECT_FALSE(Entry(1)->HideInGui);
    EXPECT_EQ(vapour->Name, "Water vapour");
    EXPECT_EQ(vapour->MolWeight, 18.015);
    EXPECT_EQ(vapour->CritTemp, 1164.8);
    EXPECT_EQ(vapour->CritPress, 3200.1);
    EXPECT_EQ(vapour->CritVolu, 0.895);
    EXPECT_EQ(vapour->CritZ, 0.229);
    EXPECT_EQ(vapour->Coefficients[0], 0.5);
    EXPECT_EQ(vapour->Coefficients[8], 9.0);
    EXPECT_EQ(vapour->Coefficients[9], -1e-7);
}

TEST_F(FluidManagerTest, LoadingAgainReplacesTheListAndFailsWithoutDatabase)
{
    ASSERT_TRUE(fluids.LoadFluidList());
    EXPECT_EQ(fluids.GetCount(), 6u);

    CUnitDb::GetInstance()->Close();
    EXPECT_FALSE(fluids.LoadFluidList());
    EXPECT_EQ(fluids.GetCount(), 0u);
}

TEST_F(FluidManagerTest, FluidListAppendsAndTranslatesOnlyWhatItAdds)
{
    CFluid own;
    own.Name = "My own";
    CFluidPtrArray list = {&own};
    ASSERT_TRUE(fluids.GetFluidList(list, FLUID_TYPE_GAS, TRUE, "de"));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->Name, "My own");
    EXPECT_EQ(list[1]->Name, "Luft");      // translation
    EXPECT_EQ(list[2]->Name, "Nitrogen");  // none in German: the database name
    // The managed fluid itself took the name.
    CFluidGas air;
    ASSERT_TRUE(fluids.GetFluidById(&air, 1));
    EXPECT_EQ(air.Name, "Luft");

    ASSERT_TRUE(fluids.GetFluidList(list, FLUID_TYPE_LIQUID, FALSE, "en"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->Name, "Water");

    // A database that went away blanks no name.
    CUnitDb::GetInstance()->Close();
    ASSERT_TRUE(fluids.GetFluidList(list, FLUID_TYPE_GAS, FALSE, "de"));
    EXPECT_EQ(list[1]->Name, "Nitrogen");
}

TEST_F(FluidManagerTest, StateComboListsTheSixKindsInPageOrder)
{
    CComboItems items = {{"old", 0}};
    ASSERT_TRUE(fluids.FillStateCombo(items, "de"));
    ASSERT_EQ(items.size(), 6u);
    const int order[] = {2, 4, 3, 1, 5, 6};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(items[i].data, order[i]);
    EXPECT_EQ(items[0].text, "Gas (de)");
    EXPECT_EQ(items[1].text, "Gas mixture");
    EXPECT_EQ(items[5].text, "Superheated steam");

    CUnitDb::GetInstance()->Close();
    EXPECT_FALSE(fluids.FillStateCombo(items, "de"));
}

TEST_F(FluidManagerTest, FluidComboShowsTheUnhiddenFluidsAndTheCustomOne)
{
    CComboItems items = {{"old", 5}};
    ASSERT_TRUE(fluids.FillFluidCombo(items, FLUID_TYPE_GAS, FALSE, "de", TRUE));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "Luft");
    EXPECT_EQ(items[0].data, 1);
    EXPECT_EQ(items[1].data, 2);
    EXPECT_EQ(items[2].text, "Benutzerdefiniert");
    EXPECT_EQ(items[2].data, FLUID_INDEX_CUSTOM);

    ASSERT_TRUE(fluids.FillFluidCombo(items, FLUID_TYPE_LIQUID, TRUE, "en", FALSE));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[3].text, "Water");
    EXPECT_EQ(items[3].data, 2000);

    ASSERT_TRUE(fluids.FillFluidCombo(items, FLUID_TYPE_SATURATED_STEAM, FALSE, "en", TRUE));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "Custom fluid");
}

TEST_F(FluidManagerTest, FluidByIdCopiesIntoCompatibleKinds)
{
    CFluidGas gas;
    ASSERT_TRUE(fluids.GetFluidById(&gas, 2));
    EXPECT_EQ(gas.Name, "Nitrogen");
    EXPECT_EQ(gas.DbIndex, 2);
    EXPECT_EQ(gas.CritPress, 492.8);
    EXPECT_TRUE(gas.IsValid());

    // The page's humid gas: a gas (air) or the list's humid-gas entry; the humidity stays.
    CFluidWetGas wet;
    wet.RelativeHumidity = 40.0;
    ASSERT_TRUE(fluids.GetFluidById(&wet, 1));
    EXPECT_EQ(wet.Type, FLUID_TYPE_WET_GAS);
    ASSERT_TRUE(fluids.GetFluidById(&wet, 11));
    EXPECT_EQ(wet.Name, "Humid air");
    EXPECT_EQ(wet.MolWeight, 28.96);
    EXPECT_EQ(wet.RelativeHumidity, 40.0);

    CFluidSuperheatedSteam steam;
    ASSERT_TRUE(fluids.GetFluidById(&steam, FLUID_INDEX_WATER_VAPOUR));
    EXPECT_EQ(steam.Type, FLUID_TYPE_SUPERHEATED_STEAM);
    EXPECT_EQ(steam.CritZ, 0.229);

    CFluidGasMix mix;
    mix.Elements = {{1, 100.0}};
    ASSERT_TRUE(fluids.GetFluidById(&mix, 12));
    EXPECT_EQ(mix.Name, "Natural gas");
    EXPECT_EQ(mix.Elements.size(), 1u);

    CFluidLiquid water;
    ASSERT_TRUE(fluids.GetFluidById(&water, FLUID_INDEX_WATER));
    EXPECT_EQ(water.Name, "Water");

    CFluidGas notWater;
    EXPECT_FALSE(fluids.GetFluidById(&notWater, FLUID_INDEX_WATER));
    EXPECT_TRUE(notWater.Name.empty());
    EXPECT_FALSE(fluids.GetFluidById(&gas, 3));  // left out of the list
    EXPECT_FALSE(fluids.GetFluidById(&gas, FLUID_INDEX_CUSTOM));
    EXPECT_FALSE(fluids.GetFluidById(nullptr, 1));
}

TEST(FluidManagerInstance, OneManagerWithoutDatabaseReadsNothing)
{
    CFluidManager* manager = CFluidManager::GetInstance();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(CFluidManager::GetInstance(), manager);
    CUnitDb::GetInstance()->Close();
    EXPECT_FALSE(manager->LoadFluidList());
    CComboItems items;
    EXPECT_FALSE(manager->FillStateCombo(items, "en"));
    ASSERT_TRUE(manager->FillFluidCombo(items, FLUID_TYPE_GAS, FALSE, "en", TRUE));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].data, FLUID_INDEX_CUSTOM);
}

// --- The shipped database -------------------------------------------------------------------

class ShippedFluids : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ShippedDatabase::Open()); }
    static void TearDownTestSuite() { ShippedDatabase::Close(); }
    void SetUp() override { ASSERT_TRUE(fluids.LoadFluidList()); }

    CFluidManager fluids;
};

TEST_F(ShippedFluids, EveryFluidLoadsAndThePagesFindWhatTheyNeed)
{
    EXPECT_EQ(fluids.GetCount(), 15u);

    CFluidGas air;
    ASSERT_TRUE(fluids.GetFluidById(&air, FLUID_INDEX_AIR));
    EXPECT_EQ(air.MolWeight, 28.96);
    CFluidSuperheatedSteam steam;
    ASSERT_TRUE(fluids.GetFluidById(&steam, FLUID_INDEX_WATER_VAPOUR));
    EXPECT_TRUE(steam.IsValid());
    EXPECT_TRUE(steam.HideInGui);
    CFluidLiquid water;
    ASSERT_TRUE(fluids.GetFluidById(&water, FLUID_INDEX_WATER));

    CComboItems items;
    ASSERT_TRUE(fluids.FillStateCombo(items, "de"));
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[3].text, "Flüssigkeit");

    ASSERT_TRUE(fluids.FillFluidCombo(items, FLUID_TYPE_GAS, FALSE, "en", TRUE));
    EXPECT_EQ(items.size(), 13u);  // twelve shown gases and the custom entry
    EXPECT_EQ(items.front().text, "Air");
    EXPECT_EQ(items.back().text, "Custom fluid");
    for (const CComboItem& item : items)
        EXPECT_NE(item.data, FLUID_INDEX_WATER_VAPOUR);

    ASSERT_TRUE(fluids.FillFluidCombo(items, FLUID_TYPE_LIQUID, FALSE, "de", TRUE));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].data, FLUID_INDEX_WATER);
    EXPECT_EQ(items[1].text, "Benutzerdefiniertes Medium");
}

}  // namespace
