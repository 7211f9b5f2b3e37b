// out = echofocus(A-scans, positions, delay, dt, cp, points, a)
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void echofocus_gateway(Call& call);
}
