#include "platewave.h"

#include "time_axis.h"
#include "units.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double minus_two_pi = -velk::two_pi;

// One corner rectangle: its sign in the signed union, its sides along x (p)
// and y (q), and the arrival times from its far x-edge, far y-edge and
// opposite corner.
struct Corner {
    double s, p, q;
    double t1, t2, t3;
};

// The argument of an edge term's arc cosine, side / (cp sqrt(t^2 - tz^2)).
// A side of length 0 seen at t = tz gives 0/0: the ratio is 0 for every later
// time, so 0 stands in. Rounding can put the ratio just past 1 at the edge's
// arrival, where its value is 1.
double edge_ratio(double side, double root)
{
    if (side == 0.0 && root == 0.0)
        return 0.0;
    const double ratio = side / root;
    if (ratio > 1.0)
        return 1.0;
    if (ratio < -1.0)
        return -1.0;
    return ratio;
}

}  // namespace

void platewave(double x, double y, double z, double a, double b, double dt, int nt, double delay,
               double /*v*/, double cp, double* h)
{
    const double X = velk::mm_to_m(std::fabs(x));
    const double Y = velk::mm_to_m(std::fabs(y));
    const double Z = velk::mm_to_m(z);
    const double A = velk::mm_to_m(a);
    const double B = velk::mm_to_m(b);
    if (nt < 1)
        return;
    for (int k = 0; k < nt; ++k)
        h[k] = 0.0;

    const double HA = A * 0.5;
    const double HB = B * 0.5;
    const double tz = Z / cp;
    const double Z2 = Z * Z;

    // Near and far edges of the piston seen from the foot (X, Y); a foot
    // beyond an edge makes that edge's rectangle a negative one.
    const bool inside_x = X <= HA;
    const bool inside_y = Y <= HB;
    const double near_x = std::fabs(inside_x ? HA - X : X - HA);
    const double near_y = std::fabs(inside_y ? HB - Y : Y - HB);
    const double far_x = std::fabs(HA + X);
    const double far_y = std::fabs(HB + Y);
    const double sx = inside_x ? 1.0 : -1.0;
    const double sy = inside_y ? 1.0 : -1.0;
    Corner corners[4] = {
        {sx * sy, near_x, near_y, 0, 0, 0},
        {sy, far_x, near_y, 0, 0, 0},
        {1.0, far_x, far_y, 0, 0, 0},
        {sx, near_x, far_y, 0, 0, 0},
    };
    for (Corner& c : corners) {
        c.t1 = std::sqrt(Z2 + c.p * c.p) / cp;
        c.t2 = std::sqrt(Z2 + c.q * c.q) / cp;
        c.t3 = std::sqrt(Z2 + c.p * c.p + c.q * c.q) / cp;
    }

    // Nothing arrives before tz or after the last corner's t3. With dt > 0
    // the sample times never decrease, so the samples outside that window
    // are a head and a tail of the column that stay 0.
    int k_first = 0, k_end = nt;
    if (dt > 0.0 && std::isfinite(dt) && cp > 0.0) {
        double t3_last = corners[0].t3;
        for (const Corner& c : corners)
            t3_last = std::max(t3_last, c.t3);
        k_first = velk::first_sample_where(
            nt, [&](int k) { return velk::sample_time(k, dt, delay) >= tz; });
        k_end = velk::first_sample_where(
            nt, [&](int k) { return velk::sample_time(k, dt, delay) > t3_last; });
    }

    const double quarter = cp * 0.25;
    const double edge_scale = cp / minus_two_pi;
    // The four rectangles share the time axis, so each sample adds their
    // terms in the order 1 to 4, as a pass per rectangle would, and the root
    // sqrt(t^2 - tz^2) is formed once per sample.
    for (int k = k_first; k < k_end; ++k) {
        const double t = velk::sample_time(k, dt, delay);
        double root = -1.0;  // not formed yet
        double sum = h[k];
        for (const Corner& c : corners) {
            double g = (tz <= t && t <= c.t3) ? quarter : 0.0;
            const bool edge_p = c.t1 <= t && t <= c.t3;
            const bool edge_q = c.t2 <= t && t <= c.t3;
            if (edge_p || edge_q) {
                if (root < 0.0)
                    root = cp * std::sqrt(t * t - tz * tz);
                // A rectangle with no area, seen at t = tz where both its
                // edge terms are 0/0, adds nothing.
                if (c.p == 0.0 && c.q == 0.0 && root == 0.0)
                    continue;
                if (edge_p)
                    g = g + edge_scale * std::acos(edge_ratio(c.p, root));
                if (edge_q)
                    g = g + edge_scale * std::acos(edge_ratio(c.q, root));
            }
            sum = sum + c.s * g;
        }
        h[k] = sum;
    }
}
