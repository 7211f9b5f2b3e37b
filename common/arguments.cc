#include "arguments.h"

#include "to_int.h"

#include <algorithm>
#include <climits>

namespace velk {
namespace {

const Arg& real_double(const Arg& a, int position)
{
    if (a.kind != Arg::Kind::real_double)
        refuse_class(position, "Argument %d must be a real, full double array!", position);
    return a;
}

constexpr const char* too_large = "Argument %d must have at most 2147483647 rows and columns!";

// The class test, then the sizes.
Matrix checked_matrix(const Arg& arg, int position)
{
    const Arg& a = real_double(arg, position);
    return {narrow_size(a.rows, too_large, position), narrow_size(a.cols, too_large, position),
            a.data};
}

const double* shaped(const Arg& arg, int position, bool shape_fits, const char* wrong_shape)
{
    if (!shape_fits)
        refuse(position, wrong_shape, position);
    return checked_matrix(arg, position).data;
}

}  // namespace

void check_counts(const Call& call, std::initializer_list<int> n_args, const char* wrong_args,
                  int max_results, const char* too_many_results)
{
    if (std::find(n_args.begin(), n_args.end(), call.n_args()) == n_args.end())
        refuse(0, "%s", wrong_args);
    if (call.n_results() > max_results)
        refuse(0, "%s", too_many_results);
}

int narrow_size(std::size_t size, const char* message, int position)
{
    if (size > static_cast<std::size_t>(INT_MAX))
        refuse(position, message, position);
    return static_cast<int>(size);
}

Matrix matrix(const Call& call, int position) { return checked_matrix(call.arg(position), position); }

Matrix matrix(const Arg& arg, int position) { return checked_matrix(arg, position); }

Target in_place_matrix(const Call& call, int position)
{
    const Arg& a = real_double(call.arg(position), position);
    if (!a.writable_data)
        refuse(position, "Argument %d must be an array the call can write in place!", position);
    const Matrix m = checked_matrix(a, position);
    return {m.rows, m.cols, a.writable_data};
}

double scalar(const Arg& arg, int position, const char* not_scalar)
{
    return shaped(arg, position, is_scalar(arg.dims()), not_scalar)[0];
}

double scalar(const Call& call, int position, const char* not_scalar)
{
    return scalar(call.arg(position), position, not_scalar);
}

Pair pair(const Call& call, int position, const char* not_pair)
{
    const Arg& a = call.arg(position);
    const double* v = shaped(a, position, is_vector2(a.dims()), not_pair);
    return {v[0], v[1]};
}

const double* values(const Arg& arg, int position, int n, const char* wrong_count)
{
    return shaped(arg, position, arg.dims().count() == static_cast<std::size_t>(n), wrong_count);
}

Sampling sampling(const Call& call, int position, int min_samples)
{
    const Pair p = pair(call, position);
    const int nt = trunc_to_int(p.second);
    if (nt < min_samples)
        refuse(position, "Argument %d must hold a number of samples from %d to 2147483647!",
               position, min_samples);
    return {p.first, nt};
}

Per_point per_point(const Call& call, int position, int n_points, const char* wrong_length)
{
    const Arg& a = call.arg(position);
    const double* data = shaped(
        a, position, is_scalar_or_per_point(a.dims(), static_cast<std::size_t>(n_points)),
        wrong_length);
    return {data, a.dims().count() == 1};
}

int count(const Call& call, int position, int minimum, const char* below_minimum)
{
    const int n = trunc_to_int(scalar(call, position));
    if (n < minimum)
        refuse(position, below_minimum, position);
    return n;
}

int cpu_count(const Call& call, int position)
{
    return count(call, position, 1,
                 "Argument %d must be larger or equal to 1 (min number of CPUs)!");
}

Points observation_points(const Call& call, int position)
{
    const Matrix m = checked_matrix(call.arg(position), position);
    if (m.rows > 0 && m.cols < 3)
        refuse(position, "Argument %d must have 3 columns (x, y, z in mm)!", position);
    if (m.rows == 0)
        return {0, nullptr, nullptr, nullptr};
    return {m.rows, m.data, m.data + m.rows, m.data + 2 * static_cast<std::size_t>(m.rows)};
}

namespace {

// The position of `text` in `keywords`, or -1.
int index_of(std::string_view text, std::initializer_list<std::string_view> keywords)
{
    int index = 0;
    for (std::string_view k : keywords) {
        if (text == k)
            return index;
        ++index;
    }
    return -1;
}

}  // namespace

int keyword(const Call& call, int position, std::initializer_list<std::string_view> keywords,
            const char* unknown)
{
    const Arg& a = call.arg(position);
    if (a.kind != Arg::Kind::text)
        refuse_class(position, "Argument %d must be a string", position);
    const int index = index_of(a.text, keywords);
    if (index < 0)
        refuse(position, unknown, position);
    return index;
}

Option option(const Call& call, int position,
              std::initializer_list<Option_form> forms, const char* wrong)
{
    const Arg& a = call.arg(position);
    const bool in_cell = a.kind == Arg::Kind::cell && !a.elements.empty() &&
                         a.elements[0].kind == Arg::Kind::text;
    if (a.kind != Arg::Kind::text && !in_cell)
        refuse(position, wrong, position);
    const std::string_view text = in_cell ? a.elements[0].text : a.text;
    const std::span<const Arg> values = in_cell ? a.elements.subspan(1) : std::span<const Arg>();
    int index = 0;
    for (const Option_form& form : forms) {
        if (form.keyword == text && static_cast<int>(values.size()) == form.n_values)
            return {index, values};
        ++index;
    }
    refuse(position, wrong, position);
}

void read_options(const Call& call, int position,
                  Function_ref<void(std::string_view, const Arg&)> read_field)
{
    if (call.n_args() < position)
        return;
    const Arg& s = call.arg(position);
    if (s.kind != Arg::Kind::structure)
        refuse(position, "Argument %d must be a struct of options!", position);
    for (std::size_t f = 0; f < s.field_names.size(); ++f)
        read_field(s.field_names[f], s.elements[f]);
}

int threads_option(const Arg& value, int position)
{
    const int n = trunc_to_int(scalar(value, position, "Argument %d: threads must be a scalar!"));
    if (n < 1)
        refuse(position, "Argument %d: threads must be 1 or more!", position);
    return n;
}

}  // namespace velk
