// Reading a file whole: every byte, an empty file, and a clear failure for a missing file or a
// folder in the file's place (a stream over a folder opens and throws at the first read).
#include "Platform/WholeFile.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace {

TEST(WholeFile, ReadsEveryByteAndRefusesWhatIsNoFile)
{
    CTemporaryFolder folder;
    std::string big(200 * 1024, 'x');  // more than one read
    big[5] = '\0';
    big.back() = '\xFF';
    WriteWholeFile(folder.Path("big.bin"), big);
    WriteWholeFile(folder.Path("empty.txt"), "");
    ASSERT_EQ(mkdir(folder.Path("folder").c_str(), 0755), 0);

    std::string bytes = "left over";
    EXPECT_TRUE(Platform::ReadWholeFile(folder.Path("big.bin"), bytes));
    EXPECT_EQ(bytes, big);
    EXPECT_TRUE(Platform::ReadWholeFile(folder.Path("empty.txt"), bytes));
    EXPECT_EQ(bytes, "");

    bytes = "left over";
    EXPECT_FALSE(Platform::ReadWholeFile(folder.Path("missing.txt"), bytes));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(bytes, "");
    bytes = "left over";
    EXPECT_FALSE(Platform::ReadWholeFile(folder.Path("folder"), bytes));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(bytes, "");
}

}  // namespace
