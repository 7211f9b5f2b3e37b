// velk._core: one function per module of modules.def, each calling the
// module's gateway through the Python adaptor (numpy_call.h). The package's
// functions (velk/__init__.py) are the interface; these take prepared
// arguments.
#include "modules.h"
#include "numpy_call.h"

#include <utility>

namespace py = pybind11;

PYBIND11_MODULE(_core, m)
{
    m.doc() = "The modules' gateways over NumPy arrays; use the functions of velk instead.";
    m.attr("__version__") = VELK_VERSION;
    velk::python::failure_type() = py::exception<velk::Call_failed>(m, "Failure").inc_ref().ptr();

    const std::pair<const char*, velk::Gateway> gateways[] = {
#define VELK_MODULE(name, folder, python_name, category, exports) {#name, velk::name##_gateway},
#include "modules.def"
#undef VELK_MODULE
    };
    py::list names;
    for (const auto& [name, gateway] : gateways) {
        m.def(
            name,
            [gateway](const py::sequence& args, int n_results, int in_place,
                      const py::object& progress) {
                return velk::python::call(gateway, args, n_results, in_place, progress);
            },
            py::arg("args"), py::arg("n_results"), py::arg("in_place") = 0,
            py::arg("progress") = py::none(),
            "(results, warnings) of the module called with args (see numpy_call.h).");
        names.append(name);
    }
    m.attr("modules") = py::tuple(names);
}
