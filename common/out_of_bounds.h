// The report of a delay that falls outside the output window, under the
// error level the caller chose (velk_error_level).
#pragma once

#include "call.h"
#include "velk_error.h"

namespace velk {

// "warn" (and VELK_WARN_ALT): hands the console the line `message`
// followed by " (offset = <offset> samples)\n" and returns `level`.
// "stop": the same line, then ends the call with an empty message.
// Any other level: reports nothing and returns `level`.
int report_out_of_bounds(Console& console, const char* message, int offset, int level);

}  // namespace velk
