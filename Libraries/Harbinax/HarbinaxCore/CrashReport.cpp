#include "HarbinaxCore/CrashReport.h"

#include "HarbinaxCore/FileVersionInfo.h"
#include "HarbinaxCore/MiniDump.h"
#include "HarbinaxCore/ReportWriter.h"
#include "HarbinaxCore/SignalSafeRead.h"
#include "HarbinaxCore/SystemVersion.h"
#include "Platform/ProgramFolder.h"
#include "Quillet/LogManager.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <fstream>
#include <link.h>
#include <pwd.h>
#include <spawn.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

const char* const kHandlerName = "cvUnhandledExceptionFilter";
const char* const kReportFileName = "ERRORLOG.TXT";
const char* const kReporterName = "Vexmora";
const char* const kDumpSuffix = ".CRASH.DMP";

constexpr std::size_t kMaxStackWords = 3072;
constexpr std::size_t kCodeBytes = 16;
// The user part of the x86-64 address space with four-level page tables.
constexpr unsigned long long kUserAddressSpace = 0x7ffffffff000ULL;
constexpr unsigned long long kMegabyte = 1048576;

const int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// Taken in when the filter is installed, so the report itself needs no allocation.
struct SPrepared {
    char programPath[PATH_MAX] = "Unknown";
    char programName[NAME_MAX + 1] = "Unknown";  // file name up to its last '.'
    char programFile[NAME_MAX + 1] = "Unknown";  // file name as it stands
    char reportPath[PATH_MAX] = {};
    char dumpPath[PATH_MAX] = {};
    char reporterPath[PATH_MAX] = {};
    char userName[199] = "Unknown";
    char systemName[256] = {};
    char systemVersion[64] = {};
    char servicePack[256] = {};
    long processors = 0;
    int processorType = 0;
    long utcOffset = 0;  // seconds east of UTC
    CFileVersionInfo programVersion;
    bool spawnReady = false;
    posix_spawn_file_actions_t spawnActions;
    posix_spawnattr_t spawnAttributes;
};

SPrepared prepared;
CReportWriter writer;
// Id of the thread that writes the report, 0 while none has started.
std::atomic<pid_t> reportingThread{0};
std::atomic<bool> reportDone{false};
std::terminate_handler previousTerminate = nullptr;
alignas(16) char alternateStack[64 * 1024];
char lineBuffer[4096];
unsigned char stackCopy[kMaxStackWords * 4];
char modulePath[PATH_MAX];

template <std::size_t N>
void CopyText(char (&target)[N], const std::string& text)
{
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

// The number after "key" in a /proc file of "Key: value" lines; 0 when missing.
unsigned long long ReadProcField(const char* path, const char* key)
{
    const std::size_t keyLength = std::strlen(key);
    unsigned long long value = 0;
    ForEachLine(path, lineBuffer, [&](const char* line) {
        if (std::strncmp(line, key, keyLength) != 0)
            return true;
        value = ParseNumber(line + keyLength, 10);
        return false;
    });
    return value;
}

bool DebuggerAttached()
{
    return ReadProcField("/proc/self/status", "TracerPid:") != 0;
}

// --- registers ---------------------------------------------------------------------------------

struct SRegisters {
    unsigned long long rdi = 0, rsi = 0, rax = 0, rbx = 0, rcx = 0, rdx = 0, rip = 0, rbp = 0, rsp = 0;
    unsigned long long r8 = 0, r9 = 0, r10 = 0, r11 = 0, r12 = 0, r13 = 0, r14 = 0, r15 = 0;
    unsigned eflags = 0, cs = 0, ss = 0;
    unsigned long long pageFaultError = 0;
};

SRegisters RegistersOf(const ucontext_t* context)
{
    SRegisters r;
#if defined(__x86_64__)
    if (context != nullptr) {
        const greg_t* g = context->uc_mcontext.gregs;
        const auto u = [](greg_t value) { return static_cast<unsigned long long>(value); };
        r.rdi = u(g[REG_RDI]), r.rsi = u(g[REG_RSI]), r.rax = u(g[REG_RAX]);
        r.rbx = u(g[REG_RBX]), r.rcx = u(g[REG_RCX]), r.rdx = u(g[REG_RDX]);
        r.rip = u(g[REG_RIP]), r.rbp = u(g[REG_RBP]), r.rsp = u(g[REG_RSP]);
        r.r8 = u(g[REG_R8]), r.r9 = u(g[REG_R9]), r.r10 = u(g[REG_R10]), r.r11 = u(g[REG_R11]);
        r.r12 = u(g[REG_R12]), r.r13 = u(g[REG_R13]), r.r14 = u(g[REG_R14]), r.r15 = u(g[REG_R15]);
        r.eflags = static_cast<unsigned>(g[REG_EFL]);
        // cs, gs, fs and (since Linux 4.6) ss, 16 bits each.
        r.cs = static_cast<unsigned>(u(g[REG_CSGSFS]) & 0xffff);
        r.ss = static_cast<unsigned>((u(g[REG_CSGSFS]) >> 48) & 0xffff);
        r.pageFaultError = u(g[REG_ERR]);
    }
#else
    (void)context;
#endif
    return r;
}

// --- time --------------------------------------------------------------------------------------

struct SDateTime {
    int year, month, day, hour, minute, second;
};

// Local time from seconds since the epoch, with the UTC offset taken at installation (the
// time-zone database cannot be read in a signal handler). Seconds in two-second steps, as the
// report has always shown them.
SDateTime LocalDateTime(long long seconds)
{
    seconds += prepared.utcOffset;
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01 (proleptic Gregorian).
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;
    SDateTime t;
    t.day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    t.month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60) & ~1;
    return t;
}

// "%d/%d/%d %02d:%02d:%02d" (month/day/year); the format string carries the rest.
#define DATE_TIME_FORMAT "%d/%d/%d %02d:%02d:%02d"
#define DATE_TIME_ARGS(t) (t).month, (t).day, (t).year, (t).hour, (t).minute, (t).second

// --- modules -----------------------------------------------------------------------------------

const char* ModuleName(const dl_phdr_info* info, bool first)
{
    if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
        return info->dlpi_name;
    if (first) {
        const ssize_t length = readlink("/proc/self/exe", modulePath, sizeof(modulePath) - 1);
        if (length > 0) {
            modulePath[length] = '\0';
            return modulePath;
        }
    }
    return "Unknown";
}

struct SModuleVisit {
    unsigned long long address;  // looked-for address
    const char* found;
    int number;
};

int FindModuleOf(dl_phdr_info* info, std::size_t, void* data)
{
    SModuleVisit* visit = static_cast<SModuleVisit*>(data);
    const bool first = visit->number++ == 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        const unsigned long long start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && visit->address >= start && visit->address - start < segment.p_memsz) {
            visit->found = ModuleName(info, first);
            return 1;
        }
    }
    return 0;
}

const char* ModuleOf(unsigned long long address)
{
    SModuleVisit visit = {address, "Unknown", 0};
    dl_iterate_phdr(FindModuleOf, &visit);
    return visit.found;
}

// The module's GNU build id in hex, from its note segments in memory (empty when it has none):
// what identifies the exact build of a module, where a checksum and time stamp would.
void ModuleBuildId(const dl_phdr_info* info, char* out, std::size_t size)
{
    out[0] = '\0';
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_NOTE)
            continue;
        const auto* note = reinterpret_cast<const unsigned char*>(info->dlpi_addr + segment.p_vaddr);
        const unsigned char* end = note + segment.p_memsz;
        while (note + sizeof(ElfW(Nhdr)) <= end) {
            const auto* header = reinterpret_cast<const ElfW(Nhdr)*>(note);
            const unsigned char* name = note + sizeof(ElfW(Nhdr));
            const unsigned char* desc = name + ((header->n_namesz + 3) & ~3u);
            const unsigned char* next = desc + ((header->n_descsz + 3) & ~3u);
            if (next > end)
                break;
            if (header->n_type == NT_GNU_BUILD_ID && header->n_namesz == 4 && std::memcmp(name, "GNU", 4) == 0) {
                static const char digits[] = "0123456789abcdef";
                std::size_t used = 0;
                for (unsigned j = 0; j < header->n_descsz && used + 2 < size; ++j) {
                    out[used++] = digits[desc[j] >> 4];
                    out[used++] = digits[desc[j] & 0xF];
                }
                out[used] = '\0';
                return;
            }
            note = next;
        }
    }
}

int WriteModule(dl_phdr_info* info, std::size_t, void* data)
{
    int& number = *static_cast<int*>(data);
    const bool first = number++ == 0;
    unsigned long long low = ~0ULL, high = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD)
            continue;
        low = std::min<unsigned long long>(low, segment.p_vaddr);
        high = std::max<unsigned long long>(high, segment.p_vaddr + segment.p_memsz);
    }
    if (high == 0)
        return 0;
    const char* path = ModuleName(info, first);

    long long fileSize = 0;
    bool haveFile = false;
    SDateTime fileTime = {};
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat status;
        if (fstat(fd, &status) == 0) {
            haveFile = true;
            fileSize = static_cast<long long>(status.st_size);
            fileTime = LocalDateTime(static_cast<long long>(status.st_mtime));
        }
        close(fd);
    }

    // Only our programs carry a version record, and none of our code is a shared library: the
    // other modules have 0.0.0.0 without their files being scanned, which would allocate.
    static const CFileVersionInfo noVersion;
    const CFileVersionInfo& version = first ? prepared.programVersion : noVersion;
    char company[199], product[199], description[199];
    version.GetCompanyName(company, sizeof(company));
    version.GetProductName(product, sizeof(product));
    version.GetFileDescription(description, sizeof(description));
    const unsigned short* fileVersion = version.GetFileVersion().part;
    const unsigned short* productVersion = version.GetProductVersion().part;

    writer.Printf("Module %d\r\n", number);
    writer.Printf("%s\r\n", path);
    writer.Printf("Image Base: 0x%08llx  Image Size: 0x%08llx\r\n", info->dlpi_addr + low, high - low);
    char buildId[129];
    ModuleBuildId(info, buildId, sizeof(buildId));
    writer.Printf("Build ID:   %s\r\n", buildId);
    if (haveFile)
        writer.Printf("File Size:  %-10lld  File Time:  " DATE_TIME_FORMAT "\r\n", fileSize, DATE_TIME_ARGS(fileTime));
    else
        writer.Printf("File Size:  %-10lld  File Time:  \r\n", fileSize);
    writer.Printf("Version Information:\r\n");
    writer.Printf("   Company:    %s\r\n", company);
    writer.Printf("   Product:    %s\r\n", product);
    writer.Printf("   FileDesc:   %s\r\n", description);
    writer.Printf("   FileVer:    %d.%d.%d.%d\r\n", fileVersion[0], fileVersion[1], fileVersion[2], fileVersion[3]);
    writer.Printf("   ProdVer:    %d.%d.%d.%d\r\n", productVersion[0], productVersion[1], productVersion[2],
                  productVersion[3]);
    writer.Printf("\r\n");
    return 0;
}

void WriteModuleList()
{
    int number = 0;
    dl_iterate_phdr(WriteModule, &number);
}

// --- report parts ------------------------------------------------------------------------------

void WriteSystemHeader()
{
    timespec now = {}, ticks = {};
    clock_gettime(CLOCK_REALTIME, &now);
    clock_gettime(CLOCK_MONOTONIC, &ticks);
    const SDateTime t = LocalDateTime(static_cast<long long>(now.tv_sec));
    const long long milliseconds = static_cast<long long>(ticks.tv_sec) * 1000 + ticks.tv_nsec / 1000000;
    writer.Printf("Error occurred at " DATE_TIME_FORMAT ":%d.\r\n", DATE_TIME_ARGS(t),
                  static_cast<int>(milliseconds % 1000));
    writer.Printf("%s, run by %s.\r\n", prepared.programPath, prepared.userName);
    writer.Printf("Operating system:  %s (%s) %s\r\n", prepared.systemName, prepared.systemVersion,
                  prepared.servicePack);
    writer.Printf("%ld processor(s), type %d\r\n", prepared.processors, prepared.processorType);

    // /proc/meminfo counts in kB.
    const unsigned long long total = ReadProcField("/proc/meminfo", "MemTotal:") * 1024;
    const unsigned long long available = ReadProcField("/proc/meminfo", "MemAvailable:") * 1024;
    const unsigned long long swapTotal = ReadProcField("/proc/meminfo", "SwapTotal:") * 1024;
    const unsigned long long swapFree = ReadProcField("/proc/meminfo", "SwapFree:") * 1024;
    const unsigned long long used = ReadProcField("/proc/self/status", "VmSize:") * 1024;
    const auto mb = [](unsigned long long bytes) { return (bytes + kMegabyte - 1) / kMegabyte; };
    const unsigned long long load = total == 0 || available > total ? 0 : (total - available) * 100 / total;
    writer.Printf("%llu%% memory in use.\r\n", load);
    writer.Printf("%llu MBytes physical memory.\r\n", mb(total));
    writer.Printf("%llu MBytes physical memory free.\r\n", mb(available));
    writer.Printf("%llu MBytes paging file.\r\n", mb(swapTotal));
    writer.Printf("%llu MBytes paging file free.\r\n", mb(swapFree));
    writer.Printf("%llu MBytes user address space.\r\n", mb(kUserAddressSpace));
    writer.Printf("%llu MBytes user address space free.\r\n",
                  mb(used < kUserAddressSpace ? kUserAddressSpace - used : 0));
}

void WriteRegisters(const SRegisters& r)
{
    writer.Printf("\r\n");
    writer.Printf("Context:\r\n");
    writer.Printf("RDI:    0x%016llx  RSI: 0x%016llx  RAX:   0x%016llx\r\n", r.rdi, r.rsi, r.rax);
    writer.Printf("RBX:    0x%016llx  RCX: 0x%016llx  RDX:   0x%016llx\r\n", r.rbx, r.rcx, r.rdx);
    writer.Printf("RIP:    0x%016llx  RBP: 0x%016llx  SegCs: 0x%08x\r\n", r.rip, r.rbp, r.cs);
    writer.Printf("EFlags: 0x%08x          RSP: 0x%016llx  SegSs: 0x%08x\r\n", r.eflags, r.rsp, r.ss);
    writer.Printf("R8:     0x%016llx  R9:  0x%016llx  R10:   0x%016llx\r\n", r.r8, r.r9, r.r10);
    writer.Printf("R11:    0x%016llx  R12: 0x%016llx  R13:   0x%016llx\r\n", r.r11, r.r12, r.r13);
    writer.Printf("R14:    0x%016llx  R15: 0x%016llx\r\n", r.r14, r.r15);
}

void WriteCodeBytes(unsigned long long address)
{
    unsigned char code[kCodeBytes];
    const std::size_t got = SafeRead(code, address, sizeof(code));
    writer.Printf("\r\nBytes at CS:EIP:\r\n");
    for (std::size_t i = 0; i < kCodeBytes; ++i) {
        if (i < got)
            writer.Printf("%02x ", code[i]);
        else
            writer.Printf("?? ");
    }
}

// Top of the mapping that holds the stack pointer: the stack's upper end. 0 when not found.
unsigned long long StackTop(unsigned long long stackPointer)
{
    unsigned long long top = 0;
    ForEachLine("/proc/self/maps", lineBuffer, [&](const char* line) {
        const char* rest = nullptr;
        const unsigned long long start = ParseNumber(line, 16, &rest);
        if (*rest != '-')
            return true;
        const unsigned long long end = ParseNumber(rest + 1, 16);
        if (stackPointer >= start && stackPointer < end) {
            top = end;
            return false;
        }
        return true;
    });
    return top;
}

void WriteStack(unsigned long long stackPointer)
{
    writer.Printf("\r\n\r\nStack:\r\n");
    const unsigned long long top = StackTop(stackPointer);
    std::size_t words = kMaxStackWords;
    if (top > stackPointer && (top - stackPointer) / 4 < words)
        words = static_cast<std::size_t>((top - stackPointer) / 4);
    const std::size_t got = SafeRead(stackCopy, stackPointer, words * 4) / 4;

    for (std::size_t line = 0; line < got; line += 4) {
        const std::size_t count = std::min<std::size_t>(4, got - line);
        writer.Printf("0x%08llx: ", stackPointer + line * 4);
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t word;
            std::memcpy(&word, stackCopy + (line + i) * 4, 4);
            writer.Printf("%08x ", word);
        }
        for (std::size_t i = count; i < 4; ++i)
            writer.Printf("         ");
        for (std::size_t i = 0; i < count * 4; ++i) {
            const unsigned char c = stackCopy[line * 4 + i];
            // Bytes above 127 too: the log is UTF-8 and a stray byte would break it.
            writer.Printf("%c", c < 32 || c >= 127 ? '.' : c);
        }
        writer.Printf("\r\n");
    }
    if (got < words)
        writer.Printf("Exception encountered during stack dump.\r\n");
    else
        writer.Printf("\r\n");
}

// The dump beside the program, created anew. A link or a file of someone else's in its place is
// neither followed nor removed: then there is no dump.
void WriteDumpFile(const SExceptionPointers* pointers)
{
    struct stat old;
    if (lstat(prepared.dumpPath, &old) == 0 && S_ISREG(old.st_mode) && old.st_uid == geteuid())
        unlink(prepared.dumpPath);
    // Only the user may read it: it holds the process's memory.
    const int fd = open(prepared.dumpPath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const bool written = WriteMiniDump(fd, pointers);
    close(fd);
    // Half a dump would only mislead whoever opens it.
    if (!written)
        unlink(prepared.dumpPath);
}

void DebuggerOutput(const char* text)
{
    const ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

int StartReporter()
{
    if (!prepared.spawnReady || prepared.reporterPath[0] == '\0')
        return 0;
    char* const argv[] = {prepared.reporterPath, prepared.programFile, nullptr};
    pid_t child = 0;
    return posix_spawn(&child, prepared.reporterPath, &prepared.spawnActions, &prepared.spawnAttributes, argv,
                       environ) == 0
               ? 1
               : 0;
}

// Only the first fault of the process reports. A fault of another thread meanwhile waits for
// that report to end rather than cutting it off by ending the process; a fault while reporting
// (same thread) gives up at once.
bool ClaimReport()
{
    const pid_t self = gettid();
    pid_t expected = 0;
    if (reportingThread.compare_exchange_strong(expected, self))
        return true;
    if (expected != self) {
        const timespec pause = {0, 10 * 1000 * 1000};
        while (!reportDone.load())
            nanosleep(&pause, nullptr);
    }
    return false;
}

// --- installation ------------------------------------------------------------------------------

void RestoreDefaultAndRaise(int signal)
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    // Blocked while the handler runs: delivered, with the default action, when it returns.
    raise(signal);
}

void OnFaultSignal(int signal, siginfo_t* info, void* context)
{
    SExceptionPointers pointers;
    pointers.code = ExceptionCodeForSignal(signal, info != nullptr ? info->si_code : 0);
    pointers.signal = signal;
    pointers.info = info;
    pointers.context = static_cast<const ucontext_t*>(context);
    cvUnhandledExceptionFilter(&pointers);
    RestoreDefaultAndRaise(signal);
}

void OnTerminate()
{
    ucontext_t context = {};
    getcontext(&context);
    SExceptionPointers pointers;
    pointers.code = CPP_EXCEPTION_CODE;
    pointers.context = &context;
    cvUnhandledExceptionFilter(&pointers);
    // The library's own handler names the exception on stderr, then aborts.
    if (previousTerminate != nullptr)
        previousTerminate();
    std::abort();
}

int ProcessorFamily()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.compare(0, 10, "cpu family") == 0) {
            const std::size_t colon = line.find(':');
            return colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
        }
    }
    return 0;
}

void Prepare()
{
    const std::string path = Platform::GetProgramPath();
    if (!path.empty()) {
        CopyText(prepared.programPath, path);
        const std::string file = Platform::GetProgramName();
        CopyText(prepared.programFile, file);
        CopyText(prepared.programName, file.substr(0, file.rfind('.')));
    }
    const std::string folder = Platform::GetProgramFolder();
    CopyText(prepared.reportPath, folder + kReportFileName);
    CopyText(prepared.reporterPath, folder + kReporterName);
    CopyText(prepared.dumpPath, folder + prepared.programName + kDumpSuffix);

    if (const passwd* user = getpwuid(geteuid()); user != nullptr && user->pw_name != nullptr)
        CopyText(prepared.userName, user->pw_name);
    std::string name, version, servicePack;
    int code = 0;
    if (GetSystemVersionName(&name, &code, &version, &servicePack)) {
        CopyText(prepared.systemName, name);
        CopyText(prepared.systemVersion, version);
        CopyText(prepared.servicePack, servicePack);
    }
    prepared.processors = sysconf(_SC_NPROCESSORS_ONLN);
    prepared.processorType = ProcessorFamily();
    const time_t now = time(nullptr);
    tm local = {};
    localtime_r(&now, &local);
    prepared.utcOffset = local.tm_gmtoff;
    prepared.programVersion = CFileVersionInfo::OfRunningProgram();

    // The crash-report program inherits no descriptors but the standard ones and starts with
    // every signal at its default and none blocked (the handler blocks the one it handles).
    if (prepared.spawnReady) {
        posix_spawn_file_actions_destroy(&prepared.spawnActions);
        posix_spawnattr_destroy(&prepared.spawnAttributes);
    }
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    prepared.spawnReady = posix_spawn_file_actions_init(&prepared.spawnActions) == 0;
    if (prepared.spawnReady && (posix_spawnattr_init(&prepared.spawnAttributes) != 0)) {
        posix_spawn_file_actions_destroy(&prepared.spawnActions);
        prepared.spawnReady = false;
    }
    if (prepared.spawnReady) {
        posix_spawn_file_actions_addclosefrom_np(&prepared.spawnActions, STDERR_FILENO + 1);
        posix_spawnattr_setsigdefault(&prepared.spawnAttributes, &all);
        posix_spawnattr_setsigmask(&prepared.spawnAttributes, &none);
        posix_spawnattr_setflags(&prepared.spawnAttributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    // Made now, so the report never creates it.
    CLogManager::GetInstance();
}

// Whether the calling thread has a signal stack large enough for the report already.
bool HasAlternateStack()
{
    stack_t current = {};
    return sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0 &&
           current.ss_size >= sizeof(alternateStack) / 2;
}

bool InstallAlternateStack()
{
    // A stack overflow leaves no room for the handler on the faulting stack. Keep one that is
    // already set up and large enough (a sanitizer's, for instance).
    if (HasAlternateStack())
        return true;
    stack_t stack = {};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof(alternateStack);
    return sigaltstack(&stack, nullptr) == 0;
}

}  // namespace

std::uint32_t ExceptionCodeForSignal(int signal, int signalCode)
{
    switch (signal) {
    case SIGSEGV:
        return 0xC0000005;
    case SIGFPE:
        switch (signalCode) {
        case FPE_INTDIV: return 0xC0000094;
        case FPE_INTOVF: return 0xC0000095;
        case FPE_FLTDIV: return 0xC000008E;
        case FPE_FLTOVF: return 0xC0000091;
        case FPE_FLTUND: return 0xC0000093;
        case FPE_FLTRES: return 0xC000008F;
        case FPE_FLTINV: return 0xC0000090;
        case FPE_FLTSUB: return 0xC000008C;
        default: break;
        }
        break;
    case SIGILL:
        return signalCode == ILL_PRVOPC || signalCode == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
    case SIGBUS:
        if (signalCode == BUS_ADRALN)
            return 0x80000002;
        if (signalCode == BUS_ADRERR || signalCode == BUS_OBJERR)
            return 0xC0000006;
        break;
    default:
        break;
    }
    return static_cast<std::uint32_t>(signal);
}

const char* ExceptionText(std::uint32_t code)
{
    static const struct {
        std::uint32_t code;
        const char* text;
    } texts[] = {
        {0x40010005, "a Control-C"},
        {0x40010008, "a Control-Break"},
        {0x80000002, "a Datatype Misalignment"},
        {0x80000003, "a Breakpoint"},
        {0xC0000005, "an Access Violation"},
        {0xC0000006, "an In Page Error"},
        {0xC0000017, "a No Memory"},
        {0xC000001D, "an Illegal Instruction"},
        {0xC0000025, "a Noncontinuable Exception"},
        {0xC0000026, "an Invalid Disposition"},
        {0xC000008C, "a Array Bounds Exceeded"},
        {0xC000008D, "a Float Denormal Operand"},
        {0xC000008E, "a Float Divide by Zero"},
        {0xC000008F, "a Float Inexact Result"},
        {0xC0000090, "a Float Invalid Operation"},
        {0xC0000091, "a Float Overflow"},
        {0xC0000092, "a Float Stack Check"},
        {0xC0000093, "a Float Underflow"},
        {0xC0000094, "an Integer Divide by Zero"},
        {0xC0000095, "an Integer Overflow"},
        {0xC0000096, "a Privileged Instruction"},
        {0xC00000FD, "a Stack Overflow"},
        {0xC0000142, "a DLL Initialization Failed"},
        {0xE06D7363, "a Microsoft C++ Exception"},
    };
    for (const auto& entry : texts) {
        if (entry.code == code)
            return entry.text;
    }
    return "an Unknown exception type";
}

bool InstallUnhandledExceptionFilter()
{
    Prepare();
    bool ok = InstallAlternateStack();
    ok = PrepareMiniDump() && ok;
    struct sigaction action = {};
    action.sa_sigaction = OnFaultSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kFaultSignals)
        ok = sigaction(signal, &action, nullptr) == 0 && ok;
    const std::terminate_handler previous = std::set_terminate(OnTerminate);
    if (previous != OnTerminate)
        previousTerminate = previous;
    return ok;
}

CThreadSignalStack::CThreadSignalStack()
{
    if (HasAlternateStack()) {
        m_installed = true;
        return;
    }
    void* memory = mmap(nullptr, sizeof(alternateStack), PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (memory == MAP_FAILED)
        return;
    stack_t stack = {};
    stack.ss_sp = memory;
    stack.ss_size = sizeof(alternateStack);
    if (sigaltstack(&stack, nullptr) != 0) {
        munmap(memory, sizeof(alternateStack));
        return;
    }
    m_memory = memory;
    m_installed = true;
}

CThreadSignalStack::~CThreadSignalStack()
{
    if (m_memory == nullptr)
        return;
    stack_t off = {};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
    munmap(m_memory, sizeof(alternateStack));
}

int cvUnhandledExceptionFilter(const SExceptionPointers* pointers)
{
    return WriteFaultReport(pointers, kHandlerName);
}

int WriteFaultReport(const SExceptionPointers* pointers, const char* handlerName)
{
    if (!ClaimReport())
        return 0;
    const SExceptionPointers none;
    if (pointers == nullptr)
        pointers = &none;
    if (handlerName == nullptr)
        handlerName = "Unknown";
    const SRegisters registers = RegistersOf(pointers->context);

    int fd = -1;
    CLogManager* log = CLogManager::GetInstance();
    const bool intoLog = log->IsOpen() && log->GetFileHandle(&fd) && fd >= 0;
    if (!intoLog) {
        fd = open(prepared.reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_SYNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            DebuggerOutput("Error creating exception report\r\n");
            reportDone = true;
            return 0;
        }
    }
    lseek(fd, 0, SEEK_END);
    writer.SetTarget(fd);

    if (intoLog)
        writer.Printf("\r\n*********** Critical Exception START ***********\r\n");
    writer.Printf("%s caused %s (0x%08x) \r\nin module %s at %04x:%08llx.\r\n\r\n", prepared.programName,
                  ExceptionText(pointers->code), pointers->code, ModuleOf(registers.rip), registers.cs,
                  registers.rip);
    writer.Printf("Exception handler called in %s.\r\n", handlerName);
    WriteSystemHeader();
    // Only a fault the kernel reports has an address: a SIGSEGV sent by a process carries none.
    if (pointers->code == 0xC0000005 && pointers->info != nullptr && pointers->info->si_code > 0) {
        // Bit 1 of the page-fault error code: the access was a write.
        writer.Printf("%s location %08llx caused an access violation.\r\n",
                      (registers.pageFaultError & 2) != 0 ? "Write to" : "Read from",
                      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointers->info->si_addr)));
    }
    WriteRegisters(registers);
    WriteCodeBytes(registers.rip);
    WriteStack(registers.rsp);
    WriteModuleList();
    writer.Flush();

    if (intoLog) {
        writer.Printf("\r\n*********** Critical Exception END *************");
        writer.Flush();
    } else {
        writer.Printf("\r\n===== [end of %s] =====\r\n", kReportFileName);
        writer.Flush();
        close(fd);
    }
    writer.SetTarget(-1);

    WriteDumpFile(pointers);
    const int result = DebuggerAttached() ? 0 : StartReporter();
    reportDone = true;
    return result;
}
