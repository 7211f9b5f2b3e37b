// H = discwave_array(points, elements, a, [dt nt], delay, [v cp], focus, steer, apod, N, n)
#include "modules.h"

#include "array_arguments.h"

namespace velk {

void discwave_array_gateway(Call& call) { array_module(call, false, "discwave_array"); }

}  // namespace velk
