// Y = pulse_echo(scatterers, amplitudes, probe, events, pulse, [dt nt], t0, [cp alpha], options)
#include "modules.h"

#include "arguments.h"
#include "attenuated_pulses.h"
#include "conv.h"
#include "fine_pulse.h"
#include "probe_arguments.h"
#include "pulse_echo_run.h"
#include "to_int.h"
#include "units.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <thread>
#include <vector>

namespace velk {
namespace {

bool all_finite(const double* v, std::size_t n)
{
    return std::all_of(v, v + n, [](double x) { return std::isfinite(x); });
}

// A finite, non-empty real vector inside argument `position`.
std::vector<double> waveform(const Arg& arg, int position, const char* wrong)
{
    if (arg.kind != Arg::Kind::real_double || (arg.rows != 1 && arg.cols != 1) ||
        arg.rows * arg.cols == 0)
        refuse(position, wrong, position);
    const std::size_t n = arg.rows * arg.cols;
    if (n > INT_MAX / 4 || !all_finite(arg.data, n))
        refuse(position, wrong, position);
    return {arg.data, arg.data + n};
}

// (a * b) dt: the full convolution, its sums times dt in seconds.
std::vector<double> convolved(const std::vector<double>& a, const std::vector<double>& b,
                              double dt)
{
    std::vector<double> out(a.size() + b.size() - 1);
    conv(a.data(), int(a.size()), b.data(), int(b.size()), out.data(), false, fold_assign);
    for (double& v : out)
        v *= dt / us_per_s;
    return out;
}

// Argument 5: the two-way pulse, or {excitation, impulse response}, whose
// two-way pulse is excitation * impulse * impulse.
std::vector<double> pulse_argument(const Call& call, double dt)
{
    constexpr int position = 5;
    constexpr const char* wrong =
        "Argument %d must be a finite real vector (the two-way pulse) or a cell of two "
        "(the excitation and the impulse response)!";
    const Arg& arg = call.arg(position);
    if (arg.kind != Arg::Kind::cell)
        return waveform(arg, position, wrong);
    if (arg.elements.size() != 2)
        refuse(position, wrong, position);
    const std::vector<double> excitation = waveform(arg.elements[0], position, wrong);
    const std::vector<double> impulse = waveform(arg.elements[1], position, wrong);
    const std::vector<double> p = convolved(convolved(excitation, impulse, dt), impulse, dt);
    if (p.size() > INT_MAX / 4)
        refuse(position, wrong, position);
    return p;
}

struct Options {
    int N = 4;
    int step = 0;  // steps of the sums a record sample; 0: as the pulse needs (fine_steps)
    int n_threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool progress = false;
};

// Argument 9: a struct whose fields (each optional) are N (the parts of the
// averaged responses, 0 for point samples), oversample (the steps of the
// sums a record sample), threads and progress.
Options options_argument(const Call& call)
{
    constexpr int position = 9;
    Options o;
    read_options(call, position, [&](std::string_view name, const Arg& value) {
        if (name == "N") {
            o.N = trunc_to_int(scalar(value, position, "Argument %d: N must be a scalar!"));
            if (o.N < 0)
                refuse(position,
                       "Argument %d: N must be 0 (point samples) or a number of intervals of at "
                       "least 1!",
                       position);
        } else if (name == "oversample") {
            o.step = trunc_to_int(
                scalar(value, position, "Argument %d: oversample must be a scalar!"));
            if (o.step < 1 || o.step > 64)
                refuse(position,
                       "Argument %d: oversample must be a number of steps a sample from 1 to 64!",
                       position);
        } else if (name == "threads") {
            o.n_threads = threads_option(value, position);
        } else if (name == "progress") {
            o.progress = scalar(value, position, "Argument %d: progress must be a scalar!") != 0.0;
        } else {
            refuse(position, "Argument %d: the options are N, oversample, threads and progress!", position);
        }
    });
    return o;
}

Element_set element_set(const Probe_elements& p, double cp, int N)
{
    const bool plate = p.kind == Piston_kind::plate;
    const Piston_kind kind = N > 0 ? (plate ? Piston_kind::plate_avg : Piston_kind::disc_avg)
                                   : (plate ? Piston_kind::plate : Piston_kind::disc);
    return {{kind, p.a, plate ? p.b : 0.0, 1.0, cp, N}, p.Ne, p.xs, p.ys, p.zs};
}

}  // namespace

void pulse_echo_gateway(Call& call)
{
    check_counts(call, {8, 9}, "pulse_echo requires 8 or 9 input arguments!", 1,
                 "Too many output arguments for pulse_echo!");
    const Points scatterers = observation_points(call, 1);
    if (!all_finite(scatterers.x, scatterers.count) || !all_finite(scatterers.y, scatterers.count) ||
        !all_finite(scatterers.z, scatterers.count))
        refuse(1, "Argument 1 must hold finite coordinates!");
    const Per_point amplitude = per_point(call, 2, scatterers.count);
    if (!all_finite(amplitude.data(), amplitude.is_single() ? 1 : scatterers.count))
        refuse(2, "Argument 2 must hold finite amplitudes!");
    const Probe_elements transmitters = probe_argument(call, 3, true);
    const Probe_elements receivers = probe_argument(call, 3, true, true);
    for (const Probe_elements* p : {&transmitters, &receivers})
        if (!(p->a > 0.0 && (p->kind == Piston_kind::disc || p->b > 0.0)))
            refuse(3, "Argument 3: the probe's elements must have a size or radius above 0!");
    const Events events = events_argument(call, 4, transmitters.Ne, receivers.Ne, true);
    const Sampling sampling = velk::sampling(call, 6);
    if (!(std::isfinite(sampling.dt) && sampling.dt > 0.0))
        refuse(6, "Argument 6 must hold a finite sampling period above 0!");
    const std::vector<double> pulse = pulse_argument(call, sampling.dt);
    const double t0 = scalar(call, 7);
    if (!std::isfinite(t0))
        refuse(7, "Argument 7 must be a finite time!");
    if (!std::isfinite(t0 + sampling.nt * sampling.dt))
        refuse(6, "Argument 6: the record must end at a finite time!");
    const auto [cp, alpha] = pair(call, 8);
    if (!(std::isfinite(cp) && cp > 0.0))
        refuse(8, "Argument 8 must hold a sound speed that is finite and above 0!");
    if (!(std::isfinite(alpha) && alpha >= 0.0))
        refuse(8, "Argument 8 must hold an attenuation that is finite and 0 or more!");
    const Options options = options_argument(call);
    const int step = options.step > 0
                         ? options.step
                         : fine_steps(pulse.data(), static_cast<int>(pulse.size()));
    if ((double(pulse.size()) + 16.0) * step > INT_MAX / 4)
        refuse(5, "Argument 5: the pulse is longer than can be held!");
    const double dt = sampling.dt / step;  // us, the step of the sums
    Fine_pulse fine;
    try {
        fine = velk::fine_pulse(pulse, step);
    } catch (const std::bad_alloc&) {
        fail_resources("Failed to allocate memory for the pulse!");
    }

    // The amplitudes one per scatterer, as the kernel reads them.
    std::vector<double> amplitudes(amplitude.is_single() ? scatterers.count : 0,
                                   amplitude.is_single() ? amplitude[0] : 0.0);
    std::unique_ptr<Attenuated_pulses> attenuated;
    if (alpha > 0.0) {
        const double t_end = t0 + sampling.nt * sampling.dt;
        const double r_max = cp * std::max(t_end, 0.0) / 1000.0;  // mm, the longest round trip
        if (!std::isfinite(r_max))
            refuse(8, "Argument 8: the round trips of the record are beyond the range of doubles!");
        try {
            attenuated = Attenuated_pulses::make(pulse.data(), int(pulse.size()), sampling.dt,
                                                 alpha, cp, r_max, step);
        } catch (const std::bad_alloc&) {
            fail_resources("Failed to allocate memory for the attenuated pulses!");
        }
        if (!attenuated)
            fail_resources("Cannot plan the transform of the attenuated pulses!");
    }
    const Pulse_echo_job job{
        element_set(transmitters, cp, options.N),
        element_set(receivers, cp, options.N),
        events.n_events,
        events.fire,
        events.weight,
        events.n_rx,
        events.receive.data(),
        {std::size_t(scatterers.count), scatterers.x, scatterers.y, scatterers.z,
         amplitude.is_single() ? amplitudes.data() : amplitude.data()},
        dt,
        step,
        sampling.nt,
        t0,
        fine.samples.data(),
        int(fine.samples.size()),
        fine.lead,
        attenuated.get()};
    for (int e = 0; e < events.n_events; ++e) {
        Echo_axes axes;
        if (!echo_axes(job, e, axes))
            refuse(4,
                   "Event %d: the samples from its earliest fire time to the end of the record, "
                   "with the pulse, are more than can be counted!",
                   e + 1);
    }
    const std::size_t channels = std::size_t(events.n_rx) * events.n_events;
    if (channels > INT_MAX)
        refuse(4, "Argument 4 holds more receive channels than can be counted!");
    double* Y = call.create_result(0, sampling.nt, static_cast<int>(channels));
    call.shape_result(0, {std::size_t(sampling.nt), std::size_t(events.n_rx),
                          std::size_t(events.n_events)});
    pulse_echo_run(call.host(), job, Y, options.n_threads, options.progress);
}

}  // namespace velk
