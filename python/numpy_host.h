// The host of a call from Python: results created as NumPy arrays, the
// console as sys.stdout, Ctrl-C as the interpreter's pending signals, and
// the interpreter lock given up while the work runs.
//
// Python takes Ctrl-C with its own C handler, which only notes the signal;
// PyErr_CheckSignals, on the main thread with the lock held, then runs the
// Python handler, which raises KeyboardInterrupt. So the host installs no
// handler: it takes the lock back now and then while the work runs and asks.
#pragma once

#include "call.h"

#include <pybind11/numpy.h>

#include <chrono>
#include <string>
#include <vector>

namespace velk::python {

class Numpy_host final : public Host {
public:
    // Result `slot` as a C-ordered array of shape (cols, rows): the host's
    // rows x cols column-major matrix in the same memory, so that row i of
    // the array is column i of the matrix.
    double* create_result(int slot, int rows, int cols) override;
    // A C-ordered complex128 array of shape (cols, rows), whose storage is
    // the interleaved pairs.
    double* create_complex_result(int slot, int rows, int cols) override;
    void print(const char* text) noexcept override;
    // Kept for the caller, who makes each "warn" line a Python warning.
    void report_out_of_bounds(const char* line) noexcept override;
    // Asks the interpreter at most once per poll_interval(); once it has
    // answered yes (its exception is then set), answers yes without asking.
    bool interrupt_pending() noexcept override;
    bool installs_signal_handlers() const override { return false; }
    void run_work(Function_ref<void()> work) override;
    // Calls progress(fraction, seconds_left) with the interpreter locked, on
    // the calling thread; an exception it raises is dropped.
    void report_progress(const char* module, double fraction,
                         double seconds_left) noexcept override;

    pybind11::object progress = pybind11::none();

    std::vector<pybind11::array> results;
    std::vector<std::string> warnings;

private:
    bool interrupted_ = false;
    std::chrono::steady_clock::time_point next_poll_{};
};

}  // namespace velk::python
