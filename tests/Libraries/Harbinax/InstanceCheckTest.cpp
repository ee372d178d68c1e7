// One running program per user and program file: the first start takes the identity, a later
// one finds it taken and asks the first to come forward.
#include "HarbinaxGuiEnvironment.h"

#include "Harbinax/InstanceCheck.h"
#include "Platform/ProgramFolder.h"
#include "support/TemporaryFolder.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
