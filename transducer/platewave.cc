// The samples are formed a vector at a time, in every instruction set that
// Highway builds this file for (the lines up to HWY_ONCE are compiled once
// per set), and the set the processor has is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "platewave.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#ifndef VELK_PLATE_COLUMN
#define VELK_PLATE_COLUMN
namespace velk {
// One corner rectangle: its sign in the signed union, its sides along x (p)
// and y (q), and the arrival times from its far x-edge, far y-edge and
// opposite corner.
struct Corner {
    double s, p, q;
    double t1, t2, t3;
};

// What every sample of one point's column shares, in metres and seconds.
struct Plate_column {
    Corner corners[4];
    double tz;          // arrival from the foot of the point
    double cp;
    double dt, delay;
    double quarter;     // cp / 4
    double edge_scale;  // cp / (-2 pi)
};
}  // namespace velk
#endif

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

// The arc cosine of an edge term's ratio side / root, root = cp sqrt(t^2 -
// tz^2). A side of length 0 seen at t = tz gives 0/0: the ratio is 0 for
// every later time, so 0 stands in. Rounding can put the ratio just past 1
// at the edge's arrival, where its value is 1.
template <class D, class V = hn::Vec<D>>
HWY_INLINE V edge_acos(D d, double side, V root)
{
    const V ratio = hn::Div(hn::Set(d, side), root);
    const V limit = side == 0.0 ? hn::IfThenZeroElse(hn::Eq(root, hn::Zero(d)), ratio) : ratio;
    return AcosClamped(d, limit);
}

// Samples k_begin .. k_end - 1: over the four corner rectangles in order,
// the sum of s g with
//   g = cp/4 when tz <= t <= t3, else 0,
//     + (cp / -2 pi) arccos(p / root) when t1 <= t <= t3,
//     + (cp / -2 pi) arccos(q / root) when t2 <= t <= t3,
// and no term at all from a rectangle with no area at t = tz.
void plate_samples(const Plate_column& c, std::ptrdiff_t k_begin, std::ptrdiff_t k_end, double* h)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    const std::ptrdiff_t lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d));
    const V tz = hn::Set(d, c.tz), tz2 = hn::Mul(tz, tz), cp = hn::Set(d, c.cp);
    const V quarter = hn::Set(d, c.quarter), edge_scale = hn::Set(d, c.edge_scale);

    for (std::ptrdiff_t k = k_begin; k < k_end; k += lanes) {
        const V t = SampleTimes(d, k, c.dt, c.delay);
        const V root = hn::Mul(cp, hn::Sqrt(hn::Sub(hn::Mul(t, t), tz2)));
        V sum = hn::Zero(d);
        for (const Corner& corner : c.corners) {
            const V t3 = hn::Set(d, corner.t3);
            const auto by_t3 = hn::Le(t, t3);
            V g = hn::IfThenElseZero(hn::And(hn::Le(tz, t), by_t3), quarter);
            const auto edge_p = hn::And(hn::Le(hn::Set(d, corner.t1), t), by_t3);
            const auto edge_q = hn::And(hn::Le(hn::Set(d, corner.t2), t), by_t3);
            if (!hn::AllFalse(d, edge_p))
                g = hn::IfThenElse(edge_p, hn::Add(g, hn::Mul(edge_scale, edge_acos(d, corner.p, root))), g);
            if (!hn::AllFalse(d, edge_q))
                g = hn::IfThenElse(edge_q, hn::Add(g, hn::Mul(edge_scale, edge_acos(d, corner.q, root))), g);
            auto adds = hn::Not(hn::FirstN(d, 0));
            if (corner.p == 0.0 && corner.q == 0.0)
                adds = hn::Not(hn::And(hn::Or(edge_p, edge_q), hn::Eq(root, hn::Zero(d))));
            sum = hn::IfThenElse(adds, hn::Add(sum, hn::Mul(hn::Set(d, corner.s), g)), sum);
        }
        if (k_end - k >= lanes)
            hn::StoreU(sum, d, h + k);
        else
            StoreFirst(d, sum, static_cast<std::size_t>(k_end - k), h + k);
    }
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "platewave.h"

#include "time_axis.h"
#include "units.h"

#include <algorithm>
#include <cmath>

namespace velk {
HWY_EXPORT(plate_samples);
}  // namespace velk

void platewave(double x, double y, double z, double a, double b, double dt, int nt, double delay,
               double /*v*/, double cp, double* h)
{
    using velk::Corner;
    const double X = velk::mm_to_m(std::fabs(x));
    const double Y = velk::mm_to_m(std::fabs(y));
    const double Z = velk::mm_to_m(z);
    const double A = velk::mm_to_m(a);
    const double B = velk::mm_to_m(b);
    if (nt < 1)
        return;

    const double HA = A * 0.5;
    const double HB = B * 0.5;
    const double tz = Z / cp;
    const double Z2 = Z * Z;

    // Near and far edges of the piston seen from the foot (X, Y); a foot
    // beyond an edge makes that edge's rectangle a negative one.
    const bool inside_x = X <= HA;
    const bool inside_y = Y <= HB;
    const double near_x = std::fabs(inside_x ? HA - X : X - HA);
    const double near_y = std::fabs(inside_y ? HB - Y : Y - HB);
    const double far_x = std::fabs(HA + X);
    const double far_y = std::fabs(HB + Y);
    const double sx = inside_x ? 1.0 : -1.0;
    const double sy = inside_y ? 1.0 : -1.0;
    velk::Plate_column column{{
                                  {sx * sy, near_x, near_y, 0, 0, 0},
                                  {sy, far_x, near_y, 0, 0, 0},
                                  {1.0, far_x, far_y, 0, 0, 0},
                                  {sx, near_x, far_y, 0, 0, 0},
                              },
                              tz, cp, dt, delay, cp * 0.25, cp / -velk::two_pi};
    for (Corner& c : column.corners) {
        c.t1 = std::sqrt(Z2 + c.p * c.p) / cp;
        c.t2 = std::sqrt(Z2 + c.q * c.q) / cp;
        c.t3 = std::sqrt(Z2 + c.p * c.p + c.q * c.q) / cp;
    }

    // Nothing arrives before tz and the edges' t1 and t2, or after the last
    // corner's t3. With dt > 0 the sample times never decrease, so the
    // samples outside that window are a head and a tail of zeros.
    int k_first = 0, k_end = nt;
    if (dt > 0.0 && std::isfinite(dt) && cp > 0.0) {
        double first = tz, last = column.corners[0].t3;
        for (const Corner& c : column.corners) {
            first = std::min({first, c.t1, c.t2});
            last = std::max(last, c.t3);
        }
        auto t = [&](int k) { return velk::sample_time(k, dt, delay); };
        k_first = velk::first_sample_where(nt, [&](int k) { return t(k) >= first; });
        k_end = std::max(k_first, velk::first_sample_where(nt, [&](int k) { return t(k) > last; }));
    }
    std::fill(h, h + k_first, 0.0);
    HWY_DYNAMIC_DISPATCH(velk::plate_samples)(column, k_first, k_end, h);
    std::fill(h + k_end, h + nt, 0.0);
}
#endif  // HWY_ONCE
