// velk._core: one function per module, each calling the module's gateway
// through the Python adaptor (numpy_call.h). The package's functions
// (velk/__init__.py) are the interface; these take prepared arguments.
#include "numpy_call.h"

#include "discwave_avg_gateway.h"
#include "discwave_gateway.h"
#include "echofocus_gateway.h"
#include "echofocus_mt_gateway.h"
#include "fold_mt_gateway.h"
#include "lagsum_gateway.h"
#include "paste_mt_gateway.h"
#include "platewave_gateway.h"
#include "velk_damp_gateway.h"
#include "velk_taper_gateway.h"

#include <utility>

namespace py = pybind11;

PYBIND11_MODULE(_core, m)
{
    m.doc() = "The modules' gateways over NumPy arrays; use the functions of velk instead.";
    m.attr("__version__") = VELK_VERSION;

    const std::pair<const char*, velk::Gateway> gateways[] = {
        {"discwave", velk::discwave_gateway},
        {"platewave", velk::platewave_gateway},
        {"discwave_avg", velk::discwave_avg_gateway},
        {"fold_mt", velk::fold_mt_gateway},
        {"paste_mt", velk::paste_mt_gateway},
        {"velk_damp", velk::velk_damp_gateway},
        {"lagsum", velk::lagsum_gateway},
        {"echofocus", velk::echofocus_gateway},
        {"echofocus_mt", velk::echofocus_mt_gateway},
        {"velk_taper", velk::velk_taper_gateway},
    };
    for (const auto& [name, gateway] : gateways)
        m.def(
            name,
            [gateway](const py::sequence& args, int n_results, int in_place) {
                return velk::python::call(gateway, args, n_results, in_place);
            },
            py::arg("args"), py::arg("n_results"), py::arg("in_place") = 0,
            "(results, warnings) of the module called with args (see numpy_call.h).");
}
