// FFTW's planner is one per process and not safe from two threads at once,
// and att.h's workspace is one per process too: every call that makes or
// destroys a plan, or uses that workspace, holds this turn meanwhile, so
// that the calls a host runs at once (Python threads) take turns.
#pragma once

#include <mutex>

namespace velk {

std::mutex& fftw_turn();

}  // namespace velk
