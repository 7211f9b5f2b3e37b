// out = echofocus(A-scans, positions, delay, dt, cp, points, a)
#include "echofocus.h"
#include "focus_arguments.h"
#include "velk_error.h"

using namespace velk;

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 7)
        velk_err_msg("echofocus requires 7 input arguments!");
    if (nlhs > 1)
        velk_err_msg("Too many output arguments for echofocus!");

    const Focus_arguments args = focus_arguments(prhs);
    const Points& points = args.points;

    double* out = create_result(plhs[0], points.count, 1);
    for (std::size_t i = 0; i < points.count; ++i)
        out[i] = echofocus_point(args.scans, points.x[i], points.y[i], points.z[i]);
}
