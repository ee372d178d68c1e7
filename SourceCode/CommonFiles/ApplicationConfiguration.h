// The user's settings that outlive a project: user-interface language, automatic recalculation,
// the default unit of each quantity, the result filter's minimum flow-range percentage and the
// default norm flow condition. Kept in "Zephrin.cfg" beside the program.
#pragma once

#include "CommonFiles/NormFlowCondition.h"
#include "Oddments/OleDbTypes.h"
#include "Quillet/Logger.h"

#include <set>
#include <string>

class TiXmlElement;

class CApplicationConfiguration {
public:
    // Made on the first call, deleted at process end; null when called after that.
    static CApplicationConfiguration* GetInstance();

    // The defaults of Reset. The program uses the one of GetInstance; tests make their own.
    CApplicationConfiguration();
    ~CApplicationConfiguration();
    CApplicationConfiguration(const CApplicationConfiguration&) = delete;
    CApplicationConfiguration& operator=(const CApplicationConfiguration&) = delete;

    // Every default; the default norm condition is the listed condition 1. FALSE when the list
    // has no condition 1: the default is then a reset custom condition.
    BOOL Reset();

    // Reads the file (empty path: "Zephrin.cfg" in the program folder) over the defaults. FALSE
    // with every default when the file cannot be read or parsed; FALSE also when it has no
    // default norm condition, the other settings then read. One whose norm condition is there
    // but cannot be read (a value "nan") counts as not loaded. A file that exists but cannot
    // be loaded is remembered, so Save does not replace the user's file. A default unit that
    // names no unit of the loaded unit list keeps its default.
    BOOL Load(const std::string& path = std::string());

    // Writes every setting to the file (empty path as for Load), replacing it whole or not at all.
    // FALSE, with the file untouched, when it cannot be written or when it is a file that the last
    // Load found but could not load. *errorNumber (when not null) becomes the system's error number
    // when the file could not be written (EACCES, ENOSPC, ...), else 0.
    BOOL Save(const std::string& path = std::string(), int* errorNumber = nullptr);
    // The file of the path as Load and Save take it.
    static std::string FilePath(const std::string& path);

    std::string language;  // two-letter code
    bool autorecalcmeters;
    // Default units (database indexes) and codes of the pages.
    int temperature;
    int pressure;
    int pressure_reference;  // 1 absolute, 2 gauge
    int density;
    int viscosity;
    int flow;
    int flow_type;       // 1 volume, 2 mass
    int flow_reference;  // 0 operational, 4 norm
    int velocity;
    double minflowrangepercent;  // 0 to 100
    CNormFlowCondition default_norm_condition;

private:
    BOOL ReadRoot(const TiXmlElement* root);

    // Files that Load found but could not load, until a later Load reads them.
    std::set<std::string> m_unloadableFiles;
    CLogger m_log;
};
