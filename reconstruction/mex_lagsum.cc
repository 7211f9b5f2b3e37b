// [H, status] = lagsum(points, [dt nt], delay, cp, level)
#include "gateway.h"
#include "guarded_call.h"
#include "lagsum.h"
#include "velk_error.h"

#include <cmath>

using namespace velk;

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

int error_level(const mxArray* keyword)
{
    switch (match_keyword(keyword, {"ignore", "warn", "stop"})) {
    case 0:
        return VELK_IGNORE;
    case 1:
        return VELK_WARN;
    case 2:
        return VELK_STOP;
    case not_text:
        velk_err_msg("Argument 5 must be a string");
    default:
        velk_err_msg("Unknown error level!");
    }
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 5 && nrhs != 6)
        velk_err_msg("lagsum requires 5 or 6 input arguments!");
    if (nlhs > 2)
        velk_err_msg("Too many output arguments for lagsum!");

    const Points points = observation_points(prhs[0], 1);

    if (!is_vector2(dims(prhs[1])))
        velk_err_msg("Argument 2 must be a vector of length 2!");
    const Sampling sampling = velk::sampling(prhs[1], 2);
    // The sample index is the travel time divided by dt.
    if (!std::isfinite(sampling.dt) || sampling.dt == 0.0)
        velk_err_msg("Argument 2 must hold a sampling period that is finite and not 0!");

    if (!is_scalar_or_per_point(dims(prhs[2]), points.count))
        velk_err_msg("Argument 3 must be a scalar or a vector with a length equal to the number "
                     "of observation points!");
    require_real_double(prhs[2], 3);
    const Per_point delay(prhs[2]);

    if (!is_scalar(dims(prhs[3])))
        velk_err_msg("Argument 4 must be a scalar!");
    require_real_double(prhs[3], 4);
    const double cp = mxGetScalar(prhs[3]);
    // The travel time is the distance divided by cp.
    if (!std::isfinite(cp) || cp == 0.0)
        velk_err_msg("Argument 4 must be a sound speed that is finite and not 0!");

    // With a sixth argument the level is "stop", whatever the fifth holds.
    const int level = nrhs == 5 ? error_level(prhs[4]) : VELK_STOP;

    const int nt = sampling.nt;
    double* H = create_result(plhs[0], nt, points.count);

    // The status of the last point that reported, 0 when none did. A "stop"
    // report ends the loop and is made once the handlers are back, since it
    // ends the call.
    int status = 0;
    bool stopped = false;
    int stop_offset = 0;
    Host_console console;
    const Guarded_result result = run_guarded(console, lagsum_handler_messages, [&]() -> const char* {
        for (std::size_t n = 0; n < points.count; ++n) {
            const int offset = lagsum(points.x[n], points.y[n], points.z[n], sampling.dt, nt,
                                      delay[n], cp, H + n * nt);
            if (offset != 0) {
                if (level == VELK_STOP) {
                    stopped = true;
                    stop_offset = offset;
                    break;
                }
                status = velk_out_of_bounds_err(out_of_bounds, offset, level);
            }
            if (!keep_running())
                break;
        }
        return nullptr;
    });
    if (stopped) {
        if (result.interrupted)
            host_interrupt_acknowledge();  // the call ends here, once
        velk_out_of_bounds_err(out_of_bounds, stop_offset, VELK_STOP);
    }
    end_guarded_call(result);

    if (nlhs == 2)
        *create_result(plhs[1], 1, 1) = status;
}
