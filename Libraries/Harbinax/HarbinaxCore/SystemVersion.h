#pragma once

#include <string>

// The running operating system as reports name it:
// - name: the distribution's PRETTY_NAME from os-release (else its NAME, else the kernel's name),
// - code: the leading number of the distribution's VERSION_ID (Debian 12 gives 12), 0 when none,
// - version: the kernel version as "%u.%u.%u",
// - servicePack (may be NULL): the kernel's full release text, which tells its patch level.
// osReleaseFile NULL reads /etc/os-release, else /usr/lib/os-release.
// False when one of the first three is NULL or the kernel version cannot be read.
bool GetSystemVersionName(std::string* name, int* code, std::string* version, std::string* servicePack,
                          const char* osReleaseFile = nullptr);
