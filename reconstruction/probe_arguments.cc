#include "probe_arguments.h"

#include "to_int.h"

#include <algorithm>
#include <cmath>

namespace velk {
namespace {

bool all_finite(const double* v, std::size_t n)
{
    return std::all_of(v, v + n, [](double x) { return std::isfinite(x); });
}

// Field `name` of the struct argument `s`, or the end of the call.
const Arg& field_of(const Arg& s, const char* name, int position, const char* missing)
{
    const Arg* value = s.kind == Arg::Kind::structure ? s.field(name) : nullptr;
    if (!value)
        refuse(position, missing, position);
    return *value;
}

// A finite rows x cols matrix in field `name`, refused with `wrong`.
const double* finite_field(const Arg& s, const char* name, int rows, int cols, int position,
                           const char* missing, const char* wrong)
{
    const Matrix m = matrix(field_of(s, name, position, missing), position);
    if (m.rows != rows || m.cols != cols ||
        !all_finite(m.data, std::size_t(rows) * std::size_t(cols)))
        refuse(position, wrong, position);
    return m.data;
}

}  // namespace

Probe_elements probe_argument(const Call& call, int position, bool shape_needed, bool receiver)
{
    constexpr const char* not_probe =
        "Argument %d must be a probe: a struct with the field centres (Ne x 3, in mm)!";
    const Arg& probe = call.arg(position);
    if (probe.kind != Arg::Kind::structure)
        refuse(position, not_probe, position);
    const Arg* receiving = receiver ? probe.field("receiver") : nullptr;
    const Arg& s = receiving ? *receiving : probe;
    const Matrix c = matrix(field_of(s, "centres", position, not_probe), position);
    if (c.rows < 1 || c.cols != 3 || !all_finite(c.data, 3 * std::size_t(c.rows)))
        refuse(position, "Argument %d: the probe's centres must be a finite Ne x 3 matrix, Ne >= 1!",
               position);
    Probe_elements e{c.rows, c.data, c.data + c.rows, c.data + 2 * std::size_t(c.rows), false,
                     Piston_kind::plate, 0.0, 0.0};
    if (const Arg* size = s.field("size")) {
        const double* ab = values(*size, position, 2,
                                  "Argument %d: the probe's size must be [width height] in mm!");
        e = {e.Ne, e.xs, e.ys, e.zs, true, Piston_kind::plate, ab[0], ab[1]};
    } else if (const Arg* radius = s.field("radius")) {
        const double a = scalar(*radius, position, "Argument %d: the probe's radius must be a scalar!");
        e = {e.Ne, e.xs, e.ys, e.zs, true, Piston_kind::disc, a, 0.0};
    }
    if (shape_needed && (!e.has_shape || !std::isfinite(e.a) || !std::isfinite(e.b)))
        refuse(position,
               "Argument %d: the probe needs its elements' shape, a finite size [width height] or "
               "radius in mm!",
               position);
    return e;
}

Events events_argument(const Call& call, int position, int n_tx, int n_receivers,
                       bool drive_needed)
{
    constexpr const char* not_events =
        "Argument %d must be events: a struct with the fields fire, weight, receive, wave, origin "
        "and t0!";
    const Arg& s = call.arg(position);
    if (s.kind != Arg::Kind::structure)
        refuse(position, not_events, position);
    Events ev;
    const Matrix receive = matrix(field_of(s, "receive", position, not_events), position);
    ev.n_rx = receive.rows;
    ev.n_events = receive.cols;
    if (ev.n_rx < 1 || ev.n_events < 1)
        refuse(position, "Argument %d: the events' receive must be n_rx x n, one column per event!",
               position);
    ev.receive.resize(std::size_t(ev.n_rx) * std::size_t(ev.n_events));
    for (std::size_t i = 0; i < ev.receive.size(); ++i) {
        const double r = receive.data[i];
        if (!(r >= 1.0 && r <= n_receivers && r == std::floor(r)))
            refuse(position,
                   "Argument %d: the events' receive must hold element numbers from 1 to %d!",
                   position, n_receivers);
        ev.receive[i] = static_cast<std::int64_t>(r) - 1;
    }
    const int n = ev.n_events;
    if (drive_needed) {
        ev.fire = finite_field(s, "fire", n_tx, n, position, not_events,
                               "Argument %d: the events' fire must be a finite Ne x n matrix, one "
                               "column per event!");
        ev.weight = finite_field(s, "weight", n_tx, n, position, not_events,
                                 "Argument %d: the events' weight must be a finite Ne x n matrix, "
                                 "one column per event!");
    } else {
        ev.fire = ev.weight = nullptr;
    }

    constexpr const char* wrong_wave =
        "Argument %d: the events' wave must be a cell of \"plane\", \"diverging\" or \"focused\", "
        "one per event!";
    const Arg& wave = field_of(s, "wave", position, not_events);
    if (wave.kind != Arg::Kind::cell || wave.elements.size() != std::size_t(n))
        refuse(position, wrong_wave, position);
    const double* origin = finite_field(s, "origin", 3, n, position, not_events,
                                        "Argument %d: the events' origin must be a finite 3 x n "
                                        "matrix!");
    constexpr const char* wrong_t0 = "Argument %d: the events' t0 must hold n finite times!";
    const double* t0 = values(field_of(s, "t0", position, not_events), position, n, wrong_t0);
    if (!all_finite(t0, std::size_t(n)))
        refuse(position, wrong_t0, position);
    ev.waves.resize(std::size_t(n));
    for (int e = 0; e < n; ++e) {
        const std::string_view kind = wave.elements[std::size_t(e)].text;
        if (wave.elements[std::size_t(e)].kind != Arg::Kind::text ||
            (kind != "plane" && kind != "diverging" && kind != "focused"))
            refuse(position, wrong_wave, position);
        const Wave_kind k = kind == "plane"       ? Wave_kind::plane
                            : kind == "diverging" ? Wave_kind::diverging
                                                  : Wave_kind::focused;
        ev.waves[std::size_t(e)] = {k, origin[3 * e], origin[3 * e + 1], origin[3 * e + 2], t0[e]};
    }
    return ev;
}

}  // namespace velk
