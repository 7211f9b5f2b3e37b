#include "focus_arguments.h"

#include <cmath>

namespace velk {

Focus_arguments focus_arguments(const Call& call)
{
    const Matrix scans = matrix(call, 1);

    const Dims positions = call.arg(2).dims();
    if (positions.rows != std::size_t(scans.cols) || positions.cols != 3)
        refuse(2, "Arg 2 must be a (number of transducer positions) x 3 matrix!");
    const double* position_data = matrix(call, 2).data;

    const Per_point delays = per_point(call, 3, scans.cols,
                                       "Argument 3 (delay(s)) must be a scalar or a vector with a "
                                       "length equal to the number of A-scans!");
    const double dt = scalar(call, 4, "Argument 4 (temporal sampling period) must be a scalar");
    const double cp = scalar(call, 5, "Argument 5 (sound speed) must be a scalar!");
    const Points points = observation_points(call, 6);
    const double a = scalar(call, 7);
    // NaN would pass every aperture test (no comparison with it is true).
    if (std::isnan(a))
        refuse(7, "Argument 7 (aperture width) must be a number!");

    return {{scans.data, std::size_t(scans.rows), std::size_t(scans.cols), position_data,
             delays.data(), !delays.is_single(), dt, cp, lateral_limit(a)},
            points};
}

}  // namespace velk
