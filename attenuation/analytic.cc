#include "analytic.h"

#include "fftw_turn.h"
#include "units.h"

#include <fftw3.h>

#include <cmath>
#include <memory>

namespace velk {
namespace {

struct Plan_deleter {
    void operator()(fftw_plan_s* p) const
    {
        const std::lock_guard lock(fftw_turn());
        fftw_destroy_plan(p);
    }
};
using Plan = std::unique_ptr<fftw_plan_s, Plan_deleter>;

struct Buffer_deleter {
    void operator()(void* p) const { fftw_free(p); }
};

}  // namespace

bool analytic_columns(const double* x, std::size_t nt, std::size_t n, double dt,
                      const Analytic_band& band, double* out)
{
    if (nt == 0 || n == 0)
        return true;
    if (nt > static_cast<std::size_t>(INT32_MAX))
        return false;
    const int N = static_cast<int>(nt);
    std::unique_ptr<fftw_complex, Buffer_deleter> spectrum(
        static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * nt)));
    if (!spectrum)
        return false;
    Plan forward, backward;
    {
        const std::lock_guard lock(fftw_turn());
        forward.reset(fftw_plan_dft_1d(N, spectrum.get(), spectrum.get(), FFTW_FORWARD,
                                       FFTW_ESTIMATE));
        backward.reset(fftw_plan_dft_1d(N, spectrum.get(), spectrum.get(), FFTW_BACKWARD,
                                        FFTW_ESTIMATE));
    }
    if (!forward || !backward)
        return false;
    // The weight of bin k: 1 at 0 and nt/2, 2 at the positive frequencies,
    // 0 at the negative ones; with a band, 0 outside it (f in MHz).
    const double T = dt * static_cast<double>(nt);
    auto weight = [&](std::size_t k) {
        double w = (k == 0 || 2 * k == nt) ? 1.0 : (2 * k < nt ? 2.0 : 0.0);
        if (!band.keep_all && w != 0.0) {
            const double f = static_cast<double>(k) / T;
            if (!(std::fabs(f - band.fd) <= band.bandwidth * 0.5))
                w = 0.0;
        }
        return w;
    };
    fftw_complex* X = spectrum.get();
    for (std::size_t j = 0; j < n; ++j) {
        const double* column = x + j * nt;
        for (std::size_t k = 0; k < nt; ++k) {
            X[k][0] = column[k];
            X[k][1] = 0.0;
        }
        fftw_execute_dft(forward.get(), X, X);
        for (std::size_t k = 0; k < nt; ++k) {
            const double w = weight(k);
            X[k][0] *= w;
            X[k][1] *= w;
        }
        fftw_execute_dft(backward.get(), X, X);
        double* y = out + 2 * j * nt;
        for (std::size_t k = 0; k < nt; ++k) {
            y[2 * k] = X[k][0] / static_cast<double>(nt);
            y[2 * k + 1] = X[k][1] / static_cast<double>(nt);
        }
    }
    return true;
}

void mix_down(double* values, std::size_t nt, std::size_t n, double fd, double dt, double delay)
{
    if (n == 0)  // no columns: nothing to turn, however many rows (up to 2^31 - 1)
        return;
    for (std::size_t k = 0; k < nt; ++k) {
        const double cycles = fd * (delay + static_cast<double>(k) * dt);
        const double phase = -two_pi * (cycles - std::round(cycles));
        const double c = std::cos(phase), s = std::sin(phase);
        for (std::size_t j = 0; j < n; ++j) {
            double* v = values + 2 * (j * nt + k);
            const double re = v[0], im = v[1];
            v[0] = re * c - im * s;
            v[1] = re * s + im * c;
        }
    }
}

}  // namespace velk
