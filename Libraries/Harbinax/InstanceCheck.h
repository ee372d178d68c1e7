// Whether the same program already runs for this user, and the way a later start asks the
// running one to come to the front. One process holds an exclusive lock on a file named after
// the program and listens on a local socket beside it; a later start finds the lock taken and
// connects to the socket. The lock goes with its process, however that ends, so a crashed run
// never blocks the next start. Both files lie in $XDG_RUNTIME_DIR (the temporary folder when it
// is not set) and carry the user's id and a hash of the program's identity in their names.
#pragma once

#include <wx/evtloopsrc.h>

#include <functional>
#include <string>

class wxEventLoopSource;

class CInstanceCheck : public wxEventLoopSourceHandler {
public:
    CInstanceCheck() = default;
    ~CInstanceCheck() override;
    CInstanceCheck(const CInstanceCheck&) = delete;
    CInstanceCheck& operator=(const CInstanceCheck&) = delete;

    // True when another process holds the identity; it has then been asked to come forward
    // (when it could be reached). Otherwise this object takes the identity and calls raise
    // from the event loop whenever a later start asks. False also when the lock cannot be
    // made at all: a start is never refused for want of a lock file.
    bool FindOther(const std::string& identity, std::function<void()> raise);
    // This process holds the identity.
    bool IsFirst() const { return m_lock >= 0; }

    // The files' path without extension.
    static std::string BasePath(const std::string& identity);

    void OnReadWaiting() override;
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}

private:
    static bool AskToRaise(const std::string& socketPath);
    bool Listen(const std::string& socketPath);

    int m_lock = -1;
    int m_listener = -1;
    std::string m_socketPath;
    wxEventLoopSource* m_source = nullptr;
    std::function<void()> m_raise;
};
