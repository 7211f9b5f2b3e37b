#include "platewave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
