// The spectrum's bins are formed a vector at a time, in every instruction set
// that Highway builds this file for (the lines up to HWY_ONCE are compiled
// once per set), and the set the processor has is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "att.cc"
#include <hwy/foreach_target.h>  // must come before highway.h

#include <hwy/highway.h>

#include "vector_math-inl.h"

#include <fftw3.h>

#include <cmath>

HWY_BEFORE_NAMESPACE();
namespace velk::HWY_NAMESPACE {
namespace {

// f applied to each lane of v on its own.
template <class D, class F, class V = hn::Vec<D>>
HWY_INLINE V each_lane(D d, V v, F f)
{
    HWY_ALIGN_MAX double lanes[HWY_MAX_BYTES / sizeof(double)];
    hn::Store(v, d, lanes);
    for (std::size_t l = 0; l < hn::Lanes(d); ++l)
        lanes[l] = f(lanes[l]);
    return hn::Load(d, lanes);
}

// Bins X[1 .. nh] from each bin's angular frequency w and ln(w0 / w):
//   amplitude  exp((-alpha R) w / (2 pi)),
//   phase      -((alpha R) w / pi^2) ln(w0 / w) - w t_k.
// Highway's exponential, sine and cosine are used where they hold their
// accuracy (|argument| up to 700 and 39000), the library's elsewhere.
void spectrum_bins(const double* omega, const double* log_ratio, std::size_t nh, double minus_aR,
                   double aR, double t_k, fftw_complex* X)
{
    const hn::ScalableTag<double> d;
    using V = hn::Vec<decltype(d)>;
    const std::size_t lanes = hn::Lanes(d);
    const V two_pi_v = hn::Set(d, two_pi), pi_squared_v = hn::Set(d, pi_squared);
    const V exp_limit = hn::Set(d, 700.0), sin_limit = hn::Set(d, 39000.0);
    for (std::size_t i = 0; i < nh; i += lanes) {
        const bool whole = nh - i >= lanes;
        const V w = whole ? hn::LoadU(d, omega + i) : LoadFirst(d, omega + i, nh - i);
        const V L = whole ? hn::LoadU(d, log_ratio + i) : LoadFirst(d, log_ratio + i, nh - i);
        const V exponent = hn::Div(hn::Mul(hn::Set(d, minus_aR), w), two_pi_v);
        const V theta =
            hn::Sub(hn::Mul(hn::Neg(hn::Div(hn::Mul(hn::Set(d, aR), w), pi_squared_v)), L),
                    hn::Mul(w, hn::Set(d, t_k)));
        const V A = hn::AllTrue(d, hn::Le(hn::Abs(exponent), exp_limit))
                        ? hn::Exp(d, exponent)
                        : each_lane(d, exponent, [](double x) { return std::exp(x); });
        V s, c;
        if (hn::AllTrue(d, hn::Le(hn::Abs(theta), sin_limit))) {
            s = hn::Sin(d, theta);
            c = hn::Cos(d, theta);
        } else {
            s = each_lane(d, theta, [](double x) { return std::sin(x); });
            c = each_lane(d, theta, [](double x) { return std::cos(x); });
        }
        const V re = hn::Mul(A, c), im = hn::Mul(A, s);
        if (whole) {
            hn::StoreInterleaved2(re, im, d, &X[i][0]);
        } else {
            HWY_ALIGN_MAX double pairs[2 * HWY_MAX_BYTES / sizeof(double)];
            hn::StoreInterleaved2(re, im, d, pairs);
            std::copy_n(pairs, 2 * (nh - i), &X[i][0]);
        }
    }
}

}  // namespace
}  // namespace velk::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "att.h"

#include "att_workspace.h"
#include "fft.h"
#include "units.h"

#include <cstddef>

int n_cpus = 1;
fftw_complex** XC = nullptr;
double** BUF = nullptr;

namespace velk {
HWY_EXPORT(spectrum_bins);

namespace {

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
}  // namespace velk

// Every bin is the value at frequency f_i = i / (nt T):
//   amplitude  exp(-alpha R f_i), alpha in Np/(m Hz), R in m;
//   phase      -(alpha R w_i / pi^2) ln(w0 / w_i) - w_i t_k,
// the dispersion a causal medium with this attenuation must have (zero at
// w0 = pi / (0.95 T), just above the Nyquist frequency) and the delay of the
// pulse to row k. w_i and ln(w0 / w_i) are the workspace's, formed once for
// the sampling period.
void att_spectrum(double alpha, double r, int k, double dt, int nt, fftw_complex* X)
{
    X[0][0] = 1.0;
    X[0][1] = 0.0;
    const int nh = nt / 2;
    if (nh < 1)
        return;
    const velk::Att_workspace::Bins& bins = velk::workspace()->bins(dt);
    const double t_k = k * velk::us_to_s(dt);
    // 86860 dB/(cm MHz) per Np/(m Hz), rounded as the model has always had it.
    const double a = alpha / 86860.0;
    const double R = velk::mm_to_m(r);
    const std::size_t n = static_cast<std::size_t>(nh);
    HWY_DYNAMIC_DISPATCH(velk::spectrum_bins)(&bins.omega[0], &bins.log_ratio[0], n, -a * R, a * R,
                                              t_k, X + 1);
}

bool att_init(int nt, int n)
{
    n_cpus = n;
    return velk::open_workspace(nt, n, nullptr, nullptr);
}

void att_close(void) { velk::close_workspace(); }

void att(double alpha, double r, int k, double dt, double /*cp*/, double* h, int nt, double w)
{
    const double* y = velk::response(alpha, r, k, dt, nt);
    for (int j = 0; j < nt; ++j)
        h[j] += w * y[j];
}

void att_annu(double alpha, double r, int k, double dt, double /*cp*/, double* h, int nt,
              double w, int col)
{
    // The spectrum is att's; only the place the response is added to differs.
    const double* y = velk::response(alpha, r, k, dt, nt);
    double* column = h + static_cast<std::size_t>(col) * static_cast<std::size_t>(nt);
    for (int j = 0; j < nt; ++j)
        column[j] += w * y[j];
}
#endif  // HWY_ONCE
