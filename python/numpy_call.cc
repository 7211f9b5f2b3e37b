#include "numpy_call.h"

#include "numpy_host.h"
#include "workers.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstring>
#include <string>
#include <vector>

namespace py = pybind11;

namespace velk::python {
namespace {

// The view of argument `position` (from 1), which `keep` holds on to for
// the length of the call.
Arg view(const py::handle& object, int position, bool in_place, py::object& keep)
{
    Arg arg;
    if (py::isinstance<py::str>(object)) {
        keep = py::reinterpret_borrow<py::object>(object);
        Py_ssize_t length = 0;
        const char* text = PyUnicode_AsUTF8AndSize(keep.ptr(), &length);
        if (!text)
            throw py::error_already_set();
        arg.kind = Arg::Kind::text;
        arg.rows = 1;
        arg.cols = static_cast<std::size_t>(length);
        arg.text = {text, static_cast<std::size_t>(length)};
        return arg;
    }
    auto array = py::reinterpret_borrow<py::array>(object);
    if (!py::isinstance<py::array_t<double>>(object) || array.ndim() > 2 ||
        !(array.flags() & py::array::f_style))
        throw py::type_error("argument " + std::to_string(position) +
                             " must be a str or a Fortran-ordered float64 array of at most 2 "
                             "dimensions");
    keep = array;
    arg.kind = Arg::Kind::real_double;
    arg.rows = array.ndim() > 0 ? static_cast<std::size_t>(array.shape(0)) : 1;
    arg.cols = array.ndim() > 1 ? static_cast<std::size_t>(array.shape(1)) : 1;
    arg.data = static_cast<const double*>(array.data());
    if (in_place) {
        if (!array.writeable())
            throw py::value_error("argument " + std::to_string(position) +
                                  " must be a writable array");
        arg.writable_data = static_cast<double*>(array.mutable_data());
    }
    return arg;
}

bool is_scheme_fault(const char* message)
{
    for (const char* fault : {records_alloc_fault, handles_alloc_fault, create_fault, join_fault})
        if (std::strcmp(message, fault) == 0)
            return true;
    return false;
}

// The module's message as a Python exception's: without the console's newline.
std::string message_of(const char* text)
{
    std::string message(text);
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    return message;
}

}  // namespace

py::tuple call(Gateway gateway, const py::sequence& args, int n_results, int in_place)
{
    const std::size_t n = args.size();
    std::vector<py::object> kept(n);
    std::vector<Arg> views(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int position = static_cast<int>(i) + 1;
        views[i] = view(args[i], position, position == in_place, kept[i]);
    }

    Numpy_host host;
    try {
        Call call(views, n_results, host);
        gateway(call);
    } catch (const Call_failed& failure) {
        if (failure.interrupted()) {
            if (!PyErr_Occurred())
                PyErr_SetNone(PyExc_KeyboardInterrupt);
            throw py::error_already_set();
        }
        if (!*failure.what() && !host.stop_line.empty())
            throw py::value_error(host.stop_line);
        if (is_scheme_fault(failure.what()))
            throw std::runtime_error(message_of(failure.what()));
        throw py::value_error(message_of(failure.what()));
    }
    return py::make_tuple(py::tuple(py::cast(host.results)), py::cast(host.warnings));
}

}  // namespace velk::python
