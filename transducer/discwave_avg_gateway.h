// H = discwave_avg(points, a, [dt nt], delay, [v cp], N)
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void discwave_avg_gateway(Call& call);
}
