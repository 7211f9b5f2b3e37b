// The host's own record of a pending Ctrl-C, where it keeps one: Octave
// takes Ctrl-C in a thread of its own and never runs a handler installed
// with signal() during a call, so the modules look at its pending-interrupt
// count. Hosts that deliver the signal to the handler keep none. One source
// per host implements these (cmake/host.cmake picks it).
#pragma once

namespace velk {

bool host_interrupt_pending() noexcept;
// Withdraws the host's pending interrupt once the module reports it itself,
// so that the host does not raise the same Ctrl-C a second time.
void host_interrupt_acknowledge() noexcept;

}  // namespace velk
