// The reporters through which a call from the host ends or warns, exported
// under these names with C linkage. The gateways end their calls through
// the failures of call.h and report delays through
// velk::report_out_of_bounds(); the adaptor (mex_call.h) ends a failed call
// through velk_err_msg.
#pragma once

#include "out_of_bounds.h"

extern "C" {

// Ends the current call from the host with `message`; does not return.
[[noreturn]] void velk_err_msg(const char* message);

// Reports a delay `offset` samples outside the output window under `level`
// (velk_error_level): prints `message` followed by " (offset = %d samples)\n"
// for "warn" and "stop", ends the call for "stop", and otherwise returns
// `level` unchanged. No module calls it: they report through their host
// (out_of_bounds.h); it stays for C callers, with the same text.
int velk_out_of_bounds_err(const char* message, int offset, int level);
}
