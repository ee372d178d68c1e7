// The folder the programs treat as their own: where the database, reports, translations and
// satellite resource bundles lie.
#pragma once

#include <string>

// The folder of programPath with a trailing '/'. When that folder's own name is "debug" or
// "release" in any letter case (a development build run from its build sub-folder), its parent
// instead. A folder that merely contains one of the words ("MyDebugTools") stays.
std::string InstallFolderOf(const std::string& programPath);
