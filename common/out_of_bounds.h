// The report of a delay that falls outside the output window, under the
// error level the caller chose.
#pragma once

#include "call.h"

// Error levels chosen by keyword; the exported reporter velk_out_of_bounds_err
// takes them too.
enum velk_error_level {
    VELK_STOP = -1,    // "stop": report, then end the call
    VELK_WARN = -2,    // "warn": report and go on
    VELK_IGNORE = -3,  // "ignore": go on silently
    VELK_WARN_ALT = -4 // accepted with the "warn" behaviour
};

namespace velk {

// The line `message` followed by " (offset = <offset> samples)\n":
// "warn" (and VELK_WARN_ALT) hands it to the console and returns `level`;
// "stop" ends the call with it (Failure::out_of_bounds), which a host shows
// as the report followed by an error with no text of its own. Any other
// level reports nothing and returns `level`.
int report_out_of_bounds(Console& console, const char* message, int offset, int level);

}  // namespace velk
