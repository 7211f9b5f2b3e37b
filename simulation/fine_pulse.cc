#include "fine_pulse.h"


#include <algorithm>
#include <cmath>
#include <numbers>

namespace velk {
namespace {

constexpr int half_width = 8;  // pulse samples either side of an interpolated one
constexpr double kaiser_beta = 8.0;

// The interpolation kernel at u pulse samples: sinc(u) w(u / half_width),
// w the Kaiser window.
double kernel(double u)
{
    const double r = u / half_width;
    if (!(std::abs(r) < 1.0))
        return 0.0;
    const double pu = std::numbers::pi * u;
    const double window = std::cyl_bessel_i(0.0, kaiser_beta * std::sqrt(1.0 - r * r)) /
                          std::cyl_bessel_i(0.0, kaiser_beta);
    return std::sin(pu) / pu * window;
}

}  // namespace

int fine_steps(const double* pulse, int n_pulse)
{
    // sum |p_q - p_(q-1)|^2 / sum p_q^2 (the pulse's ends against zeros) is
    // the power-weighted mean of (2 sin(pi f dt))^2 over its spectrum.
    double power = 0.0, differences = 0.0, before = 0.0;
    for (int q = 0; q <= n_pulse; ++q) {
        const double p = q < n_pulse ? pulse[q] : 0.0;
        power += p * p;
        differences += (p - before) * (p - before);
        before = p;
    }
    if (!(power > 0.0))
        return 1;
    const double turn = std::asin(std::min(1.0, std::sqrt(differences / power) / 2.0));
    const double periods_a_sample = turn / std::numbers::pi;  // f dt
    return std::clamp(static_cast<int>(std::ceil(16.0 * periods_a_sample)), 1, 4);
}

Fine_pulse fine_pulse(const std::vector<double>& pulse, int step)
{
    if (step == 1)
        return {pulse, 0};
    // The kernel's taps for each phase r of a step: taps[r][i] weighs the
    // pulse sample i - half_width + 1 samples after the one before the
    // interpolated sample.
    const int n_taps = 2 * half_width;
    std::vector<double> taps(std::size_t(step) * n_taps);
    for (int r = 1; r < step; ++r)
        for (int i = 0; i < n_taps; ++i)
            taps[std::size_t(r) * n_taps + i] = kernel(double(r) / step - (i - half_width + 1));

    const int L = static_cast<int>(pulse.size());
    const int lead = half_width * step;
    Fine_pulse fine{std::vector<double>(std::size_t(L - 1 + 2 * half_width) * step + 1), lead};
    for (std::size_t n = 0; n < fine.samples.size(); ++n) {
        const int at = static_cast<int>(n) - lead;  // fine samples from time 0
        const int before = at >= 0 ? at / step : -((-at + step - 1) / step);
        const int r = at - before * step;
        if (r == 0) {
            fine.samples[n] = before >= 0 && before < L ? pulse[before] : 0.0;
            continue;
        }
        const double* w = taps.data() + std::size_t(r) * n_taps;
        double sum = 0.0;
        for (int i = 0; i < n_taps; ++i) {
            const int q = before - half_width + 1 + i;
            if (q >= 0 && q < L)
                sum += pulse[q] * w[i];
        }
        fine.samples[n] = sum;
    }
    return fine;
}

}  // namespace velk
