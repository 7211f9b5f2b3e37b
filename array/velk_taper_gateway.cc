// w = velk_taper(window, N, p)
#include "modules.h"

#include "arguments.h"
#include "arr_functions.h"

namespace velk {

void velk_taper_gateway(Call& call)
{
    check_counts(call, {3}, "velk_taper requires three input arguments!", 1,
                 "velk_taper requires one output argument!");
    enum { off, ud, triangle, gauss, raised, simply, clamped };
    const int window = keyword(call, 1,
                               {"off", "ud", "triangle", "gauss", "raised", "simply", "clamped"},
                               "Unknown apodization level!");
    if (window == ud)
        refuse(1, " 'ud'- (user defined) meaningless for this function!");
    const int types[] = {0, 0, WEIGHT_TRIANGLE, WEIGHT_GAUSS, WEIGHT_RAISED, WEIGHT_SIMPLY,
                         WEIGHT_CLAMPED};
    const int N = count(call, 2, 0, "Argument %d must be a positive integer!");
    const double p = scalar(call, 3);

    double* w = call.create_result(0, N, 1);
    if (window == off)
        return;
    // Positions 2 (0.5 - i/N) run from +1 down in steps of 2/N; the divisor
    // is N, so the last element sits at -1 + 2/N.
    call.run([&] {
        for (int i = 0; i < N; ++i) {
            const double x = 2.0 * (0.5 - static_cast<double>(i) / N);
            double weight = 0.0;
            weighting(2, types[window], i, nullptr, &weight, x, 0.0, 1.0, p, N);
            w[i] = weight;
        }
    });
}

}  // namespace velk
