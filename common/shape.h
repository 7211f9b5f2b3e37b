// The shape tests every gateway applies to its arguments, on plain sizes.
#pragma once

#include <cstddef>

namespace velk {

struct Dims {
    std::size_t rows;
    std::size_t cols;
    std::size_t count() const { return rows * cols; }
};

inline bool is_scalar(Dims d) { return d.rows == 1 && d.cols == 1; }

// A row or a column of two elements; 1 x 1, 2 x 2 and 1 x 3 are refused.
inline bool is_vector2(Dims d)
{
    return (d.rows == 2 && d.cols == 1) || (d.rows == 1 && d.cols == 2);
}

// One value for every point, or one per point in any shape.
inline bool is_scalar_or_per_point(Dims d, std::size_t n_points)
{
    return d.count() == 1 || d.count() == n_points;
}

}  // namespace velk
