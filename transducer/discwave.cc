// The samples are formed a vector at a time, in every instruction set that
// Highway builds this file for (the lines up to HWY_ONCE are compiled once
// per set), and the set the processor has is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "discwave.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#include "piston_columns.h"

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

// Samples k_first .. k_first + n - 1 into out[0 .. n-1], each the first row
// of the response's table that applies at its time:
//   inside and ct < z         0
//   inside and z <= ct < R1   v cp
//   R1 <= ct < R2             (v cp / pi) arccos q
//   otherwise                 0
// with q = (r^2 + s - a^2) / (2 r sqrt(s)) and s = cp ct t - z^2, taken as
// its limit from inside the edge interval where rounding leaves s <= 0.
void disc_samples(const Disc_column& c, std::ptrdiff_t k_first, std::size_t n, double* out)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    const V z = hn::Set(d, c.z), R1 = hn::Set(d, c.R1), R2 = hn::Set(d, c.R2),
            cp = hn::Set(d, c.cp);
    const V z2 = hn::Mul(z, z);
    const V r2 = hn::Set(d, c.r * c.r), a2 = hn::Set(d, c.a * c.a);
    const V two_r = hn::Set(d, 2.0 * c.r);
    const V plateau = hn::Set(d, c.plateau), edge_scale = hn::Set(d, c.edge_scale);
    // q where s <= 0: 0 over the rim (r = a), +-infinity off it.
    const double numerator = c.r * c.r - c.a * c.a;
    const V q_limit = hn::Set(d, numerator == 0.0 ? 0.0 : numerator > 0.0 ? INFINITY : -INFINITY);
    const auto inside = hn::FirstN(d, c.inside ? hn::Lanes(d) : 0);

    ForEachVector(d, n, [&](auto at) {
        const V t = SampleTimes(d, k_first + static_cast<std::ptrdiff_t>(at.i), c.dt, c.delay);
        const V ct = hn::Mul(cp, t);
        // z keeps its sign: a point below the piston's plane sees the plateau at once.
        const auto before = hn::And(inside, hn::Lt(ct, z));
        const auto on_plateau =
            hn::AndNot(before, hn::And(inside, hn::And(hn::Le(z, ct), hn::Lt(ct, R1))));
        const auto on_edge =
            hn::AndNot(hn::Or(before, on_plateau), hn::And(hn::Le(R1, ct), hn::Lt(ct, R2)));
        V value = hn::IfThenElseZero(on_plateau, plateau);
        if (!hn::AllFalse(d, on_edge)) {
            const V s = hn::Sub(hn::Mul(hn::Mul(cp, ct), t), z2);
            const V q_open = hn::Div(hn::Sub(hn::Add(r2, s), a2), hn::Mul(two_r, hn::Sqrt(s)));
            const V q = hn::IfThenElse(hn::Le(s, hn::Zero(d)), q_limit, q_open);
            value = hn::IfThenElse(on_edge, hn::Mul(edge_scale, AcosClamped(d, q)), value);
        }
        at.Store(value, out);
    });
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "discwave.h"
#include "disc_geometry.h"
#include "units.h"

#include <cstddef>

namespace velk {
HWY_EXPORT(disc_samples);

Disc_column disc_column(double x, double y, double z, double a, Sampling s, double delay, double v,
                        double cp)
{
    x = mm_to_m(x);
    y = mm_to_m(y);
    z = mm_to_m(z);
    a = mm_to_m(a);
    const auto [r, R1, R2, inside] = disc_geometry(x, y, z, a);
    return {z, a, r, R1, R2, inside, s.dt, delay, cp, s.nt, v * cp, v * cp / pi};
}

// On a time axis whose arrivals are in order the distance ct grows with k,
// so the samples before the first arrival (z inside, R1 outside) and from
// the last one (R2) on are a head and a tail of zeros.
Sample_band band(const Disc_column& c)
{
    // The predicates hold their numbers by value: taken through c, the
    // binary searches ran a few per cent slower.
    const double cp = c.cp, dt = c.dt, delay = c.delay, R2 = c.R2;
    const double first_arrival = c.inside ? c.z : c.R1;
    auto ct = [=](int k) { return cp * sample_time(k, dt, delay); };
    return response_band(
        c.nt, dt, cp, [=](int k) { return ct(k) >= first_arrival; },
        [=](int k) { return ct(k) >= R2; });
}

void fill_band(const Disc_column& c, Sample_band band, double* out)
{
    HWY_DYNAMIC_DISPATCH(disc_samples)(c, band.k_first, static_cast<std::size_t>(band.size()), out);
}

}  // namespace velk

void discwave(double x, double y, double z, double a, double dt, int nt, double delay, double v,
              double cp, double* h)
{
    if (nt < 1)
        return;
    velk::write_column(velk::disc_column(x, y, z, a, {dt, nt}, delay, v, cp), h);
}
#endif  // HWY_ONCE
