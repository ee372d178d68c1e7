#include "Platform/ProgramFolder.h"

#include "PlatformTestSupport.h"

#include <filesystem>
#include <unistd.h>

namespace {

TEST(ProgramFolderTest, RealProgramIsThisTestProgram)
{
    const std::string path = Platform::GetProgramPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
    EXPECT_EQ(Platform::GetProgramName(), "PlatformTests");
    EXPECT_EQ(Platform::GetProgramFolder() + Platform::GetProgramName(), path);
}

TEST(ProgramFolderTest, OverrideAnswersUntilCleared)
{
    const std::string real = Platform::GetProgramPath();

    Platform::SetProgramPathForTesting("/opt/zephrin/bin/TAMBEL");
    EXPECT_EQ(Platform::GetProgramPath(), "/opt/zephrin/bin/TAMBEL");
    EXPECT_EQ(Platform::GetProgramFolder(), "/opt/zephrin/bin/");
    EXPECT_EQ(Platform::GetProgramName(), "TAMBEL");

    Platform::SetProgramPathForTesting("");
    EXPECT_EQ(Platform::GetProgramPath(), real);
    EXPECT_EQ(Platform::GetProgramName(), "PlatformTests");
}

// The self-updater removes or replaces the running program's file; the kernel then reports
// the link as "<path> (deleted)", which must not leak into the program folder.
TEST(ProgramFolderTest, PathStaysRightAfterTheProgramFileIsRemovedOrReplaced)
{
    const std::string probe = Platform::GetProgramFolder() + "PlatformProbe";
    for (const char* mode : {"path", "delete", "replace"}) {
        CTemporaryFolder folder;
        const std::string copy = folder.Path("Probe Copy");
        std::filesystem::copy_file(probe, copy);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
        EXPECT_EQ(RunCommand({copy, mode}), copy) << mode;
    }
}

}  // namespace
