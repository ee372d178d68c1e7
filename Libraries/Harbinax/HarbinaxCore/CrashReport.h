#pragma once

#include <csignal>
#include <cstdint>
#include <ucontext.h>

// What a fault hands to the exception filter: the report's exception code (see
// ExceptionCodeForSignal), the signal (0 for an uncaught C++ exception) and the signal's details
// and registers at the fault, each of which may be NULL.
struct SExceptionPointers {
    std::uint32_t code = 0;
    int signal = 0;
    const siginfo_t* info = nullptr;
    const ucontext_t* context = nullptr;
};

// The code an uncaught C++ exception is reported with.
constexpr std::uint32_t CPP_EXCEPTION_CODE = 0xE06D7363;

// The exception code a fault signal is reported with: a segmentation fault is an access
// violation (0xC0000005), an integer division by zero 0xC0000094, an illegal instruction
// 0xC000001D, and so on for the finer signal codes; a signal without a counterpart (SIGABRT)
// gives its own number, which ExceptionText calls an unknown exception type.
std::uint32_t ExceptionCodeForSignal(int signal, int signalCode);

// "an Access Violation" and its sisters; "an Unknown exception type" for any other code.
const char* ExceptionText(std::uint32_t code);

// Installs cvUnhandledExceptionFilter for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT on an
// alternate signal stack of the calling thread, and as the handler of uncaught C++ exceptions.
// Everything the report needs that would allocate (paths, names, versions, system texts, the
// crash-report program's start-up settings) is taken in here, so call it once the program path
// is final. False when a handler could not be installed.
bool InstallUnhandledExceptionFilter();

// A signal stack for the calling thread, so that a stack overflow there still reaches the
// report: a signal handler needs stack room, and the one installed by
// InstallUnhandledExceptionFilter serves only the thread that called it. Every other thread
// the program starts makes one first thing and keeps it to its end. A thread that already has
// one large enough (a sanitizer's) keeps it.
class CThreadSignalStack {
public:
    CThreadSignalStack();
    ~CThreadSignalStack();
    CThreadSignalStack(const CThreadSignalStack&) = delete;
    CThreadSignalStack& operator=(const CThreadSignalStack&) = delete;

    // False when the thread has no signal stack (no memory for it).
    bool IsInstalled() const { return m_installed; }

private:
    void* m_memory = nullptr;  // ours, when we made it
    bool m_installed = false;
};

// Writes the crash report (into the open log between START and END markers, else into
// ERRORLOG.TXT beside the program) and a core file "<program name>.CRASH.DMP" beside the program
// (see WriteMiniDump; skipped when it cannot be created), then starts the crash-report program
// Vexmora from the program folder with the program's file name as its argument, unless a
// debugger is attached. Only the
// first call of the process reports; every later one, also a fault while reporting, writes
// nothing. Uses write(2) on static buffers only, so it may run inside a signal handler.
// 1 when the crash-report program was started, else 0.
int cvUnhandledExceptionFilter(const SExceptionPointers* pointers);
int WriteFaultReport(const SExceptionPointers* pointers, const char* handlerName);
