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
template <class D, typename T = hn::TFromD<D>>
HWY_INLINE hn::Vec<D> LoadFirst(D d, const T* p, std::size_t n)
{
    HWY_ALIGN_MAX T lanes[HWY_MAX_BYTES / sizeof(T)] = {};
    std::copy_n(p, n, lanes);
    return hn::Load(d, lanes);
}

// Stores the first n lanes of v at p and writes nothing past them, on every
// instruction set (a masked store may read or write whole vectors).
template <class D, class V = hn::Vec<D>, typename T = hn::TFromD<D>>
HWY_INLINE void StoreFirst(D d, V v, std::size_t n, T* p)
{
    HWY_ALIGN_MAX T lanes[HWY_MAX_BYTES / sizeof(T)];
    hn::Store(v, d, lanes);
    std::copy_n(lanes, n, p);
}

// One vector of a band of values that ForEachVector() walks: lanes i ..
// i + Lanes - 1, all within the band. Load and Store read and write those
// elements of an array of the band's values, for any lane type of the same
// number of lanes.
template <class D>
struct Whole_vector {
    std::size_t i;  // index of lane 0 in the band

    template <typename T>
    HWY_INLINE hn::Vec<hn::Rebind<T, D>> Load(const T* p) const
    {
        return hn::LoadU(hn::Rebind<T, D>(), p + i);
    }
    template <class V, typename T>
    HWY_INLINE void Store(V v, T* p) const
    {
        hn::StoreU(v, hn::Rebind<T, D>(), p + i);
    }
};

// The last vector of a band, of which only the first n lanes (n < Lanes)
// lie within it: Load gives 0 in the others and reads nothing past the
// band, Store writes nothing past it.
template <class D>
struct Part_vector {
    std::size_t i;  // index of lane 0 in the band
    std::size_t n;  // lanes within the band

    template <typename T>
    HWY_INLINE hn::Vec<hn::Rebind<T, D>> Load(const T* p) const
    {
        return LoadFirst(hn::Rebind<T, D>(), p + i, n);
    }
    template <class V, typename T>
    HWY_INLINE void Store(V v, T* p) const
    {
        StoreFirst(hn::Rebind<T, D>(), v, n, p + i);
    }
};

// The n values of a band a vector at a time: body(Whole_vector) for lanes 0
// .. L - 1, L .. 2L - 1, ... as long as whole vectors fit, then
// body(Part_vector) once for the rest, if any. The body is a generic lambda,
// compiled once for whole vectors and once for the part.
template <class D, class Body>
HWY_INLINE void ForEachVector(D d, std::size_t n, Body&& body)
{
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        body(Whole_vector<D>{i});
    if (i < n)
        body(Part_vector<D>{i, n - i});
}

}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif  // VELK_VECTOR_MATH_INL_H_
