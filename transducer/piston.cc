#include "piston.h"

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

}  // namespace

Piston_response::Piston_response(const Piston& piston, double x, double y, double z,
                                 Sampling sampling, double delay)
    : column_(make_column(piston, x, y, z, sampling, delay)),
      band_(std::visit([](const auto& c) { return velk::band(c); }, column_))
{
}

void Piston_response::fill(double* out) const
{
    std::visit([&](const auto& c) { fill_band(c, band_, out); }, column_);
}

}  // namespace velk
