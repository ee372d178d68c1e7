// The production database named by a data-link file (by default "PDB.udl" in the program
// folder), usable once it is open and its tables passed the check.
#pragma once

#include "ProductionDb/ProductionDb.h"
#include "Quillet/Logger.h"
#include "TAMBEL/ProductionDbLink.h"

class CProductionDbConnection : public CProductionDbLink {
public:
    // An empty path means the program folder's "PDB.udl".
    explicit CProductionDbConnection(std::string dataLinkPath = std::string());

    bool OpenAndCheck() override;
    bool IsUsable() const override { return m_usable; }
    bool Unlock(const CProductionDbKey& key, const std::string& owner) override;
    void Close() override;
    std::string DataLinkPath() const override;
    CProductionDb* Database() override { return &m_db; }

private:
    CLogger m_log;
    std::string m_dataLinkPath;
    CProductionDb m_db;
    bool m_usable = false;
};
