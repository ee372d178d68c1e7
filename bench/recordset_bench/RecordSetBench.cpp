// The cost of the record set over reading SQLite directly: the same 100,000 rows of five
// mixed columns read into the same C++ values both ways.
#include "Oddments/DataSource.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Oddments/Session.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRounds = 7;
const char kQuery[] = "SELECT id, name, value, flag, code FROM items";

struct Totals {
    long long ids = 0;
    double values = 0;
    long long flags = 0;
    size_t textBytes = 0;

    bool operator==(const Totals& o) const
    {
        return ids == o.ids && values == o.values && flags == o.flags && textBytes == o.textBytes;
    }
};

bool CreateDatabase(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return false;
    bool ok = sqlite3_exec(db,
                           "CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, value DOUBLE, "
                           "flag BOOLEAN, code VARCHAR(16)); BEGIN",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO items VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr) == SQLITE_OK;
    for (int i = 1; ok && i <= kRows; ++i) {
        const std::string name = "Item number " + std::to_string(i);
        const std::string code = "C-" + std::to_string(i % 997);
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, i * 0.25);
        sqlite3_bind_int(insert, 4, i % 3 == 0);
        sqlite3_bind_text(insert, 5, code.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

Totals ReadRaw(const std::string& path)
{
    Totals totals;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, kQuery, -1, &statement, nullptr);
    std::string name, code;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        totals.ids += sqlite3_column_int(statement, 0);
        name.assign(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)),
                    static_cast<size_t>(sqlite3_column_bytes(statement, 1)));
        totals.values += sqlite3_column_double(statement, 2);
        totals.flags += sqlite3_column_int(statement, 3) != 0;
        code.assign(reinterpret_cast<const char*>(sqlite3_column_text(statement, 4)),
                    static_cast<size_t>(sqlite3_column_bytes(statement, 4)));
        totals.textBytes += name.size() + code.size();
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return totals;
}

Totals ReadRecordSet(const std::string& path)
{
    Totals totals;
    CDataSource source;
    CSession session;
    if (source.OpenFromInitializationString(("Provider=SQLite;Data Source=" + path + ";Mode=Read").c_str()) != S_OK ||
        session.Open(source) != S_OK)
        return totals;
    CDynamicRecordSetOleDb rs;
    if (rs.Open(session, kQuery)) {
        std::string name, code;
        while (rs.MoveNext()) {
            totals.ids += rs.GetLong("id");
            rs.GetString(name, "name");
            totals.values += rs.GetDouble("value");
            totals.flags += rs.GetBool("flag");
            rs.GetString(code, "code");
            totals.textBytes += name.size() + code.size();
        }
    }
    rs.Close();
    return totals;
}

template <typename Read>
double Seconds(Read read, const std::string& path, Totals& totals)
{
    const auto start = std::chrono::steady_clock::now();
    totals = read(path);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    char folder[] = "/tmp/recordset-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    const std::string path = std::string(folder) + "/items.db";
    if (!CreateDatabase(path)) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        std::filesystem::remove_all(folder);
        return 1;
    }

    std::vector<double> raw, recordSet;
    Totals rawTotals, recordSetTotals;
    Seconds(ReadRaw, path, rawTotals);  // warm the page cache
    for (int round = 0; round < kRounds; ++round) {
        raw.push_back(Seconds(ReadRaw, path, rawTotals));
        recordSet.push_back(Seconds(ReadRecordSet, path, recordSetTotals));
    }
    std::filesystem::remove_all(folder);
    if (!(rawTotals == recordSetTotals)) {
        std::fprintf(stderr, "the two readings differ\n");
        return 1;
    }

    const double rawTime = Median(raw);
    const double recordSetTime = Median(recordSet);
    std::printf("rows: %d, columns: 5, median of %d rounds\n", kRows, kRounds);
    std::printf("raw sqlite3_step: %.2f ms\n", rawTime * 1000);
    std::printf("record set:       %.2f ms\n", recordSetTime * 1000);
    std::printf("ratio:            %.2f (target <= 1.50)\n", recordSetTime / rawTime);
    return 0;
}
