// B = beamform(data, probe, events, [t0 dt], cp, points, options)
#include "modules.h"

#include "arguments.h"
#include "beamform.h"
#include "probe_arguments.h"

#include "to_int.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <thread>

namespace velk {
namespace {

// Argument 1: nt samples x n_rx channels x n_events, of any of the four
// sample types, one column per channel and event.
Sample_type sample_type(const Arg& data)
{
    switch (data.kind) {
    case Arg::Kind::real_double:
        return Sample_type::real_double;
    case Arg::Kind::real_single:
        return Sample_type::real_float;
    case Arg::Kind::complex_double:
        return Sample_type::complex_double;
    case Arg::Kind::complex_single:
        return Sample_type::complex_float;
    default:
        refuse_class(1, "Argument 1 must be a real or complex array of doubles or singles!");
    }
}

Window window_of(const Arg& value, int position, const char* wrong)
{
    if (value.kind != Arg::Kind::text)
        refuse(position, wrong, position);
    if (value.text == "boxcar")
        return Window::boxcar;
    if (value.text == "hann")
        return Window::hann;
    if (value.text == "tukey")
        return Window::tukey;
    refuse(position, wrong, position);
}

// Argument 7, the options: a struct whose fields (each optional) are
// interpolation, fnumber, window, tx_window ("none" or a window), compound
// (true: the coherent sum over events), fd (MHz: the data is I/Q) and
// threads.
Beamform_options options_argument(const Call& call, int& n_threads)
{
    constexpr int position = 7;
    Beamform_options o;
    n_threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    read_options(call, position, [&](std::string_view name, const Arg& value) {
        if (name == "interpolation") {
            if (value.kind != Arg::Kind::text ||
                (value.text != "linear" && value.text != "nearest"))
                refuse(position, "Argument %d: interpolation must be \"linear\" or \"nearest\"!",
                       position);
            o.interpolation = value.text == "linear" ? Interpolation::linear : Interpolation::nearest;
        } else if (name == "fnumber") {
            o.f_number = scalar(value, position, "Argument %d: fnumber must be a scalar!");
            if (!(std::isfinite(o.f_number) && o.f_number >= 0.0))
                refuse(position, "Argument %d: fnumber must be finite and 0 or more!", position);
        } else if (name == "window") {
            o.rx_window = window_of(value, position,
                                    "Argument %d: window must be \"boxcar\", \"hann\" or \"tukey\"!");
        } else if (name == "tx_window") {
            constexpr const char* wrong =
                "Argument %d: tx_window must be \"none\", \"boxcar\", \"hann\" or \"tukey\"!";
            o.tx_apodization = !(value.kind == Arg::Kind::text && value.text == "none");
            if (o.tx_apodization)
                o.tx_window = window_of(value, position, wrong);
        } else if (name == "compound") {
            const double c = scalar(value, position, "Argument %d: compound must be a scalar!");
            o.compounding = c != 0.0 ? Compounding::coherent : Compounding::per_event;
        } else if (name == "fd") {
            o.fd = scalar(value, position, "Argument %d: fd must be a scalar!");
            if (!std::isfinite(o.fd))
                refuse(position, "Argument %d: fd must be finite!", position);
            o.complex_samples = Complex_samples::iq;
        } else if (name == "threads") {
            n_threads = threads_option(value, position);
        } else {
            refuse(position,
                   "Argument %d: the options are interpolation, fnumber, window, tx_window, "
                   "compound, fd and threads!",
                   position);
        }
    });
    return o;
}

}  // namespace

void beamform_gateway(Call& call)
{
    check_counts(call, {6, 7}, "beamform requires 6 or 7 input arguments!", 1,
                 "Too many output arguments for beamform!");
    const Arg& data = call.arg(1);
    const Sample_type type = sample_type(data);
    const Probe_elements elements = probe_argument(call, 2, false, true);
    const Probe_elements transmitters = probe_argument(call, 2, false);
    const Events events = events_argument(call, 3, transmitters.Ne, elements.Ne, false);
    if (data.rows > static_cast<std::size_t>(INT_MAX) / 2 ||
        data.cols != std::size_t(events.n_rx) * std::size_t(events.n_events))
        refuse(1,
               "Argument 1 must hold one column of samples per receive element and event "
               "(nt x n_rx x n_events)!");
    const auto [t_first, dt] = pair(call, 4, "Argument %d must be [t0 dt], a vector of length 2!");
    if (!(std::isfinite(t_first) && std::isfinite(dt) && dt > 0.0))
        refuse(4, "Argument 4 must hold a finite t0 and a finite sampling period above 0!");
    const double cp = scalar(call, 5);
    if (!(std::isfinite(cp) && cp > 0.0))
        refuse(5, "Argument 5 must be a sound speed that is finite and above 0!");
    const Points points = observation_points(call, 6);
    int n_threads = 1;
    Beamform_options options = options_argument(call, n_threads);
    const bool complex_data = type == Sample_type::complex_double || type == Sample_type::complex_float;
    if (options.complex_samples == Complex_samples::iq && !complex_data)
        refuse(7, "Argument 7: fd is for I/Q data, which must be complex!");

    const bool doubles = type == Sample_type::real_double || type == Sample_type::complex_double;
    const void* samples = doubles ? static_cast<const void*>(data.data)
                                  : static_cast<const void*>(data.data_single);
    Beamform_job job{{elements.xs, elements.ys, elements.zs, std::size_t(elements.Ne)},
                     events.waves.data(),
                     events.receive.data(),
                     std::size_t(events.n_rx),
                     std::size_t(events.n_events),
                     samples,
                     type,
                     data.rows,
                     t_first,
                     dt,
                     cp,
                     {points.x, points.y, points.z, std::size_t(points.count)},
                     options,
                     nullptr};
    const int images = options.compounding == Compounding::coherent ? 1 : events.n_events;
    job.out = complex_data ? call.create_complex_result(0, points.count, images)
                           : call.create_result(0, points.count, images);
    beamform_run(call.host(), job, n_threads);
}

}  // namespace velk
