// Column convolution: every column of A convolved with one shared filter or
// with a filter of its own, on the calling thread or on worker threads, into
// a new result or into the caller's matrix.
#pragma once

#include "workers.h"

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

// One call's work: N columns of M samples in A, L filters (1 or N) of K
// samples in B, N result columns of M + K - 1 samples in Y.
struct Fold_job {
    const double* A;
    int M;
    int N;
    const double* B;
    int K;
    int L;
    double* Y;
    bool in_place;
    int mode;
};

// Runs the guarded computation over the N columns: on the calling thread when
// n_threads is 1 or less, otherwise on n_threads workers. An input that shares
// storage with Y is read from a copy made before the work starts, so workers
// never read what another one writes and the result is that of the inputs as
// they were passed.
Guarded_result fold_mt_run(Host& host, const Fold_job& job, int n_threads,
                           const Thread_starter& threads = system_threads);

}  // namespace velk
