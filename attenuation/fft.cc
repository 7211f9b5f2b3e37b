#include "fft.h"

#include "att_workspace.h"

#include <cmath>

fftw_plan p_forward = nullptr;
fftw_plan p_backward = nullptr;
fftw_plan p_backward_cc = nullptr;

namespace {

// The current workspace when it is for length n, else null.
velk::Att_workspace* workspace_of(int n)
{
    velk::Att_workspace* w = velk::workspace();
    return w && w->length() == n ? w : nullptr;
}

}  // namespace

bool fft_init(int n, fftw_complex* in, double* out) { return velk::open_workspace(n, 0, in, out); }

void fft_close(void) { velk::close_workspace(); }

void cr_ifft(fftw_complex* in, double* out, int n)
{
    fftw_execute_dft_c2r(p_backward, in, out);
    const double scale = n;  // divided, not multiplied by 1/n
    for (int j = 0; j < n; ++j)
        out[j] /= scale;
}

bool cc_ifft(fftw_complex* in, fftw_complex* out, int n)
{
    velk::Att_workspace* w = workspace_of(n);
    const fftw_plan plan = w ? w->backward_cc() : nullptr;
    velk::show_plans();
    if (!plan)
        return false;
    fftw_execute_dft(plan, in, out);
    const double scale = n;
    for (int j = 0; j < n; ++j) {
        out[j][0] /= scale;
        out[j][1] /= scale;
    }
    return true;
}

bool velk_fft(double* in, double* out, int n)
{
    velk::Att_workspace* w = workspace_of(n);
    const fftw_plan plan = w ? w->forward() : nullptr;
    velk::show_plans();
    if (!plan)
        return false;
    fftw_execute_r2r(plan, in, out);
    // Bin k has its real part in out[k] and its imaginary part in out[n-k];
    // bin 0 has none stored. Each upper element is read before the mirror
    // below overwrites it.
    const int h = n / 2;
    out[0] = std::fabs(out[0]);
    for (int k = 1; k < h; ++k)
        out[k] = std::sqrt(out[k] * out[k] + out[n - k] * out[n - k]);
    // For odd n bin h has both parts stored, in out[h] and out[h+1]; for
    // even n out[h] is the real middle bin and keeps its sign.
    if (n % 2 == 1 && h >= 1)
        out[h] = std::sqrt(out[h] * out[h] + out[h + 1] * out[h + 1]);
    for (int k = h + 1; k < n; ++k)
        out[k] = out[n - k];
    return true;
}

bool velk_ifft(double* in, double* out, int n)
{
    velk::Att_workspace* w = workspace_of(n);
    const fftw_plan plan = w ? w->backward_hc() : nullptr;
    if (!plan)
        return false;
    for (int k = n / 2; k < n; ++k)
        in[k] = 0.0;
    fftw_execute_r2r(plan, in, out);
    return true;
}
