// Database files with a damaged page, for the tests of reads that fail part way.
#pragma once

#include <string>

// Overwrites the middle one of the leaf pages of the table or index named tree in the SQLite
// file with bytes no page holds, so that a scan of it fails after its first rows. False (with
// the reason) when it has fewer than three leaf pages.
bool DamageMiddleLeafPage(const std::string& path, const std::string& tree, std::string& error);
