// The response of a transducer array at one observation point: the weighted
// sum of its elements' responses, each fired at its own time. Host-free;
// allocates nothing; one point per call, so that callers can spread points
// over threads, each with its own scratch.
#pragma once

#include "piston.h"

#pragma GCC visibility push(hidden)  // as the columns it holds (piston_columns.h)

namespace velk {

// Ne identical elements, element i centred at (xs[i], ys[i], zs[i]) mm in a
// plane parallel to z = 0 and facing +z, fired at tau[i] us with the weight
// w[i]. The weights must be finite (see array_column). fire_times() and
// element_weights() (element_drive.h) make tau and w from the focusing,
// steering and apodization codes.
struct Array_description {
    Piston element;
    int Ne;
    const double* xs;
    const double* ys;
    const double* zs;
    const double* tau;
    const double* w;
};

// column[0 .. nt-1] = H, sample k at delay + k dt us, with
//   H = sum over i = 0 .. Ne-1 in order of w[i] h_i,
// h_i the element's response (its piston's full-column kernel) at the point
// seen from its centre, (x - xs[i], y - ys[i], z - zs[i]), for the delay
// delay - tau[i], added as H[k] = H[k] + (w[i] * h_i[k]) onto H = +0: the
// bits of the loop
//   H = zeros (nt, 1); for i = 1:Ne, H = H + w(i) * kernel (point - [xs ys zs](i,:), ..., delay - tau(i), ...); end
// Only each element's band is computed and added (the cost goes as Ne
// times the band, not Ne nt), and elements of weight 0 not at all. scratch:
// room for nt doubles, the largest band; one per thread, reused from call
// to call. Writes nothing when nt < 1.
void array_column(const Array_description& array, double x, double y, double z, Sampling sampling,
                  double delay, double* column, double* scratch);

// As array_column onto a column that holds +0 and is written only here:
// adds the elements' bands and returns the samples it wrote, from the first
// band's start to the last one's end (empty when no element has one), the
// rest left +0, so that a caller that clears those samples again reuses the
// column without a pass over all of it.
// `band`: the samples each element's response is formed on (piston.h).
Sample_band add_array_column(const Array_description& array, double x, double y, double z,
                             Sampling sampling, double delay, double* column, double* scratch,
                             Band band = Band::kernel);

}  // namespace velk

#pragma GCC visibility pop
