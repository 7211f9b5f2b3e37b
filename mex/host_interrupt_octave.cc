// Octave takes Ctrl-C in a watcher thread and raises its pending-interrupt
// count; a handler installed with signal() never runs during a call there.
#include "host_interrupt.h"

#include <octave/quit.h>

#include <type_traits>

namespace velk {
namespace {

// The count is a plain sig_atomic_t in some Octave versions and an atomic in
// others; read and write it as an atomic either way, since the worker threads
// poll it while the watcher thread writes it.
template <class State>
int load_state(State& state)
{
    if constexpr (requires { state.load(); })
        return static_cast<int>(state.load());
    else
        return static_cast<int>(__atomic_load_n(&state, __ATOMIC_SEQ_CST));
}

template <class State>
void clear_state(State& state)
{
    if constexpr (requires { state.store(0); })
        state.store(0);
    else
        __atomic_store_n(&state, 0, __ATOMIC_SEQ_CST);
}

}  // namespace

// Above 0: an interrupt is pending; below 0: the host is handling one.
bool host_interrupt_pending() noexcept { return load_state(octave_interrupt_state) > 0; }

void host_interrupt_acknowledge() noexcept
{
    if (host_interrupt_pending())
        clear_state(octave_interrupt_state);
}

}  // namespace velk
