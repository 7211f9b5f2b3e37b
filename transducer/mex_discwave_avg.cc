// H = discwave_avg(points, a, [dt nt], delay, [v cp], N)
#include "discwave_avg.h"
#include "gateway.h"
#include "velk_error.h"

#include <cmath>

using namespace velk;

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 6)
        velk_err_msg("discwave_avg requires 6 input arguments!");
    if (nlhs > 1)
        velk_err_msg("Too many output arguments for discwave_avg!");

    const Points points = observation_points(prhs[0], 1);

    if (!is_scalar(dims(prhs[1])))
        velk_err_msg("Argument 2 must be a scalar!");
    require_real_double(prhs[1], 2);
    const double a = mxGetScalar(prhs[1]);

    if (!is_vector2(dims(prhs[2])))
        velk_err_msg("Argument 3 must be a vector of length 2!");
    const Sampling sampling = velk::sampling(prhs[2], 3);
    // Every sample is divided by the sampling period: 0 would make it NaN.
    if (!(std::isfinite(sampling.dt) && sampling.dt > 0.0))
        velk_err_msg("Argument 3 must hold a finite sampling period above 0!");

    if (!is_scalar_or_per_point(dims(prhs[3]), points.count))
        velk_err_msg("Argument 4 must be a scalar or a vector with a length equal to the number "
                     "of observation points!");
    require_real_double(prhs[3], 4);
    const Per_point delay(prhs[3]);

    if (!is_vector2(dims(prhs[4])))
        velk_err_msg("Argument 5 must be a vector of length 2!");
    require_real_double(prhs[4], 5);
    const double v = mxGetPr(prhs[4])[0];
    const double cp = mxGetPr(prhs[4])[1];

    if (!is_scalar(dims(prhs[5])))
        velk_err_msg("Argument 6 must be a scalar!");
    require_real_double(prhs[5], 6);
    const int N = scalar_int(prhs[5]);
    if (N < 1)
        velk_err_msg("Number of intervals (argument 6) must be larger than one !");

    double* H = create_result(plhs[0], sampling.nt, points.count);
    for (std::size_t i = 0; i < points.count; ++i)
        discwave_avg(points.x[i], points.y[i], points.z[i], a, sampling.dt, sampling.nt,
                     delay[i], v, cp, N, H + i * sampling.nt);
}
