// out = echofocus_mt(A-scans, positions, delay, dt, cp, points, a, n)
#include "echofocus_mt_gateway.h"

#include "focus_arguments.h"
#include "workers.h"

#include <algorithm>

namespace velk {

void echofocus_mt_gateway(Call& call)
{
    if (call.n_args() != 8)
        fail("echofocus_mt requires 8 input arguments!");
    if (call.n_results() > 1)
        fail("Too many output arguments for echofocus_mt!");
    const Focus_arguments args = focus_arguments(call);
    const Points& points = args.points;
    const int n_cpus = cpu_count(call, 8);

    double* out = call.create_result(0, points.count, 1);

    // Beyond one thread per point the extra threads would only get empty
    // ranges: the points, their order and the bail-out lines stay the same.
    const auto focus_point = [&](int k) {
        out[k] = echofocus_point(args.scans, points.x[k], points.y[k], points.z[k]);
    };
    const Guarded_result result =
        run_guarded(call.host(), generic_handler_messages, [&](Guarded_run& run) {
            run.on_threads(points.count, std::min(n_cpus, points.count), focus_point,
                           "Thread for observation points %d -> %d bailing out!\n");
        });
    end_guarded_call(call.host(), result);
}

}  // namespace velk
