// The process-wide list of predefined norm flow conditions, read from the units database in its
// order. Pages offer it in a selection list that ends with "Custom".
#pragma once

#include "CommonFiles/ComboItem.h"
#include "CommonFiles/NormFlowCondition.h"
#include "Quillet/Logger.h"

#include <string>
#include <vector>

typedef std::vector<CNormFlowCondition> CNormFlowConditionArray;

class CNormConditionManager {
public:
    // Made on the first call, deleted at process end; null when called after that.
    static CNormConditionManager* GetInstance();

    // An empty list. The program uses the one of GetInstance; tests make their own.
    CNormConditionManager();
    ~CNormConditionManager();
    CNormConditionManager(const CNormConditionManager&) = delete;
    CNormConditionManager& operator=(const CNormConditionManager&) = delete;

    // Replaces the list with the rows of NormFlowConditions whose temperature and pressure units
    // are known to the units manager, with their base values (a gauge pressure gets the
    // atmosphere). The density stays reset. FALSE, list empty, without the units manager or the
    // units database or when the table cannot be read.
    BOOL LoadDbList();

    // Every condition as (name, id), then the custom entry ("Custom", -1). Always TRUE.
    BOOL FillComboBox(CComboItems& items, const std::string& language = std::string()) const;

    // Id -1: a reset (custom) condition and TRUE. Otherwise a copy of the first condition with the
    // id and TRUE, or a reset condition and FALSE for an id not in the list.
    BOOL GetCondition(int id, CNormFlowCondition& condition) const;

    const CNormFlowConditionArray& GetList() const { return m_conditions; }

private:
    CNormFlowConditionArray m_conditions;
    CLogger m_log;
};
