// Reading a file whole. A stream over a folder opens on Linux and throws at the first read; a
// read error must not pass for the end of the file either.
#pragma once

#include <string>

namespace Platform {

// The file's bytes into bytes; false (bytes emptied) when it cannot be opened, is a folder or a
// read fails. errno then tells why.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace Platform
