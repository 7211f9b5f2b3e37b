#include "pulse_echo_run.h"

#include "progress.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace velk {
namespace {

// The sums of one block of channels stay below this many doubles (64 MB),
// however long the record.
constexpr std::size_t echo_budget = std::size_t{8} << 20;

// Scatterers per chunk: enough that a chunk's transmit columns and sums
// outweigh adding its sums to the block's, few enough that one event's
// chunks keep every thread busy. Doubled for very large jobs, so that the
// items stay countable; it depends on the job alone, never on the threads.
std::size_t chunk_size(std::size_t n_scatterers, std::size_t n_groups)
{
    std::size_t chunk = 256;
    while (n_groups * ((n_scatterers + chunk - 1) / chunk) > (std::size_t{1} << 24))
        chunk *= 2;
    return chunk;
}

// A block of channels of a group of events: its chunks' sums are added into `total`
// in chunk order, each chunk waiting for its turn, and the last one applies
// the pulse.
struct Block_sums {
    std::mutex turn;
    std::condition_variable next;
    std::size_t added = 0;  // chunks added so far
    std::vector<double> total;
};

}  // namespace

void pulse_echo_run(Host& host, const Pulse_echo_job& job, double* out, int n_threads,
                    bool shown, const Thread_starter& threads)
{
    if (job.n_events == 0 || job.n_rx == 0 || job.nt == 0)
        return;
    std::vector<Echo_axes> axes(job.n_events);
    int n_axis = 1;
    for (int e = 0; e < job.n_events; ++e) {
        echo_axes(job, e, axes[e]);
        n_axis = std::max(n_axis, axes[e].n_axis);
    }
    const std::size_t per_channel = 2 * std::size_t(n_axis);
    const int per_block = static_cast<int>(
        std::min<std::size_t>(job.n_rx, std::max<std::size_t>(1, echo_budget / per_channel)));
    const int blocks = (job.n_rx + per_block - 1) / per_block;
    // The events whose blocks are summed together, so that each receive
    // element's response at a scatterer is formed once for all of them.
    const int per_group = static_cast<int>(std::min<std::size_t>(
        job.n_events, std::max<std::size_t>(1, echo_budget / (per_channel * per_block))));
    const int event_groups = (job.n_events + per_group - 1) / per_group;
    const std::size_t n_groups = std::size_t(blocks) * event_groups;
    const std::size_t Ns = job.scatterers.count;
    const std::size_t chunk = chunk_size(Ns, n_groups);
    const std::size_t chunks = std::max<std::size_t>(1, (Ns + chunk - 1) / chunk);
    const int n_items = static_cast<int>(n_groups * chunks);  // at most 2^24
    n_threads = std::max(1, std::min(n_threads, n_items));

    std::vector<std::unique_ptr<Echo_scratch>> scratch;
    std::unique_ptr<Block_sums[]> sums;
    try {
        for (int i = 0; i < n_threads; ++i)
            scratch.push_back(std::make_unique<Echo_scratch>(n_axis, per_block, per_group,
                                                           job.receivers.Ne));
        sums = std::make_unique<Block_sums[]>(n_groups);
    } catch (const std::bad_alloc&) {
        fail_resources("Failed to allocate memory for the scratch of the threads!");
    }

    Progress progress(host, "pulse_echo", shown);
    const double total = double(Ns) * double(n_groups);
    std::atomic<std::size_t> done{0};
    std::atomic<bool> out_of_memory{false};
    run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        const auto stopping = [&] { return run.stop().requested() || out_of_memory.load(); };
        const auto item = [&](int k, int worker) {
            const std::size_t g = std::size_t(k) / chunks, c = std::size_t(k) % chunks;
            const int e = static_cast<int>(g / blocks) * per_group;
            const int first = static_cast<int>(g % blocks) * per_block;
            const int n = std::min(per_block, job.n_rx - first);
            const int n_events = std::min(per_group, job.n_events - e);
            const auto after_block = [&](std::size_t count) {
                done.fetch_add(count, std::memory_order_relaxed);
                return !stopping();
            };
            Echo_scratch& mine = *scratch[worker];
            try {
                if (!echo_sums(job, axes.data(), e, n_events, first, n, c * chunk,
                               std::min(Ns, (c + 1) * chunk), mine, after_block))
                    return;
            } catch (const std::bad_alloc&) {
                out_of_memory.store(true);
                return;
            }
            // The chunks of a block are taken in order, so the one before
            // this is being formed or added: wait for it.
            Block_sums& b = sums[g];
            std::unique_lock lock(b.turn);
            while (b.added != c)
                if (b.next.wait_for(lock, std::chrono::milliseconds(5)) == std::cv_status::timeout &&
                    stopping())
                    return;
            const std::size_t size = per_channel * per_block * n_events;
            if (c == 0) {
                try {
                    b.total.assign(mine.echo(0, 0), mine.echo(0, 0) + size);
                } catch (const std::bad_alloc&) {
                    out_of_memory.store(true);
                    return;
                }
            } else {
                for (std::size_t i = 0; i < size; ++i)
                    b.total[i] += mine.echo(0, 0)[i];
            }
            if (c + 1 == chunks) {
                for (int v = 0; v < n_events; ++v)
                    apply_pulse(job, axes[e + v], n, b.total.data() + per_channel * per_block * v,
                                per_channel, out + (std::size_t(e + v) * job.n_rx + first) * job.nt);
                std::vector<double>().swap(b.total);
            }
            ++b.added;
            b.next.notify_all();
        };
        const auto report = [&] { progress.update(total > 0 ? done.load() / total : 1.0); };
        run.while_waiting(report);
        run.on_threads(n_items, n_threads, item,
                       "pulse_echo: thread for scatterer chunks %d -> %d bailing out!\n", threads,
                       Item_order::one_queue);
    });
    if (out_of_memory.load())
        fail_resources("Failed to allocate memory for the scratch of the threads!");
    progress.finish();
}

}  // namespace velk
