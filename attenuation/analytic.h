// The analytic signal of sampled signals, and I/Q data from it, over FFTW.
// Host-free. Plans are made with FFTW_ESTIMATE, which chooses the same
// algorithm in every process, so every host and every call gives the same
// bits; planning takes a lock of its own, since FFTW's planner serves the
// whole process.
#pragma once

#include <cstddef>

namespace velk {

// The band kept of the analytic signal's spectrum: every frequency
// (keep_all), or those within bandwidth / 2 of fd (MHz).
struct Analytic_band {
    bool keep_all = true;
    double fd = 0.0;
    double bandwidth = 0.0;
};

// For each of the n columns of nt samples of x (column-major, sampled every
// dt us): the analytic signal y = x + i H{x}, its spectrum that of x at
// frequency 0 (and nt/2 for even nt), twice it at the positive frequencies,
// 0 at the negative ones, brought back with the normalised inverse
// transform; with a band, the spectrum's bins outside |f - fd| <= bandwidth
// / 2 set to 0 first. out: nt x n complex values, interleaved (re, im).
// False when memory or a plan cannot be had (out is then unwritten).
bool analytic_columns(const double* x, std::size_t nt, std::size_t n, double dt,
                      const Analytic_band& band, double* out);

// In place on nt x n interleaved complex values: each sample k of a column
// multiplied by exp(-2 pi i fd t_k), t_k = delay + k dt (us), the phase
// taken as fd t_k cycles reduced to [-0.5, 0.5] first.
void mix_down(double* values, std::size_t nt, std::size_t n, double fd, double dt, double delay);

}  // namespace velk
