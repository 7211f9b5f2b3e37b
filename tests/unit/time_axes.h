// The time axes the piston kernels are checked on: growing ones, on which a
// kernel skips a head and a tail of zeros before and after the arrivals, and
// ones that do not grow (dt <= 0), on which it cannot.
#pragma once

struct Time_axis {
    double dt;  // us
    int nt;
};

inline constexpr Time_axis checked_time_axes[] = {
    {0.01, 1000}, {0.05, 333}, {-0.02, 500}, {0.0, 17}};
