#include "Oddments/Session.h"

#include "Oddments/DataSource.h"
#include "Oddments/DbConnection.h"

CSession::CSession() = default;

CSession::~CSession() = default;

HRESULT CSession::Open(const CDataSource& dataSource)
{
    m_connection = dataSource.GetConnection();
    return m_connection != nullptr ? S_OK : E_UNEXPECTED;
}

void CSession::Close()
{
    m_connection.reset();
}

HRESULT CSession::Execute(const char* sql, const CDbValues& params, long long* rowsAffected)
{
    if (m_connection == nullptr)
        return E_UNEXPECTED;
    if (sql == nullptr)
        return E_INVALIDARG;
    return m_connection->Execute(sql, params, rowsAffected);
}

bool CSession::IsLost() const
{
    return m_connection != nullptr && m_connection->IsLost();
}

std::string CSession::GetErrorText() const
{
    return m_connection != nullptr ? m_connection->GetErrorText() : std::string();
}
