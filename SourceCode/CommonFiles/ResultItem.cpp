#include "CommonFiles/ResultItem.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/ResultFilter.h"
#include "CommonFiles/TAMBELCalculator/CalculationResult.h"
#include "CommonFiles/UnitDb.h"
#include "Platform/AsciiText.h"
#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

#include <cstdio>

namespace {

// Turndown and loop current are quotients the calculation leaves unguarded: a sizing without a
// flow or a device without a minimum flow makes them infinite or NaN. Files have always kept them
// so ("INF"), and the row stays a row of the project, so these two alone may be non-finite.
bool ReadQuotient(const TiXmlElement& element, const char* name, double& value)
{
    return element.Attribute(name) == nullptr || CXmlNumbers::QueryDoubleAttribute(element, name, value);
}

const char* const kColumnCaptions[RESULT_COLUMN_COUNT] = {"Flow", "Velocity", "Pressure loss", "Error",
                                                          "Reynolds number"};
// Point attributes: the English captions with blanks as '_'.
const char* const kPointAttributes[RESULT_COLUMN_COUNT] = {"Flow", "Velocity", "Pressure_loss", "Error",
                                                           "Reynolds_number"};
const char kDeviceDesignation[] = "MOKADI ZR410";

std::string Label(const char* english)
{
    return CEngineTexts::Translate(english, std::string());
}

void TrimRight(std::string& text, const char* characters)
{
    text.erase(text.find_last_not_of(characters) + 1);
}

std::string ItemText(int id, const std::string& language)
{
    CUnitDb* db = CUnitDb::GetInstance();
    return db != nullptr ? db->GetTranslatedText(id, language, "DeviceFeatureItems", "ItemName", "Id")
                         : std::string();
}

void WriteCodes(TiXmlElement& parent, const char* listName, const char* itemName, const std::vector<int>& codes)
{
    TiXmlElement list(listName);
    for (const int code : codes) {
        TiXmlElement item(itemName);
        CXmlNumbers::SetLongAttribute(item, "Id", code);
        list.InsertEndChild(item);
    }
    parent.InsertEndChild(list);
}

BOOL ReadCodes(const TiXmlElement& parent, const char* listName, const char* itemName, std::vector<int>& codes)
{
    const TiXmlElement* list = parent.FirstChildElement(listName);
    if (list == nullptr)
        return FALSE;
    for (const TiXmlElement* item = list->FirstChildElement(itemName); item != nullptr;
         item = item->NextSiblingElement(itemName)) {
        int code = 0;
        if (!CXmlNumbers::ReadOptionalInt(*item, "Id", code))
            return FALSE;
        if (code != 0)
            codes.push_back(code);
    }
    return TRUE;
}

BOOL WriteUnit(TiXmlElement& data, const char* name, const CUnit& unit, const CValueRange& range)
{
    TiXmlElement element(name);
    if (!unit.WriteXml(&element) || !CValueRange::WriteXml(range, &element))
        return FALSE;
    data.InsertEndChild(element);
    return TRUE;
}

BOOL ReadUnit(const TiXmlElement& data, const char* name, CUnit& unit, CValueRange& range)
{
    const TiXmlElement* element = data.FirstChildElement(name);
    return element != nullptr && unit.ReadXml(element) && CValueRange::ReadXml(range, element);
}

}  // namespace

void GetResultColumnCaption(std::string& caption, int column, const std::string& language, BOOL replaceBlanks,
                            BOOL lowerCase)
{
    caption.clear();
    if (column < 0 || column >= RESULT_COLUMN_COUNT)
        return;
    caption = CEngineTexts::Translate(kColumnCaptions[column], language);
    for (char& c : caption) {
        if (c == ' ' && (replaceBlanks || lowerCase))
            c = '_';
        else if (lowerCase)
            c = Platform::AsciiLower(c);
    }
}

void CResultItem::Reset()
{
    SizeId = 0;
    PressureId = 0;
    SectionId = 0;
    ReynoldsMin = 0.0;
    ApplicationTurndown = 0.0;
    VortexFrequencyMax = 0.0;
    CurrentMin = 0.0;
    Errors.clear();
    Warnings.clear();
    Points.clear();
    FlowUnit.Reset();
    FlowRange.Reset();
    VelocityUnit.Reset();
    VelocityRange.Reset();
    PressureUnit.Reset();
    PressureLossRange.Reset();
}

bool CResultItem::HasError(int code) const
{
    for (const int error : Errors) {
        if (error == code)
            return true;
    }
    return false;
}

void CResultItem::GetColumnUnitName(std::string& name, int column) const
{
    switch (column) {
    case RESULT_COLUMN_FLOW: name = FlowUnit.Name; break;
    case RESULT_COLUMN_VELOCITY: name = VelocityUnit.Name; break;
    case RESULT_COLUMN_PRESSURE_LOSS: name = PressureUnit.Name; break;
    case RESULT_COLUMN_ERROR: name = "%"; break;
    default: name.clear(); break;
    }
}

BOOL CResultItem::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    CXmlNumbers::SetLongAttribute(*element, "SizeId", SizeId);
    CXmlNumbers::SetLongAttribute(*element, "PressureId", PressureId);
    CXmlNumbers::SetLongAttribute(*element, "SectionId", SectionId);
    if (!CXmlNumbers::SetFiniteDoubleAttribute(*element, "ReynoldsMin", ReynoldsMin) ||
        !CXmlNumbers::SetFiniteDoubleAttribute(*element, "VortexFrequencyMax", VortexFrequencyMax))
        return FALSE;
    CXmlNumbers::SetDoubleAttribute(*element, "ApplicationTurndown", ApplicationTurndown);
    CXmlNumbers::SetDoubleAttribute(*element, "CurrentMin", CurrentMin);
    WriteCodes(*element, "Errors", "Error", Errors);
    WriteCodes(*element, "Warnings", "Warning", Warnings);

    TiXmlElement data("Data");
    if (!WriteUnit(data, "FlowUnit", FlowUnit, FlowRange) ||
        !WriteUnit(data, "VelocityUnit", VelocityUnit, VelocityRange) ||
        !WriteUnit(data, "PressureUnit", PressureUnit, PressureLossRange))
        return FALSE;
    for (const CResultPoint& point : Points) {
        TiXmlElement pointElement("Point");
        for (int column = 0; column < RESULT_COLUMN_COUNT; ++column) {
            if (!CXmlNumbers::SetFiniteDoubleAttribute(pointElement, kPointAttributes[column], point[column]))
                return FALSE;
        }
        data.InsertEndChild(pointElement);
    }
    element->InsertEndChild(data);
    return TRUE;
}

BOOL CResultItem::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    Reset();
    if (!CXmlNumbers::ReadOptionalInt(*element, "SizeId", SizeId) ||
        !CXmlNumbers::ReadOptionalInt(*element, "PressureId", PressureId) ||
        !CXmlNumbers::ReadOptionalInt(*element, "SectionId", SectionId) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "ReynoldsMin", ReynoldsMin) ||
        !ReadQuotient(*element, "ApplicationTurndown", ApplicationTurndown) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "VortexFrequencyMax", VortexFrequencyMax) ||
        !ReadQuotient(*element, "CurrentMin", CurrentMin))
        return FALSE;
    if (!ReadCodes(*element, "Errors", "Error", Errors) || !ReadCodes(*element, "Warnings", "Warning", Warnings))
        return FALSE;
    const TiXmlElement* data = element->FirstChildElement("Data");
    if (data == nullptr || !ReadUnit(*data, "FlowUnit", FlowUnit, FlowRange) ||
        !ReadUnit(*data, "VelocityUnit", VelocityUnit, VelocityRange) ||
        !ReadUnit(*data, "PressureUnit", PressureUnit, PressureLossRange))
        return FALSE;
    for (const TiXmlElement* pointElement = data->FirstChildElement("Point"); pointElement != nullptr;
         pointElement = pointElement->NextSiblingElement("Point")) {
        CResultPoint point{};
        for (int column = 0; column < RESULT_COLUMN_COUNT; ++column) {
            if (!CXmlNumbers::ReadOptionalDouble(*pointElement, kPointAttributes[column], point[column]))
                return FALSE;
        }
        AddPoint(point);
    }
    return TRUE;
}

void CResultItem::GetItemName(std::string& name, const std::string& language) const
{
    name = ItemText(SectionId != 0 ? SectionId : SizeId, language);
}

BOOL CResultItem::GetOrderNumber(std::string& orderNumber) const
{
    const CUnitDb* db = CUnitDb::GetInstance();
    if (db == nullptr)
        return FALSE;
    db->GetOrderNumberPrefix(SizeId, orderNumber);
    db->GetOrderNumberPrefix(PressureId, orderNumber);
    return db->GetOrderNumberPrefix(SectionId, orderNumber);
}

void CResultItem::GetSummaryText(std::string& text, const std::string& language, const std::string& /*vNumber*/,
                                 int furtherItemId) const
{
    // Labels and numbers are joined as texts: a translated label never becomes a format.
    text.clear();
    if (!Errors.empty()) {
        text += Label("Errors") + ":\n";
        for (const int code : Errors)
            text += GetCalculationErrorText(static_cast<CalcResult>(code), "; ") + ", ";
        TrimRight(text, ", ");
        text += "\n";
    }
    if (!Warnings.empty()) {
        text += Label("Warnings") + ":\n";
        for (const int code : Warnings) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
            text += std::string(hex) + ", ";
        }
        TrimRight(text, ", ");
        text += "\n";
    }
    const auto range = [](const CValueRange& values, int digits, const std::string& unit) {
        return DataFormat::Format(values.MinRange, digits, false) + " - " +
               DataFormat::Format(values.MaxRange, digits, false) + " " + unit + "\n";
    };
    text += "\n" + Label("Flow range") + ": " + range(FlowRange, 6, FlowUnit.Name);
    text += Label("Velocity range") + ": " + range(VelocityRange, 4, VelocityUnit.Name);
    text += Label("Pressure loss range") + ": " + range(PressureLossRange, 6, PressureUnit.Name);
    text += Label("Reynolds number at min. flow") + ": " + DataFormat::Format(ReynoldsMin, 6, false) + "\n";

    std::string name;
    GetItemName(name, language);
    std::string designation = kDeviceDesignation + (" " + name);
    TrimRight(designation, " ");
    designation += " " + ItemText(PressureId, language);
    TrimRight(designation, " ");
    designation += " " + ItemText(furtherItemId, language);
    TrimRight(designation, " ");
    text += designation + "\n";

    std::string orderNumber;
    GetOrderNumber(orderNumber);
    text += Label("VNumber") + ": " + orderNumber + "\n";

    text += Label("Application turndown") + ": ";
    if (ApplicationTurndown >= 1.0 || ApplicationTurndown == 0.0)
        text += "1:" + DataFormat::Format(ApplicationTurndown, 3, false);
    else
        text += DataFormat::Format(1.0 / ApplicationTurndown, 3, false) + ":1";
    text += "\n";
    text += Label("Vortex frequency at max. flow") + ": " + DataFormat::Format(VortexFrequencyMax, 4, false) +
            " Hz\n";
    if (CurrentMin <= 20.0) {
        text += Label("Current at min. flow") + ": " + DataFormat::FormatFixed(CurrentMin, 2) + " mA\n";
    }

    const std::size_t first = text.find_first_not_of("\r\n");
    text = first == std::string::npos ? std::string() : text.substr(first);
    TrimRight(text, "\r\n");
}

BOOL CResultItem::FailsFilterTests(const CResultFilter& filter, double operatingFlow) const
{
    if (filter.HideErrors && !Errors.empty())
        return TRUE;
    if (filter.HideLargeFlowRange && operatingFlow <= FlowRange.MinRange)
        return TRUE;
    if (filter.HideSmallTurndown && ApplicationTurndown < filter.MinTurndown)
        return TRUE;
    if (filter.HideSmallFlowRange && operatingFlow / 100.0 * filter.MaxFlowPercent > FlowRange.MaxRange)
        return TRUE;
    return FALSE;
}

BOOL CResultItem::IsFiltered(const CResultFilter& filter, const CPhysicalData& data, const CResultData* list) const
{
    const double operatingFlow = data.Flow.Value;
    if (FailsFilterTests(filter, operatingFlow))
        return TRUE;
    if (!filter.HideSpecialDevices || list == nullptr || SectionId == 0)
        return FALSE;
    // A standard device merged over its pressure classes stands for this version's class too:
    // the results page merges before it filters.
    for (int i = 0; i < list->GetCount(); ++i) {
        const CResultItem& other = list->GetAt(i);
        if (other.SizeId == SizeId && other.SectionId == 0 &&
            (other.PressureId == PressureId || other.PressureId == RESULT_EVERY_PRESSURE_CLASS) &&
            !other.FailsFilterTests(filter, operatingFlow))
            return TRUE;
    }
    return FALSE;
}
