#include "mex_call.h"

#include "host_interrupt.h"
#include "velk_error.h"

#include <cstdio>
#include <string>
#include <vector>

namespace velk {

double* Mex_host::create_result(int slot, int rows, int cols)
{
    plhs_[slot] =
        mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
    return mxGetPr(plhs_[slot]);
}

void Mex_host::print(const char* text) noexcept { mexPrintf("%s", text); }

bool Mex_host::interrupt_pending() noexcept { return host_interrupt_pending(); }

void Mex_host::acknowledge_interrupt() noexcept { host_interrupt_acknowledge(); }

namespace {

// `text` keeps the characters of a character array for the view.
Arg view(const mxArray* a, std::string& text)
{
    Arg arg;
    arg.rows = mxGetM(a);
    arg.cols = mxGetN(a);
    if (mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a)) {
        arg.kind = Arg::Kind::real_double;
        arg.writable_data = mxGetPr(a);  // the caller's storage, as the in-place modules need
        arg.data = arg.writable_data;
    } else if (mxIsChar(a)) {
        const std::size_t length = arg.rows * arg.cols;
        text.resize(length + 1);
        mxGetString(a, text.data(), static_cast<mwSize>(length + 1));
        text.resize(length);
        arg.kind = Arg::Kind::text;
        arg.text = text;
    }
    return arg;
}

}  // namespace

void mex_call(Gateway gateway, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    // The host may abandon the call without running destructors, so the
    // message is copied here and the call ended outside the scope that owns
    // anything.
    char message[Call_failed::capacity];
    try {
        const std::size_t n = static_cast<std::size_t>(nrhs);
        std::vector<std::string> texts(n);
        std::vector<Arg> args(n);
        for (std::size_t i = 0; i < n; ++i)
            args[i] = view(prhs[i], texts[i]);
        Mex_host host(plhs);
        Call call(args, nlhs, host);
        gateway(call);
        return;
    } catch (const Call_failed& failure) {
        std::snprintf(message, sizeof message, "%s", failure.what());
    }
    velk_err_msg(message);
}

}  // namespace velk
