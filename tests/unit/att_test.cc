#include "att.h"

#include "fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
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

// The spectrum as written, with the library's exp, log and sincos.
std::vector<std::complex<double>> written_spectrum(double alpha, double r, int k, double dt, int nt)
{
    const double pi = 3.141592653589793, two_pi = 6.283185307179586;
    const double T = dt / 1000000.0, a = alpha / 86860.0, R = r / 1000.0;
    std::vector<std::complex<double>> X(static_cast<std::size_t>(nt / 2) + 1);
    X[0] = 1.0;
    for (int i = 1; i <= nt / 2; ++i) {
        const double omega = i * (two_pi / nt) * (1.0 / T);
        const double L = std::log(1.0 / (omega * (0.95 * T / pi)));
        const double theta = -(a * R * omega / 9.869604401089358) * L - omega * (k * T);
        double s, c;
        ::sincos(theta, &s, &c);
        const double A = std::exp(-a * R * omega / two_pi);
        X[static_cast<std::size_t>(i)] = {A * c, A * s};
    }
    return X;
}

// The vector exponential, sine and cosine keep every bin within 1e-15 of
// the written spectrum's (relative, for gains above 1), also where the
// library's own take over: phases beyond +-39000 (a pulse far outside the
// window) and exponents beyond 700 (a negative attenuation, a gain).
TEST_F(AttTest, SpectrumWithinOneInAQuadrillionOfTheWrittenOne)
{
    const struct {
        double alpha, r;
        int k;
        double dt;
        int nt;
    } cases[] = {
        {0.5, 50.0, 700, 0.05, 2048}, {2.0, 120.0, -40, 0.02, 999}, {0.3, 10.0, 3, 0.1, 1},
        {0.3, 10.0, 3, 0.1, 2},       {0.3, 10.0, 3, 0.1, 3},       {0.5, 50.0, 2000000, 0.05, 64},
        {-61.0, 100.0, 9, 0.05, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nt);
        start(c.nt);
        att_spectrum(c.alpha, c.r, c.k, c.dt, c.nt, XC[0]);
        const std::vector<std::complex<double>> X = written_spectrum(c.alpha, c.r, c.k, c.dt, c.nt);
        for (std::size_t i = 0; i < X.size(); ++i) {
            const double bound = 1e-15 * std::max(1.0, std::abs(X[i]));
            EXPECT_NEAR(XC[0][i][0], X[i].real(), bound) << "bin " << i;
            EXPECT_NEAR(XC[0][i][1], X[i].imag(), bound) << "bin " << i;
        }
        att_close();
    }
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
