// [H, status] = lagsum(points, [dt nt], delay, cp, level)
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void lagsum_gateway(Call& call);
}
