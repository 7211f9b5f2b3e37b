#include "numpy_call.h"

#include "numpy_host.h"

#include <pybind11/complex.h>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <complex>
#include <deque>
#include <string>
#include <vector>

namespace py = pybind11;

namespace velk::python {
namespace {

// The views of one call's arguments and what they point into: the Python
// objects (held for the length of the call) and the elements of cells and
// structures (deques, so that what a view points to never moves).
class Views {
public:
    // The view of `object`, argument `position` (from 1) or part of it.
    Arg view(const py::handle& object, int position, bool in_place)
    {
        kept_.push_back(py::reinterpret_borrow<py::object>(object));
        Arg arg;
        if (py::isinstance<py::str>(object)) {
            Py_ssize_t length = 0;
            const char* text = PyUnicode_AsUTF8AndSize(object.ptr(), &length);
            if (!text)
                throw py::error_already_set();
            arg.kind = Arg::Kind::text;
            arg.rows = 1;
            arg.cols = static_cast<std::size_t>(length);
            arg.text = {text, static_cast<std::size_t>(length)};
            return arg;
        }
        if (py::isinstance<py::tuple>(object)) {
            const auto items = py::reinterpret_borrow<py::tuple>(object);
            std::vector<Arg>& elements = elements_.emplace_back(items.size());
            for (std::size_t i = 0; i < items.size(); ++i)
                elements[i] = view(items[i], position, false);
            arg.kind = Arg::Kind::cell;
            arg.rows = 1;
            arg.cols = elements.size();
            arg.elements = elements;
            return arg;
        }
        if (py::isinstance<py::dict>(object)) {
            const auto fields = py::reinterpret_borrow<py::dict>(object);
            std::vector<Arg>& values = elements_.emplace_back();
            std::vector<std::string_view>& names = names_.emplace_back();
            values.reserve(fields.size());
            for (const auto& [key, value] : fields) {
                names.emplace_back(texts_.emplace_back(py::cast<std::string>(key)));
                values.push_back(view(value, position, false));
            }
            arg.kind = Arg::Kind::structure;
            arg.rows = arg.cols = 1;
            arg.elements = values;
            arg.field_names = names;
            return arg;
        }
        auto array = py::reinterpret_borrow<py::array>(object);
        const bool numeric = py::isinstance<py::array_t<double>>(object) ||
                             py::isinstance<py::array_t<float>>(object) ||
                             py::isinstance<py::array_t<std::complex<double>>>(object) ||
                             py::isinstance<py::array_t<std::complex<float>>>(object);
        if (!py::isinstance<py::array>(object) || !numeric || array.ndim() > 2 ||
            !(array.flags() & py::array::f_style))
            throw py::type_error("argument " + std::to_string(position) +
                                 " must be a str, a tuple, a dict or a Fortran-ordered float64, "
                                 "float32, complex128 or complex64 array of at most 2 dimensions");
        arg.rows = array.ndim() > 0 ? static_cast<std::size_t>(array.shape(0)) : 1;
        arg.cols = array.ndim() > 1 ? static_cast<std::size_t>(array.shape(1)) : 1;
        const char type = array.dtype().kind();
        const bool single = array.itemsize() == (type == 'c' ? 8 : 4);
        if (type == 'c') {
            arg.kind = single ? Arg::Kind::complex_single : Arg::Kind::complex_double;
        } else {
            arg.kind = single ? Arg::Kind::real_single : Arg::Kind::real_double;
        }
        if (single)
            arg.data_single = static_cast<const float*>(array.data());
        else
            arg.data = static_cast<const double*>(array.data());
        if (in_place && arg.kind == Arg::Kind::real_double) {
            if (!array.writeable())
                throw py::value_error("argument " + std::to_string(position) +
                                      " must be a writable array");
            arg.writable_data = static_cast<double*>(array.mutable_data());
        }
        return arg;
    }

private:
    std::vector<py::object> kept_;
    std::deque<std::string> texts_;
    std::deque<std::vector<Arg>> elements_;
    std::deque<std::vector<std::string_view>> names_;
};

const char* kind_name(Failure kind)
{
    switch (kind) {
    case Failure::refused:
        return "refused";
    case Failure::wrong_class:
        return "wrong_class";
    case Failure::resources:
        return "resources";
    case Failure::out_of_bounds:
        return "out_of_bounds";
    case Failure::interrupted:
        break;
    }
    return "interrupted";
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

PyObject*& failure_type()
{
    static PyObject* type = nullptr;
    return type;
}

py::tuple call(Gateway gateway, const py::sequence& args, int n_results, int in_place,
               const py::object& progress)
{
    Views views;
    std::vector<Arg> arg_views(args.size());
    for (std::size_t i = 0; i < arg_views.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        arg_views[i] = views.view(args[i], position, position == in_place);
    }

    Numpy_host host;
    host.progress = progress;
    try {
        Call call(arg_views, n_results, host);
        gateway(call);
    } catch (const Call_failed& failure) {
        if (failure.kind() == Failure::interrupted) {
            if (!PyErr_Occurred())
                PyErr_SetNone(PyExc_KeyboardInterrupt);
            throw py::error_already_set();
        }
        PyErr_SetObject(failure_type(),
                        py::make_tuple(kind_name(failure.kind()), failure.position(),
                                       message_of(failure.what()))
                            .ptr());
        throw py::error_already_set();
    }
    return py::make_tuple(py::tuple(py::cast(host.results)), py::cast(host.warnings));
}

}  // namespace velk::python
