#include "Renovix/RenovixLib/DownloadProgress.h"

namespace {

constexpr uint64_t kChunk = 1024;

}  // namespace

void CDownloadProgress::Start(const std::string& fileName, long kilobytes)
{
    m_total = 0;
    m_lastCount = -1;
    if (m_observer) {
        m_observer->OnDownloadFile(fileName);
        m_observer->OnSetFileSize(kilobytes);
    }
}

void CDownloadProgress::Add(size_t bytes)
{
    const uint64_t before = m_total;
    m_total += bytes;
    for (uint64_t end = (before / kChunk + 1) * kChunk; end <= m_total; end += kChunk)
        Chunk(end / kChunk);
}

void CDownloadProgress::Finish()
{
    if (m_total % kChunk != 0)
        Chunk(m_total / kChunk);
    if (m_observer)
        m_observer->OnDownloadFile(std::string());
}

void CDownloadProgress::Chunk(uint64_t kilobytes)
{
    if (static_cast<int64_t>(kilobytes) == m_lastCount)
        return;
    m_lastCount = static_cast<int64_t>(kilobytes);
    if (m_observer)
        m_observer->OnDownloaded1KB();
}
