// When a transmit event's wave reaches a point: the one convention that the
// beamformer images with and that transmit events are made with (the fire
// time of an element is the arrival at its centre), so that the two cannot
// disagree.
//
// Lengths in mm, times in us, the sound speed cp in m/s. All arithmetic is
// double, in the order written, with no fused operations.
#pragma once

#include <cmath>
#include <cstddef>

namespace velk {

// The travel time in us of a length in mm at cp m/s: length * 1000 / cp.
inline double travel_time(double length, double cp) { return length * 1000.0 / cp; }

enum class Wave_kind {
    plane,      // (x, y, z) is the unit direction n of travel
    diverging,  // (x, y, z) is the virtual source v, behind or at the probe
    focused,    // (x, y, z) is the focal point f, in front of the probe
};

struct Wavefront {
    Wave_kind kind;
    double x, y, z;
    // plane: the arrival at the origin; diverging: the departure from v;
    // focused: the arrival at f.
    double t0;
};

// The arrival time of the wave at the point (px, py, pz):
//   plane:      t0 + travel_time(n.x px + n.y py + n.z pz)   (the products added left to right)
//   diverging:  t0 + travel_time(|p - v|)
//   focused:    t0 - travel_time(|p - f|) for pz < f.z, t0 + travel_time(|p - f|) otherwise
// |p - q| = sqrt(dx dx + dy dy + dz dz) with d = p - q, summed left to right.
// One element firing alone (full-matrix capture) is the diverging wave with
// v at its centre and t0 its fire time. NaN in gives NaN out.
inline double arrival(const Wavefront& w, double px, double py, double pz, double cp)
{
    if (w.kind == Wave_kind::plane)
        return w.t0 + travel_time(w.x * px + w.y * py + w.z * pz, cp);
    const double dx = px - w.x, dy = py - w.y, dz = pz - w.z;
    const double t = travel_time(std::sqrt(dx * dx + dy * dy + dz * dz), cp);
    if (w.kind == Wave_kind::focused && pz < w.z)
        return w.t0 - t;  // still converging on f
    return w.t0 + t;
}

// Where the ray of the wave through p crosses the plane z = 0 (the probe's
// face), into (qx, qy): along n for a plane wave, q = p - (pz / n.z) n;
// from the source for a diverging wave, q = v + s (p - v) with
// s = (0 - v.z) / (pz - v.z), and q = v when v.z = 0 (the source on the
// face). False when the ray has no such crossing in front of the source:
// focused waves, a plane wave with n.z <= 0, a diverging wave with
// pz <= v.z, or a non-finite q.
inline bool face_crossing(const Wavefront& w, double px, double py, double pz, double& qx,
                          double& qy)
{
    if (w.kind == Wave_kind::plane) {
        if (!(w.z > 0.0))
            return false;
        const double s = pz / w.z;
        qx = px - s * w.x;
        qy = py - s * w.y;
    } else if (w.kind == Wave_kind::diverging) {
        if (!(pz > w.z))
            return false;
        if (w.z == 0.0) {
            qx = w.x;
            qy = w.y;
            return true;
        }
        const double s = (0.0 - w.z) / (pz - w.z);
        qx = w.x + s * (px - w.x);
        qy = w.y + s * (py - w.y);
    } else {
        return false;
    }
    return std::isfinite(qx) && std::isfinite(qy);
}

// The fire times of n elements with centres (x[i], y[i], z[i]) for the wave:
// sets wave.t0 so that the earliest of them fires at 0 (exactly: t0 is the
// negated least arrival with t0 = 0), writes fire[i] = arrival(wave, e_i, cp)
// and returns t0. With n = 0, t0 = 0.
double fire_times(Wavefront& wave, const double* x, const double* y, const double* z,
                  std::size_t n, double cp, double* fire);

}  // namespace velk
