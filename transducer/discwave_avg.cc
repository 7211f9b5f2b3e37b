#include "discwave_avg.h"
#include "disc_geometry.h"
#include "time_axis.h"
#include "units.h"

#include <cmath>

namespace {

using velk::pi;

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
    const double r2 = r * r, a2 = a * a, z2 = z * z;
    const double two_r = 2.0 * r;
    // q at the abscissae: s + r^2 is formed first, then a^2 subtracted, as
    // for every abscissa of every interval.
    auto q = [&](double tau) {
        const double s = tau * (cp * (tau * cp)) - z2;
        return ((s + r2) - a2) / (std::sqrt(s) * two_r);
    };

    // Each inner abscissa ends one trapezoid and starts the next; its arc
    // cosine is taken once and serves both, the same value either way. The
    // abscissae are laid out a batch at a time, so that their arguments are
    // formed side by side before the arc cosines are taken in order.
    constexpr int batch = 32;
    double tau[batch];
    double u[batch];
    double sum = 0.0;
    double left = t1;
    double phi_left = phi(q(left));
    for (int remaining = N; remaining > 0;) {
        const int m = remaining < batch ? remaining : batch;
        remaining -= m;
        for (int j = 0; j < m; ++j) {
            left = left + step;
            tau[j] = left;
        }
        for (int j = 0; j < m; ++j)
            u[j] = q(tau[j]);
        for (int j = 0; j < m; ++j) {
            const double phi_right = phi(u[j]);
            sum = sum + step * ((phi_left + phi_right) * 0.5);
            phi_left = phi_right;
        }
    }
    return sum;
}

void discwave_avg(double x, double y, double z, double a, double dt, int nt, double delay,
                  double v, double cp, int N, double* h)
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
    const double T = velk::us_to_s(dt);
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

    // Sample k averages over [tlo, thi], its lower end clamped at time zero.
    struct Interval {
        double tlo, thi;
    };
    auto interval = [&](int k) {
        const double tk = velk::sample_time(k, dt, delay);
        const double lower = tk + H;
        return Interval{lower >= 0.0 ? lower : 0.0, (T + tk) + H};
    };

    // With dt > 0 and cp > 0 both ends only move on from sample to sample:
    // the intervals that end before the first arrival (z on the plateau,
    // R1 outside it) or begin after the last one (R2) are a head and a tail
    // of the column whose samples are 0.
    int k_first = 0, k_end = nt;
    if (dt > 0.0 && std::isfinite(dt) && cp > 0.0) {
        const double first_arrival = inside ? z : R1;
        k_first = velk::first_sample_where(nt, [&](int k) {
            const Interval i = interval(k);
            return !(i.thi < i.tlo) && !(cp * i.thi < first_arrival);
        });
        k_end = velk::first_sample_where(nt, [&](int k) { return cp * interval(k).tlo >= R2; });
    }

    for (int k = k_first; k < k_end; ++k) {
        const Interval i = interval(k);
        if (i.thi < i.tlo)
            continue;  // wholly before time zero: nothing to average
        h[k] = integral(i.tlo, i.thi, cp * i.tlo, cp * i.thi) / T;
    }
}
