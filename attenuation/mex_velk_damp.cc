// H = velk_damp(points, [dt nt], delay, [cp alpha])
#include "att.h"
#include "gateway.h"
#include "to_int.h"
#include "velk_error.h"

#include <cmath>
#include <cstdio>

using namespace velk;

namespace {

// Messages with a number are formatted here, in the caller's frame: the host
// may abandon the call without running destructors.
[[noreturn]] void fail_with(const char* format, std::size_t n)
{
    char message[200];
    std::snprintf(message, sizeof message, format, n);
    velk_err_msg(message);
}

double distance(const Points& p, std::size_t n)
{
    return std::sqrt(p.x[n] * p.x[n] + p.y[n] * p.y[n] + p.z[n] * p.z[n]);
}

bool all_finite(const double* v, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(v[i]))
            return false;
    return true;
}

// The row the pulse of a point stands at before wrapping: its travel time
// 1000 r / cp in us, less the delay, in samples, plus one, truncated toward
// zero. INT_MIN when that is not a number or leaves the int range.
int pulse_row(double r, double cp, double delay, double dt)
{
    return trunc_to_int((1000.0 * r / cp - delay) / dt + 1.0);
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 4)
        velk_err_msg("velk_damp requires 4 input arguments!");
    if (nlhs > 1)
        velk_err_msg("velk_damp requires one output argument!");

    const Points points = observation_points(prhs[0], 1);
    if (!all_finite(points.x, points.count) || !all_finite(points.y, points.count) ||
        !all_finite(points.z, points.count))
        velk_err_msg("Argument 1 must hold finite coordinates!");

    if (!is_vector2(dims(prhs[1])))
        velk_err_msg("Argument 2 must be a vector of length 2!");
    require_real_double(prhs[1], 2);
    // The transform needs at least one sample to be planned.
    if (trunc_to_int(mxGetPr(prhs[1])[1]) < 1)
        velk_err_msg("Argument 2 must hold a number of samples from 1 to 2147483647!");
    const Sampling sampling = velk::sampling(prhs[1], 2);
    const double dt = sampling.dt;
    const int nt = sampling.nt;
    if (!(std::isfinite(dt) && dt > 0.0))
        velk_err_msg("Argument 2 must hold a sampling period that is finite and above 0!");

    if (!is_scalar_or_per_point(dims(prhs[2]), points.count))
        velk_err_msg("Argument 3 must be a scalar or a vector with a length equal to the number "
                     "of observation points!");
    require_real_double(prhs[2], 3);
    const Per_point delay(prhs[2]);
    if (!all_finite(delay.data(), delay.is_single() ? 1 : points.count))
        velk_err_msg("Argument 3 must hold finite delays!");

    if (!is_vector2(dims(prhs[3])))
        velk_err_msg("Argument 4 must be a vector of length 2!");
    require_real_double(prhs[3], 4);
    const double cp = mxGetPr(prhs[3])[0];
    const double alpha = mxGetPr(prhs[3])[1];
    if (!(std::isfinite(cp) && cp > 0.0))
        velk_err_msg("Argument 4 must hold a sound speed that is finite and above 0!");
    if (!std::isfinite(alpha))
        velk_err_msg("Argument 4 must hold a finite attenuation!");

    // The pulse of every point must have a row the kernel can count with.
    for (std::size_t n = 0; n < points.count; ++n) {
        if (pulse_row(distance(points, n), cp, delay[n], dt) == INT_MIN)
            fail_with("Observation point %zu: its travel time lies more than 2147483647 samples "
                      "from its delay!", n + 1);
    }

    double* H = create_result(plhs[0], static_cast<std::size_t>(nt), points.count);
    if (!att_init(nt, 1))
        fail_with("Cannot allocate the work buffers and transform plan for %zu samples!",
                  static_cast<std::size_t>(nt));
    for (std::size_t n = 0; n < points.count; ++n) {
        const double r = distance(points, n);
        const int k = pulse_row(r, cp, delay[n], dt);
        att(alpha, r, k, dt, cp, H + n * static_cast<std::size_t>(nt), nt, 1.0);
    }
    att_close();
}
