#include "EndToEnd/InstalledProgram.h"

#include "support/DesktopDriver.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace fs = std::filesystem;

const char kMainWindowTitle[] = "^QMR Vortex Sizing";

namespace {

std::string ProgramDir()
{
    const char* dir = std::getenv("ZEPHRIN_PROGRAM_DIR");
    return dir ? dir : "";
}

}  // namespace

CInstalledProgram::CInstalledProgram()
{
    const fs::path from = ProgramDir();
    EXPECT_TRUE(fs::is_regular_file(from / "Zephrin")) << from;
    std::error_code error;
    // What scripts/run.sh leaves beside the program, logs of earlier runs aside.
    for (const char* name : {"Zephrin", "Renovix", "Zephrin.db", "Zephrin.cfg", "email_en.txt", "email_de.txt"}) {
        if (fs::exists(from / name)) {
            EXPECT_TRUE(fs::copy_file(from / name, m_folder.Path(name), error)) << name << ": " << error.message();
        }
    }
    fs::copy(from / "Reports", m_folder.Path("Reports"), fs::copy_options::recursive, error);
    EXPECT_FALSE(error) << error.message();
    // A blinking caret keeps changing the window, which then never looks settled to a road
    // waiting for a page to be drawn.
    fs::create_directories(Home() + "/.config/gtk-3.0");
    WriteWholeFile(Home() + "/.config/gtk-3.0/settings.ini", "[Settings]\ngtk-cursor-blink=false\n");
    fs::create_directories(m_folder.Path("run"));
    fs::permissions(m_folder.Path("run"), fs::perms::owner_all);
}

CInstalledProgram::~CInstalledProgram()
{
    if (Running()) {
        ::kill(m_pid, SIGKILL);
        Wait();
    }
}

std::string CInstalledProgram::Start(const std::vector<std::string>& variables, const std::string& program,
                                     const std::string& title)
{
    std::vector<std::string> environment = {"HOME=" + Home(),
                                            "XDG_CONFIG_HOME=" + Home() + "/.config",
                                            "XDG_RUNTIME_DIR=" + m_folder.Path("run"),
                                            "ZEPHRIN_MESSAGE_LOG=" + m_folder.Path("messages.txt"),
                                            // No accessibility bus to wait for.
                                            "NO_AT_BRIDGE=1"};
    environment.insert(environment.end(), variables.begin(), variables.end());
    m_ended = false;
    m_pid = StartProgram({m_folder.Path(program)}, environment);
    if (m_pid <= 0)
        return "";
    return CDesktopDriver::WaitForWindow(title, 90);
}

bool CInstalledProgram::Running()
{
    if (m_pid <= 0 || m_ended)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
        return true;
    m_ended = true;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return false;
}

int CInstalledProgram::Wait()
{
    if (m_pid <= 0)
        return -1;
    if (!m_ended) {
        m_status = WaitForProgram(m_pid);
        m_ended = true;
    }
    return m_status;
}

std::string CInstalledProgram::Faults()
{
    std::string faults;
    if (m_pid > 0 && !Running() && m_status != 0)
        faults += "the program ended with status " + std::to_string(m_status) + "; ";
    for (const char* dump : {"Zephrin.CRASH.DMP", "Renovix.CRASH.DMP"}) {
        if (fs::exists(m_folder.Path(dump)))
            faults += std::string("a crash dump was left: ") + dump + "; ";
    }
    const std::string logs = ReadLogFiles(m_folder.Path("")) + ReadWholeFile(m_folder.Path("ERRORLOG.TXT"));
    if (logs.find("Critical Exception") != std::string::npos)
        faults += "a critical exception was logged; ";
    return faults;
}

std::string CInstalledProgram::Messages() const
{
    return ReadWholeFile(m_folder.Path("messages.txt"));
}
