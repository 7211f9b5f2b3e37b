// H = discwave(points, a, [dt nt], delay, [v cp])
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void discwave_gateway(Call& call);
}
