// A host that records Ctrl-C in a pending-interrupt count of its own, set
// from a thread of its own, as Octave does: the threaded tests raise it
// while the workers run.
#pragma once

#include <atomic>

namespace fake_host {
extern std::atomic<int> interrupt_state;
}
