// The reporters through which a call from the host ends or warns, exported
// under these names with C linkage. The gateways end their calls with
// velk::fail() and report delays through velk::report_out_of_bounds(); the
// host adaptor ends a failed call through velk_err_msg.
#pragma once

// Error levels chosen by keyword and handed to velk_out_of_bounds_err.
enum velk_error_level {
    VELK_STOP = -1,    // "stop": report, then end the call with an empty message
    VELK_WARN = -2,    // "warn": report and go on
    VELK_IGNORE = -3,  // "ignore": go on silently
    VELK_WARN_ALT = -4 // accepted with the "warn" behaviour
};

extern "C" {

// Ends the current call from the host with `message`; does not return.
[[noreturn]] void velk_err_msg(const char* message);

// Reports a delay `offset` samples outside the output window under `level`:
// prints `message` followed by " (offset = %d samples)\n" for "warn" and
// "stop", ends the call for "stop", and otherwise returns `level` unchanged.
// No module calls it: they report through their host (out_of_bounds.h);
// it stays for C callers, with the same text.
int velk_out_of_bounds_err(const char* message, int offset, int level);
}
