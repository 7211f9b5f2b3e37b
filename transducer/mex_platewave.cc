// H = platewave(points, [a b], [dt nt], delay, [v cp])
#include "gateway.h"
#include "platewave.h"
#include "velk_error.h"

using namespace velk;

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 5)
        velk_err_msg("platewave requires 5 input arguments!");
    if (nlhs > 1)
        velk_err_msg("Too many output arguments for platewave!");

    const Points points = observation_points(prhs[0], 1);

    if (!is_vector2(dims(prhs[1])))
        velk_err_msg("Argument 2 must be a two element vector!");
    require_real_double(prhs[1], 2);
    const double a = mxGetPr(prhs[1])[0];
    const double b = mxGetPr(prhs[1])[1];

    if (!is_vector2(dims(prhs[2])))
        velk_err_msg("Argument 3 must be a vector of length 2!");
    const Sampling sampling = velk::sampling(prhs[2], 3);

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

    double* H = create_result(plhs[0], sampling.nt, points.count);
    for (std::size_t i = 0; i < points.count; ++i)
        platewave(points.x[i], points.y[i], points.z[i], a, b, sampling.dt, sampling.nt, delay[i],
                  v, cp, H + i * sampling.nt);
}
