// Circular piston response averaged over each sampling interval.
#pragma once

extern "C" {

// The piston and point of discwave(). Sample k of h[0 .. nt-1] is the mean of
// the response over the interval of length dt centred on delay + k dt
// microseconds, its lower end clamped at time zero (the mean still divides by
// the whole dt). The plateau is integrated exactly, the edge wave with the
// trapezoidal rule over N intervals. Lengths in mm, dt and delay in us, v and
// cp in m/s. Writes nothing when nt < 1. An interval left of negative length
// by the clamping covers nothing and its sample is 0.
void discwave_avg(double x, double y, double z, double a, double dt, int nt, double delay,
                  double v, double cp, int N, double* h);

// Trapezoidal rule over N intervals for the integral over [t1, t2] (s) of the
// clamped arc cosine of the edge wave's argument
//   q(t) = ((cp t)^2 - z^2 + r^2 - a^2) / (2 r sqrt((cp t)^2 - z^2)),
// for a point at distance r (m) from the axis and height z (m) over a piston
// of radius a (m). The abscissae advance by adding the step. 0 when N < 1.
double trapets_int(double t1, double t2, double z, double a, double r, double cp, int N);

// phi(p) + phi(q), with phi(u) = arccos u on [-1, 1], pi below -1 and 0
// above 1 or for NaN.
double acos_acos(double p, double q);

}  // extern "C"
