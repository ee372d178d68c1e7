// One sized device: a nominal size and pressure class (and possibly a special version) of the
// meter line with its characteristic values, the calculation's errors and warnings, its flow,
// velocity and pressure-loss ranges with their units, and a table of points across the flow
// range. The sizing run fills the rows; the results page and the report show them.
#pragma once

#include "CommonFiles/Unit.h"
#include "CommonFiles/ValueRange.h"
#include "Oddments/OleDbTypes.h"

#include <array>
#include <string>
#include <vector>

class CPhysicalData;
class CResultData;
class CResultFilter;
class TiXmlElement;

// Columns of a point.
enum : int {
    RESULT_COLUMN_FLOW = 0,           // in the row's flow unit and the operating flow's reference
    RESULT_COLUMN_VELOCITY = 1,       // in the row's velocity unit
    RESULT_COLUMN_PRESSURE_LOSS = 2,  // in bar (the base unit)
    RESULT_COLUMN_ERROR = 3,          // measuring error in %
    RESULT_COLUMN_REYNOLDS = 4,
    RESULT_COLUMN_COUNT = 5,
};

typedef std::array<double, RESULT_COLUMN_COUNT> CResultPoint;

// The PressureId of a row that holds for every pressure class of its size (merged rows).
constexpr int RESULT_EVERY_PRESSURE_CLASS = -1;

// The caption of a point column in the language ("Flow", "Velocity", "Pressure loss", "Error",
// "Reynolds number"), empty outside 0..4. replaceBlanks turns blanks into '_'; lowerCase does
// that too and lower-cases the ASCII letters, whatever the process locale.
void GetResultColumnCaption(std::string& caption, int column, const std::string& language, BOOL replaceBlanks,
                            BOOL lowerCase);

class CResultItem {
public:
    CResultItem() { Reset(); }
    CResultItem(const CResultItem&) = default;
    CResultItem& operator=(const CResultItem&) = default;

    // Ids and values 0, no errors, warnings or points, units reset, ranges 0.
    void Reset();

    void AddError(int code) { Errors.push_back(code); }
    void AddWarning(int code) { Warnings.push_back(code); }
    void AddPoint(const CResultPoint& point) { Points.push_back(point); }
    bool HasError(int code) const;

    // The unit name shown over a point column: flow, velocity and pressure-loss unit, "%" for
    // the error, empty for the Reynolds number and other columns.
    void GetColumnUnitName(std::string& name, int column) const;

    // Attributes "SizeId", "PressureId", "SectionId", "ReynoldsMin", "ApplicationTurndown",
    // "VortexFrequencyMax", "CurrentMin"; children "Errors", "Warnings" and "Data" (the three
    // units with their ranges, then one "Point" per point). Reals as the shortest text that
    // reads back to the same double. FALSE without an element, when a unit cannot be written
    // ("Data" is then left out) and for a real that is not finite (it would not read back).
    BOOL WriteXml(TiXmlElement* element) const;
    // Resets, then reads what WriteXml writes; "Errors", "Warnings", "Data" and its three units
    // are required, absent numbers read as 0. FALSE at the first missing part, number that is
    // not one whole number (reals also finite) or unit that cannot be read (the row holds what
    // was read before it).
    BOOL ReadXml(const TiXmlElement* element);

    // The device's name in the language: the special version's item name, else the size's.
    void GetItemName(std::string& name, const std::string& language) const;
    // The row's order number (size, pressure class and version each set the text).
    BOOL GetOrderNumber(std::string& orderNumber) const;
    // The multi-line description of the device for the results page and the report: errors,
    // warnings, the ranges, the Reynolds number, the designation, the V-number, turndown,
    // vortex frequency and (up to 20 mA) the current at minimum flow. Labels in the
    // user-interface language, item names in language. The selection's V-number is not shown:
    // the row's own order number names the device. furtherItemId is the item chosen for the
    // wetted material (0 none).
    void GetSummaryText(std::string& text, const std::string& language, const std::string& vNumber,
                        int furtherItemId) const;

    // TRUE when the filter hides the row, with the operating flow of data (in the unit of the
    // flow range). With a list, a special version is also hidden when its standard device of
    // the same size and pressure class, or of every class, is in the list and shown.
    BOOL IsFiltered(const CResultFilter& filter, const CPhysicalData& data, const CResultData* list) const;

    int SizeId;
    int PressureId;  // RESULT_EVERY_PRESSURE_CLASS: valid for every pressure class of the size
    int SectionId;   // 0: the standard device
    double ReynoldsMin;
    double ApplicationTurndown;
    double VortexFrequencyMax;  // Hz
    double CurrentMin;          // mA
    std::vector<int> Errors;    // single-bit calculation result codes
    std::vector<int> Warnings;
    std::vector<CResultPoint> Points;
    CUnit FlowUnit;
    CValueRange FlowRange;
    CUnit VelocityUnit;
    CValueRange VelocityRange;
    CUnit PressureUnit;
    CValueRange PressureLossRange;

private:
    // Tests 1 to 4 of the filter.
    BOOL FailsFilterTests(const CResultFilter& filter, double operatingFlow) const;
};
