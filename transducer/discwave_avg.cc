// The edge wave's trapezoidal sums are formed for a vector of sample
// intervals at a time, in every instruction set that Highway builds this file
// for (the lines up to HWY_ONCE are compiled once per set), and the set the
// processor has is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "discwave_avg.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#ifndef VELK_EDGE_WAVE
#define VELK_EDGE_WAVE
namespace velk {
// The edge wave of a point at distance r from the axis and height z over a
// piston of radius a, all in metres, and the trapezoids per integral.
struct Edge_wave {
    double z, a, r, cp;
    int N;
};
}  // namespace velk
#endif

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

// For each interval [t1[i], t2[i]], i < n, the trapezoidal rule over N
// intervals for the integral of phi(q(tau)), into sums[i]:
//   q(tau) = ((s + r^2) - a^2) / (sqrt(s) 2r),  s = tau (cp (tau cp)) - z^2,
//   phi(u) = arccos u on [-1, 1], pi below -1, 0 above 1 and for NaN.
// The abscissae advance by adding the step; each one's phi serves the
// trapezoid it ends and the one it starts. 0 when N < 1.
void trapezoid_sums(const Edge_wave& w, const double* t1, const double* t2, std::size_t n,
                    double* sums)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    const V z2 = hn::Set(d, w.z * w.z), a2 = hn::Set(d, w.a * w.a), r2 = hn::Set(d, w.r * w.r);
    const V two_r = hn::Set(d, 2.0 * w.r), cp = hn::Set(d, w.cp), half = hn::Set(d, 0.5);
    auto phi_of = [&](V tau) {
        const V s = hn::Sub(hn::Mul(tau, hn::Mul(cp, hn::Mul(tau, cp))), z2);
        const V q = hn::Div(hn::Sub(hn::Add(s, r2), a2), hn::Mul(hn::Sqrt(s), two_r));
        return hn::IfThenZeroElse(hn::IsNaN(q), AcosClamped(d, q));
    };

    ForEachVector(d, n, [&](auto at) {
        const V lo = at.Load(t1), hi = at.Load(t2);
        V sum = hn::Zero(d);
        if (w.N >= 1) {
            const V step = hn::Div(hn::Sub(hi, lo), hn::Set(d, static_cast<double>(w.N)));
            V tau = lo;
            V phi_left = phi_of(tau);
            for (int j = 0; j < w.N; ++j) {
                tau = hn::Add(tau, step);
                const V phi_right = phi_of(tau);
                sum = hn::Add(sum, hn::Mul(step, hn::Mul(hn::Add(phi_left, phi_right), half)));
                phi_left = phi_right;
            }
        }
        at.Store(sum, sums);
    });
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "discwave_avg.h"

#include "disc_geometry.h"
#include "piston_columns.h"
#include "units.h"

#include <cmath>

using velk::pi;

namespace velk {
HWY_EXPORT(trapezoid_sums);

namespace {

// phi(u): arccos u on [-1, 1], its end values beyond, 0 for NaN.
double phi(double u)
{
    if (u >= -1.0 && u <= 1.0)
        return std::acos(u);
    if (u < -1.0)
        return pi;
    return 0.0;
}

// How the integral of one sample interval is made up: a plateau part, an
// edge-wave part over [t1, t2], their sum, or nothing.
struct Interval_integral {
    bool has_plateau = false;
    double plateau = 0.0;
    bool has_edge = false;
    double t1 = 0.0, t2 = 0.0;
};

// The integral of the response over [tlo, thi], with lo and hi the
// distances sound travels in those times: the first row that applies of the
// plateau's and the edge wave's cases, in this order.
Interval_integral integral(const Disc_avg_column& c, double tlo, double thi, double lo, double hi)
{
    const double z = c.z, R1 = c.R1, R2 = c.R2, cp = c.cp, plateau = c.plateau;
    if (c.inside) {
        if (hi < z && lo < z)
            return {};
        if (lo < z && z <= hi && hi < R1)
            return {true, (thi - z / cp) * plateau};
        if (lo < z && R1 <= hi && hi < R2)
            return {true, (R1 - z) * plateau / cp, true, c.T1, thi};
        if (lo < z && hi >= R2)
            return {true, (R1 - z) * plateau / cp, true, c.T1, c.T2};
        if (z <= lo && hi < R1)
            return {true, (thi - tlo) * plateau};
        if (z <= lo && lo < R1 && R1 <= hi && hi < R2)
            return {true, (c.T1 - tlo) * plateau, true, c.T1, thi};
        if (z <= lo && lo < R1 && hi >= R2)
            return {true, (c.T1 - tlo) * plateau, true, c.T1, c.T2};
    }
    if (R1 <= lo && hi < R2)
        return {false, 0.0, true, tlo, thi};
    if (R1 <= lo && lo < R2 && R2 <= hi)
        return {false, 0.0, true, tlo, c.T2};
    if (lo >= R2)
        return {};
    if (!c.inside) {
        if (hi < R1)
            return {};
        if (lo < R1 && R1 <= hi && hi < R2)
            return {false, 0.0, true, c.T1, thi};
        if (lo < R1 && hi >= R2)
            return {false, 0.0, true, c.T1, c.T2};
    }
    return {};
}

// Sample k averages over [tlo, thi], its lower end clamped at time zero.
struct Interval {
    double tlo, thi;
};

Interval interval(const Disc_avg_column& c, int k)
{
    const double tk = sample_time(k, c.dt, c.delay);
    const double lower = tk + c.H;
    return {lower >= 0.0 ? lower : 0.0, (c.T + tk) + c.H};
}

}  // namespace

Disc_avg_column disc_avg_column(double x, double y, double z, double a, Sampling s, double delay,
                                double v, double cp, int N)
{
    x = mm_to_m(x);
    y = mm_to_m(y);
    z = mm_to_m(z);
    a = mm_to_m(a);
    const auto [r, R1, R2, inside] = disc_geometry(x, y, z, a);
    const double T = us_to_s(s.dt);
    return {z,     a, r,      R1,        R2,        inside,  s.dt,         delay,
            cp,    s.nt, N,   T,         T * -0.5,  R1 / cp, R2 / cp,      v * cp,
            v * cp / pi};
}

// On a time axis whose arrivals are in order both ends only move on from
// sample to sample: the intervals that end before the first arrival (z on
// the plateau, R1 outside it) or begin after the last one (R2) are a head
// and a tail of the column whose samples are 0.
Sample_band band(const Disc_avg_column& c)
{
    // By value, as in discwave's band.
    const Disc_avg_column column = c;
    const double cp = c.cp, R2 = c.R2, first_arrival = c.inside ? c.z : c.R1;
    return response_band(
        c.nt, c.dt, cp,
        [=](int k) {
            const Interval i = interval(column, k);
            return !(i.thi < i.tlo) && !(cp * i.thi < first_arrival);
        },
        [=](int k) { return cp * interval(column, k).tlo >= R2; });
}

void fill_band(const Disc_avg_column& c, Sample_band band, double* out)
{
    // On the axis, or for a radius of 0 or less, there is no edge wave.
    const bool has_edge_wave = c.R1 < c.R2;
    const Edge_wave wave{c.z, c.a, c.r, c.cp, c.N};

    // The samples whose integral has an edge-wave part wait in a batch, so
    // that their trapezoidal sums are formed side by side.
    constexpr int batch = 64;
    int pending[batch];
    Interval_integral parts[batch];
    double t1[batch], t2[batch], sums[batch];
    int n_pending = 0;
    auto finish = [&](int k, const Interval_integral& p, double E) {
        const double U =
            p.has_plateau ? (p.has_edge ? p.plateau + E : p.plateau) : (p.has_edge ? E : 0.0);
        out[k - band.k_first] = U / c.T;
    };
    auto flush = [&] {
        const std::size_t n = static_cast<std::size_t>(n_pending);
        HWY_DYNAMIC_DISPATCH(trapezoid_sums)(wave, t1, t2, n, sums);
        for (int j = 0; j < n_pending; ++j)
            finish(pending[j], parts[j], sums[j] * c.edge_scale);
        n_pending = 0;
    };
    for (int k = band.k_first; k < band.k_end; ++k) {
        const Interval i = interval(c, k);
        if (i.thi < i.tlo) {
            out[k - band.k_first] = 0.0;  // wholly before time zero: nothing to average
            continue;
        }
        const Interval_integral p = integral(c, i.tlo, i.thi, c.cp * i.tlo, c.cp * i.thi);
        if (!p.has_edge || !has_edge_wave) {
            finish(k, p, 0.0);
            continue;
        }
        pending[n_pending] = k;
        parts[n_pending] = p;
        t1[n_pending] = p.t1;
        t2[n_pending] = p.t2;
        if (++n_pending == batch)
            flush();
    }
    if (n_pending > 0)
        flush();
}

}  // namespace velk

double acos_acos(double p, double q) { return velk::phi(p) + velk::phi(q); }

double trapets_int(double t1, double t2, double z, double a, double r, double cp, int N)
{
    double sum;
    HWY_DYNAMIC_DISPATCH(velk::trapezoid_sums)({z, a, r, cp, N}, &t1, &t2, 1, &sum);
    return sum;
}

void discwave_avg(double x, double y, double z, double a, double dt, int nt, double delay,
                  double v, double cp, int N, double* h)
{
    if (nt < 1)
        return;
    velk::write_column(velk::disc_avg_column(x, y, z, a, {dt, nt}, delay, v, cp, N), h);
}
#endif  // HWY_ONCE
