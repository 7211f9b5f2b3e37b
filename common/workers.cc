#include "workers.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace velk {
namespace {

// How many workers are still at work. Each worker holds it too, so that the
// worker that reports its end last never touches storage the call has
// released, even one that could not be joined and ends by itself.
class Completion {
public:
    void started()
    {
        const std::lock_guard lock(mutex_);
        ++working_;
    }
    void finished()
    {
        {
            const std::lock_guard lock(mutex_);
            --working_;
        }
        all_done_.notify_all();
    }
    // Waits until every started worker has finished, for `slice` at most;
    // true when they all have.
    bool wait_for(std::chrono::milliseconds slice)
    {
        std::unique_lock lock(mutex_);
        return all_done_.wait_for(lock, slice, [this] { return working_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable all_done_;
    int working_ = 0;
};

// What every worker of one computation shares.
struct Shared_work {
    Function_ref<void(int, int)> process_item;  // item, worker
    const char* bail_out_format;
    const Stop_state& stop;
    Item_queue* queue;  // null: each worker walks its own range
};

// A worker that could not be joined has already reported its end: it is let
// go to end by itself. A handle that cannot even be detached is moved where
// it is never destroyed, since destroying it would end the process.
void let_go(std::thread& thread) noexcept
{
    try {
        thread.detach();
        return;
    } catch (...) {
    }
    alignas(std::thread) thread_local unsigned char abandoned[sizeof(std::thread)];
    ::new (static_cast<void*>(abandoned)) std::thread(std::move(thread));
}

}  // namespace

// The per-thread record: the worker's range and bail-out line, and what the
// workers share.
struct thread_data {
    int index = 0;  // the worker's, from 0
    Item_range range{};
    Bail_out_line bail_out;
    const Shared_work* work = nullptr;
    std::shared_ptr<Completion> completion;
};

namespace {

// The worker loop.
void smp_process(thread_data* worker)
{
    const std::shared_ptr<Completion> completion = worker->completion;
    const Shared_work& work = *worker->work;
    const auto keep_going = [&] { return !work.stop.requested(); };
    const auto item = [&](int k) { work.process_item(k, worker->index); };
    const bool finished = work.queue ? process_queue(*work.queue, item, keep_going)
                                     : process_range(worker->range, item, keep_going);
    if (!finished)
        worker->bail_out.print(work.bail_out_format, worker->range.first + 1, worker->range.end);
    completion->finished();
}

}  // namespace

std::thread Thread_starter::start(void (*body)(thread_data*), thread_data* worker) const
{
    return std::thread(body, worker);
}

void Thread_starter::join(std::thread& thread) const { thread.join(); }

bool Guarded_run::stop_requested()
{
    if (!stop_.requested() && host_.interrupt_pending())
        stop_.request();
    return stop_.requested();
}

void Guarded_run::on_calling_thread(int n_items, Function_ref<void(int)> process_item,
                                    const char* bail_out_line)
{
    if (!process_range({0, n_items}, process_item, [this] { return !stop_requested(); }))
        host_.print(bail_out_line);
}

void Guarded_run::on_threads(int n_items, int n_threads, Function_ref<void(int)> process_item,
                             const char* bail_out_format, const Thread_starter& threads,
                             Item_order order, int queue_batch)
{
    const auto item = [&](int k, int) { process_item(k); };
    on_threads(n_items, n_threads, item, bail_out_format, threads, order, queue_batch);
}

void Guarded_run::on_threads(int n_items, int n_threads,
                             Function_ref<void(int, int)> process_item,
                             const char* bail_out_format, const Thread_starter& threads,
                             Item_order order, int queue_batch)
{
    Item_queue queue(n_items, queue_batch);
    const Shared_work work{process_item, bail_out_format, stop_,
                           order == Item_order::one_queue ? &queue : nullptr};
    std::vector<thread_data> workers;
    std::shared_ptr<Completion> completion;
    try {
        workers.resize(static_cast<std::size_t>(n_threads));
        completion = std::make_shared<Completion>();
    } catch (...) {
        fault_ = records_alloc_fault;
        return;
    }
    std::vector<std::thread> handles;
    try {
        handles.reserve(static_cast<std::size_t>(n_threads));
    } catch (...) {
        fault_ = handles_alloc_fault;
        return;
    }

    for (int i = 0; i < n_threads; ++i) {
        thread_data& worker = workers[static_cast<std::size_t>(i)];
        worker.index = i;
        worker.range = thread_range(i, n_items, n_threads);
        worker.work = &work;
        worker.completion = completion;
        completion->started();
        try {
            handles.push_back(threads.start(smp_process, &worker));
        } catch (...) {
            completion->finished();
            stop_.request();  // the workers already running stop after their item
            fault_ = create_fault;
            break;
        }
    }

    try {
        while (!completion->wait_for(host_.poll_interval())) {
            if (!stop_.requested() && host_.interrupt_pending())
                stop_.request();
            if (tick_)
                (*tick_)();
        }
    } catch (...) {
        stop_.request();  // the joins below wait for the workers instead
    }
    for (std::thread& thread : handles) {
        try {
            threads.join(thread);
        } catch (...) {
            if (!fault_)
                fault_ = join_fault;
        }
        if (thread.joinable())
            let_go(thread);
    }
    for (const thread_data& worker : workers)
        if (const char* line = worker.bail_out.text())
            host_.print(line);
    if (tick_)
        (*tick_)();
}

void run_guarded(Host& host, const Handler_messages& messages,
                 Function_ref<void(Guarded_run&)> work)
{
    Stop_state stop;
    const char* fault = nullptr;
    bool interrupted = false;
    host.run_work([&] {
        Guarded_run run(host, stop);
        try {
            const Signal_guard guard(host, messages, stop);
            if (host.interrupt_pending())
                stop.request();
            work(run);
        } catch (const Call_failed&) {
            // The handlers are back; the call ends once, with the work's own failure.
            if (stop.requested() || host.interrupt_pending())
                host.acknowledge_interrupt();
            throw;
        }
        fault = run.fault();
        interrupted = stop.requested() || host.interrupt_pending();
    });
    if (fault)
        fail_resources("%s", fault);
    if (interrupted) {
        host.acknowledge_interrupt();
        fail_interrupted();
    }
}

}  // namespace velk
