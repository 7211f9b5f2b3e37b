#include "att.h"

#include "fft.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The values 0.0474, 0.5107, 0.2400, 0.0726, 0.0435 in rows 8 to 12, and a
// small undershoot before the peak, for 0.5 dB/(cm MHz) over 50 mm.
TEST_F(AttTest, DampedPulseAtFiftyMillimetres)
{
    start(32);
    const std::vector<double> h = response(0.5, 50.0, 9, 0.1, 32);
    const double expected[] = {0.0474, 0.5107, 0.2400, 0.0726, 0.0435};
    for (int j = 0; j < 5; ++j)
        EXPECT_NEAR(h[8 + j], expected[j], 0.00005) << "row " << 8 + j;
    EXPECT_NEAR(h[7], -0.0077, 0.00005);
}

// A longer path through the same medium gives a lower, wider pulse.
TEST_F(AttTest, DeeperPulsesAreLowerAndWider)
{
    start(512);
    double last_peak = 2.0, last_width = 0.0;
    for (double r : {20.0, 50.0, 100.0, 200.0}) {
        const std::vector<double> h = response(0.5, r, 100, 0.05, 512);
        const double peak = *std::max_element(h.begin(), h.end());
        const double width =
            std::count_if(h.begin(), h.end(), [&](double v) { return v > peak / 2; });
        EXPECT_LT(peak, last_peak) << "r = " << r;
        EXPECT_GE(width, last_width) << "r = " << r;
        last_peak = peak;
        last_width = width;
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

TEST_F(AttTest, OneSampleHoldsOne)
{
    start(1);
    EXPECT_EQ(response(0.5, 50.0, 7, 0.1, 1), std::vector<double>{1.0});
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
