// A piece of a test run in a child process, which may change its user, mounts or limits, or be
// killed, without touching the test process.
#pragma once

#include <functional>
#include <string>

#include <sys/types.h>

// The user the unprivileged parts of a test run as when the test runs as root.
constexpr uid_t kNobody = 65534;

// Runs body in a child process and returns its exit code, or 128 + the signal that ended it.
int RunInChild(const std::function<int()>& body);

// For a child that must meet the permission bits as an ordinary user would: as root the process
// becomes nobody; otherwise nothing changes. False when the change failed.
bool LeaveRoot();

// As root the file or folder is given to nobody, so that a child after LeaveRoot owns it as the
// test process would without root; otherwise nothing changes. False when that failed.
bool GiveToUnprivileged(const std::string& path);
