// A probe and its transmit events as the simulator and the imager take them
// (the structs of linear_probe and plane_wave_events in Octave, the
// dataclasses velk.Probe and velk.Events in Python), each read in one step
// with messages that name the argument and the field.
#pragma once

#include "arguments.h"
#include "piston.h"
#include "wavefront.h"

#include <cstdint>
#include <vector>

namespace velk {

// The elements of a probe: Ne centres (mm, column-major Ne x 3) and their
// shape when the probe gives one (the field size, [width height] of
// rectangles, or radius, of discs).
struct Probe_elements {
    int Ne;
    const double* xs;
    const double* ys;
    const double* zs;
    bool has_shape;
    Piston_kind kind;  // plate or disc
    double a, b;       // mm: the width and height, or the radius
};

// Argument `position`, a probe: a struct with the field centres and, when
// `shape_needed`, size or radius. `receiver`: the elements that receive,
// those of its field receiver where it has one, else its own.
Probe_elements probe_argument(const Call& call, int position, bool shape_needed,
                              bool receiver = false);

// The transmit events of a probe of n_tx elements, received on a probe of
// n_receivers: per event the fire times and weights of the n_tx elements
// (column e of the Ne x n fields fire and weight), its n_rx receive
// elements (0-based here; the field receive holds them from 1) and its wave.
struct Events {
    int n_events;
    int n_rx;
    const double* fire;    // n_tx x n_events, us
    const double* weight;  // n_tx x n_events
    std::vector<std::int64_t> receive;  // n_rx x n_events, 0-based
    std::vector<Wavefront> waves;
};

// Argument `position`: a struct with the fields receive, wave, origin and
// t0, and, when `drive_needed`, fire and weight (finite, n_tx x n).
Events events_argument(const Call& call, int position, int n_tx, int n_receivers,
                       bool drive_needed);

}  // namespace velk
