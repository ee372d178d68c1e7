// Replaces a file as a whole or not at all: the bytes go to a temporary file in the target's
// folder, are flushed to the disk and then renamed over the target. A crash, a full disk or a
// folder that turned read-only leaves the old file exactly as it was.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

class CAtomicFile
{
public:
    // Writes bytes to path. An existing file keeps its permission bits (and, where we may set
    // them, its owner and group); a new file gets newFileMode less the umask. A symbolic link is
    // followed, so the file it points to is replaced and the link stays. False with a message
    // naming the file in *error (when error is not null) on any failure; the temporary file is
    // then removed and the target untouched. A target that exists but may not be written to is
    // refused like an ordinary write would be. Temporary files that earlier writes of the same
    // target left when their process was killed are removed first. A file that holds these
    // bytes already is left as it is. *errorNumber (when not null) becomes the system's error
    // number of the failure (EACCES, ENOSPC, ...), 0 on success.
    static bool Write(const std::string& path, std::string_view bytes, std::string* error,
                      mode_t newFileMode = 0644, int* errorNumber = nullptr);

    // Takes the next piece of the file; false when it could not be written.
    using Sink = std::function<bool(const char* data, size_t size)>;
    // The same for a file too large to hold in memory: produce hands the bytes to the sink piece
    // by piece. When it returns false the write is abandoned as any failed write is; *error is
    // then the sink's failure, or else left as produce set it. A new file gets newFileMode less
    // the umask; an existing one keeps its mode as above. The file is replaced even when it holds
    // these bytes already.
    static bool WriteFrom(const std::string& path, const std::function<bool(const Sink& sink)>& produce,
                          std::string* error, mode_t newFileMode = 0644);

    // The steps of a write, in this order. Write is taken once per chunk of at most
    // kChunkSize bytes, so a hook can stop in the middle of the data.
    enum class Step { Create, Write, Sync, Rename };
    static constexpr size_t kChunkSize = 64 * 1024;

    // Tests only: the hook runs before each step; returning an errno value (e.g. ENOSPC) makes
    // that step fail with it, 0 lets it go on. An empty function removes the hook.
    static void SetHookForTesting(std::function<int(Step)> hook);
};
