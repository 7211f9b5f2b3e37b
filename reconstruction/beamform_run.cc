// A beamforming call: its checks, its plan, each thread's scratch and the
// groups of points shared out from one queue.
#include "beamform.h"

#include "beamform_plan.h"

#include <hwy/aligned_allocator.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

namespace velk {

bool beamform_complex(const Beamform_job& job)
{
    return job.sample_type == Sample_type::complex_double ||
           job.sample_type == Sample_type::complex_float;
}

std::size_t beamform_output_size(const Beamform_job& job)
{
    const std::size_t images =
        job.options.compounding == Compounding::coherent ? 1 : job.n_events;
    return job.points.count * images * (beamform_complex(job) ? 2 : 1);
}

const char* beamform_fault(const Beamform_job& job)
{
    if (job.points.count > INT_MAX || job.n_rx > INT_MAX || job.n_events > INT_MAX)
        return "beamform: more image points, channels or events than an int counts";
    // A complex float channel is read with int indices up to 2 nt.
    if (job.nt > INT_MAX / 2)
        return "beamform: more samples per channel than an int index reaches";
    if (!(job.options.f_number >= 0.0))
        return "beamform: the f-number must be 0 or more";
    if (job.options.complex_samples == Complex_samples::iq && !beamform_complex(job))
        return "beamform: I/Q samples must be complex";
    for (std::size_t i = 0; i < job.n_rx * job.n_events; ++i)
        if (job.rx[i] < 0 || static_cast<std::uint64_t>(job.rx[i]) >= job.elements.count)
            return "beamform: a receive element index lies outside the element centres";
    return nullptr;
}

namespace {

// The scratch a thread's group needs stays near this size: the receive
// terms of a group are read again for every event, the channels once per
// group, so the larger the group the less channel data is read again. For
// the benchmark's plane-wave and full-matrix images on one thread, 1, 2, 4
// and 8 MB took 191/172, 178/170, 168/163 and 182/159 ms (CPU time, best of
// 10, on a shared machine).
constexpr std::size_t scratch_budget = std::size_t{4} << 20;  // bytes
constexpr std::size_t group_unit = 64;                         // points, every vector width divides it

Beamform_plan make_plan(const Beamform_job& job, int n_threads)
{
    Beamform_plan plan{};
    plan.job = &job;
    std::vector<bool> receives(job.elements.count, false);
    for (std::size_t i = 0; i < job.n_rx * job.n_events; ++i)
        receives[static_cast<std::size_t>(job.rx[i])] = true;
    std::vector<std::size_t> row_of(job.elements.count, 0);
    for (std::size_t j = 0; j < job.elements.count; ++j)
        if (receives[j]) {
            row_of[j] = plan.used.size();
            plan.used.push_back(j);
        }
    plan.channel_row.resize(job.n_rx * job.n_events);
    for (std::size_t i = 0; i < plan.channel_row.size(); ++i)
        plan.channel_row[i] = row_of[static_cast<std::size_t>(job.rx[i])];

    plan.complex = beamform_complex(job);
    plan.iq = plan.complex && job.options.complex_samples == Complex_samples::iq;
    plan.rx_weighted = job.options.f_number > 0.0;

    const Coordinates& e = job.elements;
    if (e.count > 0) {
        plan.x_min = *std::min_element(e.x, e.x + e.count);
        plan.x_max = *std::max_element(e.x, e.x + e.count);
        plan.y_min = *std::min_element(e.y, e.y + e.count);
        plan.y_max = *std::max_element(e.y, e.y + e.count);
    }
    plan.test_x = plan.x_min < plan.x_max;
    plan.test_y = plan.y_min < plan.y_max;

    // As large as the budget allows, in a number of groups that the threads
    // can share out evenly (groups cost alike but for their points'
    // apodization).
    const std::size_t per_point =
        sizeof(double) * (Beamform_plan::n_point_arrays + plan.used.size() * plan.n_element_arrays());
    const std::size_t largest = std::max<std::size_t>(scratch_budget / per_point / group_unit, 1) * group_unit;
    const std::size_t threads = static_cast<std::size_t>(n_threads);
    const std::size_t No = std::max<std::size_t>(job.points.count, 1);
    const std::size_t groups = ((No + largest - 1) / largest + threads - 1) / threads * threads;
    plan.group = ((No + groups - 1) / groups + group_unit - 1) / group_unit * group_unit;
    return plan;
}

// Each running group takes one thread's scratch: at most n_threads groups
// run at once, so a free one is always found.
class Scratch_slots {
public:
    Scratch_slots(int n, std::size_t doubles, std::size_t bytes)
        : n_(n), busy_(std::make_unique<std::atomic<bool>[]>(static_cast<std::size_t>(n)))
    {
        for (int i = 0; i < n; ++i) {
            doubles_.push_back(hwy::AllocateAligned<double>(doubles));
            bytes_.push_back(hwy::AllocateAligned<unsigned char>(bytes));
            if (!doubles_.back() || !bytes_.back())
                throw std::bad_alloc();
        }
    }
    int claim()
    {
        for (int i = 0;; i = (i + 1) % n_) {
            bool expected = false;
            if (busy_[static_cast<std::size_t>(i)].compare_exchange_strong(expected, true))
                return i;
        }
    }
    void release(int i) { busy_[static_cast<std::size_t>(i)].store(false); }
    double* doubles(int i) { return doubles_[static_cast<std::size_t>(i)].get(); }
    unsigned char* bytes(int i) { return bytes_[static_cast<std::size_t>(i)].get(); }

private:
    int n_;
    std::unique_ptr<std::atomic<bool>[]> busy_;
    std::vector<hwy::AlignedFreeUniquePtr<double[]>> doubles_;
    std::vector<hwy::AlignedFreeUniquePtr<unsigned char[]>> bytes_;
};

}  // namespace

Guarded_result beamform_run(Host& host, const Beamform_job& job, int n_threads,
                            const Thread_starter& threads)
{
    if (const char* fault = beamform_fault(job))
        return {fault, false};
    const int n_points = static_cast<int>(job.points.count);
    n_threads = std::max(n_threads, 1);
    std::unique_ptr<Beamform_plan> plan;
    std::unique_ptr<Scratch_slots> slots;
    try {
        plan = std::make_unique<Beamform_plan>(make_plan(job, n_threads));
        const int groups = static_cast<int>((job.points.count + plan->group - 1) / plan->group);
        n_threads = std::max(std::min(n_threads, groups), 1);
        slots = std::make_unique<Scratch_slots>(n_threads, plan->scratch_doubles(), plan->group);
    } catch (const std::bad_alloc&) {
        return {"beamform: failed to allocate memory for the scratch of the threads!", false};
    }

    const int group = static_cast<int>(plan->group);
    const auto form_group = [&](int first) {
        const int slot = slots->claim();
        beamform_group(*plan, slots->doubles(slot), slots->bytes(slot),
                       static_cast<std::size_t>(first),
                       static_cast<std::size_t>(std::min(group, n_points - first)));
        slots->release(slot);
    };
    return run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        run.on_threads(n_points, n_threads, form_group, beamform_bail_out_line, threads,
                       Item_order::one_queue, group);
    });
}

}  // namespace velk
