// The sizing program laid out as scripts/run.sh leaves it, in a folder of the test's own: the
// program and the updater beside Zephrin.db, Zephrin.cfg and Reports/, with a HOME of its own.
// Started for real; message boxes go to a file (ZEPHRIN_MESSAGE_LOG) so a test reads them.
#pragma once

#include "support/TemporaryFolder.h"

#include <string>
#include <sys/types.h>
#include <vector>

// The main window's title.
extern const char kMainWindowTitle[];

class CInstalledProgram {
public:
    // A failed test when the built program is missing.
    CInstalledProgram();
    // Ends a program still running.
    ~CInstalledProgram();
    CInstalledProgram(const CInstalledProgram&) = delete;
    CInstalledProgram& operator=(const CInstalledProgram&) = delete;

    // Starts the program of the folder with the variables ("NAME=value") on top of its own;
    // the id of its window of that title once shown, "" when it did not appear.
    std::string Start(const std::vector<std::string>& variables = {}, const std::string& program = "Zephrin",
                      const std::string& title = kMainWindowTitle);
    // True while the started program runs.
    bool Running();
    // Waits for the program to end by itself; its exit status, -1 on a signal or after a minute.
    int Wait();

    // What makes a road fail besides its own checks: a crash dump, a critical exception in a
    // log, a program that died. "" when there is none.
    std::string Faults();
    // The message boxes shown so far, one "caption<TAB>text" line each.
    std::string Messages() const;

    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    std::string Home() const { return m_folder.Path("home"); }

private:
    CTemporaryFolder m_folder;
    pid_t m_pid = -1;
    int m_status = 0;
    bool m_ended = false;
};
