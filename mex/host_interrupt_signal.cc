// Hosts that deliver Ctrl-C to the process's handler keep no record of their
// own: `sighandler` alone clears the flag.
#include "host_interrupt.h"

namespace velk {

bool host_interrupt_pending() noexcept { return false; }
void host_interrupt_acknowledge() noexcept {}

}  // namespace velk
