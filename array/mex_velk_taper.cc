// w = velk_taper(window, N, p)
#include "arr_functions.h"
#include "gateway.h"
#include "velk_error.h"

using namespace velk;

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    if (nrhs != 3)
        velk_err_msg("velk_taper requires three input arguments!");
    if (nlhs > 1)
        velk_err_msg("velk_taper requires one output argument!");

    // The text is compared only once it is known to be text.
    if (!mxIsChar(prhs[0]))
        velk_err_msg("Argument 1 must be a string");
    enum { off, ud, triangle, gauss, raised, simply, clamped };
    const int window = match_keyword(
        prhs[0], {"off", "ud", "triangle", "gauss", "raised", "simply", "clamped"});
    if (window == ud)
        velk_err_msg(" 'ud'- (user defined) meaningless for this function!");
    if (window == no_keyword)
        velk_err_msg("Unknown apodization level!");
    const int types[] = {0, 0, WEIGHT_TRIANGLE, WEIGHT_GAUSS, WEIGHT_RAISED, WEIGHT_SIMPLY,
                         WEIGHT_CLAMPED};

    if (!is_scalar(dims(prhs[1])))
        velk_err_msg("Argument 2 must be a scalar!");
    require_real_double(prhs[1], 2);
    const int N = scalar_int(prhs[1]);
    if (N < 0)
        velk_err_msg("Argument 2 must be a positive integer!");

    if (!is_scalar(dims(prhs[2])))
        velk_err_msg("Argument 3 must be a scalar!");
    require_real_double(prhs[2], 3);
    const double p = mxGetScalar(prhs[2]);

    double* w = create_result(plhs[0], static_cast<std::size_t>(N), 1);
    if (window == off || N < 1)
        return;
    // Positions 2 (0.5 - i/N) run from +1 down in steps of 2/N; the divisor
    // is N, so the last element sits at -1 + 2/N.
    for (int i = 0; i < N; ++i) {
        const double x = 2.0 * (0.5 - static_cast<double>(i) / N);
        double weight = 0.0;
        weighting(2, types[window], i, nullptr, &weight, x, 0.0, 1.0, p, N);
        w[i] = weight;
    }
}
