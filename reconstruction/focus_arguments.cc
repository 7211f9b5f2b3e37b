#include "focus_arguments.h"

#include "velk_error.h"

#include <cmath>

using namespace velk;

Focus_arguments focus_arguments(const mxArray* const prhs[])
{
    require_real_double(prhs[0], 1);
    const Dims scans = dims(prhs[0]);

    const Dims positions = dims(prhs[1]);
    if (positions.rows != scans.cols || positions.cols != 3)
        velk_err_msg("Arg 2 must be a (number of transducer positions) x 3 matrix!");
    require_real_double(prhs[1], 2);

    if (!is_scalar_or_per_point(dims(prhs[2]), scans.cols))
        velk_err_msg("Argument 3 (delay(s)) must be a scalar or a vector with a length equal to "
                     "the number of A-scans!");
    require_real_double(prhs[2], 3);

    if (!is_scalar(dims(prhs[3])))
        velk_err_msg("Argument 4 (temporal sampling period) must be a scalar");
    require_real_double(prhs[3], 4);

    if (!is_scalar(dims(prhs[4])))
        velk_err_msg("Argument 5 (sound speed) must be a scalar!");
    require_real_double(prhs[4], 5);

    const Points points = observation_points(prhs[5], 6);

    if (!is_scalar(dims(prhs[6])))
        velk_err_msg("Argument 7 must be a scalar!");
    require_real_double(prhs[6], 7);
    const double a = mxGetScalar(prhs[6]);
    // NaN would pass every aperture test (no comparison with it is true).
    if (std::isnan(a))
        velk_err_msg("Argument 7 (aperture width) must be a number!");

    return {{mxGetPr(prhs[0]), scans.rows, scans.cols, mxGetPr(prhs[1]), mxGetPr(prhs[2]),
             dims(prhs[2]).count() != 1, mxGetScalar(prhs[3]), mxGetScalar(prhs[4]),
             lateral_limit(a)},
            points};
}
