#include "lagsum.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

// Fills a column with a sentinel beyond its end, runs the kernel, and
// returns the index of the single 1 (-1 when the column is all zero).
struct Outcome {
    int returned;
    int one_at;
};

Outcome run(double x, double y, double z, double dt, int nt, double delay, double cp = 1500.0)
{
    std::vector<double> h(static_cast<std::size_t>(std::max(nt, 0)) + 1, -7.0);
    const int returned = lagsum(x, y, z, dt, nt, delay, cp, h.data());
    EXPECT_EQ(h.back(), -7.0) << "wrote past sample nt - 1";
    int one_at = -1;
    for (int k = 0; k < nt; ++k) {
        const double v = h[static_cast<std::size_t>(k)];
        if (v == 1.0 && one_at < 0)
            one_at = k;
        else
            EXPECT_EQ(v, 0.0) << "sample " << k;
    }
    return {returned, one_at};
}

// With cp = 1000 m/s a distance of d mm takes d us one way, so the quotient
// is (d - delay) / dt exactly for these values.
TEST(Lagsum, IndexAndOffsetPerTravelTime)
{
    const struct {
        const char* name;
        double x, y, z, dt;
        int nt;
        double delay;
        Outcome expected;
    } cases[] = {
        {"delay equal to the travel time", 0, 0, 10, 0.1, 20, 10, {0, 0}},
        {"2.5 samples rounds down to even", 0, 0, 2.5, 1, 10, 0, {0, 2}},
        {"3.5 samples rounds up to even", 0, 0, 3.5, 1, 10, 0, {0, 4}},
        {"-0.5 samples rounds to 0", 0, 0, 1.5, 1, 10, 2, {0, 0}},
        {"signs of x, y, z do not matter", -3, 4, -12, 1, 20, 0, {0, 13}},
        {"last sample", 0, 0, 9, 1, 10, 0, {0, 9}},
        {"k = nt is one past the end", 0, 0, 10, 1, 10, 0, {1, -1}},
        {"k = nt + 4", 0, 0, 14, 1, 10, 0, {5, -1}},
        {"k = -3", 0, 0, 2, 1, 10, 5, {-3, -1}},
        {"k = -1 from -0.5 - ulp", 0, 0, 1.5, 1, 10, 2.0000000001, {-1, -1}},
        {"no samples: k = 0 is past the end", 0, 0, 0, 1, 0, 0, {1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o = run(c.x, c.y, c.z, c.dt, c.nt, c.delay, 1000.0);
        EXPECT_EQ(o.returned, c.expected.returned);
        EXPECT_EQ(o.one_at, c.expected.one_at);
    }
}

// Travel times beyond any index saturate instead of overflowing, and one
// that is not a number counts as before the window.
TEST(Lagsum, FarAndUndefinedTravelTimesSaturate)
{
    const struct {
        const char* name;
        double z, dt, delay, cp;
        int expected;
    } cases[] = {
        {"2^40 samples late", std::ldexp(1.0, 40), 1, 0, 1000, INT_MAX},
        {"infinitely far", INFINITY, 1, 0, 1000, INT_MAX},
        {"2^40 samples early", 0, 1, std::ldexp(1.0, 40), 1000, INT_MIN},
        {"negative sound speed", 10, 1, 0, -1000, -10},
        {"NaN point", NAN, 1, 0, 1000, INT_MIN},
        {"NaN delay", 10, 1, NAN, 1000, INT_MIN},
        {"infinity minus infinity", INFINITY, 1, INFINITY, 1000, INT_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o = run(0, 0, c.z, c.dt, 8, c.delay, c.cp);
        EXPECT_EQ(o.returned, c.expected);
        EXPECT_EQ(o.one_at, -1);
    }
}

TEST(Lagsum, ClearsTheColumnItWritesInto)
{
    std::vector<double> h(6, 5.0);
    EXPECT_EQ(lagsum(0, 0, 3, 1, 5, 0, 1000, h.data()), 0);
    EXPECT_EQ(h, (std::vector<double>{0, 0, 0, 1, 0, 5.0}));
}

}  // namespace
