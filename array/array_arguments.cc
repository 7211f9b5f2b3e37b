#include "array_arguments.h"

#include "arr_functions.h"
#include "element_drive.h"
#include "workers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <thread>
#include <vector>

namespace velk {
namespace {

bool all_finite(const double* v, std::size_t n)
{
    return std::all_of(v, v + n, [](double x) { return std::isfinite(x); });
}

// The value of option `o`'s value j, a finite scalar.
double finite_value(const Option& o, std::size_t j, int position, const char* not_finite)
{
    const double value = scalar(o.values[j], position, not_finite);
    if (!std::isfinite(value))
        refuse(position, not_finite, position);
    return value;
}

// The Ne finite values of option `o`'s first value.
const double* per_element(const Option& o, int position, int Ne, const char* wrong)
{
    const double* v = values(o.values[0], position, Ne, wrong);
    if (!all_finite(v, static_cast<std::size_t>(Ne)))
        refuse(position, wrong, position);
    return v;
}

// Argument 7: "off", {"x", F}, {"y", F}, {"xy", F}, {"x+y", F} or {"ud", delays}.
Focusing focusing_argument(const Call& call, int Ne)
{
    constexpr int position = 7;
    if (call.n_args() < position)
        return {FOCUS_OFF, 0.0, nullptr};
    const Option o = option(call, position, {{"off", 0}, {"x", 1}, {"y", 1}, {"xy", 1},
                                             {"x+y", 1}, {"ud", 1}},
                            "Argument %d must be \"off\" or a cell {\"x\", F}, {\"y\", F}, "
                            "{\"xy\", F}, {\"x+y\", F} or {\"ud\", delays}!");
    const int methods[] = {FOCUS_OFF, FOCUS_X, FOCUS_Y, FOCUS_XY, FOCUS_X_PLUS_Y, FOCUS_USER};
    if (methods[o.form] == FOCUS_OFF)
        return {FOCUS_OFF, 0.0, nullptr};
    if (methods[o.form] == FOCUS_USER)
        return {FOCUS_USER, 0.0,
                per_element(o, position, Ne, "Argument %d must hold one finite fire time per element!")};
    return {methods[o.form], finite_value(o, 0, position, "Argument %d must hold a finite focal depth!"),
            nullptr};
}

// Argument 8: "off", {"x", theta}, {"y", phi} or {"xy", theta, phi}.
Steering steering_argument(const Call& call)
{
    constexpr int position = 8;
    if (call.n_args() < position)
        return {STEER_OFF, 0.0, 0.0};
    const Option o = option(call, position, {{"off", 0}, {"x", 1}, {"y", 1}, {"xy", 2}},
                            "Argument %d must be \"off\" or a cell {\"x\", theta}, {\"y\", phi} "
                            "or {\"xy\", theta, phi}!");
    constexpr const char* not_finite = "Argument %d must hold finite steering angles!";
    switch (o.form) {
    case 1:
        return {STEER_X, finite_value(o, 0, position, not_finite), 0.0};
    case 2:
        return {STEER_Y, 0.0, finite_value(o, 0, position, not_finite)};
    case 3:
        return {STEER_XY, finite_value(o, 0, position, not_finite),
                finite_value(o, 1, position, not_finite)};
    default:
        return {STEER_OFF, 0.0, 0.0};
    }
}

// Argument 9: "off", {"ud", weights}, "triangle", {"gauss", p}, {"raised", p},
// "simply" or "clamped".
Apodization apodization_argument(const Call& call, int Ne)
{
    constexpr int position = 9;
    if (call.n_args() < position)
        return {WEIGHT_OFF, WEIGHT_USER, nullptr, 0.0};
    const Option o = option(call, position, {{"off", 0}, {"ud", 1}, {"triangle", 0}, {"gauss", 1},
                                             {"raised", 1}, {"simply", 0}, {"clamped", 0}},
                            "Argument %d must be \"off\", \"triangle\", \"simply\", \"clamped\" "
                            "or a cell {\"gauss\", p}, {\"raised\", p} or {\"ud\", weights}!");
    const int types[] = {WEIGHT_USER,  WEIGHT_USER,   WEIGHT_TRIANGLE, WEIGHT_GAUSS,
                         WEIGHT_RAISED, WEIGHT_SIMPLY, WEIGHT_CLAMPED};
    constexpr int weighted = 2;  // any method but WEIGHT_OFF
    if (o.form == 0)
        return {WEIGHT_OFF, WEIGHT_USER, nullptr, 0.0};
    if (o.form == 1)
        return {weighted, WEIGHT_USER,
                per_element(o, position, Ne, "Argument %d must hold one finite weight per element!"),
                0.0};
    const double p = o.values.empty()
                         ? 0.0
                         : finite_value(o, 0, position, "Argument %d must hold a finite window parameter!");
    return {weighted, types[o.form], nullptr, p};
}

}  // namespace

Array_arguments array_arguments(const Call& call, bool plate, const char* name)
{
    char wrong_args[80], too_many[80];
    std::snprintf(wrong_args, sizeof wrong_args, "%s requires 6 to 11 input arguments!", name);
    std::snprintf(too_many, sizeof too_many, "Too many output arguments for %s!", name);
    check_counts(call, {6, 7, 8, 9, 10, 11}, wrong_args, 3, too_many);

    Array_arguments a;
    a.points = observation_points(call, 1);

    const Matrix centres = matrix(call, 2);
    if (centres.rows < 1 || centres.cols != 3)
        refuse(2, "Argument 2 must be a (number of elements) x 3 matrix!");
    const int Ne = centres.rows;
    if (!all_finite(centres.data, 3 * static_cast<std::size_t>(Ne)))
        refuse(2, "Argument 2 must hold finite element centres!");

    Piston& element = a.array.element;
    if (plate) {
        const Pair ab = pair(call, 3, "Argument %d must be a two element vector!");
        element.kind = Piston_kind::plate;
        element.a = ab.first;
        element.b = ab.second;
    } else {
        element.kind = Piston_kind::disc;
        element.a = scalar(call, 3);
        element.b = 0.0;
    }

    a.sampling = sampling(call, 4);
    if (!(std::isfinite(a.sampling.dt) && a.sampling.dt > 0.0))
        refuse(4, "Argument 4 must hold a finite sampling period above 0!");
    a.delay = per_point(call, 5, a.points.count);
    const Pair material = pair(call, 6);
    element.v = material.first;
    element.cp = material.second;
    // The fire times and the arrivals are distances divided by cp.
    if (!(std::isfinite(element.cp) && element.cp > 0.0))
        refuse(6, "Argument 6 must hold a sound speed that is finite and above 0!");

    const Focusing focus = focusing_argument(call, Ne);
    const Steering steer = steering_argument(call);
    const Apodization apod = apodization_argument(call, Ne);

    // N = 0: point samples; N >= 1: the interval means over N parts.
    element.N = call.n_args() < 10
                    ? 0
                    : count(call, 10, 0,
                            "Argument %d must be 0 (point samples) or a number of intervals of "
                            "at least 1!");
    if (element.N > 0)
        element.kind = plate ? Piston_kind::plate_avg : Piston_kind::disc_avg;
    a.n_threads = call.n_args() < 11
                      ? static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))
                      : cpu_count(call, 11);

    const double* xs = centres.data;
    const double* ys = xs + Ne;
    const Array_extent extent = array_extent(xs, ys, Ne);
    a.tau.resize(static_cast<std::size_t>(Ne));
    a.w.resize(static_cast<std::size_t>(Ne));
    fire_times(focus, steer, xs, ys, Ne, extent, element.cp, a.tau.data());
    element_weights(apod, xs, ys, Ne, extent, a.w.data());
    // An array of extent 0 (one element at the origin) divides its windows by 0.
    if (!all_finite(a.w.data(), a.w.size()))
        refuse(9, "Argument 9 must give finite weights: a window needs an array of extent above 0!");
    if (!all_finite(a.tau.data(), a.tau.size()))
        refuse(7, "Argument 7 must give finite fire times!");
    a.array.Ne = Ne;
    a.array.xs = xs;
    a.array.ys = ys;
    a.array.zs = xs + 2 * Ne;
    a.array.tau = a.tau.data();
    a.array.w = a.w.data();
    return a;
}


namespace {
// The points one take of the queue forms: enough for hundreds of takes in a
// typical call, few enough that Ctrl-C is seen within a few milliseconds.
constexpr int group_size = 8;
}  // namespace

void array_module(Call& call, bool plate, const char* name)
{
    const Array_arguments a = array_arguments(call, plate, name);
    const Points& p = a.points;
    const int nt = a.sampling.nt;
    double* H = call.create_unfilled_result(0, nt, p.count);
    if (call.n_results() >= 2)
        std::copy(a.tau.begin(), a.tau.end(), call.create_result(1, a.array.Ne, 1));
    if (call.n_results() >= 3)
        std::copy(a.w.begin(), a.w.end(), call.create_result(2, a.array.Ne, 1));

    const int n_threads = std::max(1, std::min(a.n_threads, p.count));
    std::vector<std::vector<double>> scratch;
    try {
        scratch.assign(static_cast<std::size_t>(n_threads),
                       std::vector<double>(static_cast<std::size_t>(std::max(nt, 0))));
    } catch (const std::bad_alloc&) {
        fail_resources("Cannot allocate %d samples of scratch for each of %d threads!", nt,
                       n_threads);
    }
    const auto group = [&](int k, int worker) {
        double* own = scratch[static_cast<std::size_t>(worker)].data();
        for (int i = k; i < std::min(k + group_size, p.count); ++i)
            array_column(a.array, p.x[i], p.y[i], p.z[i], a.sampling, a.delay[i],
                         H + std::size_t(i) * nt, own);
    };
    run_guarded(call.host(), generic_handler_messages, [&](Guarded_run& run) {
        run.on_threads(p.count, n_threads, group,
                       "Thread for observation points %d -> %d bailing out!\n", system_threads,
                       Item_order::one_queue, group_size);
    });
}

}  // namespace velk
