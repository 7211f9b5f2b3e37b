#include "fold.h"

#include "shared_storage.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

namespace velk {
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

void fold_mt_run(Host& host, const Fold_job& passed, int n_threads,
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
        fail_resources(
            "Failed to allocate memory for a copy of an input that shares storage with the "
            "result!");
    }

    const auto column = [&job](int j) { fold_column(job, j); };
    run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        if (n_threads <= 1)
            run.on_calling_thread(job.N, column, "fold_mt: bailing out!\n");
        else
            run.on_threads(job.N, n_threads, column,
                           "fold_mt: thread for column %d -> %d bailing out!\n", threads);
    });
}

}  // namespace velk
