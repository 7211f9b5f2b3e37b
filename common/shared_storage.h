// Inputs read while the same call writes into the caller's storage in place.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace velk {

// `input` (n elements) as a computation that writes the n_output elements
// at `output` must read it: the elements themselves, or, when they share
// storage with the output, a copy of them taken into `copy` first, so that
// no worker reads what another one writes and the result is that of the
// input as it was passed. Throws std::bad_alloc when the copy cannot be had.
inline const double* unshared(const double* input, std::size_t n, const double* output,
                              std::size_t n_output, std::vector<double>& copy)
{
    // Pointers into different arrays are ordered by std::less alone.
    const std::less<const double*> before;
    if (n == 0 || n_output == 0 || !before(input, output + n_output) || !before(output, input + n))
        return input;
    copy.assign(input, input + n);
    return copy.data();
}

}  // namespace velk
