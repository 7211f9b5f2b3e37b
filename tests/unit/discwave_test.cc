#include "discwave.h"

#include "disc_geometry.h"
#include "time_axes.h"
#include "time_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double pi = 3.141592653589793;

std::vector<double> response(double x, double y, double z, double a, double dt, int nt,
                             double delay, double v = 2.0, double cp = 1500.0)
{
    std::vector<double> h(static_cast<std::size_t>(std::max(nt, 0)) + 1, -7.0);
    discwave(x, y, z, a, dt, nt, delay, v, cp, h.data());
    EXPECT_EQ(h.back(), -7.0) << "wrote past sample nt - 1";
    h.pop_back();
    return h;
}

// With cp = 1500 m/s and dt = 0.1 us, sample k sits at ct = 0.15 k mm.
struct Region_case {
    const char* name;
    double x, y, z, a;
    int first_nonzero, last_nonzero;  // -1: the column is all zero
    bool plateau;                     // nonzero samples all equal v cp
};

TEST(Discwave, NonzeroSamplesLieBetweenTheArrivalTimes)
{
    const Region_case cases[] = {
        // z = 10 mm: plateau from ct = 10 (k = 66.7) to R1 = sqrt(125) = 11.18 (k = 74.5).
        {"on axis", 0, 0, 10, 5, 67, 74, true},
        // R1 = sqrt(109) = 10.44 (k = 69.6), R2 = sqrt(269) = 16.40 (k = 109.3).
        {"outside", 8, 0, 10, 5, 70, 109, false},
        {"outside along y", 0, -8, 10, 5, 70, 109, false},
        // z < 0 inside: the plateau starts at t = 0, since ct >= z at once.
        {"negative z inside", 0, 0, -10, 5, 0, 74, true},
        {"zero radius", 0, 0, 10, 0, -1, -1, false},
        {"negative radius", 1, 0, 10, -5, -1, -1, false},
    };
    for (const Region_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> h = response(c.x, c.y, c.z, c.a, 0.1, 200, 0.0);
        for (int k = 0; k < 200; ++k) {
            const double hk = h[static_cast<std::size_t>(k)];
            const bool expected_nonzero = c.first_nonzero >= 0 && k >= c.first_nonzero &&
                                          k <= c.last_nonzero;
            EXPECT_EQ(hk != 0.0, expected_nonzero) << "k = " << k << ", h = " << hk;
            if (expected_nonzero && c.plateau) {
                EXPECT_EQ(hk, 3000.0) << "k = " << k;
            }
        }
    }
}

// The edge wave against the arc cosine formed independently in long double:
// q = (r^2 + (ct)^2 - z^2 - a^2) / (2 r sqrt((ct)^2 - z^2)).
TEST(Discwave, EdgeWaveMatchesClosedForm)
{
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> coord(-15.0, 15.0), height(0.5, 30.0);
    const double a = 6.0, v = 0.5, cp = 1480.0, dt = 0.05;
    for (int trial = 0; trial < 200; ++trial) {
        const double x = coord(rng), y = coord(rng), z = height(rng);
        const std::vector<double> h = response(x, y, z, a, dt, 800, 0.0, v, cp);
        const long double r = std::hypot(x, y) / 1000.0L, zm = z / 1000.0L, am = a / 1000.0L;
        const long double R1 = std::sqrt(zm * zm + (am - r) * (am - r));
        const long double R2 = std::sqrt(zm * zm + (am + r) * (am + r));
        for (int k = 0; k < 800; ++k) {
            const long double ct = cp * (k * dt / 1e6L);
            // Keep clear of the arrival times, where rounding decides the row.
            if (ct < R1 * (1 + 1e-9L) || ct > R2 * (1 - 1e-9L))
                continue;
            const long double s = ct * ct - zm * zm;
            const long double q = (r * r + s - am * am) / (2 * r * std::sqrt(s));
            const double expected = static_cast<double>(v * cp / pi * std::acos(std::clamp(q, -1.0L, 1.0L)));
            EXPECT_NEAR(h[static_cast<std::size_t>(k)], expected, 1e-9 * v * cp)
                << "point (" << x << ", " << y << ", " << z << "), k = " << k;
        }
    }
}

// Sample k of the response's table, with the library's arc cosine, in metres
// and seconds: the value the kernel's vector samples must stay within
// 1e-12 v cp of.
double table_sample(double x, double y, double z, double a, double dt, int k, double delay,
                    double v, double cp)
{
    const auto [r, R1, R2, inside] = disc_geometry(x, y, z, a);
    const double t = velk::sample_time(k, dt, delay);
    const double ct = cp * t;
    if (inside && ct < z)
        return 0.0;
    if (inside && z <= ct && ct < R1)
        return v * cp;
    if (!(R1 <= ct && ct < R2))
        return 0.0;
    const double s = cp * ct * t - z * z;
    const double n = r * r - a * a;
    const double q = s > 0.0    ? (n + s) / (2.0 * r * std::sqrt(s))
                     : n == 0.0 ? 0.0
                     : n > 0.0  ? INFINITY
                                : -INFINITY;
    return (v * cp / pi) * (q >= 1.0 ? 0.0 : q <= -1.0 ? pi : std::acos(q));
}

// Every sample against the table, for windows that start before, at and
// after the arrivals, and for time axes that do not grow (dt <= 0), where
// the kernel cannot skip a head and a tail.
TEST(Discwave, WithinOneInATrillionOfTheTable)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double a = 5.0, v = -1.5, cp = 1480.0;
    for (const Time_axis& axis : checked_time_axes) {
        for (int trial = 0; trial < 60; ++trial) {
            const double rho = 12.0 * unit(rng), angle = 6.3 * unit(rng);
            const double x = trial % 10 == 0 ? a : rho * std::cos(angle);  // some over the rim
            const double y = trial % 10 == 0 ? 0.0 : rho * std::sin(angle);
            const double z = 40.0 * unit(rng) - 5.0;
            const double delay = 30.0 * unit(rng) - 2.0;
            const std::vector<double> h = response(x, y, z, a, axis.dt, axis.nt, delay, v, cp);
            for (int k = 0; k < axis.nt; ++k)
                ASSERT_NEAR(
                    h[std::size_t(k)],
                    table_sample(x / 1000, y / 1000, z / 1000, a / 1000, axis.dt, k, delay, v, cp),
                    1e-12 * std::fabs(v * cp))
                    << "(" << x << ", " << y << ", " << z << "), dt " << axis.dt << ", delay "
                    << delay << ", k " << k;
        }
    }
}

TEST(Discwave, PointOverTheRimStartsAtHalfThePlateau)
{
    // (a, 0, 0) with delay 0: the first sample sits on the edge arrival with
    // s = 0; the limit from inside the edge interval is v cp / 2.
    const std::vector<double> h = response(5, 0, 0, 5, 0.1, 3, 0.0);
    EXPECT_NEAR(h[0], 1500.0, 1e-9);
    EXPECT_LT(h[1], 1500.0);
    EXPECT_GT(h[1], 0.0);
}

TEST(Discwave, NoNotANumberNearTheArrivalTimes)
{
    // Points on, just inside and just outside the rim, at heights that put
    // samples right at R1 and R2, with delays that land samples on them.
    const double a = 5.0, cp = 1500.0, dt = 0.01;
    for (double dr : {-1e-9, -1e-12, 0.0, 1e-12, 1e-9})
        for (double z : {0.0, 1e-6, 3.0, -3.0})
            for (double delay : {0.0, z / cp * 1000.0, 1e-3}) {
                const std::vector<double> h = response(a + dr, 0, z, a, dt, 2000, delay, 1.0, cp);
                for (std::size_t k = 0; k < h.size(); ++k)
                    ASSERT_TRUE(std::isfinite(h[k]))
                        << "r = a + " << dr << ", z = " << z << ", delay = " << delay
                        << ", k = " << k;
            }
}

TEST(Discwave, DelayShiftsTheTimeAxis)
{
    // A delay of 10 dt moves every sample 10 rows up.
    const std::vector<double> base = response(3, 4, 12, 6, 0.1, 300, 0.0);
    const std::vector<double> shifted = response(3, 4, 12, 6, 0.1, 290, 1.0);
    for (std::size_t k = 0; k < shifted.size(); ++k)
        EXPECT_NEAR(shifted[k], base[k + 10], 1e-9 * 3000.0) << "k = " << k;
}

TEST(Discwave, NoSamplesWritesNothing)
{
    for (int nt : {0, -3}) {
        double sentinel = -7.0;
        discwave(0, 0, 10, 5, 0.1, nt, 0.0, 1.0, 1500.0, &sentinel);
        EXPECT_EQ(sentinel, -7.0) << "nt = " << nt;
    }
}

}  // namespace
