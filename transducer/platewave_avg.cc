// The averaged samples are formed a vector of neighbouring samples at a
// time, each lane with its own sums in its own order, in every instruction
// set that Highway builds this file for (the lines up to HWY_ONCE are
// compiled once per set), and the set the processor has is chosen at the
// first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "platewave_avg.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#include "piston_columns.h"

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

// The length of the part of [lower, upper] within [lo, hi], 0 if none.
template <class D, class V = hn::Vec<D>>
HWY_INLINE V covered(D d, V lower, V upper, V lo, V hi)
{
    return hn::Max(hn::Zero(d), hn::Sub(hn::Min(upper, hi), hn::Max(lower, lo)));
}

// The integral of arccos(side / (cp sqrt(t^2 - tz^2))) dt over the part [A,
// B] of the sample interval [lower, upper] that lies within [lo, hi], where
// lo is at or after the edge's arrival t_e (offsets from the sample's centre;
// o_edge is t_e's). With t = t_e + w^2 the integrand is 2 w atan(x), x = (w /
// ws) sqrt(1 + w^2 / (2 t_e)): smooth where in t it grows as a square root.
// Its leading part 2 w atan(w / ws) is integrated in closed form,
//   (B - A) atan(wB / ws) + (wA^2 + ws^2) atan((wB - wA) ws / (ws^2 + wA wB))
//     - ws (wB - wA),
// and the rest, 2 w (atan x - atan(w / ws)) = 2 w atan(dx / (1 + x w / ws))
// with dx = kappa w^3 / (sqrt(2 t_e + w^2) + sqrt(2 t_e)), by the two-point
// Gauss-Legendre rule on N equal parts of [wA, wB]. 0 where the part is empty.
template <class D, class V = hn::Vec<D>>
HWY_INLINE V edge_integral(D d, const Plate_avg_edge& e, int N, V lower, V upper, V o_edge, V lo,
                           V hi)
{
    const V A = hn::Max(lower, lo), B = hn::Min(upper, hi);
    const auto in_part = hn::Lt(A, B);
    if (hn::AllFalse(d, in_part))
        return hn::Zero(d);
    const V wA = hn::Sqrt(hn::Sub(A, o_edge)), wB = hn::Sqrt(hn::Sub(B, o_edge));
    const V ws = hn::Set(d, e.ws), ws2 = hn::Mul(ws, ws);
    const V dw = hn::Sub(wB, wA);
    const V lead = hn::Sub(
        hn::Add(hn::Mul(hn::Sub(B, A), hn::Atan(d, hn::Div(wB, ws))),
                hn::Mul(hn::Add(hn::Mul(wA, wA), ws2),
                        hn::Atan(d, hn::Div(hn::Mul(dw, ws), hn::Add(ws2, hn::Mul(wA, wB)))))),
        hn::Mul(ws, dw));
    if (N < 1)
        return hn::IfThenElseZero(in_part, lead);

    const V kappa = hn::Set(d, e.kappa), two_t = hn::Set(d, e.two_t);
    const V root_two_t = hn::Set(d, e.root_two_t), one = hn::Set(d, 1.0), two = hn::Set(d, 2.0);
    auto rest = [&](V w) {
        const V x0 = hn::Div(w, ws);
        const V dx = hn::Div(hn::Mul(kappa, hn::Mul(w, hn::Mul(w, w))),
                             hn::Add(hn::Sqrt(hn::Add(two_t, hn::Mul(w, w))), root_two_t));
        const V x = hn::Add(x0, dx);
        return hn::Mul(hn::Mul(two, w), hn::Atan(d, hn::Div(dx, hn::Add(one, hn::Mul(x, x0)))));
    };
    // Nodes at the centre of each part plus and minus h / (2 sqrt(3)).
    const V h = hn::Div(dw, hn::Set(d, static_cast<double>(N)));
    const V gh = hn::Mul(hn::Set(d, 0.28867513459481287), h);
    V sum = hn::Zero(d);
    for (int j = 0; j < N; ++j) {
        const V centre = hn::Add(wA, hn::Mul(hn::Set(d, j + 0.5), h));
        sum = hn::Add(sum, hn::Add(rest(hn::Sub(centre, gh)), rest(hn::Add(centre, gh))));
    }
    return hn::IfThenElseZero(in_part, hn::Add(lead, hn::Mul(sum, hn::Mul(h, hn::Set(d, 0.5)))));
}

// Samples k_first .. k_first + n - 1 into out[0 .. n-1]. Sample k averages
// over [tk - T/2, tk + T/2], its lower end clamped at time 0, written as
// offsets from tk: [lower, upper] = [max(-T/2, -tk), T/2]. With the covered
// fractions f = covered(...) / T (1 exactly where a term covers the whole
// interval),
//   P = sum over the corner rectangles i of s_i f(tz, t3_i)
//       - for each edge of side 0: both f(t_e, t3_first) + last f(t3_first, t3_last),
//   E = sum over the other edges of both I(t_e, t3_first) + last I(t3_first, t3_last),
//   sample = (cp / 4) P + (cp / -2 pi) (E / T),
// each sum in the order written, I from edge_integral().
void plate_avg_samples(const Plate_avg_column& c, std::ptrdiff_t k_first, std::size_t n,
                       double* out)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    if (!c.defined) {
        ForEachVector(d, n, [&](auto at) { at.Store(hn::Set(d, NAN), out); });
        return;
    }
    const V T = hn::Set(d, c.T), half = hn::Set(d, c.half);
    const V quarter = hn::Set(d, c.quarter), edge_scale = hn::Set(d, c.edge_scale);

    ForEachVector(d, n, [&](auto at) {
        const V tk = SampleTimes(d, k_first + static_cast<std::ptrdiff_t>(at.i), c.dt, c.delay);
        const V lower = hn::Max(hn::Neg(half), hn::Neg(tk)), upper = half;
        auto offset = [&](double time) { return hn::Sub(hn::Set(d, time), tk); };
        auto fraction = [&](V lo, V hi) { return hn::Div(covered(d, lower, upper, lo, hi), T); };

        const V o_tz = offset(c.g.tz);
        V P = hn::Zero(d);
        for (int i = 0; i < 4; ++i)
            P = hn::Add(P, hn::Mul(hn::Set(d, c.g.s[i]), fraction(o_tz, offset(c.g.t3[i]))));
        V E = hn::Zero(d);
        for (const Plate_avg_edge& e : c.edges) {
            const V o_edge = offset(e.t), o_first = offset(e.t3_first), o_last = offset(e.t3_last);
            const bool later = e.t3_last > e.t3_first;
            if (e.constant) {
                if (e.both != 0.0)
                    P = hn::Sub(P, hn::Mul(hn::Set(d, e.both), fraction(o_edge, o_first)));
                if (later)
                    P = hn::Sub(P, hn::Mul(hn::Set(d, e.last), fraction(o_first, o_last)));
                continue;
            }
            if (e.both != 0.0)
                E = hn::Add(E, hn::Mul(hn::Set(d, e.both), edge_integral(d, e, c.N, lower, upper,
                                                                         o_edge, o_edge, o_first)));
            if (later)
                E = hn::Add(E, hn::Mul(hn::Set(d, e.last), edge_integral(d, e, c.N, lower, upper,
                                                                         o_edge, o_first, o_last)));
        }
        at.Store(hn::Add(hn::Mul(quarter, P), hn::Mul(edge_scale, hn::Div(E, T))), out);
    });
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "platewave_avg.h"

#include "units.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace velk {
HWY_EXPORT(plate_avg_samples);

Plate_avg_column plate_avg_column(double x, double y, double z, double a, double b, Sampling s,
                                  double delay, double cp, int N)
{
    Plate_avg_column c{};
    c.g = plate_geometry(x, y, z, a, b, cp);
    c.dt = s.dt;
    c.delay = delay;
    c.cp = cp;
    c.nt = s.nt;
    c.N = N;
    c.T = us_to_s(s.dt);
    c.half = c.T * 0.5;
    c.quarter = cp * 0.25;
    c.edge_scale = cp / -two_pi;
    c.defined = std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::isfinite(a) &&
                std::isfinite(b) && std::isfinite(delay) && arrivals_in_order(s.dt, cp);

    const Plate_edges& pe = c.g.edges;
    const double side[4] = {pe.near_x, pe.far_x, pe.near_y, pe.far_y};
    const double t_edge[4] = {pe.t_near_x, pe.t_far_x, pe.t_near_y, pe.t_far_y};
    // The corner rectangles that hear each edge (see Plate_geometry).
    constexpr int hearing[4][2] = {{0, 3}, {1, 2}, {0, 1}, {2, 3}};
    for (int k = 0; k < 4; ++k) {
        Plate_avg_edge& e = c.edges[k];
        const int i = hearing[k][0], j = hearing[k][1];
        const bool i_first = c.g.t3[i] <= c.g.t3[j];
        e.t = t_edge[k];
        e.t3_first = i_first ? c.g.t3[i] : c.g.t3[j];
        e.t3_last = i_first ? c.g.t3[j] : c.g.t3[i];
        e.both = c.g.s[i] + c.g.s[j];
        e.last = i_first ? c.g.s[j] : c.g.s[i];
        e.two_t = 2.0 * e.t;
        e.root_two_t = std::sqrt(e.two_t);
        e.kappa = cp / side[k];
        e.ws = side[k] / (cp * e.root_two_t);
        // A side of 0, or one so short that cp / side or the knee ws leaves
        // the range of doubles, has the constant term -cp/4.
        e.constant = !(e.ws > 0.0 && std::isfinite(e.kappa));
    }
    c.first = std::min({c.g.tz, t_edge[0], t_edge[1], t_edge[2], t_edge[3]});
    c.last = std::max({c.g.t3[0], c.g.t3[1], c.g.t3[2], c.g.t3[3]});
    return c;
}

// The samples whose interval can meet the response: from the first whose
// interval's upper end passes the earliest arrival to the first whose lower
// end is past the latest t3, as offsets from the sample's time the kernel
// forms them. The whole column when the column is not defined.
Sample_band band(const Plate_avg_column& c)
{
    if (!c.defined)
        return {0, std::max(c.nt, 0)};
    const double dt = c.dt, delay = c.delay, first = c.first, last = c.last, half = c.half;
    auto tk = [=](int k) { return sample_time(k, dt, delay); };
    return response_band(
        c.nt, dt, c.cp, [=](int k) { return first - tk(k) < half; },
        [=](int k) { return last - tk(k) <= -half; });
}

void fill_band(const Plate_avg_column& c, Sample_band band, double* out)
{
    HWY_DYNAMIC_DISPATCH(plate_avg_samples)(c, band.k_first,
                                            static_cast<std::size_t>(band.size()), out);
}

}  // namespace velk

void platewave_avg(double x, double y, double z, double a, double b, double dt, int nt,
                   double delay, double /*v*/, double cp, int N, double* h)
{
    if (nt < 1)
        return;
    velk::write_column(velk::plate_avg_column(x, y, z, a, b, {dt, nt}, delay, cp, N), h);
}
#endif  // HWY_ONCE
