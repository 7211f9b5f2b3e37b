// The column of a piston's own full-column kernel, for the tests that
// compare the element interface and the array kernel with the kernels.
#pragma once

#include "discwave.h"
#include "discwave_avg.h"
#include "piston.h"
#include "platewave.h"
#include "platewave_avg.h"

#include <vector>

inline std::vector<double> kernel_column(const velk::Piston& p, double x, double y, double z,
                                         double dt, int nt, double delay)
{
    std::vector<double> h(static_cast<std::size_t>(nt));
    switch (p.kind) {
    case velk::Piston_kind::disc:
        discwave(x, y, z, p.a, dt, nt, delay, p.v, p.cp, h.data());
        break;
    case velk::Piston_kind::plate:
        platewave(x, y, z, p.a, p.b, dt, nt, delay, p.v, p.cp, h.data());
        break;
    case velk::Piston_kind::disc_avg:
        discwave_avg(x, y, z, p.a, dt, nt, delay, p.v, p.cp, p.N, h.data());
        break;
    case velk::Piston_kind::plate_avg:
        platewave_avg(x, y, z, p.a, p.b, dt, nt, delay, p.v, p.cp, p.N, h.data());
        break;
    }
    return h;
}
