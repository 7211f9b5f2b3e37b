// w = velk_taper(window, N, p)
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void velk_taper_gateway(Call& call);
}
