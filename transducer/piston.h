// One element of a transducer seen from a point, whatever flat piston it is:
// the band of samples its response can be non-zero in, and the samples of
// that band, with the bits that the piston's full-column kernel (discwave,
// platewave, discwave_avg, platewave_avg) writes there, since the kernels
// are made of the same steps (piston_columns.h). Host-free; allocates
// nothing.
//   typical use:
//     const Piston_response r(piston, x, y, z, {dt, nt}, delay);
//     r.fill(scratch);  // samples r.band().k_first .. k_end - 1
#pragma once

#include "piston_columns.h"
#include "time_axis.h"

#include <variant>

#pragma GCC visibility push(hidden)  // as the columns it holds (piston_columns.h)

namespace velk {

enum class Piston_kind { disc, plate, disc_avg, plate_avg };

// A piston in the plane z = 0, centred on the origin, facing +z.
struct Piston {
    Piston_kind kind;
    double a;   // mm: the disc's radius, the plate's width along x
    double b;   // mm: the plate's height along y; not read for a disc
    double v;   // m/s, normal velocity: the discs' factor, taken and not read by the plates
    double cp;  // m/s, sound speed
    int N;      // parts of the averaged kinds' quadrature; not read by the others
};

// Which samples a response is formed on. The kernels' bands start at the
// arrival from the piston's plane, whatever the point's lateral position;
// from_nearest_arrival starts two samples before the arrival from the
// piston's nearest point instead (34 samples become 5 for a 0.27 x 5 mm
// element 10 mm aside at 40 MHz). The samples it leaves out hold +0 or,
// rarely, rounding residues below 1e-13 of the response's peak: for callers
// that sum many responses and keep no kernel's bits.
enum class Band { kernel, from_nearest_arrival };

// The response of a piston at the point (x, y, z) (mm, in the piston's
// frame) on nt samples dt us apart from delay us on, as the piston's kernel
// gives it for that point and delay.
class Piston_response {
public:
    Piston_response(const Piston& piston, double x, double y, double z, Sampling sampling,
                    double delay, Band band = Band::kernel);

    // The samples k_first .. k_end - 1 outside which the column is +0.
    Sample_band band() const { return band_; }

    // Samples k_first .. k_end - 1 into out[0 .. band().size() - 1].
    void fill(double* out) const;

private:
    std::variant<Disc_column, Plate_column, Disc_avg_column, Plate_avg_column> column_;
    Sample_band band_;
};

}  // namespace velk

#pragma GCC visibility pop
