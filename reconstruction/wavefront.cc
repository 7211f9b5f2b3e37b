#include "wavefront.h"

#include <algorithm>

namespace velk {

double fire_times(Wavefront& wave, const double* x, const double* y, const double* z,
                  std::size_t n, double cp, double* fire)
{
    wave.t0 = 0.0;
    double earliest = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = arrival(wave, x[i], y[i], z[i], cp);
        earliest = i == 0 ? t : std::min(earliest, t);
    }
    wave.t0 = -earliest;
    for (std::size_t i = 0; i < n; ++i)
        fire[i] = arrival(wave, x[i], y[i], z[i], cp);
    return wave.t0;
}

}  // namespace velk
