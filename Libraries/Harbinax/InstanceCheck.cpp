#include "Harbinax/InstanceCheck.h"

#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <wx/evtloop.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// FNV-1a: stable between runs and builds, which std::hash is not required to be.
std::uint64_t Hash(const std::string& text)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

CInstanceCheck::~CInstanceCheck()
{
    delete m_source;
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(m_socketPath.c_str());
    }
    // The lock file stays: removing it would let a start lock a new file while another process
    // still waits on the old one.
    if (m_lock >= 0)
        ::close(m_lock);
}

std::string CInstanceCheck::BasePath(const std::string& identity)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? runtime : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    char name[64];
    std::snprintf(name, sizeof name, "harbinax-%u-%016llx", static_cast<unsigned>(::getuid()),
                  static_cast<unsigned long long>(Hash(identity)));
    return folder + name;
}

bool CInstanceCheck::FindOther(const std::string& identity, std::function<void()> raise)
{
    const std::string base = BasePath(identity);
    m_lock = ::open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lock < 0)
        return false;
    // In the shared temporary folder anyone can make the file first and hold its lock, which
    // would keep this program from ever starting: a file of another user counts for nothing.
    struct stat status;
    if (::fstat(m_lock, &status) != 0 || status.st_uid != ::geteuid()) {
        ::close(m_lock);
        m_lock = -1;
        CLogger log = CLogManager::GetInstance()->GetLogger("CHarbinax", LOGLEVEL_PARENT);
        QUILLET_POS(log);
        log.Warn("Instance lock %s.lock belongs to another user; ignored", base.c_str());
        return false;
    }
    if (::flock(m_lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_lock);
        m_lock = -1;
        AskToRaise(base + ".sock");
        return true;
    }
    m_raise = std::move(raise);
    Listen(base + ".sock");
    return false;
}

bool CInstanceCheck::AskToRaise(const std::string& socketPath)
{
    sockaddr_un address;
    if (!FillAddress(socketPath, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // The connection itself is the request.
    const bool done = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return done;
}

bool CInstanceCheck::Listen(const std::string& socketPath)
{
    sockaddr_un address;
    if (!FillAddress(socketPath, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // A socket left by a run that crashed; the lock says nobody listens there now.
    ::unlink(socketPath.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    m_listener = fd;
    m_socketPath = socketPath;
    m_source = wxEventLoopBase::AddSourceForFD(fd, this, wxEVENT_SOURCE_INPUT);
    return true;
}

void CInstanceCheck::OnReadWaiting()
{
    bool asked = false;
    for (;;) {
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            break;
        ::close(client);
        asked = true;
    }
    if (asked && m_raise)
        m_raise();
}
