#include "platewave.h"
#include "platewave_avg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double cp = 1500.0;
constexpr double a = 10, b = 6, dt = 0.05;

std::vector<double> averaged(double x, double y, double z, int nt, double delay, int N,
                             double step = dt, double c = cp, double v = 1.0)
{
    std::vector<double> h(static_cast<std::size_t>(std::max(nt, 0)) + 1, -7.0);
    platewave_avg(x, y, z, a, b, step, nt, delay, v, c, N, h.data());
    EXPECT_EQ(h.back(), -7.0) << "wrote past sample nt - 1";
    h.pop_back();
    return h;
}

// The mean of platewave's samples at the centres of K equal parts of each
// interval (none of these before time zero here).
std::vector<double> point_mean(double x, double y, double z, int nt, double delay, int K)
{
    std::vector<double> mean(static_cast<std::size_t>(nt)), h(static_cast<std::size_t>(K));
    for (int k = 0; k < nt; ++k) {
        platewave(x, y, z, a, b, dt / K, K, delay + (k - 0.5) * dt + dt / (2 * K), 0, cp, h.data());
        for (double s : h)
            mean[std::size_t(k)] += s / K;
    }
    return mean;
}

// Points over the 10 x 6 mm piston; the column starts three samples before
// tz, so that tz falls between two parts of the point-sampled mean, and ends
// after the last arrival. plateau: the response from tz until the first
// arrival that changes it (first_change, the distance in the plane), the
// value of a sample wholly in between.
struct Point_case {
    const char* name;
    double x, y, z;
    double plateau, first_change;
};

const Point_case points[] = {
    {"on the axis", 0, 0, 10, cp, 3},
    {"inside, off centre", 2, -1, 8, cp, 2},
    {"on the edge line x = a/2", 5, 1, 10, cp / 2, 2},
    {"on a corner", -5, 3, 12, cp / 4, 6},
    {"outside", 8, 0, 10, 0, 3},
    {"outside beyond a corner", 7, -5, 15, 0, std::hypot(2, 2)},
    {"below the plane, inside", 1, 1, -2, cp, 2},
};

TEST(PlatewaveAvg, MeansOfTheResponseAndExactPlateaus)
{
    for (const Point_case& p : points) {
        SCOPED_TRACE(p.name);
        const double tz = std::fabs(p.z) / cp * 1000;  // us
        const double delay = p.z > 0 ? tz - 3 * dt : 0.5 * dt;
        const double far = std::hypot(std::fabs(p.x) + a / 2, std::fabs(p.y) + b / 2);
        const int nt = static_cast<int>((std::hypot(p.z, far) / cp * 1000 - delay) / dt) + 4;
        const std::vector<double> h = averaged(p.x, p.y, p.z, nt, delay, 4);
        const std::vector<double> ref = point_mean(p.x, p.y, p.z, nt, delay, 1000);
        const double peak = *std::max_element(ref.begin(), ref.end());
        double sum = 0, ref_sum = 0;
        int on_plateau = 0;
        for (int k = 0; k < nt; ++k) {
            const double hk = h[std::size_t(k)];
            sum += hk * dt;
            ref_sum += ref[std::size_t(k)] * dt;
            EXPECT_NEAR(hk, ref[std::size_t(k)], 2e-5 * peak) << "k = " << k;
            // Wholly between tz (or time 0) and the first edge's arrival.
            const double lo = delay + (k - 0.5) * dt, hi = lo + dt;
            if (lo >= (p.z > 0 ? tz : 0) && hi < std::hypot(p.z, p.first_change) / cp * 1000 - 1e-9) {
                EXPECT_EQ(hk, p.plateau) << "k = " << k;
                ++on_plateau;
            }
        }
        EXPECT_NEAR(sum, ref_sum, 1e-7 * ref_sum);
        EXPECT_GE(on_plateau, 2);
    }
}

// Against N = 256 the error falls as N^-4: at least eightfold per doubling.
TEST(PlatewaveAvg, ErrorFallsWithTheNumberOfParts)
{
    for (const Point_case& p : points) {
        SCOPED_TRACE(p.name);
        const double delay = std::fabs(p.z) / cp * 1000 - 0.3 * dt;
        const std::vector<double> converged = averaged(p.x, p.y, p.z, 120, delay, 256);
        double previous = INFINITY;
        for (int N : {1, 2, 4, 8}) {
            const std::vector<double> h = averaged(p.x, p.y, p.z, 120, delay, N);
            double error = 0;
            for (std::size_t k = 0; k < h.size(); ++k)
                error = std::max(error, std::fabs(h[k] - converged[k]));
            EXPECT_LT(error, previous / 8) << "N = " << N;
            EXPECT_LT(error, 1e-5 * cp) << "N = " << N;
            previous = error;
        }
    }
}

TEST(PlatewaveAvg, TimeZeroAndArgumentsWithoutAMean)
{
    // Below the plane the plateau holds from time 0: the interval of sample 0,
    // centred on 0, covers half of it; one wholly before 0 covers nothing.
    EXPECT_EQ(averaged(1, 1, -2, 1, 0.0, 4)[0], cp / 2);
    EXPECT_EQ(averaged(1, 1, -2, 1, -dt, 4)[0], 0.0);
    EXPECT_EQ(averaged(1, 1, 10, 40, 6.0, 4, dt, cp, NAN), averaged(1, 1, 10, 40, 6.0, 4));

    const double inf = INFINITY, nan = NAN;
    const struct {
        double x, delay, step, c;
    } undefined[] = {{nan, 0, dt, cp}, {inf, 0, dt, cp}, {0, inf, dt, cp}, {0, 0, 0.0, cp},
                     {0, 0, -dt, cp},  {0, 0, inf, cp},  {0, 0, dt, 0.0},  {0, 0, dt, -cp},
                     {0, 0, dt, inf},  {0, 0, dt, nan}};
    for (const auto& u : undefined) {
        const std::vector<double> h = averaged(u.x, 0, 10, 9, u.delay, 4, u.step, u.c);
        EXPECT_TRUE(std::all_of(h.begin(), h.end(), [](double s) { return std::isnan(s); }))
            << u.x << ", " << u.delay << ", " << u.step << ", " << u.c;
    }
    // Feet on and a hair off the edge lines and a corner, in and over the
    // plane, and a piston so narrow that cp / side overflows.
    auto finite = [](const std::vector<double>& h) {
        return std::all_of(h.begin(), h.end(), [](double s) { return std::isfinite(s); });
    };
    for (double d : {-1e-12, 0.0, 1e-12})
        for (double z : {0.0, 1e-9, 3.0, -3.0})
            EXPECT_TRUE(finite(averaged(5 + d, 3 - d, z, 400, 0.0, 2, 0.01))) << d << ", " << z;
    std::vector<double> narrow(200);
    platewave_avg(0, 0, 1, 1e-305, b, 0.01, 200, 0.0, 1.0, cp, 2, narrow.data());
    EXPECT_TRUE(finite(narrow));
    double sentinel = -7.0;
    platewave_avg(0, 0, 10, a, b, dt, 0, 0.0, 1.0, cp, 4, &sentinel);
    EXPECT_EQ(sentinel, -7.0);
}

}  // namespace
