#include "support/TestPrintServer.h"

#include "support/TestFiles.h"
#include "support/WaitUntil.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

// GTK's development headers are not installed with wx's: the one call that chooses its print backends.
extern "C" {
void* gtk_settings_get_default();
void g_object_set(void* object, const char* name, ...);
}

namespace {

// Raw queues pass the job on unfiltered; the backend writes it whole under the name of its
// device address (written aside first, so a waiting test never reads half a job).
const char kBackend[] = R"(#!/bin/sh
[ $# -eq 0 ] && { echo 'direct capture "Unknown" "Test capture"'; exit 0; }
out=${DEVICE_URI#capture:}
if [ $# -ge 6 ]; then cat "$6" >"$out.part"; else cat >"$out.part"; fi
chmod 644 "$out.part" && mv "$out.part" "$out"
)";

}  // namespace

CTestPrintServer::~CTestPrintServer()
{
    Stop();
}

bool CTestPrintServer::Start(std::string& error)
{
    namespace fs = std::filesystem;
    const std::string root = m_folder.Path("");
    // The backend runs as the daemon's user ("lp" when we are root): it must reach the job folder.
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec, ignored);
    for (const char* name : {"spool", "cache", "state", "tmp", "jobs", "bin", "bin/backend"})
        fs::create_directories(root + name, ignored);
    fs::permissions(root + "jobs", fs::perms::all | fs::perms::sticky_bit, ignored);
    fs::permissions(root + "tmp", fs::perms::all | fs::perms::sticky_bit, ignored);
    // The daemon starts backends through its helpers in the server folder; ours adds the backend.
    fs::create_directory_symlink("/usr/lib/cups/daemon", root + "bin/daemon", ignored);
    WriteWholeFile(root + "bin/backend/capture", kBackend);
    chmod((root + "bin/backend/capture").c_str(), 0755);
    WriteWholeFile(root + "cupsd.conf", "Listen " + root + "cups.sock\n"
                                        "LogLevel warn\nWebInterface No\nBrowsing No\n"
                                        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                        "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                                        "  </Limit>\n</Policy>\n");
    WriteWholeFile(root + "cups-files.conf", "ServerRoot " + root + "\nStateDir " + root + "state\nCacheDir " + root +
                                                 "cache\nRequestRoot " + root + "spool\nTempDir " + root +
                                                 "tmp\nErrorLog " + root + "error_log\nAccessLog " + root +
                                                 "access_log\nPageLog " + root + "page_log\nServerBin " + root +
                                                 "bin\nDataDir /usr/share/cups\n");
    if (access("/usr/sbin/cupsd", X_OK) != 0) {
        error = "no CUPS daemon installed (package cups-daemon)";
        return false;
    }

    if (!m_daemon.Start({"/usr/sbin/cupsd", "-f", "-c", root + "cupsd.conf", "-s", root + "cups-files.conf"})) {
        error = "cannot start the CUPS daemon";
        return false;
    }

    const char* previous = std::getenv("CUPS_SERVER");
    m_hadServer = previous != nullptr;
    m_previousServer = previous ? previous : "";
    setenv("CUPS_SERVER", (root + "cups.sock").c_str(), 1);
    // The daemon takes a moment to listen; lpadmin fails until it does.
    const std::string printer = "ZephrinTestPrinter";
    // Its chatter is left aside: the daemon's log says what went wrong.
    const bool added = WaitUntil(std::chrono::seconds(60), [&] {
        return RunTool({"lpadmin", "-p", printer, "-E", "-v", "capture:" + root + "jobs/job"}).status == 0;
    });
    if (!added || RunTool({"lpadmin", "-d", printer}).status != 0) {
        error = "the CUPS daemon took no printer (see " + root + "error_log)";
        return false;
    }
    g_object_set(gtk_settings_get_default(), "gtk-print-backends", "cups", nullptr);
    return true;
}

void CTestPrintServer::Stop()
{
    if (m_daemon.Started()) {
        m_daemon.Stop();
        m_daemon = CProcess();
        if (m_hadServer)
            setenv("CUPS_SERVER", m_previousServer.c_str(), 1);
        else
            unsetenv("CUPS_SERVER");
    }
}

std::string CTestPrintServer::WaitForJob(int seconds) const
{
    const std::string job = m_folder.Path("jobs/job");
    return WaitUntil(std::chrono::seconds(seconds), [&] { return access(job.c_str(), R_OK) == 0; }) ? job : "";
}
