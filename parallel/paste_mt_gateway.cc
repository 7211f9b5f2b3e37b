// paste_mt(Y, [r1 r2], [c1 c2], S, n): S written into rows r1..r2 and columns
// c1..c2 of Y, in Y's own storage.
#include "modules.h"

#include "arguments.h"
#include "paste.h"
#include "to_int.h"

#include <algorithm>
#include <cstdint>

namespace velk {

void paste_mt_gateway(Call& call)
{
    check_counts(call, {5}, "paste_mt requires 5 input arguments!", 0,
                 "Too many output arguments for paste_mt, none required!");
    const Target Y = in_place_matrix(call, 1);

    const auto [r1, r2] = pair(call, 2, "Argument %d must be a 2 element vector!");
    if (trunc_to_int(r1) < 1 || trunc_to_int(r2) < 1)
        refuse(2, "Argument 2 must hold row numbers of at least 1!");
    if (trunc_to_int(r1) > Y.rows || trunc_to_int(r2) > Y.rows)
        refuse(2, "One element of argument 2 exceeds row dimension of arg 1!");

    const auto [c1, c2] = pair(call, 3, "Argument %d must be a 2 element vector!");
    if (trunc_to_int(c1) < 1 || trunc_to_int(c2) < 1)
        refuse(3, "Argument 3 must hold column numbers of at least 1!");
    if (trunc_to_int(c1) > Y.cols || trunc_to_int(c2) > Y.cols)
        refuse(3, "One element of argument 3 exceeds colomn dimension of arg 1!");

    // One row count serves the checks and the copy, so the copy can never take
    // more rows than were checked. The block is also checked against Y as it
    // will be written: r2 - r1 + 1 may round up to the next whole row.
    const int row0 = trunc_to_int(r1 - 1);
    const int col0 = trunc_to_int(c1 - 1);
    const int nrows = trunc_to_int(r2 - r1 + 1);
    if (nrows < 0)
        refuse(2, "Argument 2 must not give a negative number of rows!");
    if (std::int64_t{row0} + nrows > Y.rows)
        refuse(2, "One element of argument 2 exceeds row dimension of arg 1!");

    const Matrix S = matrix(call, 4);
    if (S.rows < nrows)
        refuse(4, "Argument 4 has not the number of rows as given by arg 2!");
    if (trunc_to_int(c2 - c1) + 1 != S.cols)
        refuse(4, "Argument 4 has not the number of columns as given by arg 3!");
    if (std::int64_t{col0} + S.cols > Y.cols)
        refuse(3, "One element of argument 3 exceeds colomn dimension of arg 1!");

    const int n = cpu_count(call, 5);

    const Paste_job job{Y.data, Y.rows, Y.cols, S.data, S.rows, S.cols, row0, col0, nrows};
    paste_mt_run(call.host(), job, std::min(n, S.cols));
}

}  // namespace velk
