#include "paste.h"

#include <cstddef>
#include <cstring>
#include <functional>
#include <vector>

namespace velk {
namespace {

using Index = std::ptrdiff_t;

struct thread_data {
    Item_range range;
    Bail_out_line bail_out;
    const Paste_job* job;
};

void copy_column(const Paste_job& job, int k)
{
    // A block of no rows copies nothing, and its source may hold no data at
    // all: no address to copy from, not even zero bytes.
    if (job.nrows == 0)
        return;
    std::memcpy(job.Y + job.row0 + (Index{job.col0} + k) * job.M1, job.S + Index{k} * job.M4,
                sizeof(double) * static_cast<std::size_t>(job.nrows));
}

void smp_process(thread_data* d)
{
    if (!process_range(d->range, [d](int k) { copy_column(*d->job, k); }))
        d->bail_out.print("paste_mt: thread for column %d -> %d bailing out!\n", d->range.first + 1,
                          d->range.end);
}

}  // namespace

Guarded_result paste_mt_run(const Paste_job& passed, int n_threads, Console& console)
{
    Paste_job job = passed;
    if (job.N4 == 0)
        return {};  // nothing to copy: no thread, no handlers
    const Index n_S = Index{job.M4} * job.N4;
    const Index n_Y = Index{job.M1} * job.N1;
    std::vector<double> S_copy;
    if (n_S > 0 && n_Y > 0 && std::less<const double*>()(job.S, job.Y + n_Y) &&
        std::less<const double*>()(job.Y, job.S + n_S)) {
        try {
            S_copy.assign(job.S, job.S + n_S);
        } catch (const std::bad_alloc&) {
            return {"Failed to allocate memory for a copy of argument 4!", false};
        }
        job.S = S_copy.data();
    }

    return run_guarded(console, generic_handler_messages, [&] {
        return run_on_threads<thread_data>(
            job.N4, n_threads, [&](thread_data& d) { d.job = &job; }, smp_process, console);
    });
}

}  // namespace velk
