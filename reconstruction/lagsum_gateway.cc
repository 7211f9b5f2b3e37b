// [H, status] = lagsum(points, [dt nt], delay, cp, level)
#include "modules.h"

#include "arguments.h"
#include "lagsum.h"
#include "out_of_bounds.h"
#include "workers.h"

#include <cmath>

namespace velk {
namespace {

// The handler texts of this module name the signal.
const Handler_messages lagsum_handler_messages{
    {"Couldn't register SIGTERM  signal handler.\n", "Couldn't register SIGABRT signal handler.\n",
     "Couldn't register SIGINT signal handler.\n"},
    {"Couldn't register old SIGTERM signal handler.\n",
     "Couldn't register old SIGABRT signal handler.\n",
     "Couldn't register old SIGINT signal handler.\n"},
};

constexpr const char* out_of_bounds = "Delay out of bounds";

}  // namespace

void lagsum_gateway(Call& call)
{
    check_counts(call, {5, 6}, "lagsum requires 5 or 6 input arguments!", 2,
                 "Too many output arguments for lagsum!");
    const Points points = observation_points(call, 1);
    const Sampling sampling = velk::sampling(call, 2);
    // The sample index is the travel time divided by dt.
    if (!std::isfinite(sampling.dt) || sampling.dt == 0.0)
        refuse(2, "Argument 2 must hold a sampling period that is finite and not 0!");
    const Per_point delay = per_point(call, 3, points.count);
    const double cp = scalar(call, 4);
    // The travel time is the distance divided by cp.
    if (!std::isfinite(cp) || cp == 0.0)
        refuse(4, "Argument 4 must be a sound speed that is finite and not 0!");
    // With a sixth argument the level is "stop", whatever the fifth holds.
    constexpr int levels[] = {VELK_IGNORE, VELK_WARN, VELK_STOP};
    const int level =
        call.n_args() == 5
            ? levels[keyword(call, 5, {"ignore", "warn", "stop"}, "Unknown error level!")]
            : VELK_STOP;

    const int nt = sampling.nt;
    double* H = call.create_result(0, nt, points.count);

    // The status of the last point that reported, 0 when none did. A "stop"
    // report ends the call, once the handlers are back.
    int status = 0;
    Host& host = call.host();
    run_guarded(host, lagsum_handler_messages, [&](Guarded_run& run) {
        for (int n = 0; n < points.count; ++n) {
            const int offset = lagsum(points.x[n], points.y[n], points.z[n], sampling.dt, nt,
                                      delay[n], cp, H + std::size_t(n) * nt);
            if (offset != 0)
                status = report_out_of_bounds(host, out_of_bounds, offset, level);
            if (run.stop_requested())
                break;
        }
    });

    if (call.n_results() == 2)
        *call.create_result(1, 1, 1) = status;
}

}  // namespace velk
