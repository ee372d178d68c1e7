// The process-wide list of the fluids of the fluid database, in database order, and the
// look-ups of the calculator and the fluid page on it.
#pragma once

#include "CommonFiles/ComboItem.h"
#include "CommonFiles/Fluids/Fluid.h"
#include "Quillet/Logger.h"

#include <memory>
#include <string>
#include <vector>

// Fluids of the manager's list; the manager keeps owning them.
typedef std::vector<CFluid*> CFluidPtrArray;

class CFluidManager {
public:
    // Made on the first call, deleted at process end; null when called after that.
    static CFluidManager* GetInstance();

    // An empty list. The program uses the one of GetInstance; tests make their own.
    CFluidManager();
    ~CFluidManager();
    CFluidManager(const CFluidManager&) = delete;
    CFluidManager& operator=(const CFluidManager&) = delete;

    // Empties the list and reads every fluid of FluidsBase: a liquid row (StateId 1) becomes a
    // plain CFluid, a gas row (StateId 2) a CFluidGas with its FluidsGas data (kept at 0
    // without a row), whatever its kind; rows of another state and fluids that are not valid
    // are left out. FALSE, with an empty list, without a units database connection or when
    // FluidsBase or a gas's FluidsGas row cannot be read completely.
    BOOL LoadFluidList();

    // Adds the fluids of the Type in list order, after emptying fluids unless appending.
    // With a language (and the database open) the added fluids take their names in that
    // language; a fluid without a text in the database keeps its name. Always TRUE.
    BOOL GetFluidList(CFluidPtrArray& fluids, int type, BOOL append, const std::string& language);
    // The six kinds with their names in the language, in the order gas, gas mix, humid gas,
    // liquid, saturated steam, superheated steam; data = the Type. FALSE without a database
    // connection (the items are then left as they were).
    BOOL FillStateCombo(CComboItems& items, const std::string& language) const;
    // The shown fluids of the Type (name in the language, data = DbIndex) after emptying the
    // items unless appending, and with addCustom a last item for the custom fluid (9999).
    BOOL FillFluidCombo(CComboItems& items, int type, BOOL append, const std::string& language, BOOL addCustom);
    // Copies the first fluid with the index into target (CopyFluid). FALSE without a target,
    // for an unknown index and when the kinds cannot be copied.
    BOOL GetFluidById(CFluid* target, int dbIndex) const;

    std::size_t GetCount() const { return m_fluids.size(); }

private:
    std::vector<std::unique_ptr<CFluid>> m_fluids;
    CLogger m_log;
};
