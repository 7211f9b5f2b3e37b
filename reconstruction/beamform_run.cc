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
#include <utility>
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
        return "more image points, channels or events than an int counts";
    // A complex float channel is read with int indices up to 2 nt.
    if (job.nt > INT_MAX / 2)
        return "more samples per channel than an int index reaches";
    if (!(job.options.f_number >= 0.0))
        return "the f-number must be 0 or more";
    if (job.options.complex_samples == Complex_samples::iq && !beamform_complex(job))
        return "I/Q samples must be complex";
    for (std::size_t i = 0; i < job.n_rx * job.n_events; ++i)
        if (job.rx[i] < 0 || static_cast<std::uint64_t>(job.rx[i]) >= job.elements.count)
            return "a receive element index lies outside the element centres";
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

// The bits of c (below 2^21) spread to every third place, from place `at`.
std::uint64_t spread(std::uint64_t c, int at)
{
    std::uint64_t out = 0;
    for (int b = 0; b < 21; ++b)
        out |= ((c >> b) & 1u) << (3 * b + at);
    return out;
}

// The point indices in the order of the cells of a grid laid over the
// finite points' bounding box, cells of about `per_cell` points taken in
// Morton order (the bits of a cell's x, y and z indices interleaved), so
// that consecutive cells, and so each group, are near one another in space
// and a group's echoes lie in a part of every channel; points that are not
// finite come last. Within a cell the points keep their order. The cells
// are sorted, the points counted into them.
std::vector<std::size_t> point_order(const Coordinates& p, std::size_t per_cell)
{
    const std::size_t No = p.count;
    const double* axis[3] = {p.x, p.y, p.z};
    auto finite = [&](std::size_t i) {
        return std::isfinite(p.x[i]) && std::isfinite(p.y[i]) && std::isfinite(p.z[i]);
    };
    double lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    for (std::size_t i = 0; i < No; ++i)
        if (finite(i))
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], axis[a][i]);
                hi[a] = std::max(hi[a], axis[a][i]);
            }
    // Cells of edge h over the axes the points spread along.
    const double n_cells = std::max(static_cast<double>(No / std::max<std::size_t>(per_cell, 1)), 1.0);
    double volume = 1.0;
    int spread_axes = 0;
    for (int a = 0; a < 3; ++a)
        if (hi[a] > lo[a]) {
            volume *= hi[a] - lo[a];
            ++spread_axes;
        }
    const double h = spread_axes ? std::pow(volume / n_cells, 1.0 / spread_axes) : 1.0;
    std::size_t cells[3];
    for (int a = 0; a < 3; ++a)
        cells[a] = hi[a] > lo[a] ? static_cast<std::size_t>(std::clamp(std::round((hi[a] - lo[a]) / h), 1.0, 1024.0))
                                 : 1;
    // Rounding and the axes that spread little may have made many more cells.
    while (cells[0] * cells[1] * cells[2] > 4 * static_cast<std::size_t>(n_cells) + 8) {
        std::size_t& most = *std::max_element(cells, cells + 3);
        most = (most + 1) / 2;
    }
    const std::size_t n_grid = cells[0] * cells[1] * cells[2];
    auto cell_of = [&](std::size_t i) {
        if (!finite(i))
            return n_grid;  // after every cell
        std::size_t c[3];
        for (int a = 0; a < 3; ++a) {
            const double t = hi[a] > lo[a] ? (axis[a][i] - lo[a]) / (hi[a] - lo[a]) : 0.0;
            c[a] = std::min(static_cast<std::size_t>(t * static_cast<double>(cells[a])), cells[a] - 1);
        }
        return (c[0] * cells[1] + c[1]) * cells[2] + c[2];
    };
    // The cells' ranks in Morton order.
    std::vector<std::pair<std::uint64_t, std::size_t>> morton;
    for (std::size_t c = 0; c < n_grid; ++c) {
        const std::size_t cz = c % cells[2], cy = c / cells[2] % cells[1], cx = c / cells[2] / cells[1];
        morton.push_back({spread(cx, 2) | spread(cy, 1) | spread(cz, 0), c});
    }
    std::sort(morton.begin(), morton.end());
    std::vector<std::size_t> start(n_grid + 2, 0);  // by rank, then the points that are not finite
    std::vector<std::size_t> rank(n_grid + 1);
    for (std::size_t r = 0; r < n_grid; ++r)
        rank[morton[r].second] = r;
    rank[n_grid] = n_grid;
    for (std::size_t i = 0; i < No; ++i)
        ++start[rank[cell_of(i)] + 1];
    for (std::size_t r = 0; r + 1 < start.size(); ++r)
        start[r + 1] += start[r];
    std::vector<std::size_t> order(No);
    for (std::size_t i = 0; i < No; ++i)
        order[start[rank[cell_of(i)]]++] = i;
    return order;
}

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
    // About four cells a group.
    plan.order = point_order(job.points, plan.group / 4);
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

void beamform_run(Host& host, const Beamform_job& job, int n_threads,
                  const Thread_starter& threads)
{
    if (const char* fault = beamform_fault(job))
        refuse(0, "%s", fault);
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
        fail_resources("Failed to allocate memory for the scratch of the threads!");
    }

    const int group = static_cast<int>(plan->group);
    const auto form_group = [&](int first) {
        const int slot = slots->claim();
        beamform_group(*plan, slots->doubles(slot), slots->bytes(slot),
                       static_cast<std::size_t>(first),
                       static_cast<std::size_t>(std::min(group, n_points - first)));
        slots->release(slot);
    };
    run_guarded(host, generic_handler_messages, [&](Guarded_run& run) {
        run.on_threads(n_points, n_threads, form_group, beamform_bail_out_line, threads,
                       Item_order::one_queue, group);
    });
}

}  // namespace velk
