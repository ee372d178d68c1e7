// A throw-away PostgreSQL cluster for the tests: created in a temporary folder, reachable only
// through a Unix socket in that folder, removed when the test program ends, also when it
// crashes (a watchdog process cleans up once the program is gone).
#pragma once

#include <string>
#include <sys/types.h>

class CPgCluster {
public:
    CPgCluster() = default;
    ~CPgCluster();
    CPgCluster(const CPgCluster&) = delete;
    CPgCluster& operator=(const CPgCluster&) = delete;

    // Creates and starts the cluster; false with the reason in error.
    bool Start(std::string& error);
    // Stops the server and removes its folder; waits until that is done.
    void Stop();

    // libpq connection string of a database of the cluster.
    std::string ConnectionInfo(const std::string& database) const;
    // The process id of the running server's main process (the one that takes connections);
    // -1 when none runs.
    pid_t ServerPid() const;

private:
    std::string m_folder;
    std::string m_binaries;
    int m_watchdogPipe = -1;
    pid_t m_watchdog = -1;
};

// The one cluster of a test program, started before its first test and stopped after its last
// whatever happened. Call it where the program's static objects are made (at namespace scope),
// so its test environment is registered before the tests run.
CPgCluster& TestProgramPgCluster();
