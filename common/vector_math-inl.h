// Vector forms of the kernels' shared pieces, for every instruction set that
// Highway compiles a kernel for. A kernel source includes this after
// hwy/foreach_target.h; the guard below lets it be included once per
// instruction set.
//
// Each function is the lane-by-lane form of its scalar counterpart: the same
// IEEE operations in the same order, so that a lane holds the bits the
// scalar code gives, except for the arc cosine, which is Highway's (within
// 2 ulp of the correctly rounded value).
#if defined(VELK_VECTOR_MATH_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef VELK_VECTOR_MATH_INL_H_
#undef VELK_VECTOR_MATH_INL_H_
#else
#define VELK_VECTOR_MATH_INL_H_
#endif

#include "units.h"

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstddef>

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The arc cosine on [-1, 1] and its end values beyond: 0 for u >= 1, pi for
// u <= -1, where rounding puts an argument just outside next to an arrival.
// NaN stays NaN.
template <class D, class V = hn::Vec<D>>
HWY_INLINE V AcosClamped(D d, V u)
{
    const V inside = hn::Acos(d, u);
    const V above = hn::IfThenElse(hn::Ge(u, hn::Set(d, 1.0)), hn::Zero(d), inside);
    return hn::IfThenElse(hn::Le(u, hn::Set(d, -1.0)), hn::Set(d, pi), above);
}

// The times of samples k, k + 1, ... in seconds, each as sample_time()
// forms it: (k dt + delay) / 1e6.
template <class D, class V = hn::Vec<D>>
HWY_INLINE V SampleTimes(D d, std::ptrdiff_t k, double dt, double delay)
{
    const V kv = hn::Iota(d, static_cast<double>(k));
    return hn::Div(hn::Add(hn::Mul(kv, hn::Set(d, dt)), hn::Set(d, delay)), hn::Set(d, us_per_s));
}

// The n values at p in the first n lanes (n < Lanes(d)), 0 in the others;
// reads nothing past p[n - 1].
template <class D>
HWY_INLINE hn::Vec<D> LoadFirst(D d, const double* p, std::size_t n)
{
    HWY_ALIGN_MAX double lanes[HWY_MAX_BYTES / sizeof(double)] = {};
    std::copy_n(p, n, lanes);
    return hn::Load(d, lanes);
}

// Stores the first n lanes of v at p and writes nothing past them, on every
// instruction set (a masked store may read or write whole vectors).
template <class D, class V = hn::Vec<D>>
HWY_INLINE void StoreFirst(D d, V v, std::size_t n, double* p)
{
    HWY_ALIGN_MAX double lanes[HWY_MAX_BYTES / sizeof(double)];
    hn::Store(v, d, lanes);
    std::copy_n(lanes, n, p);
}

}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // VELK_VECTOR_MATH_INL_H_
