// A write past the process's file-size limit (RLIMIT_FSIZE) raises SIGXFSZ, whose default action
// ends the program without a word; ignored, the write fails with EFBIG instead, which every
// writer already reports and recovers from like a full disk.
#pragma once

namespace Platform {

// Sets SIGXFSZ to be ignored for the whole process; true when it is. Programs call it before
// anything writes a file.
bool IgnoreFileSizeSignal();

}  // namespace Platform
