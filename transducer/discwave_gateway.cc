// H = discwave(points, a, [dt nt], delay, [v cp])
#include "modules.h"

#include "arguments.h"
#include "discwave.h"

namespace velk {

void discwave_gateway(Call& call)
{
    check_counts(call, {5}, "discwave requires 5 input arguments!", 1,
                 "Too many output arguments for discwave!");
    const Points points = observation_points(call, 1);
    const double a = scalar(call, 2);
    const Sampling sampling = velk::sampling(call, 3);
    const Per_point delay = per_point(call, 4, points.count);
    const auto [v, cp] = pair(call, 5);

    const int nt = sampling.nt;
    double* H = call.create_unfilled_result(0, nt, points.count);
    call.run([&] {
        for (int i = 0; i < points.count; ++i)
            discwave(points.x[i], points.y[i], points.z[i], a, sampling.dt, nt, delay[i], v, cp,
                     H + std::size_t(i) * nt);
    });
}

}  // namespace velk
