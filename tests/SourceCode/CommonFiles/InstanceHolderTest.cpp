// Process-wide objects are deleted at process end, and a late caller gets null, not a deleted
// object.
#include "CommonFiles/InstanceHolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace {

struct Probe {
    Probe() { ++alive; }
    ~Probe() { --alive; }
    static inline int alive = 0;
};

// Built before the holder, so destroyed after it, like another program object at exit.
struct LateCaller {
    ~LateCaller() { _exit(CInstanceHolder<Probe>::Get() == nullptr && Probe::alive == 0 ? 0 : 1); }
};

TEST(InstanceHolderDeathTest, DeletesAtExitAndGivesLateCallersNull)
{
    EXPECT_EXIT(
        {
            static LateCaller late;
            Probe* first = CInstanceHolder<Probe>::Get();
            if (first == nullptr || CInstanceHolder<Probe>::Get() != first || Probe::alive != 1)
                _exit(2);
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
