// Delay-and-sum impulse response at one observation point.
#pragma once

extern "C" {

// Writes the response at (x, y, z) into h[0 .. nt-1]: zeros, and a single 1
// at the sample nearest to the one-way travel time from the origin,
// d * 1000 / cp microseconds, on the time axis delay + k dt. The nearest
// sample is found with lrint (halfway cases to the even index). Lengths in
// mm, dt and delay in us, cp in m/s; writes nothing when nt < 1.
//
// Returns 0 when that sample lies in the window, otherwise the offset to
// report: for an index k past the end, k - nt + 1 (samples past the last
// one, counted from 1); for an index before the start, k itself. The offset
// is never 0, and it saturates at the int range. A travel time that is not a
// number has no nearest sample and counts as before the window (INT_MIN).
int lagsum(double x, double y, double z, double dt, int nt, double delay, double cp, double* h);

}  // extern "C"
