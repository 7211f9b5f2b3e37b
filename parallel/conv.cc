#include "conv.h"

#include <algorithm>

// ThreadSanitizer's runtime is not yet up when the loader picks a clone, so
// its builds keep the one default version.
#if defined(__SANITIZE_THREAD__)
#define VELK_AVX2_CLONE
#else
#define VELK_AVX2_CLONE __attribute__((target_clones("avx2", "default")))
#endif

namespace velk {
namespace {

// Output sample m on top of `start`: the products x[i] h[m - i] in
// increasing i, each added (or subtracted) and rounded before the next.
template <bool subtract>
double sample(const double* x, int M, const double* h, int K, int m, double start)
{
    double y = start;
    for (int i = std::max(0, m - K + 1); i <= std::min(m, M - 1); ++i)
        y = subtract ? y - x[i] * h[m - i] : y + x[i] * h[m - i];
    return y;
}

// The samples a filter covers whole, m = K-1 .. M-1, `block` at a time: the
// same sums in the same order as sample(), the partial sums of `block`
// neighbouring samples kept in registers instead of in y. Built also for
// AVX2 and chosen at load time where the processor has it: wider registers,
// the same operations (no fused multiply-add), so the same bits.
template <bool subtract>
VELK_AVX2_CLONE void conv_columns(const double* x, int M, const double* h, int K, double* y, bool keep)
{
    constexpr int block = 8;
    const int n_out = M + K - 1;
    int m = 0;
    for (; m < std::min(K - 1, n_out); ++m)
        y[m] = sample<subtract>(x, M, h, K, m, keep ? y[m] : 0.0);
    // Blocks end at the last sample a filter covers whole, which with an
    // empty filter (n_out = M - 1) is before the end of x.
    const int m_block_end = std::min(M, n_out);
    for (; m + block <= m_block_end; m += block) {
        double acc[block];
        for (int l = 0; l < block; ++l)
            acc[l] = keep ? y[m + l] : 0.0;
        for (int k = K - 1; k >= 0; --k) {  // i = m - k increases
            const double hk = h[k];
            const double* xk = x + (m - k);
            for (int l = 0; l < block; ++l)
                acc[l] = subtract ? acc[l] - xk[l] * hk : acc[l] + xk[l] * hk;
        }
        for (int l = 0; l < block; ++l)
            y[m + l] = acc[l];
    }
    for (; m < n_out; ++m)
        y[m] = sample<subtract>(x, M, h, K, m, keep ? y[m] : 0.0);
}

}  // namespace

void conv(const double* x, int M, const double* h, int K, double* y, bool in_place, int mode)
{
    const bool keep = in_place && mode != fold_assign;
    if (in_place && mode == fold_subtract)
        conv_columns<true>(x, M, h, K, y, keep);
    else
        conv_columns<false>(x, M, h, K, y, keep);
}

}  // namespace velk
