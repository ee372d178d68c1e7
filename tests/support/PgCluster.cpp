#include "support/PgCluster.h"

#include "support/Process.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <glob.h>
#include <netinet/in.h>
#include <iostream>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The newest installed server's programs (Debian keeps them out of PATH).
std::string ServerBinaries()
{
    if (const char* configured = std::getenv("ZEPHRIN_PG_BIN"))
        return configured;
    glob_t found{};
    std::string folder;
    if (glob("/usr/lib/postgresql/*/bin/initdb", 0, nullptr, &found) == 0 && found.gl_pathc > 0) {
        folder = found.gl_pathv[found.gl_pathc - 1];
        folder.resize(folder.size() - std::string("/initdb").size());
    }
    globfree(&found);
    return folder;
}

// Runs a program (as the postgres user when we are root: the server refuses root) and waits.
// Their progress chatter would drown the test output; errors still go to stderr.
bool Run(std::vector<std::string> argv)
{
    if (getuid() == 0)
        argv.insert(argv.begin(), {"runuser", "-u", "postgres", "--"});
    const SToolRun run = RunTool(argv);
    std::cerr << run.errors;
    return run.status == 0;
}

// A loopback TCP port that nobody listens on now; 0 when none could be found.
int FreeLoopbackPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool found = probe >= 0 && bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (probe >= 0)
        close(probe);
    return found ? ntohs(address.sin_port) : 0;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

CPgCluster::~CPgCluster()
{
    Stop();
}

bool CPgCluster::Start(std::string& error)
{
    m_binaries = ServerBinaries();
    if (m_binaries.empty()) {
        error = "no PostgreSQL server installed (package postgresql)";
        return false;
    }
    char folder[] = "/tmp/zephrin-pg-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        error = "cannot create a temporary folder";
        return false;
    }
    m_folder = folder;
    if (getuid() == 0) {
        const passwd* postgres = getpwnam("postgres");
        if (postgres == nullptr || chown(folder, postgres->pw_uid, postgres->pw_gid) != 0) {
            error = "cannot hand the folder to the postgres user";
            return false;
        }
    }

    // From here on the watchdog owns the cleanup: it waits until the write end of the pipe
    // closes, then stops the server and removes the folder. Stop writes a byte first; without
    // it this process died, maybe while a server was still starting, so the watchdog tries
    // again for a few seconds. Close-on-exec: the server must not hold the write end open.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = "cannot create a pipe";
        return false;
    }
    const std::string data = m_folder + "/data";
    const std::string cleanup = "n=$1; while :; do " + std::string(getuid() == 0 ? "runuser -u postgres -- " : "") +
                                Quoted(m_binaries + "/pg_ctl") + " -D " + Quoted(data) +
                                " -m immediate -w stop >/dev/null 2>&1; rm -rf " + Quoted(m_folder) +
                                "; n=$((n-1)); [ $n -gt 0 ] || break; sleep 1; done";
    m_watchdog = fork();
    if (m_watchdog == 0) {
        close(fds[1]);
        setpgid(0, 0);  // not hit by signals meant for the test's process group
        char byte;
        bool orderly = false;
        while (read(fds[0], &byte, 1) > 0)
            orderly = true;
        execl("/bin/sh", "sh", "-c", cleanup.c_str(), "sh", orderly ? "1" : "5", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[0]);
    if (m_watchdog < 0) {
        close(fds[1]);
        rmdir(m_folder.c_str());
        error = "cannot start the watchdog";
        return false;
    }
    m_watchdogPipe = fds[1];

    if (!Run({m_binaries + "/initdb", "-D", data, "-A", "trust", "-U", "postgres", "-E", "UTF8",
              "--locale=C", "--no-sync", "--no-instructions"})) {
        error = "initdb failed";
        return false;
    }
    // TCP on the loopback address only, on a port that was free a moment ago: another program
    // may take it first, so a start that fails is tried again on another. fsync off, the data
    // is thrown away anyway.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = FreeLoopbackPort();
        if (m_port > 0 && RunServer())
            return true;
    }
    error = "the server did not start (see " + m_folder + "/server.log)";
    return false;
}

void CPgCluster::Stop()
{
    if (m_watchdogPipe >= 0) {
        // Without this byte the watchdog cleans up as after a crash, only slower.
        const char orderly = 1;
        const ssize_t written = write(m_watchdogPipe, &orderly, 1);
        (void)written;
        close(m_watchdogPipe);
        m_watchdogPipe = -1;
    }
    if (m_watchdog > 0) {
        int status = 0;
        waitpid(m_watchdog, &status, 0);
        m_watchdog = -1;
    }
}

bool CPgCluster::RunServer()
{
    return Run({m_binaries + "/pg_ctl", "-D", m_folder + "/data", "-l", m_folder + "/server.log", "-w", "-o",
                "-k " + m_folder + " -c listen_addresses=127.0.0.1 -p " + std::to_string(m_port) + " -F", "start"});
}

bool CPgCluster::StopServer()
{
    return Run({m_binaries + "/pg_ctl", "-D", m_folder + "/data", "-w", "-m", "fast", "stop"});
}

bool CPgCluster::StartServer()
{
    return RunServer();
}

bool CPgCluster::Restart()
{
    // The server keeps the options it was started with; its output must not go to our pipe,
    // which it would hold open.
    return Run({m_binaries + "/pg_ctl", "-D", m_folder + "/data", "-l", m_folder + "/server.log", "-w", "-m", "fast",
                "restart"});
}

bool CPgCluster::TerminateBackend(pid_t backend, const std::string& condition)
{
    // The statistics are taken once per transaction unless cleared.
    const std::string pid = std::to_string(backend);
    const std::string sql = "DO $$ BEGIN FOR i IN 1..600 LOOP PERFORM pg_stat_clear_snapshot(); "
                            "IF EXISTS (SELECT 1 FROM pg_stat_activity WHERE pid = " + pid + " AND (" + condition +
                            ")) THEN PERFORM pg_terminate_backend(" + pid + "); RETURN; END IF; "
                            "PERFORM pg_sleep(0.05); END LOOP; RAISE EXCEPTION 'backend " + pid +
                            " never got there'; END $$";
    return Run({m_binaries + "/psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", m_folder, "-p",
                std::to_string(m_port), "-U", "postgres", "-d", "postgres", "-c", sql});
}

pid_t CPgCluster::ServerPid() const
{
    // The server's lock file starts with its process id.
    std::ifstream lockFile(m_folder + "/data/postmaster.pid");
    long pid = -1;
    return lockFile >> pid && pid > 0 ? static_cast<pid_t>(pid) : -1;
}

std::string CPgCluster::ConnectionInfo(const std::string& database) const
{
    return "host=" + m_folder + " port=" + std::to_string(m_port) + " user=postgres dbname=" + database;
}

std::string CPgCluster::TcpConnectionInfo(const std::string& database) const
{
    return "host=127.0.0.1 port=" + std::to_string(m_port) +
           " sslmode=disable gssencmode=disable user=postgres dbname=" + database;
}
