#include "piston.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

using Column = std::variant<Disc_column, Plate_column, Disc_avg_column, Plate_avg_column>;

Column make_column(const Piston& p, double x, double y, double z, Sampling s, double delay)
{
    switch (p.kind) {
    case Piston_kind::disc:
        return Column{disc_column(x, y, z, p.a, s, delay, p.v, p.cp)};
    case Piston_kind::plate:
        return Column{plate_column(x, y, z, p.a, p.b, s, delay, p.cp)};
    case Piston_kind::disc_avg:
        return Column{disc_avg_column(x, y, z, p.a, s, delay, p.v, p.cp, p.N)};
    case Piston_kind::plate_avg:
        break;
    }
    return Column{plate_avg_column(x, y, z, p.a, p.b, s, delay, p.cp, p.N)};
}

// The band from two samples before the arrival from the piston's nearest
// point (its kernel's band where that time is not a number).
Sample_band from_nearest_arrival(const Piston& p, double x, double y, double z, Sampling s,
                                 double delay, Sample_band band)
{
    const bool disc = p.kind == Piston_kind::disc || p.kind == Piston_kind::disc_avg;
    const double aside = disc ? std::max(std::hypot(x, y) - p.a, 0.0)
                              : std::hypot(std::max(std::abs(x) - p.a / 2, 0.0),
                                           std::max(std::abs(y) - p.b / 2, 0.0));
    const double k_near = std::floor((1000.0 * std::hypot(aside, z) / p.cp - delay) / s.dt) - 2.0;
    if (!(k_near > band.k_first))
        return band;
    return {k_near < band.k_end ? static_cast<int>(k_near) : band.k_end, band.k_end};
}

}  // namespace

Piston_response::Piston_response(const Piston& piston, double x, double y, double z,
                                 Sampling sampling, double delay, Band band)
    : column_(make_column(piston, x, y, z, sampling, delay)),
      band_(std::visit([](const auto& c) { return velk::band(c); }, column_))
{
    if (band == Band::from_nearest_arrival)
        band_ = from_nearest_arrival(piston, x, y, z, sampling, delay, band_);
}

void Piston_response::fill(double* out) const
{
    std::visit([&](const auto& c) { fill_band(c, band_, out); }, column_);
}

}  // namespace velk
