#include "TAMBEL/ProductionDbConnection.h"

#include "Harbinax/Harbinax.h"
#include "Quillet/LogManager.h"

#include <utility>

CProductionDbConnection::CProductionDbConnection(std::string dataLinkPath)
    : m_log(CLogManager::GetInstance()->GetLogger("CProductionDbConnection", LOGLEVEL_PARENT)),
      m_dataLinkPath(std::move(dataLinkPath))
{
}

std::string CProductionDbConnection::DataLinkPath() const
{
    return m_dataLinkPath.empty() ? CHarbinax::GetProgramFolder() + "PDB.udl" : m_dataLinkPath;
}

bool CProductionDbConnection::OpenAndCheck()
{
    Close();
    if (m_db.Open(DataLinkPath().c_str()) < 0)
        return false;
    if (CHarbinax* app = CHarbinax::GetApp())
        app->SetSplashStatusText(app->TranslateText("Checking database structure..."), 0);
    m_usable = m_db.CheckTables() != FALSE;
    if (!m_usable)
        m_db.Close();
    return m_usable;
}

bool CProductionDbConnection::Unlock(const CProductionDbKey& key, const std::string& owner)
{
    return m_db.IsOpen() && m_db.UnlockRecord(key, owner) != FALSE;
}

void CProductionDbConnection::Close()
{
    m_db.Close();
    m_usable = false;
}
