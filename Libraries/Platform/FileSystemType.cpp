#include "Platform/FileSystemType.h"

#include <algorithm>
#include <utility>

#include <sys/vfs.h>

namespace Platform {

namespace {

// The f_type numbers of linux/magic.h and of the drivers that keep theirs to themselves.
constexpr unsigned long kNetworkTypes[] = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x65735546,  // FUSE (sshfs, rclone, glusterfs ...)
    0x01021997,  // 9P
    0x5346414F,  // AFS
    0x6B414653,  // kAFS
    0x73757245,  // Coda
    0x564C,      // NCP
    0x00C36400,  // Ceph
    0x47504653,  // GPFS
    0x0BD00BD0,  // Lustre
    0x7461636F,  // OCFS2
    0x01161970,  // GFS2
    0x20030528,  // OrangeFS
    0x786F4256,  // vboxsf: a VirtualBox host's shared folder
    0x7C7C6673,  // prl_fs: a Parallels host's shared folder
};

std::function<unsigned long(const std::string&)>& TypeForTesting()
{
    static std::function<unsigned long(const std::string&)> type;
    return type;
}

}  // namespace

bool IsNetworkFileSystemType(unsigned long type)
{
    // f_type is a signed word: a magic number with its top bit set may come sign-extended.
    type &= 0xFFFFFFFFUL;
    return std::find(std::begin(kNetworkTypes), std::end(kNetworkTypes), type) != std::end(kNetworkTypes);
}

bool IsOnNetworkFileSystem(const std::string& path)
{
    if (const auto& type = TypeForTesting())
        return IsNetworkFileSystemType(type(path));
    struct statfs info;
    return statfs(path.c_str(), &info) == 0 && IsNetworkFileSystemType(static_cast<unsigned long>(info.f_type));
}

void SetFileSystemTypeForTesting(std::function<unsigned long(const std::string& path)> type)
{
    TypeForTesting() = std::move(type);
}

}  // namespace Platform
