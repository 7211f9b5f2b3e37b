#include "velk_error.h"

#include "mex.h"

#include <cstdlib>

void velk_err_msg(const char* message)
{
    mexErrMsgTxt(message);
    // The host abandons the call inside mexErrMsgTxt; a host that came back
    // would let the gateway go on with arguments it has just refused.
    std::abort();
}

namespace {
struct Mex_console final : velk::Console {
    void print(const char* text) noexcept override { mexPrintf("%s", text); }
};
}  // namespace

int velk_out_of_bounds_err(const char* message, int offset, int level)
{
    Mex_console console;
    try {
        return velk::report_out_of_bounds(console, message, offset, level);
    } catch (const velk::Call_failed& stop) {
        mexPrintf("%s", stop.what());
    }
    mexErrMsgTxt("");
    return level;
}
