// Argument helpers shared by the gateways: the host's arrays seen as sizes and
// doubles, and the common arguments (observation points, sampling vector,
// per-point values, keywords) read the one way every module reads them.
//
// Each helper that can refuse an argument ends the call through the host with
// a message that names the argument's position.
#pragma once

#include "mex.h"
#include "shape.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace velk {

inline Dims dims(const mxArray* a) { return {mxGetM(a), mxGetN(a)}; }

// Ends the call unless `a` is a full, real double array, the only storage the
// kernels can read as doubles.
void require_real_double(const mxArray* a, int position);

// No x 3 observation points in mm; x, y and z of point i are x[i], y[i], z[i].
struct Points {
    std::size_t count;
    const double* x;
    const double* y;
    const double* z;
};

// Reads the observation matrix. Refuses a non-double array, and a matrix with
// rows but fewer than 3 columns (its rows would have no y or z); columns past
// the third are not read.
Points observation_points(const mxArray* a, int position);

// [dt nt]: the sampling period in us and the number of samples, truncated
// toward zero. Call after the vector-of-length-2 test. A count that is
// negative, not a number or beyond the int range is refused: it can only be
// a mistake, and no matrix can have that many rows.
struct Sampling {
    double dt;
    int nt;
};
Sampling sampling(const mxArray* a, int position);

// One value for every point, or one value per point read in column-major
// order whatever the argument's shape. Call after the scalar-or-per-point test.
class Per_point {
public:
    explicit Per_point(const mxArray* a)
        : data_(mxGetPr(a)), single_(mxGetM(a) * mxGetN(a) == 1) {}
    double operator[](std::size_t i) const { return single_ ? data_[0] : data_[i]; }
    bool is_single() const { return single_; }
    const double* data() const { return data_; }

private:
    const double* data_;
    bool single_;
};

// The first element truncated toward zero (NaN, infinities and values beyond
// the int range give INT_MIN). Call after the class test.
int scalar_int(const mxArray* a);

// Keyword arguments: the position in `keywords` of the first keyword that
// the whole text of `a` equals, case included; `not_text` when `a` is not a
// character array and `no_keyword` when no keyword equals its text.
inline constexpr int not_text = -1;
inline constexpr int no_keyword = -2;
int match_keyword(const mxArray* a, std::initializer_list<std::string_view> keywords);

// Creates a rows x cols zero matrix in result slot `slot` and returns its data.
double* create_result(mxArray*& slot, std::size_t rows, std::size_t cols);

}  // namespace velk
