// The cluster as a test environment of the program; apart from the cluster itself, which the
// benchmarks use without the test framework.
#include "support/PgCluster.h"

#include <gtest/gtest.h>

namespace {

class CPgClusterEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(cluster.Start(error)) << error;
    }
    void TearDown() override { cluster.Stop(); }

    CPgCluster cluster;
};

}  // namespace

CPgCluster& TestProgramPgCluster()
{
    static CPgClusterEnvironment* const environment = [] {
        auto* made = new CPgClusterEnvironment;
        testing::AddGlobalTestEnvironment(made);  // gtest owns it from here
        return made;
    }();
    return environment->cluster;
}
