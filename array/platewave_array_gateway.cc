// H = platewave_array(points, elements, [a b], [dt nt], delay, [v cp], focus, steer, apod, N, n)
#include "modules.h"

#include "array_arguments.h"

namespace velk {

void platewave_array_gateway(Call& call) { array_module(call, true, "platewave_array"); }

}  // namespace velk
