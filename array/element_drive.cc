#include "element_drive.h"

#include "arr_functions.h"

namespace velk {

Array_extent array_extent(const double* xs, const double* ys, int n)
{
    Array_extent e{};
    maxdimarr(&e.xamax, &e.yamax, &e.ramax, xs, ys, nullptr, n);
    return e;
}

void fire_times(const Focusing& focus, const Steering& steer, const double* xs, const double* ys,
                int n, const Array_extent& extent, double cp, double* tau)
{
    for (int i = 0; i < n; ++i) {
        const double F = focus.method == FOCUS_USER ? focus.user_delays[i] : focus.F;
        double focusing_delay = 0.0, steering_delay = 0.0;
        focusing(focus.method, F, xs[i], ys[i], extent.xamax, extent.yamax, extent.ramax, cp,
                 &focusing_delay);
        beamsteering(steer.method, steer.theta, steer.phi, xs[i], ys[i], extent.xamax,
                     extent.yamax, extent.ramax, cp, &steering_delay);
        tau[i] = focusing_delay + steering_delay;
    }
}

void element_weights(const Apodization& apodization, const double* xs, const double* ys, int n,
                     const Array_extent& extent, double* w)
{
    for (int i = 0; i < n; ++i) {
        w[i] = 1.0;
        weighting(apodization.method, apodization.type, i, apodization.user_weights, &w[i], xs[i],
                  ys[i], extent.ramax, apodization.p, n);
    }
}

}  // namespace velk
