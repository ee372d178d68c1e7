// Turns the pieces a transfer delivers, whatever their size, into the progress of 1 KB steps
// the receivers count: the bytes are taken as read in 1024-byte chunks, and a step is reported
// whenever the count of whole KB after a chunk differs from the count after the one before
// (the first chunk always reports one).
#pragma once

#include "Renovix/RenovixLib/RenovixProgress.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CDownloadProgress {
public:
    // Reports nothing without an observer.
    explicit CDownloadProgress(IRenovixProgress* observer) : m_observer(observer) {}

    void Start(const std::string& fileName, long kilobytes);
    void Add(size_t bytes);
    // Reports the last, partial chunk and the end of the download.
    void Finish();

    uint64_t Total() const { return m_total; }

private:
    void Chunk(uint64_t kilobytes);

    IRenovixProgress* m_observer;
    uint64_t m_total = 0;
    int64_t m_lastCount = -1;
};
