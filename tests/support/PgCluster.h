// A throw-away PostgreSQL cluster for the tests: created in a temporary folder, reachable
// through a Unix socket in that folder and through TCP on the loopback address, removed when
// the test program ends, also when it crashes (a watchdog process cleans up once the program
// is gone).
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

    // Ends every session as an administrator's fast restart does (each told why) and starts the
    // server again; returns once it takes connections, false when it does not.
    bool Restart();

    // Stops the server as an administrator's fast shutdown does, its data kept; false when it did
    // not stop.
    bool StopServer();
    // Starts the stopped server again where it listened before; false when it takes no
    // connections.
    bool StartServer();

    // Ends a backend as an administrator does (pg_terminate_backend) once its row of
    // pg_stat_activity meets the condition (for example "wait_event_type = 'Lock'"); false when it
    // did not within 30 s. Blocks until then: call it from a thread while the test's statement
    // waits.
    bool TerminateBackend(pid_t backend, const std::string& condition = "true");

    // libpq connection string of a database of the cluster, through its Unix socket.
    std::string ConnectionInfo(const std::string& database) const;
    // The same through TCP on the loopback address, where a connection ends as it does across a
    // network.
    std::string TcpConnectionInfo(const std::string& database) const;
    // Where the server listens: the folder of its socket, and its port number.
    const std::string& SocketFolder() const { return m_folder; }
    int Port() const { return m_port; }
    // The process id of the running server's main process (the one that takes connections);
    // -1 when none runs.
    pid_t ServerPid() const;

private:
    // pg_ctl start on the port; true once the server takes connections.
    bool RunServer();

    std::string m_folder;
    std::string m_binaries;
    int m_port = 0;
    int m_watchdogPipe = -1;
    pid_t m_watchdog = -1;
};

// The one cluster of a test program, started before its first test and stopped after its last
// whatever happened. Call it where the program's static objects are made (at namespace scope),
// so its test environment is registered before the tests run.
CPgCluster& TestProgramPgCluster();
