#include "shape.h"

#include <gtest/gtest.h>

namespace {

using velk::Dims;

TEST(ShapeTests, ScalarVectorAndPerPoint)
{
    const struct {
        Dims d;
        bool scalar, vector2, per_point_of_4;
    } cases[] = {
        {{1, 1}, true, false, true},
        {{1, 2}, false, true, false},
        {{2, 1}, false, true, false},
        {{2, 2}, false, false, true},  // four points: a matrix in any shape
        {{1, 4}, false, false, true},
        {{4, 1}, false, false, true},
        {{1, 3}, false, false, false},
        {{0, 0}, false, false, false},
        {{0, 2}, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.d.rows << " x " << c.d.cols);
        EXPECT_EQ(velk::is_scalar(c.d), c.scalar);
        EXPECT_EQ(velk::is_vector2(c.d), c.vector2);
        EXPECT_EQ(velk::is_scalar_or_per_point(c.d, 4), c.per_point_of_4);
    }
    // With no points, an empty delay is one value per point.
    EXPECT_TRUE(velk::is_scalar_or_per_point({0, 0}, 0));
}

}  // namespace
