#pragma once

#include "HarbinaxCore/CrashReport.h"

#include <cstdint>

// The bound on a dump's size unless the program sets another.
constexpr std::uint64_t DEFAULT_MINIDUMP_SIZE_LIMIT = 256ULL * 1024 * 1024;

// Writes an ELF core file of the own process to the empty file fd, which gdb opens together with
// the program: the registers of every thread (the faulting one first, from the pointers' context,
// or the calling thread where it stands when there is none), the process and its auxiliary
// vector, the mapped files, and the writable and stack memory. Read-only file mappings are left
// out, gdb reads them from the files. Stops the other threads while it writes. Uses no allocation
// and no stdio, so it may run inside a signal handler. False when the dump could not be written.
bool WriteMiniDump(int fd, const SExceptionPointers* pointers);

// No dump grows beyond bytes: the stacks near their stack pointers are kept first, then the
// program's and libraries' data, then the rest, each mapping whole or not at all.
void SetMiniDumpSizeLimit(std::uint64_t bytes);

// Readies what the dump needs from a signal handler; called when the exception filter is installed.
bool PrepareMiniDump();
