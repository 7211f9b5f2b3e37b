// Y = fold_mt(A, B, n)            the convolution of every column of A
// fold_mt(A, B, n, Y)             written into Y with the current mode
// fold_mt(A, B, n, Y, mode)       after setting the mode: "=", "+=" or "-="
#include "modules.h"

#include "arguments.h"
#include "fold.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>

namespace velk {
namespace {
// Kept from one call to the next, as the in-place forms promise. A call
// reads it once, so calls running at once each use the mode they set or
// found.
std::atomic<int> kept_mode{fold_assign};
}  // namespace

void fold_mt_gateway(Call& call)
{
    int mode = kept_mode.load();
    switch (call.n_args()) {
    case 3:
        if (call.n_results() > 1)
            refuse(0, "Too many output arguments for fold_mt!");
        break;
    case 5:
        // The mode is set first, so a call that fails a later check has
        // still changed it. A fifth argument that is not text leaves it.
        if (call.arg(5).kind == Arg::Kind::text) {
            mode = keyword(call, 5, {"=", "+=", "-="}, "Non-valid string in arg 5!");
            kept_mode.store(mode);
        }
        [[fallthrough]];
    case 4:
        if (call.n_results() > 0)
            refuse(0, "No output arguments required for fold_mt in in-place operating mode!");
        if (call.arg(4).kind == Arg::Kind::text)
            refuse_class(4, "Arg 4 must be a matrix (not a string)");
        break;
    default:
        refuse(0, "fold_mt requires 3 to 5 input arguments!");
    }

    const Matrix A = matrix(call, 1);
    const Matrix B = matrix(call, 2);
    // A single row is always one filter, also when its length equals N.
    int K = B.rows, L = B.cols;
    if (K == 1) {
        K = L;
        L = 1;
    } else if (L != 1 && L != A.cols) {
        refuse(2, "Argument 2 must be a vector or have as many columns as argument 1!");
    }
    const std::int64_t result_rows = std::int64_t{A.rows} + K - 1;
    if (result_rows > INT_MAX)
        refuse(2, "Argument 2 makes the result's columns longer than 2147483647 samples!");
    const int n = cpu_count(call, 3);

    const bool in_place = call.n_args() > 3;
    double* Y;
    if (!in_place) {
        // With no samples and no filter taps the result has no rows rather than
        // -1. The convolution writes every sample of a result it does not add to.
        const int rows = static_cast<int>(std::max<std::int64_t>(result_rows, 0));
        Y = call.create_unfilled_result(0, rows, A.cols);
    } else {
        const Target target = in_place_matrix(call, 4);
        if (target.rows != result_rows)
            refuse(4, "Wrong number of rows in argument 4!");
        if (target.cols != A.cols)
            refuse(4, "Wrong number of columns in argument 4!");
        Y = target.data;
    }

    const Fold_job job{A.data, A.rows, A.cols, B.data, K, L, Y, in_place, mode};
    fold_mt_run(call.host(), job, std::min(n, A.cols));
}

}  // namespace velk
