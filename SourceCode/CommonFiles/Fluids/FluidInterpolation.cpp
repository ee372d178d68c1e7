#include "CommonFiles/Fluids/FluidInterpolation.h"

#include "CommonFiles/UnitDb.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <string>

namespace {

const char kSelectA[] =
    "SELECT DISTINCT ParameterA FROM FluidInterpolationData WHERE FluidId = ? AND InterpolationTypeId = ? "
    "ORDER BY ParameterA";
const char kSelectB[] =
    "SELECT DISTINCT ParameterB FROM FluidInterpolationData WHERE FluidId = ? AND InterpolationTypeId = ? "
    "AND ParameterA = ? ORDER BY ParameterB";
const char kSelectValue[] =
    "SELECT DISTINCT InterpolationValue FROM FluidInterpolationData WHERE FluidId = ? AND InterpolationTypeId = ?";

// The table values next to x: low the largest <= x, high the smallest >= x (both x on a hit).
// A side that is missing keeps its start value, the lowest or the largest double.
struct Bracket {
    double low = std::numeric_limits<double>::lowest();
    double high = std::numeric_limits<double>::max();
    bool hasLow = false;
    bool hasHigh = false;

    // Both at x: the parameter is not used.
    static Bracket Unused(double x)
    {
        Bracket bracket;
        bracket.low = bracket.high = x;
        bracket.hasLow = bracket.hasHigh = true;
        return bracket;
    }
    bool Complete() const { return hasLow && hasHigh; }
    // A missing side takes the found one; true when one was missing.
    bool Clamp()
    {
        if (Complete() || (!hasLow && !hasHigh))
            return false;
        if (hasLow)
            high = low;
        else
            low = high;
        hasLow = hasHigh = true;
        return true;
    }
};

class CInterpolation {
public:
    CInterpolation(int fluidId, int type)
        : m_log(CLogManager::GetInstance()->GetLogger("CFluidManager", LOGLEVEL_PARENT)),
          m_fluidId(fluidId),
          m_type(type)
    {
    }

    BOOL Run(double a, double b, double& value, BOOL extrapolate, int& extrapolated);

private:
    // Brackets x among the first column of the statement's rows; false when it cannot run.
    bool FindBracket(const char* sql, const CDbValues& params, double x, Bracket& bracket);
    // The B bracket in the row of A value a; false (logged) when b lies outside it.
    bool FindBracketB(double a, double b, BOOL extrapolate, int& extrapolated, const char* missingText,
                      Bracket& bracket);
    // The table value at (a, b); a parameter that is not used is left out of the match.
    bool Corner(double a, double b, double& value);
    // The value at a interpolated along B.
    bool AlongB(double a, const Bracket& bracketB, double b, double& value);

    CLogger m_log;
    CUnitDb* m_db = nullptr;
    int m_fluidId;
    int m_type;
};

double Interpolate(double x, double x0, double x1, double v0, double v1)
{
    return v0 + (x - x0) / (x1 - x0) * (v1 - v0);
}

bool CInterpolation::FindBracket(const char* sql, const CDbValues& params, double x, Bracket& bracket)
{
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_db->GetSession(), sql, params)) {
        QUILLET_POS(m_log);
        m_log.Error("Error in SQL: %s", sql);
        return false;
    }
    while (rs.MoveNext()) {
        const double p = rs.GetDoubleAt(1);
        if (p <= x && (!bracket.hasLow || p > bracket.low)) {
            bracket.low = p;
            bracket.hasLow = true;
        }
        if (p >= x && (!bracket.hasHigh || p < bracket.high)) {
            bracket.high = p;
            bracket.hasHigh = true;
        }
    }
    if (!rs.ReadAllRows()) {
        // A bracket from part of the table would interpolate between the wrong rows.
        QUILLET_POS(m_log);
        m_log.Error("The interpolation table could not be read completely: %s", sql);
        return false;
    }
    rs.Close();
    return true;
}

bool CInterpolation::FindBracketB(double a, double b, BOOL extrapolate, int& extrapolated,
                                  const char* missingText, Bracket& bracket)
{
    if (!FindBracket(kSelectB, {m_fluidId, m_type, a}, b, bracket))
        return false;
    if (extrapolate && bracket.Clamp())
        extrapolated = 1;
    if (!bracket.Complete()) {
        QUILLET_POS(m_log);
        m_log.Warn("%s: bMin=%f, bMax=%f", missingText, bracket.low, bracket.high);
        return false;
    }
    return true;
}

bool CInterpolation::Corner(double a, double b, double& value)
{
    std::string sql = kSelectValue;
    CDbValues params = {m_fluidId, m_type};
    if (a != FLUID_PARAMETER_UNUSED) {
        sql += " AND ParameterA = ?";
        params.emplace_back(a);
    }
    if (b != FLUID_PARAMETER_UNUSED) {
        sql += " AND ParameterB = ?";
        params.emplace_back(b);
    }
    CDynamicRecordSetOleDb rs;
    const bool found = rs.Open(m_db->GetSession(), sql.c_str(), params) && rs.MoveNext();
    if (found)
        value = rs.GetDoubleAt(1);
    rs.Close();
    if (!found) {
        QUILLET_POS(m_log);
        m_log.Error("no table value");
    }
    return found;
}

bool CInterpolation::AlongB(double a, const Bracket& bracketB, double b, double& value)
{
    double low = 0.0;
    if (!Corner(a, bracketB.low, low))
        return false;
    if (bracketB.high == bracketB.low) {
        value = low;
        return true;
    }
    double high = 0.0;
    if (!Corner(a, bracketB.high, high))
        return false;
    value = Interpolate(b, bracketB.low, bracketB.high, low, high);
    return true;
}

BOOL CInterpolation::Run(double a, double b, double& value, BOOL extrapolate, int& extrapolated)
{
    extrapolated = 0;
    m_db = CUnitDb::GetInstance();
    if (m_db == nullptr) {
        QUILLET_POS(m_log);
        m_log.Error("no units database connection");
        return FALSE;
    }
    const bool useA = a != FLUID_PARAMETER_UNUSED;
    const bool useB = b != FLUID_PARAMETER_UNUSED;
    if (useB && !useA) {
        // B values are only bracketed within a row of A.
        QUILLET_POS(m_log);
        m_log.Error("parameter B (%f) given without parameter A", b);
        return FALSE;
    }

    Bracket bracketA = Bracket::Unused(a);
    if (useA) {
        bracketA = Bracket();
        if (!FindBracket(kSelectA, {m_fluidId, m_type}, a, bracketA))
            return FALSE;
        if (!bracketA.Complete()) {
            QUILLET_POS(m_log);
            m_log.Warn("no interpolation values found: aMin=%f, aMax=%f", bracketA.low, bracketA.high);
            return FALSE;
        }
    }
    const bool onRow = bracketA.high == bracketA.low;

    // The B grid may differ between the two rows: each row is bracketed on its own.
    Bracket lowRowB = Bracket::Unused(b);
    Bracket highRowB = Bracket::Unused(b);
    if (useB) {
        lowRowB = Bracket();
        if (!FindBracketB(bracketA.low, b, extrapolate, extrapolated, "no interpolation values found", lowRowB))
            return FALSE;
        highRowB = lowRowB;
        if (!onRow) {
            highRowB = Bracket();
            if (!FindBracketB(bracketA.high, b, extrapolate, extrapolated, "no interpolation values found(2)",
                              highRowB))
                return FALSE;
        }
    }

    double lowRow = 0.0;
    if (!AlongB(bracketA.low, lowRowB, b, lowRow))
        return FALSE;
    if (onRow) {
        value = lowRow;
        return TRUE;
    }
    double highRow = 0.0;
    if (!AlongB(bracketA.high, highRowB, b, highRow))
        return FALSE;
    value = Interpolate(a, bracketA.low, bracketA.high, lowRow, highRow);
    return TRUE;
}

}  // namespace

BOOL GetInterpolatedValue(int fluidId, int interpolationType, double a, double b, double& value,
                          BOOL extrapolate, int& extrapolated)
{
    return CInterpolation(fluidId, interpolationType).Run(a, b, value, extrapolate, extrapolated);
}

BOOL GetInterpolatedValue(int fluidId, int interpolationType, double a, double b, double& value)
{
    int extrapolated = 0;
    return GetInterpolatedValue(fluidId, interpolationType, a, b, value, FALSE, extrapolated);
}
