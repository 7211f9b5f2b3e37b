#include "guarded_call.h"

#include "mex.h"

namespace velk {

void Host_console::print(const char* text) { mexPrintf("%s", text); }

void end_guarded_call(Guarded_result result)
{
    if (result.fault)
        mexErrMsgTxt(result.fault);
    if (result.interrupted) {
        host_interrupt_acknowledge();
        mexErrMsgTxt("CTRL-C pressed!\n");
    }
}

}  // namespace velk
