#include "fold.h"

#include "shared_storage.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

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

namespace {

using Index = std::ptrdiff_t;

// The rows of a result column, M + K - 1, formed so that it cannot overflow
// when it is INT_MAX itself; none when there are neither samples nor taps.
int result_rows(const Fold_job& job) { return std::max(job.M + (job.K - 1), 0); }

void fold_column(const Fold_job& job, int j)
{
    const double* h = job.L == 1 ? job.B : job.B + Index{j} * job.K;
    conv(job.A + Index{j} * job.M, job.M, h, job.K, job.Y + Index{j} * result_rows(job),
         job.in_place, job.mode);
}

}  // namespace

Guarded_result fold_mt_run(Host& host, const Fold_job& passed, int n_threads,
                           const Thread_starter& threads)
{
    Fold_job job = passed;
    const auto size = [](int rows, int cols) { return std::size_t(rows) * std::size_t(cols); };
    const std::size_t n_out = size(result_rows(job), job.N);
    std::vector<double> A_copy, B_copy;
    try {
        job.A = unshared(job.A, size(job.M, job.N), job.Y, n_out, A_copy);
        job.B = unshared(job.B, size(job.K, job.L), job.Y, n_out, B_copy);
    } catch (const std::bad_alloc&) {
        return {"Failed to allocate memory for a copy of an input that shares storage with the "
                "result!",
                false};
    }

    const auto column = [&job](int j) { fold_column(job, j); };
    return run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        if (n_threads <= 1)
            run.on_calling_thread(job.N, column, "fold_mt: bailing out!\n");
        else
            run.on_threads(job.N, n_threads, column,
                           "fold_mt: thread for column %d -> %d bailing out!\n", threads);
    });
}

}  // namespace velk
