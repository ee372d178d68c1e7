// Database files with a damaged page, for the tests of reads that fail part way.
#pragma once

#include <string>

// Overwrites the middle one of the table's leaf pages in the SQLite file with bytes no page
// holds, so that a scan of the table fails after its first rows. False (with the reason) when
// the table has fewer than three leaf pages.
bool DamageMiddleLeafPage(const std::string& path, const std::string& table, std::string& error);
