#include "lagsum.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// Keeps the rounding inside the range where llrint is defined; every index
// this far out is reported with a saturated offset anyway.
constexpr double index_limit = 4611686018427387904.0;  // 2^62

int saturate(std::int64_t offset)
{
    if (offset > INT_MAX)
        return INT_MAX;
    if (offset < INT_MIN)
        return INT_MIN;
    return static_cast<int>(offset);
}

}  // namespace

int lagsum(double x, double y, double z, double dt, int nt, double delay, double cp, double* h)
{
    for (int k = 0; k < nt; ++k)
        h[k] = 0.0;

    const double d = std::sqrt(x * x + y * y + z * z);
    const double q = (d * 1000.0 / cp - delay) / dt;
    if (std::isnan(q))
        return INT_MIN;
    const std::int64_t k = std::llrint(std::fmax(-index_limit, std::fmin(q, index_limit)));

    if (k >= 0 && k < nt) {
        h[k] += 1.0;
        return 0;
    }
    if (k >= 0)
        return saturate(k - nt + 1);
    return saturate(k);
}
