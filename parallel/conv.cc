// The samples are formed a block of vectors at a time, in every instruction
// set that Highway builds this file for (the lines up to HWY_ONCE are
// compiled once per set), and the set the processor has is chosen at the
// first call. Vectors hold neighbouring output samples; each lane adds its
// own products in its own order, so every set gives the same bits.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "conv.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#include <algorithm>
#include <cstddef>

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {
using Index = std::ptrdiff_t;

// Output samples per block, in vectors: enough independent sums in flight to
// keep the adder busy while each waits for its previous addition.
constexpr Index block_vectors = 8;

template <bool subtract, class V>
HWY_INLINE V add_product(V sum, V x, V hk)
{
    const V product = hn::Mul(x, hk);
    return subtract ? hn::Sub(sum, product) : hn::Add(sum, product);
}

// Lanes first .. first + Lanes - 1 of the n values at p, lanes outside
// [0, n) read as 0 (the caller leaves them out of every sum); nothing
// outside p[0 .. n-1] is touched.
template <class D>
HWY_INLINE hn::Vec<D> load_within(D d, const double* p, Index n, Index first)
{
    const Index lanes = static_cast<Index>(hn::Lanes(d));
    if (first >= 0 && first + lanes <= n)
        return hn::LoadU(d, p + first);
    HWY_ALIGN_MAX double values[HWY_MAX_BYTES / sizeof(double)] = {};
    for (Index l = std::max<Index>(0, -first); l < lanes && first + l < n; ++l)
        values[l] = p[first + l];
    return hn::Load(d, values);
}

// Samples m .. m + 8 Lanes - 1 where the filter covers every one whole
// (K - 1 <= m and m + 8 Lanes <= M): for k = K - 1 down to 0, that is for i =
// m - k increasing, each sample adds x[i] h[k], in registers.
template <bool subtract, class D>
HWY_INLINE void covered_block(D d, const double* x, const double* h, int K, double* y, Index m,
                              bool keep)
{
    using V = hn::Vec<D>;
    const Index L = static_cast<Index>(hn::Lanes(d));
    auto start = [&](Index u) { return keep ? hn::LoadU(d, y + m + u * L) : hn::Zero(d); };
    V s0 = start(0), s1 = start(1), s2 = start(2), s3 = start(3);
    V s4 = start(4), s5 = start(5), s6 = start(6), s7 = start(7);
    for (int k = K - 1; k >= 0; --k) {
        const V hk = hn::Set(d, h[k]);
        const double* xk = x + (m - k);
        s0 = add_product<subtract>(s0, hn::LoadU(d, xk), hk);
        s1 = add_product<subtract>(s1, hn::LoadU(d, xk + L), hk);
        s2 = add_product<subtract>(s2, hn::LoadU(d, xk + 2 * L), hk);
        s3 = add_product<subtract>(s3, hn::LoadU(d, xk + 3 * L), hk);
        s4 = add_product<subtract>(s4, hn::LoadU(d, xk + 4 * L), hk);
        s5 = add_product<subtract>(s5, hn::LoadU(d, xk + 5 * L), hk);
        s6 = add_product<subtract>(s6, hn::LoadU(d, xk + 6 * L), hk);
        s7 = add_product<subtract>(s7, hn::LoadU(d, xk + 7 * L), hk);
    }
    hn::StoreU(s0, d, y + m);
    hn::StoreU(s1, d, y + m + L);
    hn::StoreU(s2, d, y + m + 2 * L);
    hn::StoreU(s3, d, y + m + 3 * L);
    hn::StoreU(s4, d, y + m + 4 * L);
    hn::StoreU(s5, d, y + m + 5 * L);
    hn::StoreU(s6, d, y + m + 6 * L);
    hn::StoreU(s7, d, y + m + 7 * L);
}

// The vector `at` of the samples m0 .. at the ends of the column, where the
// filter reaches past x: each lane adds only the products whose i lies in
// [0, M), in the same order, and only the lanes within the band are read
// and stored.
template <bool subtract, class D, class At>
HWY_INLINE void edge_vector(D d, const double* x, Index M, const double* h, int K, double* y,
                            Index m0, At at, bool keep)
{
    using V = hn::Vec<D>;
    const Index L = static_cast<Index>(hn::Lanes(d));
    const Index m = m0 + static_cast<Index>(at.i);
    V sum = keep ? at.Load(y + m0) : hn::Zero(d);
    for (int k = K - 1; k >= 0; --k) {
        const Index i = m - k;  // i of lane 0
        if (i + L <= 0 || i >= M)
            continue;
        const auto in_x =
            hn::AndNot(hn::FirstN(d, static_cast<std::size_t>(std::clamp<Index>(-i, 0, L))),
                       hn::FirstN(d, static_cast<std::size_t>(std::clamp<Index>(M - i, 0, L))));
        const V next = add_product<subtract>(sum, load_within(d, x, M, i), hn::Set(d, h[k]));
        sum = hn::IfThenElse(in_x, next, sum);
    }
    at.Store(sum, y + m0);
}

// Samples m0 .. m_end - 1 a vector at a time through edge_vector().
template <bool subtract, class D>
HWY_INLINE void edge_band(D d, const double* x, Index M, const double* h, int K, double* y,
                          Index m0, Index m_end, bool keep)
{
    if (m_end > m0)
        ForEachVector(d, static_cast<std::size_t>(m_end - m0),
                      [&](auto at) { edge_vector<subtract>(d, x, M, h, K, y, m0, at, keep); });
}

// y[0 .. M + K - 2] from x[0 .. M-1] and h[0 .. K-1], starting from y's
// values when keep, else from 0.
template <bool subtract>
void conv_column(const double* x, int M, const double* h, int K, double* y, bool keep)
{
    const hn::ScalableTag<double> d;
    const Index L = static_cast<Index>(hn::Lanes(d));
    const Index n_out = Index{M} + K - 1;
    const Index block = block_vectors * L;
    // The head, where the filter reaches before x, in whole vectors up to
    // the first that starts at K - 1 or later.
    const Index head_end = std::min(n_out, (std::max<Index>(K - 1, 0) + L - 1) / L * L);
    edge_band<subtract>(d, x, M, h, K, y, 0, head_end, keep);
    Index m = std::max<Index>(head_end, 0);
    // Covered blocks end where the filter stops covering samples whole, which
    // with an empty filter (n_out = M - 1) is before the end of x.
    for (const Index covered_end = std::min<Index>(M, n_out); m + block <= covered_end; m += block)
        covered_block<subtract>(d, x, h, K, y, m, keep);
    edge_band<subtract>(d, x, M, h, K, y, m, n_out, keep);
}

void conv_add(const double* x, int M, const double* h, int K, double* y, bool keep)
{
    conv_column<false>(x, M, h, K, y, keep);
}

void conv_subtract(const double* x, int M, const double* h, int K, double* y, bool keep)
{
    conv_column<true>(x, M, h, K, y, keep);
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "conv.h"

namespace velk {

HWY_EXPORT(conv_add);
HWY_EXPORT(conv_subtract);

void conv(const double* x, int M, const double* h, int K, double* y, bool in_place, int mode)
{
    const bool keep = in_place && mode != fold_assign;
    if (in_place && mode == fold_subtract)
        HWY_DYNAMIC_DISPATCH(conv_subtract)(x, M, h, K, y, keep);
    else
        HWY_DYNAMIC_DISPATCH(conv_add)(x, M, h, K, y, keep);
}

}  // namespace velk
#endif  // HWY_ONCE
