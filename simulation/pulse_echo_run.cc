#include "pulse_echo_run.h"

#include "progress.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <vector>

namespace velk {
namespace {

// The sums of one block of channels stay below this many doubles (64 MB),
// however long the record.
constexpr std::size_t echo_budget = std::size_t{8} << 20;

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
    // Channels of an event in blocks: enough blocks that every thread has
    // one when the events are fewer than the threads; each block's transmit
    // columns are formed once, for all of its channels.
    n_threads = std::max(n_threads, 1);
    const int blocks_for_threads = (n_threads + job.n_events - 1) / job.n_events;
    const int by_memory = static_cast<int>(
        std::max<std::size_t>(1, echo_budget / (2 * std::size_t(n_axis))));
    const int per_block =
        std::min({(job.n_rx + blocks_for_threads - 1) / blocks_for_threads, by_memory, job.n_rx});
    const int blocks = (job.n_rx + per_block - 1) / per_block;
    const int n_items = blocks * job.n_events;  // at most n_rx n_events, which the result counts
    n_threads = std::min(n_threads, n_items);

    std::vector<std::unique_ptr<Echo_scratch>> scratch;
    try {
        for (int i = 0; i < n_threads; ++i)
            scratch.push_back(std::make_unique<Echo_scratch>(n_axis, per_block));
    } catch (const std::bad_alloc&) {
        fail_resources("Failed to allocate memory for the scratch of the threads!");
    }

    Progress progress(host, "pulse_echo", shown);
    const double total = double(job.scatterers.count) * n_items;
    std::atomic<std::size_t> done{0};
    run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        const auto channels = [&](int k, int worker) {
            const int e = k / blocks, first = (k % blocks) * per_block;
            const auto after_block = [&](std::size_t n) {
                done.fetch_add(n, std::memory_order_relaxed);
                return !run.stop().requested();
            };
            event_channels(job, axes[e], e, first, std::min(per_block, job.n_rx - first),
                           *scratch[worker], out + std::size_t(e) * job.n_rx * job.nt,
                           after_block);
        };
        const auto report = [&] { progress.update(total > 0 ? done.load() / total : 1.0); };
        run.while_waiting(report);
        run.on_threads(n_items, n_threads, channels,
                       "pulse_echo: thread for channel blocks %d -> %d bailing out!\n", threads,
                       Item_order::one_queue);
    });
    progress.finish();
}

}  // namespace velk
