// Y = fold_mt(A, B, n)            the convolution of every column of A
// fold_mt(A, B, n, Y)             written into Y with the current mode
// fold_mt(A, B, n, Y, mode)       after setting the mode: "=", "+=" or "-="
// The module's checks, result and work for any host (call.h).
#pragma once

#include "call.h"

namespace velk {
void fold_mt_gateway(Call& call);
}
