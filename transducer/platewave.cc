// The samples are formed a vector at a time, in every instruction set that
// Highway builds this file for (the lines up to HWY_ONCE are compiled once
// per set), and the set the processor has is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "platewave.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#include "piston_columns.h"

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

// The term (cp / -2 pi) arccos(side / root) of an edge, where some corner
// rectangle hears it; not formed when none does.
template <class D, class M, class V = hn::Vec<D>>
HWY_INLINE V edge_term(D d, double side, M heard, V root, V edge_scale)
{
    if (hn::AllFalse(d, heard))
        return hn::Zero(d);
    return hn::Mul(edge_scale, edge_acos(d, side, root));
}

// sum + s g for one corner rectangle, with g = cp/4 from tz to its t3, plus
// its p edge's term and then its q edge's where they are heard; a rectangle
// with no area adds nothing at t = tz.
template <class D, class M, class V = hn::Vec<D>>
HWY_INLINE V add_corner(D d, V sum, double s, M before_t3, V t, const Plate_column& c, M on_p,
                        V p_term, M on_q, V q_term, bool no_area, V root)
{
    V g =
        hn::IfThenElseZero(hn::And(hn::Le(hn::Set(d, c.g.tz), t), before_t3), hn::Set(d, c.quarter));
    g = hn::IfThenElse(on_p, hn::Add(g, p_term), g);
    g = hn::IfThenElse(on_q, hn::Add(g, q_term), g);
    const V added = hn::Add(sum, hn::Mul(hn::Set(d, s), g));
    if (!no_area)
        return added;
    return hn::IfThenElse(hn::And(hn::Or(on_p, on_q), hn::Eq(root, hn::Zero(d))), sum, added);
}

// Samples k_first .. k_first + n - 1 into out[0 .. n-1]: over the four
// corner rectangles in order,
// the sum of s g with
//   g = cp/4 when tz <= t <= t3, else 0,
//     + (cp / -2 pi) arccos(p / root) when t1 <= t <= t3,
//     + (cp / -2 pi) arccos(q / root) when t2 <= t <= t3,
// and no term at all from a rectangle with no area at t = tz. Two corner
// rectangles share each edge: its arc cosine is taken once for both.
void plate_samples(const Plate_column& c, std::ptrdiff_t k_first, std::size_t n, double* out)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    const Plate_edges& e = c.g.edges;
    const V tz = hn::Set(d, c.g.tz), tz2 = hn::Mul(tz, tz), cp = hn::Set(d, c.cp);
    const V edge_scale = hn::Set(d, c.edge_scale);
    const V t_near_x = hn::Set(d, e.t_near_x), t_far_x = hn::Set(d, e.t_far_x);
    const V t_near_y = hn::Set(d, e.t_near_y), t_far_y = hn::Set(d, e.t_far_y);
    const bool no_area_0 = e.near_x == 0.0 && e.near_y == 0.0;
    const bool no_area_1 = e.far_x == 0.0 && e.near_y == 0.0;
    const bool no_area_2 = e.far_x == 0.0 && e.far_y == 0.0;
    const bool no_area_3 = e.near_x == 0.0 && e.far_y == 0.0;

    ForEachVector(d, n, [&](auto at) {
        const V t = SampleTimes(d, k_first + static_cast<std::ptrdiff_t>(at.i), c.dt, c.delay);
        const V root = hn::Mul(cp, hn::Sqrt(hn::Sub(hn::Mul(t, t), tz2)));
        const auto in0 = hn::Le(t, hn::Set(d, c.g.t3[0])), in1 = hn::Le(t, hn::Set(d, c.g.t3[1]));
        const auto in2 = hn::Le(t, hn::Set(d, c.g.t3[2])), in3 = hn::Le(t, hn::Set(d, c.g.t3[3]));
        const auto near_x_0 = hn::And(hn::Le(t_near_x, t), in0),
                   near_x_3 = hn::And(hn::Le(t_near_x, t), in3);
        const auto far_x_1 = hn::And(hn::Le(t_far_x, t), in1),
                   far_x_2 = hn::And(hn::Le(t_far_x, t), in2);
        const auto near_y_0 = hn::And(hn::Le(t_near_y, t), in0),
                   near_y_1 = hn::And(hn::Le(t_near_y, t), in1);
        const auto far_y_2 = hn::And(hn::Le(t_far_y, t), in2),
                   far_y_3 = hn::And(hn::Le(t_far_y, t), in3);
        const V near_x = edge_term(d, e.near_x, hn::Or(near_x_0, near_x_3), root, edge_scale);
        const V far_x = edge_term(d, e.far_x, hn::Or(far_x_1, far_x_2), root, edge_scale);
        const V near_y = edge_term(d, e.near_y, hn::Or(near_y_0, near_y_1), root, edge_scale);
        const V far_y = edge_term(d, e.far_y, hn::Or(far_y_2, far_y_3), root, edge_scale);

        V sum = hn::Zero(d);
        sum = add_corner(d, sum, c.g.s[0], in0, t, c, near_x_0, near_x, near_y_0, near_y, no_area_0,
                         root);
        sum = add_corner(d, sum, c.g.s[1], in1, t, c, far_x_1, far_x, near_y_1, near_y, no_area_1,
                         root);
        sum =
            add_corner(d, sum, c.g.s[2], in2, t, c, far_x_2, far_x, far_y_2, far_y, no_area_2, root);
        sum = add_corner(d, sum, c.g.s[3], in3, t, c, near_x_3, near_x, far_y_3, far_y, no_area_3,
                         root);
        at.Store(sum, out);
    });
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "platewave.h"

#include "units.h"

#include <algorithm>
#include <cstddef>

namespace velk {
HWY_EXPORT(plate_samples);

Plate_column plate_column(double x, double y, double z, double a, double b, Sampling s,
                          double delay, double cp)
{
    return {plate_geometry(x, y, z, a, b, cp), cp, s.dt, delay, s.nt, cp * 0.25, cp / -two_pi};
}

// Nothing arrives before tz and the edges, or after the last corner's t3:
// on a time axis whose arrivals are in order the samples outside that
// window are a head and a tail of zeros.
Sample_band band(const Plate_column& c)
{
    const Plate_edges& e = c.g.edges;
    const double* t3 = c.g.t3;
    const double first = std::min({c.g.tz, e.t_near_x, e.t_far_x, e.t_near_y, e.t_far_y});
    const double last = std::max({t3[0], t3[1], t3[2], t3[3]});
    const double dt = c.dt, delay = c.delay;
    auto t = [=](int k) { return sample_time(k, dt, delay); };
    return response_band(
        c.nt, dt, c.cp, [=](int k) { return t(k) >= first; }, [=](int k) { return t(k) > last; });
}

void fill_band(const Plate_column& c, Sample_band band, double* out)
{
    HWY_DYNAMIC_DISPATCH(plate_samples)(c, band.k_first, static_cast<std::size_t>(band.size()),
                                        out);
}

}  // namespace velk

void platewave(double x, double y, double z, double a, double b, double dt, int nt, double delay,
               double /*v*/, double cp, double* h)
{
    if (nt < 1)
        return;
    velk::write_column(velk::plate_column(x, y, z, a, b, {dt, nt}, delay, cp), h);
}
#endif  // HWY_ONCE
