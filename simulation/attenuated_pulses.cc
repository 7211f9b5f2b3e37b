#include "attenuated_pulses.h"

#include "att.h"
#include "conv.h"
#include "fftw_turn.h"
#include "fine_pulse.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <mutex>
#include <new>

namespace velk {

int Attenuated_pulses::window(int n_pulse)
{
    long long n = 1024;
    while (n < 8LL * n_pulse)
        n *= 2;
    if (n > (1LL << 28))
        throw std::bad_alloc();
    return static_cast<int>(n);
}

std::unique_ptr<Attenuated_pulses> Attenuated_pulses::make(const double* pulse, int n_pulse,
                                                           double dt, double alpha, double cp,
                                                           double r_max, int step)
{
    std::unique_ptr<Attenuated_pulses> made(new Attenuated_pulses);
    Attenuated_pulses& p = *made;
    // A bin per mm, or fewer where the paths are very long: the attenuation
    // changes little over a mm (at 1 dB/(cm MHz) and 10 MHz, 1 dB).
    p.step_ = std::max(1.0, r_max / 4096.0);
    p.bins_ = static_cast<int>(r_max / p.step_) + 2;
    p.cp_ = cp;
    const int Na = window(n_pulse);
    const int k0 = Na / 8;
    const std::size_t full = std::size_t(Na) + n_pulse - 1;
    std::vector<double> medium(Na), pulses(full * p.bins_);
    {
        const std::lock_guard turn(fftw_turn());
        if (!att_init(Na, 1))
            return nullptr;
        for (int b = 0; b < p.bins_; ++b) {
            std::fill(medium.begin(), medium.end(), 0.0);
            att(alpha, b * p.step_, k0, dt, cp, medium.data(), Na, 1.0);
            conv(pulse, n_pulse, medium.data(), Na, pulses.data() + b * full, false, fold_assign);
        }
        att_close();
    }

    double peak = 0.0;
    for (double v : pulses)
        peak = std::max(peak, std::abs(v));
    std::size_t q_first = full, q_last = 0;
    for (int b = 0; b < p.bins_; ++b)
        for (std::size_t q = 0; q < full; ++q)
            if (std::abs(pulses[b * full + q]) > 1e-4 * peak) {
                q_first = std::min(q_first, q);
                q_last = std::max(q_last, q);
            }
    if (q_first > q_last)  // a pulse of zeros
        q_first = q_last = 0;
    p.length_ = static_cast<int>(q_last - q_first + 1);
    p.lead_ = k0 - static_cast<int>(q_first);
    const int coarse_length = p.length_;
    for (int b = 0; b < p.bins_; ++b) {
        const double* first = pulses.data() + b * full + q_first;
        const Fine_pulse fine = fine_pulse({first, first + coarse_length}, step);
        if (b == 0) {
            p.length_ = static_cast<int>(fine.samples.size());
            p.lead_ = p.lead_ * step + fine.lead;
            p.pulses_.resize(std::size_t(p.length_) * p.bins_);
        }
        std::copy(fine.samples.begin(), fine.samples.end(),
                  p.pulses_.data() + std::size_t(b) * p.length_);
    }
    return made;
}

void Attenuated_pulses::at_time(double t, int& b, double& f) const
{
    const double x = t > 0.0 ? cp_ * t / 1000.0 / step_ : 0.0;
    b = std::min(static_cast<int>(std::min(x, double(bins_))), bins_ - 2);
    f = std::min(x - b, 1.0);
}

}  // namespace velk
