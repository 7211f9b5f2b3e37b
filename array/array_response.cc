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
    add_array_column(array, x, y, z, sampling, delay, column, scratch);
}

Sample_band add_array_column(const Array_description& array, double x, double y, double z,
                             Sampling sampling, double delay, double* column, double* scratch,
                             Band samples)
{
    Sample_band written{sampling.nt, 0};
    for (int i = 0; i < array.Ne; ++i) {
        // Outside its band an element's samples are +0, and w * (+0) is +-0
        // for a finite w. Adding +-0 leaves every sum's bits as they are: H
        // starts at +0 and a sum is -0 only when both terms are, so no H[k]
        // is ever -0, and H + (+-0) = H for H != 0, +0 + (+-0) = +0. So
        // leaving out the samples outside the band, and the elements of
        // weight 0 (whose terms are all +-0), changes no bit.
        const double w = array.w[i];
        if (w == 0.0)
            continue;
        const Piston_response h(array.element, x - array.xs[i], y - array.ys[i],
                                z - array.zs[i], sampling, delay - array.tau[i], samples);
        const Sample_band band = h.band();
        if (band.size() == 0)
            continue;
        h.fill(scratch);
        for (int k = 0; k < band.size(); ++k)
            scratch[k] = w * scratch[k];
        superpoz(scratch, column + band.k_first, band.size());
        written = {std::min(written.k_first, band.k_first), std::max(written.k_end, band.k_end)};
    }
    return written.size() > 0 ? written : Sample_band{0, 0};
}

}  // namespace velk
