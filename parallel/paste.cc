#include "paste.h"

#include "shared_storage.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

namespace velk {

void paste_mt_run(Host& host, const Paste_job& passed, int n_threads,
                  const Thread_starter& threads)
{
    Paste_job job = passed;
    if (job.N4 == 0)
        return;  // nothing to copy: no thread, no handlers
    std::vector<double> S_copy;
    try {
        job.S = unshared(job.S, std::size_t(job.M4) * job.N4, job.Y, std::size_t(job.M1) * job.N1,
                         S_copy);
    } catch (const std::bad_alloc&) {
        fail_resources("Failed to allocate memory for a copy of argument 4!");
    }

    using Index = std::ptrdiff_t;
    const auto copy_column = [&job](int k) {
        // A block of no rows copies nothing, and its source may hold no data
        // at all: no address to copy from, not even for zero bytes.
        if (job.nrows == 0)
            return;
        std::memcpy(job.Y + job.row0 + (Index{job.col0} + k) * job.M1, job.S + Index{k} * job.M4,
                    sizeof(double) * static_cast<std::size_t>(job.nrows));
    };
    run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        run.on_threads(job.N4, n_threads, copy_column,
                       "paste_mt: thread for column %d -> %d bailing out!\n", threads);
    });
}

}  // namespace velk
