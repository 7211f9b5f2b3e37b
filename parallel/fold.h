// Column convolution: every column of A convolved with one shared filter or
// with a filter of its own, on the calling thread or on worker threads, into
// a new result or into the caller's matrix.
#pragma once

#include "conv.h"
#include "workers.h"

namespace velk {

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
// n_threads is 1 or less, otherwise on n_threads workers; ends the call as
// run_guarded() does when it is cut short. An input that shares storage with
// Y is read from a copy made before the work starts, so workers never read
// what another one writes and the result is that of the inputs as they were
// passed.
void fold_mt_run(Host& host, const Fold_job& job, int n_threads,
                 const Thread_starter& threads = system_threads);

}  // namespace velk
