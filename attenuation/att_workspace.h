// Everything the attenuation module makes for transforms of one length n:
// the work slots the kernels fill, the plans of the transforms of that
// length, and the frequency terms that every response of one sampling period
// shares. One object with one lifetime: made by att_init or fft_init and
// released whole by att_close or fft_close. The globals of att.h and fft.h
// (n_cpus, XC, BUF, p_backward, p_forward, p_backward_cc) are views of the
// current one.
#pragma once

#include <fftw3.h>

#include <cmath>
#include <memory>
#include <vector>

namespace velk {

class Att_workspace {
public:
    // A workspace for length n >= 1 with n_slots >= 0 work slots, each a
    // spectrum of n + 1 complex values and a signal of n + 1 doubles from
    // fftw_malloc. The complex-to-real plan is measured on `in` and `out`
    // where given, else on slot 0, else on scratch arrays of the same
    // alignment. Null when memory or the plan cannot be had.
    static std::unique_ptr<Att_workspace> make(int n, int n_slots, fftw_complex* in, double* out);
    ~Att_workspace();
    Att_workspace(const Att_workspace&) = delete;
    Att_workspace& operator=(const Att_workspace&) = delete;

    int length() const { return n_; }
    int slots() const { return static_cast<int>(spectra_.size()); }
    fftw_complex** spectra() { return spectra_.data(); }
    double** signals() { return signals_.data(); }

    // The complex-to-real plan, made with the workspace.
    fftw_plan backward() const { return backward_; }
    // The other plans, measured on scratch arrays on first use and kept as
    // long as the workspace; null when FFTW cannot make them.
    fftw_plan forward();      // real to half-complex
    fftw_plan backward_cc();  // complex to complex, inverse
    fftw_plan backward_hc();  // half-complex to real, leaving its input as it was

    // The terms of bins i = 1 .. n/2 at sampling period dt (us), element
    // i - 1: the angular frequency w_i = i (2 pi / n) (1 / T) and
    // ln(1 / (w_i 0.95 T / pi)), the logarithm of w0 / w_i, with T = dt / 1e6.
    // Formed again only when dt changes.
    struct Bins {
        std::vector<double> omega;
        std::vector<double> log_ratio;
    };
    const Bins& bins(double dt);

private:
    explicit Att_workspace(int n) : n_(n) {}
    friend void show_plans();

    int n_;
    std::vector<fftw_complex*> spectra_;
    std::vector<double*> signals_;
    fftw_plan backward_ = nullptr;
    fftw_plan forward_ = nullptr;
    fftw_plan backward_cc_ = nullptr;
    fftw_plan backward_hc_ = nullptr;
    Bins bins_;
    double bins_dt_ = NAN;  // dt the bins were formed for; NaN: none yet
};

// The current workspace, or null. The functions of att.h and fft.h use it;
// they run on one thread at a time.
Att_workspace* workspace();

// Replaces the current workspace with a new one (see Att_workspace::make)
// and points the globals at it. Returns false, with no workspace left, when
// it cannot be made.
bool open_workspace(int n, int n_slots, fftw_complex* in, double* out);

// Releases the current workspace, if any, and nulls the globals that view it
// (n_cpus, the count of slots att_init made, keeps its value).
void close_workspace();

// Points the plan globals at the current workspace's plans, after one has
// been made on first use.
void show_plans();

}  // namespace velk
