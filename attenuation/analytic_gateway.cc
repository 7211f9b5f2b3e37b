// Y = analytic(X)
#include "modules.h"

#include "analytic.h"
#include "arguments.h"

namespace velk {

void analytic_gateway(Call& call)
{
    check_counts(call, {1}, "analytic requires 1 input argument!", 1,
                 "Too many output arguments for analytic!");
    const Matrix X = matrix(call, 1);
    double* Y = call.create_complex_result(0, X.rows, X.cols);
    call.run([&] {
        if (!analytic_columns(X.data, std::size_t(X.rows), std::size_t(X.cols), 1.0, {}, Y))
            fail_resources("Cannot allocate the transforms of %d samples!", X.rows);
    });
}

}  // namespace velk
