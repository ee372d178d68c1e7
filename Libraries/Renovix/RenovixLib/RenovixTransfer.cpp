#include "Renovix/RenovixLib/RenovixTransfer.h"

#include "Renovix/RenovixLib/DownloadProgress.h"

#include "Platform/SharedLibrary.h"
#include "Platform/WholeFile.h"

#include <curl/curl.h>

#include <algorithm>
#include <strings.h>

namespace {

constexpr char kCurlLibrary[] = "libcurl.so.4";

// The libcurl functions we call, each held under its own name.
struct SCurl {
    decltype(&::curl_global_init) curl_global_init = nullptr;
    decltype(&::curl_easy_init) curl_easy_init = nullptr;
    decltype(&::curl_easy_setopt) curl_easy_setopt = nullptr;
    decltype(&::curl_easy_perform) curl_easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) curl_easy_getinfo = nullptr;
    decltype(&::curl_easy_strerror) curl_easy_strerror = nullptr;
    decltype(&::curl_easy_cleanup) curl_easy_cleanup = nullptr;
    std::string error;  // why libcurl cannot be used; empty when it can
};

// libcurl and the libraries it needs (TLS, Kerberos, LDAP, SSH, ...) are loaded by the first
// transfer of the process, not with the program, whose every start they would slow down.
const SCurl& Curl()
{
    static const SCurl curl = [] {
        SCurl table;
        CSharedLibrary library(kCurlLibrary);
        const bool resolved = SHARED_LIBRARY_RESOLVE(library, table, curl_global_init) &&
                              SHARED_LIBRARY_RESOLVE(library, table, curl_easy_init) &&
                              SHARED_LIBRARY_RESOLVE(library, table, curl_easy_setopt) &&
                              SHARED_LIBRARY_RESOLVE(library, table, curl_easy_perform) &&
                              SHARED_LIBRARY_RESOLVE(library, table, curl_easy_getinfo) &&
                              SHARED_LIBRARY_RESOLVE(library, table, curl_easy_strerror) &&
                              SHARED_LIBRARY_RESOLVE(library, table, curl_easy_cleanup);
        if (resolved)
            table.curl_global_init(CURL_GLOBAL_DEFAULT);  // a failure shows in curl_easy_init
        else
            table.error = std::string("cannot use ") + kCurlLibrary + ": " + library.Error();
        return table;
    }();
    return curl;
}

struct SWriteTarget {
    CURL* handle;
    bool http;
    int descriptor;
    CDownloadProgress* progress;
    uint64_t maxBytes;
    uint64_t bytes;
    long refusedStatus;  // HTTP status whose body was refused
    bool writeFailed;
    bool tooLarge;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    SWriteTarget& target = *static_cast<SWriteTarget*>(user);
    const size_t total = size * count;
    if (target.http) {
        // The body of an error page is no update file.
        long status = 0;
        Curl().curl_easy_getinfo(target.handle, CURLINFO_RESPONSE_CODE, &status);
        if (status != 200) {
            target.refusedStatus = status;
            return 0;
        }
    }
    // A body without announced length passes libcurl's own size check.
    if (total > target.maxBytes - target.bytes) {
        target.tooLarge = true;
        return 0;
    }
    if (!Platform::WriteAll(target.descriptor, data, total)) {
        target.writeFailed = true;
        return 0;
    }
    target.bytes += total;
    target.progress->Add(total);
    return total;
}

}  // namespace

CRenovixTransfer::~CRenovixTransfer()
{
    Close();
}

const char* CRenovixTransfer::RedirectProtocols(const std::string& url)
{
    const bool secure = url.size() >= 8 && strncasecmp(url.c_str(), "https://", 8) == 0;
    return secure ? "https" : "http,https";
}

bool CRenovixTransfer::Open(bool ftp, SResult& result)
{
    Close();
    result = SResult();
    const SCurl& curl = Curl();
    if (!curl.error.empty()) {
        result.code = CURLE_FAILED_INIT;
        result.error = curl.error;
        return false;
    }
    CURL* handle = curl.curl_easy_init();
    if (handle == nullptr) {
        result.code = CURLE_FAILED_INIT;
        result.error = curl.curl_easy_strerror(CURLE_FAILED_INIT);
        return false;
    }
    m_handle = handle;
    m_ftp = ftp;
    m_errorText[0] = '\0';
    curl.curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, m_errorText);
    curl.curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl.curl_easy_setopt(handle, CURLOPT_USERAGENT, "Renovix");
    // The FTP login is no file: the plain deadline.
    ApplyLimits({m_limits.ceilingBytes, m_limits.deadlineSeconds * 1000});
    curl.curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, ftp ? "ftp" : "http,https");
    curl.curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, ftp ? 0L : 1L);
    curl.curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    return true;
}

bool CRenovixTransfer::OpenHttp(SResult& result)
{
    result.ok = Open(false, result);
    return result.ok;
}

bool CRenovixTransfer::OpenFtp(const std::string& server, int port, const std::string& user,
                               const std::string& password, SResult& result)
{
    if (!Open(true, result))
        return false;
    const SCurl& curl = Curl();
    CURL* handle = static_cast<CURL*>(m_handle);
    curl.curl_easy_setopt(handle, CURLOPT_USERNAME, user.c_str());
    curl.curl_easy_setopt(handle, CURLOPT_PASSWORD, password.c_str());
    // Logs in and ends without a transfer; the connection stays for the downloads.
    const std::string url = "ftp://" + server + ":" + std::to_string(port) + "/";
    curl.curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl.curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    Finish(curl.curl_easy_perform(handle), result);
    curl.curl_easy_setopt(handle, CURLOPT_NOBODY, 0L);
    if (!result.ok)
        Close();
    return result.ok;
}

uint64_t CRenovixTransfer::MaxBytes(const SLimits& limits, uint64_t expectedBytes)
{
    if (expectedBytes == 0 || expectedBytes >= limits.ceilingBytes)
        return limits.ceilingBytes;
    const uint64_t margin = expectedBytes / 4 + limits.sizeMarginBytes;
    return margin >= limits.ceilingBytes - expectedBytes ? limits.ceilingBytes : expectedBytes + margin;
}

long CRenovixTransfer::DeadlineSeconds(const SLimits& limits, uint64_t expectedBytes)
{
    if (expectedBytes == 0)
        return limits.unknownSizeDeadlineSeconds;
    // No file brings more than the ceiling, so none needs longer than that takes.
    const uint64_t rate = limits.deadlineBytesPerSecond > 0 ? static_cast<uint64_t>(limits.deadlineBytesPerSecond) : 1;
    return limits.deadlineSeconds + static_cast<long>(std::min(expectedBytes, limits.ceilingBytes) / rate);
}

CRenovixTransfer::SBound CRenovixTransfer::FileBound(const SLimits& limits, uint64_t expectedBytes)
{
    return {MaxBytes(limits, expectedBytes), DeadlineSeconds(limits, expectedBytes) * 1000};
}

void CRenovixTransfer::ApplyLimits(const SBound& bound)
{
    const SCurl& curl = Curl();
    CURL* handle = static_cast<CURL*>(m_handle);
    curl.curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, m_limits.connectSeconds);
    curl.curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, m_limits.lowSpeedBytesPerSecond);
    curl.curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, m_limits.lowSpeedSeconds);
    curl.curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, bound.deadlineMilliseconds);
    curl.curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(bound.maxBytes));
}

void CRenovixTransfer::Close()
{
    if (m_handle)
        Curl().curl_easy_cleanup(static_cast<CURL*>(m_handle));
    m_handle = nullptr;
    m_ftp = false;
}

void CRenovixTransfer::Finish(int code, SResult& result) const
{
    result.code = code;
    result.ok = code == CURLE_OK;
    if (!result.ok) {
        result.error = Curl().curl_easy_strerror(static_cast<CURLcode>(code));
        if (m_errorText[0] != '\0')
            result.error += std::string("\n\t") + m_errorText;
    }
}

CRenovixTransfer::SResult CRenovixTransfer::Get(const std::string& url, int descriptor, CDownloadProgress& progress,
                                                const SBound& bound)
{
    SResult result;
    if (m_handle == nullptr) {
        result.code = CURLE_FAILED_INIT;
        result.error = "no connection";
        return result;
    }
    const SCurl& curl = Curl();
    CURL* handle = static_cast<CURL*>(m_handle);
    SWriteTarget target{handle, !m_ftp, descriptor, &progress, bound.maxBytes, 0, 0, false, false};
    m_errorText[0] = '\0';
    ApplyLimits(bound);
    curl.curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl.curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, RedirectProtocols(url));
    curl.curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteBody);
    curl.curl_easy_setopt(handle, CURLOPT_WRITEDATA, &target);
    const CURLcode code = curl.curl_easy_perform(handle);
    curl.curl_easy_setopt(handle, CURLOPT_WRITEDATA, nullptr);
    Finish(code, result);
    result.bytes = target.bytes;
    if (!m_ftp)
        curl.curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.status);
    curl_off_t announced = -1;
    curl.curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);

    if (target.writeFailed) {
        result.ok = false;
        result.error = "cannot write the local file";
    } else if (target.tooLarge) {
        result.ok = false;
        result.error = "more than " + std::to_string(bound.maxBytes) + " bytes";
    } else if (!m_ftp && result.status != 200 && (result.ok || target.refusedStatus != 0)) {
        result.ok = false;
        result.error = "HTTP status " + std::to_string(result.status);
    } else if (result.ok && announced >= 0 && static_cast<uint64_t>(announced) != target.bytes) {
        result.ok = false;
        result.error = "received " + std::to_string(target.bytes) + " of " + std::to_string(announced) + " bytes";
    }
    return result;
}
