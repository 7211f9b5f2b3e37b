#include "time_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A response that arrives at 1 us and is over from 2 us on, seen on axes
// that start at 0: the band and the zeros written around it.
TEST(ResponseBand, ZerosOutsideTheArrivalsOnlyWhereTheyAreInOrder)
{
    const double inf = INFINITY, nan = NAN;
    const struct {
        double dt, cp;
        int nt;
        int k_first, k_end;
    } cases[] = {
        {0.1, 1500, 40, 10, 20},   // arrivals at samples 10 and 20
        {0.1, 1500, 15, 10, 15},   // the column ends before the response does
        {0.1, 1500, 5, 5, 5},      // ... or before it begins
        {0.5, 1500, 40, 2, 4},
        {-0.1, 1500, 40, 0, 40},   // sample times decrease: nothing is known
        {0.0, 1500, 40, 0, 40},
        {inf, 1500, 40, 0, 40},
        {nan, 1500, 40, 0, 40},
        {0.1, inf, 40, 0, 40},     // arrivals not finite
        {0.1, nan, 40, 0, 40},
        {0.1, 0.0, 40, 0, 40},
        {0.1, -1500, 40, 0, 40},
        {0.1, 1500, 0, 0, 0},
    };
    for (const auto& c : cases) {
        std::vector<double> h(static_cast<std::size_t>(c.nt) + 1, -7.0);
        auto t = [&](int k) { return velk::sample_time(k, c.dt, 0.0); };
        const velk::Sample_band band = velk::zero_outside_band(
            c.nt, c.dt, c.cp, [&](int k) { return t(k) >= 1e-6 * (1 - 1e-12); },
            [&](int k) { return t(k) >= 2e-6 * (1 - 1e-12); }, h.data());
        EXPECT_EQ(band.k_first, c.k_first) << c.dt << ", " << c.cp << ", " << c.nt;
        EXPECT_EQ(band.k_end, c.k_end) << c.dt << ", " << c.cp << ", " << c.nt;
        for (int k = 0; k <= c.nt; ++k) {
            const bool zeroed = k < c.nt && (k < c.k_first || k >= c.k_end);
            EXPECT_EQ(h[std::size_t(k)], zeroed ? 0.0 : -7.0) << "k = " << k;
        }
    }
}

}  // namespace
