// The sizing program laid out as scripts/run.sh leaves it, in a folder of the test's own: the
// program and the updater beside Zephrin.db, Zephrin.cfg and Reports/, with a HOME of its own.
// Started for real; message boxes go to a file (ZEPHRIN_MESSAGE_LOG) so a test reads them, and
// what the programs write to their standard error is kept beside them.
#pragma once

#include "support/Process.h"
#include "support/TemporaryFolder.h"

#include <string>
#include <vector>

// The main window's title.
extern const char kMainWindowTitle[];

class CInstalledProgram {
public:
    // A failed test when the built program is missing.
    CInstalledProgram();
    CInstalledProgram(const CInstalledProgram&) = delete;
    CInstalledProgram& operator=(const CInstalledProgram&) = delete;

    // Starts the program of the folder with the arguments and the variables ("NAME=value") on
    // top of its own; not started when the process cannot be made. The process ends with the
    // object returned.
    CProcess Launch(const std::vector<std::string>& variables = {}, const std::string& program = "Zephrin",
                    const std::vector<std::string>& arguments = {});
    // From now on the programs start as an ordinary user, nobody, when the test runs as root (as
    // root, permission bits do not count): the program folder is then theirs to read but not
    // to write, while their home, run folder and message file are theirs. False when that could
    // not be arranged.
    bool StartAsOrdinaryUser();
    // From now on the programs start with the program folder as their working folder, where
    // what they write under a plain name (GTK's file printer's output.pdf) lands; otherwise in
    // the test's.
    void StartInItsFolder() { m_inItsFolder = true; }
    // From now on the programs start with a limit on the size of the files they write
    // (RLIMIT_FSIZE, theirs alone), as under "ulimit -f".
    void LimitFileSize(long bytes) { m_fileSizeLimit = bytes; }

    // Launches the program as the one this object follows; the id of its window of that title
    // once shown, "" when it did not appear.
    std::string Start(const std::vector<std::string>& variables = {}, const std::string& program = "Zephrin",
                      const std::string& title = kMainWindowTitle);
    // True while the started program runs.
    bool Running() { return m_process.Running(); }
    // Waits for the started program to end by itself; its exit status, -1 on a signal or after a
    // minute.
    int Wait() { return m_process.Wait(); }

    // What makes a road fail besides its own checks: a crash dump, a critical exception in a
    // log, a program that died, a toolkit warning. "" when there is none.
    std::string Faults();
    // The lines of the toolkit's warnings and critical messages on the programs' standard error;
    // "" when there are none. The machine the tests run on causes none of them: a road's
    // programs, printing without a print server included, print only warnings of other
    // libraries there (dconf without a session bus, colord and the system bus missing).
    std::string ToolkitWarnings() const;
    // The message boxes shown so far, one "caption<TAB>text" line each.
    std::string Messages() const;
    // The programs' log files, one after the other.
    std::string Logs() const;

    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    std::string Home() const { return m_folder.Path("home"); }

private:
    CTemporaryFolder m_folder;
    CProcess m_process;
    bool m_asNobody = false;
    bool m_inItsFolder = false;
    long m_fileSizeLimit = -1;  // none
};
