#include "to_int.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

TEST(TruncToInt, TruncatesTowardZeroAndMapsTheUnrepresentableToIntMin)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        int expected;
    } cases[] = {
        {10.9, 10},
        {99.9, 99},
        {-0.5, 0},
        {-0.0, 0},
        {-2.9, -2},
        {2147483647.0, INT_MAX},
        {2147483647.9, INT_MAX},
        {-2147483648.0, INT_MIN},
        {-2147483648.9, INT_MIN},
        {2147483648.0, INT_MIN},  // 2^31
        {-2147483649.0, INT_MIN},
        {1e308, INT_MIN},
        {inf, INT_MIN},
        {-inf, INT_MIN},
        {std::nan(""), INT_MIN},
        {4.9e-324, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(velk::trunc_to_int(c.x), c.expected) << "x = " << c.x;
}

static_assert(velk::trunc_to_int(2.9) == 2);

}  // namespace
