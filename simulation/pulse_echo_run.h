// A pulse-echo call on worker threads: the channels of each event in
// blocks, handed out from one queue, the scatterers of a block looked at
// for Ctrl-C and progress every few milliseconds.
#pragma once

#include "pulse_echo.h"
#include "workers.h"

namespace velk {

// Fills out (nt x n_rx x n_events) with the job's channels on n_threads
// workers, reporting progress when `shown`. Ends the call (Call_failed) when
// interrupted or when the scratch cannot be had; the job's axes must be
// valid (echo_axes) for every event.
void pulse_echo_run(Host& host, const Pulse_echo_job& job, double* out, int n_threads,
                    bool shown, const Thread_starter& threads = system_threads);

}  // namespace velk
