#include "piston.h"

#include "piston_kernels.h"
#include "time_axes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using velk::Piston;
using velk::Piston_kind;

// The band holds the kernel's samples bit for bit and nothing but +0 lies
// outside it, over points in, on and beyond each piston and time axes that
// grow and that do not (where the band is the whole column).
TEST(PistonResponse, BandHoldsTheKernelsBitsAndPlusZeroLiesOutside)
{
    const Piston pistons[] = {{Piston_kind::disc, 5, 0, 1.5, 1480, 0},
                              {Piston_kind::plate, 10, 6, 1.5, 1480, 0},
                              {Piston_kind::disc_avg, 5, 0, -0.5, 1500, 3},
                              {Piston_kind::plate_avg, 0.27, 5, 1.0, 1500, 2}};
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const Piston& p : pistons)
        for (const Time_axis& axis : checked_time_axes)
            for (int trial = 0; trial < 30; ++trial) {
                const double x = trial % 6 == 0 ? p.a / 2 : 20 * unit(rng) - 10;
                const double y = 12 * unit(rng) - 6, z = 40 * unit(rng) - 5;
                const double delay = 30 * unit(rng) - 2;
                const velk::Piston_response r(p, x, y, z, {axis.dt, axis.nt}, delay);
                const velk::Sample_band band = r.band();
                ASSERT_LE(0, band.k_first);
                ASSERT_LE(band.k_first, band.k_end);
                ASSERT_LE(band.k_end, axis.nt);
                std::vector<double> samples(static_cast<std::size_t>(band.size()) + 1, -7.0);
                r.fill(samples.data());
                EXPECT_EQ(samples.back(), -7.0) << "wrote past the band";
                const std::vector<double> h = kernel_column(p, x, y, z, axis.dt, axis.nt, delay);
                for (int k = 0; k < axis.nt; ++k) {
                    const double expected = k < band.k_first || k >= band.k_end
                                                ? 0.0
                                                : samples[std::size_t(k - band.k_first)];
                    ASSERT_EQ(std::memcmp(&h[std::size_t(k)], &expected, sizeof(double)), 0)
                        << int(p.kind) << " (" << x << ", " << y << ", " << z << "), dt "
                        << axis.dt << ", delay " << delay << ", k " << k << ": " << h[std::size_t(k)]
                        << " against " << expected;
                }
            }
}

}  // namespace
