#include "array_response.h"

#include "arr_functions.h"
#include "element_drive.h"
#include "piston_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using velk::Piston;
using velk::Piston_kind;

constexpr double cp = 1500.0, dt = 0.02;
constexpr int nt = 700;

// A 4 x 3 array, its centres a little off the plane z = 0.
const double xs[] = {-4.5, -1.5, 1.5, 4.5, -4.5, -1.5, 1.5, 4.5, -4.5, -1.5, 1.5, 4.5};
const double ys[] = {-2, -2, -2, -2, 0, 0, 0, 0, 2, 2, 2, 2};
const double zs[] = {0, 0.3, -0.2, 0, 0.1, 0, 0, -0.3, 0, 0.2, 0, 0};
const double user_delays[] = {0.3, 0.1, 0, 0.2, 0.5, 0.4, 0.4, 0.5, 0.2, 0, 0.1, 0.3};
const double user_weights[] = {1, 0.5, -0.25, 0, 2, 1, 1, 2, 0, -0.25, 0.5, 1};
constexpr int Ne = 12;

// The loop over the elements with the pistons' own kernels, as the Octave
// loop H = H + w(i) * kernel (points - elements(i,:), ..., delay - tau(i), ...) adds.
std::vector<double> element_loop(const velk::Array_description& a, double x, double y, double z,
                                 double delay)
{
    std::vector<double> H(nt, 0.0);
    for (int i = 0; i < a.Ne; ++i) {
        const std::vector<double> h =
            kernel_column(a.element, x - a.xs[i], y - a.ys[i], z - a.zs[i], dt, nt, delay - a.tau[i]);
        for (int k = 0; k < nt; ++k)
            H[std::size_t(k)] = H[std::size_t(k)] + a.w[i] * h[std::size_t(k)];
    }
    return H;
}

TEST(ArrayColumn, BitForBitTheLoopOverTheElementsKernels)
{
    const struct {
        Piston element;
        velk::Focusing focus;
        velk::Steering steer;
        velk::Apodization apodization;
    } cases[] = {
        {{Piston_kind::disc, 0.8, 0, 1.0, cp, 0}, {FOCUS_XY, 20, nullptr}, {STEER_OFF, 0, 0},
         {WEIGHT_OFF, WEIGHT_TRIANGLE, nullptr, 0}},
        {{Piston_kind::disc_avg, 0.8, 0, -2.0, cp, 3}, {FOCUS_X, 15, nullptr}, {STEER_X, 20, 0},
         {2, WEIGHT_TRIANGLE, nullptr, 0}},
        {{Piston_kind::disc_avg, 1.4, 0, 1.0, cp, 0}, {FOCUS_Y, 25, nullptr}, {STEER_Y, 0, -15},
         {2, WEIGHT_GAUSS, nullptr, 1.5}},
        {{Piston_kind::plate, 2.7, 1.8, 1.0, cp, 0}, {FOCUS_X_PLUS_Y, 20, nullptr},
         {STEER_XY, 10, 25}, {2, WEIGHT_RAISED, nullptr, -1.5}},
        {{Piston_kind::plate_avg, 0.27, 1.8, 1.0, cp, 2}, {FOCUS_USER, 0, user_delays},
         {STEER_OFF, 0, 0}, {2, WEIGHT_USER, user_weights, 0}},
        {{Piston_kind::plate_avg, 2.7, 1.8, 1.0, cp, 0}, {FOCUS_OFF, 0, nullptr},
         {STEER_XY, -30, 5}, {2, WEIGHT_CLAMPED, nullptr, 0}},
        {{Piston_kind::plate_avg, 2.7, 1.8, 1.0, cp, 1}, {FOCUS_XY, 12, nullptr},
         {STEER_X, 45, 0}, {2, WEIGHT_SIMPLY, nullptr, 0}},
    };
    const double points[][3] = {{0, 0, 20}, {4.5, -2, 8}, {-7, 3, 15}, {1, 0.5, 30}};
    const velk::Array_extent extent = velk::array_extent(xs, ys, Ne);
    std::vector<double> column(nt), scratch(nt);
    for (const auto& c : cases) {
        double tau[Ne], w[Ne];
        velk::fire_times(c.focus, c.steer, xs, ys, Ne, extent, cp, tau);
        velk::element_weights(c.apodization, xs, ys, Ne, extent, w);
        const velk::Array_description array{c.element, Ne, xs, ys, zs, tau, w};
        long nonzero = 0;
        for (const auto& [x, y, z] : points) {
            // From a little before the first element's wave can arrive.
            double delay = INFINITY;
            for (int i = 0; i < Ne; ++i)
                delay = std::min(delay, tau[i] + (std::hypot(x - xs[i], y - ys[i], z - zs[i]) - 3) /
                                                     cp * 1000);
            velk::array_column(array, x, y, z, {dt, nt}, delay, column.data(), scratch.data());
            const std::vector<double> expected = element_loop(array, x, y, z, delay);
            EXPECT_EQ(std::memcmp(column.data(), expected.data(), sizeof(double) * nt), 0)
                << int(c.element.kind) << ", focus " << c.focus.method << ", steer "
                << c.steer.method << ", point (" << x << ", " << y << ", " << z << ")";
            nonzero += std::count_if(column.begin(), column.end(), [](double s) { return s != 0; });
        }
        EXPECT_GT(nonzero, 0) << "the windows miss the response";
    }
}

TEST(ArrayColumn, OneElementIsThePistonItself)
{
    const Piston pistons[] = {{Piston_kind::disc, 5, 0, 1.5, cp, 0},
                              {Piston_kind::plate, 10, 6, 1, cp, 0},
                              {Piston_kind::disc_avg, 5, 0, 1.5, cp, 4},
                              {Piston_kind::plate_avg, 10, 6, 1, cp, 2}};
    const double centre = 0, zero = 0, one = 1;
    std::vector<double> column(nt), scratch(nt);
    for (const Piston& p : pistons) {
        const velk::Array_description array{p, 1, &centre, &centre, &centre, &zero, &one};
        velk::array_column(array, 3, -2, 12, {dt, nt}, 6.0, column.data(), scratch.data());
        EXPECT_EQ(column, kernel_column(p, 3, -2, 12, dt, nt, 6.0)) << int(p.kind);
    }
}

// The drive of the 4 x 3 array (xamax 4.5, yamax 2), each element's delay
// and weight against its formula: the codes reach the right functions with
// the right coordinates, angles and extent.
const double ramax = std::hypot(4.5, 2.0);
double R(double F, double u) { return std::hypot(F, u); }
double sin_deg(double angle) { return std::sin(angle * 3.141592653589793 / 180); }

TEST(ElementDrive, DelaysAndWeightsOfEachCode)
{
    const struct {
        velk::Focusing focus;
        velk::Steering steer;
        double (*tau)(int i);
    } delays[] = {
        {{FOCUS_X, 30, nullptr}, {STEER_OFF, 5, 5},
         [](int i) { return (R(30, 4.5) - R(30, xs[i])) * 1000 / cp; }},
        {{FOCUS_Y, 30, nullptr}, {7, 5, 5},  // an unknown steering code adds nothing
         [](int i) { return (R(30, 2) - R(30, ys[i])) * 1000 / cp; }},
        {{FOCUS_XY, 30, nullptr}, {STEER_X, 15, 40},
         [](int i) {
             return (R(30, ramax) - R(30, R(xs[i], ys[i]))) * 1000 / cp +
                    (xs[i] + 4.5) * sin_deg(15) * 1000 / cp;
         }},
        {{FOCUS_USER, 30, user_delays}, {STEER_Y, 40, 20},
         [](int i) { return user_delays[i] + (ys[i] + 2) * sin_deg(20) * 1000 / cp; }},
        {{FOCUS_OFF, 30, nullptr}, {STEER_XY, 10, -5},
         [](int i) {
             return (xs[i] + 4.5) * sin_deg(10) * 1000 / cp + (ys[i] + 2) * sin_deg(-5) * 1000 / cp;
         }},
    };
    const velk::Array_extent extent = velk::array_extent(xs, ys, Ne);
    double tau[Ne], w[Ne];
    for (const auto& c : delays) {
        velk::fire_times(c.focus, c.steer, xs, ys, Ne, extent, cp, tau);
        for (int i = 0; i < Ne; ++i)
            EXPECT_NEAR(tau[i], c.tau(i), 1e-12)
                << "focus " << c.focus.method << ", steer " << c.steer.method << ", element " << i;
    }
    const struct {
        velk::Apodization apodization;
        double (*w)(int i);
    } weights[] = {
        {{2, WEIGHT_TRIANGLE, nullptr, 0}, [](int i) { return 1 - R(xs[i], ys[i]) / ramax; }},
        {{2, WEIGHT_GAUSS, nullptr, 1.5},
         [](int i) { return std::exp(-1.5 * (xs[i] * xs[i] + ys[i] * ys[i]) / (ramax * ramax)); }},
        {{2, WEIGHT_USER, user_weights, 0}, [](int i) { return user_weights[i]; }},
        {{WEIGHT_OFF, WEIGHT_GAUSS, nullptr, 1.5}, [](int) { return 1.0; }},
    };
    for (const auto& c : weights) {
        velk::element_weights(c.apodization, xs, ys, Ne, extent, w);
        for (int i = 0; i < Ne; ++i)
            EXPECT_NEAR(w[i], c.w(i), 1e-15)
                << "type " << c.apodization.type << ", element " << i;
    }
}

}  // namespace
