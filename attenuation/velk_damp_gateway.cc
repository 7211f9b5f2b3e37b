// H = velk_damp(points, [dt nt], delay, [cp alpha])
#include "modules.h"

#include "arguments.h"
#include "att.h"
#include "fftw_turn.h"
#include "to_int.h"

#include <climits>
#include <cmath>

namespace velk {
namespace {

double distance(const Points& p, int n)
{
    return std::sqrt(p.x[n] * p.x[n] + p.y[n] * p.y[n] + p.z[n] * p.z[n]);
}

bool all_finite(const double* v, int n)
{
    for (int i = 0; i < n; ++i)
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

void velk_damp_gateway(Call& call)
{
    check_counts(call, {4}, "velk_damp requires 4 input arguments!", 1,
                 "velk_damp requires one output argument!");

    const Points points = observation_points(call, 1);
    if (!all_finite(points.x, points.count) || !all_finite(points.y, points.count) ||
        !all_finite(points.z, points.count))
        refuse(1, "Argument 1 must hold finite coordinates!");

    // The transform needs at least one sample to be planned.
    const Sampling sampling = velk::sampling(call, 2, 1);
    const double dt = sampling.dt;
    const int nt = sampling.nt;
    if (!(std::isfinite(dt) && dt > 0.0))
        refuse(2, "Argument 2 must hold a sampling period that is finite and above 0!");

    const Per_point delay = per_point(call, 3, points.count);
    if (!all_finite(delay.data(), delay.is_single() ? 1 : points.count))
        refuse(3, "Argument 3 must hold finite delays!");

    const auto [cp, alpha] = pair(call, 4);
    if (!(std::isfinite(cp) && cp > 0.0))
        refuse(4, "Argument 4 must hold a sound speed that is finite and above 0!");
    if (!std::isfinite(alpha))
        refuse(4, "Argument 4 must hold a finite attenuation!");

    // The pulse of every point must have a row the kernel can count with.
    for (int n = 0; n < points.count; ++n) {
        if (pulse_row(distance(points, n), cp, delay[n], dt) == INT_MIN)
            refuse(1,
                   "Observation point %d: its travel time lies more than 2147483647 samples "
                   "from its delay!",
                   n + 1);
    }

    double* H = call.create_result(0, nt, points.count);
    call.run([&] {
        const std::lock_guard turn(fftw_turn());
        if (!att_init(nt, 1))
            fail_resources("Cannot allocate the work buffers and transform plan for %d samples!", nt);
        for (int n = 0; n < points.count; ++n) {
            const double r = distance(points, n);
            att(alpha, r, pulse_row(r, cp, delay[n], dt), dt, cp, H + std::size_t(n) * nt, nt,
                1.0);
        }
        att_close();
    });
}

}  // namespace velk
