// H = platewave_avg(points, [a b], [dt nt], delay, [v cp], N)
#include "modules.h"

#include "arguments.h"
#include "platewave_avg.h"

#include <cmath>

namespace velk {

void platewave_avg_gateway(Call& call)
{
    check_counts(call, {6}, "platewave_avg requires 6 input arguments!", 1,
                 "Too many output arguments for platewave_avg!");
    const Points points = observation_points(call, 1);
    const auto [a, b] = pair(call, 2, "Argument %d must be a two element vector!");
    const Sampling sampling = velk::sampling(call, 3);
    // Every sample is divided by the sampling period: 0 would make it NaN.
    if (!(std::isfinite(sampling.dt) && sampling.dt > 0.0))
        refuse(3, "Argument 3 must hold a finite sampling period above 0!");
    const Per_point delay = per_point(call, 4, points.count);
    const auto [v, cp] = pair(call, 5);
    // The arrival times are distances divided by cp.
    if (!(std::isfinite(cp) && cp > 0.0))
        refuse(5, "Argument 5 must hold a sound speed that is finite and above 0!");
    const int N = count(call, 6, 1, "Number of intervals (argument %d) must be larger than one !");

    const int nt = sampling.nt;
    double* H = call.create_unfilled_result(0, nt, points.count);
    call.run([&] {
        for (int i = 0; i < points.count; ++i)
            platewave_avg(points.x[i], points.y[i], points.z[i], a, b, sampling.dt, nt, delay[i],
                          v, cp, N, H + std::size_t(i) * nt);
    });
}

}  // namespace velk
