// out = echofocus(A-scans, positions, delay, dt, cp, points, a)
#include "modules.h"

#include "focus_arguments.h"

namespace velk {

void echofocus_gateway(Call& call)
{
    check_counts(call, {7}, "echofocus requires 7 input arguments!", 1,
                 "Too many output arguments for echofocus!");
    const Focus_arguments args = focus_arguments(call);
    const Points& points = args.points;

    double* out = call.create_result(0, points.count, 1);
    call.run([&] {
        echofocus_points(args.scans, points.x, points.y, points.z, points.count, out);
    });
}

}  // namespace velk
