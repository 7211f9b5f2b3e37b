// H = velk_damp(points, [dt nt], delay, [cp alpha])
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void velk_damp_gateway(Call& call);
}
