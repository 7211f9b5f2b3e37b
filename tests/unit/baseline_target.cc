// Holds the vector kernels of a test executable to the baseline instruction
// set, Highway's static target (no SIMD extension on x86-64, NEON on ARM64),
// as a processor with no wider vectors runs them.
#include <hwy/targets.h>

#include <gtest/gtest.h>

namespace {

class Baseline_target final : public ::testing::Environment {
public:
    void SetUp() override
    {
        hwy::SetSupportedTargetsForTest(HWY_STATIC_TARGET);
        ASSERT_EQ(hwy::SupportedTargets(), HWY_STATIC_TARGET);
    }
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

const ::testing::Environment* const baseline =
    ::testing::AddGlobalTestEnvironment(new Baseline_target);

}  // namespace
