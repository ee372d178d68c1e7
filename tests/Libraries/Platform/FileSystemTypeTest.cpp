#include "Platform/FileSystemType.h"

#include <gtest/gtest.h>

// statfs f_type numbers: the shares and user-space drivers count as network file systems, the
// local disks and memory file systems do not.
TEST(FileSystemType, NetworkTypesByTheirMagicNumbers)
{
    const struct {
        unsigned long type;
        const char* name;
        bool network;
    } cases[] = {
        {0x6969, "NFS", true},
        {0xFF534D42, "CIFS", true},
        {0xFE534D42, "SMB2", true},
        {0x517B, "SMB", true},
        {0x65735546, "FUSE", true},
        {0x01021997, "9P", true},
        {0x5346414F, "AFS", true},
        {0x00C36400, "Ceph", true},
        // A virtual machine's folder shared with its host: the host writes it without the guest's memory.
        {0x786F4256, "vboxsf", true},
        {0x7C7C6673, "prl_fs", true},
        // A 32-bit magic number with its top bit set, sign-extended into the word.
        {static_cast<unsigned long>(static_cast<long>(static_cast<int>(0xFF534D42))), "CIFS sign-extended", true},
        {0xEF53, "ext4", false},
        {0x58465342, "XFS", false},
        {0x9123683E, "Btrfs", false},
        {0x01021994, "tmpfs", false},
        {0x794C7630, "overlay", false},
        {0x4D44, "FAT", false},
        {0, "unknown", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Platform::IsNetworkFileSystemType(c.type), c.network) << c.name;
}

TEST(FileSystemType, TestsMayNameTheFileSystem)
{
    Platform::SetFileSystemTypeForTesting(
        [](const std::string& path) { return path == "/share/pdb.db" ? 0x6969UL : 0xEF53UL; });
    EXPECT_TRUE(Platform::IsOnNetworkFileSystem("/share/pdb.db"));
    EXPECT_FALSE(Platform::IsOnNetworkFileSystem("/local/pdb.db"));
    Platform::SetFileSystemTypeForTesting(nullptr);
    EXPECT_FALSE(Platform::IsOnNetworkFileSystem("/no/such/folder/pdb.db"));
}
