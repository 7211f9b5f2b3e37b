#include "discwave_avg.h"

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

// arccos clamped to the values it takes at the ends of [-1, 1]; rounding
// near the edge wave's arrivals puts its argument just outside.
double phi(double u)
{
    if (u >= -1.0 && u <= 1.0)
        return std::acos(u);
    if (u < -1.0)
        return pi;
    return 0.0;
}


}  // namespace

double acos_acos(double p, double q) { return phi(p) + phi(q); }

double trapets_int(double t1, double t2, double z, double a, double r, double cp, int N)
{
    if (N < 1)
        return 0.0;
    const double step = (t2 - t1) / N;
    // s + r^2 - a^2 adds r^2 first, then subtracts a^2; the two products are
    // the same for every abscissa.
    const double r2 = r * r, a2 = a * a;
    const double z2 = z * z;
    const double two_r = 2.0 * r;
    double sum = 0.0;
    double tau = t1;
    // Each inner abscissa ends one trapezoid and starts the next: its arc
    // cosine is taken once and used for both, the same value either way.
    auto q = [&](double t) {
        const double s = t * (cp * (t * cp)) - z2;
        return ((s + r2) - a2) / (std::sqrt(s) * two_r);
    };
    double phi_left = phi(q(tau));
    for (int i = 0; i < N; ++i) {
        const double next = tau + step;
        const double phi_right = phi(q(next));
        sum = sum + step * ((phi_left + phi_right) * 0.5);
        phi_left = phi_right;
        tau = next;
    }
    return sum;
}

void discwave_avg(double x, double y, double z, double a, double dt, int nt, double delay,
                  double v, double cp, int N, double* h)
{
    x /= 1000.0;
    y /= 1000.0;
    z /= 1000.0;
    a /= 1000.0;
    if (nt < 1)
        return;
    for (int k = 0; k < nt; ++k)
        h[k] = 0.0;

    const double r = std::sqrt(x * x + y * y);
    const double R1 = std::sqrt(z * z + (a - r) * (a - r));
    const double R2 = std::sqrt(z * z + (a + r) * (a + r));
    const bool inside = r < a;  // a point over the rim counts as outside
    const double T = dt / 1000000.0;
    const double H = T * -0.5;
    const double T1 = R1 / cp;
    const double T2 = R2 / cp;
    const double plateau = v * cp;
    const double edge_scale = v * cp / pi;
    // On the axis, or for a radius of 0 or less, there is no edge wave.
    const bool has_edge = R1 < R2;
    auto E = [&](double t1, double t2) {
        return has_edge ? trapets_int(t1, t2, z, a, r, cp, N) * edge_scale : 0.0;
    };
    // The integral of the response over [tlo, thi], with lo and hi the
    // distances sound travels in those times: the first row that applies of
    // the plateau's and the edge wave's cases, in this order.
    auto integral = [&](double tlo, double thi, double lo, double hi) {
        if (inside) {
            if (hi < z && lo < z)
                return 0.0;
            if (lo < z && z <= hi && hi < R1)
                return (thi - z / cp) * plateau;
            if (lo < z && R1 <= hi && hi < R2)
                return (R1 - z) * plateau / cp + E(T1, thi);
            if (lo < z && hi >= R2)
                return (R1 - z) * plateau / cp + E(T1, T2);
            if (z <= lo && hi < R1)
                return (thi - tlo) * plateau;
            if (z <= lo && lo < R1 && R1 <= hi && hi < R2)
                return (T1 - tlo) * plateau + E(T1, thi);
            if (z <= lo && lo < R1 && hi >= R2)
                return (T1 - tlo) * plateau + E(T1, T2);
        }
        if (R1 <= lo && hi < R2)
            return E(tlo, thi);
        if (R1 <= lo && lo < R2 && R2 <= hi)
            return E(tlo, T2);
        if (lo >= R2)
            return 0.0;
        if (!inside) {
            if (hi < R1)
                return 0.0;
            if (lo < R1 && R1 <= hi && hi < R2)
                return E(T1, thi);
            if (lo < R1 && hi >= R2)
                return E(T1, T2);
        }
        return 0.0;
    };

    for (int k = 0; k < nt; ++k) {
        const double tk = (k * dt + delay) / 1000000.0;
        const double lower = tk + H;
        const double tlo = lower >= 0.0 ? lower : 0.0;
        const double thi = (T + tk) + H;
        if (thi < tlo)
            continue;  // wholly before time zero: nothing to average
        h[k] = integral(tlo, thi, cp * tlo, cp * thi) / T;
    }
}
