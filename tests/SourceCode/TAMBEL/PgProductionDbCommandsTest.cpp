// Two programs on one PostgreSQL database: the application's commands and a second set of
// commands with a connection and a lock owner of its own, as another user's program would have.
#include "ProductionDbCommandsFixture.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ProjectData.h"
#include "Oddments/DataSource.h"
#include "Oddments/Session.h"
#include "TAMBEL/ProductionDbCommands.h"
#include "TAMBEL/ProductionDbConnection.h"
#include "support/PgCluster.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

CPgCluster& cluster = TestProgramPgCluster();

}  // namespace

class PgProductionDbCommands : public ProductionDbCommandsFixture {
protected:
    std::string CreateDatabase() override
    {
        static int count = 0;
        const std::string name = "commands" + std::to_string(++count);
        CDataSource source;
        CSession session;
        EXPECT_EQ(source.OpenFromInitializationString(("Provider=PostgreSQL;" + cluster.ConnectionInfo("postgres")).c_str()),
                  S_OK);
        EXPECT_EQ(session.Open(source), S_OK);
        EXPECT_EQ(session.Execute(("CREATE DATABASE " + name).c_str()), S_OK) << session.GetErrorText();
        return "Provider=PostgreSQL;" + cluster.ConnectionInfo(name);
    }
};

TEST_F(PgProductionDbCommands, SecondProgramCannotOverwriteTheFirstOnesLockedProject)
{
    OpenWithTables();
    CTemporaryFolder firstFolder;
    const std::string firstLink = firstFolder.Path("PDB.udl");
    WriteWholeFile(firstLink, m_initString + "\n");
    CProductionDbConnection firstConnection(firstLink);
    CProductionDbCommands first("user1 - PC1");
    first.SetLink(&firstConnection);
    ASSERT_TRUE(first.Open(false));

    const CProductionDbKey key(4711, 12, 1);
    SetProjectInMemory(key.pa, key.vk, key.pos, "first");
    first.SaveToDb();
    ASSERT_THAT(Texts(), ElementsAre("Data successfully saved."));
    ASSERT_EQ(LockOwner(key), "user1 - PC1");

    // The second program types the same key.
    SetProjectInMemory(key.pa, key.vk, key.pos, "second");
    m_boxes.clear();
    App().GetProductionDbCommands().SaveToDb();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0].text, HasSubstr("User: user1 - PC1 machine: "));
    EXPECT_EQ(StoredCustomer(key), "Customer first");

    // It may look at the project, but holds no lock of it.
    m_pick = key;
    m_boxes.clear();
    App().GetProductionDbCommands().LoadFromDb();
    EXPECT_EQ(CProjectData::GetInstance()->customer.customer, "Customer first");
    EXPECT_EQ(m_boxes.size(), 1u);
    EXPECT_TRUE(App().GetProductionDbCommands().GetCurrentRecordKey().IsEmpty());
    EXPECT_EQ(LockOwner(key), "user1 - PC1");

    // Once the first program ends, the project is the second's to overwrite.
    first.UnlockCurrentRecord();
    firstConnection.Close();
    SetProjectInMemory(key.pa, key.vk, key.pos, "second");
    m_boxes.clear();
    App().GetProductionDbCommands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("A record with the same keys exists already.\nOverwrite existing record?",
                                     "Data successfully saved."));
    EXPECT_EQ(StoredCustomer(key), "Customer second");
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());
}
