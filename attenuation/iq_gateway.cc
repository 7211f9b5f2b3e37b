// Q = iq(X, [fd bandwidth], [dt delay])
#include "modules.h"

#include "analytic.h"
#include "arguments.h"

#include <cmath>

namespace velk {

void iq_gateway(Call& call)
{
    check_counts(call, {3}, "iq requires 3 input arguments!", 1,
                 "Too many output arguments for iq!");
    const Matrix X = matrix(call, 1);
    const auto [fd, bandwidth] = pair(call, 2);
    if (!(std::isfinite(fd) && std::isfinite(bandwidth) && bandwidth > 0.0))
        refuse(2, "Argument 2 must hold a finite demodulation frequency and a finite bandwidth "
                  "above 0 (MHz)!");
    const auto [dt, delay] = pair(call, 3);
    if (!(std::isfinite(dt) && dt > 0.0 && std::isfinite(delay)))
        refuse(3, "Argument 3 must hold a finite sampling period above 0 and a finite delay (us)!");

    double* Q = call.create_complex_result(0, X.rows, X.cols);
    call.run([&] {
        if (!analytic_columns(X.data, std::size_t(X.rows), std::size_t(X.cols), dt,
                              {false, fd, bandwidth}, Q))
            fail_resources("Cannot allocate the transforms of %d samples!", X.rows);
        mix_down(Q, std::size_t(X.rows), std::size_t(X.cols), fd, dt, delay);
    });
}

}  // namespace velk
