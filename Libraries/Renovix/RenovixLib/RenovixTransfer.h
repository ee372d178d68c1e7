// The transfer of update files over libcurl: an HTTP(S) session, or an FTP connection that has
// logged in. Redirects stay on HTTP and HTTPS and never leave HTTPS. A transfer ends as failed
// when it crawls, when it outlasts its deadline, and when it brings more than it may.
#pragma once

#include "Renovix/RenovixLib/RenovixLimits.h"

#include <cstdint>
#include <string>

class CDownloadProgress;

class CRenovixTransfer {
public:
    struct SResult {
        bool ok = false;
        int code = 0;     // libcurl's result
        long status = 0;  // HTTP status, 0 for FTP
        uint64_t bytes = 0;
        std::string error;  // what failed, for the log
    };

    // When a transfer gives up. The defaults suit an update server on any working line.
    struct SLimits {
        long connectSeconds = 30;
        // Fewer bytes a second than this, for lowSpeedSeconds on end, is a stalled transfer.
        long lowSpeedBytesPerSecond = 1024;
        long lowSpeedSeconds = 60;
        // The deadline of a transfer: this long, and for a file of known size the time it takes
        // at deadlineBytesPerSecond on top; an hour for a file of unknown size.
        long deadlineSeconds = 300;
        long deadlineBytesPerSecond = 4096;
        long unknownSizeDeadlineSeconds = 3600;
        // The deadline of the update list, which comes before anything else of a start-up's
        // update step: of both its names together.
        long listDeadlineSeconds = 180;
        // A file of known size may bring this much (and a quarter of its size) more; none may
        // bring more than the ceiling.
        uint64_t sizeMarginBytes = 1024 * 1024;
        uint64_t ceilingBytes = kRenovixFileCeiling;
    };

    // What one transfer may bring and how long it may take.
    struct SBound {
        uint64_t maxBytes = 0;
        long deadlineMilliseconds = 0;
    };

    CRenovixTransfer() = default;
    ~CRenovixTransfer();
    CRenovixTransfer(const CRenovixTransfer&) = delete;
    CRenovixTransfer& operator=(const CRenovixTransfer&) = delete;

    bool OpenHttp(SResult& result);
    // Connects to server:port and logs in; a wrong password fails here.
    bool OpenFtp(const std::string& server, int port, const std::string& user, const std::string& password,
                 SResult& result);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    bool IsFtp() const { return m_ftp; }

    // Writes the file at url to the descriptor; for HTTP only a 200 response counts, and a body
    // shorter than announced fails, as does one that brings more than the bound or outlasts it.
    SResult Get(const std::string& url, int descriptor, CDownloadProgress& progress, const SBound& bound);

    void SetLimits(const SLimits& limits) { m_limits = limits; }
    const SLimits& GetLimits() const { return m_limits; }
    // The most bytes and the deadline in seconds of a file of expectedBytes (0: unknown).
    static uint64_t MaxBytes(const SLimits& limits, uint64_t expectedBytes);
    static long DeadlineSeconds(const SLimits& limits, uint64_t expectedBytes);
    // Both of them.
    static SBound FileBound(const SLimits& limits, uint64_t expectedBytes);

    // The protocols a redirect from url may go to.
    static const char* RedirectProtocols(const std::string& url);

private:
    bool Open(bool ftp, SResult& result);
    // Timeouts and the bound on the handle.
    void ApplyLimits(const SBound& bound);
    void Finish(int code, SResult& result) const;

    void* m_handle = nullptr;  // CURL
    bool m_ftp = false;
    SLimits m_limits;
    char m_errorText[256] = {};
};
