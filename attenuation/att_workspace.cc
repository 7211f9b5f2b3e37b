#include "att_workspace.h"

#include "att.h"
#include "fft.h"
#include "fftw_turn.h"
#include "units.h"

#include <cmath>
#include <cstddef>
#include <new>

// FFTW's threaded planning lives in a library of its own. Where the host has
// loaded it and asked for several threads (Octave does), these resolve and
// the planner is held to one thread while it plans for this module: the
// module computes on the calling thread only, and the host's setting is put
// back afterwards. Without that library they stay null.
#pragma weak fftw_plan_with_nthreads
#pragma weak fftw_planner_nthreads

namespace velk {
namespace {

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

// An array from fftw_malloc, freed with its owner.
template <class T>
struct Fftw_array {
    explicit Fftw_array(int n)
        : data(static_cast<T*>(fftw_malloc(sizeof(T) * static_cast<std::size_t>(n))))
    {
    }
    ~Fftw_array() { fftw_free(data); }
    Fftw_array(const Fftw_array&) = delete;
    Fftw_array& operator=(const Fftw_array&) = delete;
    T* data;
};

// Plans a measured transform on scratch arrays of the length and alignment
// of the ones it will run on, so that planning never writes into the
// caller's data.
template <class In, class Out, class Planner>
fftw_plan plan_on_scratch(int n, Planner&& planner)
{
    Fftw_array<In> in(n);
    Fftw_array<Out> out(n);
    if (!in.data || !out.data)
        return nullptr;
    const One_planner_thread one_thread;
    return planner(in.data, out.data);
}

std::unique_ptr<Att_workspace> current;

}  // namespace

std::unique_ptr<Att_workspace> Att_workspace::make(int n, int n_slots, fftw_complex* in,
                                                   double* out)
{
    std::unique_ptr<Att_workspace> w;
    try {
        w.reset(new Att_workspace(n));
        w->spectra_.assign(static_cast<std::size_t>(n_slots), nullptr);
        w->signals_.assign(static_cast<std::size_t>(n_slots), nullptr);
        const std::size_t half = static_cast<std::size_t>(n / 2);
        w->bins_.omega.resize(half);
        w->bins_.log_ratio.resize(half);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    const std::size_t length = static_cast<std::size_t>(n) + 1;
    for (int s = 0; s < n_slots; ++s) {
        w->spectra_[s] = static_cast<fftw_complex*>(fftw_malloc(length * sizeof(fftw_complex)));
        w->signals_[s] = static_cast<double*>(fftw_malloc(length * sizeof(double)));
        if (!w->spectra_[s] || !w->signals_[s])
            return nullptr;
    }
    if (!in && n_slots > 0) {
        in = w->spectra_[0];
        out = w->signals_[0];
    }
    if (in) {
        const One_planner_thread one_thread;
        w->backward_ = fftw_plan_dft_c2r_1d(n, in, out, FFTW_MEASURE);
    } else {
        w->backward_ = plan_on_scratch<fftw_complex, double>(n, [n](fftw_complex* i, double* o) {
            return fftw_plan_dft_c2r_1d(n, i, o, FFTW_MEASURE);
        });
    }
    if (!w->backward_)
        return nullptr;
    return w;
}

Att_workspace::~Att_workspace()
{
    for (fftw_plan plan : {backward_, forward_, backward_cc_, backward_hc_})
        if (plan)
            fftw_destroy_plan(plan);
    for (std::size_t s = 0; s < spectra_.size(); ++s) {
        fftw_free(spectra_[s]);
        fftw_free(signals_[s]);
    }
}

fftw_plan Att_workspace::forward()
{
    if (!forward_)
        forward_ = plan_on_scratch<double, double>(n_, [this](double* i, double* o) {
            return fftw_plan_r2r_1d(n_, i, o, FFTW_R2HC, FFTW_MEASURE);
        });
    return forward_;
}

fftw_plan Att_workspace::backward_cc()
{
    if (!backward_cc_)
        backward_cc_ = plan_on_scratch<fftw_complex, fftw_complex>(
            n_, [this](fftw_complex* i, fftw_complex* o) {
                return fftw_plan_dft_1d(n_, i, o, FFTW_BACKWARD, FFTW_MEASURE);
            });
    return backward_cc_;
}

fftw_plan Att_workspace::backward_hc()
{
    // A half-complex-to-real transform may overwrite its input unless told
    // not to.
    if (!backward_hc_)
        backward_hc_ = plan_on_scratch<double, double>(n_, [this](double* i, double* o) {
            return fftw_plan_r2r_1d(n_, i, o, FFTW_HC2R, FFTW_MEASURE | FFTW_PRESERVE_INPUT);
        });
    return backward_hc_;
}

const Att_workspace::Bins& Att_workspace::bins(double dt)
{
    if (dt != bins_dt_) {
        const double T = us_to_s(dt);
        const double d_omega = two_pi / n_;
        const double fs = 1.0 / T;
        const double omega_scale = 0.95 * T / pi;
        for (std::size_t i = 1; i <= bins_.omega.size(); ++i) {
            const double omega = static_cast<double>(i) * d_omega * fs;
            bins_.omega[i - 1] = omega;
            bins_.log_ratio[i - 1] = std::log(1.0 / (omega * omega_scale));
        }
        bins_dt_ = dt;
    }
    return bins_;
}

Att_workspace* workspace() { return current.get(); }

bool open_workspace(int n, int n_slots, fftw_complex* in, double* out)
{
    close_workspace();
    current = Att_workspace::make(n, n_slots, in, out);
    if (!current)
        return false;
    XC = n_slots > 0 ? current->spectra() : nullptr;
    BUF = n_slots > 0 ? current->signals() : nullptr;
    show_plans();
    return true;
}

void close_workspace()
{
    current.reset();
    XC = nullptr;
    BUF = nullptr;
    show_plans();
}

void show_plans()
{
    Att_workspace* w = current.get();
    // Only views of what exists: asking for a plan here would make it.
    p_backward = w ? w->backward_ : nullptr;
    p_forward = w ? w->forward_ : nullptr;
    p_backward_cc = w ? w->backward_cc_ : nullptr;
}

}  // namespace velk

namespace velk {

std::mutex& fftw_turn()
{
    static std::mutex turn;
    return turn;
}

}  // namespace velk
