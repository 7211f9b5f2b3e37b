// H = platewave(points, [a b], [dt nt], delay, [v cp])
#include "modules.h"

#include "arguments.h"
#include "platewave.h"

namespace velk {

void platewave_gateway(Call& call)
{
    check_counts(call, {5}, "platewave requires 5 input arguments!", 1,
                 "Too many output arguments for platewave!");
    const Points points = observation_points(call, 1);
    const auto [a, b] = pair(call, 2, "Argument %d must be a two element vector!");
    const Sampling sampling = velk::sampling(call, 3);
    const Per_point delay = per_point(call, 4, points.count);
    const auto [v, cp] = pair(call, 5);

    const int nt = sampling.nt;
    double* H = call.create_unfilled_result(0, nt, points.count);
    call.run([&] {
        for (int i = 0; i < points.count; ++i)
            platewave(points.x[i], points.y[i], points.z[i], a, b, sampling.dt, nt, delay[i], v,
                      cp, H + std::size_t(i) * nt);
    });
}

}  // namespace velk
