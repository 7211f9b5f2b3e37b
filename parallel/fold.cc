#include "fold.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace velk {
namespace {

using Index = std::ptrdiff_t;

void fold_column(const Fold_job& job, int j)
{
    const double* h = job.L == 1 ? job.B : job.B + Index{j} * job.K;
    conv(job.A + Index{j} * job.M, job.M, h, job.K, job.Y + Index{j} * (job.M + job.K - 1),
         job.in_place, job.mode);
}

struct thread_data {
    Item_range range;
    Bail_out_line bail_out;
    const Fold_job* job;
};

void smp_process(thread_data* d)
{
    if (!process_range(d->range, [d](int j) { fold_column(*d->job, j); }))
        d->bail_out.print("fold_mt: thread for column %d -> %d bailing out!\n", d->range.first + 1,
                          d->range.end);
}

bool overlaps(const double* a, Index n_a, const double* b, Index n_b)
{
    return n_a > 0 && n_b > 0 && std::less<const double*>()(a, b + n_b) &&
           std::less<const double*>()(b, a + n_a);
}

}  // namespace

Guarded_result fold_mt_run(const Fold_job& passed, int n_threads, Console& console)
{
    Fold_job job = passed;
    const Index n_out = Index{std::max(job.M + job.K - 1, 0)} * job.N;
    std::vector<double> A_copy, B_copy;
    try {
        if (overlaps(job.A, Index{job.M} * job.N, job.Y, n_out)) {
            A_copy.assign(job.A, job.A + Index{job.M} * job.N);
            job.A = A_copy.data();
        }
        if (overlaps(job.B, Index{job.K} * job.L, job.Y, n_out)) {
            B_copy.assign(job.B, job.B + Index{job.K} * job.L);
            job.B = B_copy.data();
        }
    } catch (const std::bad_alloc&) {
        return {"Failed to allocate memory for a copy of an input that shares storage with the "
                "result!",
                false};
    }

    return run_guarded(console, generic_handler_messages, [&]() -> const char* {
        if (n_threads <= 1) {
            if (!process_range({0, job.N}, [&](int j) { fold_column(job, j); }))
                console.print("fold_mt: bailing out!\n");
            return nullptr;
        }
        return run_on_threads<thread_data>(
            job.N, n_threads, [&](thread_data& d) { d.job = &job; }, smp_process, console);
    });
}

}  // namespace velk
