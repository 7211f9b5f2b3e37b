// The two-way pulse as it arrives through a linearly attenuating medium
// (att.h's model, with its dispersion), for round trips 0, step, 2 step, ...
// mm, and between them by linear interpolation: the pulse that a
// pulse-echo channel applies to its echo sample at time t, whose round trip
// is cp t. One filter per sample along the channel, so one attenuation per
// depth for all the scatterers that echo at that time: within the spread of
// the paths of one echo sample (the aperture's extent at that depth), the
// same path.
#pragma once

#include <memory>
#include <vector>

namespace velk {

class Attenuated_pulses {
public:
    // For paths up to r_max mm in a medium of attenuation alpha
    // (dB/(cm MHz)) and sound speed cp (m/s), pulse sampled every dt us.
    // Each pulse is pulse * a_r, a_r the medium's response over r (its
    // samples sum to 1) on a window of `window` samples, then all cut to the
    // samples where one of them exceeds 1e-4 of their largest magnitude (the
    // medium's responses hold a floor of some 1e-5 of their peak over the
    // whole window, which would make every pulse the window's length), then
    // each interpolated every dt / step us (fine_pulse.h): the medium is the
    // one velk_damp gives at the record's sampling (its dispersion is that
    // of the grid it is formed on). Null when the transform cannot be
    // planned; throws std::bad_alloc.
    // Plans under fftw_turn(), by timing (att_init): two processes may take
    // plans whose sums differ in the last bits, as velk_damp's.
    static std::unique_ptr<Attenuated_pulses> make(const double* pulse, int n_pulse, double dt,
                                                   double alpha, double cp, double r_max,
                                                   int step);

    // Samples of each pulse; sample q stands at lag (q - lead()) dt / step.
    int length() const { return length_; }
    int lead() const { return lead_; }

    // The path of the echo sample at time t us is cp t / 1000 mm (0 for t <
    // 0): the bin b whose pulse and the next one's it lies between, and the
    // weight f of the next one, f in [0, 1).
    void at_time(double t, int& b, double& f) const;
    const double* pulse(int b) const { return pulses_.data() + std::size_t(b) * length_; }

    // The window the pulses are formed on: at least 1024 samples and 8
    // times the pulse, a power of 2, the pulse placed an eighth in.
    static int window(int n_pulse);

private:
    Attenuated_pulses() = default;
    int length_ = 0;
    int lead_ = 0;
    int bins_ = 0;
    double step_ = 1.0;  // mm
    double cp_ = 0.0;
    std::vector<double> pulses_;  // bins_ x length_
};

}  // namespace velk
