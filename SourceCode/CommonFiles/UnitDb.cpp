#include "CommonFiles/UnitDb.h"

#include "CommonFiles/InstanceHolder.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/ProgramFolder.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

namespace {

const char kDataLinkFile[] = "units.udl";
const char kDatabaseFile[] = "Zephrin.db";
const char kOrderNumberPrefix[] = "Q7XK";

// Table and column names go into the statement text; only plain identifiers may.
bool IsIdentifier(const std::string& name)
{
    if (name.empty())
        return false;
    for (const char c : name) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(c >= '0' && c <= '9'))
            return false;
    }
    return !(name[0] >= '0' && name[0] <= '9');
}

// The initialisation string of the database file, quoted when the path holds a ';'.
std::string DatabaseInitString(const std::string& path, const char* mode)
{
    std::string source = path;
    if (path.find(';') != std::string::npos)
        source = path.find('"') == std::string::npos ? '"' + path + '"' : '\'' + path + '\'';
    return "Provider=SQLite;Data Source=" + source + ";Mode=" + mode + ";Persist Security Info=False;";
}

}  // namespace

CUnitDb* CUnitDb::GetInstance()
{
    return CInstanceHolder<CUnitDb>::Get();
}

CUnitDb::CUnitDb() : m_log(CLogManager::GetInstance()->GetLogger("CUnitDb", LOGLEVEL_PARENT)) {}

CUnitDb::~CUnitDb()
{
    Close();
}

HRESULT CUnitDb::Open()
{
    // No version or text of a database opened before stays behind.
    Major = Medium = Minor = Build = 0;
    m_texts.clear();
    const std::string folder = Platform::GetProgramFolder();
    HRESULT result = m_dataSource.OpenFromFileName((folder + kDataLinkFile).c_str());
    if (FAILED(result)) {
        const std::string database = folder + kDatabaseFile;
        result = m_dataSource.OpenFromInitializationString(DatabaseInitString(database, "Read").c_str());
        if (FAILED(result)) {
            // Held locked by another process: read it without taking locks.
            m_dataSource.Close();
            result = m_dataSource.OpenFromInitializationString(
                DatabaseInitString(database, "Read|Share Deny Read|Share Deny Write").c_str());
            if (FAILED(result))
                return result;
        }
    }
    result = m_session.Open(m_dataSource);
    if (FAILED(result)) {
        m_dataSource.Close();
        return result;
    }
    ReadVersion();
    return result;
}

void CUnitDb::Close()
{
    m_texts.clear();
    m_session.Close();
    m_dataSource.Close();
}

BOOL CUnitDb::ReadVersion()
{
    Major = Medium = Minor = Build = 0;
    CDynamicRecordSetOleDb rs;
    BOOL found = FALSE;
    if (rs.Open(m_session,
                "SELECT * FROM Revisions ORDER BY Major DESC, Medium DESC, Minor DESC, Build DESC, "
                "DateOfChange DESC") &&
        rs.MoveNext()) {
        Major = rs.GetLong("Major");
        Medium = rs.GetLong("Medium");
        Minor = rs.GetLong("Minor");
        Build = rs.GetLong("Build");
        found = TRUE;
    }
    rs.Close();
    return found;
}

std::string CUnitDb::GetVersionText()
{
    const CUnitDb* database = GetInstance();
    if (!database)
        return "0.0.0.0";
    return std::to_string(database->Major) + "." + std::to_string(database->Medium) + "." +
           std::to_string(database->Minor) + "." + std::to_string(database->Build);
}

std::string CUnitDb::QueryText(const char* sql, const CDbValues& params, bool& read)
{
    std::string text;
    CDynamicRecordSetOleDb rs;
    read = rs.Open(m_session, sql, params);
    if (read && rs.MoveNext())
        rs.GetStringAt(text, 1);
    else if (read)
        read = rs.ReadAllRows();
    rs.Close();
    return text;
}

std::string CUnitDb::GetTranslatedText(int id, const std::string& language, const std::string& table,
                                       const std::string& textColumn, const std::string& keyColumn)
{
    if (id < 1 || language.empty())
        return std::string();
    auto key = std::make_tuple(id, language, table, textColumn, keyColumn);
    if (const auto known = m_texts.find(key); known != m_texts.end())
        return known->second;
    bool read = false;
    std::string text = QueryText(
        "SELECT Translations.Translation FROM Translations, Languages "
        "WHERE Translations.Id = ? AND Translations.TableName = ? "
        "AND Translations.LanguageId = Languages.Id AND Languages.LanguageCode = ?",
        {id, table, language}, read);
    if (text.empty()) {
        if (!IsIdentifier(table) || !IsIdentifier(textColumn) || !IsIdentifier(keyColumn)) {
            QUILLET_POS(m_log);
            m_log.Warn("No item text: \"%s\".\"%s\" keyed by \"%s\" is not a column name", table.c_str(),
                       textColumn.c_str(), keyColumn.c_str());
            return std::string();
        }
        const std::string sql = "SELECT " + textColumn + " FROM " + table + " WHERE " + keyColumn + " = ?";
        bool ownRead = false;
        text = QueryText(sql.c_str(), {id}, ownRead);
        read = read && ownRead;
    }
    // A text that could not be read is asked for again next time.
    if (read)
        m_texts.emplace(std::move(key), text);
    return text;
}

BOOL CUnitDb::GetOrderNumberPrefix(int /*id*/, std::string& prefix) const
{
    prefix = kOrderNumberPrefix;
    return TRUE;
}

double CUnitDb::GetFormulaSetValue(const std::string& settingName, int formulaSetId)
{
    double value = 0.0;
    CDynamicRecordSetOleDb rs;
    if (rs.Open(m_session, "SELECT SettingValue FROM FormulaSets WHERE FormulaSetId = ? AND SettingName = ?",
                {formulaSetId, settingName}) &&
        rs.MoveNext())
        value = rs.GetDoubleAt(1);
    rs.Close();
    return value;
}
