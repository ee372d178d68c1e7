#include "support/DamagedDatabase.h"

#include <sqlite3.h>

#include <fstream>
#include <vector>

bool DamageMiddleLeafPage(const std::string& path, const std::string& tree, std::string& error)
{
    sqlite3* db = nullptr;
    std::vector<long long> leaves;
    long long pageSize = 0;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        // In the order of the b-tree, so the middle leaf holds rows from the middle of a scan.
        if (sqlite3_prepare_v2(db, "SELECT pageno, pgsize FROM dbstat WHERE name = ? AND pagetype = 'leaf' ORDER BY path",
                               -1, &statement, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(statement, 1, tree.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(statement) == SQLITE_ROW) {
                leaves.push_back(sqlite3_column_int64(statement, 0));
                pageSize = sqlite3_column_int64(statement, 1);
            }
        }
        error = sqlite3_errmsg(db);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    if (leaves.size() < 3) {
        error = tree + " has " + std::to_string(leaves.size()) + " leaf pages: " + error;
        return false;
    }
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp((leaves[leaves.size() / 2] - 1) * pageSize);
    file << std::string(static_cast<size_t>(pageSize), '\xEE');
    if (!file.flush()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
