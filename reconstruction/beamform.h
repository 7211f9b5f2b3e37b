// Delay-and-sum beamforming of array data: every transmit event recorded on
// a set of receive elements, imaged at any set of points.
//
// Units: lengths in mm, times in us, cp in m/s, fd in MHz.
//
// The value at point p (x, y, z) for event e, with wave = waves[e] (see
// wavefront.h):
//
//   A    = (arrival(wave, p, cp) - t_first) / dt        once per point and event
//   R_j  = travel_time(d_j, cp) / dt, d_j = |p - e_j|    once per point and element
//   u    = A + R_j                                       the fractional sample of the echo
//                                                        on element j, (tau - t_first) / dt
//                                                        with tau = arrival + d_j * 1000 / cp
//
// Channel c of event e holds samples s[0 .. nt-1], sample k taken at
// t_first + k dt; samples outside 0 .. nt-1 count as 0. With
//   linear:  k = floor(u), f = u - k, v = s[k] + f (s[k+1] - s[k])
//            (so u in (-1, 0) reads f s[0], u in (nt-1, nt) reads (1 - f) s[nt-1],
//            and u outside (-1, nt) gives 0);
//   nearest: k = u rounded to the nearest integer, halfway cases to even, v = s[k].
// A u that is NaN or infinite gives 0 (so a point with a NaN coordinate
// gives 0, but NaN for I/Q data, whose phasors are then NaN). Complex data
// is interpolated in its real and imaginary parts with the same k and f.
//
// I/Q data (baseband: the analytic signal times exp(-2 pi i fd t) at each
// sample's own time t) is brought back to the band by the phase of tau,
// taken in two factors: v is multiplied by exp(2 pi i fd travel_time(d_j)),
// the event's element sum by exp(2 pi i fd arrival). Each phase is formed
// in cycles, c = fd * time, reduced exactly to r = c - round(c), and the
// sine and cosine of 2 pi r come from fixed polynomials (within a few ulp).
//
// Receive apodization by the f-number F (0: none): element j takes part for
// p when rho_j = (2 F r_j) / z <= 1 and z > 0, r_j = sqrt(dx dx + dy dy) its
// lateral distance; its weight is w(rho_j) for the window w (below); an
// element that does not take part, or whose weight is 0, adds nothing.
//
// Transmit apodization (plane and diverging waves; focused waves always
// weigh 1): the point counts for the event when the ray of the wave through
// p crosses the probe's face z = 0 (face_crossing in wavefront.h) inside
// the extent of the element centres, [x_min, x_max] x [y_min, y_max]; an
// axis along which all centres lie at one coordinate (a linear array's y)
// is not tested. Its weight is the product over the tested axes of
// w(|q - centre| / half width); a point that does not count adds nothing.
//
// Windows w(rho) on 0 <= rho <= 1:
//   boxcar: 1;  hann: 0.5 + 0.5 cos(pi rho);
//   tukey (half flat, half cosine): 1 for rho <= 0.5, else 0.5 + 0.5 cos(2 pi (rho - 0.5)).
//
// The sums, the same at every point whatever the points' order, the thread
// count or the vector width (every lane and every thread performs the
// written operations in the written order, so they give the same bits):
//   S_e = sum over c = 0 .. n_rx-1 in order of w_j v      (j = rx[c] of event e; w_j = 1
//                                                          without receive apodization),
//         each addition rounded, starting from +0;
//   T_e = W_e S_e        (W_e the transmit weight; for I/Q, W_e (phasor S_e),
//                         the complex product in its plain form re re - im im, re im + im re);
//   coherent: image = sum over e = 0 .. n_events-1 in order of T_e, from +0;
//   per event: image_e = T_e.
//
// Cost: per point, element and event one load of R_j, one add, a floor,
// the two neighbours' reads and three operations of interpolation; one
// square root per point and element (two with an f-number) and one per
// point and event (none for plane waves). Threads take groups of points
// whose receive terms fill about 4 MB, in a number of groups the threads
// share evenly, each group points near one another (whatever the order
// they are given in); each group reads the part of every channel its
// echoes lie in once (the next two channels prefetched while a pair is
// swept).
// What bounds it, measured on one thread of an AVX-512 processor (Zen 5,
// 3.3 GHz, shared with other work) for the benchmark's plane-wave and
// full-matrix images (268M terms each), CPU time per image, best of 10:
//   as built                                                182 / 169 ms (0.65 ns a term)
//   two gathers per term instead of one 16-byte load a lane  296 / 291 ms
//   no sample read at all                                    118 /  87 ms
//   every channel the same 16 KB, always in cache            176 / 161 ms
// so the reads of the neighbours, loads and the shuffles that sort them
// into lanes, take 35 to 50%, misses on the channel data some 4%, the
// arithmetic and the loads of R_j, A and S the rest (the receive and event
// terms 9%).
#pragma once

#include "wavefront.h"
#include "workers.h"

#include <cstddef>
#include <cstdint>

namespace velk {

// n points (x[i], y[i], z[i]); an n x 3 column-major matrix m is
// {m, m + n, m + 2 n, n}.
struct Coordinates {
    const double* x;
    const double* y;
    const double* z;
    std::size_t count;
};

enum class Sample_type {
    real_double,
    real_float,      // read as float, every operation after in double
    complex_double,  // interleaved re, im
    complex_float,   // interleaved re, im, read as float
};

enum class Complex_samples { analytic, iq };
enum class Interpolation { linear, nearest };
enum class Window { boxcar, hann, tukey };
enum class Compounding { coherent, per_event };

struct Beamform_options {
    Interpolation interpolation = Interpolation::linear;
    double f_number = 0.0;  // F >= 0; 0: every element weighs 1
    Window rx_window = Window::boxcar;
    bool tx_apodization = false;  // the region the wave covers, for plane and diverging waves
    Window tx_window = Window::boxcar;
    Compounding compounding = Compounding::coherent;
    Complex_samples complex_samples = Complex_samples::analytic;
    double fd = 0.0;  // demodulation frequency of I/Q samples, MHz
};

struct Beamform_job {
    Coordinates elements;     // element centres, Ne of them
    const Wavefront* waves;   // n_events wavefronts
    const std::int64_t* rx;   // n_rx x n_events: rx[e n_rx + c] is the element of channel c
    std::size_t n_rx;
    std::size_t n_events;
    // nt x n_rx x n_events samples, column-major (a C-ordered array of shape
    // (n_events, n_rx, nt)); complex samples interleaved, so the doubles or
    // floats are twice as many.
    const void* samples;
    Sample_type sample_type;
    std::size_t nt;
    double t_first;  // time of sample 0, us
    double dt;       // sampling period, us
    double cp;       // m/s
    Coordinates points;  // No image points
    Beamform_options options;
    // beamform_output_size(job) doubles: No values for coherent compounding,
    // No x n_events (point fastest) per event; complex values interleaved.
    double* out;
};

// Whether the image is complex: for complex samples.
bool beamform_complex(const Beamform_job& job);

// The number of doubles the job writes.
std::size_t beamform_output_size(const Beamform_job& job);

// Null when the job can run, else why not: a receive index outside
// 0 .. Ne-1, a negative or NaN f-number, I/Q options on real samples, a
// count beyond the int range of the thread scheme (No, n_rx, n_events) or
// nt > INT_MAX / 2.
const char* beamform_fault(const Beamform_job& job);

// The line of a worker cut short by an interruption.
inline constexpr const char* beamform_bail_out_line =
    "beamform: thread for image points %d -> %d bailing out!\n";

// Forms the image into job.out on n_threads workers (at least 1) taking
// groups of points from one queue, with a look at the stop state between
// groups; every element of out is written unless the call is interrupted
// or fails. A job with a fault (beamform_fault) is refused with that text,
// scratch memory that cannot be had fails the call (Failure::resources),
// and neither writes anything; an interruption ends the call as
// run_guarded() does.
void beamform_run(Host& host, const Beamform_job& job, int n_threads,
                  const Thread_starter& threads = system_threads);

}  // namespace velk
