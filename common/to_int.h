// Conversion of a double argument to the int the kernels count with.
#pragma once

#include <climits>

namespace velk {

// Truncates toward zero, as the sample counts and CPU counts of every module
// are read (10.9 gives 10, -0.5 gives 0). A value that is not a number, is
// infinite or lies beyond the int range gives INT_MIN, so that every range
// test that follows refuses it; the cast itself is never undefined.
constexpr int trunc_to_int(double x) noexcept
{
    // The open bounds accept exactly the doubles whose truncation fits an int;
    // NaN fails both comparisons.
    if (x > -2147483649.0 && x < 2147483648.0)
        return static_cast<int>(x);
    return INT_MIN;
}

}  // namespace velk
