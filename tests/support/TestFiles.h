// Whole files as tests write and check them.
#pragma once

#include <chrono>
#include <string>

// The bytes of the file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Replaces the file by the bytes.
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A shell script that the system can run (mode 0755); false when it cannot be written.
bool WriteScript(const std::string& path, const std::string& text);

// For files that a process in the background writes (and renames into place when done): the
// bytes once the file is there, empty when it did not appear within the limit.
std::string WaitForFile(const std::string& path, std::chrono::milliseconds limit = std::chrono::seconds(2));
