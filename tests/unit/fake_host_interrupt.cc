#include "fake_host_interrupt.h"

#include "interrupt.h"

namespace fake_host {
std::atomic<int> interrupt_state{0};
}

namespace velk {

bool host_interrupt_pending() { return fake_host::interrupt_state.load() > 0; }

void host_interrupt_acknowledge()
{
    if (host_interrupt_pending())
        fake_host::interrupt_state.store(0);
}

}  // namespace velk
