// Where the running program lives. The program folder is a portable install: the database,
// reports, templates and translations lie beside the executable.
#pragma once

#include <string>

namespace Platform {

// Full path of the running executable (the target of /proc/self/exe). When the file was
// replaced or deleted while running (the self-updater does that), still the path it was started
// from. Empty only when the link cannot be read.
std::string GetProgramPath();

// Folder of GetProgramPath() with a trailing '/'.
std::string GetProgramFolder();

// File name of GetProgramPath() without its folder.
std::string GetProgramName();

// Makes the three functions above answer for the given path instead of the real program, so
// tests can point the program folder at a prepared folder. An empty path restores the real one.
void SetProgramPathForTesting(const std::string& path);

}  // namespace Platform
