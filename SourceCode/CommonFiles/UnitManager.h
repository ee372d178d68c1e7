// The process-wide list of units: those of the units database in query order, the molar-mass
// and specific-gravity pseudo units, then the user's own units. It converts values between a
// unit (named by its database index) and the base unit of its quantity and fills the unit
// selection lists of the dialogs.
#pragma once

#include "CommonFiles/ComboItem.h"
#include "CommonFiles/Unit.h"
#include "Quillet/Logger.h"

#include <string>
#include <unordered_map>
#include <vector>

typedef std::vector<CUnit> CUnitArray;

class CUnitManager {
public:
    // Made on the first call, deleted at process end; null when called after that.
    static CUnitManager* GetInstance();

    // An empty list. The program uses the one of GetInstance; tests make their own.
    CUnitManager();
    ~CUnitManager();
    CUnitManager(const CUnitManager&) = delete;
    CUnitManager& operator=(const CUnitManager&) = delete;

    // --- The list ------------------------------------------------------------------------------
    // Empties the list and reads every valid unit of the units database, then adds the pseudo
    // units and the user units of the default file. FALSE when the query fails or its rows
    // cannot all be read; the list then stays empty.
    BOOL LoadUnitList();
    // Appends the "!!MW" and "!!SG" pseudo units of density.
    void AddBuiltinUnits();
    // FALSE for a unit that is not a valid user unit. When an equal unit is in the list the
    // given unit takes its index; otherwise the unit gets a new user index and a copy is
    // appended. A new index is never one handed out before in this run, so a value that kept
    // the index of a removed unit cannot find another unit by it.
    BOOL AddUserUnit(CUnit& unit);
    // Puts a user unit back under the user index it had, so that values and settings that name
    // it by that index find it again after the user units were rebuilt. FALSE for a unit that is
    // not a valid user unit, an index that is no user index, or one that is in the list already.
    BOOL RestoreUserUnit(const CUnit& unit);
    // The index of the first unit equal in name, type, system, offset, factor and flags;
    // 0 when there is none.
    int FindUnit(const CUnit& unit) const;
    // Keeps the database and pseudo units.
    void RemoveUserUnits();

    // --- The user units file ("UserUnits.xml" in the program folder for an empty path) --------
    // Adds the valid units of the file as user units ("* " before the stored name), equal ones
    // once; a unit whose numbers are not whole number texts, or that is not valid, is left out
    // with a log line. FALSE, nothing added, for a missing or unreadable file; TRUE with no
    // units when the root "user-units" is absent.
    BOOL LoadUserUnits(const std::string& path = std::string());
    // Writes every user unit, in list order and without the leading '*' and blanks of its name,
    // replacing the file as a whole. FALSE, with the file untouched, when it cannot be written.
    BOOL SaveUserUnits(const std::string& path = std::string());
    const CUnitArray& GetUnitList() const { return m_units; }

    // --- Look-ups ------------------------------------------------------------------------------
    // A copy of the first unit with the index; FALSE and a reset unit for an unknown index.
    BOOL GetUnit(CUnit& unit, int dbIndex) const;
    // The units of the quantity type and unit system in list order: exact pairs always, and
    // unless exact also those matching where type or system is 0 (any). With a language,
    // database units get their name in that language; a unit without a text in the database
    // keeps its name. Always TRUE.
    BOOL GetUnits(CUnitArray& units, int type, int system, BOOL append, const std::string& language,
                  BOOL exact) const;
    // The units of GetUnits as (name, database index) entries.
    BOOL FillUnitCombo(CComboItems& items, int type, int system, BOOL append, const std::string& language,
                       BOOL exact) const;

    // Texts of the reference codes in the language (empty = current); empty for other codes.
    static std::string GetPressureReferenceText(int reference, const std::string& language = std::string());
    static std::string GetFlowTypeText(int flowType, const std::string& language = std::string());
    static std::string GetFlowReferenceText(int reference, const std::string& language = std::string());
    // The two codes of each kind with their texts, in the order the dialogs show them.
    static BOOL FillPressureReferenceCombo(CComboItems& items, const std::string& language = std::string());
    static BOOL FillFlowTypeCombo(CComboItems& items, const std::string& language = std::string());
    static BOOL FillFlowReferenceCombo(CComboItems& items, const std::string& language = std::string());

    // --- Conversions by database index (FALSE, out 0.0, for an unknown index) -----------------
    BOOL ConvertToBase(double& base, double value, int dbIndex, int reference) const;
    BOOL ConvertFromBase(double& value, double base, int dbIndex, int reference) const;
    BOOL ConvertUnit(double value, double& out, int fromIndex, int toIndex, double density) const;

private:
    // The first unit with the index, null when there is none.
    const CUnit* Find(int dbIndex) const;
    void Append(const CUnit& unit);
    void RebuildPositions();
    static std::string UserUnitsPath(const std::string& path);

    CUnitArray m_units;
    // Position of the first unit of each index, so conversions need no search.
    std::unordered_map<int, std::size_t> m_positions;
    // The next user index; only grows during a run.
    unsigned m_nextUserIndex = 0;
    CLogger m_log;
};
