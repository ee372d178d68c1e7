// The process-wide connection to the read-only units, fluid and device database. Every query
// of the engine runs as a short-lived record set on its one session.
#pragma once

#include "Oddments/DataSource.h"
#include "Oddments/OleDbTypes.h"
#include "Oddments/Session.h"
#include "Quillet/Logger.h"

#include <map>
#include <string>
#include <tuple>

template <class T>
class CInstanceHolder;

class CUnitDb {
public:
    // Made on the first call, deleted at process end; null when called after that.
    static CUnitDb* GetInstance();

    virtual ~CUnitDb();
    CUnitDb(const CUnitDb&) = delete;
    CUnitDb& operator=(const CUnitDb&) = delete;

    // Opens the database named by "units.udl" in the program folder; without a usable one,
    // "Zephrin.db" beside the program read-only, and when that fails (another process holds
    // the file locked) once more without taking locks. Then the session, then the version.
    // The first failing result (negative); the data source is then closed.
    HRESULT Open();
    // Session first, then the data source.
    void Close();
    CSession& GetSession() { return m_session; }

    // The newest row of Revisions into the four version fields; FALSE, all 0, when the
    // query fails or the table is empty.
    BOOL ReadVersion();

    // The text of a database item in a language: its Translations row, else the item's own
    // column (textColumn of table where keyColumn = id). Empty for an id below 1, an empty
    // language, or table and column names that are not plain identifiers. Texts read are kept
    // until the database is closed: the program never changes them, and every unit list asks
    // for them again.
    std::string GetTranslatedText(int id, const std::string& language, const std::string& table,
                                  const std::string& textColumn, const std::string& keyColumn);

    // Every device order number begins with the same prefix, whatever the item.
    BOOL GetOrderNumberPrefix(int id, std::string& prefix) const;

    // SettingValue of the setting in the formula set; 0.0 when there is none.
    double GetFormulaSetValue(const std::string& settingName, int formulaSetId);

    // The version of the instance's database as "Major.Medium.Minor.Build"; "0.0.0.0" when there
    // is no instance.
    static std::string GetVersionText();

    // Database version, printed as Major.Medium.Minor.Build.
    int Major = 0;
    int Medium = 0;
    int Minor = 0;
    int Build = 0;

private:
    friend class CInstanceHolder<CUnitDb>;
    CUnitDb();

    // The first row's first column of the query as text; empty when there is none. read is
    // false when the query or its first step failed.
    std::string QueryText(const char* sql, const CDbValues& params, bool& read);

    CSession m_session;
    CDataSource m_dataSource;
    // By id, language, table, text column and key column.
    std::map<std::tuple<int, std::string, std::string, std::string, std::string>, std::string> m_texts;
    CLogger m_log;
};
