#include "att.h"

#include "fft.h"
#include "units.h"

#include <cmath>
#include <cstddef>

int n_cpus = 1;
fftw_complex** XC = nullptr;
double** BUF = nullptr;

namespace {

using velk::pi;
using velk::pi_squared;
using velk::two_pi;

// The response in the kernel's slot's signal buffer.
const double* response(double alpha, double r, int k, double dt, int nt)
{
    const int slot = n_cpus >= 2 ? n_cpus - 1 : 0;
    fftw_complex* X = XC[slot];
    double* y = BUF[slot];
    att_spectrum(alpha, r, k, dt, nt, X);
    cr_ifft(X, y, nt);
    return y;
}

}  // namespace

// The spectrum of the response over the distance r, on the nt-point grid
// of sampling period dt (us), into X[0 .. nt-1]. Every bin is the value at
// frequency f_i = i / (nt T):
//   amplitude  exp(-alpha R f_i), alpha in Np/(m Hz), R in m;
//   phase      -(alpha R w_i / pi^2) ln(w0 / w_i) - w_i t_k,
// the dispersion a causal medium with this attenuation must have (zero at
// w0 = pi / (0.95 T), just above the Nyquist frequency) and the delay of the
// pulse to row k. The upper half holds the conjugates.
void att_spectrum(double alpha, double r, int k, double dt, int nt, fftw_complex* X)
{
    const double T = velk::us_to_s(dt);
    const double d_omega = two_pi / nt;
    const double fs = 1.0 / T;
    const double t_k = k * T;
    const double omega_scale = 0.95 * T / pi;

    X[0][0] = 1.0;
    X[0][1] = 0.0;
    const int nh = nt / 2;
    if (nh < 1)
        return;
    // 86860 dB/(cm MHz) per Np/(m Hz), rounded as the model has always had it.
    const double a = alpha / 86860.0;
    const double R = velk::mm_to_m(r);
    for (int i = 1; i <= nh; ++i) {
        const double omega = i * d_omega * fs;
        const double A = std::exp(-a * R * omega / two_pi);
        const double L = std::log(1.0 / (omega * omega_scale));
        const double theta = -(a * R * omega / pi_squared) * L - omega * t_k;
        double s, c;
        ::sincos(theta, &s, &c);
        X[i][0] = A * c;
        X[i][1] = A * s;
        // For even nt the last pass writes the middle bin a second time.
        X[nt - i][0] = A * c;
        X[nt - i][1] = -A * s;
    }
}

bool att_init(int nt, int n)
{
    n_cpus = n;
    const std::size_t slots = static_cast<std::size_t>(n);
    const std::size_t length = static_cast<std::size_t>(nt) + 1;
    XC = static_cast<fftw_complex**>(fftw_malloc(slots * sizeof(fftw_complex*)));
    BUF = static_cast<double**>(fftw_malloc(slots * sizeof(double*)));
    if (!XC || !BUF) {
        att_close();
        return false;
    }
    // Null slots first, so that a release after a failed allocation frees
    // only what exists.
    for (std::size_t s = 0; s < slots; ++s) {
        XC[s] = nullptr;
        BUF[s] = nullptr;
    }
    for (std::size_t s = 0; s < slots; ++s) {
        XC[s] = static_cast<fftw_complex*>(fftw_malloc(length * sizeof(fftw_complex)));
        BUF[s] = static_cast<double*>(fftw_malloc(length * sizeof(double)));
        if (!XC[s] || !BUF[s]) {
            att_close();
            return false;
        }
    }
    if (!fft_init(nt, XC[0], BUF[0])) {
        att_close();
        return false;
    }
    return true;
}

void att_close()
{
    if (XC && BUF) {
        for (int s = 0; s < n_cpus; ++s) {
            fftw_free(XC[s]);
            fftw_free(BUF[s]);
        }
    }
    fftw_free(XC);
    fftw_free(BUF);
    XC = nullptr;
    BUF = nullptr;
    fft_close();
}

void att(double alpha, double r, int k, double dt, double /*cp*/, double* h, int nt, double w)
{
    const double* y = response(alpha, r, k, dt, nt);
    for (int j = 0; j < nt; ++j)
        h[j] += w * y[j];
}

void att_annu(double alpha, double r, int k, double dt, double /*cp*/, double* h, int nt,
              double w, int col)
{
    // The spectrum is att's; only the place the response is added to differs.
    const double* y = response(alpha, r, k, dt, nt);
    double* column = h + static_cast<std::size_t>(col) * static_cast<std::size_t>(nt);
    for (int j = 0; j < nt; ++j)
        column[j] += w * y[j];
}
