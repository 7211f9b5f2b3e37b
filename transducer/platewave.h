// Spatial impulse response of a flat rectangular piston.
#pragma once

extern "C" {

// The piston, a wide along x and b high along y, lies in the plane z = 0,
// centred at the origin with its sides parallel to the axes. Writes the
// response at the point (x, y, z) into h[0 .. nt-1]: sample k is the response
// at delay + k dt microseconds, in m/s (cp times the solid-angle rate; v is
// taken for symmetry with the circular piston and not used). Lengths in mm.
// Writes nothing when nt < 1.
//
// The rectangle is the signed union of four rectangles that each have a
// corner at the foot of the perpendicular from the point, each with a
// closed-form response. Where the written ratio of an edge term would be 0/0
// (a side of length 0 at t = tz) the limit from later times stands in, and a
// ratio rounded a hair past 1 counts as 1, so the column never holds NaN for
// finite arguments.
void platewave(double x, double y, double z, double a, double b, double dt, int nt, double delay,
               double v, double cp, double* h);

}  // extern "C"
