#include "numpy_host.h"

#include <pybind11/complex.h>

#include <algorithm>
#include <complex>

namespace py = pybind11;

namespace velk::python {

double* Numpy_host::create_complex_result(int slot, int rows, int cols)
{
    const py::object zeros = py::module_::import("numpy").attr("zeros");
    auto result = py::array_t<std::complex<double>>::ensure(
        zeros(py::make_tuple(cols, rows), "complex128"));
    if (!result)
        throw py::error_already_set();
    double* data = reinterpret_cast<double*>(result.mutable_data());
    results.resize(std::max(results.size(), static_cast<std::size_t>(slot) + 1));
    results[static_cast<std::size_t>(slot)] = std::move(result);
    return data;
}

double* Numpy_host::create_result(int slot, int rows, int cols)
{
    // numpy.zeros takes memory that is zero already (calloc), so a large
    // result costs nothing here, with the interpreter locked and Ctrl-C
    // unheeded; its pages are filled in by the work.
    const py::object zeros = py::module_::import("numpy").attr("zeros");
    auto result = py::array_t<double>::ensure(zeros(py::make_tuple(cols, rows)));
    if (!result)
        throw py::error_already_set();
    double* data = result.mutable_data();
    results.resize(std::max(results.size(), static_cast<std::size_t>(slot) + 1));
    results[static_cast<std::size_t>(slot)] = std::move(result);
    return data;
}

void Numpy_host::print(const char* text) noexcept
{
    try {
        const py::gil_scoped_acquire gil;
        // Keeps a pending exception (an interrupt being reported) as it is.
        PySys_WriteStdout("%s", text);
    } catch (...) {
    }
}

void Numpy_host::report_out_of_bounds(const char* line) noexcept
{
    try {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        warnings.push_back(std::move(text));
    } catch (...) {
        // Out of memory for a line: the call goes on without it.
    }
}

bool Numpy_host::interrupt_pending() noexcept
{
    if (interrupted_)
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_poll_)
        return false;
    next_poll_ = now + poll_interval();
    try {
        const py::gil_scoped_acquire gil;
        interrupted_ = PyErr_CheckSignals() != 0;
    } catch (...) {
    }
    return interrupted_;
}

void Numpy_host::report_progress(const char*, double fraction, double seconds_left) noexcept
{
    try {
        const py::gil_scoped_acquire gil;
        if (!progress.is_none())
            progress(fraction, seconds_left);
    } catch (...) {
    }
}

void Numpy_host::run_work(Function_ref<void()> work)
{
    const py::gil_scoped_release unlocked;
    work();
}

}  // namespace velk::python
