// Reading a file whole, and writing bytes whole. A stream over a folder opens on Linux and
// throws at the first read; a read error must not pass for the end of the file either.
#pragma once

#include <cstddef>
#include <string>

namespace Platform {

// The file's bytes into bytes; false (bytes emptied) when it cannot be opened, is a folder or a
// read fails. errno then tells why.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// All size bytes to the descriptor, however many writes that takes; false (errno tells why) when
// a write fails or writes nothing.
bool WriteAll(int descriptor, const char* bytes, size_t size);

}  // namespace Platform
