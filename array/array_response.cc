#include "array_response.h"

#include "arr_functions.h"

#include <algorithm>

namespace velk {

void array_column(const Array_description& array, double x, double y, double z, Sampling sampling,
                  double delay, double* column, double* scratch)
{
    if (sampling.nt < 1)
        return;
    std::fill(column, column + sampling.nt, 0.0);
    for (int i = 0; i < array.Ne; ++i) {
        const Piston_response h(array.element, x - array.xs[i], y - array.ys[i],
                                z - array.zs[i], sampling, delay - array.tau[i]);
        // Outside its band an element's samples are +0, and w * (+0) is +-0
        // for a finite w. Adding +-0 leaves every sum's bits as they are: H
        // starts at +0 and a sum is -0 only when both terms are, so no H[k]
        // is ever -0, and H + (+-0) = H for H != 0, +0 + (+-0) = +0. So
        // leaving out the samples outside the band changes no bit.
        const Sample_band band = h.band();
        if (band.size() == 0)
            continue;
        h.fill(scratch);
        const double w = array.w[i];
        for (int k = 0; k < band.size(); ++k)
            scratch[k] = w * scratch[k];
        superpoz(scratch, column + band.k_first, band.size());
    }
}

}  // namespace velk
