// The arguments of the two array modules, read in order with the same
// messages in both; argument 3, the elements' shape, is each module's own.
//   H = platewave_array(points, elements, [a b], [dt nt], delay, [v cp], focus, steer, apod, N, n)
//   H = discwave_array(points, elements, a, [dt nt], delay, [v cp], focus, steer, apod, N, n)
#pragma once

#include "arguments.h"
#include "array_response.h"

#include <vector>

namespace velk {

struct Array_arguments {
    Points points;
    Sampling sampling;
    Per_point delay;
    int n_threads;
    // The elements' centres (argument 2), fire times and weights (the
    // fields below) and the piston each element is.
    Array_description array;
    std::vector<double> tau;  // us
    std::vector<double> w;
};

// `plate`: argument 3 is [a b] (platewave_array), else a radius
// (discwave_array). `name` begins the count messages. Arguments 7 to 11 may
// be left off from the end: focus, steer and apod "off", N = 0, every core.
Array_arguments array_arguments(const Call& call, bool plate, const char* name);

// The module itself: the arguments, then H (nt x No) and, when asked for,
// the fire times and the weights (Ne x 1 each), the points spread over the
// threads from one queue, with Ctrl-C polled between groups of points.
void array_module(Call& call, bool plate, const char* name);

}  // namespace velk
