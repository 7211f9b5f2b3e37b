// Where a point lies with respect to a circular piston of radius a centred
// on the origin in the plane z = 0, all in metres: the wave from the rim's
// nearest point arrives over R1, from its farthest over R2.
#pragma once

#include <cmath>

struct Disc_geometry {
    double r;     // distance of the point's foot from the axis
    double R1;    // to the nearest point of the rim
    double R2;    // to the farthest point of the rim
    bool inside;  // the foot lies inside the rim; over the rim counts as outside
};

inline Disc_geometry disc_geometry(double x, double y, double z, double a)
{
    const double r = std::sqrt(x * x + y * y);
    return {r, std::sqrt(z * z + (a - r) * (a - r)), std::sqrt(z * z + (a + r) * (a + r)), r < a};
}
