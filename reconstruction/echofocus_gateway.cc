// out = echofocus(A-scans, positions, delay, dt, cp, points, a)
#include "echofocus_gateway.h"

#include "focus_arguments.h"

namespace velk {

void echofocus_gateway(Call& call)
{
    if (call.n_args() != 7)
        fail("echofocus requires 7 input arguments!");
    if (call.n_results() > 1)
        fail("Too many output arguments for echofocus!");
    const Focus_arguments args = focus_arguments(call);
    const Points& points = args.points;

    double* out = call.create_result(0, points.count, 1);
    call.run([&] {
        for (int i = 0; i < points.count; ++i)
            out[i] = echofocus_point(args.scans, points.x[i], points.y[i], points.z[i]);
    });
}

}  // namespace velk
