#include "discwave.h"
#include "disc_geometry.h"
#include "time_axis.h"
#include "units.h"

#include <cmath>

namespace {

using velk::pi;

// arccos of the edge wave's argument, taken as its limit where rounding puts
// the argument a hair outside [-1, 1] next to the arrival times R1 and R2.
double clamped_acos(double q)
{
    if (q >= 1.0)
        return 0.0;
    if (q <= -1.0)
        return pi;
    return std::acos(q);
}

// The edge wave's argument q = (r^2 + s - a^2) / (2 r sqrt(s)), where
// s = (cp t)^2 - z^2. Where rounding makes s zero or negative at the start of
// the edge interval, the limit from inside the interval stands in: 0 over
// the rim (r = a, where q = sqrt(s) / 2a), plus or minus infinity elsewhere.
double edge_argument(double r, double a, double s)
{
    if (s <= 0.0) {
        const double numerator = r * r - a * a;
        if (numerator == 0.0)
            return 0.0;
        return numerator > 0.0 ? INFINITY : -INFINITY;
    }
    return (r * r + s - a * a) / (2.0 * r * std::sqrt(s));
}

}  // namespace

void discwave(double x, double y, double z, double a, double dt, int nt, double delay, double v,
              double cp, double* h)
{
    x = velk::mm_to_m(x);
    y = velk::mm_to_m(y);
    z = velk::mm_to_m(z);
    a = velk::mm_to_m(a);
    if (nt < 1)
        return;
    for (int k = 0; k < nt; ++k)
        h[k] = 0.0;

    const auto [r, R1, R2, inside] = disc_geometry(x, y, z, a);

    for (int k = 0; k < nt; ++k) {
        const double t = velk::sample_time(k, dt, delay);
        const double ct = cp * t;
        // z keeps its sign: a point below the piston's plane sees the plateau at once.
        if (inside && ct < z)
            continue;
        if (inside && z <= ct && ct < R1) {
            h[k] = v * cp;
        } else if (R1 <= ct && ct < R2) {
            const double s = cp * ct * t - z * z;
            h[k] = (v * cp / pi) * clamped_acos(edge_argument(r, a, s));
        }
    }
}
