// Impulse response of propagation through a medium whose attenuation grows
// linearly with frequency, built on the FFT grid of the output window.
//
// Typical use, one call from the host:
//     if (!att_init(nt, 1)) { report; }
//     for each point: att(alpha, r, k, dt, cp, column, nt, 1.0);
//     att_close();
#pragma once

#include <fftw3.h>

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

// Work slots made by the last att_init, views of its workspace
// (att_workspace.h): per slot a spectrum of nt+1 complex values (XC[s]) and
// a signal of nt+1 doubles (BUF[s]), from fftw_malloc. A kernel works in
// slot n_cpus - 1 when there are several, slot 0 otherwise, so two kernels
// must not run at once. XC and BUF are null outside att_init .. att_close;
// n_cpus keeps its last value.
extern int n_cpus;
extern fftw_complex** XC;
extern double** BUF;

// Makes the workspace for responses of nt samples (nt >= 1), replacing any
// other: n work slots (n >= 1) and the measured complex-to-real plan of
// length nt on slot 0. Returns false when memory or the plan cannot be had;
// nothing is then left and att_close need not be called.
bool att_init(int nt, int n);

// Releases the workspace: slots, plans and frequency terms. Does nothing
// when there is none.
void att_close(void);

// Adds w times the response over the distance r (mm) in a medium of
// attenuation alpha (dB/(cm MHz)) to h[0 .. nt-1]. The pulse stands at row k
// (taken mod nt: it wraps around the window), dt is the sampling period in
// us, nt the length given to att_init. The samples of a response sum to 1;
// zero frequency passes unattenuated. cp is not used.
//
// The spectrum's exponentials, sines and cosines are taken a vector of bins
// at a time (within 1 and 3 ulp of the correctly rounded values), so every
// bin lies within 1e-15 of the one correctly rounded functions give;
// everything else is computed as written.
void att(double alpha, double r, int k, double dt, double cp, double* h, int nt, double w);

// The spectrum att transforms, into X[0 .. nt/2], the bins the
// complex-to-real transform reads: X[0] = 1 and, for bins i = 1 .. nt/2 at
// frequency f_i = i / (nt T), the amplitude exp(-alpha R f_i) with the phase
// of a causal medium's dispersion and of the delay to row k. (X[nt-i] would
// hold the conjugate of X[i]; the transform does not read it.) Needs the
// workspace of att_init for nt. Called by att; exported for the tests and
// benchmarks that look at the spectrum on its own.
void att_spectrum(double alpha, double r, int k, double dt, int nt, fftw_complex* X);

// As att, adding into column col of the nt-row matrix that starts at h.
// No module calls it: it serves callers that add weighted responses into
// the columns of one matrix.
void att_annu(double alpha, double r, int k, double dt, double cp, double* h, int nt, double w,
              int col);

#ifdef __cplusplus
}  // extern "C"
#endif
