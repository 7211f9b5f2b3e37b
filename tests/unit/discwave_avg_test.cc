#include "discwave_avg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double pi = 3.141592653589793;
constexpr double cp = 1500.0;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::vector<double> averaged(double x, double y, double z, double a, double dt, int nt,
                             double delay, int N, double v = 2.0)
{
    std::vector<double> h(static_cast<std::size_t>(std::max(nt, 0)) + 1, -7.0);
    discwave_avg(x, y, z, a, dt, nt, delay, v, cp, N, h.data());
    EXPECT_EQ(h.back(), -7.0) << "wrote past sample nt - 1";
    h.pop_back();
    return h;
}

TEST(AcosAcos, ClampsOutsideTheDomain)
{
    struct {
        double p, q, expected;
    } cases[] = {
        {0.5, -0.5, pi},           // acos(0.5) + acos(-0.5)
        {1.0, -1.0, pi},
        {1.0 + 1e-15, 0.0, pi / 2},
        {-1.0 - 1e-15, 0.0, 1.5 * pi},
        {-INFINITY, INFINITY, pi},
        {nan, 0.0, pi / 2},
        {nan, nan, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(acos_acos(c.p, c.q), c.expected, 1e-15) << c.p << ", " << c.q;
}

// The edge wave's argument, written out for the checks below.
double q_of(double tau, double z, double a, double r)
{
    const double s = cp * tau * cp * tau - z * z;
    return (s + r * r - a * a) / (2 * r * std::sqrt(s));
}

TEST(TrapetsInt, OneTrapezoidAndConvergence)
{
    // A point at r = 3 mm, z = 10 mm off a 5 mm piston; its edge wave lasts
    // from R1 / cp to R2 / cp.
    const double z = 0.010, a = 0.005, r = 0.003;
    const double T1 = std::sqrt(z * z + (a - r) * (a - r)) / cp;
    const double T2 = std::sqrt(z * z + (a + r) * (a + r)) / cp;
    const double t1 = T1 + (T2 - T1) * 0.2, t2 = T1 + (T2 - T1) * 0.7;

    EXPECT_EQ(trapets_int(t1, t2, z, a, r, cp, 0), 0.0);
    EXPECT_EQ(trapets_int(t1, t2, z, a, r, cp, -5), 0.0);
    // The rule as written, with the library's arc cosine: the vector arc
    // cosine keeps every sum within 1e-12 of pi (t2 - t1).
    for (int N : {1, 2, 7, 16, 33}) {
        const double step = (t2 - t1) / N;
        double sum = 0.0, tau = t1;
        for (int i = 0; i < N; ++i, tau += step)
            sum += step *
                   ((std::acos(q_of(tau, z, a, r)) + std::acos(q_of(tau + step, z, a, r))) * 0.5);
        EXPECT_NEAR(trapets_int(t1, t2, z, a, r, cp, N), sum, 1e-12 * pi * (t2 - t1)) << N;
    }

    // Against a fine midpoint sum; the error of the rule falls as 1/N^2.
    double fine = 0;
    const int M = 200000;
    for (int i = 0; i < M; ++i)
        fine += std::acos(q_of(t1 + (t2 - t1) * (i + 0.5) / M, z, a, r));
    fine *= (t2 - t1) / M;
    const double e4 = std::fabs(trapets_int(t1, t2, z, a, r, cp, 4) - fine);
    const double e64 = std::fabs(trapets_int(t1, t2, z, a, r, cp, 64) - fine);
    EXPECT_LT(e64, e4 / 100);
    EXPECT_NEAR(trapets_int(t1, t2, z, a, r, cp, 64), fine, 1e-5 * fine);

    // Over the whole edge wave the ends sit where q is +-1, by rounding
    // possibly just outside: the clamped ends keep the integral a number.
    EXPECT_TRUE(std::isfinite(trapets_int(T1, T2, z, a, r, cp, 16)));
}

TEST(DiscwaveAvg, PlateauOnTheAxis)
{
    // z = 10 mm, a = 5 mm: the plateau v cp lasts from 10 / 1.5 = 6.667 us
    // to sqrt(125) / 1.5 = 7.454 us. Intervals of 0.1 us centred on k * 0.1.
    const double v = 2.0, dt = 0.1;
    const std::vector<double> h = averaged(0, 0, 10, 5, dt, 100, 0.0, 4, v);
    const double start = 10 / 1.5, end = std::sqrt(125.0) / 1.5;
    for (int k = 0; k < 100; ++k) {
        const double lo = k * dt - dt / 2, hi = k * dt + dt / 2;
        const double covered = std::max(0.0, std::min(hi, end) - std::max(lo, start));
        EXPECT_NEAR(h[static_cast<std::size_t>(k)], v * cp * covered / dt, 1e-9 * v * cp)
            << "k = " << k;
    }
}

TEST(DiscwaveAvg, NoEdgeWaveOrNoPiston)
{
    for (double a : {0.0, -5.0}) {
        const std::vector<double> h = averaged(1, 1, 10, a, 0.05, 400, 0.0, 8);
        EXPECT_TRUE(std::all_of(h.begin(), h.end(), [](double s) { return s == 0.0; })) << a;
    }
    double sentinel = -7.0;
    discwave_avg(0, 0, 10, 5, 0.1, 0, 0.0, 1.0, cp, 4, &sentinel);
    EXPECT_EQ(sentinel, -7.0);
}

}  // namespace
