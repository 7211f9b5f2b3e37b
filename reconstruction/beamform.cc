// The beamformer's groups of points, in every instruction set that Highway
// builds this file for (the lines up to HWY_ONCE are compiled once per set),
// the set the processor has chosen at the first call. Lanes go over points:
// each lane sums its own point in the order of beamform.h, so every set
// gives the same bits.
//
// A group is formed channel by channel: for event e, each channel's samples
// are swept by all the points of the group before the next channel's, so
// that they are read from memory once per group while they sit in the
// first-level cache; the receive terms R_j (and w_j, the receive phasors)
// are formed once per group and read again for every event.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "beamform.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/cache_control.h>
#include <hwy/highway.h>

#include "beamform_plan.h"
#include "vector_math-inl.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;

// sin(2 pi r) and cos(2 pi r) for |r| <= 0.5: r = q / 4 + s with q the
// nearest quarter (both steps exact), then Taylor polynomials in
// x = 2 pi s, |x| <= pi / 4, to x^17 and x^18 (the next terms are below
// 1e-19), turned by q quarter turns. Plain products and sums only, so every
// instruction set rounds alike.
HWY_INLINE void SinCosCycles(D d, V r, V& sin_out, V& cos_out)
{
    const V q = hn::Round(hn::Mul(r, hn::Set(d, 4.0)));
    const V s = hn::Sub(r, hn::Mul(q, hn::Set(d, 0.25)));
    const V x = hn::Mul(hn::Set(d, two_pi), s);
    const V x2 = hn::Mul(x, x);
    auto term = [&](V acc, double c) { return hn::Add(hn::Set(d, c), hn::Mul(x2, acc)); };
    V sp = hn::Set(d, -1.0 / 355687428096000.0);  // -1/17!
    sp = term(sp, 1.0 / 1307674368000.0);
    sp = term(sp, -1.0 / 6227020800.0);
    sp = term(sp, 1.0 / 39916800.0);
    sp = term(sp, -1.0 / 362880.0);
    sp = term(sp, 1.0 / 5040.0);
    sp = term(sp, -1.0 / 120.0);
    sp = term(sp, 1.0 / 6.0);
    // sp = 1/3! - x^2/5! + ..., sin x = x - x^3 sp
    const V sin_x = hn::Sub(x, hn::Mul(hn::Mul(x, x2), sp));
    V cp = hn::Set(d, 1.0 / 6402373705728000.0);  // 1/18!
    cp = term(cp, -1.0 / 20922789888000.0);
    cp = term(cp, 1.0 / 87178291200.0);
    cp = term(cp, -1.0 / 479001600.0);
    cp = term(cp, 1.0 / 3628800.0);
    cp = term(cp, -1.0 / 40320.0);
    cp = term(cp, 1.0 / 720.0);
    cp = term(cp, -1.0 / 24.0);
    cp = term(cp, 1.0 / 2.0);
    // cp = 1/2! - x^2/4! + ..., cos x = 1 - x^2 cp
    const V cos_x = hn::Sub(hn::Set(d, 1.0), hn::Mul(x2, cp));
    // q = 1: (cos, -sin); q = +-2: (-sin, -cos); q = -1: (-cos, sin).
    const auto q1 = hn::Eq(q, hn::Set(d, 1.0));
    const auto qm1 = hn::Eq(q, hn::Set(d, -1.0));
    const auto q2 = hn::Eq(hn::Abs(q), hn::Set(d, 2.0));
    V sv = hn::IfThenElse(q1, cos_x, sin_x);
    V cv = hn::IfThenElse(q1, hn::Neg(sin_x), cos_x);
    sv = hn::IfThenElse(qm1, hn::Neg(cos_x), sv);
    cv = hn::IfThenElse(qm1, sin_x, cv);
    sin_out = hn::IfThenElse(q2, hn::Neg(sin_x), sv);
    cos_out = hn::IfThenElse(q2, hn::Neg(cos_x), cv);
}

// The phasor exp(2 pi i fd t) of a time t in us: the phase in cycles
// reduced exactly to c - round(c) (c and round(c) share their binade or
// lie within a factor two of each other).
HWY_INLINE void Phasor(D d, double fd, V t, V& re, V& im)
{
    const V c = hn::Mul(hn::Set(d, fd), t);
    SinCosCycles(d, hn::Sub(c, hn::Round(c)), im, re);
}

// The window at rho, 0 <= rho <= 1.
HWY_INLINE V WindowAt(D d, Window w, V rho)
{
    if (w == Window::boxcar)
        return hn::Set(d, 1.0);
    const V half = hn::Set(d, 0.5);
    V s, c;
    if (w == Window::hann) {
        SinCosCycles(d, hn::Mul(rho, half), s, c);  // cos(pi rho)
        return hn::Add(half, hn::Mul(half, c));
    }
    SinCosCycles(d, hn::Sub(rho, half), s, c);  // cos(2 pi (rho - 0.5)), exact argument
    return hn::IfThenElse(hn::Le(rho, half), hn::Set(d, 1.0), hn::Add(half, hn::Mul(half, c)));
}

// A whole k with 0 <= k < 2^52 as an int64: k + 2^52 is exact and holds k in
// its low mantissa bits. Two operations, where the general conversion also
// sorts out values beyond the int64 range.
template <class Tag, class Vec = hn::Vec<Tag>>
HWY_INLINE hn::Vec<hn::RebindToSigned<Tag>> WholeToIndex(Tag d, Vec k)
{
    const hn::RebindToSigned<Tag> di;
    const double two_52 = 4503599627370496.0;
    return hn::Sub(hn::BitCast(di, hn::Add(k, hn::Set(d, two_52))),
                   hn::BitCast(di, hn::Set(d, two_52)));
}

// Two neighbouring samples, s[k] and s[k + 1], of every lane, for whole k
// with both inside the channel. For doubles: one 16-byte load per lane, the
// loads of the even lanes put side by side in one vector and those of the
// odd lanes in another, so that interleaving their lower and upper halves
// gives the two neighbours in lane order; two gathers cost some three times
// as much and bound the loop when used (see beamform.h).
template <class Tag, class Vec = hn::Vec<Tag>>
HWY_INLINE void NeighbourPairs(Tag d, const double* s, Vec k, Vec& s0, Vec& s1)
{
#if HWY_TARGET == HWY_SCALAR
    const double* p = s + static_cast<std::size_t>(hn::GetLane(k));
    s0 = hn::Set(d, p[0]);
    s1 = hn::Set(d, p[1]);
#else
    constexpr std::size_t L = hn::MaxLanes(Tag());
    const hn::RebindToSigned<Tag> di;
    HWY_ALIGN std::int64_t i[L];
    hn::Store(WholeToIndex(d, k), di, i);
    const hn::Full128<double> d2;
    auto pair = [&](std::size_t lane) { return hn::LoadU(d2, s + i[lane]); };
    Vec even, odd;
    if constexpr (L == 2) {
        even = pair(0);
        odd = pair(1);
    } else if constexpr (L == 4) {
        even = hn::Combine(d, pair(2), pair(0));
        odd = hn::Combine(d, pair(3), pair(1));
    } else {
        static_assert(L == 8, "vectors of 1, 2, 4 or 8 doubles");
        const hn::Half<Tag> dh;
        even = hn::Combine(d, hn::Combine(dh, pair(6), pair(4)), hn::Combine(dh, pair(2), pair(0)));
        odd = hn::Combine(d, hn::Combine(dh, pair(7), pair(5)), hn::Combine(dh, pair(3), pair(1)));
    }
    s0 = hn::InterleaveLower(d, even, odd);
    s1 = hn::InterleaveUpper(d, even, odd);
#endif
}

// For floats: one 8-byte gather per lane, split into its two floats (the
// first in the low half), each widened to double exactly.
HWY_INLINE void NeighbourPairs(D d, const float* s, V k, V& s0, V& s1)
{
    const hn::RebindToSigned<D> di;
    const hn::RebindToUnsigned<D> du;
    const hn::Rebind<std::uint32_t, D> du32;
    const hn::Rebind<float, D> df;
    const auto offset = WholeToIndex(d, hn::Mul(k, hn::Set(d, double(sizeof(float)))));
    const auto both =
        hn::BitCast(du, hn::GatherOffset(di, reinterpret_cast<const std::int64_t*>(s), offset));
    s0 = hn::PromoteTo(d, hn::BitCast(df, hn::TruncateTo(du32, both)));
    s1 = hn::PromoteTo(d, hn::BitCast(df, hn::TruncateTo(du32, hn::ShiftRight<32>(both))));
}

// Single samples at whole positions k inside the channel, gathered; the
// masked form reads only the lanes where `has` holds and gives 0 in the
// others.
HWY_INLINE V SampleAt(D d, const double* s, V k)
{
    return hn::GatherIndex(d, s, WholeToIndex(d, k));
}

HWY_INLINE V SampleAt(D d, const float* s, V k)
{
    const hn::Rebind<float, D> df;
    return hn::PromoteTo(d, hn::GatherIndex(df, s, hn::DemoteTo(hn::Rebind<std::int32_t, D>(), k)));
}

template <class Sample, class M>
HWY_INLINE V SampleAt(D d, const Sample* s, V k, M has)
{
    return hn::IfThenElseZero(has, SampleAt(d, s, hn::IfThenElseZero(has, k)));
}

// A complex or real value of a lane.
struct Value {
    V re, im;
};

// The channel's value at fractional sample u, samples outside 0 .. nt-1
// taken as 0 (beamform.h). `last` is nt - 1. Complex samples are pairs:
// sample k starts at element 2 k. When every lane's reads lie inside, as
// for nearly all points, they need no masks.
template <class Sample, bool is_complex, bool linear>
HWY_INLINE Value interpolate(D d, const Sample* s, V u, V last)
{
    const V zero = hn::Zero(d), one = hn::Set(d, 1.0);
    Value v{zero, zero};
    if constexpr (!linear) {
        const V k = hn::Round(u);
        if constexpr (is_complex) {
            const auto inside = hn::And(hn::Ge(k, zero), hn::Le(k, last));
            const V k2 = hn::Add(k, k);
            if (hn::AllTrue(d, inside)) {
                NeighbourPairs(d, s, k2, v.re, v.im);
            } else {
                v.re = SampleAt(d, s, k2, inside);
                v.im = SampleAt(d, s + 1, k2, inside);
            }
        } else if (std::is_same_v<Sample, double> &&
                   hn::AllTrue(d, hn::And(hn::Ge(k, zero), hn::Lt(k, last)))) {
            V next;  // read with it, as cheaply as alone
            NeighbourPairs(d, s, k, v.re, next);
        } else {
            v.re = SampleAt(d, s, k, hn::And(hn::Ge(k, zero), hn::Le(k, last)));
        }
        return v;
    } else {
        const V k = hn::Floor(u);
        V f = hn::Sub(u, k);
        V re0, re1, im0 = zero, im1 = zero;
        if (hn::AllTrue(d, hn::And(hn::Ge(k, zero), hn::Lt(k, last)))) {
            if constexpr (is_complex) {
                const V k2 = hn::Add(k, k);
                NeighbourPairs(d, s, k2, re0, im0);
                NeighbourPairs(d, s + 2, k2, re1, im1);
            } else {
                NeighbourPairs(d, s, k, re0, re1);
            }
        } else {
            const auto has0 = hn::And(hn::Ge(k, zero), hn::Le(k, last));
            const auto has1 = hn::And(hn::Ge(k, hn::Neg(one)), hn::Lt(k, last));
            const V k1 = hn::Add(k, one);
            if constexpr (is_complex) {
                const V k2 = hn::Add(k, k), k12 = hn::Add(k1, k1);
                re0 = SampleAt(d, s, k2, has0);
                im0 = SampleAt(d, s + 1, k2, has0);
                re1 = SampleAt(d, s, k12, has1);
                im1 = SampleAt(d, s + 1, k12, has1);
            } else {
                re0 = SampleAt(d, s, k, has0);
                re1 = SampleAt(d, s, k1, has1);
            }
            // No neighbour (u outside (-1, nt), NaN or infinite): 0, not f 0.
            f = hn::IfThenElseZero(hn::Or(has0, has1), f);
        }
        v.re = hn::Add(re0, hn::Mul(f, hn::Sub(re1, re0)));
        if constexpr (is_complex)
            v.im = hn::Add(im0, hn::Mul(f, hn::Sub(im1, im0)));
        return v;
    }
}

// One channel as a sweep sees it.
template <class Sample>
struct Channel {
    const Sample* s;
    const double* R;
    const double* w;                 // receive weights, when weighted
    const double* p_re;              // receive phasor, for I/Q
    const double* p_im;
};

// The samples that the next sweep reads, fetched into the cache a few lines
// per vector of this one: the hardware's prefetcher does not see through
// the scattered reads.
struct Ahead {
    const char* p;
    std::size_t lines;
    std::size_t per_vector;
};

Ahead ahead_of(const void* first, const void* end, std::size_t n_vectors)
{
    const char* p = static_cast<const char*>(first);
    const std::size_t bytes = p < end ? static_cast<std::size_t>(static_cast<const char*>(end) - p) : 0;
    const std::size_t lines = (bytes + 63) / 64;
    return {p, lines, (lines + n_vectors - 1) / std::max<std::size_t>(n_vectors, 1)};
}

// Adds the terms of K channels (in their order) into S over the group's
// vectors whose `active` flag is set.
template <class Sample, bool is_complex, bool iq, bool linear, bool weighted, std::size_t K>
HWY_INLINE void sweep(D d, const Channel<Sample> (&ch)[K], const double* A,
                      const unsigned char* active, std::size_t n_pad, V last, Ahead ahead,
                      double* S_re, double* S_im)
{
    const std::size_t L = hn::Lanes(d);
    for (std::size_t i = 0, v = 0; i < n_pad; i += L, ++v) {
        for (std::size_t line = v * ahead.per_vector,
                         end = std::min(line + ahead.per_vector, ahead.lines);
             line < end; ++line)
            hwy::Prefetch(ahead.p + 64 * line);
        if (!active[v])
            continue;
        const V a = hn::Load(d, A + i);
        V sr = hn::Load(d, S_re + i);
        V si = is_complex ? hn::Load(d, S_im + i) : hn::Zero(d);
        for (std::size_t c = 0; c < K; ++c) {
            V w;
            if constexpr (weighted) {
                w = hn::Load(d, ch[c].w + i);
                if (hn::AllTrue(d, hn::Eq(w, hn::Zero(d))))
                    continue;  // adding +0 would change nothing: S is never -0
            }
            const V u = hn::Add(a, hn::Load(d, ch[c].R + i));
            Value t = interpolate<Sample, is_complex, linear>(d, ch[c].s, u, last);
            if constexpr (iq) {
                const V pr = hn::Load(d, ch[c].p_re + i), pi = hn::Load(d, ch[c].p_im + i);
                t = {hn::Sub(hn::Mul(t.re, pr), hn::Mul(t.im, pi)),
                     hn::Add(hn::Mul(t.re, pi), hn::Mul(t.im, pr))};
            }
            if constexpr (weighted) {
                const auto takes_part = hn::Ne(w, hn::Zero(d));
                t.re = hn::IfThenElseZero(takes_part, hn::Mul(w, t.re));
                if constexpr (is_complex)
                    t.im = hn::IfThenElseZero(takes_part, hn::Mul(w, t.im));
            }
            sr = hn::Add(sr, t.re);
            if constexpr (is_complex)
                si = hn::Add(si, t.im);
        }
        hn::Store(sr, d, S_re + i);
        if constexpr (is_complex)
            hn::Store(si, d, S_im + i);
    }
}

// The group's receive terms: per used element and point, R_j, w_j and the
// receive phasor.
template <bool weighted, bool iq>
void receive_terms(D d, const Beamform_plan& plan, double* scratch, std::size_t n_pad)
{
    const Beamform_job& job = *plan.job;
    const double* px = plan.point_array(scratch, Beamform_plan::px);
    const double* py = plan.point_array(scratch, Beamform_plan::py);
    const double* pz = plan.point_array(scratch, Beamform_plan::pz);
    const V thousand = hn::Set(d, 1000.0), cp = hn::Set(d, job.cp), dt = hn::Set(d, job.dt);
    const V two_f = hn::Set(d, 2.0 * job.options.f_number), one = hn::Set(d, 1.0);
    const std::size_t L = hn::Lanes(d);
    const std::size_t rows = plan.used.size();
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t j = plan.used[row];
        const V ex = hn::Set(d, job.elements.x[j]), ey = hn::Set(d, job.elements.y[j]),
                ez = hn::Set(d, job.elements.z[j]);
        double* R = plan.element_array(scratch, 0, row);
        double* w = weighted ? plan.element_array(scratch, 1, row) : nullptr;
        double* p_re = iq ? plan.element_array(scratch, weighted ? 2 : 1, row) : nullptr;
        double* p_im = iq ? plan.element_array(scratch, weighted ? 3 : 2, row) : nullptr;
        for (std::size_t i = 0; i < n_pad; i += L) {
            const V z = hn::Load(d, pz + i);
            const V dx = hn::Sub(hn::Load(d, px + i), ex), dy = hn::Sub(hn::Load(d, py + i), ey),
                    dz = hn::Sub(z, ez);
            const V r2 = hn::Add(hn::Mul(dx, dx), hn::Mul(dy, dy));
            const V dist = hn::Sqrt(hn::Add(r2, hn::Mul(dz, dz)));
            const V travel = hn::Div(hn::Mul(dist, thousand), cp);
            hn::Store(hn::Div(travel, dt), d, R + i);
            if constexpr (weighted) {
                const V rho = hn::Div(hn::Mul(two_f, hn::Sqrt(r2)), z);
                const auto takes_part = hn::And(hn::Le(rho, one), hn::Gt(z, hn::Zero(d)));
                const V rho_in = hn::IfThenElseZero(takes_part, rho);
                hn::Store(hn::IfThenElseZero(takes_part, WindowAt(d, job.options.rx_window, rho_in)),
                          d, w + i);
            }
            if constexpr (iq) {
                V re, im;
                Phasor(d, job.options.fd, travel, re, im);
                hn::Store(re, d, p_re + i);
                hn::Store(im, d, p_im + i);
            }
        }
    }
}

// The weight along one axis of the face: w(|q - centre| / half width)
// inside [lo, hi], 0 outside (and for q NaN: no crossing).
HWY_INLINE V AxisWeight(D d, Window w, V q, double lo, double hi)
{
    const double centre = (lo + hi) * 0.5, half_width = (hi - lo) * 0.5;
    const auto inside = hn::And(hn::Ge(q, hn::Set(d, lo)), hn::Le(q, hn::Set(d, hi)));
    const V xi = hn::Min(hn::Div(hn::Abs(hn::Sub(q, hn::Set(d, centre))), hn::Set(d, half_width)),
                         hn::Set(d, 1.0));
    return hn::IfThenElseZero(inside, WindowAt(d, w, hn::IfThenElseZero(inside, xi)));
}

// The event's per-point terms: A, the transmit weight and phasor, and which
// vectors have a point that counts. Returns whether the weights are used.
bool event_terms(D d, const Beamform_plan& plan, const Wavefront& wave, double* scratch,
                 unsigned char* active, std::size_t n_pad)
{
    const Beamform_job& job = *plan.job;
    using P = Beamform_plan;
    const double* px = plan.point_array(scratch, P::px);
    const double* py = plan.point_array(scratch, P::py);
    const double* pz = plan.point_array(scratch, P::pz);
    double* arr = plan.point_array(scratch, P::arrival);
    double* A = plan.point_array(scratch, P::A);
    double* W = plan.point_array(scratch, P::tx_weight);
    double* qx = plan.point_array(scratch, P::qx);
    double* qy = plan.point_array(scratch, P::qy);
    const bool weighted = job.options.tx_apodization && wave.kind != Wave_kind::focused;
    for (std::size_t i = 0; i < n_pad; ++i) {
        arr[i] = arrival(wave, px[i], py[i], pz[i], job.cp);
        if (weighted && !face_crossing(wave, px[i], py[i], pz[i], qx[i], qy[i]))
            qx[i] = qy[i] = NAN;
    }
    const std::size_t L = hn::Lanes(d);
    const V t_first = hn::Set(d, job.t_first), dt = hn::Set(d, job.dt);
    for (std::size_t i = 0, v = 0; i < n_pad; i += L, ++v) {
        hn::Store(hn::Div(hn::Sub(hn::Load(d, arr + i), t_first), dt), d, A + i);
        active[v] = 1;
        if (weighted) {
            const V one = hn::Set(d, 1.0);
            const Window win = job.options.tx_window;
            const V wx = plan.test_x ? AxisWeight(d, win, hn::Load(d, qx + i), plan.x_min, plan.x_max)
                                     : one;
            const V wy = plan.test_y ? AxisWeight(d, win, hn::Load(d, qy + i), plan.y_min, plan.y_max)
                                     : one;
            // Neither axis tested (a single element): the crossing alone decides.
            const V crossed = hn::IfThenElseZero(hn::Not(hn::IsNaN(hn::Load(d, qx + i))), one);
            const V wt = hn::Mul(hn::Mul(wx, wy), crossed);
            hn::Store(wt, d, W + i);
            active[v] = !hn::AllTrue(d, hn::Eq(wt, hn::Zero(d)));
        }
        if (plan.iq) {
            V re, im;
            Phasor(d, job.options.fd, hn::Load(d, arr + i), re, im);
            hn::Store(re, d, plan.point_array(scratch, P::tx_re) + i);
            hn::Store(im, d, plan.point_array(scratch, P::tx_im) + i);
        }
    }
    return weighted;
}

// The values of n points, point[i] their indices, into an image.
template <bool is_complex>
void write(double* image, const std::size_t* point, std::size_t n, const double* re,
           const double* im)
{
    for (std::size_t i = 0; i < n; ++i) {
        if constexpr (is_complex) {
            image[2 * point[i]] = re[i];
            image[2 * point[i] + 1] = im[i];
        } else {
            image[point[i]] = re[i];
        }
    }
}

template <class Sample, bool is_complex, bool iq, bool linear, bool weighted>
void form(const Beamform_plan& plan, double* scratch, unsigned char* active, std::size_t first,
          std::size_t n)
{
    using P = Beamform_plan;
    const D d;
    const std::size_t L = hn::Lanes(d);
    const Beamform_job& job = *plan.job;
    const std::size_t n_pad = (n + L - 1) / L * L;

    // The group's points, in the plan's order; lanes past the last point
    // repeat it and are not stored.
    const std::size_t* point = plan.order.data() + first;
    double* px = plan.point_array(scratch, P::px);
    double* py = plan.point_array(scratch, P::py);
    double* pz = plan.point_array(scratch, P::pz);
    for (std::size_t i = 0; i < n_pad; ++i) {
        const std::size_t k = point[std::min(i, n - 1)];
        px[i] = job.points.x[k];
        py[i] = job.points.y[k];
        pz[i] = job.points.z[k];
    }
    receive_terms<weighted, iq>(d, plan, scratch, n_pad);

    double* S_re = plan.point_array(scratch, P::S_re);
    double* S_im = plan.point_array(scratch, P::S_im);
    double* O_re = plan.point_array(scratch, P::O_re);
    double* O_im = plan.point_array(scratch, P::O_im);
    const double* A = plan.point_array(scratch, P::A);
    const double* W = plan.point_array(scratch, P::tx_weight);
    const double* T_re = plan.point_array(scratch, P::tx_re);
    const double* T_im = plan.point_array(scratch, P::tx_im);
    std::fill_n(O_re, n_pad, 0.0);
    std::fill_n(O_im, n_pad, 0.0);
    const V last = hn::Set(d, static_cast<double>(job.nt) - 1.0);
    const std::size_t channel_stride = job.nt * (is_complex ? 2 : 1);
    const Sample* samples = static_cast<const Sample*>(job.samples);
    const bool coherent = job.options.compounding == Compounding::coherent;
    const std::size_t No = job.points.count;

    auto channel = [&](std::size_t e, std::size_t c) {
        const std::size_t row = plan.channel_row[e * job.n_rx + c];
        const std::size_t p_array = weighted ? 2 : 1;
        return Channel<Sample>{samples + (e * job.n_rx + c) * channel_stride,
                               plan.element_array(scratch, 0, row),
                               weighted ? plan.element_array(scratch, 1, row) : nullptr,
                               iq ? plan.element_array(scratch, p_array, row) : nullptr,
                               iq ? plan.element_array(scratch, p_array + 1, row) : nullptr};
    };

    // The two channels that follow channel c of event e in memory (those of
    // the next sweep, or of the next event's first).
    const Sample* samples_end = samples + job.n_events * job.n_rx * channel_stride;
    auto ahead = [&](std::size_t e, std::size_t c, std::size_t n_vectors) {
        const Sample* next = samples + (e * job.n_rx + c) * channel_stride;
        return ahead_of(next, std::min(next + 2 * channel_stride, samples_end), n_vectors);
    };

    for (std::size_t e = 0; e < job.n_events; ++e) {
        const bool tx_weighted = event_terms(d, plan, job.waves[e], scratch, active, n_pad);
        std::fill_n(S_re, n_pad, 0.0);
        std::fill_n(S_im, n_pad, 0.0);
        // Without samples every term is 0 (and the masked reads' stand-in
        // sample 0 does not exist).
        const std::size_t n_channels = job.nt > 0 ? job.n_rx : 0;
        std::size_t c = 0;
        for (; c + 2 <= n_channels; c += 2) {
            const Channel<Sample> pair[2] = {channel(e, c), channel(e, c + 1)};
            sweep<Sample, is_complex, iq, linear, weighted>(
                d, pair, A, active, n_pad, last, ahead(e, c + 2, n_pad / L), S_re, S_im);
        }
        if (c < n_channels) {
            const Channel<Sample> one[1] = {channel(e, c)};
            sweep<Sample, is_complex, iq, linear, weighted>(
                d, one, A, active, n_pad, last, ahead(e, c + 1, n_pad / L), S_re, S_im);
        }

        // T_e = W_e S_e (for I/Q, W_e (phasor S_e)), into O or the output.
        for (std::size_t i = 0; i < n_pad; i += L) {
            V tr = hn::Load(d, S_re + i), ti = hn::Load(d, S_im + i);
            if constexpr (iq) {
                const V pr = hn::Load(d, T_re + i), pi = hn::Load(d, T_im + i);
                const V r = hn::Sub(hn::Mul(pr, tr), hn::Mul(pi, ti));
                ti = hn::Add(hn::Mul(pr, ti), hn::Mul(pi, tr));
                tr = r;
            }
            if (tx_weighted) {
                const V w = hn::Load(d, W + i);
                const auto counts = hn::Ne(w, hn::Zero(d));
                tr = hn::IfThenElseZero(counts, hn::Mul(w, tr));
                ti = hn::IfThenElseZero(counts, hn::Mul(w, ti));
            }
            if (coherent) {
                hn::Store(hn::Add(hn::Load(d, O_re + i), tr), d, O_re + i);
                hn::Store(hn::Add(hn::Load(d, O_im + i), ti), d, O_im + i);
            } else {
                hn::Store(tr, d, S_re + i);
                hn::Store(ti, d, S_im + i);
            }
        }
        if (!coherent)
            write<is_complex>(job.out + e * No * (is_complex ? 2 : 1), point, n, S_re, S_im);
    }
    if (coherent)
        write<is_complex>(job.out, point, n, O_re, O_im);
}

template <class Sample, bool is_complex, bool iq>
void form_by_options(const Beamform_plan& plan, double* scratch, unsigned char* active,
                     std::size_t first, std::size_t n)
{
    const bool linear = plan.job->options.interpolation == Interpolation::linear;
    if (linear && plan.rx_weighted)
        form<Sample, is_complex, iq, true, true>(plan, scratch, active, first, n);
    else if (linear)
        form<Sample, is_complex, iq, true, false>(plan, scratch, active, first, n);
    else if (plan.rx_weighted)
        form<Sample, is_complex, iq, false, true>(plan, scratch, active, first, n);
    else
        form<Sample, is_complex, iq, false, false>(plan, scratch, active, first, n);
}

void form_group(const Beamform_plan& plan, double* scratch, unsigned char* active,
                std::size_t first, std::size_t n)
{
    switch (plan.job->sample_type) {
    case Sample_type::real_double:
        return form_by_options<double, false, false>(plan, scratch, active, first, n);
    case Sample_type::real_float:
        return form_by_options<float, false, false>(plan, scratch, active, first, n);
    case Sample_type::complex_double:
        return plan.iq ? form_by_options<double, true, true>(plan, scratch, active, first, n)
                       : form_by_options<double, true, false>(plan, scratch, active, first, n);
    case Sample_type::complex_float:
        return plan.iq ? form_by_options<float, true, true>(plan, scratch, active, first, n)
                       : form_by_options<float, true, false>(plan, scratch, active, first, n);
    }
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velk {
HWY_EXPORT(form_group);

void beamform_group(const Beamform_plan& plan, double* scratch, unsigned char* active,
                    std::size_t first, std::size_t n)
{
    HWY_DYNAMIC_DISPATCH(form_group)(plan, scratch, active, first, n);
}
}  // namespace velk
#endif  // HWY_ONCE
