// Arguments 1 to 7 of the two focusing modules, checked in order with the
// same messages in both.
#pragma once

#include "arguments.h"
#include "echofocus.h"

namespace velk {

struct Focus_arguments {
    Echofocus_scans scans;
    Points points;
};

// Reads A-scans, positions, delay(s), dt, cp, observation points and the
// aperture width, arguments 1 to 7; the first failing check ends the call.
Focus_arguments focus_arguments(const Call& call);

}  // namespace velk
