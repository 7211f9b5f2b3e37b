// One-dimensional double-precision transforms over FFTW 3.
//
// Arrays handed to the transforms belong to the caller, who allocates them
// with fftw_malloc so that they share the alignment of the arrays the plans
// were made on: every transform runs a plan of the current workspace
// (att_workspace.h) through FFTW's new-array execute calls, so nothing is
// planned or allocated per transform once the plan of its kind exists.
//
// Typical use:
//     fft_init(n, in, out);             // before filling in and out
//     for (...) { fill(in); cr_ifft(in, out, n); use(out); }
//     fft_close();
#pragma once

#include <fftw3.h>

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

// Views of the current workspace's plans, null while there is none or the
// plan has not been made: p_backward (complex to real, made by fft_init or
// att_init), p_forward (real to half-complex, made by velk_fft's first call)
// and p_backward_cc (complex to complex, made by cc_ifft's first call).
extern fftw_plan p_forward;
extern fftw_plan p_backward;
extern fftw_plan p_backward_cc;

// Makes the workspace for transforms of length n (n >= 1), replacing any
// other, with p_backward, the measured complex-to-real plan from `in`
// (n/2 + 1 complex values read) to `out` (n doubles). Measuring writes into
// both arrays, so call it before putting data into them; where both are
// null the plan is measured on scratch arrays instead. Returns false, with
// no workspace left, when memory or the plan cannot be had.
bool fft_init(int n, fftw_complex* in, double* out);

// Releases the workspace with every plan and work slot, and leaves the
// handles null.
void fft_close(void);

// Normalised inverse of a Hermitian spectrum: out[j] = (1/n) sum_k X[k]
// e^(+2 pi i j k / n) for j = 0 .. n-1, with X[n-k] = conj(X[k]); reads
// in[0 .. n/2] (the imaginary parts of bin 0 and of bin n/2 for even n do
// not enter), may overwrite them, and writes out[0 .. n-1] only. n must be
// the workspace's length.
void cr_ifft(fftw_complex* in, double* out, int n);

// The transforms below need a workspace of length n and return false, with
// `out` untouched, when there is none or its plan cannot be made. No module
// calls them; velk_damp uses cr_ifft only.

// Normalised inverse complex transform of n values from `in` to `out`
// (e^(+2 pi i j k / n), each part divided by n).
bool cc_ifft(fftw_complex* in, fftw_complex* out, int n);

// Forward transform of the n samples in `in`, reduced in `out` to a
// symmetric magnitude spectrum, with h = n/2: |X_0| .. |X_(h-1)| in
// out[0 .. h-1], the mirror image of these in out[h+1 .. n-1], and in
// out[h] the signed real part of the middle bin for even n, |X_h| for odd n
// (which then also stands in out[h+1]). `in` is not written.
bool velk_fft(double* in, double* out, int n);

// Zeroes in[n/2 .. n-1] of the half-complex spectrum in `in`, keeping the
// real parts of bins 0 .. n/2 - 1, and writes to `out` the unnormalised
// inverse of that zero-phase spectrum: out[j] = in[0] + 2 sum_(k=1..h-1)
// in[k] cos(2 pi j k / n). `in` holds that spectrum afterwards: the
// transform leaves its input as it was.
bool velk_ifft(double* in, double* out, int n);

#ifdef __cplusplus
}  // extern "C"
#endif
