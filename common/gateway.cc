#include "gateway.h"

#include "to_int.h"

#include <cstdio>
#include <cstdlib>

namespace velk {
namespace {

// Messages are formatted into the caller's frame: the host may abandon the
// call without running destructors, so nothing here may own memory.
[[noreturn]] void fail(const char* format, int position)
{
    char message[160];
    std::snprintf(message, sizeof message, format, position);
    mexErrMsgTxt(message);
    std::abort();
}

}  // namespace

void require_real_double(const mxArray* a, int position)
{
    if (!mxIsDouble(a) || mxIsComplex(a) || mxIsSparse(a))
        fail("Argument %d must be a real, full double array!", position);
}

Points observation_points(const mxArray* a, int position)
{
    require_real_double(a, position);
    const Dims d = dims(a);
    if (d.rows > 0 && d.cols < 3)
        fail("Argument %d must have 3 columns (x, y, z in mm)!", position);
    const double* data = mxGetPr(a);
    if (d.rows == 0)
        return {0, nullptr, nullptr, nullptr};
    return {d.rows, data, data + d.rows, data + 2 * d.rows};
}

Sampling sampling(const mxArray* a, int position)
{
    require_real_double(a, position);
    const double* data = mxGetPr(a);
    const int nt = trunc_to_int(data[1]);
    if (nt < 0)
        fail("Argument %d must hold a number of samples from 0 to 2147483647!", position);
    return {data[0], nt};
}

int scalar_int(const mxArray* a) { return trunc_to_int(mxGetScalar(a)); }

int match_keyword(const mxArray* a, std::initializer_list<std::string_view> keywords)
{
    if (!mxIsChar(a))
        return not_text;
    // A text longer than every keyword equals none of them, so the text is
    // fetched only when it fits the buffer: M x N characters and the NUL.
    constexpr std::size_t capacity = 32;
    const std::size_t length = mxGetM(a) * mxGetN(a);
    if (length >= capacity)
        return no_keyword;
    char buffer[capacity] = {};
    mxGetString(a, buffer, static_cast<mwSize>(length + 1));
    // The whole text counts, so a keyword followed by a NUL is not the keyword.
    const std::string_view text(buffer, length);
    int position = 0;
    for (std::string_view keyword : keywords) {
        if (text == keyword)
            return position;
        ++position;
    }
    return no_keyword;
}

double* create_result(mxArray*& slot, std::size_t rows, std::size_t cols)
{
    slot = mxCreateDoubleMatrix(rows, cols, mxREAL);
    return mxGetPr(slot);
}

}  // namespace velk
