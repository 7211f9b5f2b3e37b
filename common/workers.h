// The guarded computation of the interruptible modules: handlers installed,
// work items processed in order with a poll of `running` after each, on the
// calling thread or on worker threads, handlers put back, outcome reported.
//
// Typical use in a gateway (the host's part is in guarded_call.h):
//
//     velk::Guarded_result result = velk::run_guarded(console, velk::generic_handler_messages, [&] {
//         return velk::run_on_threads<thread_data>(n_columns, n_threads, fill, smp_process, console);
//     });
//     velk::end_guarded_call(result);
#pragma once

#include "interrupt.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

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

// Processes the items of a range in increasing order and polls after every
// one, the last included. Returns false when it stopped on a cleared flag;
// an empty range returns true at once without polling.
template <class Process>
bool process_range(Item_range range, Process&& process_item)
{
    for (int k = range.first; k < range.end; ++k) {
        process_item(k);
        if (!keep_running())
            return false;
    }
    return true;
}

// Items 0 .. n-1 handed out one at a time, in increasing order, to whichever
// thread asks first. A thread that starts late, or shares its processor
// with other work, takes fewer, so the threads finish together; with one
// item per take, the items done when the work stops are always a first
// part of them.
class Item_queue {
public:
    explicit Item_queue(int n_items) : end_(n_items) {}
    // The next item into k; false when none is left.
    bool take(int& k)
    {
        const std::int64_t next = next_.fetch_add(1, std::memory_order_relaxed);
        k = static_cast<int>(std::min<std::int64_t>(next, end_));
        return next < end_;
    }

private:
    // 64 bits: threads that keep asking past the end never wrap it.
    std::atomic<std::int64_t> next_{0};
    int end_;
};

// As process_range, over the items taken from the queue.
template <class Process>
bool process_queue(Item_queue& queue, Process&& process_item)
{
    for (int k; queue.take(k);) {
        process_item(k);
        if (!keep_running())
            return false;
    }
    return true;
}

// A worker's bail-out line, written by the worker into storage the calling
// thread owns and printed by the calling thread after the join, since the
// host's console may not be used from other threads. Formatting allocates
// nothing.
class Bail_out_line {
public:
    void print(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list args;
        va_start(args, format);
        std::vsnprintf(text_, sizeof text_, format, args);
        va_end(args);
        set_ = true;
    }
    const char* text() const { return set_ ? text_ : nullptr; }

private:
    char text_[160] = {};
    bool set_ = false;
};

// What ends a guarded call: a fault message of the scheme itself, or an
// interruption ("CTRL-C pressed!\n"), or neither.
struct Guarded_result {
    const char* fault = nullptr;
    bool interrupted = false;
};

inline constexpr const char* records_alloc_fault = "Failed to allocate memory for thread data!";
inline constexpr const char* handles_alloc_fault = "Failed to allocate memory for threads!";
inline constexpr const char* create_fault = "Error when creating a new thread!\n";

// Runs `work` between installing and putting back the handlers; `work`
// returns a fault message or nullptr. The interruption is judged after the
// handlers are back, so a signal that came after the last item still counts.
template <class Work>
Guarded_result run_guarded(Console& console, const Handler_messages& messages, Work&& work)
{
    Guarded_result result;
    {
        Signal_guard guard(console, messages);
        result.fault = work();
    }
    result.interrupted = !keep_running();
    return result;
}

// Starts one worker: the default makes a std::thread; a test may pass one
// that fails as the system can (std::system_error).
struct Start_thread {
    template <class Process, class Record>
    std::thread operator()(Process& smp_process, Record* record) const
    {
        return std::thread(smp_process, record);
    }
};

// Runs smp_process on n_threads threads over n_items items. Record is the
// module's thread_data: it has a member `range` (Item_range) and a member
// `bail_out` (Bail_out_line); fill(record) sets the module's own fields once
// the range is set.
// Every thread is joined before this returns, whatever failed: when a thread
// cannot be started, `running` is cleared so that those already running stop
// after their item. Bail-out lines are then printed in thread order.
// Returns a fault message or nullptr.
template <class Record, class Fill, class Process, class Start = Start_thread>
const char* run_on_threads(int n_items, int n_threads, Fill&& fill, Process&& smp_process,
                           Console& console, Start&& start = Start{})
{
    std::vector<Record> records;
    std::vector<std::thread> threads;
    try {
        records.resize(static_cast<std::size_t>(n_threads));
    } catch (const std::bad_alloc&) {
        return records_alloc_fault;
    } catch (const std::length_error&) {
        return records_alloc_fault;
    }
    try {
        threads.reserve(static_cast<std::size_t>(n_threads));
    } catch (const std::bad_alloc&) {
        return handles_alloc_fault;
    } catch (const std::length_error&) {
        return handles_alloc_fault;
    }

    const char* fault = nullptr;
    for (int i = 0; i < n_threads; ++i) {
        Record& record = records[static_cast<std::size_t>(i)];
        record.range = thread_range(i, n_items, n_threads);
        fill(record);
        try {
            threads.push_back(start(smp_process, &record));
        } catch (const std::system_error&) {
            running.store(0);
            fault = create_fault;
            break;
        }
    }
    // Joining a thread this function started and has not joined cannot fail.
    for (std::thread& thread : threads)
        thread.join();
    for (const Record& record : records)
        if (const char* line = record.bail_out.text())
            console.print(line);
    return fault;
}

}  // namespace velk
