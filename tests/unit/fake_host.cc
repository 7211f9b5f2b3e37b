#include "fake_host.h"

#include "mex.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace fake_host {
namespace {
std::string mex_console;
}

std::string take_console()
{
    std::string printed;
    printed.swap(mex_console);
    return printed;
}

double* Host::create_result(int slot, int rows, int cols)
{
    if (results.size() <= std::size_t(slot))
        results.resize(std::size_t(slot) + 1);
    results[std::size_t(slot)] = {rows, cols, std::vector<double>(std::size_t(rows) * cols)};
    return results[std::size_t(slot)].values.data();
}

double* Host::create_complex_result(int slot, int rows, int cols)
{
    if (results.size() <= std::size_t(slot))
        results.resize(std::size_t(slot) + 1);
    results[std::size_t(slot)] = {rows, cols, std::vector<double>(2 * std::size_t(rows) * cols)};
    return results[std::size_t(slot)].values.data();
}

double* Host::create_unfilled_result(int slot, int rows, int cols)
{
    double* values = create_result(slot, rows, cols);
    std::fill_n(values, std::size_t(rows) * cols, std::numeric_limits<double>::quiet_NaN());
    return values;
}

Args& Args::matrix(std::size_t rows, std::size_t cols, std::vector<double> values)
{
    velk::Arg a;
    a.kind = velk::Arg::Kind::real_double;
    a.rows = rows;
    a.cols = cols;
    values_.push_back(std::move(values));
    entries_.push_back({a, static_cast<int>(values_.size()) - 1});
    return *this;
}

Args& Args::text(std::string text)
{
    velk::Arg a;
    a.kind = velk::Arg::Kind::text;
    a.rows = text.empty() ? 0 : 1;
    a.cols = text.size();
    texts_.push_back(std::move(text));
    entries_.push_back({a, static_cast<int>(texts_.size()) - 1});
    return *this;
}

Args& Args::cell(const Args& elements)
{
    velk::Arg a;
    a.kind = velk::Arg::Kind::cell;
    a.rows = 1;
    a.cols = elements.entries_.size();
    cells_.push_back(elements);
    field_names_.emplace_back();  // a structure's names at the index of its fields in cells_
    entries_.push_back({a, static_cast<int>(cells_.size()) - 1});
    return *this;
}

Args& Args::structure(std::vector<std::string> names, const Args& values)
{
    velk::Arg a;
    a.kind = velk::Arg::Kind::structure;
    a.rows = a.cols = 1;
    cells_.push_back(values);
    field_names_.push_back(std::move(names));
    entries_.push_back({a, static_cast<int>(cells_.size()) - 1});
    return *this;
}

Args& Args::other()
{
    velk::Arg a;
    a.rows = a.cols = 1;
    entries_.push_back({a, -1});
    return *this;
}

Args& Args::empty(std::size_t rows, std::size_t cols)
{
    velk::Arg a;
    a.kind = velk::Arg::Kind::real_double;
    a.rows = rows;
    a.cols = cols;
    entries_.push_back({a, -1});
    return *this;
}

Args& Args::replace(int position)
{
    entries_.at(std::size_t(position - 1)) = entries_.back();
    entries_.pop_back();
    return *this;
}

std::vector<velk::Arg> Args::views() const
{
    static double nothing;
    std::vector<velk::Arg> views;
    for (const Entry& e : entries_) {
        velk::Arg a = e.arg;
        if (a.kind == velk::Arg::Kind::real_double) {
            const double* data = e.storage < 0 ? &nothing : values_[std::size_t(e.storage)].data();
            a.data = data;
            a.writable_data = const_cast<double*>(data);
        } else if (a.kind == velk::Arg::Kind::text) {
            a.text = texts_[std::size_t(e.storage)];
        } else if (a.kind == velk::Arg::Kind::cell) {
            a.elements = element_views_.emplace_back(cells_[std::size_t(e.storage)].views());
        } else if (a.kind == velk::Arg::Kind::structure) {
            a.elements = element_views_.emplace_back(cells_[std::size_t(e.storage)].views());
            std::vector<std::string_view>& names = name_views_.emplace_back();
            for (const std::string& name : field_names_[std::size_t(e.storage)])
                names.push_back(name);
            a.field_names = names;
        }
        views.push_back(a);
    }
    return views;
}

std::string run(Gateway gateway, const Args& args, Host& host, int n_results)
{
    const std::vector<velk::Arg> views = args.views();
    velk::Call call(views, n_results, host);
    host.failed_position = -1;
    try {
        gateway(call);
    } catch (const velk::Call_failed& failure) {
        host.failure = failure.kind();
        host.failed_position = failure.position();
        if (failure.kind() == velk::Failure::out_of_bounds) {
            host.console += "stop: ";
            host.console += failure.what();
            return "";
        }
        return failure.what();
    }
    return "";
}

}  // namespace fake_host

extern "C" int mexPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char text[1024];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fake_host::mex_console += text;
    return n;
}

extern "C" void mexErrMsgTxt(const char* message) { throw fake_host::Call_ended(message); }
