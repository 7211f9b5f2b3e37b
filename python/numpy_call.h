// The adaptor of the Python host: a module's gateway called with NumPy
// arrays and texts, its results returned as NumPy arrays, its failures
// raised as one Python exception that the package turns into the caller's
// (velk/_call.py).
//
// The package's Python functions turn their arguments into what the call
// takes (velk/_arguments.py), so the gateway sees each as Octave would: a
// float64 array in Fortran order of shape (rows, cols) (1-D: (n, 1), 0-D:
// 1 x 1), a str, a tuple (a 1 x n cell of such values) or a dict with str
// keys (a 1 x 1 structure).
#pragma once

#include "call.h"

#include <pybind11/pybind11.h>

namespace velk::python {

// The exception a failed call raises: Failure(kind, position, message), kind
// one of "refused", "wrong_class", "resources", "out_of_bounds", position the
// argument counted from 1 (0: none), message the module's (without the
// console's newline). Registered by the extension (core_module.cc), which
// keeps a reference to it for the life of the process.
PyObject*& failure_type();

// Runs `gateway` on `args` with `n_results` results asked for; argument
// `in_place` (counted from 1, 0 for none) is the array the call writes.
// Returns (results, warnings): the results the call created, each a
// C-ordered array whose row i is column i of the module's result, and the
// out-of-bounds lines reported under "warn". The interpreter lock is given
// up while the work runs.
//
// Raises: KeyboardInterrupt (or whatever a Python signal handler raised)
// when interrupted, once every worker has ended; Failure for every other way
// the call ended early; TypeError for an argument of another kind than the
// above.
// `progress`: None, or a callable progress(fraction, seconds_left) that a
// long call asked to show its progress calls now and then (and with 1 at
// the end) on the calling thread.
pybind11::tuple call(Gateway gateway, const pybind11::sequence& args, int n_results, int in_place,
                     const pybind11::object& progress);

}  // namespace velk::python
