#include "HarbinaxCore/MiniDump.h"

#include "HarbinaxCore/SignalSafeRead.h"
#include "HarbinaxCore/ThreadStates.h"

#include <algorithm>
#include <csignal>
#include <climits>
#include <cstring>
#include <elf.h>
#include <sys/procfs.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kPage = 4096;
constexpr std::size_t kMaxSegments = 4096;
// Below the stack pointer only the red zone can still matter.
constexpr std::uint64_t kRedZone = 128;

enum ERank { RANK_STACK, RANK_DATA, RANK_OTHER, RANK_NONE };

struct SSegment {
    std::uint64_t start, end;
    std::uint64_t fileOffset;  // into the mapped file
    std::uint32_t flags;       // PF_R, PF_W, PF_X
    long path;                 // into pathPool; -1 when not mapped from a file
    ERank rank;
    bool dumped;
    std::uint64_t dumpOffset;  // into the dump
};

// A mapping as /proc/self/smaps describes it, before it becomes segments.
struct SMapping {
    bool valid;
    std::uint64_t start, end, fileOffset;
    char permissions[5];
    long path;
    bool special;         // [heap], [stack], [vdso] and their sisters
    bool anonymousPages;  // copied-on-write pages: the mapping no longer matches its file
};

std::uint64_t sizeLimit = DEFAULT_MINIDUMP_SIZE_LIMIT;
SSegment segments[kMaxSegments];
std::size_t segmentCount = 0;
char pathPool[512 * 1024];
std::size_t pathFill = 0;
char smapsBuffer[PATH_MAX + 256];
unsigned char auxv[4096];
std::size_t auxvSize = 0;
alignas(16) unsigned char copyBuffer[64 * 1024];

// --- buffered output ---------------------------------------------------------------------------

struct SOutput {
    int fd;
    std::size_t fill;
    std::uint64_t written;
    bool failed;
};

unsigned char outBuffer[64 * 1024];

void Flush(SOutput& out)
{
    std::size_t done = 0;
    while (done < out.fill && !out.failed) {
        const ssize_t put = write(out.fd, outBuffer + done, out.fill - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            out.failed = true;
        else
            done += static_cast<std::size_t>(put);
    }
    out.fill = 0;
}

void Put(SOutput& out, const void* data, std::size_t length)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    while (length > 0) {
        if (out.fill == sizeof(outBuffer))
            Flush(out);
        const std::size_t chunk = std::min(length, sizeof(outBuffer) - out.fill);
        if (bytes != nullptr) {
            std::memcpy(outBuffer + out.fill, bytes, chunk);
            bytes += chunk;
        } else {
            std::memset(outBuffer + out.fill, 0, chunk);
        }
        out.fill += chunk;
        out.written += chunk;
        length -= chunk;
    }
}

void PutZeros(SOutput& out, std::size_t length)
{
    Put(out, nullptr, length);
}

// --- what is mapped ----------------------------------------------------------------------------

std::uint64_t PageDown(std::uint64_t address)
{
    return address & ~(kPage - 1);
}

std::uint64_t PageUp(std::uint64_t offset)
{
    return (offset + kPage - 1) & ~(kPage - 1);
}

const char* PathOf(const SSegment& segment)
{
    return segment.path >= 0 ? pathPool + segment.path : nullptr;
}

void AddSegment(const SMapping& mapping, std::uint64_t start, std::uint64_t end, ERank rank)
{
    if (segmentCount == kMaxSegments || start >= end)
        return;
    SSegment& segment = segments[segmentCount++];
    segment.start = start;
    segment.end = end;
    segment.fileOffset = mapping.fileOffset + (start - mapping.start);
    segment.flags = (mapping.permissions[0] == 'r' ? PF_R : 0) | (mapping.permissions[1] == 'w' ? PF_W : 0) |
                    (mapping.permissions[2] == 'x' ? PF_X : 0);
    segment.path = mapping.path;
    segment.rank = rank;
    segment.dumped = false;
    segment.dumpOffset = 0;
}

// Turns a mapping into segments: which part is worth dumping, and how much it matters.
void AddMapping(const SMapping& mapping, bool followsFile, const SThreadState* const* threads, std::size_t threadCount)
{
    const char* path = mapping.path >= 0 ? pathPool + mapping.path : "";
    const bool fromFile = path[0] == '/';
    // Device memory may have side effects on reading; the kernel's own dumps leave it out too.
    const bool device = std::strncmp(path, "/dev/", 5) == 0 && std::strncmp(path, "/dev/zero", 9) != 0;
    const bool readable = mapping.permissions[0] == 'r';
    const bool writable = mapping.permissions[1] == 'w';
    const bool unreadableSpecial = std::strcmp(path, "[vvar]") == 0 || std::strcmp(path, "[vsyscall]") == 0;
    const bool worth = readable && !device && !unreadableSpecial && (!fromFile || writable || mapping.anonymousPages);
    if (!worth) {
        // The headers of a mapped program or library name its build id, by which gdb checks
        // that it was given the right files.
        unsigned char magic[SELFMAG];
        const bool headers = fromFile && readable && !device && mapping.fileOffset == 0 &&
                             SafeRead(magic, mapping.start, sizeof(magic)) == sizeof(magic) &&
                             std::memcmp(magic, ELFMAG, SELFMAG) == 0;
        const std::uint64_t headersEnd = headers ? mapping.start + kPage : mapping.start;
        AddSegment(mapping, mapping.start, headersEnd, RANK_DATA);
        AddSegment(mapping, headersEnd, mapping.end, RANK_NONE);
        return;
    }

    // A stack: only what lies above the lowest stack pointer in it is alive.
    std::uint64_t live = mapping.end;
    for (std::size_t i = 0; i < threadCount; ++i) {
        const std::uint64_t sp = threads[i]->registers.rsp;
        if (sp >= mapping.start && sp < mapping.end)
            live = std::min(live, std::max(mapping.start, PageDown(sp - kRedZone)));
    }
    if (live < mapping.end) {
        AddSegment(mapping, mapping.start, live, RANK_NONE);
        AddSegment(mapping, live, mapping.end, RANK_STACK);
        return;
    }
    // The program's and libraries' data, their zero-filled part right after them, the heap and
    // the kernel's code page matter more than other anonymous memory.
    const bool data = fromFile || followsFile || mapping.special;
    AddSegment(mapping, mapping.start, mapping.end, data ? RANK_DATA : RANK_OTHER);
}

long KeepPath(const char* path)
{
    const std::size_t length = std::strlen(path);
    if (length == 0 || pathFill + length + 1 > sizeof(pathPool))
        return -1;
    std::memcpy(pathPool + pathFill, path, length + 1);
    const long at = static_cast<long>(pathFill);
    pathFill += length + 1;
    return at;
}

// "start-end perms offset dev inode path"; false for any other line.
bool ParseMappingLine(const char* line, SMapping& mapping)
{
    const char* at = nullptr;
    mapping.start = ParseNumber(line, 16, &at);
    if (at == line || *at != '-')
        return false;
    mapping.end = ParseNumber(at + 1, 16, &at);
    if (*at != ' ' || std::strlen(at) < 6)
        return false;
    std::memcpy(mapping.permissions, at + 1, 4);
    mapping.permissions[4] = '\0';
    mapping.fileOffset = ParseNumber(at + 6, 16, &at);
    // Device and inode, then blanks up to the path.
    for (int field = 0; field < 2; ++field) {
        while (*at == ' ')
            ++at;
        while (*at != ' ' && *at != '\0')
            ++at;
    }
    while (*at == ' ')
        ++at;
    mapping.path = KeepPath(at);
    mapping.special = at[0] == '[';
    mapping.anonymousPages = false;
    mapping.valid = true;
    return true;
}

void ReadMappings(const SThreadState* const* threads, std::size_t threadCount)
{
    segmentCount = 0;
    pathFill = 0;
    SMapping current = {};
    bool previousFromFile = false;
    std::uint64_t previousEnd = 0;
    const auto finish = [&] {
        if (!current.valid)
            return;
        const bool followsFile = previousFromFile && previousEnd == current.start;
        AddMapping(current, followsFile, threads, threadCount);
        previousFromFile = current.path >= 0 && pathPool[current.path] == '/';
        previousEnd = current.end;
        current.valid = false;
    };
    ForEachLine("/proc/self/smaps", smapsBuffer, [&](const char* line) {
        SMapping next = {};
        if (ParseMappingLine(line, next)) {
            finish();
            current = next;
        } else if (current.valid && std::strncmp(line, "Anonymous:", 10) == 0) {
            current.anonymousPages = ParseNumber(line + 10, 10) != 0;
        }
        return true;
    });
    finish();
}

// Which segments fit in the dump, and where their bytes go.
void ChooseDumped(std::uint64_t dataStart)
{
    std::uint64_t budget = sizeLimit > dataStart ? sizeLimit - dataStart : 0;
    for (int rank = RANK_STACK; rank < RANK_NONE; ++rank) {
        for (std::size_t i = 0; i < segmentCount; ++i) {
            SSegment& segment = segments[i];
            if (segment.rank != rank)
                continue;
            std::uint64_t size = segment.end - segment.start;
            if (size > budget && rank == RANK_STACK) {
                // The frames nearest the stack pointer, as many as fit.
                segment.end = segment.start + PageDown(budget);
                size = segment.end - segment.start;
            }
            if (size > 0 && size <= budget) {
                segment.dumped = true;
                budget -= size;
            }
        }
    }
    std::uint64_t offset = dataStart;
    for (std::size_t i = 0; i < segmentCount; ++i) {
        segments[i].dumpOffset = offset;
        if (segments[i].dumped)
            offset += segments[i].end - segments[i].start;
    }
}

// --- notes -------------------------------------------------------------------------------------

constexpr std::size_t Align4(std::size_t size)
{
    return (size + 3) & ~static_cast<std::size_t>(3);
}

constexpr std::size_t NoteSize(std::size_t descriptionSize)
{
    return sizeof(Elf64_Nhdr) + Align4(sizeof("CORE")) + Align4(descriptionSize);
}

void PutNoteHeader(SOutput& out, std::uint32_t type, std::size_t descriptionSize)
{
    Elf64_Nhdr header = {};
    header.n_namesz = sizeof("CORE");
    header.n_descsz = static_cast<Elf64_Word>(descriptionSize);
    header.n_type = type;
    Put(out, &header, sizeof(header));
    const char name[8] = "CORE";
    Put(out, name, Align4(sizeof("CORE")));
}

void PutNote(SOutput& out, std::uint32_t type, const void* description, std::size_t size)
{
    PutNoteHeader(out, type, size);
    Put(out, description, size);
    PutZeros(out, Align4(size) - size);
}

std::size_t FileNoteEntries()
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < segmentCount; ++i) {
        const char* path = PathOf(segments[i]);
        count += path != nullptr && path[0] == '/' ? 1 : 0;
    }
    return count;
}

// The mapped files: count, page size, (start, end, page offset) for each, then their paths.
std::size_t FileNoteSize()
{
    std::size_t size = 2 * sizeof(std::uint64_t);
    for (std::size_t i = 0; i < segmentCount; ++i) {
        const char* path = PathOf(segments[i]);
        if (path != nullptr && path[0] == '/')
            size += 3 * sizeof(std::uint64_t) + std::strlen(path) + 1;
    }
    return size;
}

void PutFileNote(SOutput& out)
{
    const std::size_t size = FileNoteSize();
    PutNoteHeader(out, NT_FILE, size);
    const std::uint64_t head[2] = {FileNoteEntries(), kPage};
    Put(out, head, sizeof(head));
    for (std::size_t i = 0; i < segmentCount; ++i) {
        const char* path = PathOf(segments[i]);
        if (path != nullptr && path[0] == '/') {
            const std::uint64_t entry[3] = {segments[i].start, segments[i].end, segments[i].fileOffset / kPage};
            Put(out, entry, sizeof(entry));
        }
    }
    for (std::size_t i = 0; i < segmentCount; ++i) {
        const char* path = PathOf(segments[i]);
        if (path != nullptr && path[0] == '/')
            Put(out, path, std::strlen(path) + 1);
    }
    PutZeros(out, Align4(size) - size);
}

// Up to size bytes of a /proc file; the count read.
std::size_t ReadSmallFile(const char* path, void* buffer, std::size_t size)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t fill = 0;
    while (fill < size) {
        const ssize_t got = read(fd, static_cast<char*>(buffer) + fill, size - fill);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        fill += static_cast<std::size_t>(got);
    }
    close(fd);
    return fill;
}

elf_prstatus ThreadStatus(const SThreadState& thread, int signal)
{
    elf_prstatus status = {};
    status.pr_info.si_signo = signal;
    status.pr_cursig = static_cast<short>(signal);
    status.pr_pid = thread.tid;
    status.pr_ppid = getppid();
    status.pr_pgrp = getpgrp();
    status.pr_sid = getsid(0);
    static_assert(sizeof(status.pr_reg) == sizeof(thread.registers), "register layout");
    std::memcpy(&status.pr_reg, &thread.registers, sizeof(status.pr_reg));
    status.pr_fpvalid = thread.haveFloatRegisters ? 1 : 0;
    return status;
}

elf_prpsinfo ProcessInfo()
{
    elf_prpsinfo info = {};
    info.pr_state = 0;
    info.pr_sname = 'R';
    info.pr_uid = getuid();
    info.pr_gid = getgid();
    info.pr_pid = getpid();
    info.pr_ppid = getppid();
    info.pr_pgrp = getpgrp();
    info.pr_sid = getsid(0);
    const std::size_t nameLength = ReadSmallFile("/proc/self/comm", info.pr_fname, sizeof(info.pr_fname) - 1);
    if (nameLength > 0 && info.pr_fname[nameLength - 1] == '\n')
        info.pr_fname[nameLength - 1] = '\0';
    // The command line's arguments are separated by NULs; the note shows them separated by blanks.
    const std::size_t argsLength = ReadSmallFile("/proc/self/cmdline", info.pr_psargs, sizeof(info.pr_psargs) - 1);
    for (std::size_t i = 0; i + 1 < argsLength; ++i) {
        if (info.pr_psargs[i] == '\0')
            info.pr_psargs[i] = ' ';
    }
    return info;
}

std::size_t NotesSize(std::size_t threadCount, const siginfo_t* signalInfo)
{
    std::size_t size = NoteSize(sizeof(elf_prpsinfo)) + NoteSize(auxvSize) + NoteSize(FileNoteSize());
    if (signalInfo != nullptr)
        size += NoteSize(sizeof(siginfo_t));
    for (std::size_t i = 0; i < threadCount; ++i) {
        size += NoteSize(sizeof(elf_prstatus));
        if (CThreadStates::State(i).haveFloatRegisters)
            size += NoteSize(sizeof(user_fpregs_struct));
    }
    return size;
}

// In the kernel's order: the faulting thread with the process-wide notes, then the others.
void PutNotes(SOutput& out, std::size_t threadCount, int signal, const siginfo_t* signalInfo)
{
    for (std::size_t i = 0; i < threadCount; ++i) {
        const SThreadState& thread = CThreadStates::State(i);
        const elf_prstatus status = ThreadStatus(thread, signal);
        PutNote(out, NT_PRSTATUS, &status, sizeof(status));
        if (i == 0) {
            const elf_prpsinfo info = ProcessInfo();
            PutNote(out, NT_PRPSINFO, &info, sizeof(info));
            if (signalInfo != nullptr)
                PutNote(out, NT_SIGINFO, signalInfo, sizeof(*signalInfo));
            PutNote(out, NT_AUXV, auxv, auxvSize);
            PutFileNote(out);
        }
        if (thread.haveFloatRegisters)
            PutNote(out, NT_PRFPREG, &thread.floatRegisters, sizeof(thread.floatRegisters));
    }
}

// --- the file ----------------------------------------------------------------------------------

void PutHeaders(SOutput& out, std::uint64_t notesOffset, std::uint64_t notesSize)
{
    Elf64_Ehdr header = {};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS64;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_ident[EI_OSABI] = ELFOSABI_NONE;
    header.e_type = ET_CORE;
    header.e_machine = EM_X86_64;
    header.e_version = EV_CURRENT;
    header.e_phoff = sizeof(Elf64_Ehdr);
    header.e_ehsize = sizeof(Elf64_Ehdr);
    header.e_phentsize = sizeof(Elf64_Phdr);
    header.e_phnum = static_cast<Elf64_Half>(segmentCount + 1);
    Put(out, &header, sizeof(header));

    Elf64_Phdr notes = {};
    notes.p_type = PT_NOTE;
    notes.p_offset = notesOffset;
    notes.p_filesz = notesSize;
    notes.p_align = 4;
    Put(out, &notes, sizeof(notes));
    for (std::size_t i = 0; i < segmentCount; ++i) {
        const SSegment& segment = segments[i];
        Elf64_Phdr load = {};
        load.p_type = PT_LOAD;
        load.p_flags = segment.flags;
        load.p_offset = segment.dumpOffset;
        load.p_vaddr = segment.start;
        load.p_memsz = segment.end - segment.start;
        load.p_filesz = segment.dumped ? load.p_memsz : 0;
        load.p_align = kPage;
        Put(out, &load, sizeof(load));
    }
}

// A page that cannot be read (unmapped since, or never backed) is dumped as zeros.
void PutMemory(SOutput& out, const SSegment& segment)
{
    for (std::uint64_t address = segment.start; address < segment.end && !out.failed;) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof(copyBuffer), segment.end - address));
        // Whole pages up to the first that cannot be read.
        std::size_t got = SafeRead(copyBuffer, address, chunk);
        if (got == 0) {
            got = static_cast<std::size_t>(std::min<std::uint64_t>(kPage, chunk));
            std::memset(copyBuffer, 0, got);
        }
        Put(out, copyBuffer, got);
        address += got;
    }
}

int DumpSignal(const SExceptionPointers* pointers)
{
    if (pointers != nullptr && pointers->signal != 0)
        return pointers->signal;
    // An uncaught C++ exception ends in abort; a dump asked for without a fault stands for a
    // breakpoint.
    return pointers != nullptr && pointers->code == CPP_EXCEPTION_CODE ? SIGABRT : SIGTRAP;
}

}  // namespace

void SetMiniDumpSizeLimit(std::uint64_t bytes)
{
    sizeLimit = bytes;
}

bool PrepareMiniDump()
{
    return CThreadStates::Install();
}

bool WriteMiniDump(int fd, const SExceptionPointers* pointers)
{
#if defined(__x86_64__)
    static const char message[] = "writing minidump\r\n";
    const ssize_t ignored = write(STDERR_FILENO, message, sizeof(message) - 1);
    (void)ignored;

    // Taken here, so this frame stays alive while the dump is written.
    ucontext_t here;
    const ucontext_t* context = pointers != nullptr ? pointers->context : nullptr;
    if (context == nullptr) {
        getcontext(&here);
        context = &here;
    }
    const std::size_t threadCount = CThreadStates::Capture(context);
    if (threadCount == 0)
        return false;
    const SThreadState* threads[CThreadStates::kMaxThreads];
    for (std::size_t i = 0; i < threadCount; ++i)
        threads[i] = &CThreadStates::State(i);

    auxvSize = ReadSmallFile("/proc/self/auxv", auxv, sizeof(auxv));
    ReadMappings(threads, threadCount);
    const siginfo_t* signalInfo = pointers != nullptr ? pointers->info : nullptr;
    const std::uint64_t notesOffset = sizeof(Elf64_Ehdr) + (segmentCount + 1) * sizeof(Elf64_Phdr);
    const std::uint64_t notesSize = NotesSize(threadCount, signalInfo);
    const std::uint64_t dataStart = PageUp(notesOffset + notesSize);
    ChooseDumped(dataStart);

    SOutput out = {fd, 0, 0, false};
    PutHeaders(out, notesOffset, notesSize);
    PutNotes(out, threadCount, DumpSignal(pointers), signalInfo);
    PutZeros(out, static_cast<std::size_t>(dataStart - out.written));
    for (std::size_t i = 0; i < segmentCount; ++i) {
        if (segments[i].dumped)
            PutMemory(out, segments[i]);
    }
    Flush(out);
    CThreadStates::Release();
    if (out.failed)
        return false;
    fsync(fd);
    return true;
#else
    (void)fd;
    (void)pointers;
    return false;
#endif
}
