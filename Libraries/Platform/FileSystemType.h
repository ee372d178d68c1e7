// Which kind of file system holds a file, for the features that only a local disk gives (shared
// memory beside a database file, locks every client sees).
#pragma once

#include <functional>
#include <string>

namespace Platform {

// Whether a file system of this statfs f_type keeps its files on another machine or in a
// user-space driver: NFS, SMB/CIFS, FUSE, 9P, AFS, Coda, Ceph and the cluster file systems.
bool IsNetworkFileSystemType(unsigned long type);

// Whether the file (or folder) lies on such a file system; false when statfs cannot tell.
bool IsOnNetworkFileSystem(const std::string& path);

// Tests only: the f_type that IsOnNetworkFileSystem takes for a path instead of asking statfs.
// An empty function asks statfs again.
void SetFileSystemTypeForTesting(std::function<unsigned long(const std::string& path)> type);

}  // namespace Platform
