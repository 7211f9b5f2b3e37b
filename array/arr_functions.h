// Geometry of transducer arrays: element centres, the array's extent,
// focusing and steering delays, apodization weights, and two small helpers
// for the delay-and-sum responses. Element centres are three arrays x, y, z
// in mm, element i at (x[i], y[i], z[i]). Delays are in us (a length in mm
// times 1000 over a sound speed cp in m/s). Nothing here allocates, checks
// its arguments or keeps state; cp and extents must not be 0.
#pragma once

// Codes of focusing(): anything else writes nothing.
enum Focus_method { FOCUS_OFF = 1, FOCUS_X = 2, FOCUS_Y = 3, FOCUS_XY = 4, FOCUS_X_PLUS_Y = 5,
                    FOCUS_USER = 6 };
// Codes of beamsteering(): anything else writes nothing.
enum Steer_method { STEER_OFF = 1, STEER_X = 2, STEER_Y = 3, STEER_XY = 4 };
// Method code of weighting() that writes nothing; every other code weights.
enum { WEIGHT_OFF = 1 };
// Window types of weighting(): anything else writes nothing.
enum Weight_type { WEIGHT_USER = 0, WEIGHT_TRIANGLE = 1, WEIGHT_GAUSS = 2, WEIGHT_RAISED = 3,
                   WEIGHT_SIMPLY = 4, WEIGHT_CLAMPED = 5 };

extern "C" {

// The centre of element i. Not called by any module.
void center_pos(double* xs, double* ys, double* zs, int i, const double* x, const double* y,
                const double* z);

// The extent of an array of n >= 1 elements: the largest |x| and |y| (a NaN
// never replaces the running largest) and the distance sqrt(xamax^2 + yamax^2)
// of the bounding rectangle's corner. z is not read. Not called by any module.
void maxdimarr(double* xamax, double* yamax, double* ramax, const double* x, const double* y,
               const double* z, int n);

// Delay of the element at (xs, ys) that brings every element's wavefront to
// the depth F (mm) at once: 0 at the array's outermost position, largest on
// the axis. With FOCUS_USER the delay is F itself.
//   typical use: focusing(FOCUS_X, 40, xs, ys, xamax, yamax, ramax, 1500, &d);
// Not called by any module.
void focusing(int method, double F, double xs, double ys, double xamax, double yamax,
              double ramax, double cp, double* delay);

// Delay of the element at (xs, ys) that steers the beam by theta in the x-z
// plane and phi in the y-z plane (degrees): 0 at x = -xamax (y = -yamax).
// ramax is not used. Not called by any module.
void beamsteering(int method, double theta, double phi, double xs, double ys, double xamax,
                  double yamax, double ramax, double cp, double* delay);

// Apodization weight of element i at (xs, ys) for an aperture of extent e
// and window parameter p (the exponent factor of the gauss window, the
// offset of the raised one). WEIGHT_USER takes user_weights[i]. n is not used.
//   typical use: weighting(2, WEIGHT_TRIANGLE, i, nullptr, &w, xs, 0.0, 1.0, 0.0, n);
void weighting(int method, int type, int i, const double* user_weights, double* weight, double xs,
               double ys, double e, double p, int n);

// Distance between two points. Not called by any module.
void modri(double x1, double y1, double z1, double x2, double y2, double z2, double* distance);

// Sets *status to 2 when the delay d is negative or the index j exceeds n;
// otherwise leaves it as it was. Not called by any module.
void checkdel(int j, double d, int* status, int n);

// H[k] += h[k] for k = 0 .. n-1. Not called by any module.
void superpoz(const double* h, double* H, int n);

}  // extern "C"
