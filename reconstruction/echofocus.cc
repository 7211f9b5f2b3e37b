// The geometry of the A-scans is formed a vector of A-scans at a time, in
// every instruction set that Highway builds this file for (the lines up to
// HWY_ONCE are compiled once per set), and the set the processor has is
// chosen at the first call. Every lane performs the written operations in
// the written order, so every set gives the same bits.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "echofocus.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "echofocus.h"
#include "vector_math-inl.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

// A-scans per batch: their terms are formed in vectors into arrays on the
// stack, then added in A-scan order while the next batch's are formed.
constexpr std::size_t batch = 64;

// The terms of the A-scans of a batch: a used one adds (1 - |f|) s[k] and
// then |f| s[k +- 1].
struct Batch_terms {
    std::int64_t use[batch];   // 1 or 0
    std::int64_t near[batch];  // element of s[k]
    std::int64_t far[batch];   // element of s[k +- 1]
    double near_weight[batch];
    double far_weight[batch];
};

// Fills t with the terms of A-scans n0 .. n0 + count - 1.
template <bool per_scan_delay, class Tag>
HWY_INLINE void batch_terms(Tag d, const Echofocus_scans& s, std::size_t n0, std::size_t count,
                            double x, double y, double z, Batch_terms& t)
{
    using V = hn::Vec<Tag>;
    const hn::RebindToSigned<Tag> di;
    const double* px = s.positions + n0;
    const double* py = s.positions + s.N + n0;
    const double* pz = s.positions + 2 * s.N + n0;
    const V cp = hn::Set(d, s.cp), dt = hn::Set(d, s.dt), r2_max = hn::Set(d, s.r2_max);
    const V two = hn::Set(d, 2.0), minus_two = hn::Set(d, -2.0), thousand = hn::Set(d, 1000.0);
    const V one = hn::Set(d, 1.0), zero = hn::Zero(d);
    // 2 <= k <= M - 2, the bound kept within int; no k passes when M < 4.
    const V k_first = hn::Set(d, 2.0);
    const V k_last = hn::Set(d, static_cast<double>(std::min<std::size_t>(s.M, INT_MAX)) - 2.0);
    const V int_limit = hn::Set(d, 2147483647.0);
    const V M = hn::Set(d, static_cast<double>(s.M));

    ForEachVector(d, count, [&](auto at) {
        const std::size_t j = at.i;
        const V vx = at.Load(px), vy = at.Load(py), vz = at.Load(pz);
        const V tau = per_scan_delay ? at.Load(s.delays + n0) : hn::Set(d, s.delays[0]);

        const V dx = hn::Sub(vx, hn::Set(d, x));
        const V dy = hn::Sub(vy, hn::Set(d, y));
        const V r2 = hn::Add(hn::Mul(dx, dx), hn::Mul(dy, dy));
        const V r = hn::Sqrt(r2);
        const V dz = hn::Sub(hn::Set(d, z), vz);
        const V R = hn::Sqrt(hn::Add(hn::Mul(r, r), hn::Mul(dz, dz)));
        const V D = hn::Div(
            hn::Add(hn::Mul(hn::Div(hn::Mul(two, R), cp), thousand), hn::Mul(minus_two, tau)), dt);
        // A D that is not finite or beyond the int range has no sample; a
        // stand-in keeps the lane's arithmetic defined, and the lane is dropped.
        const auto has_index = hn::Lt(hn::Abs(D), int_limit);
        const V Dc = hn::IfThenElseZero(has_index, D);
        const V kd = hn::Round(Dc);  // nearest, halfway cases to even, as lrint
        const V f = hn::Sub(Dc, kd);
        // 1 + f = 1 - |f| and out - f s = out + |f| s for f < 0, bit for bit.
        const V g = hn::Abs(f);
        const V neighbour = hn::Add(kd, hn::IfThenElse(hn::Ge(f, zero), one, hn::Neg(one)));
        const auto use = hn::And(hn::Le(r2, r2_max), hn::And(has_index, hn::And(hn::Ge(kd, k_first),
                                                                                hn::Le(kd, k_last))));

        // Element n M + k of the A-scans and that of its neighbour.
        const V column = hn::Mul(hn::Iota(d, static_cast<double>(n0 + j)), M);
        at.Store(hn::ConvertTo(di, hn::Add(column, kd)), t.near);
        at.Store(hn::ConvertTo(di, hn::Add(column, neighbour)), t.far);
        at.Store(hn::Sub(one, g), t.near_weight);
        at.Store(g, t.far_weight);
        at.Store(hn::ConvertTo(di, hn::IfThenElseZero(use, one)), t.use);
    });
}

// The A-scans of a batch that contribute to a point, listed without a
// branch: which ones do changes from point to point and would be
// mispredicted. Returns their number.
HWY_INLINE std::size_t list_contributing(const Batch_terms& t, std::size_t count,
                                         std::size_t* contributing)
{
    std::size_t used = 0;
    for (std::size_t j = 0; j < count; ++j) {
        contributing[used] = j;
        used += static_cast<std::size_t>(t.use[j]);
    }
    return used;
}

HWY_INLINE void add_terms(const Echofocus_scans& s, const Batch_terms& t, std::size_t j,
                          double& out)
{
    out += t.near_weight[j] * s.samples[t.near[j]];
    out += t.far_weight[j] * s.samples[t.far[j]];
}

// The values at P points, each sum over its A-scans in A-scan order as for
// one point alone. Each addition waits for the one before it in its own sum
// only, so the P sums are advanced side by side and the adder works on P
// additions at once.
template <bool per_scan_delay, std::size_t P>
void focus(const Echofocus_scans& s, const double* x, const double* y, const double* z,
           double* out)
{
    const hn::ScalableTag<double> d;
    HWY_ALIGN_MAX Batch_terms t[P];
    std::size_t contributing[P][batch];
    std::size_t used[P];
    double sum[P] = {};
    for (std::size_t n0 = 0; n0 < s.N; n0 += batch) {
        const std::size_t count = std::min(batch, s.N - n0);
        for (std::size_t p = 0; p < P; ++p) {
            batch_terms<per_scan_delay>(d, s, n0, count, x[p], y[p], z[p], t[p]);
            used[p] = list_contributing(t[p], count, contributing[p]);
        }
        const std::size_t together = *std::min_element(used, used + P);
        for (std::size_t i = 0; i < together; ++i)
            for (std::size_t p = 0; p < P; ++p)
                add_terms(s, t[p], contributing[p][i], sum[p]);
        for (std::size_t p = 0; p < P; ++p)
            for (std::size_t i = together; i < used[p]; ++i)
                add_terms(s, t[p], contributing[p][i], sum[p]);
    }
    std::copy_n(sum, P, out);
}

// Points side by side in a group.
constexpr std::size_t group = 4;

template <bool per_scan_delay>
void focus_all(const Echofocus_scans& s, const double* x, const double* y, const double* z,
               std::size_t n_points, double* out)
{
    std::size_t k = 0;
    for (; k + group <= n_points; k += group)
        focus<per_scan_delay, group>(s, x + k, y + k, z + k, out + k);
    for (; k < n_points; ++k)
        focus<per_scan_delay, 1>(s, x + k, y + k, z + k, out + k);
}

void focus_points(const Echofocus_scans& s, const double* x, const double* y, const double* z,
                  std::size_t n_points, double* out)
{
    if (s.per_scan_delay)
        focus_all<true>(s, x, y, z, n_points, out);
    else
        focus_all<false>(s, x, y, z, n_points, out);
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <cmath>

namespace velk {
HWY_EXPORT(focus_points);
}  // namespace velk

double lateral_limit(double a)
{
    const double h = a * 0.5;
    if (h < 0.0)
        return -1.0;
    // h * h lies within an ulp or so of the boundary; sqrt is correctly
    // rounded and monotonic, so stepping to the last r2 whose root is still
    // <= h finds it exactly.
    double r2 = h * h;
    while (std::sqrt(r2) > h)
        r2 = std::nextafter(r2, 0.0);
    while (r2 < INFINITY && std::sqrt(std::nextafter(r2, INFINITY)) <= h)
        r2 = std::nextafter(r2, INFINITY);
    return r2;
}

void echofocus_points(const Echofocus_scans& scans, const double* x, const double* y,
                      const double* z, std::size_t n_points, double* out)
{
    HWY_DYNAMIC_DISPATCH(velk::focus_points)(scans, x, y, z, n_points, out);
}

double echofocus_point(const Echofocus_scans& scans, double x, double y, double z)
{
    double out;
    echofocus_points(scans, &x, &y, &z, 1, &out);
    return out;
}
#endif  // HWY_ONCE
