// A print server of the test's own, so printing without a dialog can be tested where the machine
// has no printer: a CUPS daemon in a temporary folder, reached only through a socket there, with
// one printer that is the default and hands every job it gets to a file as it came.
#pragma once

#include "support/Process.h"
#include "support/TemporaryFolder.h"

#include <string>

class CTestPrintServer {
public:
    CTestPrintServer() = default;
    ~CTestPrintServer();
    CTestPrintServer(const CTestPrintServer&) = delete;
    CTestPrintServer& operator=(const CTestPrintServer&) = delete;

    // Starts the daemon, makes its printer the default and points this process's print clients
    // (GTK's CUPS backend among them) at it; false with the reason in error.
    bool Start(std::string& error);
    // Ends the daemon and gives the process its previous print server back.
    void Stop();

    // Waits until the printer has written its first job whole; the file's path, or "" when no job
    // came within the time.
    std::string WaitForJob(int seconds) const;

private:
    CTemporaryFolder m_folder;
    CProcess m_daemon;
    bool m_hadServer = false;
    std::string m_previousServer;
};
