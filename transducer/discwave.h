// Spatial impulse response of a flat circular piston.
#pragma once

extern "C" {

// The piston of radius a lies in the plane z = 0, centred at the origin, and
// moves with normal velocity v (m/s) into a medium of sound speed cp (m/s).
// Writes the response at the point (x, y, z) into h[0 .. nt-1]: sample k is
// the response at delay + k dt microseconds. Lengths are in mm. Writes
// nothing when nt < 1.
void discwave(double x, double y, double z, double a, double dt, int nt, double delay, double v,
              double cp, double* h);

}  // extern "C"
