#include "ProductionDb/ProductionDb.h"

#include "Oddments/DynamicRecordSetOleDb.h"
#include "Oddments/PgConnection.h"
#include "Platform/AsciiText.h"
#include "Platform/NumberText.h"
#include "Platform/ResourceRegistry.h"
#include "Platform/TextEncoding.h"
#include "Platform/XmlFile.h"
#include "ProductionDb/ProductionDbStructure.h"
#include "Quillet/LogManager.h"

#include <tinyxml.h>

#include <mutex>
#include <vector>

namespace {

// The structure goes into the resources once, unless the program brings its own.
void RegisterStructureResource()
{
    static std::once_flag once;
    std::call_once(once, [] {
        std::string_view bytes;
        if (!CResourceRegistry::Find("RCDATA", CProductionDb::kStructureResource, bytes)) {
            CResourceRegistry::Register("RCDATA", CProductionDb::kStructureResource, nullptr,
                                        reinterpret_cast<const unsigned char*>(kProductionDbStructure),
                                        kProductionDbStructureSize);
        }
    });
}

// The server knows neither DOUBLE nor DATETIME; the structure's other type names are its own too.
std::string PostgreSqlDefinition(const std::string& definition)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : definition + " ") {
        if (!Platform::IsAsciiBlank(c)) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    std::string out;
    for (size_t i = 0; i < words.size(); ++i) {
        if (Platform::EqualsNoCase(words[i], "DOUBLE") &&
            (i + 1 == words.size() || !Platform::EqualsNoCase(words[i + 1], "PRECISION")))
            words[i] = "DOUBLE PRECISION";
        else if (Platform::EqualsNoCase(words[i], "DATETIME"))
            words[i] = "TIMESTAMP";
        out += (i == 0 ? "" : " ") + words[i];
    }
    return out;
}

// Whether a column of the database may hold a field of the structure's type.
bool Compatible(DBTYPE field, DBTYPE column)
{
    switch (field) {
    case DBTYPE_STR:
        // A long text may be described as a stream.
        return column == DBTYPE_STR || column == DBTYPE_WSTR || column == DBTYPE_IUNKNOWN;
    case DBTYPE_DATE:
    case DBTYPE_DBDATE:
    case DBTYPE_DBTIMESTAMP:
        return column == DBTYPE_DATE || column == DBTYPE_DBDATE || column == DBTYPE_DBTIMESTAMP;
    default:
        return column == field;
    }
}

}  // namespace

CProductionDb::CProductionDb() : m_log(CLogManager::GetInstance()->GetLogger("CProductionDb", LOGLEVEL_PARENT))
{
    RegisterStructureResource();
    LoadStructure(kStructureResource);
}

CProductionDb::~CProductionDb()
{
    Close();
}

std::string CProductionDb::GetTablePrefix()
{
    return "fwr_";
}

HRESULT CProductionDb::Open(const char* dataLinkFile)
{
    Close();
    ClearFailure();
    HRESULT result = m_dataSource.OpenFromFileName(dataLinkFile);
    if (FAILED(result)) {
        m_failureText = m_dataSource.GetErrorText();
        QUILLET_POS(m_log);
        m_log.Error("could not open %s: 0x%08X %s", dataLinkFile != nullptr ? dataLinkFile : "",
                    static_cast<unsigned>(result), m_dataSource.GetErrorText().c_str());
        return result;
    }
    result = m_session.Open(m_dataSource);
    if (FAILED(result)) {
        m_dataSource.Close();
        return result;
    }
    m_postgreSql = dynamic_cast<CPgConnection*>(m_session.GetConnection().get()) != nullptr;
    return result;
}

void CProductionDb::Close()
{
    m_session.Close();
    m_dataSource.Close();
    m_postgreSql = false;
}

BOOL CProductionDb::LoadStructure(int resourceId)
{
    ClearStructure();
    std::string_view bytes;
    if (!CResourceRegistry::Find("RCDATA", resourceId, bytes)) {
        QUILLET_POS(m_log);
        m_log.Error("structure resource %d not found", resourceId);
        return FALSE;
    }
    TiXmlDocument document;
    std::string error;
    if (!CXmlFile::LoadText(document, bytes, "InternalResource.xml", &error)) {
        QUILLET_POS(m_log);
        m_log.Error("%s", error.c_str());
        return FALSE;
    }
    return ReadStructure(document.FirstChildElement("dbstructure"));
}

BOOL CProductionDb::ReadStructure(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    ClearStructure();
    for (const TiXmlElement* table = element->FirstChildElement("table"); table != nullptr;
         table = table->NextSiblingElement("table")) {
        CDbTableDef definition;
        const char* name = table->Attribute("name");
        const char* keys = table->Attribute("keydefinitions");
        definition.name = GetTablePrefix() + (name != nullptr ? name : "");
        definition.keyDefinitions = keys != nullptr ? keys : "";
        for (const TiXmlElement* field = table->FirstChildElement("field"); field != nullptr;
             field = field->NextSiblingElement("field"))
            definition.fields.push_back(CDbFieldDef::FromXml(*field));
        m_tables.push_back(std::move(definition));
    }
    return TRUE;
}

int CProductionDb::ColumnLength(const std::string& table, const std::string& column)
{
    // The compiled-in structure never changes: read once.
    static const std::vector<CDbTableDef> structure = CProductionDb().GetTables();
    return TextColumnLength(structure, GetTablePrefix() + table, column);
}

int CProductionDb::TextColumnLength(const std::vector<CDbTableDef>& tables, const std::string& table,
                                    const std::string& column)
{
    for (const CDbTableDef& definition : tables) {
        if (definition.name != table)
            continue;
        for (const CDbFieldDef& field : definition.fields) {
            if (field.name == column && field.type == DBTYPE_STR)
                return field.length;
        }
    }
    return 0;
}

BOOL CProductionDb::CheckTables()
{
    ClearFailure();
    for (const CDbTableDef& table : m_tables) {
        const std::string sql = "SELECT * FROM " + table.name + " WHERE 1=0";
        QUILLET_POS(m_log);
        m_log.Trace("Checking %s", table.name.c_str());
        CDynamicRecordSetOleDb rs;
        if (!rs.Open(m_session, sql.c_str())) {
            LogFailure(rs.GetLastResult(), sql);
            return FALSE;
        }
        for (size_t j = 0; j < table.fields.size(); ++j) {
            const CDbFieldDef& field = table.fields[j];
            DBORDINAL column = 0;
            if (!rs.GetOrdinal(field.name.c_str(), &column)) {
                QUILLET_POS(m_log);
                m_log.Error("Field[%d] '%s' not found", static_cast<int>(j + 1), field.name.c_str());
                return FALSE;
            }
            DBTYPE type = 0;
            if (!rs.GetColumnType(column, &type)) {
                QUILLET_POS(m_log);
                m_log.Error("GetColumnType(%d) FAILED 0x%08X %s", static_cast<int>(column),
                            static_cast<unsigned>(rs.GetLastResult()), sql.c_str());
                return FALSE;
            }
            if (!Compatible(field.type, type)) {
                QUILLET_POS(m_log);
                m_log.Error("Wrong Type Field:%s Table:%s Type:%d Expected:%d", field.name.c_str(),
                            table.name.c_str(), type, field.type);
                return FALSE;
            }
        }
    }
    return TRUE;
}

std::string CProductionDb::BuildCreateTable(const CDbTableDef& table) const
{
    std::string sql = "CREATE TABLE " + table.name + " (";
    for (size_t i = 0; i < table.fields.size(); ++i) {
        CDbFieldDef field = table.fields[i];
        if (m_postgreSql)
            field.definition = PostgreSqlDefinition(field.definition);
        sql += field.ColumnDefinition();
        if (i + 1 < table.fields.size() || !table.keyDefinitions.empty())
            sql += ", ";
    }
    return sql + table.keyDefinitions + ")";
}

BOOL CProductionDb::CreateTables()
{
    for (const CDbTableDef& table : m_tables) {
        if (!ExecuteSql(BuildCreateTable(table)))
            return FALSE;
    }
    return TRUE;
}

BOOL CProductionDb::ExecuteSql(const std::string& sql, const CDbValues& params)
{
    QUILLET_POS(m_log);
    m_log.Trace("Executing SQL: %s", sql.c_str());
    const HRESULT result = m_session.Execute(sql.c_str(), params);
    if (FAILED(result)) {
        LogFailure(result, sql);
        return FALSE;
    }
    return TRUE;
}

BOOL CProductionDb::ReadRow(const std::string& sql, const CDbValues& params, CDbColumnMap& row)
{
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_session, sql.c_str(), params)) {
        LogFailure(rs.GetLastResult(), sql);
        return FALSE;
    }
    if (!rs.MoveNext()) {
        QUILLET_POS(m_log);
        m_log.Error("MoveNext FAILED 0x%08X\n%s", static_cast<unsigned>(rs.GetLastResult()), sql.c_str());
        return FALSE;
    }
    row.clear();
    for (DBORDINAL column = 1; column <= rs.GetColumnCount(); ++column) {
        std::string text;
        DBTYPE type = 0;
        rs.GetColumnType(column, &type);
        // The record set's own text of a real keeps six decimals only.
        if (type == DBTYPE_R4 || type == DBTYPE_R8 || type == DBTYPE_NUMERIC || type == DBTYPE_CY)
            text = Platform::DoubleToText(rs.GetDoubleAt(column));
        else
            rs.GetStringAt(text, column);
        text = std::string(Platform::TrimAsciiBlanks(text));
        const char* name = rs.GetColumnName(column);
        QUILLET_POS(m_log);
        m_log.Trace("[%s]='%s'", name, text.c_str());
        row[name] = std::move(text);
    }
    return TRUE;
}

BOOL CProductionDb::ReadRows(const std::string& sql, const CDbValues& params,
                             const std::function<void(const CDynamicRecordSetOleDb&)>& onRow)
{
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_session, sql.c_str(), params)) {
        LogFailure(rs.GetLastResult(), sql);
        return FALSE;
    }
    while (rs.MoveNext())
        onRow(rs);
    if (FAILED(rs.GetLastResult())) {
        LogFailure(rs.GetLastResult(), sql);
        return FALSE;
    }
    return TRUE;
}

std::string CProductionDb::KeyCondition(const CProductionDbKey& key, CDbValues& params)
{
    params.emplace_back(key.pa);
    params.emplace_back(key.vk);
    params.emplace_back(key.pos);
    return "(pa=? AND vk=? AND pos=?)";
}

void CProductionDb::LogFailure(HRESULT result, const std::string& sql)
{
    QUILLET_POS(m_log);
    m_log.Error("Open FAILED 0x%08X\n%s\n%s", static_cast<unsigned>(result), sql.c_str(),
                m_session.GetErrorText().c_str());
    if (!m_failure) {
        m_failure = CDbFailureCause::Of(result, m_session.IsLost());
        m_failureText = m_session.GetErrorText();
    }
}

void CProductionDb::ClearFailure()
{
    m_failure.reset();
    m_failureText.clear();
}

std::string CProductionDb::LockName(const std::string& name)
{
    // Characters, not bytes: the server counts characters.
    return std::string(
        Platform::TrimAsciiBlanks(CTextEncoding::Utf8Prefix(Platform::TrimAsciiBlanks(name), kLockNameLength)));
}
