// out = echofocus_mt(A-scans, positions, delay, dt, cp, points, a, n)
#include "modules.h"

#include "focus_arguments.h"
#include "workers.h"

#include <algorithm>

namespace velk {
namespace {

// The points one take of the queue forms: the kernel is faster on several
// points at once (it takes them four at a time), and 16 still leaves hundreds
// of groups to share out among the threads of a typical call.
constexpr int group_size = 16;

}  // namespace

void echofocus_mt_gateway(Call& call)
{
    check_counts(call, {8}, "echofocus_mt requires 8 input arguments!", 1,
                 "Too many output arguments for echofocus_mt!");
    const Focus_arguments args = focus_arguments(call);
    const Points& points = args.points;
    const int n_cpus = cpu_count(call, 8);

    double* out = call.create_result(0, points.count, 1);

    // Beyond one thread per point the extra threads would only get empty
    // ranges: the points, their order and the bail-out lines stay the same.
    // The threads take their points from one queue: a point's value does not
    // depend on the thread that forms it and none is kept when the call is
    // interrupted, and a thread that starts late or shares its processor with
    // other work forms fewer, so neither waits for the other.
    // Each take is a group of points, given by its first point.
    const auto focus_group = [&](int k) {
        const int n = std::min(group_size, points.count - k);
        echofocus_points(args.scans, points.x + k, points.y + k, points.z + k, n, out + k);
    };
    run_guarded(call.host(), generic_handler_messages, [&](Guarded_run& run) {
        run.on_threads(points.count, std::min(n_cpus, points.count), focus_group,
                       "Thread for observation points %d -> %d bailing out!\n", system_threads,
                       Item_order::one_queue, group_size);
    });
}

}  // namespace velk
