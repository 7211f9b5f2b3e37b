#include "arr_functions.h"

#include "units.h"

#include <cmath>

namespace {

using velk::pi;
constexpr double rad_per_degree = 0.017453292519943295;
constexpr double us_mm_per_s_m = 1000.0;  // mm over m/s to us

}  // namespace

void center_pos(double* xs, double* ys, double* zs, int i, const double* x, const double* y,
                const double* z)
{
    *xs = x[i];
    *ys = y[i];
    *zs = z[i];
}

void maxdimarr(double* xamax, double* yamax, double* ramax, const double* x, const double* y,
               const double* /*z*/, int n)
{
    double xm = std::fabs(x[0]);
    double ym = std::fabs(y[0]);
    for (int i = 1; i < n; ++i) {
        if (std::fabs(x[i]) > xm)
            xm = std::fabs(x[i]);
        if (std::fabs(y[i]) > ym)
            ym = std::fabs(y[i]);
    }
    *xamax = xm;
    *yamax = ym;
    *ramax = std::sqrt(xm * xm + ym * ym);
}

void focusing(int method, double F, double xs, double ys, double xamax, double yamax,
              double ramax, double cp, double* delay)
{
    auto R = [F](double u) { return std::sqrt(F * F + u * u); };
    switch (method) {
    case FOCUS_X:
        *delay = (R(xamax) - R(xs)) * us_mm_per_s_m / cp;
        break;
    case FOCUS_Y:
        *delay = (R(yamax) - R(ys)) * us_mm_per_s_m / cp;
        break;
    case FOCUS_XY:
        *delay = (std::sqrt(F * F + ramax * ramax) - std::sqrt(F * F + xs * xs + ys * ys)) *
                 us_mm_per_s_m / cp;
        break;
    case FOCUS_X_PLUS_Y:
        *delay = (std::sqrt(F * F + ramax * ramax) - (R(xs) + R(ys))) * us_mm_per_s_m / cp;
        break;
    case FOCUS_USER:
        *delay = F;
        break;
    default:  // off, or no method: the delay stays as it was
        break;
    }
}

void beamsteering(int method, double theta, double phi, double xs, double ys, double xamax,
                  double yamax, double /*ramax*/, double cp, double* delay)
{
    auto s = [](double angle) { return std::sin(angle * rad_per_degree); };
    auto along_x = [&] { return (xs * s(theta) + xamax * s(theta)) * us_mm_per_s_m / cp; };
    auto along_y = [&] { return (ys * s(phi) + yamax * s(phi)) * us_mm_per_s_m / cp; };
    switch (method) {
    case STEER_X:
        *delay = along_x();
        break;
    case STEER_Y:
        *delay = along_y();
        break;
    case STEER_XY:
        *delay = along_x() + along_y();
        break;
    default:
        break;
    }
}

void weighting(int method, int type, int i, const double* user_weights, double* weight, double xs,
               double ys, double e, double p, int /*n*/)
{
    const double r = std::sqrt(xs * xs + ys * ys);
    if (method == WEIGHT_OFF)
        return;
    switch (type) {
    case WEIGHT_USER:
        *weight = user_weights[i];
        break;
    case WEIGHT_TRIANGLE:
        *weight = 1.0 - std::fabs(r) / e;
        break;
    case WEIGHT_GAUSS:
        *weight = std::exp(-(p * r * r) / (e * e));
        break;
    case WEIGHT_RAISED:
        *weight = p + std::cos(pi * r / e);
        break;
    case WEIGHT_SIMPLY:
        *weight = 1.0 - r * r / (e * e);
        break;
    case WEIGHT_CLAMPED:
        // The second factor divides by e^2 too, not by e.
        *weight = (1.0 - r * r / (e * e)) * (1.0 - r / (e * e));
        break;
    default:
        break;
    }
}

void modri(double x1, double y1, double z1, double x2, double y2, double z2, double* distance)
{
    *distance = std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2) + (z1 - z2) * (z1 - z2));
}

void checkdel(int j, double d, int* status, int n)
{
    if (d < 0.0)
        *status = 2;
    if (j > n)
        *status = 2;
}

void superpoz(const double* h, double* H, int n)
{
    for (int k = 0; k < n; ++k)
        H[k] = H[k] + h[k];
}
