// The pulse of a pulse-echo call on the finer grid its sums are formed on.
// The element responses' spectra reach far past the band of the pulse, and
// their sums on the record's own grid alias that reach into the band: the
// error of a channel falls as the square of the samples a period (6.6 % at
// 8 samples a period, 0.7 % at 24, for 0.27 mm elements at 5 MHz). So the
// sums are formed `step` times finer than the record, the pulse
// interpolated onto that grid, and only the record's samples are formed
// from them. Host-free.
#pragma once

#include <vector>

namespace velk {

// The finest step the sums need: enough that the pulse's frequency (its
// root-mean-square frequency, as its differences give it) has at least 16
// samples a period, at most 4 steps a record sample; 1 for a pulse of
// zeros.
int fine_steps(const double* pulse, int n_pulse);

// A pulse sampled every dt us (its first sample at time 0), interpolated
// every dt / step us by the Kaiser-windowed sinc over 8 samples either
// side: its samples from -8 dt to (n_pulse - 1 + 8) dt, the first `lead`
// samples before time 0; at the pulse's own times its own values.
struct Fine_pulse {
    std::vector<double> samples;
    int lead = 0;
};

Fine_pulse fine_pulse(const std::vector<double>& pulse, int step);

}  // namespace velk
