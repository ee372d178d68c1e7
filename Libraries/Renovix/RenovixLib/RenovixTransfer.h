// The transfer of update files over libcurl: an HTTP(S) session, or an FTP connection that has
// logged in. Redirects stay on HTTP and HTTPS and never leave HTTPS; a stalled transfer ends.
#pragma once

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
    // shorter than announced fails.
    SResult Get(const std::string& url, int descriptor, CDownloadProgress& progress);

    // The protocols a redirect from url may go to.
    static const char* RedirectProtocols(const std::string& url);

private:
    bool Open(bool ftp, SResult& result);
    void Finish(int code, SResult& result) const;

    void* m_handle = nullptr;  // CURL
    bool m_ftp = false;
    char m_errorText[256] = {};
};
