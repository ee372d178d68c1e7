// One running program per user and program file: the first start takes the identity, a later
// one finds it taken and asks the first to come forward.
#include "HarbinaxGuiEnvironment.h"

#include "Harbinax/InstanceCheck.h"
#include "Platform/ProgramFolder.h"
#include "Quillet/LogLevel.h"
#include "support/LogCapture.h"
#include "support/TemporaryFolder.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>
#include <string>

namespace {

class InstanceCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        saved = previous ? previous : "";
        hadRuntimeDir = previous != nullptr;
        setenv("XDG_RUNTIME_DIR", runtime.Path("").c_str(), 1);
    }

    void TearDown() override
    {
        if (hadRuntimeDir)
            setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    CTemporaryFolder runtime;
    std::string saved;
    bool hadRuntimeDir = false;
};

TEST_F(InstanceCheckTest, TheFirstHoldsTheIdentityAndIsAskedToComeForward)
{
    int raised = 0;
    CInstanceCheck first;
    EXPECT_FALSE(first.FindOther("/opt/Sizing/Zephrin", [&raised] { ++raised; }));
    EXPECT_TRUE(first.IsFirst());

    CInstanceCheck second;
    EXPECT_TRUE(second.FindOther("/opt/Sizing/Zephrin", [] {}));
    EXPECT_FALSE(second.IsFirst());
    EXPECT_TRUE(WaitFor([&raised] { return raised == 1; }));

    // Another program file is another program.
    CInstanceCheck other;
    EXPECT_FALSE(other.FindOther("/opt/Other/Zephrin", [] {}));
}

TEST_F(InstanceCheckTest, TheIdentityIsFreeAgainOnceTheFirstHasGone)
{
    auto first = std::make_unique<CInstanceCheck>();
    ASSERT_FALSE(first->FindOther("/opt/Sizing/Zephrin", [] {}));
    first.reset();
    CInstanceCheck next;
    EXPECT_FALSE(next.FindOther("/opt/Sizing/Zephrin", [] {}));
}

TEST_F(InstanceCheckTest, FilesLieInTheRuntimeFolderNamedForUserAndProgram)
{
    const std::string base = CInstanceCheck::BasePath("/opt/Sizing/Zephrin");
    EXPECT_EQ(base.rfind(runtime.Path("harbinax-" + std::to_string(::getuid()) + "-"), 0), 0u) << base;
    EXPECT_NE(base, CInstanceCheck::BasePath("/opt/Other/Zephrin"));
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(CInstanceCheck::BasePath("x").rfind("/tmp/harbinax-", 0), 0u);
}

TEST_F(InstanceCheckTest, ALockFileOfAnotherUserIsIgnored)
{
    // Another user made the file first, open to all, and holds its lock.
    const std::string identity = "/opt/Sizing/Zephrin";
    const std::string lockPath = CInstanceCheck::BasePath(identity) + ".lock";
    const int squatter = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(squatter, 0);
    if (::fchown(squatter, ::geteuid() + 1, static_cast<gid_t>(-1)) != 0) {
        ::close(squatter);
        GTEST_SKIP() << "making a file of another user needs root";
    }
    ::fchmod(squatter, 0666);
    ASSERT_EQ(::flock(squatter, LOCK_EX | LOCK_NB), 0);

    bool found = true;
    const std::string log = LogWrittenWhile(runtime.Path("instance.log"), LOGLEVEL_WARN, [&] {
        CInstanceCheck check;
        found = check.FindOther(identity, [] {});
    });
    ::close(squatter);
    EXPECT_FALSE(found);
    EXPECT_NE(log.find("\nwarn|Instance lock " + lockPath + " belongs to another user; ignored"), std::string::npos)
        << log;
}

TEST_F(InstanceCheckTest, ApplicationAnswersForItsProgramFileOrItsNameOnly)
{
    // The application takes the identity once and keeps it.
    EXPECT_FALSE(App().IsOtherInstanceRunning(false));
    EXPECT_FALSE(App().IsOtherInstanceRunning(false));
    CInstanceCheck later;
    EXPECT_TRUE(later.FindOther(TestProgramFolder() + "Zephrin", [] {}));
    CInstanceCheck byName;
    EXPECT_FALSE(byName.FindOther("Zephrin", [] {}));
}

}  // namespace
