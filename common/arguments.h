// Helpers that test an argument and read it in one step. Each makes its
// tests in this order: the shape, the class (a real, full double array, or
// text for a keyword), the host's sizes (each within the int range), then
// the value it reads; the first that fails ends the call (refuse()) with a
// message that names the argument's position. A message given by the
// caller is a printf format that may take the position as its one %d.
//
// Typical use in a gateway:
//     const Points points = observation_points(call, 1);
//     const double a = scalar(call, 2);
//     const Sampling sampling = velk::sampling(call, 3);
#pragma once

#include "call.h"
#include "function_ref.h"
#include "time_axis.h"

#include <initializer_list>
#include <span>
#include <string_view>

namespace velk {

inline constexpr const char* not_a_scalar = "Argument %d must be a scalar!";
inline constexpr const char* not_a_pair = "Argument %d must be a vector of length 2!";
inline constexpr const char* not_per_point =
    "Argument %d must be a scalar or a vector with a length equal to the number of observation "
    "points!";

// The first checks of every gateway: the number of arguments is one of
// `n_args`, else the call is refused with `wrong_args`; then at most
// `max_results` results are asked for, else `too_many_results`.
void check_counts(const Call& call, std::initializer_list<int> n_args, const char* wrong_args,
                  int max_results, const char* too_many_results);

// A size the kernels count with: `size` as an int, or the end of the call
// with `message` when it lies beyond the int range.
int narrow_size(std::size_t size, const char* message, int position);

// Any real, full double matrix, its sizes within the int range.
struct Matrix {
    int rows;
    int cols;
    const double* data;
};
Matrix matrix(const Call& call, int position);
// The same for a value inside argument `position` (a field or an element).
Matrix matrix(const Arg& arg, int position);

// The same for the destination of an in-place module, which the call writes.
struct Target {
    int rows;
    int cols;
    double* data;
};
Target in_place_matrix(const Call& call, int position);

// The element of a 1 x 1 argument.
double scalar(const Call& call, int position, const char* not_scalar = not_a_scalar);
// The same for a value inside argument `position` (an element of a cell).
double scalar(const Arg& arg, int position, const char* not_scalar = not_a_scalar);

// The n elements of a value inside argument `position` (an element of a
// cell) that holds exactly n of them, in any shape, column by column.
const double* values(const Arg& arg, int position, int n, const char* wrong_count);

// The two elements of a 1 x 2 or 2 x 1 argument.
struct Pair {
    double first;
    double second;
};
Pair pair(const Call& call, int position, const char* not_pair = not_a_pair);

// [dt nt]: the sampling period in us and the number of samples, truncated
// toward zero. A count below `min_samples`, beyond the int range or not a
// number is refused.
Sampling sampling(const Call& call, int position, int min_samples = 0);

// One value for every point, or one per point read in column-major order
// whatever the argument's shape.
class Per_point {
public:
    Per_point() = default;
    Per_point(const double* data, bool single) : data_(data), single_(single) {}
    double operator[](int i) const { return single_ ? data_[0] : data_[i]; }
    bool is_single() const { return single_; }
    const double* data() const { return data_; }

private:
    const double* data_ = nullptr;
    bool single_ = true;
};
Per_point per_point(const Call& call, int position, int n_points,
                    const char* wrong_length = not_per_point);

// A whole number from a 1 x 1 argument: its element truncated toward zero
// (not a number, infinite or beyond the int range reads as INT_MIN),
// refused with `below_minimum` when it is less than `minimum`.
int count(const Call& call, int position, int minimum, const char* below_minimum);

// The CPU count of a threaded module: a count of at least 1.
int cpu_count(const Call& call, int position);

// No x 3 observation points in mm; x, y and z of point i are x[i], y[i],
// z[i]. A matrix with rows but fewer than 3 columns is refused (its rows
// would have no y or z); columns past the third are not read.
struct Points {
    int count;
    const double* x;
    const double* y;
    const double* z;
};
Points observation_points(const Call& call, int position);

// The position in `keywords` of the one that the whole text of the argument
// equals, case included. Refuses an argument that is not text with
// "Argument %d must be a string", and text that equals no keyword with
// `unknown`.
int keyword(const Call& call, int position, std::initializer_list<std::string_view> keywords,
            const char* unknown);

// An option: a keyword alone ("off"), or a cell of a keyword and its values
// ({"x", 30}, {"xy", 10, 20}). A form is a keyword with the number of values
// that must follow it (0: the keyword alone, as text or as a cell of one).
struct Option_form {
    std::string_view keyword;
    int n_values;
};
struct Option {
    int form;                     // its position in the forms
    std::span<const Arg> values;  // the values after the keyword
};
// Refuses, with `wrong`, an argument that matches none of `forms` (not text,
// not a cell beginning with text, an unknown keyword, a keyword with the
// wrong number of values); the values themselves are read by the caller
// (scalar(), values()) with the argument's position.
Option option(const Call& call, int position, std::initializer_list<Option_form> forms,
              const char* wrong);

// A struct of options, the last argument of a call at `position`: each of
// its fields in order, given to read_field(name, value), which refuses an
// unknown name; nothing when the call has no argument there. Refuses
// another kind with "Argument %d must be a struct of options!".
void read_options(const Call& call, int position,
                  Function_ref<void(std::string_view, const Arg&)> read_field);

// The field threads of an options struct at `position`: a count of 1 or
// more.
int threads_option(const Arg& value, int position);

}  // namespace velk
