// Pulse-echo simulation: the signals that the receive elements of a probe
// record when its transmit events insonify point scatterers. Host-free.
//
// For event e and receive channel c (element j = receive(c, e)), sampled at
// t_m = t0 + m step dt us, m = 0 .. nt-1 (the sums below are formed on the
// grid dt, `step` times finer than the record's):
//
//   y(t) = p * sum over scatterers s of  A_s (h_tx,e(r_s) * h_j(r_s))(t)
//   h_tx,e(r, t) = sum over transmit elements i of w_ei h_i(r, t - tau_ei)
//
// h_i(r, t) the element's piston response at r seen from its centre (its
// kind's kernel: point samples, or means over each sampling interval), in
// m/s, formed from two samples before the arrival from its nearest point
// (piston.h: Band::from_nearest_arrival); tau_ei and w_ei the event's fire
// times and weights (elements of weight 0 left out); p the two-way pulse
// (its first sample at time -pulse_lead dt); * the convolution in time, each
// one the sum over the samples times dt in seconds. So y is in the pulse's
// unit times m^2/s.
//
// The arithmetic, per channel: the echo sums E start at +0; for each
// scatterer in order, for each receive sample k in increasing order,
// E[n + k] += h_tx[n] ((A_s dt) h_j[k]) over the transmit samples n; then
// y[m] = dt sum over q of p[q] E[m step + L - 1 - q], q increasing. With
// attenuation, the pulse applied to the echo sample at time t is the pulse
// through the round trip cp t (attenuated_pulses.h). The scatterers are
// taken in chunks of a size that depends on their count alone
// (pulse_echo_run.cc), each chunk's sums from +0, and the chunks' sums added
// in their order, so a channel's bits are the same whatever threads form it.
//
// Lengths in mm, times in us, cp in m/s.
#pragma once

#include "function_ref.h"
#include "piston.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#pragma GCC visibility push(hidden)  // as the pistons it holds (piston.h)

namespace velk {

class Attenuated_pulses;

// Ne elements, centre of element i at (x[i], y[i], z[i]), each the piston
// `element` in a plane parallel to z = 0, facing +z.
struct Element_set {
    Piston element;
    int Ne;
    const double* x;
    const double* y;
    const double* z;
};

struct Scatterers {
    std::size_t count;
    const double* x;  // mm
    const double* y;
    const double* z;
    const double* amplitude;
};

struct Pulse_echo_job {
    Element_set transmitters;
    Element_set receivers;
    int n_events;
    const double* fire;      // Ne_tx x n_events, us
    const double* weight;    // Ne_tx x n_events
    int n_rx;                // receive channels per event
    const std::int64_t* receive;  // n_rx x n_events, 0-based receiver elements
    Scatterers scatterers;
    double dt;  // us, the step of the sums
    int step;   // steps a record sample
    int nt;     // record samples
    double t0;  // us, the first record sample's time
    const double* pulse;  // n_pulse samples dt apart, the first at time -pulse_lead dt
    int n_pulse;
    int pulse_lead;
    // Where not null, the pulses per path (alpha > 0), on the grid dt;
    // `pulse` and `pulse_lead` are then not read.
    const Attenuated_pulses* attenuated;
};

// The samples of an event that the echoes are gathered on before the pulse
// is applied. Echo sample i (time t_echo + i dt) is sum index lead + i of
// the transmit samples (from t_tx) and receive samples (from 0 us): the
// transmit axis starts `lead` whole samples before the echo axis, so that
// it holds the event's earliest fire time. n_raw = (nt - 1) step + L echo
// samples for a pulse of L samples.
struct Echo_axes {
    double t_echo;  // us
    double t_tx;    // us, t_echo - lead dt
    int lead;
    int n_raw;
    int n_axis;     // transmit and receive samples, lead + n_raw
};

// The axes of event e; false when they would hold more samples than the
// sums reach with int indices (2 n_axis).
bool echo_axes(const Pulse_echo_job& job, int e, Echo_axes& axes);

// Scratch of one worker for events of up to n_axis samples, up to
// n_channels channels of each of up to n_events events at once, and
// receivers 0 .. n_receivers - 1.
class Echo_scratch {
public:
    Echo_scratch(int n_axis, int n_channels, int n_events, int n_receivers);
    double* tx() { return tx_.data(); }
    double* band() { return band_.data(); }
    double* rx() { return rx_.data(); }
    // The sums of the channels of an event, one after the other, `stride`
    // (2 n_axis: every sum index of a transmit and a receive sample) a
    // channel.
    std::size_t stride() const { return 2 * n_axis_; }
    double* echo(int event, int channel)
    {
        return echo_.data() + (std::size_t(event) * n_channels_ + channel) * stride();
    }

    // A receive element's response at the scatterer being summed, formed
    // once for all the events and channels that receive on it: its
    // non-zero samples, the first at receive sample k_first. A visit is one
    // scatterer summed by this scratch's worker, counted over all its work
    // (the same scatterer comes back for other groups of events).
    struct Received {
        std::size_t visit = 0;  // whose response it holds; visits start at 1
        int k_first = 0, size = 0;
        std::size_t at = 0;  // where its samples start in received_samples
    };
    Received& received(std::int64_t j) { return received_[std::size_t(j)]; }
    // A new visit: the responses formed before it are no longer valid.
    std::size_t next_visit()
    {
        received_samples.clear();
        return ++visits_;
    }
    std::vector<double> received_samples;

private:
    std::size_t n_axis_, n_channels_;
    std::vector<double> tx_, band_, rx_, echo_;
    std::vector<Received> received_;
    std::size_t visits_ = 0;
};

// Called after every block of scatterers with the count of them done since
// the last call; false stops the work.
using Scatterer_blocks = Function_ref<bool(std::size_t)>;

// The echo sums of channels first .. first + n - 1 of events e_first ..
// e_first + n_events - 1 (axes[e] event e's) over the scatterers s_first ..
// s_end - 1 in order: channel c of the v-th of them, from +0, in
// scratch.echo(v, c). Each receive element's response at a scatterer is
// formed once for them all. False when `after_block` stopped it. Throws
// std::bad_alloc when the responses cannot be held.
bool echo_sums(const Pulse_echo_job& job, const Echo_axes* axes, int e_first, int n_events,
               int first, int n, std::size_t s_first, std::size_t s_end, Echo_scratch& scratch,
               Scatterer_blocks after_block);

// The records of n channels of an event from their echo sums (`echo`,
// `stride` a channel, one after the other) into out (nt a channel).
void apply_pulse(const Pulse_echo_job& job, const Echo_axes& axes, int n, const double* echo,
                 std::size_t stride, double* out);

}  // namespace velk

#pragma GCC visibility pop
