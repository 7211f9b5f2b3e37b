// How each element of an array is driven: its fire time (focusing plus
// steering delay) and its apodization weight, from the method codes of
// focusing(), beamsteering() and weighting() (arr_functions.h), whose
// arithmetic they are. Element i is centred at (xs[i], ys[i]) mm; the
// array's extent is maxdimarr's over the centres.
#pragma once

namespace velk {

// maxdimarr() over the n >= 1 centres.
struct Array_extent {
    double xamax, yamax, ramax;  // mm
};
Array_extent array_extent(const double* xs, const double* ys, int n);

// Focusing: FOCUS_OFF, FOCUS_X, FOCUS_Y, FOCUS_XY (radial), FOCUS_X_PLUS_Y at
// the depth F (mm), or FOCUS_USER with element i's delay user_delays[i] (us).
struct Focusing {
    int method;
    double F;
    const double* user_delays;  // read by FOCUS_USER only
};

// Steering: STEER_OFF, STEER_X by theta, STEER_Y by phi, STEER_XY by both
// (degrees).
struct Steering {
    int method;
    double theta, phi;
};

// tau[i] = focusing delay + steering delay (us) for the n elements, each
// part 0 where its method writes nothing (off or an unknown code). cp in m/s.
void fire_times(const Focusing& focus, const Steering& steer, const double* xs, const double* ys,
                int n, const Array_extent& extent, double cp, double* tau);

// Apodization: weighting()'s method and window type (WEIGHT_USER takes
// user_weights[i]) and its parameter p, at r = sqrt(xs^2 + ys^2) over the
// extent e = ramax.
struct Apodization {
    int method, type;
    const double* user_weights;  // read by WEIGHT_USER only
    double p;
};

// w[i] for the n elements: 1 where weighting writes nothing (WEIGHT_OFF or
// an unknown type).
void element_weights(const Apodization& apodization, const double* xs, const double* ys, int n,
                     const Array_extent& extent, double* w);

}  // namespace velk
