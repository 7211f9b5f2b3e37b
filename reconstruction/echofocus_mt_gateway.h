// out = echofocus_mt(A-scans, positions, delay, dt, cp, points, a, n)
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void echofocus_mt_gateway(Call& call);
}
