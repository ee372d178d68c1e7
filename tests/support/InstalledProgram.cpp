#include "support/InstalledProgram.h"

#include "support/ChildProcess.h"
#include "support/DesktopDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <unistd.h>

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

CProcess CInstalledProgram::Launch(const std::vector<std::string>& variables, const std::string& program,
                                   const std::vector<std::string>& arguments)
{
    std::vector<std::string> environment = {"HOME=" + Home(),
                                            "XDG_CONFIG_HOME=" + Home() + "/.config",
                                            "XDG_RUNTIME_DIR=" + m_folder.Path("run"),
                                            "ZEPHRIN_MESSAGE_LOG=" + m_folder.Path("messages.txt"),
                                            // No accessibility bus to wait for.
                                            "NO_AT_BRIDGE=1"};
    environment.insert(environment.end(), variables.begin(), variables.end());
    std::vector<std::string> argv = {m_folder.Path(program)};
    if (m_asNobody) {
        const std::string id = std::to_string(kNobody);
        argv.insert(argv.begin(), {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"});
    }
    if (m_fileSizeLimit >= 0) {
        const std::string limit = std::to_string(m_fileSizeLimit);
        argv.insert(argv.begin(), {"prlimit", "--fsize=" + limit + ":" + limit, "--"});
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    CProcess process;
    process.Start(argv, environment, std::string(), m_folder.Path("stderr.txt"),
                  m_inItsFolder ? m_folder.Path("") : std::string());
    return process;
}

bool CInstalledProgram::StartAsOrdinaryUser()
{
    if (geteuid() != 0)
        return true;
    std::error_code error;
    fs::permissions(m_folder.Path(""), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec, error);
    if (error)
        return false;
    WriteWholeFile(m_folder.Path("messages.txt"), ReadWholeFile(m_folder.Path("messages.txt")));
    bool given = GiveToUnprivileged(m_folder.Path("messages.txt")) && GiveToUnprivileged(m_folder.Path("run"));
    for (const auto& entry : fs::recursive_directory_iterator(Home(), error))
        given = given && GiveToUnprivileged(entry.path().string());
    m_asNobody = given && !error && GiveToUnprivileged(Home());
    return m_asNobody;
}

std::string CInstalledProgram::Start(const std::vector<std::string>& variables, const std::string& program,
                                     const std::string& title)
{
    m_process = Launch(variables, program);
    if (!m_process.Started())
        return "";
    return CDesktopDriver::WaitForWindow(title, 90);
}

std::string CInstalledProgram::Faults()
{
    std::string faults;
    if (m_process.Started() && !m_process.Running() && m_process.Status() != 0)
        faults += "the program ended with status " + std::to_string(m_process.Status()) + "; ";
    for (const char* dump : {"Zephrin.CRASH.DMP", "Renovix.CRASH.DMP"}) {
        if (fs::exists(m_folder.Path(dump)))
            faults += std::string("a crash dump was left: ") + dump + "; ";
    }
    const std::string logs = Logs() + ReadWholeFile(m_folder.Path("ERRORLOG.TXT"));
    if (logs.find("Critical Exception") != std::string::npos)
        faults += "a critical exception was logged; ";
    const std::string warnings = ToolkitWarnings();
    if (!warnings.empty())
        faults += "the toolkit warned:\n" + warnings;
    return faults;
}

std::string CInstalledProgram::ToolkitWarnings() const
{
    std::istringstream errors(ReadWholeFile(m_folder.Path("stderr.txt")));
    std::string warnings;
    for (std::string line; std::getline(errors, line);) {
        if (line.find("Gtk-WARNING") != std::string::npos || line.find("Gtk-CRITICAL") != std::string::npos)
            warnings += line + "\n";
    }
    return warnings;
}

std::string CInstalledProgram::Messages() const
{
    return ReadWholeFile(m_folder.Path("messages.txt"));
}

std::string CInstalledProgram::Logs() const
{
    std::string text;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder.Path(""))) {
        if (entry.path().extension() == ".log")
            text += ReadWholeFile(entry.path().string());
    }
    return text;
}
