// Rectangular piston response averaged over each sampling interval.
#pragma once

extern "C" {

// The piston and point of platewave(). Sample k of h[0 .. nt-1] is the mean
// of platewave's response over the interval of length dt centred on
// tk = delay + k dt microseconds, its lower end clamped at time zero (the
// mean still divides by the whole dt; an interval wholly before time zero
// gives 0). Lengths in mm, dt and delay in us, cp in m/s; like platewave's,
// the response carries no factor v, which is taken and not read. Writes
// nothing when nt < 1; otherwise every sample once.
//
// The response is the signed sum over the four corner rectangles of their
// plateau cp/4 from tz to t3 and their edge terms (cp / -2 pi) arccos(side /
// (cp sqrt(t^2 - tz^2))) from each edge's arrival to t3. The interval is
// split at those arrival times, so that every piece is smooth:
// - the plateaus are integrated exactly, as the covered fraction of the
//   interval (1 exactly where a plateau covers all of it: a sample wholly
//   inside a plateau is cp, cp/2 over an edge line, cp/4 over a corner);
// - an edge of length 0 (the foot on its line) has the constant term -cp/4,
//   the limit of arccos(0/0) as platewave takes it, and is integrated
//   exactly the same way (so is an edge so short that cp / side overflows);
// - every other edge term grows as a square root from its arrival t_e. In
//   the variable w = sqrt(t - t_e) it is the smooth atan(w / ws sqrt(1 + w^2 /
//   (2 t_e))), ws = side / (cp sqrt(2 t_e)): the part atan(w / ws) is
//   integrated in closed form, the small rest by the two-point
//   Gauss-Legendre rule on each of N equal parts of the piece (2N
//   evaluations of it; N < 1 leaves the rest out). Against the exact mean
//   the error falls as N^-4: for a 0.27 x 5 mm and a 10 x 6 mm piston at 5
//   to 60 mm and dt = 0.025 or 0.05 us it is within 6e-6 of the column's
//   peak with N = 1 and within 6e-8 with N = 4 (bench/platewave_avg_accuracy).
// Sample k is (cp / 4) P + (cp / -2 pi) (E / dt), P the signed sum of the
// covered fractions, E that of the edge integrals (in seconds), every time
// taken as its offset from tk. Each sample's arithmetic is that written in
// platewave_avg.cc, in its order, the same on every instruction set but for
// the arc tangents, which are Highway's (within 3 ulp).
//
// Every sample is NaN when an argument is not finite, or dt or cp is not
// above 0: there is no interval or no arrival to average over. For finite
// arguments the samples are finite.
void platewave_avg(double x, double y, double z, double a, double b, double dt, int nt,
                   double delay, double v, double cp, int N, double* h);

}  // extern "C"
