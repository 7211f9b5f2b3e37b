// The adaptor of the Octave and MATLAB hosts (the MEX interface). Every
// module's entry point is mex_entry.cc, compiled once per module with
// VELK_GATEWAY naming its gateway:
//
//     extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
//     {
//         velk::mex_call(velk::discwave_gateway, nlhs, plhs, nrhs, prhs);
//     }
#pragma once

#include "call.h"

#include "mex.h"

#include <vector>

namespace velk {

// The host of a MEX call: results stored in plhs, the console, the host's
// own pending interrupt, and the signal handlers while a computation is
// guarded.
class Mex_host final : public Host {
public:
    explicit Mex_host(mxArray** plhs) : plhs_(plhs) {}
    double* create_result(int slot, int rows, int cols) override;
    double* create_unfilled_result(int slot, int rows, int cols) override;
    // Interleaved storage of the call's own, made into the host's complex
    // array (its real and imaginary parts apart) by finish().
    double* create_complex_result(int slot, int rows, int cols) override;
    void shape_result(int slot, std::initializer_list<std::size_t> dims) override;
    // Makes the complex results; called once the gateway has returned.
    void finish();
    void print(const char* text) noexcept override;
    bool interrupt_pending() noexcept override;
    void acknowledge_interrupt() noexcept override;
    // One console line, rewritten in place ("\r"), ended at the end.
    void report_progress(const char* module, double fraction,
                         double seconds_left) noexcept override;
    bool installs_signal_handlers() const override { return true; }

private:
    struct Complex_result {
        int slot, rows, cols;
        std::vector<double> values;
    };
    mxArray** plhs_;
    std::vector<Complex_result> complex_results_;
};

// Calls the gateway on the host's arguments. Arrays of real, full doubles
// are seen with their data, which the in-place modules may write; character
// arrays with their text; cell arrays and 1 x 1 structures with their
// elements and fields seen the same way. A Call_failed ends the call
// through velk_err_msg with its message, once everything the call made has
// been released; under the level "stop" the out-of-bounds report is
// printed first and the error has no text of its own.
void mex_call(Gateway gateway, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

}  // namespace velk
