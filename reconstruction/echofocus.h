// Synthetic aperture focusing: the reconstructed value at one observation
// point from A-scans recorded at known transducer positions. One kernel for
// the single- and the multi-threaded module, so both give the same bits.
#pragma once

#include <cstddef>

// The A-scans and everything that every observation point shares.
struct Echofocus_scans {
    const double* samples;   // M x N, column n is A-scan n, sampled every dt us
    std::size_t M;           // samples per A-scan
    std::size_t N;           // number of A-scans and of transducer positions
    const double* positions; // N x 3, row n = (px, py, pz) of A-scan n, in mm
    const double* delays;    // one delay for all A-scans, or one per A-scan, in us
    bool per_scan_delay;
    double dt;               // sampling period, us
    double cp;               // sound speed, m/s
    double r2_max;           // lateral_limit(a) for the aperture width a
};

// The largest squared lateral distance r2 with sqrt(r2) <= a * 0.5: for
// every r2 >= 0, r2 <= lateral_limit(a) exactly when sqrt(r2) <= a * 0.5, so
// the aperture test needs no square root. Negative when no distance passes
// (a < 0). `a` must not be NaN.
double lateral_limit(double a);

// The value at observation point (x, y, z), in mm: over the A-scans n in
// order whose transducer lies within a lateral distance a/2 of the point,
// the sum of A-scan n at the fractional sample position
//     D = ((2 R) / cp * 1000 + (-2) tau_n) / dt,
// with R the distance from transducer n to the point and tau_n its delay.
// With k = lrint(D) (halfway cases to even) and f = D - k, an A-scan adds
// (1 - |f|) s[k] and then |f| s[k +- 1], the neighbour on the side of D,
// each addition rounded on its own. Only 2 <= k <= M - 2 contributes; a D
// that is not finite or lies beyond the int range contributes nothing.
double echofocus_point(const Echofocus_scans& scans, double x, double y, double z);

// out[k] = echofocus_point(scans, x[k], y[k], z[k]) for k < n_points, the
// same bits, formed several points at a time.
void echofocus_points(const Echofocus_scans& scans, const double* x, const double* y,
                      const double* z, std::size_t n_points, double* out);
