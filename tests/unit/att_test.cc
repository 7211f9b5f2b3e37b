#include "att.h"

#include "fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

namespace {

// One host call's worth of work slots around each test.
class AttTest : public ::testing::Test {
protected:
    void start(int nt) { ASSERT_TRUE(att_init(nt, 1)); }
    void TearDown() override
    {
        att_close();
        EXPECT_EQ(XC, nullptr);
        EXPECT_EQ(p_backward, nullptr);
    }

    // Kernel output for one distance, into a column with a sentinel after it.
    std::vector<double> response(double alpha, double r, int k, double dt, int nt, double w = 1.0)
    {
        std::vector<double> h(static_cast<std::size_t>(nt) + 1, 0.0);
        h[nt] = -7.0;
        att(alpha, r, k, dt, 1500.0, h.data(), nt, w);
        EXPECT_EQ(h[nt], -7.0) << "wrote past sample nt - 1";
        h.pop_back();
        return h;
    }
};

int row_mod(int k, int nt) { return ((k % nt) + nt) % nt; }

// Without attenuation the response is a unit sample at row k mod nt: the
// pulse wraps around the window in both directions. The phase w t_k grows
// with k, and its rounding with it.
TEST_F(AttTest, WithoutAttenuationThePulseIsAUnitSampleAtKModNt)
{
    const int nt = 32;
    start(nt);
    for (int k : {0, 1, 10, 31, 32, 45, -8, -1, -33, 2147483647, -2147483647}) {
        SCOPED_TRACE(k);
        const std::vector<double> h = response(0.0, 50.0, k, 0.1, nt);
        const double tolerance = 1e-12 + 1e-15 * std::fabs(static_cast<double>(k));
        for (int j = 0; j < nt; ++j)
            EXPECT_NEAR(h[j], j == row_mod(k, nt) ? 1.0 : 0.0, tolerance) << "j = " << j;
    }
}

struct Damped_case {
    double alpha, r;
    int k, nt;
};

// Zero frequency passes unattenuated, so every response sums to 1 (times
// the weight), whatever the length, odd or even, and wherever the pulse is.
TEST_F(AttTest, ResponsesSumToTheirWeight)
{
    const Damped_case cases[] = {
        {0.5, 50.0, 9, 32}, {0.5, 50.0, 9, 33}, {2.0, 120.0, -40, 256},
        {0.1, 0.0, 1, 5},   {1.0, 10.0, 300, 64}, {0.5, 50.0, 0, 2},
    };
    for (const Damped_case& c : cases) {
        SCOPED_TRACE(c.nt);
        start(c.nt);
        for (double w : {1.0, -2.5}) {
            const std::vector<double> h = response(c.alpha, c.r, c.k, 0.1, c.nt, w);
            EXPECT_NEAR(std::accumulate(h.begin(), h.end(), 0.0), w, 1e-12);
        }
        att_close();
    }
}

TEST_F(AttTest, KernelsAddIntoTheirColumnOnly)
{
    const int nt = 16;
    start(nt);
    const std::vector<double> single = response(0.5, 30.0, 5, 0.1, nt);
    // att adds to what the column holds.
    std::vector<double> h(nt, 1.0);
    att(0.5, 30.0, 5, 0.1, 1500.0, h.data(), nt, 2.0);
    for (int j = 0; j < nt; ++j)
        EXPECT_DOUBLE_EQ(h[j], 1.0 + 2.0 * single[j]);
    // att_annu adds the same response into column 2 of a 4-column matrix.
    std::vector<double> m(4 * nt, 0.0);
    att_annu(0.5, 30.0, 5, 0.1, 1500.0, m.data(), nt, 1.0, 2);
    for (int i = 0; i < 4 * nt; ++i)
        EXPECT_EQ(m[i], i / nt == 2 ? single[i % nt] : 0.0) << "element " << i;
}

// With several slots the kernel works in the last one.
TEST_F(AttTest, KernelWorksInTheLastOfSeveralSlots)
{
    const int nt = 8;
    ASSERT_TRUE(att_init(nt, 3));
    EXPECT_EQ(n_cpus, 3);
    for (int s = 0; s < 3; ++s)
        BUF[s][0] = -1.0;
    const std::vector<double> h = response(0.0, 0.0, 3, 0.1, nt);
    EXPECT_NEAR(h[3], 1.0, 1e-12);
    EXPECT_EQ(BUF[0][0], -1.0);
    EXPECT_EQ(BUF[1][0], -1.0);
    EXPECT_NE(BUF[2][0], -1.0);
}

}  // namespace
