#include "fft.h"

#include <cmath>
#include <cstddef>

fftw_plan p_forward = nullptr;
fftw_plan p_backward = nullptr;
fftw_plan p_backward_cc = nullptr;

// FFTW's threaded planning lives in a library of its own. Where the host has
// loaded it and asked for several threads (Octave does), these resolve and
// the planner is held to one thread while it plans for this module: the
// module computes on the calling thread only, and the host's setting is put
// back afterwards. Without that library they stay null.
#pragma weak fftw_plan_with_nthreads
#pragma weak fftw_planner_nthreads

namespace {

int forward_n = 0;      // length p_forward was made for
int backward_cc_n = 0;  // length p_backward_cc was made for

class One_planner_thread {
public:
    One_planner_thread()
    {
        if (fftw_plan_with_nthreads && fftw_planner_nthreads) {
            saved_ = fftw_planner_nthreads();
            fftw_plan_with_nthreads(1);
        }
    }
    ~One_planner_thread()
    {
        if (saved_ > 0)
            fftw_plan_with_nthreads(saved_);
    }
    One_planner_thread(const One_planner_thread&) = delete;
    One_planner_thread& operator=(const One_planner_thread&) = delete;

private:
    int saved_ = 0;
};

// Arrays of the caller's alignment to measure on, so that planning never
// writes into the caller's data; freed when the plan is made.
template <class T>
struct Scratch {
    explicit Scratch(int n)
        : data(static_cast<T*>(fftw_malloc(sizeof(T) * static_cast<std::size_t>(n)))) {}
    ~Scratch() { fftw_free(data); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    T* data;
};

void destroy(fftw_plan& plan)
{
    if (plan)
        fftw_destroy_plan(plan);
    plan = nullptr;
}

bool make_forward(int n)
{
    if (p_forward && forward_n == n)
        return true;
    destroy(p_forward);
    Scratch<double> in(n), out(n);
    if (!in.data || !out.data)
        return false;
    const One_planner_thread one_thread;
    p_forward = fftw_plan_r2r_1d(n, in.data, out.data, FFTW_R2HC, FFTW_MEASURE);
    forward_n = n;
    return p_forward != nullptr;
}

bool make_backward_cc(int n)
{
    if (p_backward_cc && backward_cc_n == n)
        return true;
    destroy(p_backward_cc);
    Scratch<fftw_complex> in(n), out(n);
    if (!in.data || !out.data)
        return false;
    const One_planner_thread one_thread;
    p_backward_cc = fftw_plan_dft_1d(n, in.data, out.data, FFTW_BACKWARD, FFTW_MEASURE);
    backward_cc_n = n;
    return p_backward_cc != nullptr;
}

}  // namespace

bool fft_init(int n, fftw_complex* in, double* out)
{
    destroy(p_backward);
    const One_planner_thread one_thread;
    p_backward = fftw_plan_dft_c2r_1d(n, in, out, FFTW_MEASURE);
    return p_backward != nullptr;
}

void fft_close()
{
    destroy(p_backward);
    destroy(p_forward);
    destroy(p_backward_cc);
}

void cr_ifft(fftw_complex* in, double* out, int n)
{
    fftw_execute_dft_c2r(p_backward, in, out);
    const double scale = n;  // divided, not multiplied by 1/n
    for (int j = 0; j < n; ++j)
        out[j] /= scale;
}

bool cc_ifft(fftw_complex* in, fftw_complex* out, int n)
{
    if (!make_backward_cc(n))
        return false;
    fftw_execute_dft(p_backward_cc, in, out);
    const double scale = n;
    for (int j = 0; j < n; ++j) {
        out[j][0] /= scale;
        out[j][1] /= scale;
    }
    return true;
}

bool velk_fft(double* in, double* out, int n)
{
    if (!make_forward(n))
        return false;
    fftw_execute_r2r(p_forward, in, out);
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
    Scratch<double> scratch_in(n), scratch_out(n);
    if (!scratch_in.data || !scratch_out.data)
        return false;
    fftw_plan plan;
    {
        const One_planner_thread one_thread;
        plan = fftw_plan_r2r_1d(n, scratch_in.data, scratch_out.data, FFTW_HC2R, FFTW_MEASURE);
    }
    if (!plan)
        return false;
    for (int k = n / 2; k < n; ++k)
        in[k] = 0.0;
    fftw_execute_r2r(plan, in, out);
    fftw_destroy_plan(plan);
    return true;
}
