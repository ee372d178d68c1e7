// Storing, loading and deleting a project under its key.
#include "ProductionDb/ProductionDb.h"

#include "CommonFiles/CustomerData.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/AsciiText.h"
#include "Platform/NumberText.h"
#include "Platform/TextEncoding.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>

namespace {

// Statements with more rows than this are split: servers limit the number of values.
constexpr size_t kRowsPerInsert = 100;

constexpr int kPhysicalValueCount = 8;
constexpr int kResultValueCount = 3;

// Value ids 1 to 8 of the physical values.
CUnitValue& PhysicalValue(CPhysicalData& data, int valueId)
{
    switch (valueId) {
    case 1:
        return data.Temperature;
    case 2:
        return data.Pressure;
    case 3:
        return data.Density;
    case 4:
        return data.Viscosity;
    case 5:
        return data.Flow;
    case 6:
        return data.NormFlowConditions.Temperature;
    case 7:
        return data.NormFlowConditions.Pressure;
    default:
        return data.NormFlowConditions.Density;
    }
}

const CUnitValue& PhysicalValue(const CPhysicalData& data, int valueId)
{
    return PhysicalValue(const_cast<CPhysicalData&>(data), valueId);
}

// Value ids 1 to 3 of a result row: flow, velocity and pressure loss, each a unit and a range.
CUnit& ResultUnit(CResultItem& item, int valueId)
{
    return valueId == 1 ? item.FlowUnit : (valueId == 2 ? item.VelocityUnit : item.PressureUnit);
}

CValueRange& ResultRange(CResultItem& item, int valueId)
{
    return valueId == 1 ? item.FlowRange : (valueId == 2 ? item.VelocityRange : item.PressureLossRange);
}

const CUnit& ResultUnit(const CResultItem& item, int valueId)
{
    return ResultUnit(const_cast<CResultItem&>(item), valueId);
}

const CValueRange& ResultRange(const CResultItem& item, int valueId)
{
    return ResultRange(const_cast<CResultItem&>(item), valueId);
}

// The columns of the five values of a point, named after the point columns' English captions.
std::array<std::string, RESULT_COLUMN_COUNT> PointColumnNames()
{
    std::array<std::string, RESULT_COLUMN_COUNT> names;
    for (int j = 0; j < RESULT_COLUMN_COUNT; ++j)
        GetResultColumnCaption(names[static_cast<size_t>(j)], j, "en", TRUE, TRUE);
    return names;
}

void AppendUnitColumns(const CUnit& unit, CProductionDb::Columns& columns)
{
    columns.emplace_back("conversion_factor", unit.ConversionFactor);
    columns.emplace_back("conversion_offset", unit.ConversionOffset);
    columns.emplace_back("conversion_flags", unit.ConversionFlags);
    columns.emplace_back("db_index", unit.DbIndex);
    columns.emplace_back("unit_name", unit.Name);
    columns.emplace_back("unit_system", unit.System);
    columns.emplace_back("unit_type", unit.Type);
}

// Reals of stored rows: one that is not finite (a row another program wrote) is no value, and
// the first such column is remembered so that the load can be refused.
class CFiniteReals {
public:
    double Get(const CDynamicRecordSetOleDb& rs, const char* column)
    {
        return Check(rs.GetDouble(column), column);
    }
    double Check(double value, const char* column)
    {
        if (!std::isfinite(value) && m_column.empty())
            m_column = column;
        return value;
    }
    // FALSE with an error line naming the table and column when a value was not finite.
    BOOL Verify(CLogger& log, const char* table) const
    {
        if (m_column.empty())
            return TRUE;
        QUILLET_POS(log);
        log.Error("%s%s.%s is not a finite number", CProductionDb::GetTablePrefix().c_str(), table, m_column.c_str());
        return FALSE;
    }

private:
    std::string m_column;
};

void ReadUnitColumns(const CDynamicRecordSetOleDb& rs, CFiniteReals& reals, CUnit& unit)
{
    unit.ConversionFactor = reals.Get(rs, "conversion_factor");
    unit.ConversionOffset = reals.Get(rs, "conversion_offset");
    unit.ConversionFlags = rs.GetLong("conversion_flags");
    unit.DbIndex = rs.GetLong("db_index");
    rs.GetString(unit.Name, "unit_name");
    unit.Name = std::string(Platform::TrimAsciiBlanks(unit.Name));
    unit.System = rs.GetLong("unit_system");
    unit.Type = rs.GetLong("unit_type");
}

// The fluid as compact XML text in an element "fluid".
bool FluidText(const CFluid& fluid, std::string& text)
{
    TiXmlElement element("fluid");
    if (!fluid.WriteXml(&element))
        return false;
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    text = printer.CStr();
    return true;
}

// "?, ?, ?, ..." for the key and the columns, whose values are appended to params.
std::string ValueList(const CProductionDbKey& key, const CProductionDb::Columns& columns, CDbValues& params)
{
    std::string values = "?, ?, ?";
    params.emplace_back(key.pa);
    params.emplace_back(key.vk);
    params.emplace_back(key.pos);
    for (const CProductionDb::Columns::value_type& column : columns) {
        values += ", ?";
        params.push_back(column.second);
    }
    return values;
}

}  // namespace

// One transaction: rolled back unless committed.
class CProductionDb::CTransaction {
public:
    enum Kind { Write, Read };
    // A COMMIT whose answer never came, the connection lost, may have been carried out or not.
    enum Outcome { Committed, Failed, Unknown };

    CTransaction(CProductionDb& db, Kind kind) : m_db(db)
    {
        // A write on SQLite takes the write lock now, not half way through when another writer
        // may hold it. A read sees the project as one save left it, not the rows of two saves
        // that ran in between its statements.
        if (kind == Write)
            m_open = db.ExecuteSql(db.IsPostgreSql() ? "BEGIN" : "BEGIN IMMEDIATE");
        else
            m_open = db.ExecuteSql(db.IsPostgreSql() ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY" : "BEGIN");
    }
    ~CTransaction()
    {
        // A lost connection takes its transaction with it.
        if (m_open && !m_db.IsLost())
            m_db.ExecuteSql("ROLLBACK");
    }
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;

    bool IsOpen() const { return m_open; }
    Outcome Commit()
    {
        if (!m_open)
            return Failed;
        if (!m_db.ExecuteSql("COMMIT"))
            return m_db.IsLost() ? Unknown : Failed;  // SQLite keeps a transaction whose COMMIT failed
        m_open = false;
        return Committed;
    }

private:
    CProductionDb& m_db;
    bool m_open = false;
};

std::string CProductionDb::BuildInsert(const char* table, const CProductionDbKey& key, const Columns& columns,
                                       CDbValues& params) const
{
    std::string names = "pa, vk, pos";
    for (const Columns::value_type& column : columns)
        names += ", " + column.first;
    return "INSERT INTO " + GetTablePrefix() + table + " ( " + names + " ) VALUES ( " +
           ValueList(key, columns, params) + " );";
}

namespace {

// Turndown and current at minimum flow are quotients the sizing leaves unguarded: a sizing made
// before a flow is entered makes them infinite, and project files keep them so.
bool MayBeInfinite(const std::string& column)
{
    return column == "application_turndown" || column == "current_min";
}

}  // namespace

int CProductionDb::InsertRows(const char* table, const CProductionDbKey& key, const std::vector<Columns>& rows)
{
    const std::string tableName = GetTablePrefix() + table;
    for (const Columns& columns : rows) {
        for (const Columns::value_type& column : columns) {
            // Reals that are not a number would be stored as NULL by one provider and read back
            // as 0; an infinity is no value to calculate with either, but for the two quotients.
            const bool real = column.second.GetKind() == CDbValue::Real;
            if (real && !std::isfinite(column.second.GetReal()) &&
                (std::isnan(column.second.GetReal()) || !MayBeInfinite(column.first))) {
                QUILLET_POS(m_log);
                m_log.Error("%s.%s is not a finite number", tableName.c_str(), column.first.c_str());
                return PDB_SAVE_NO_DATA;
            }
            // A text longer than its column fails on the server but is stored whole by SQLite;
            // refused on both, so a project stored in one can be stored in the other.
            if (column.second.GetKind() != CDbValue::Text)
                continue;
            const int length = TextColumnLength(m_tables, tableName, column.first);
            if (length > 0 && CTextEncoding::Utf8Length(column.second.GetText()) > static_cast<size_t>(length)) {
                QUILLET_POS(m_log);
                m_log.Error("%s.%s is longer than %d characters", tableName.c_str(), column.first.c_str(), length);
                return PDB_SAVE_NO_DATA;
            }
        }
    }
    // Rows that share their columns go into one statement, a limited number at a time.
    for (size_t first = 0; first < rows.size(); first += kRowsPerInsert) {
        const size_t last = std::min(rows.size(), first + kRowsPerInsert);
        CDbValues params;
        std::string sql = BuildInsert(table, key, rows[first], params);
        for (size_t i = first + 1; i < last; ++i)
            sql.insert(sql.size() - std::string(" );").size(), " ), ( " + ValueList(key, rows[i], params));
        if (!ExecuteSql(sql, params))
            return PDB_SAVE_SQL_FAILED;
    }
    return PDB_SAVE_OK;
}

int CProductionDb::InsertRow(const char* table, const CProductionDbKey& key, const Columns& columns)
{
    return InsertRows(table, key, std::vector<Columns>{columns});
}

int CProductionDb::SavePhysicalValue(const CProductionDbKey& key, int valueId, const CUnitValue& value)
{
    Columns columns = {{"value_id", valueId},
                       {"user_value", value.Value},
                       {"base_value", value.BaseValue},
                       {"reference", value.Reference}};
    AppendUnitColumns(value, columns);
    return InsertRow("physical_values", key, columns);
}

int CProductionDb::SaveResultValue(const CProductionDbKey& key, int itemId, int valueId, const CUnit& unit,
                                   const CValueRange& range)
{
    Columns columns = {{"item_id", itemId},
                       {"value_id", valueId},
                       {"min_value", range.MinRange},
                       {"max_value", range.MaxRange}};
    AppendUnitColumns(unit, columns);
    return InsertRow("result_data_value", key, columns);
}

BOOL CProductionDb::DeleteRows(const CProductionDbKey& key)
{
    for (const CDbTableDef& table : m_tables) {
        CDbValues params;
        const std::string condition = KeyCondition(key, params);
        if (!ExecuteSql("DELETE FROM " + table.name + " WHERE " + condition, params))
            return FALSE;
    }
    return TRUE;
}

BOOL CProductionDb::DeleteProject(const CProductionDbKey& key)
{
    if (!key.IsValid()) {
        QUILLET_POS(m_log);
        m_log.Error("not enough primary keys %s", key.Format().c_str());
        return FALSE;
    }
    CTransaction transaction(*this, CTransaction::Write);
    if (!transaction.IsOpen() || !DeleteRows(key))
        return FALSE;
    const CTransaction::Outcome outcome = transaction.Commit();
    if (outcome == CTransaction::Unknown) {
        QUILLET_POS(m_log);
        m_log.Error("Delete of %s: the connection was lost during COMMIT; the project may have been deleted or not",
                    key.Format().c_str());
    }
    return outcome == CTransaction::Committed ? TRUE : FALSE;
}

int CProductionDb::SaveProject(const CCustomerData* customer, const CDeviceConfiguration* features,
                               const CPhysicalData* physical, const CResultData* results)
{
    ClearFailure();
    if (customer == nullptr || features == nullptr || physical == nullptr || results == nullptr)
        return PDB_SAVE_NO_DATA;
    // A position beyond the column would be cut to another project's key.
    if (customer->pos < INT16_MIN || customer->pos > INT16_MAX) {
        QUILLET_POS(m_log);
        m_log.Error("position %d of PA=%d VK=%d is beyond the key column", customer->pos, customer->pa, customer->vk);
        return PDB_SAVE_INVALID_KEY;
    }
    const CProductionDbKey key(customer->pa, customer->vk, static_cast<std::int16_t>(customer->pos));
    if (!key.IsValid()) {
        QUILLET_POS(m_log);
        m_log.Error("not enough primary keys %s", key.Format().c_str());
        return PDB_SAVE_INVALID_KEY;
    }
    CTransaction transaction(*this, CTransaction::Write);
    int result = transaction.IsOpen() && DeleteRows(key) ? SaveRows(key, *customer, *features, *physical, *results)
                                                         : PDB_SAVE_SQL_FAILED;
    if (result == PDB_SAVE_OK) {
        switch (transaction.Commit()) {
        case CTransaction::Committed:
            return PDB_SAVE_OK;
        case CTransaction::Unknown:
            QUILLET_POS(m_log);
            m_log.Error("Save of %s: the connection was lost during COMMIT; the project may have been stored or not",
                        key.Format().c_str());
            return PDB_SAVE_OUTCOME_UNKNOWN;
        case CTransaction::Failed:
            result = PDB_SAVE_SQL_FAILED;
            break;
        }
    }
    QUILLET_POS(m_log);
    m_log.Error("Save of %s failed; nothing of it was stored", key.Format().c_str());
    return result;
}

int CProductionDb::SaveRows(const CProductionDbKey& key, const CCustomerData& customer,
                            const CDeviceConfiguration& features, const CPhysicalData& physical,
                            const CResultData& results)
{
    CDbColumnMap fields;
    if (!customer.SaveToDbFields(fields)) {
        QUILLET_POS(m_log);
        m_log.Error("could not retrieve customerData");
        return PDB_SAVE_NO_DATA;
    }
    Columns columns;
    for (const CDbColumnMap::value_type& field : fields)
        columns.emplace_back(field.first, field.second);
    int result = InsertRow("customer_data", key, columns);
    if (result != PDB_SAVE_OK)
        return result;

    std::vector<Columns> rows;
    for (const CDeviceConfiguration::FeatureMap::value_type& feature : features)
        rows.push_back({{"feature_id", feature.first}, {"feature_value", feature.second}});
    if ((result = InsertRows("device_configuration_data", key, rows)) != PDB_SAVE_OK)
        return result;

    for (int valueId = 1; valueId <= kPhysicalValueCount; ++valueId) {
        if ((result = SavePhysicalValue(key, valueId, PhysicalValue(physical, valueId))) != PDB_SAVE_OK)
            return result;
    }

    columns = {{"normflow_id", physical.NormFlowConditions.Id},
               {"normflow_name", physical.NormFlowConditions.Name},
               {"compressibility_factor", physical.CompressibilityFactor},
               {"temperature_min", physical.TemperatureRange.MinRange},
               {"temperature_max", physical.TemperatureRange.MaxRange},
               {"pressure_min", physical.PressureRange.MinRange},
               {"pressure_max", physical.PressureRange.MaxRange}};
    // A project whose fluid is not chosen yet is stored without one.
    std::string fluid;
    if (physical.Fluid && !FluidText(*physical.Fluid, fluid)) {
        QUILLET_POS(m_log);
        m_log.Error("could not retrieve fluidData");
        return PDB_SAVE_NO_DATA;
    }
    columns.emplace_back("fluid_data", physical.Fluid ? CDbValue(fluid) : CDbValue());
    if ((result = InsertRow("physical_data", key, columns)) != PDB_SAVE_OK)
        return result;

    const std::array<std::string, RESULT_COLUMN_COUNT> pointColumns = PointColumnNames();
    for (int itemId = 0; itemId < results.GetCount(); ++itemId) {
        const CResultItem& item = results.GetAt(itemId);
        columns = {{"item_id", itemId},
                   {"size_id", item.SizeId},
                   {"pressure_id", item.PressureId},
                   {"section_id", item.SectionId},
                   {"reynolds_min", item.ReynoldsMin},
                   {"application_turndown", item.ApplicationTurndown},
                   {"vortex_frequency_max", item.VortexFrequencyMax},
                   {"current_min", item.CurrentMin}};
        if ((result = InsertRow("result_data", key, columns)) != PDB_SAVE_OK)
            return result;

        // A code given twice says nothing more, and 0 is no code; the table's key allows
        // each code once.
        rows.clear();
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<int> codes = pass == 0 ? item.Errors : item.Warnings;
            std::sort(codes.begin(), codes.end());
            codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
            for (int code : codes) {
                if (code != 0)
                    rows.push_back({{"item_id", itemId},
                                    {"error_id", pass == 0 ? code : 0},
                                    {"warning_id", pass == 0 ? 0 : code}});
            }
        }
        if ((result = InsertRows("result_data_errors", key, rows)) != PDB_SAVE_OK)
            return result;

        for (int valueId = 1; valueId <= kResultValueCount; ++valueId) {
            result = SaveResultValue(key, itemId, valueId, ResultUnit(item, valueId), ResultRange(item, valueId));
            if (result != PDB_SAVE_OK)
                return result;
        }

        rows.clear();
        for (size_t pointId = 0; pointId < item.Points.size(); ++pointId) {
            Columns point = {{"item_id", itemId}, {"point_id", static_cast<int>(pointId)}};
            for (size_t j = 0; j < pointColumns.size(); ++j)
                point.emplace_back(pointColumns[j], item.Points[pointId][j]);
            rows.push_back(std::move(point));
        }
        if ((result = InsertRows("result_data_tables", key, rows)) != PDB_SAVE_OK)
            return result;
    }
    return PDB_SAVE_OK;
}

BOOL CProductionDb::LoadProject(const CProductionDbKey& key, CCustomerData* customer, CDeviceConfiguration* features,
                                CPhysicalData* physical, CResultData* results)
{
    if (customer == nullptr || features == nullptr || physical == nullptr || results == nullptr)
        return FALSE;
    if (!key.IsValid()) {
        QUILLET_POS(m_log);
        m_log.Error("not enough primary keys %s", key.Format().c_str());
        return FALSE;
    }

    CTransaction transaction(*this, CTransaction::Read);
    if (!transaction.IsOpen())
        return FALSE;
    // Everything is read into these first, so a failure leaves the caller's project as it was.
    CCustomerData loadedCustomer;
    CDeviceConfiguration loadedFeatures;
    CPhysicalData loadedPhysical;
    CResultData loadedResults;

    CDbValues params;
    std::string condition = KeyCondition(key, params);
    CDbColumnMap row;
    if (!ReadRow("SELECT * FROM " + GetTablePrefix() + "customer_data WHERE " + condition, params, row))
        return FALSE;
    if (!loadedCustomer.LoadFromDbFields(row)) {
        QUILLET_POS(m_log);
        m_log.Error("the key of %s is not readable", key.Format().c_str());
        return FALSE;
    }

    const std::string featuresSql =
        "SELECT * FROM " + GetTablePrefix() + "device_configuration_data WHERE " + condition;
    if (!ReadRows(featuresSql, params, [&](const CDynamicRecordSetOleDb& rs) {
            loadedFeatures.SetAt(rs.GetLong("feature_id"), rs.GetLong("feature_value"));
        }))
        return FALSE;

    if (!LoadPhysicalData(key, loadedPhysical) || !LoadResults(key, loadedResults) ||
        transaction.Commit() != CTransaction::Committed)
        return FALSE;

    *customer = loadedCustomer;
    *features = loadedFeatures;
    // The fluid moves over as it is; CopyTo then only copies values and cannot fail.
    std::unique_ptr<CFluid> fluid = std::move(loadedPhysical.Fluid);
    loadedPhysical.CopyTo(*physical);
    physical->Fluid = std::move(fluid);
    results->RemoveAll();
    for (int i = 0; i < loadedResults.GetCount(); ++i)
        results->Add(loadedResults.GetAt(i));
    return TRUE;
}

BOOL CProductionDb::LoadPhysicalData(const CProductionDbKey& key, CPhysicalData& physical)
{
    CDbValues params;
    const std::string condition = KeyCondition(key, params);
    CDbColumnMap row;
    if (!ReadRow("SELECT * FROM " + GetTablePrefix() + "physical_data WHERE " + condition, params, row))
        return FALSE;
    CDbColumnMap::const_iterator found;
    if ((found = row.find("normflow_id")) != row.end()) {
        long id = 0;
        if (!Platform::TextToLong(found->second, id) || id < INT_MIN || id > INT_MAX) {
            QUILLET_POS(m_log);
            m_log.Error("%sphysical_data.normflow_id '%s' is not a whole int", GetTablePrefix().c_str(),
                        found->second.c_str());
            return FALSE;
        }
        physical.NormFlowConditions.Id = static_cast<int>(id);
    }
    if ((found = row.find("normflow_name")) != row.end())
        physical.NormFlowConditions.Name = found->second;
    const std::pair<const char*, double*> reals[] = {
        {"compressibility_factor", &physical.CompressibilityFactor},
        {"temperature_min", &physical.TemperatureRange.MinRange},
        {"temperature_max", &physical.TemperatureRange.MaxRange},
        {"pressure_min", &physical.PressureRange.MinRange},
        {"pressure_max", &physical.PressureRange.MaxRange},
    };
    CFiniteReals finite;
    for (const auto& real : reals) {
        if ((found = row.find(real.first)) != row.end())
            *real.second = finite.Check(Platform::AtoF(found->second.c_str()), real.first);
    }
    if (!finite.Verify(m_log, "physical_data"))
        return FALSE;
    if ((found = row.find("fluid_data")) != row.end() && !found->second.empty()) {
        TiXmlDocument document;
        std::string error;
        if (!CXmlFile::LoadText(document, found->second, "fluid_data", &error)) {
            QUILLET_POS(m_log);
            m_log.Error("%s", error.c_str());
            return FALSE;
        }
        if (const TiXmlElement* element = document.FirstChildElement("fluid")) {
            int type = -1;
            element->QueryIntAttribute("Type", &type);
            std::unique_ptr<CFluid> fluid = CreateFluid(type);
            if (!fluid || !fluid->ReadXml(element)) {
                QUILLET_POS(m_log);
                m_log.Error("could not read the fluid of type %d", type);
                return FALSE;
            }
            physical.Fluid = std::move(fluid);
        }
    }
    return LoadPhysicalValues(key, physical);
}

BOOL CProductionDb::LoadPhysicalValues(const CProductionDbKey& key, CPhysicalData& physical)
{
    // One statement for all the values, as for the detail tables of the results.
    CDbValues params;
    const std::string sql = "SELECT * FROM " + GetTablePrefix() + "physical_values WHERE " + KeyCondition(key, params);
    unsigned found = 0;
    CFiniteReals finite;
    if (!ReadRows(sql, params, [&](const CDynamicRecordSetOleDb& rs) {
            const int valueId = rs.GetLong("value_id");
            if (valueId < 1 || valueId > kPhysicalValueCount)
                return;
            CUnitValue& value = PhysicalValue(physical, valueId);
            value.Reset();
            value.Value = finite.Get(rs, "user_value");
            value.BaseValue = finite.Get(rs, "base_value");
            value.Reference = rs.GetLong("reference");
            ReadUnitColumns(rs, finite, value);
            found |= 1u << valueId;
        }) ||
        !finite.Verify(m_log, "physical_values"))
        return FALSE;
    for (int valueId = 1; valueId <= kPhysicalValueCount; ++valueId) {
        if ((found & (1u << valueId)) == 0) {
            QUILLET_POS(m_log);
            m_log.Error("no data for\n%s (value_id=%d)", sql.c_str(), valueId);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CProductionDb::LoadResults(const CProductionDbKey& key, CResultData& results)
{
    // Each detail table is read once for the whole key, in item order, instead of once per row.
    CDbValues params;
    const std::string condition = KeyCondition(key, params);
    const std::string from = "SELECT * FROM " + GetTablePrefix();
    std::vector<CResultItem> items;
    std::map<int, size_t> positions;  // item id -> index into items

    const std::string itemsSql = from + "result_data WHERE " + condition + " ORDER BY item_id";
    CFiniteReals itemReals;
    if (!ReadRows(itemsSql, params, [&](const CDynamicRecordSetOleDb& rs) {
            CResultItem item;
            item.SizeId = rs.GetLong("size_id");
            item.PressureId = rs.GetLong("pressure_id");
            item.SectionId = rs.GetLong("section_id");
            item.ReynoldsMin = itemReals.Get(rs, "reynolds_min");
            item.ApplicationTurndown = rs.GetDouble("application_turndown");
            item.VortexFrequencyMax = itemReals.Get(rs, "vortex_frequency_max");
            item.CurrentMin = rs.GetDouble("current_min");
            positions[rs.GetLong("item_id")] = items.size();
            items.push_back(std::move(item));
        }) ||
        !itemReals.Verify(m_log, "result_data"))
        return FALSE;

    auto itemOf = [&](const CDynamicRecordSetOleDb& set) -> CResultItem* {
        const auto found = positions.find(set.GetLong("item_id"));
        return found != positions.end() ? &items[found->second] : nullptr;
    };

    // Errors first, then warnings, each in code order.
    const std::string errorsSql =
        from + "result_data_errors WHERE " + condition + " ORDER BY item_id, warning_id, error_id";
    if (!ReadRows(errorsSql, params, [&](const CDynamicRecordSetOleDb& rs) {
            CResultItem* item = itemOf(rs);
            if (item == nullptr)
                return;
            if (const int error = rs.GetLong("error_id"))
                item->AddError(error);
            else if (const int warning = rs.GetLong("warning_id"))
                item->AddWarning(warning);
        }))
        return FALSE;

    const std::string valuesSql = from + "result_data_value WHERE " + condition + " ORDER BY item_id, value_id";
    std::vector<unsigned> valuesFound(items.size(), 0);
    CFiniteReals valueReals;
    if (!ReadRows(valuesSql, params, [&](const CDynamicRecordSetOleDb& rs) {
            CResultItem* item = itemOf(rs);
            const int valueId = rs.GetLong("value_id");
            if (item == nullptr || valueId < 1 || valueId > kResultValueCount)
                return;
            ReadUnitColumns(rs, valueReals, ResultUnit(*item, valueId));
            ResultRange(*item, valueId).MinRange = valueReals.Get(rs, "min_value");
            ResultRange(*item, valueId).MaxRange = valueReals.Get(rs, "max_value");
            valuesFound[static_cast<size_t>(item - items.data())] |= 1u << valueId;
        }) ||
        !valueReals.Verify(m_log, "result_data_value"))
        return FALSE;
    for (const auto& position : positions) {
        if (valuesFound[position.second] != 0xEu) {
            QUILLET_POS(m_log);
            m_log.Error("no data for\n%s (item_id=%d)", valuesSql.c_str(), position.first);
            return FALSE;
        }
    }

    const std::array<std::string, RESULT_COLUMN_COUNT> pointColumns = PointColumnNames();
    const std::string pointsSql = from + "result_data_tables WHERE " + condition + " ORDER BY item_id, point_id";
    CFiniteReals pointReals;
    if (!ReadRows(pointsSql, params, [&](const CDynamicRecordSetOleDb& rs) {
            CResultItem* item = itemOf(rs);
            if (item == nullptr)
                return;
            CResultPoint point;
            for (size_t j = 0; j < pointColumns.size(); ++j)
                point[j] = pointReals.Get(rs, pointColumns[j].c_str());
            item->AddPoint(point);
        }) ||
        !pointReals.Verify(m_log, "result_data_tables"))
        return FALSE;

    for (const CResultItem& item : items)
        results.Add(item);
    return TRUE;
}

std::optional<bool> CProductionDb::OrderExists(const CProductionDbKey& key)
{
    ClearFailure();
    const std::string sql = "SELECT * FROM " + GetTablePrefix() + "orders WHERE BARC=? AND KOMN=? AND POSI=?";
    QUILLET_POS(m_log);
    m_log.Trace("Executing SQL: %s", sql.c_str());
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_session, sql.c_str(), {key.pa, key.vk, key.pos})) {
        LogFailure(rs.GetLastResult(), sql);
        if (GetFailureCause() != CDbFailureCause::TablesMissing)
            return std::nullopt;
        ClearFailure();
        return false;
    }
    return ReadsARow(rs, sql);
}

std::optional<bool> CProductionDb::ProjectExists(const CProductionDbKey& key)
{
    ClearFailure();
    CDbValues params;
    const std::string sql = "SELECT pa FROM " + GetTablePrefix() + "customer_data WHERE " + KeyCondition(key, params);
    QUILLET_POS(m_log);
    m_log.Trace("Executing SQL: %s", sql.c_str());
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_session, sql.c_str(), params)) {
        LogFailure(rs.GetLastResult(), sql);
        return std::nullopt;
    }
    return ReadsARow(rs, sql);
}

std::optional<bool> CProductionDb::ReadsARow(CDynamicRecordSetOleDb& rs, const std::string& sql)
{
    if (rs.MoveNext())
        return true;
    if (FAILED(rs.GetLastResult())) {
        LogFailure(rs.GetLastResult(), sql);
        return std::nullopt;
    }
    return false;
}
