// Time of a save and a load of a project of 60 result rows of 20 points in the production
// database, on SQLite (a file in a temporary folder) and on PostgreSQL (a throw-away cluster on
// a Unix socket; skipped when no server is installed).
#include "SampleProject.h"
#include "support/PgCluster.h"

#include "Oddments/DataSource.h"
#include "Oddments/Session.h"
#include "ProductionDb/ProductionDb.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

constexpr int kRounds = 100;
constexpr int kRows = 60;
constexpr int kPoints = 20;

double Milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Saves and loads the project kRounds times on the database the data-link file names.
bool Run(const char* provider, const std::string& dataLink)
{
    CProductionDb db;
    if (FAILED(db.Open(dataLink.c_str())) || !db.CreateTables()) {
        std::printf("%s: cannot open or create the tables\n", provider);
        return false;
    }
    CProjectData project;
    FillSampleProject(project, 4711, 12, 1, kRows, kPoints);
    CProjectData loaded;

    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) {
        if (db.SaveProject(&project.customer, &project.features, &project.physical, &project.results) != PDB_SAVE_OK) {
            std::printf("%s: save failed\n", provider);
            return false;
        }
    }
    const double save = Milliseconds(std::chrono::steady_clock::now() - start) / kRounds;

    start = std::chrono::steady_clock::now();
    const CProductionDbKey key(4711, 12, 1);
    for (int i = 0; i < kRounds; ++i) {
        if (!db.LoadProject(key, &loaded.customer, &loaded.features, &loaded.physical, &loaded.results) ||
            loaded.results.GetCount() != kRows) {
            std::printf("%s: load failed\n", provider);
            return false;
        }
    }
    const double load = Milliseconds(std::chrono::steady_clock::now() - start) / kRounds;
    std::printf("%-10s  %7.2f ms per save  %7.2f ms per load  (%d rows of %d points, %d rounds)\n", provider, save,
                load, kRows, kPoints, kRounds);
    return true;
}

}  // namespace

int main()
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zephrin-pdb-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string database = (folder / "production.db").string();
    std::ofstream(database).close();  // an empty file is an empty database
    const std::string dataLink = (folder / "PDB.udl").string();
    std::ofstream(dataLink) << "Provider=SQLite;Data Source=" << database << "\n";
    bool ok = Run("SQLite", dataLink);

    CPgCluster cluster;
    std::string error;
    if (!cluster.Start(error)) {
        std::printf("PostgreSQL: skipped (%s)\n", error.c_str());
    } else {
        std::ofstream(dataLink) << "Provider=PostgreSQL;" << cluster.ConnectionInfo("postgres") << "\n";
        ok = Run("PostgreSQL", dataLink) && ok;
        cluster.Stop();
    }
    std::filesystem::remove_all(folder);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
