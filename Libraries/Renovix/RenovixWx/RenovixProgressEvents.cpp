#include "Renovix/RenovixWx/RenovixProgressEvents.h"

#include "Harbinax/ProgressEvents.h"

void CRenovixProgressEvents::OnDownloadFile(const std::string& fileName)
{
    SendDownloadFile(m_target, fileName);
}

void CRenovixProgressEvents::OnSetFileSize(long kilobytes)
{
    SendSetFileSize(m_target, kilobytes);
}

void CRenovixProgressEvents::OnDownloaded1KB()
{
    SendDownloaded1KB(m_target);
}
