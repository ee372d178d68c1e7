// Bounds of what the update library takes from a server or an archive.
#pragma once

#include <cstdint>

// The largest file it downloads or unpacks: far above any program file, far below what would
// fill the disk of a user's machine.
constexpr uint64_t kRenovixFileCeiling = uint64_t(1) << 30;
