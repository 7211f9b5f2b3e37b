// Where a point lies with respect to a rectangular piston a wide (x) and b
// high (y), centred on the origin in the plane z = 0: the four corner
// rectangles that each have a corner at the foot of the point and whose
// signed union is the piston, and when their waves arrive.
#pragma once

#include "units.h"

#include <cmath>

// The four edges of the piston seen from the foot of the point, in metres,
// and when their waves arrive: the near and far edge along x (sides p of the
// corner rectangles) and along y (sides q).
struct Plate_edges {
    double near_x, far_x, near_y, far_y;
    double t_near_x, t_far_x, t_near_y, t_far_y;  // sqrt(Z^2 + side^2) / cp
};

// Corner rectangle i has sign s[i] and its opposite corner's arrival t3[i];
// its sides are (near x, near y), (far x, near y), (far x, far y) and
// (near x, far y) for i = 0 .. 3. Times in seconds.
struct Plate_geometry {
    Plate_edges edges;
    double s[4];
    double t3[4];
    double tz;  // arrival from the foot of the point, Z / cp
};

// The corner rectangles of the point (x, y, z) and the piston a x b, all in
// mm, for the sound speed cp (m/s). Only |x| and |y| matter; z keeps its sign.
inline Plate_geometry plate_geometry(double x, double y, double z, double a, double b, double cp)
{
    const double X = velk::mm_to_m(std::fabs(x));
    const double Y = velk::mm_to_m(std::fabs(y));
    const double Z = velk::mm_to_m(z);
    const double HA = velk::mm_to_m(a) * 0.5;
    const double HB = velk::mm_to_m(b) * 0.5;
    const double Z2 = Z * Z;

    // A foot beyond an edge makes that edge's rectangle a negative one.
    const bool inside_x = X <= HA;
    const bool inside_y = Y <= HB;
    Plate_edges e{std::fabs(inside_x ? HA - X : X - HA),
                  std::fabs(HA + X),
                  std::fabs(inside_y ? HB - Y : Y - HB),
                  std::fabs(HB + Y),
                  0,
                  0,
                  0,
                  0};
    auto arrival = [&](double side) { return std::sqrt(Z2 + side * side) / cp; };
    e.t_near_x = arrival(e.near_x);
    e.t_far_x = arrival(e.far_x);
    e.t_near_y = arrival(e.near_y);
    e.t_far_y = arrival(e.far_y);
    const double sx = inside_x ? 1.0 : -1.0;
    const double sy = inside_y ? 1.0 : -1.0;
    auto corner = [&](double p, double q) { return std::sqrt(Z2 + p * p + q * q) / cp; };
    return {e,
            {sx * sy, sy, 1.0, sx},
            {corner(e.near_x, e.near_y), corner(e.far_x, e.near_y), corner(e.far_x, e.far_y),
             corner(e.near_x, e.far_y)},
            Z / cp};
}
