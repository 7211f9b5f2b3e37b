#include "platewave.h"

#include "time_axes.h"
#include "time_axis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double cp = 1500.0;

std::vector<double> response(double x, double y, double z, double a, double b, double dt, int nt,
                             double delay, double v = 1.0)
{
    std::vector<double> h(static_cast<std::size_t>(std::max(nt, 0)) + 1, -7.0);
    platewave(x, y, z, a, b, dt, nt, delay, v, cp, h.data());
    EXPECT_EQ(h.back(), -7.0) << "wrote past sample nt - 1";
    h.pop_back();
    return h;
}

// A 10 x 6 mm piston seen from z = 6 mm; with delay 4 us sample 0 falls
// exactly on tz = z / cp, and dt = 0.01 us puts sample k at ct = 6 + 0.015 k mm.
constexpr double a = 10, b = 6, z = 6, dt = 0.01, delay = 4;
constexpr int nt = 800;

double arrival_sample(double distance_mm)
{
    return (distance_mm - z) / 0.015;
}

struct Foot_case {
    const char* name;
    double x, y;
    double at_tz;           // sample 0, at t = tz
    double nearest_edge;    // distance (mm) in the plane to the nearest edge line
    double farthest_corner; // distance (mm) in the plane to the farthest corner
};

TEST(Platewave, ResponseBetweenArrivals)
{
    const Foot_case cases[] = {
        {"on the axis", 0, 0, cp, 3, std::hypot(5, 3)},
        {"inside, off centre", 2, -1, cp, 2, std::hypot(7, 4)},
        // On an edge line or a corner the sides of length 0 have 0/0 ratios
        // at tz; the limit from later times is half or a quarter of cp.
        {"on the edge x = a/2", 5, 1, cp / 2, 0, std::hypot(10, 4)},
        {"on the edge y = -b/2", -1, -3, cp / 2, 0, std::hypot(6, 6)},
        {"on a corner", -5, 3, cp / 4, 0, std::hypot(10, 6)},
        {"outside", 8, 0, 0, 3, std::hypot(13, 3)},
        {"outside beyond a corner", 7, -5, 0, std::hypot(2, 2), std::hypot(12, 8)},
    };
    ASSERT_EQ(delay / 1e6, (z / 1000.0) / cp) << "sample 0 must fall on tz";
    for (const Foot_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> h = response(c.x, c.y, z, a, b, dt, nt, delay);
        EXPECT_NEAR(h[0], c.at_tz, 1e-9 * cp);
        const double first_edge = arrival_sample(std::hypot(z, c.nearest_edge));
        const double last = arrival_sample(std::hypot(z, c.farthest_corner));
        for (int k = 1; k < nt; ++k) {
            const double hk = h[static_cast<std::size_t>(k)];
            ASSERT_TRUE(std::isfinite(hk)) << "k = " << k;
            if (k < first_edge - 1e-6) {
                EXPECT_NEAR(hk, c.at_tz, 1e-9 * cp) << "k = " << k;
            }
            if (k > last + 1e-6) {
                EXPECT_EQ(hk, 0.0) << "k = " << k;
            }
            if (k > first_edge + 1e-6 && k < last - 1e-6) {
                EXPECT_GT(hk, 0.0) << "k = " << k;
                EXPECT_LT(hk, cp * (1 + 1e-12)) << "k = " << k;
            }
        }
    }
}

// Sample k of the corner rectangles' sum with the library's arc cosine, in
// metres and seconds: the value the kernel's vector samples must stay within
// 1e-12 cp of.
double corner_sum(double x, double y, double z, double a, double b, double dt, int k, double delay)
{
    const double X = std::fabs(x), Y = std::fabs(y), HA = a / 2, HB = b / 2;
    const double sx = X <= HA ? 1 : -1, sy = Y <= HB ? 1 : -1;
    const double nx = std::fabs(HA - X), ny = std::fabs(HB - Y), fx = HA + X, fy = HB + Y;
    const double corners[4][3] = {{sx * sy, nx, ny}, {sy, fx, ny}, {1, fx, fy}, {sx, nx, fy}};
    const double t = velk::sample_time(k, dt, delay), tz = z / cp;
    const double root = cp * std::sqrt(t * t - tz * tz);
    auto edge = [&](double side) {
        const double ratio = side == 0 && root == 0 ? 0.0 : std::min(side / root, 1.0);
        return cp / -6.283185307179586 * std::acos(ratio);
    };
    double sum = 0.0;
    for (const auto& [s, p, q] : corners) {
        const double t1 = std::sqrt(z * z + p * p) / cp, t2 = std::sqrt(z * z + q * q) / cp;
        const double t3 = std::sqrt(z * z + p * p + q * q) / cp;
        const bool on_p = t1 <= t && t <= t3, on_q = t2 <= t && t <= t3;
        if ((on_p || on_q) && p == 0 && q == 0 && root == 0)
            continue;
        double g = tz <= t && t <= t3 ? cp * 0.25 : 0.0;
        g = on_p ? g + edge(p) : g;
        g = on_q ? g + edge(q) : g;
        sum = sum + s * g;
    }
    return sum;
}

// Every sample against the corner sum, for feet inside, on the edges and
// outside, windows before, at and after the arrivals, and time axes that do
// not grow (dt <= 0), where the kernel cannot skip a head and a tail.
TEST(Platewave, WithinOneInATrillionOfTheCornerSum)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const Time_axis& axis : checked_time_axes) {
        for (int trial = 0; trial < 60; ++trial) {
            const double x = trial % 7 == 0 ? a / 2 : 24.0 * unit(rng) - 12.0;
            const double y = trial % 5 == 0 ? -b / 2 : 16.0 * unit(rng) - 8.0;
            const double zz = 40.0 * unit(rng) - 5.0;
            const double d = 30.0 * unit(rng) - 2.0;
            const std::vector<double> h = response(x, y, zz, a, b, axis.dt, axis.nt, d);
            for (int k = 0; k < axis.nt; ++k)
                ASSERT_NEAR(
                    h[std::size_t(k)],
                    corner_sum(x / 1000, y / 1000, zz / 1000, a / 1000, b / 1000, axis.dt, k, d),
                    1e-12 * cp)
                    << "(" << x << ", " << y << ", " << zz << "), dt " << axis.dt << ", delay " << d
                    << ", k " << k;
        }
    }
}

TEST(Platewave, NoNotANumberOnEdgesAndCorners)
{
    // Feet on and a hair off the edge lines and corners, in and over the
    // piston's plane, with samples on and around tz and every arrival.
    for (double dx : {-1e-12, 0.0, 1e-12})
        for (double dy : {-1e-12, 0.0, 1e-12, -3.0})
            for (double zz : {0.0, 1e-9, 3.0, -3.0})
                for (double d : {0.0, 2.0, -2.0, zz / cp * 1000.0}) {
                    const std::vector<double> h =
                        response(5 + dx, 3 + dy, zz, a, b, 0.001, 8000, d);
                    for (std::size_t k = 0; k < h.size(); ++k)
                        ASSERT_TRUE(std::isfinite(h[k]))
                            << dx << ", " << dy << ", z = " << zz << ", delay = " << d
                            << ", k = " << k;
                }
}

TEST(Platewave, SkippedHeadAndTailStayZero)
{
    // Columns that start after the last arrival, or end before the first.
    const std::vector<double> late = response(1, 1, 6, a, b, 0.01, 100, 1000.0);
    EXPECT_TRUE(std::all_of(late.begin(), late.end(), [](double s) { return s == 0.0; }));
    const std::vector<double> early = response(1, 1, 6, a, b, 0.01, 100, 0.0);
    EXPECT_TRUE(std::all_of(early.begin(), early.end(), [](double s) { return s == 0.0; }));
    // A negative dt walks the axis backwards: the samples are still computed.
    // From ct = 6.15 mm (before the nearest edge's wave at 6.32 mm) down to
    // the arrival at 6 mm, then nothing.
    const std::vector<double> backwards = response(1, 1, 6, a, b, -0.01, 100, 4.1);
    EXPECT_EQ(backwards[0], cp);
    EXPECT_EQ(backwards[10], cp);
    EXPECT_EQ(backwards[11], 0.0);
}

TEST(Platewave, NoSamplesWritesNothing)
{
    for (int n : {0, -3}) {
        double sentinel = -7.0;
        platewave(0, 0, 10, a, b, 0.1, n, 0.0, 1.0, cp, &sentinel);
        EXPECT_EQ(sentinel, -7.0) << "nt = " << n;
    }
}

}  // namespace
