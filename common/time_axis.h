// The time axis of a response column: sample k stands for delay + k dt
// microseconds.
#pragma once

#include "units.h"

#include <algorithm>
#include <cmath>

namespace velk {

// The time axis of a column: nt samples dt us apart, sample k at delay + k dt.
struct Sampling {
    double dt;
    int nt;
};

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

// Samples k_first .. k_end - 1 of a column: the ones that can be non-zero.
struct Sample_band {
    int k_first = 0;
    int k_end = 0;
    int size() const { return k_end - k_first; }
};

// Whether the arrivals of a wave of sound speed cp (m/s) fall on samples in
// the order of their distances, on an axis of step dt (us): with dt finite
// and above 0 the sample times never decrease, with cp finite and above 0
// a distance's time is finite and grows with the distance.
inline bool arrivals_in_order(double dt, double cp)
{
    return dt > 0.0 && std::isfinite(dt) && cp > 0.0 && std::isfinite(cp);
}

// The band of a column of nt samples outside which a response is 0: from the
// first sample for which arrived(k) holds to the first for which over(k)
// does (each holds for every sample after the first one for which it does,
// and neither is asked of samples outside [0, nt)). The whole column when
// the arrivals are not in order (dt or cp not finite and above 0): there no
// sample is known to be 0.
template <class Arrived, class Over>
Sample_band response_band(int nt, double dt, double cp, Arrived arrived, Over over)
{
    if (nt < 1)
        return {0, 0};
    if (!arrivals_in_order(dt, cp))
        return {0, nt};
    const int k_first = first_sample_where(nt, arrived);
    return {k_first, std::max(k_first, first_sample_where(nt, over))};
}

// Writes 0 to samples 0 .. k_first - 1 and k_end .. nt - 1 of h.
inline void zero_outside(Sample_band band, int nt, double* h)
{
    std::fill(h, h + band.k_first, 0.0);
    std::fill(h + band.k_end, h + std::max(nt, band.k_end), 0.0);
}

// response_band(), with 0 written to h outside the band; the kernel fills
// the band.
template <class Arrived, class Over>
Sample_band zero_outside_band(int nt, double dt, double cp, Arrived arrived, Over over, double* h)
{
    const Sample_band band = response_band(nt, dt, cp, arrived, over);
    zero_outside(band, nt, h);
    return band;
}

}  // namespace velk
