// Sub-matrix copy: a block of S written into rows row0 .. row0+nrows-1 and
// columns col0 .. col0+N4-1 of Y, one block column per work item, on worker
// threads.
#pragma once

#include "workers.h"

namespace velk {

// Y is M1 x N1, S is M4 x N4; the top nrows rows of each column of S are
// copied. The gateway has checked that the block lies inside Y and that S has
// at least nrows rows.
struct Paste_job {
    double* Y;
    int M1;
    int N1;
    const double* S;
    int M4;
    int N4;
    int row0;
    int col0;
    int nrows;
};

// Runs the guarded computation over the N4 block columns on n_threads workers
// (none when N4 is 0); ends the call as run_guarded() does when it is cut
// short. A source that shares storage with Y (the same array,
// or a slice of it) is read from a copy made before the work starts, so the
// call acts as a move and no worker reads what another one writes.
void paste_mt_run(Host& host, const Paste_job& job, int n_threads,
                  const Thread_starter& threads = system_threads);

}  // namespace velk
