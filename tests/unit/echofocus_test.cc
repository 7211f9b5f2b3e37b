#include "echofocus.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// The reconstruction of one point written step by step, scalar, with the
// library's lrint and the two branches of the interpolation.
double written_procedure(const std::vector<double>& S, std::size_t M, const std::vector<double>& P,
                         const std::vector<double>& delays, double dt, double cp, double a,
                         double x, double y, double z)
{
    const std::size_t N = P.size() / 3;
    double out = 0;
    const double h = a * 0.5f;
    for (std::size_t n = 0; n < N; ++n) {
        const double r = std::sqrt((P[n] - x) * (P[n] - x) + (P[N + n] - y) * (P[N + n] - y));
        if (r > h)
            continue;
        const double R = std::sqrt(r * r + (z - P[2 * N + n]) * (z - P[2 * N + n]));
        const double tau = delays.size() == 1 ? delays[0] : delays[n];
        const double D = ((2 * R) / cp * 1000.0f + (-2.0f) * tau) / dt;
        const long k = std::lrint(D);
        if (k <= 1 || k + 1 >= static_cast<long>(M))
            continue;
        const double f = D - static_cast<double>(k);
        const double* s = S.data() + n * M;
        if (f >= 0) {
            out = out + (1 - f) * s[k];
            out = out + f * s[k + 1];
        } else {
            out = out + (1 + f) * s[k];
            out = out - f * s[k - 1];
        }
    }
    return out;
}

struct Scene {
    std::size_t M;
    std::vector<double> S, P, delays;
    double dt, cp;

    Echofocus_scans scans(double a) const
    {
        return {S.data(), M, P.size() / 3, P.data(), delays.data(), delays.size() > 1, dt, cp,
                lateral_limit(a)};
    }
};

// One A-scan recorded at the observation point itself (R = 0), so that the
// delay alone sets D = -2 tau / dt; samples s[k] = 10^k keep every term
// visible in the sum.
double single_scan_value(double D, std::size_t M = 8)
{
    Scene scene{M, {}, {0, 0, 0}, {-D / 2}, 1.0, 1500.0};
    for (std::size_t k = 0; k < M; ++k)
        scene.S.push_back(std::pow(10.0, static_cast<double>(k)));
    return echofocus_point(scene.scans(1.0), 0, 0, 0);
}

TEST(Echofocus, InterpolationBetweenNearestSampleAndItsNeighbour)
{
    const struct {
        double D;
        double expected;
    } cases[] = {
        {2.5, 0.5 * 100 + 0.5 * 1000},      // k = 2 (halfway, to even), f = +0.5
        {3.5, 0.5 * 10000 + 0.5 * 1000},    // k = 4 (halfway, to even), f = -0.5
        {2.75, 0.75 * 1000 + 0.25 * 100},   // k = 3, f = -0.25
        {3.25, 0.75 * 1000 + 0.25 * 10000}, // k = 3, f = +0.25
        {4.0, 10000},                       // an integer D reads its sample alone
        {2.0, 100},                         // k = 2, the first that counts
        {1.5, 0.5 * 100 + 0.5 * 10},        // halfway to 2: counts, reads s[1]
        {1.75, 0.75 * 100 + 0.25 * 10},
        {1.49, 0},                          // k = 1
        {0.0, 0},
        {-3.0, 0},
        {6.0, 1e6},                         // k = M - 2, the last that counts
        {6.25, 0.75 * 1e6 + 0.25 * 1e7},    // reads s[M - 1]
        {6.5, 0.5 * 1e6 + 0.5 * 1e7},       // halfway to 6
        {6.75, 0},                          // k = M - 1
        {1e12, 0},                          // beyond the int range
    };
    for (const auto& c : cases)
        EXPECT_EQ(single_scan_value(c.D), c.expected) << "D = " << c.D;
}

TEST(Echofocus, FewerThanFourSamplesNeverContribute)
{
    for (std::size_t M : {0u, 1u, 2u, 3u})
        for (double D : {0.0, 1.0, 1.5, 2.0, 2.5, 3.0})
            EXPECT_EQ(single_scan_value(D, M), 0.0) << "M = " << M << ", D = " << D;
}

TEST(Echofocus, UndefinedPositionsContributeNothing)
{
    // Both A-scans lie at the point; the second reads its 1 at D = 2 unless
    // dt or cp leaves no position at all.
    const struct {
        const char* name;
        double dt, cp, tau0;
    } cases[] = {
        {"cp = 0 (0 / 0)", 1, 0, -1.0},
        {"dt = 0 (D infinite)", 0, 1500, -1.0},
        {"NaN delay", 1, 1500, NAN},
        {"infinite delay", 1, 1500, -INFINITY},
        {"D beyond int", 1, 1500, -1e10},
    };
    for (const auto& c : cases) {
        Scene scene{4, {0, 0, 9, 9, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 0}, {c.tau0, -1.0}, c.dt, c.cp};
        const double with_second = c.dt == 0 || c.cp == 0 ? 0.0 : 1.0;
        EXPECT_EQ(echofocus_point(scene.scans(1.0), 0, 0, 0), with_second) << c.name;
    }
}

TEST(Echofocus, ApertureEdgeIsIncluded)
{
    // Transducer at lateral distance exactly 5 (3, 4), the point 0 deep;
    // D = 2 * 5 / 1.25 * 1000 / 1000 = 8 exactly.
    Scene scene{12, std::vector<double>(12, 0.0), {3, 4, 0}, {0}, 1000.0, 1.25};
    scene.S[8] = 1;
    const struct {
        double a;
        double expected;
    } cases[] = {
        {10.0, 1.0},
        {std::nextafter(10.0, 0.0), 0.0},
        {1e300, 1.0},
        {INFINITY, 1.0},
        {0.0, 0.0},
        {-10.0, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(echofocus_point(scene.scans(c.a), 0, 0, 0), c.expected) << "a = " << c.a;
}

// The limit stands in for a square root: it must agree with it at every
// squared distance near the boundary.
TEST(Echofocus, LateralLimitAgreesWithSquareRoot)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> exponent(-300, 300), mantissa(1, 2);
    for (int trial = 0; trial < 20000; ++trial) {
        const double a = mantissa(rng) * std::pow(2.0, exponent(rng));
        const double h = a * 0.5;
        const double limit = lateral_limit(a);
        double r2 = h * h;
        for (int step = 0; step < 4; ++step)
            r2 = std::nextafter(r2, 0.0);
        for (int step = 0; step < 9; ++step, r2 = std::nextafter(r2, INFINITY))
            ASSERT_EQ(r2 <= limit, std::sqrt(r2) <= h) << "a = " << a << ", r2 = " << r2;
    }
    EXPECT_LT(lateral_limit(-1.0), 0.0);
    EXPECT_EQ(lateral_limit(0.0), 0.0);
    EXPECT_EQ(lateral_limit(INFINITY), INFINITY);
}

// Random scenes against the written procedure, bit for bit: batches, the
// vectorised geometry, the branch-free interpolation and points formed in
// groups change nothing.
TEST(Echofocus, SameBitsAsTheWrittenProcedure)
{
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    std::mt19937 rng(2026);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int trial = 0; trial < 40; ++trial) {
        const std::size_t M = 40 + trial * 3;
        const std::size_t N = 1 + static_cast<std::size_t>(trial) * 37 % 600;  // crosses batches
        Scene scene{M, {}, {}, {}, 0.05, 1480.0};
        for (std::size_t i = 0; i < M * N; ++i)
            scene.S.push_back(unit(rng));
        for (int c = 0; c < 3; ++c)
            for (std::size_t n = 0; n < N; ++n)
                scene.P.push_back(c == 2 ? unit(rng) : 10 * unit(rng));
        const std::size_t n_delays = trial % 2 ? N : 1;
        for (std::size_t n = 0; n < n_delays; ++n)
            scene.delays.push_back(0.2 * unit(rng));
        const double a = 4 + 4 * unit(rng);
        const Echofocus_scans scans = scene.scans(a);
        // Point counts that leave every remainder of the kernel's groups.
        const std::size_t n_points = 47 + trial % 5;
        std::vector<double> x, y, z, together(n_points);
        for (std::size_t i = 0; i < n_points; ++i) {
            x.push_back(10 * unit(rng));
            y.push_back(10 * unit(rng));
            z.push_back(2.5 + 1.5 * unit(rng));
        }
        echofocus_points(scans, x.data(), y.data(), z.data(), n_points, together.data());
        for (std::size_t i = 0; i < n_points; ++i) {
            const double alone = echofocus_point(scans, x[i], y[i], z[i]);
            ASSERT_EQ(alone, written_procedure(scene.S, M, scene.P, scene.delays, scene.dt,
                                               scene.cp, a, x[i], y[i], z[i]))
                << "trial " << trial << ", point " << i;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(together[i]),
                      std::bit_cast<std::uint64_t>(alone))
                << "trial " << trial << ", point " << i << " of " << n_points;
        }
    }
}

}  // namespace
