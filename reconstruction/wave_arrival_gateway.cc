// T = wave_arrival(points, kind, origin, t0, cp)
#include "modules.h"

#include "arguments.h"
#include "wavefront.h"

#include <cmath>

namespace velk {

void wave_arrival_gateway(Call& call)
{
    check_counts(call, {5}, "wave_arrival requires 5 input arguments!", 1,
                 "Too many output arguments for wave_arrival!");
    const Points points = observation_points(call, 1);
    constexpr Wave_kind kinds[] = {Wave_kind::plane, Wave_kind::diverging, Wave_kind::focused};
    const int kind = keyword(call, 2, {"plane", "diverging", "focused"},
                             "Argument %d must be \"plane\", \"diverging\" or \"focused\"!");
    const double* origin = values(call.arg(3), 3, 3, "Argument %d must be a vector of length 3!");
    const double t0 = scalar(call, 4);
    const double cp = scalar(call, 5);
    if (!(std::isfinite(cp) && cp > 0.0))
        refuse(5, "Argument 5 must be a sound speed that is finite and above 0!");

    const Wavefront wave{kinds[kind], origin[0], origin[1], origin[2], t0};
    double* T = call.create_unfilled_result(0, points.count, 1);
    call.run([&] {
        for (int i = 0; i < points.count; ++i)
            T[i] = arrival(wave, points.x[i], points.y[i], points.z[i], cp);
    });
}

}  // namespace velk
