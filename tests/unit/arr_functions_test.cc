#include "arr_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double untouched = -99.0;

TEST(ArrFunctions, ExtentOfTheArray)
{
    const double x[] = {-3, 1, 2}, y[] = {0.5, -4, 0}, z[] = {9, 9, 9};
    double xa, ya, ra;
    maxdimarr(&xa, &ya, &ra, x, y, z, 3);
    EXPECT_EQ(xa, 3);
    EXPECT_EQ(ya, 4);
    EXPECT_EQ(ra, 5);
    maxdimarr(&xa, &ya, &ra, x, y, z, 1);
    EXPECT_EQ(xa, 3);
    EXPECT_EQ(ya, 0.5);
    EXPECT_EQ(ra, std::sqrt(9.25));
    const double xn[] = {1, nan, -2};
    maxdimarr(&xa, &ya, &ra, xn, y, z, 3);
    EXPECT_EQ(xa, 2) << "a NaN must not replace the running largest";

    double xs, ys, zs;
    center_pos(&xs, &ys, &zs, 1, x, y, z);
    EXPECT_EQ(xs, 1);
    EXPECT_EQ(ys, -4);
    EXPECT_EQ(zs, 9);
}

TEST(ArrFunctions, FocusingAndSteeringDelays)
{
    // F = 40 mm, xamax = 30 mm, yamax = 40 mm, ramax = 50 mm, cp = 1500 m/s.
    struct {
        const char* name;
        bool steer;
        int method;
        double xs, ys, expected;
    } cases[] = {
        {"focus x, element on the axis", false, FOCUS_X, 0, 7, (50.0 - 40.0) * 1000 / 1500},
        {"focus x, outermost element", false, FOCUS_X, 30, 7, 0},
        {"focus y", false, FOCUS_Y, 7, 30, (std::sqrt(3200.0) - 50.0) * 1000 / 1500},
        {"focus radial", false, FOCUS_XY, 30, 40, 0},
        {"focus radial, centre", false, FOCUS_XY, 0, 0, (std::sqrt(4100.0) - 40) * 1000 / 1500},
        {"focus x plus y", false, FOCUS_X_PLUS_Y, 0, 0, (std::sqrt(4100.0) - 80) * 1000 / 1500},
        {"focus user", false, FOCUS_USER, 1, 2, 40},
        {"focus off", false, FOCUS_OFF, 1, 2, untouched},
        {"focus code 0", false, 0, 1, 2, untouched},
        {"steer x at -xamax", true, STEER_X, -30, 5, 0},
        {"steer x", true, STEER_X, 0, 5, 30 * std::sin(30 * 0.017453292519943295) * 1000 / 1500},
        {"steer y", true, STEER_Y, 5, 40, 80 * std::sin(60 * 0.017453292519943295) * 1000 / 1500},
        {"steer both", true, STEER_XY, 30, -40, 60 * 0.5 * 1000 / 1500},
        {"steer off", true, STEER_OFF, 1, 2, untouched},
        {"steer code 7", true, 7, 1, 2, untouched},
    };
    for (const auto& c : cases) {
        double delay = untouched;
        if (c.steer)
            beamsteering(c.method, 30, 60, c.xs, c.ys, 30, 40, 50, 1500, &delay);
        else
            focusing(c.method, 40, c.xs, c.ys, 30, 40, 50, 1500, &delay);
        EXPECT_NEAR(delay, c.expected, 1e-12) << c.name;
    }
    double delay = untouched;
    beamsteering(STEER_X, 0, 0, 12, 0, 30, 40, 50, 1500, &delay);
    EXPECT_EQ(delay, 0) << "no steering angle, no delay";
}

TEST(ArrFunctions, Weights)
{
    // e = 1, p = 1, element at r = 0.5.
    struct {
        int method, type;
        double expected;
    } cases[] = {
        {2, WEIGHT_TRIANGLE, 0.5},     {2, WEIGHT_GAUSS, 0.7788007830714049},
        {2, WEIGHT_RAISED, 1.0},       {2, WEIGHT_SIMPLY, 0.75},
        {2, WEIGHT_CLAMPED, 0.375},    {2, WEIGHT_USER, 0.125},
        {WEIGHT_OFF, WEIGHT_TRIANGLE, untouched}, {WEIGHT_OFF, WEIGHT_USER, untouched},
        {2, 6, untouched},             {2, -1, untouched},
    };
    const double user[] = {0, 0, 0.125};
    for (const auto& c : cases) {
        double w = untouched;
        weighting(c.method, c.type, 2, user, &w, 0.3, -0.4, 1.0, 1.0, 3);
        EXPECT_NEAR(w, c.expected, 1e-15) << "method " << c.method << ", type " << c.type;
    }
    // The clamped window divides r by e^2 in its second factor.
    double w = 0;
    weighting(2, WEIGHT_CLAMPED, 0, nullptr, &w, 1.0, 0.0, 2.0, 0.0, 1);
    EXPECT_DOUBLE_EQ(w, (1 - 0.25) * (1 - 0.25));
}

TEST(ArrFunctions, DistanceDelayCheckAndSum)
{
    double d = 0;
    modri(1, 2, 3, 4, 6, 15, &d);
    EXPECT_EQ(d, 13);

    struct {
        int j;
        double delay;
        int expected;
    } checks[] = {{3, -0.1, 2}, {5, 0.0, 0}, {6, 1.0, 2}, {2, nan, 0}};
    for (const auto& c : checks) {
        int status = 0;
        checkdel(c.j, c.delay, &status, 5);
        EXPECT_EQ(status, c.expected) << c.j << ", " << c.delay;
    }

    const double h[] = {1, 2, 3};
    double H[] = {10, 20, 30, 40};
    superpoz(h, H, 3);
    EXPECT_EQ(H[0], 11);
    EXPECT_EQ(H[2], 33);
    EXPECT_EQ(H[3], 40);
    superpoz(h, H, 0);
    superpoz(h, H, -2);
    EXPECT_EQ(H[0], 11);
}

}  // namespace
