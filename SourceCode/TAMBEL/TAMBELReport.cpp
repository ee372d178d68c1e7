#include "TAMBEL/TAMBELReport.h"

#include "CommonFiles/CustomerData.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultItem.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/Harbinax.h"
#include "Platform/DateTime.h"
#include "Quillet/LogManager.h"
#include "TAMBEL/EngineWiring.h"


#include <cstdint>
#include <ctime>

namespace {

// The feature whose item the summary names (the wetted material).
constexpr int kSummaryFeature = 3;
constexpr int kPointDigits = 6;

std::string Number(double value, int digits)
{
    return DataFormat::Format(value, digits, false);
}

std::string Integer(int value)
{
    return std::to_string(value);
}

std::string DatabaseText(int id, const std::string& language, const char* table, const char* column)
{
    CUnitDb* database = CUnitDb::GetInstance();
    return database ? database->GetTranslatedText(id, language, table, column, "Id") : std::string();
}

// The program's texts, the engine's texts and the decimal separator are the report's language
// while it lives, the earlier one again afterwards. The process locale and environment stay:
// other threads may read them meanwhile.
class CLanguageBracket {
public:
    explicit CLanguageBracket(const std::string& language)
        : m_app(CHarbinax::GetApp())
    {
        if (!m_app)
            return;
        m_previous = m_app->GetLanguage();
        m_switched = language != m_previous;
        if (m_switched)
            Switch(language);
    }
    ~CLanguageBracket()
    {
        if (m_switched)
            Switch(m_previous);
    }
    CLanguageBracket(const CLanguageBracket&) = delete;
    CLanguageBracket& operator=(const CLanguageBracket&) = delete;

private:
    void Switch(const std::string& language)
    {
        m_app->SetTextLanguage(language.c_str());
        ApplyUiLanguageToEngine();
    }

    CHarbinax* m_app;
    std::string m_previous;
    bool m_switched = false;
};

}  // namespace

CTAMBELReport::CTAMBELReport()
    : m_log(CLogManager::GetInstance()->GetLogger("CTAMBELReport", LOGLEVEL_PARENT))
{
}

void CTAMBELReport::FillReportFields(const CPhysicalData& data, const CResultItem& row, const std::string& language)
{
    CLanguageBracket bracket(language);
    const std::time_t clock = std::time(nullptr);
    std::tm now{};
    localtime_r(&clock, &now);
    const CCustomerData* customer = CCustomerData::GetInstance();
    const CDeviceConfiguration* features = CDeviceConfiguration::GetInstance();

    SetField("LANGUAGE", language);
    // As the user's locale writes them, whatever language the report is in.
    SetField("TIMESTAMP", Platform::UserTimeText("%x %X", now));
    SetField("APP_NAME", "Zephrin");
    SetField("REPORT_TITLE", "QMR Vortex Sizing");
    SetField("CALC_PROG_VERSION", CHarbinax::GetVersionString());
    SetField("CALC_DB_VERSION", CUnitDb::GetVersionText());
    SetField("DATE", Platform::UserTimeText("%x", now));
    SetField("CUSTOMER", customer ? customer->customer : std::string());
    SetField("TAG_NO", customer ? customer->tag_no : std::string());
    SetField("REFERENCE", customer ? customer->reference : std::string());
    SetField("PA", Integer(customer ? customer->pa : 0));
    SetField("VK", Integer(customer ? customer->vk : 0));
    SetField("POS", Integer(customer ? static_cast<std::int16_t>(customer->pos) : 0));
    FillFluidFields(data, language);
    SetField("TEMP_VAL", Number(data.Temperature.Value, 4));
    SetField("TEMP_UNI", data.Temperature.Name);
    SetField("PRESS_VAL", Number(data.Pressure.Value, 6));
    SetField("PRESS_UNI", data.Pressure.Name);
    SetField("PRESS_REF", CUnitManager::GetPressureReferenceText(data.Pressure.Reference, language));
    SetField("DENS_VAL", Number(data.Density.Value, 6));
    SetField("DENS_UNI", data.Density.Name);
    const CUnitValue& normDensity = data.NormFlowConditions.Density;
    std::string densityInfo;
    if (normDensity.DbIndex == UNIT_INDEX_MOLAR_MASS)
        densityInfo = TranslateText("achtung MW!!!");
    else if (normDensity.DbIndex == UNIT_INDEX_SPECIFIC_GRAVITY)
        densityInfo = TranslateText("achtung SG!!!");
    SetField("DENS_UNI_INFO", densityInfo);
    SetField("VISC_VAL", Number(data.Viscosity.Value, 6));
    SetField("VISC_UNI", data.Viscosity.Name);
    SetField("FLOW_MAX", Number(data.Flow.Value, 6));
    SetField("FLOW_UNI", data.Flow.Name);
    SetField("FLOW_REF", CUnitManager::GetFlowReferenceText(data.Flow.Reference, language));
    const CNormFlowCondition& norm = data.NormFlowConditions;
    SetField("NORM_SYSTEM", norm.Name);
    SetField("NORM_TEMP_VAL", Number(norm.Temperature.Value, 4));
    SetField("NORM_TEMP_UNI", norm.Temperature.Name);
    SetField("NORM_PRESS_VAL", Number(norm.Pressure.Value, 6));
    SetField("NORM_PRESS_UNI", norm.Pressure.Name);
    SetField("NORM_PRESS_REF", CUnitManager::GetPressureReferenceText(norm.Pressure.Reference, language));
    SetField("DEVICE_NAME", "MOKADI ZR410");
    std::string text;
    row.GetItemName(text, language);
    SetField("DEVICE_SIZE", text);
    SetField("DEVICE_PRESSURE", DatabaseText(row.PressureId, language, "DeviceFeatureItems", "ItemName"));
    std::string vNumber;
    int furtherItem = 0;
    if (features) {
        features->GetVNumber(vNumber);
        features->Lookup(kSummaryFeature, furtherItem);
    }
    text = vNumber;
    row.GetOrderNumber(text);
    SetField("VNUMBER", text);
    SetField("MAX_PRESSURE_DROP", Number(row.PressureLossRange.MaxRange, -1));
    row.GetSummaryText(text, language, vNumber, furtherItem);
    SetField("SIZING_DETAILS", text);
    FillPointTables(row, language);
    SetField("TABLE_FLOW_UNI", row.FlowUnit.Name);
    SetField("TABLE_PRESS_UNI", row.PressureUnit.Name);
    SetField("TABLE_VELO_UNI", row.VelocityUnit.Name);
}

void CTAMBELReport::FillFluidFields(const CPhysicalData& data, const std::string& language)
{
    const CFluid* fluid = data.Fluid.get();
    if (!fluid)
        return;
    std::string extra;
    std::string name = fluid->Name;
    if (name.empty() && fluid->DbIndex != FLUID_INDEX_WATER_VAPOUR)
        name = DatabaseText(fluid->DbIndex, language, "FluidsBase", "FluidName");
    std::string type;
    switch (fluid->Type) {
    case FLUID_TYPE_LIQUID:
        type = TranslateText("(liquid)");
        break;
    case FLUID_TYPE_GAS:
        type = TranslateText("(gas)");
        break;
    case FLUID_TYPE_WET_GAS:
        type = TranslateText("(wet gas)");
        // The caption is text, not a format: the number is joined to it.
        if (const auto* wetGas = dynamic_cast<const CFluidWetGas*>(fluid))
            extra = TranslateText("Relative humidity") + " " + Number(wetGas->RelativeHumidity, 4) + " %";
        break;
    case FLUID_TYPE_GAS_MIX:
        type = TranslateText("(gas mix)");
        if (const auto* mix = dynamic_cast<const CFluidGasMix*>(fluid)) {
            for (const GasMixElement& element : mix->Elements)
                extra += DatabaseText(element.GasId, language, "FluidsBase", "FluidName") + " " +
                         Number(element.Percentage, 4) + " %\n";
        }
        while (!extra.empty() && extra.back() == '\n')
            extra.pop_back();
        break;
    case FLUID_TYPE_SATURATED_STEAM:
        type = TranslateText("saturated steam");
        break;
    case FLUID_TYPE_SUPERHEATED_STEAM:
        type = TranslateText("superheated steam");
        break;
    }
    SetField("FLUID_EXTRA_DATA", extra);
    SetField("FLUID_NAME", name);
    if (name.empty() && !type.empty() && type[0] == '(')
        SetField("FLUID_NAME", TranslateText("unnamed"));
    SetField("FLUID_TYPE", type);
    SetField("DENS_NORM_VAL", std::string());
    SetField("DENS_NORM_UNI", std::string());
    if (fluid->Type != FLUID_TYPE_GAS)
        return;
    const CUnitValue& normDensity = data.NormFlowConditions.Density;
    SetField("DENS_NORM_VAL", Number(normDensity.Value, -1));
    SetField("DENS_NORM_UNI", normDensity.Name.substr(std::min(normDensity.Name.find_first_not_of('!'),
                                                               normDensity.Name.size())));
}

void CTAMBELReport::FillPointTables(const CResultItem& row, const std::string& language)
{
    int rowNumber = 0;
    double lastKey = -1.0;
    for (const CResultPoint& point : row.Points) {
        const double key = DataFormat::RoundToSignificantDigits(point[RESULT_COLUMN_VELOCITY], kPointDigits);
        if (key == lastKey)
            continue;
        lastKey = key;
        ++rowNumber;
        for (int column = RESULT_COLUMN_VELOCITY; column <= RESULT_COLUMN_REYNOLDS; ++column) {
            std::string caption;
            GetResultColumnCaption(caption, column, language, TRUE, FALSE);
            double value = point[static_cast<std::size_t>(column)];
            if (column == RESULT_COLUMN_PRESSURE_LOSS) {
                double converted = 0.0;
                ConvertFromBaseUnit(converted, value, row.PressureUnit, 0);
                value = converted;
            }
            const std::string prefix = caption + "_DataTable.";
            const std::string number = std::to_string(rowNumber);
            SetField(prefix + "x." + number, Number(point[RESULT_COLUMN_FLOW], kPointDigits));
            SetField(prefix + "y." + number, Number(value, kPointDigits));
        }
    }
}
