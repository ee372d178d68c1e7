// File versions as the programs show and compare them.
#pragma once

#include "Platform/VersionInfo.h"

#include <string>

// 1 when a is newer, -1 when b is newer, 0 when the first depth words (major, minor, build,
// revision) are equal. A depth outside 1 to 4 gives 0.
int CompareFileVersions(const SFileVersion& a, const SFileVersion& b, int depth);

// "major.minor.build.revision"
std::string FormatFileVersion(const SFileVersion& version);

// Version of the file (0.0.0.0 when it has none or cannot be read); an empty path means the
// running program.
SFileVersion GetFileVersion(const std::string& path);
