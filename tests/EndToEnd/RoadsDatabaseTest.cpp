// The production database as a user meets it in the real program: a connection to a new SQLite
// file made through the connection dialog, its tables created, a sized project saved to it and
// loaded back in a fresh start through the record selection dialog. Menus are taken through
// their keyboard mnemonics, dialogs answered with the keyboard.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/EnvironmentScope.h"
#include "support/PgCluster.h"
#include "support/SilentListener.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// The stored projects, table by table; the record locks aside, which hold who has a record open.
std::string StoredProjects(const std::string& database)
{
    std::string rows;
    for (const char* table : {"customer_data", "device_configuration_data", "physical_data", "physical_values",
                              "result_data", "result_data_errors", "result_data_tables", "result_data_value"}) {
        rows += std::string(table) + ":\n" +
                RunTool({"sqlite3", database, std::string("SELECT * FROM fwr_") + table + " ORDER BY 1, 2, 3"}).output;
    }
    return rows;
}

using DatabaseRoad = Road;

TEST_F(DatabaseRoad, SavedToADatabaseAndLoadedBack)
{
    const std::string database = program.Path("production.sqlite");
    std::string main = Start();
    ASSERT_FALSE(main.empty());

    // File > Database functions > Configure DB connection: the SQLite choice is the first, its
    // file field the next stop.
    std::string connection;
    ASSERT_TRUE(CDesktopDriver::KeysOpening(main, {"alt+f", "f", "c"}, "^Production database connection$", connection));
    CDesktopDriver::Keys(connection, {"Tab", "ctrl+a"});
    CDesktopDriver::Type(connection, database);
    Screenshot("db-connection");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(connection, {"Return"}));
    // The new file opens; only its tables are missing, and the warning names the next step.
    ASSERT_TRUE(WaitForMessage("Could not open the production database. The tables of the production database are "
                               "missing; \"Create tables in DB\" makes them."))
        << program.Messages();
    EXPECT_TRUE(std::filesystem::exists(program.Path("PDB.udl")));
    EXPECT_TRUE(std::filesystem::exists(database));

    // File > Database functions > Create tables in DB.
    CDesktopDriver::Keys(main, {"alt+f", "f", "t"});
    ASSERT_TRUE(WaitForMessage("Successfully created PDB data tables.")) << program.Messages();

    // Liquid water under an order's key, sized, the first meter chosen.
    EnterField(main, kPaNumber, "12345");
    EnterField(main, kVkNumber, "678");
    EnterField(main, kPosition, "7");
    // The state list: Gas, Gas mixture, Humid gas, Liquid...
    ASSERT_NO_FATAL_FAILURE(ChooseListItem(main, kStateChoice, 3));
    EnterField(main, kOperatingTemperature, "20");
    EnterField(main, kOperatingPressure, "5");
    EnterField(main, kMaximumFlow, "100");
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));
    Screenshot("db-project-sized");
    // File > Save to database.
    CDesktopDriver::Keys(main, {"alt+f", "b"});
    ASSERT_TRUE(WaitForMessage("Data successfully saved.")) << program.Messages();
    EXPECT_EQ(RunTool({"sqlite3", database, "SELECT pa, vk, pos FROM fwr_customer_data"}).output, "12345|678|7\n");
    EXPECT_NE(RunTool({"sqlite3", database, "SELECT count(*) FROM fwr_result_data"}).output, "0\n");
    const std::string stored = StoredProjects(database);
    ASSERT_NO_FATAL_FAILURE(Exit(main));

    // A fresh start knows nothing of the project: File > Load from database, the key's beginning
    // typed, the one matching row taken with the dialog's default button.
    main = Start();
    ASSERT_FALSE(main.empty());
    std::string selection;
    ASSERT_TRUE(CDesktopDriver::KeysOpening(main, {"alt+f", "l"}, "^Load record$", selection)) << program.Messages();
    CDesktopDriver::Type(selection, "123");
    Screenshot("db-record-selection");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(selection, {"Return"}));
    // Saved again as loaded (the overwrite question is answered Yes), it stores the same rows.
    CDesktopDriver::Keys(main, {"alt+f", "b"});
    ASSERT_TRUE(WaitForMessage("Overwrite existing record?")) << program.Messages();
    ASSERT_TRUE(WaitUntil(std::chrono::seconds(60), [&] { return program.Messages().rfind("Data successfully saved.") >
                                       program.Messages().find("Overwrite existing record?"); }))
        << program.Messages();
    EXPECT_EQ(StoredProjects(database), stored);
    Screenshot("db-project-loaded");
    EXPECT_EQ(program.Messages().find("Unable"), std::string::npos) << program.Messages();

    // A table removed behind the program's back: the failed save says which step mends it.
    RunTool({"sqlite3", database, "DROP TABLE fwr_result_data_tables"});
    CDesktopDriver::Keys(main, {"alt+f", "b"});
    ASSERT_TRUE(WaitForMessage("Error in SQL statement. Unable to save data. The tables of the production database "
                               "are missing; \"Create tables in DB\" makes them."))
        << program.Messages();
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// A PostgreSQL server that takes the connection and never answers (a listener that accepts
// nothing: the kernel takes the connection): the connection test names the host it waited for
// and how long.
TEST_F(DatabaseRoad, ConnectionTestNamesTheServerThatDidNotAnswer)
{
    const CSilentListener listener;
    const std::string port = listener.Port();
    ASSERT_FALSE(port.empty());
    WriteWholeFile(program.Path("PDB.udl"), "Provider=PostgreSQL;host=127.0.0.1 port=" + port + " dbname=x user=x\n");
    const CEnvironmentScope noTimeout("PGCONNECT_TIMEOUT", nullptr);
    std::string main = Start();
    ASSERT_FALSE(main.empty());

    // File > Database functions > Configure DB connection; Test.
    CDesktopDriver::Keys(main, {"alt+f", "f", "c"});
    const std::string connection = CDesktopDriver::WaitForWindow("^Production database connection$", 60);
    ASSERT_FALSE(connection.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("db-connection-postgresql");
    CDesktopDriver::Keys(connection, {"alt+t"});
    EXPECT_TRUE(WaitForMessage("Could not connect to the database. The server did not answer; waited 5 s (host "
                               "\"127.0.0.1\" port " + port + ")"))
        << program.Messages();
    CDesktopDriver::Keys(connection, {"Escape"});
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(connection, 60)) << CDesktopDriver::WindowTitles();
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// The server of the production database stops while the program runs: the save says why the
// database cannot be opened and how it is opened again; once the server runs again, Configure DB
// connection and its OK open it, and the save stores the project.
TEST_F(DatabaseRoad, StoppedServerIsNamedAndTheConnectionDialogOpensItAgain)
{
    CPgCluster cluster;
    std::string error;
    ASSERT_TRUE(cluster.Start(error)) << error;
    WriteWholeFile(program.Path("PDB.udl"),
                   "[oledb]\nProvider=PostgreSQL;" + cluster.ConnectionInfo("postgres") + "\n");
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    // File > Database functions > Create tables in DB.
    CDesktopDriver::Keys(main, {"alt+f", "f", "t"});
    ASSERT_TRUE(WaitForMessage("Successfully created PDB data tables.")) << program.Messages();
    EnterField(main, kPaNumber, "4711");
    EnterField(main, kVkNumber, "12");
    EnterField(main, kPosition, "1");

    ASSERT_TRUE(cluster.StopServer());
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Save to database")));
    ASSERT_TRUE(WaitForMessage("Once the database can be reached, \"Database functions > Configure DB connection\" "
                               "opens it again."))
        << program.Messages();
    // libpq's reason, in whichever language the system speaks, names where it looked.
    const std::string messages = program.Messages();
    EXPECT_NE(messages.find(cluster.SocketFolder(), messages.find("Could not open the production database. ")),
              std::string::npos)
        << messages;

    ASSERT_TRUE(cluster.StartServer());
    // File > Database functions > Configure DB connection, from a field of the main window.
    CDesktopDriver::Click(main, kPaNumber.x, kPaNumber.y);
    CDesktopDriver::Keys(main, {"alt+f", "f", "c"});
    const std::string connection = CDesktopDriver::WaitForWindow("^Production database connection$", 60);
    ASSERT_FALSE(connection.empty()) << CDesktopDriver::WindowTitles();
    CDesktopDriver::Keys(connection, {"Return"});
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(connection, 60)) << CDesktopDriver::WindowTitles();
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Save to database")));
    ASSERT_TRUE(WaitForMessage("Data successfully saved.")) << program.Messages();
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

}  // namespace
