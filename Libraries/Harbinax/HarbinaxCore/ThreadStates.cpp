#include "HarbinaxCore/ThreadStates.h"

#include "HarbinaxCore/SignalSafeRead.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <sys/syscall.h>

namespace {

// Unused by the libraries we link; glibc keeps the lowest real-time signals for itself.
int StateSignal()
{
    return SIGRTMAX - 3;
}

// How long the caller waits for all answers, and how long a stopped thread waits for Release at
// most, so that neither side can hang the process.
constexpr long kAnswerWaitMs = 2000;
constexpr long kStoppedWaitMs = 30000;

SThreadState states[CThreadStates::kMaxThreads];
SThreadState silentStates[CThreadStates::kMaxThreads];
const SThreadState* taken[CThreadStates::kMaxThreads];
std::atomic<bool> stateReady[CThreadStates::kMaxThreads];
std::atomic<bool> installed{false};
std::atomic<bool> capturing{false};
std::atomic<bool> released{true};
std::atomic<std::size_t> nextSlot{1};
std::atomic<int> answers{0};
char dirBuffer[4096];
char lineBuffer[512];

void Pause()
{
    const timespec millisecond = {0, 1000 * 1000};
    nanosleep(&millisecond, nullptr);
}

unsigned long long ThreadPointer()
{
#if defined(__x86_64__)
    // The thread control block points at itself; its address is the fs base.
    unsigned long long self;
    asm volatile("mov %%fs:0, %0" : "=r"(self));
    return self;
#else
    return 0;
#endif
}

void FillState(SThreadState& state, pid_t tid, const ucontext_t* context)
{
    state = SThreadState();
    state.tid = tid;
#if defined(__x86_64__)
    const greg_t* g = context->uc_mcontext.gregs;
    const auto u = [](greg_t value) { return static_cast<unsigned long long>(value); };
    user_regs_struct& r = state.registers;
    r.r15 = u(g[REG_R15]), r.r14 = u(g[REG_R14]), r.r13 = u(g[REG_R13]), r.r12 = u(g[REG_R12]);
    r.rbp = u(g[REG_RBP]), r.rbx = u(g[REG_RBX]), r.r11 = u(g[REG_R11]), r.r10 = u(g[REG_R10]);
    r.r9 = u(g[REG_R9]), r.r8 = u(g[REG_R8]), r.rax = u(g[REG_RAX]), r.rcx = u(g[REG_RCX]);
    r.rdx = u(g[REG_RDX]), r.rsi = u(g[REG_RSI]), r.rdi = u(g[REG_RDI]);
    r.orig_rax = ~0ULL;  // not inside a system call that would be restarted
    r.rip = u(g[REG_RIP]), r.eflags = u(g[REG_EFL]), r.rsp = u(g[REG_RSP]);
    // cs, gs, fs and ss, 16 bits each; getcontext leaves them 0, and user code always runs in the
    // same two segments.
    const unsigned long long segments = u(g[REG_CSGSFS]);
    r.cs = (segments & 0xffff) != 0 ? segments & 0xffff : 0x33;
    r.ss = (segments >> 48) != 0 ? segments >> 48 : 0x2b;
    r.fs_base = ThreadPointer();
    if (context->uc_mcontext.fpregs != nullptr) {
        static_assert(sizeof(state.floatRegisters) == sizeof(*context->uc_mcontext.fpregs), "FXSAVE layout");
        std::memcpy(&state.floatRegisters, context->uc_mcontext.fpregs, sizeof(state.floatRegisters));
        state.haveFloatRegisters = true;
    }
#else
    (void)context;
#endif
}

void OnStateSignal(int, siginfo_t* info, void* context)
{
    if (info == nullptr || info->si_code != SI_TKILL || info->si_pid != getpid() || !capturing.load())
        return;
    const int savedErrno = errno;
    const std::size_t slot = nextSlot.fetch_add(1);
    if (slot < CThreadStates::kMaxThreads) {
        FillState(states[slot], static_cast<pid_t>(syscall(SYS_gettid)), static_cast<const ucontext_t*>(context));
        stateReady[slot].store(true);
    }
    answers.fetch_add(1);
    for (long waited = 0; !released.load() && waited < kStoppedWaitMs; ++waited)
        Pause();
    errno = savedErrno;
}

// "/proc/self/task/<tid>/<file>" into path.
void TaskPath(char (&path)[64], pid_t tid, const char* file)
{
    std::strcpy(path, "/proc/self/task/");
    char* end = path + std::strlen(path);
    char digits[16];
    int count = 0;
    for (unsigned value = static_cast<unsigned>(tid); value != 0 || count == 0; value /= 10)
        digits[count++] = static_cast<char>('0' + value % 10);
    while (count > 0)
        *end++ = digits[--count];
    std::strcpy(end, file);
}

// Asking a thread that blocks the signal would only cost the wait.
bool BlocksStateSignal(pid_t tid)
{
    char path[64];
    TaskPath(path, tid, "/status");
    bool blocked = false;
    ForEachLine(path, lineBuffer, [&](const char* line) {
        if (std::strncmp(line, "SigBlk:", 7) != 0)
            return true;
        blocked = (ParseNumber(line + 7, 16) >> (StateSignal() - 1) & 1) != 0;
        return false;
    });
    return blocked;
}

// For a thread that cannot answer: "<call> <six arguments> <sp> <pc>" while in a system call,
// "-1 <sp> <pc>" when blocked elsewhere, "running" otherwise. False when the thread is gone.
bool FillFromKernel(SThreadState& state, pid_t tid)
{
    state = SThreadState();
    state.tid = tid;
    state.registers.cs = 0x33;
    state.registers.ss = 0x2b;
    state.registers.orig_rax = ~0ULL;
    char path[64];
    TaskPath(path, tid, "/syscall");
    bool alive = false;
    ForEachLine(path, lineBuffer, [&](const char* line) {
        alive = true;
        unsigned long long fields[9];
        int found = 0;
        const char* at = line;
        while (*at != '\0' && found < 9) {
            while (*at == ' ')
                ++at;
            if (*at == '\0')
                break;
            if (at[0] == '0' && at[1] == 'x')
                fields[found++] = ParseNumber(at + 2, 16, &at);
            else if (at[0] >= '0' && at[0] <= '9')
                fields[found++] = ParseNumber(at, 10, &at);
            else if (at[0] == '-')
                fields[found++] = ~ParseNumber(at + 1, 10, &at) + 1;
            else
                break;
        }
        if (found == 9 || found == 3) {
            state.registers.rsp = fields[found - 2];
            state.registers.rip = fields[found - 1];
        }
        return false;
    });
    return alive;
}

}  // namespace

bool CThreadStates::Install()
{
    struct sigaction action = {};
    action.sa_sigaction = OnStateSignal;
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_ONSTACK;
    sigfillset(&action.sa_mask);
    installed = sigaction(StateSignal(), &action, nullptr) == 0;
    return installed;
}

std::size_t CThreadStates::Capture(const ucontext_t* context)
{
    bool idle = false;
    if (!capturing.compare_exchange_strong(idle, true))
        return 0;
    const pid_t self = static_cast<pid_t>(syscall(SYS_gettid));
    const pid_t process = getpid();
    FillState(states[0], self, context);
    for (auto& ready : stateReady)
        ready.store(false);
    nextSlot.store(1);
    answers.store(0);
    released.store(false);

    // Ask every other thread listed now; threads started meanwhile are not in the dump.
    pid_t others[kMaxThreads];
    std::size_t otherCount = 0;
    int asked = 0;
    const int dir = open("/proc/self/task", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        long got;
        while ((got = syscall(SYS_getdents64, dir, dirBuffer, sizeof(dirBuffer))) > 0) {
            for (long at = 0; at < got;) {
                const dirent64* entry = reinterpret_cast<const dirent64*>(dirBuffer + at);
                at += entry->d_reclen;
                const pid_t tid = static_cast<pid_t>(ParseNumber(entry->d_name, 10));
                if (tid <= 0 || tid == self || otherCount + 1 >= kMaxThreads)
                    continue;
                others[otherCount++] = tid;
                // Without our handler the signal would end the process.
                if (installed && !BlocksStateSignal(tid) && syscall(SYS_tgkill, process, tid, StateSignal()) == 0)
                    ++asked;
            }
        }
        close(dir);
    }
    for (long waited = 0; answers.load() < asked && waited < kAnswerWaitMs; ++waited)
        Pause();

    // A late answer finds no slot left, and the slots handed out are never moved: an answer may
    // still be filling one.
    const std::size_t slots = std::min<std::size_t>(nextSlot.exchange(kMaxThreads), kMaxThreads);
    std::size_t count = 0;
    taken[count++] = &states[0];
    for (std::size_t slot = 1; slot < slots; ++slot) {
        if (stateReady[slot].load())
            taken[count++] = &states[slot];
    }
    const std::size_t answered = count;
    for (std::size_t i = 0; i < otherCount && count < kMaxThreads; ++i) {
        bool found = false;
        for (std::size_t k = 1; k < answered && !found; ++k)
            found = taken[k]->tid == others[i];
        if (!found && FillFromKernel(silentStates[i], others[i]))
            taken[count++] = &silentStates[i];
    }
    return count;
}

const SThreadState& CThreadStates::State(std::size_t index)
{
    return *taken[index];
}

void CThreadStates::Release()
{
    released.store(true);
    capturing.store(false);
}
