// Arguments 1 to 7 of the two focusing modules, checked in order with the
// same messages in both.
#pragma once

#include "echofocus.h"
#include "gateway.h"

struct Focus_arguments {
    Echofocus_scans scans;
    velk::Points points;
};

// Reads A-scans, positions, delay(s), dt, cp, observation points and the
// aperture width from prhs[0 .. 6]; the first failing check ends the call.
Focus_arguments focus_arguments(const mxArray* const prhs[]);
