// The time axis of a response column: sample k stands for delay + k dt
// microseconds.
#pragma once

#include "units.h"

namespace velk {

// Time of sample k in seconds.
inline double sample_time(int k, double dt, double delay) { return us_to_s(k * dt + delay); }

// The first k in [0, n) for which reached(k) holds, or n if none, where
// reached holds for every k after the first one for which it does (a test
// against a time on an axis with dt > 0, whose sample times never decrease).
// Lets a kernel skip the samples before an arrival or after the last one.
template <class Reached>
int first_sample_where(int n, Reached reached)
{
    int lo = 0, hi = n;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (reached(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace velk
