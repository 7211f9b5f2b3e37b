// The convolution of one column with a filter, added into the output column
// in the order of the direct loop.
#pragma once

namespace velk {

// How the convolution is combined with the output column in place.
enum Fold_mode : int { fold_assign = 0, fold_add = 1, fold_subtract = 2 };

// y (M + K - 1 samples) receives the full convolution of x (M samples) with
// h (K samples). Out of place, or in place with fold_assign, y starts from 0;
// fold_add adds the convolution to what y holds, fold_subtract subtracts it.
// The arithmetic is that of the direct loop, i outer and k inner, adding
// each product x[i] h[k] into y[i + k] and rounding it there: sample m is
// its start value plus (or minus) the products x[i] h[m - i] one after the
// other in increasing i, each partial sum rounded to double. y must not
// share storage with x or h.
extern "C" void conv(const double* x, int M, const double* h, int K, double* y, bool in_place,
                     int mode);

}  // namespace velk
