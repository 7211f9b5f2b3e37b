// out = echofocus_mt(A-scans, positions, delay, dt, cp, points, a, n)
#include "echofocus.h"
#include "focus_arguments.h"
#include "gateway.h"
#include "guarded_call.h"
#include "velk_error.h"

#include <algorithm>
#include <climits>

using namespace velk;

namespace {

// One worker: the range the split gives it, named in its bail-out line, and
// the queue it takes its points from. The points' values do not depend on
// which thread forms them, and are not kept when the call is interrupted;
// taken from one queue, a thread that starts late or shares its processor
// with other work forms fewer, and neither waits for the other.
struct thread_data {
    Item_range range;
    Bail_out_line bail_out;
    Item_queue* queue;
    const Echofocus_scans* scans;
    Points points;
    double* out;
};

void smp_process(thread_data* d)
{
    const Points& p = d->points;
    const bool finished = process_queue(*d->queue, [d, &p](int k) {
        d->out[k] = echofocus_point(*d->scans, p.x[k], p.y[k], p.z[k]);
    });
    if (!finished)
        d->bail_out.print("Thread for observation points %d -> %d bailing out!\n",
                          d->range.first + 1, d->range.end);
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 8)
        velk_err_msg("echofocus_mt requires 8 input arguments!");
    if (nlhs > 1)
        velk_err_msg("Too many output arguments for echofocus_mt!");

    const Focus_arguments args = focus_arguments(prhs);
    const Points& points = args.points;

    if (!is_scalar(dims(prhs[7])))
        velk_err_msg("Argument 8 must be a scalar!");
    require_real_double(prhs[7], 8);
    const int n_cpus = scalar_int(prhs[7]);
    if (n_cpus < 1)
        velk_err_msg("Argument 8 must be larger or equal to 1 (min number of CPUs)!");

    // Points are the work items, counted in int like the thread ranges.
    if (points.count > INT_MAX)
        velk_err_msg("Argument 6 holds more observation points than can be divided over threads!");

    double* out = create_result(plhs[0], points.count, 1);

    // Beyond one thread per point the extra threads would only get empty
    // ranges: the points, their order and the bail-out lines stay the same.
    const int n_points = static_cast<int>(points.count);
    const int n_threads = std::min(n_cpus, n_points);
    Host_console console;
    Item_queue queue(n_points);
    const Guarded_result result = run_guarded(console, generic_handler_messages, [&] {
        return run_on_threads<thread_data>(
            n_points, n_threads,
            [&](thread_data& d) {
                d.queue = &queue;
                d.scans = &args.scans;
                d.points = points;
                d.out = out;
            },
            smp_process, console);
    });
    end_guarded_call(result);
}
