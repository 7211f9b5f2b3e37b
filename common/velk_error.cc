#include "velk_error.h"

#include "mex.h"

#include <cstdlib>

void velk_err_msg(const char* message)
{
    mexErrMsgTxt(message);
    // The host abandons the call inside mexErrMsgTxt; a host that came back
    // would let the gateway read arguments it has just refused.
    std::abort();
}

namespace {
void print_report(const char* message, int offset)
{
    // Two pieces on one console line: the caller's text as it is, then the offset.
    mexPrintf("%s", message);
    mexPrintf(" (offset = %d samples)\n", offset);
}
}  // namespace

int velk_out_of_bounds_err(const char* message, int offset, int level)
{
    switch (level) {
    case VELK_WARN:
    case VELK_WARN_ALT:
        print_report(message, offset);
        return level;
    case VELK_STOP:
        print_report(message, offset);
        mexErrMsgTxt("");
        return level;
    default:
        return level;
    }
}
