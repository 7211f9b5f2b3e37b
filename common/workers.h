// The guarded computation of the interruptible modules: the call's stop
// state set up (and the signal handlers installed, for hosts that want
// them), work items processed in order with a look at the stop state after
// each, on the calling thread or on worker threads, the handlers put back,
// the outcome reported.
//
// A module gives the work of one item and its bail-out line; the scheme owns
// the per-thread records, the worker loop, the waiting and the joins, and
// ends the call when the work was cut short:
//
//     run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
//         run.on_threads(n_columns, n_threads, [&](int j) { copy_column(j); },
//                        "paste_mt: thread for column %d -> %d bailing out!\n");
//     });
#pragma once

#include "call.h"
#include "function_ref.h"
#include "interrupt.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <thread>

namespace velk {

// Items first .. end-1, 0-based.
struct Item_range {
    int first;
    int end;
};

// Thread i of n_threads gets items floor(i W / T) up to floor((i+1) W / T):
// contiguous ranges, in thread order, whose sizes differ by at most one.
// The product is formed in 64 bits, so large counts cannot overflow it.
inline Item_range thread_range(int i, int n_items, int n_threads)
{
    auto bound = [&](int k) {
        return static_cast<int>(std::int64_t{k} * n_items / n_threads);
    };
    return {bound(i), bound(i + 1)};
}

// Processes the items of a range in increasing order and asks keep_going()
// after every one, the last included. Returns false when it stopped on a
// false answer; an empty range returns true at once without asking.
template <class Process, class Keep_going>
bool process_range(Item_range range, Process&& process_item, Keep_going&& keep_going)
{
    for (int k = range.first; k < range.end; ++k) {
        process_item(k);
        if (!keep_going())
            return false;
    }
    return true;
}

// Items 0 .. n-1 handed out a batch at a time (the last one possibly
// shorter), in increasing order, to whichever thread asks first. A thread
// that starts late, or shares its processor with other work, takes fewer,
// so the threads finish together; the items done when the work stops are
// always a first part of them, in whole batches.
class Item_queue {
public:
    explicit Item_queue(int n_items, int batch = 1) : end_(n_items), batch_(batch) {}
    // The first item of the next batch into k; false when none is left.
    bool take(int& k)
    {
        const std::int64_t next = next_.fetch_add(batch_, std::memory_order_relaxed);
        k = static_cast<int>(std::min<std::int64_t>(next, end_));
        return next < end_;
    }

private:
    // 64 bits: threads that keep asking past the end never wrap it.
    std::atomic<std::int64_t> next_{0};
    int end_;
    int batch_;
};

// As process_range, over the items taken from the queue.
template <class Process, class Keep_going>
bool process_queue(Item_queue& queue, Process&& process_item, Keep_going&& keep_going)
{
    for (int k; queue.take(k);) {
        process_item(k);
        if (!keep_going())
            return false;
    }
    return true;
}

// How on_threads hands the items to its workers.
enum class Item_order {
    ranges,     // each worker walks the range thread_range() assigns it, in order
    one_queue,  // each worker takes the next batch of one Item_queue; for work whose
                // items' results are not kept when the call is interrupted
};

// A worker's bail-out line, written by the worker into storage the calling
// thread owns and printed by the calling thread after the join, since a
// host's console may not be used from other threads. Formatting allocates
// nothing.
class Bail_out_line {
public:
    void print(const char* format, int first, int last)
    {
        std::snprintf(text_, sizeof text_, format, first, last);
        set_ = true;
    }
    const char* text() const { return set_ ? text_ : nullptr; }

private:
    char text_[160] = {};
    bool set_ = false;
};

inline constexpr const char* records_alloc_fault = "Failed to allocate memory for thread data!";
inline constexpr const char* handles_alloc_fault = "Failed to allocate memory for threads!";
inline constexpr const char* create_fault = "Error when creating a new thread!\n";
inline constexpr const char* join_fault = "Error when joining a thread!\n";

// The per-thread record: a worker's range, its bail-out line and what the
// workers share. The scheme alone fills and reads it.
struct thread_data;

// Starts and joins the workers. A test replaces it with one that fails as
// the system can (std::system_error, std::bad_alloc); the scheme survives
// any exception from either.
class Thread_starter {
public:
    virtual std::thread start(void (*body)(thread_data*), thread_data* worker) const;
    virtual void join(std::thread& thread) const;

protected:
    ~Thread_starter() = default;
};

// The starter of std::thread itself.
class System_threads final : public Thread_starter {};
inline const System_threads system_threads{};

// The running guarded computation, as the module's work sees it.
class Guarded_run {
public:
    Guarded_run(Host& host, Stop_state& stop) : host_(host), stop_(stop) {}

    // For the calling thread's own loops: brings in the host's interrupt,
    // then answers whether the call must stop.
    bool stop_requested();

    // Items 0 .. n_items-1 on the calling thread, with a look at the stop
    // state and the host after each; prints `bail_out_line` if it stopped.
    void on_calling_thread(int n_items, Function_ref<void(int)> process_item,
                           const char* bail_out_line);

    // Items 0 .. n_items-1 on n_threads workers, each given the range
    // thread_range() assigns it (and with Item_order::one_queue taking its
    // items from one queue instead, `queue_batch` at a time, process_item then
    // called with each batch's first item only) and looking at the stop state
    // after every call of process_item. A worker cut short leaves the line `bail_out_format` with the
    // first item of its range plus 1 and its end item. Meanwhile the calling
    // thread polls the host every Host::poll_interval(). Every started worker
    // is joined before this returns, whatever failed; the bail-out lines are
    // then printed in thread order. A failure to allocate, start or join sets
    // fault() (the workers already running are told to stop first).
    void on_threads(int n_items, int n_threads, Function_ref<void(int)> process_item,
                    const char* bail_out_format, const Thread_starter& threads = system_threads,
                    Item_order order = Item_order::ranges, int queue_batch = 1);

    // As on_threads, for work that keeps storage of its own per thread:
    // process_item(k, worker) is told which of the n_threads workers (from
    // 0) processes item k, so that it can use that worker's storage, made
    // before the threads start.
    void on_threads(int n_items, int n_threads, Function_ref<void(int, int)> process_item,
                    const char* bail_out_format, const Thread_starter& threads = system_threads,
                    Item_order order = Item_order::ranges, int queue_batch = 1);

    // `tick` runs on the calling thread at every poll while the workers of
    // on_threads run, and once after they have ended (a progress report,
    // Progress::update); it must not throw. It must outlive those calls.
    void while_waiting(Function_ref<void()> tick) { tick_ = tick; }

    const char* fault() const { return fault_; }
    // What the workers read; an item may look at it too.
    const Stop_state& stop() const { return stop_; }

private:
    Host& host_;
    Stop_state& stop_;
    const char* fault_ = nullptr;
    std::optional<Function_ref<void()>> tick_;
};

// Runs `work` through the host between installing and putting back the
// handlers, with a stop state of this call alone, and returns when it ran
// to its end. Otherwise, once the handlers are back, ends the call
// (Call_failed): with the scheme's fault (Failure::resources), or as
// interrupted, the host's pending interrupt withdrawn first. The
// interruption is judged after the handlers are back, so an interrupt that
// came after the last item still counts. A Call_failed that the work throws
// itself passes through, the host's interrupt withdrawn first if one came.
void run_guarded(Host& host, const Handler_messages& messages,
                 Function_ref<void(Guarded_run&)> work);

}  // namespace velk
