#include "HarbinaxCore/CrashReport.h"

#include "FilterChild.h"
#include "Platform/ProgramFolder.h"
#include "Quillet/LogManager.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using ::testing::ContainsRegex;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

// --- faults, kept away from the compiler's and the sanitizers' eyes ----------------------------

__attribute__((noinline, no_sanitize("undefined"))) void ReadFromNull()
{
    volatile int* volatile source = nullptr;
    volatile int value = *source;
    (void)value;
}

__attribute__((noinline, no_sanitize("undefined"))) void DivideByZero()
{
    volatile int numerator = 7;
    volatile int denominator = 0;
    volatile int quotient = numerator / denominator;
    (void)quotient;
}

__attribute__((noinline)) void IllegalInstruction()
{
    __builtin_trap();
}

__attribute__((noinline)) void Abort()
{
    std::abort();
}

void SentSegmentationFault()
{
    raise(SIGSEGV);
}

void Throw()
{
    throw std::runtime_error("nobody catches this");
}

// An exception leaving a noexcept function ends in std::terminate, past any catch of the test
// framework.
__attribute__((noinline)) void UncaughtException() noexcept
{
    void (*volatile thrower)() = Throw;
    thrower();
}

volatile int recursionLimit = 1 << 30;

__attribute__((noinline)) int Recurse(int depth)
{
    if (depth == recursionLimit)
        return 0;
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return Recurse(depth + 1) + frame[0];
}

__attribute__((noinline)) void OverflowStack()
{
    volatile int result = Recurse(0);
    (void)result;
}

// --- a program folder of our own ---------------------------------------------------------------

bool Exists(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

class CrashReport : public ::testing::Test {
protected:
    std::string ReportPath() const { return m_folder + "ERRORLOG.TXT"; }
    std::string ArgumentsPath() const { return m_folder + "vexmora-arguments"; }

    // A stand-in crash-report program that records its arguments, one a line.
    void AddReporter() const
    {
        ASSERT_TRUE(WriteScript(m_folder + "Vexmora",
                                "#!/bin/sh\n"
                                "printf '%s\\n' \"$#\" \"$@\" > \"$(dirname \"$0\")/arguments.tmp\"\n"
                                "mv \"$(dirname \"$0\")/arguments.tmp\" \"$(dirname \"$0\")/vexmora-arguments\"\n"));
    }

    // Runs body in a child that installed the filter as the program programName in our folder;
    // the child's wait status. Its stderr goes to the file "stderr" in the folder.
    int RunChild(const std::string& programName, const std::function<void()>& body,
                 const std::function<void()>& beforeInstall = {}) const
    {
        return RunFilteredChild(m_folder + programName, m_folder + "stderr", body, beforeInstall);
    }

    CTemporaryFolder m_temporary;
    const std::string m_folder = m_temporary.Path("");
};

::testing::AssertionResult DiedOf(int status, int signal)
{
    if (WIFSIGNALED(status) && WTERMSIG(status) == signal)
        return ::testing::AssertionSuccess();
    if (WIFSIGNALED(status))
        return ::testing::AssertionFailure() << "died of signal " << WTERMSIG(status) << ", not " << signal;
    return ::testing::AssertionFailure() << "exited with " << WEXITSTATUS(status) << " instead of dying of "
                                         << signal;
}

// --- the report --------------------------------------------------------------------------------

TEST_F(CrashReport, WriteToAddressZeroGivesTheWholeReportInItsOwnFile)
{
    std::ofstream(ReportPath()) << "report of an earlier crash";
    ASSERT_TRUE(DiedOf(RunChild("Zephrin", WriteToNull), SIGSEGV));

    const std::string report = ReadWholeFile(ReportPath());
    const std::string self = ExecutablePath();
    EXPECT_THAT(report, StartsWith("Zephrin caused an Access Violation (0xc0000005) \r\nin module " + self + " at 0033:"));
    EXPECT_THAT(report, Not(HasSubstr("earlier crash")));
    EXPECT_THAT(report, Not(HasSubstr("Critical Exception")));
    EXPECT_THAT(report, HasSubstr("\r\n\r\nException handler called in cvUnhandledExceptionFilter.\r\n"));
    EXPECT_THAT(report, ContainsRegex("\r\nError occurred at [0-9]{1,2}/[0-9]{1,2}/[0-9]{4} "
                                      "[0-9]{2}:[0-9]{2}:[0-9][02468]:[0-9]{1,3}\\.\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\n" + m_folder + "Zephrin, run by "));
    EXPECT_THAT(report, HasSubstr("\r\nOperating system:  "));
    EXPECT_THAT(report, ContainsRegex("\r\n[0-9]+% memory in use\\.\r\n[0-9]+ MBytes physical memory\\.\r\n"
                                      "[0-9]+ MBytes physical memory free\\.\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\nWrite to location 00000000 caused an access violation.\r\n"));
    EXPECT_THAT(report, HasSubstr("\r\n\r\nContext:\r\nRDI:    0x"));
    EXPECT_THAT(report, ContainsRegex("\r\nRIP:    0x[0-9a-f]{16}  RBP: 0x[0-9a-f]{16}  SegCs: 0x00000033\r\n"));
    EXPECT_THAT(report, ContainsRegex("\r\nBytes at CS:EIP:\r\n([0-9a-f]{2} ){16}\r\n"));
    // Stack lines: address, four 32-bit words, their bytes as characters.
    EXPECT_THAT(report, ContainsRegex("\r\n\r\nStack:\r\n0x[0-9a-f]{8,}: ([0-9a-f]{8} ){4}[^\r\n]{16}\r\n0x"));
    EXPECT_THAT(report, HasSubstr("\r\nModule 1\r\n" + self + "\r\nImage Base: 0x"));
    EXPECT_THAT(report, ContainsRegex("\r\nModule [0-9]+\r\n[^\r]*/libc\\.so\\.6\r\n"));
    // The program's own module line: the build id that tells its build, and its version record.
    EXPECT_THAT(report, ContainsRegex("\r\nModule 1\r\n[^\r]+\r\nImage Base: 0x[0-9a-f]+  Image Size: 0x[0-9a-f]+\r\n"
                                      "Build ID:   [0-9a-f]{40}\r\nFile Size:  "));
    EXPECT_THAT(report, HasSubstr("Version Information:\r\n"
                                  "   Company:    Vortex Test Works\r\n"
                                  "   Product:    Zephrin sizing\r\n"
                                  "   FileDesc:   Crash report test program – Größe\r\n"
                                  "   FileVer:    5.6.7.8\r\n"
                                  "   ProdVer:    5.6.0.1\r\n"));
    EXPECT_THAT(report, EndsWith("\r\n\r\n===== [end of ERRORLOG.TXT] =====\r\n"));
}

TEST_F(CrashReport, EachFaultGivesItsCodeAndText)
{
    struct Case {
        const char* name;
        void (*fault)();
        int signal;
        const char* heading;
    };
    const Case cases[] = {
        {"read from address 0", ReadFromNull, SIGSEGV,
         "Zephrin caused an Access Violation (0xc0000005) "},
        {"integer division by zero", DivideByZero, SIGFPE, "Zephrin caused an Integer Divide by Zero (0xc0000094) "},
        {"illegal instruction", IllegalInstruction, SIGILL, "Zephrin caused an Illegal Instruction (0xc000001d) "},
        {"abort", Abort, SIGABRT, "Zephrin caused an Unknown exception type (0x00000006) "},
        {"uncaught C++ exception", UncaughtException, SIGABRT,
         "Zephrin caused a Microsoft C++ Exception (0xe06d7363) "},
        {"stack overflow", OverflowStack, SIGSEGV, "Zephrin caused an Access Violation (0xc0000005) "},
        // Sent, not a fault: there is no address to report.
        {"segmentation fault sent", SentSegmentationFault, SIGSEGV, "Zephrin caused an Access Violation (0xc0000005) "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(ReportPath().c_str());
        EXPECT_TRUE(DiedOf(RunChild("Zephrin", c.fault), c.signal));
        const std::string report = ReadWholeFile(ReportPath());
        EXPECT_THAT(report, StartsWith(c.heading));
        EXPECT_THAT(report, EndsWith("===== [end of ERRORLOG.TXT] =====\r\n"));
        EXPECT_EQ(c.fault == ReadFromNull, report.find("Read from location 00000000 caused an access violation.") !=
                                               std::string::npos);
        if (c.fault == SentSegmentationFault) {
            EXPECT_THAT(report, Not(HasSubstr("caused an access violation."))) << report.substr(0, 400);
        }
    }
}

// A thread the program starts has its own signal stack, so an overflow there is reported too.
TEST_F(CrashReport, StackOverflowInAWorkerThreadIsReported)
{
    ASSERT_TRUE(DiedOf(RunChild("Zephrin",
                                [] {
                                    std::thread worker([] {
                                        CThreadSignalStack stack;
                                        if (!stack.IsInstalled())
                                            _exit(91);
                                        OverflowStack();
                                    });
                                    worker.join();
                                }),
                       SIGSEGV));
    EXPECT_THAT(ReadWholeFile(ReportPath()), StartsWith("Zephrin caused an Access Violation (0xc0000005) "));

    // A worker that ends gives its stack back; the next one makes its own.
    for (int i = 0; i < 3; ++i) {
        std::thread([] { CThreadSignalStack stack; EXPECT_TRUE(stack.IsInstalled()); }).join();
    }
}

TEST_F(CrashReport, UncaughtExceptionIsStillNamedOnStandardError)
{
    ASSERT_TRUE(DiedOf(RunChild("Zephrin", UncaughtException), SIGABRT));
    EXPECT_THAT(ReadWholeFile(m_folder + "stderr"), HasSubstr("nobody catches this"));
    EXPECT_THAT(ReadWholeFile(ReportPath()), HasSubstr("Exception handler called in cvUnhandledExceptionFilter."));
}

TEST_F(CrashReport, WithAnOpenLogTheReportLandsBetweenMarkers)
{
    const std::string logPath = m_folder + "Zephrin.log";
    const int status = RunChild("Zephrin", [&] {
        CLogManager* log = CLogManager::GetInstance();
        if (!log->Open(logPath.c_str(), LOGLEVEL_TRACE))
            _exit(91);
        log->GetLogger("CTest", LOGLEVEL_PARENT).Info("before the crash");
        WriteToNull();
    });
    ASSERT_TRUE(DiedOf(status, SIGSEGV));

    EXPECT_FALSE(Exists(ReportPath()));
    const std::string log = ReadWholeFile(logPath);
    const std::size_t line = log.find("before the crash\n");
    const std::size_t start = log.find("\r\n*********** Critical Exception START ***********\r\n"
                                       "Zephrin caused an Access Violation (0xc0000005) ");
    ASSERT_NE(std::string::npos, line) << log;
    ASSERT_NE(std::string::npos, start) << log;
    EXPECT_LT(line, start);
    EXPECT_THAT(log.substr(start), HasSubstr("Write to location 00000000 caused an access violation."));
    EXPECT_THAT(log.substr(start), HasSubstr("\r\nModule 1\r\n"));
    EXPECT_THAT(log, EndsWith("\r\n\r\n*********** Critical Exception END *************"));
    EXPECT_THAT(log, Not(HasSubstr("[end of")));
    // The dump still goes beside the program.
    EXPECT_TRUE(Exists(m_folder + "Zephrin.CRASH.DMP"));
}

TEST_F(CrashReport, CrashReportProgramGetsTheProgramFileName)
{
    AddReporter();
    ASSERT_TRUE(DiedOf(RunChild("Zephrin.bin", WriteToNull), SIGSEGV));
    EXPECT_EQ("1\nZephrin.bin\n", WaitForFile(ArgumentsPath(), std::chrono::seconds(60)));
    // The report names the program without the text from its last '.'.
    EXPECT_THAT(ReadWholeFile(ReportPath()), StartsWith("Zephrin caused an Access Violation"));
}

TEST_F(CrashReport, NothingIsStartedUnderADebugger)
{
    AddReporter();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(92);
        Platform::SetProgramPathForTesting(m_folder + "Zephrin");
        if (!InstallUnhandledExceptionFilter())
            _exit(90);
        WriteToNull();
        _exit(0);
    }
    // Act as the debugger: pass every signal on, as one that lets the program fault would.
    int status = 0;
    while (waitpid(child, &status, 0) == child && WIFSTOPPED(status))
        ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void*>(static_cast<long>(WSTOPSIG(status))));
    if (WIFEXITED(status) && WEXITSTATUS(status) == 92)
        GTEST_SKIP() << "tracing is not allowed here";
    ASSERT_TRUE(DiedOf(status, SIGSEGV));

    EXPECT_THAT(ReadWholeFile(ReportPath()), StartsWith("Zephrin caused an Access Violation"));
    EXPECT_EQ("", WaitForFile(ArgumentsPath(), std::chrono::seconds(2)));
}

TEST_F(CrashReport, OnlyTheFirstFaultReports)
{
    AddReporter();
    const int status = RunChild("Zephrin", [&] {
        SExceptionPointers pointers;
        pointers.code = 0xC0000094;
        if (cvUnhandledExceptionFilter(&pointers) != 1)
            _exit(93);
        if (std::remove(ReportPath().c_str()) != 0)
            _exit(94);
        if (cvUnhandledExceptionFilter(&pointers) != 0)
            _exit(95);
        WriteToNull();
    });
    ASSERT_TRUE(DiedOf(status, SIGSEGV));
    EXPECT_FALSE(Exists(ReportPath()));
    EXPECT_EQ("1\nZephrin\n", WaitForFile(ArgumentsPath(), std::chrono::seconds(60)));
}

TEST_F(CrashReport, ReportFileThatCannotBeCreatedIsSaidOnStandardError)
{
    AddReporter();
    mkdir((m_folder + "gone").c_str(), 0755);
    const int status = RunChild("gone/Zephrin", [&] {
        rmdir((m_folder + "gone").c_str());
        WriteToNull();
    });
    ASSERT_TRUE(DiedOf(status, SIGSEGV));
    EXPECT_EQ("Error creating exception report\r\n", ReadWholeFile(m_folder + "stderr"));
    EXPECT_EQ("", WaitForFile(ArgumentsPath(), std::chrono::seconds(1)));
}

// --- the code table ----------------------------------------------------------------------------

TEST(ExceptionCodes, SignalsMapToTheReportCodes)
{
    struct Case {
        int signal;
        int signalCode;
        std::uint32_t code;
        const char* text;
    };
    const Case cases[] = {
        {SIGSEGV, SEGV_MAPERR, 0xC0000005, "an Access Violation"},
        {SIGSEGV, SEGV_ACCERR, 0xC0000005, "an Access Violation"},
        {SIGFPE, FPE_INTDIV, 0xC0000094, "an Integer Divide by Zero"},
        {SIGFPE, FPE_INTOVF, 0xC0000095, "an Integer Overflow"},
        {SIGFPE, FPE_FLTDIV, 0xC000008E, "a Float Divide by Zero"},
        {SIGFPE, FPE_FLTINV, 0xC0000090, "a Float Invalid Operation"},
        {SIGILL, ILL_ILLOPN, 0xC000001D, "an Illegal Instruction"},
        {SIGILL, ILL_PRVOPC, 0xC0000096, "a Privileged Instruction"},
        {SIGBUS, BUS_ADRALN, 0x80000002, "a Datatype Misalignment"},
        {SIGBUS, BUS_OBJERR, 0xC0000006, "an In Page Error"},
        {SIGABRT, SI_TKILL, SIGABRT, "an Unknown exception type"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.code, ExceptionCodeForSignal(c.signal, c.signalCode)) << c.signal << "/" << c.signalCode;
        EXPECT_STREQ(c.text, ExceptionText(c.code)) << std::hex << c.code;
    }
    EXPECT_STREQ("a Microsoft C++ Exception", ExceptionText(CPP_EXCEPTION_CODE));
    EXPECT_STREQ("a Stack Overflow", ExceptionText(0xC00000FD));
    EXPECT_STREQ("an Unknown exception type", ExceptionText(0x12345678));
}

}  // namespace
