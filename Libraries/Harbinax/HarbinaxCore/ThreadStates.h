#pragma once

#include <cstddef>
#include <sys/types.h>
#include <sys/user.h>
#include <ucontext.h>

// The registers of one thread, as a core file carries them.
struct SThreadState {
    pid_t tid = 0;
    user_regs_struct registers = {};
    user_fpregs_struct floatRegisters = {};
    bool haveFloatRegisters = false;
};

// Stops every thread of the process and takes its registers, from inside a signal handler: each
// other thread is sent a reserved real-time signal whose handler stores its interrupted state and
// waits. A thread that blocks the signal, or does not answer within a bound, gets the stack
// pointer and instruction address the kernel shows for it. Needs no allocation.
class CThreadStates {
public:
    // At most this many threads are taken; the calling thread is always among them.
    static constexpr std::size_t kMaxThreads = 256;

    // Installs the handler of the reserved signal; call once before any capture.
    static bool Install();

    // Takes the states; the calling thread's comes first, from context (which must stay valid,
    // and its stack frames alive, while the states are used). The other threads stay stopped
    // until Release. The count of states; 0 while another capture is under way.
    static std::size_t Capture(const ucontext_t* context);
    static const SThreadState& State(std::size_t index);

    // Lets the stopped threads go on.
    static void Release();
};
