// paste_mt(Y, [r1 r2], [c1 c2], S, n): S written into rows r1..r2 and columns
// c1..c2 of Y, in Y's own storage.
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void paste_mt_gateway(Call& call);
}
