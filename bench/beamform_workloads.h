// The beamformer's two benchmark workloads, built alike by the benchmark
// and by beamform_image, which writes an image for the NumPy peer to check
// itself against (bench/beamform_numpy_peer.py builds the same workloads).
//
// Plane-wave compounding: 128 elements at 0.3 mm, 32 plane waves from -15 to
// 15 degrees. Full-matrix capture: 64 elements, each firing alone. 2000
// samples of real doubles at 40 MHz per channel, a 256 x 256 grid, linear
// interpolation.
#pragma once

#include "beamform.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace beamform_bench {

using namespace velk;

struct Workload {
    std::vector<double> elements;  // Ne x 3
    std::vector<Wavefront> waves;
    std::vector<std::int64_t> rx;
    std::vector<double> samples, points, out;
    std::size_t n_rx;
    Beamform_job job;  // points into the vectors above, whose storage a move keeps
};

constexpr std::size_t nt = 2000, grid = 256;
constexpr double pitch = 0.3, cp = 1540, dt = 0.025;

inline Workload workload(std::size_t n_elements, bool plane_waves)
{
    Workload w;
    const std::size_t Ne = n_elements;
    w.elements.assign(3 * Ne, 0.0);
    for (std::size_t i = 0; i < Ne; ++i)
        w.elements[i] = pitch * (static_cast<double>(i) - 0.5 * static_cast<double>(Ne - 1));
    const double* ex = w.elements.data();
    const double* ey = ex + Ne;
    const double* ez = ey + Ne;
    if (plane_waves) {
        std::vector<double> fire(Ne);
        for (int k = 0; k < 32; ++k) {
            const double angle = (-15.0 + 30.0 * k / 31) * M_PI / 180;
            Wavefront wave{Wave_kind::plane, std::sin(angle), 0, std::cos(angle), 0};
            fire_times(wave, ex, ey, ez, Ne, cp, fire.data());
            w.waves.push_back(wave);
        }
    } else {
        for (std::size_t i = 0; i < Ne; ++i)
            w.waves.push_back({Wave_kind::diverging, ex[i], ey[i], ez[i], 0.0});
    }
    w.n_rx = Ne;
    for (std::size_t e = 0; e < w.waves.size(); ++e)
        for (std::size_t j = 0; j < Ne; ++j)
            w.rx.push_back(static_cast<std::int64_t>(j));

    // Values that any language reproduces exactly.
    w.samples.resize(nt * w.n_rx * w.waves.size());
    for (std::size_t i = 0; i < w.samples.size(); ++i) {
        const std::size_t k = i % nt, c = i / nt % w.n_rx, e = i / nt / w.n_rx;
        w.samples[i] = static_cast<double>((k * 7 + c * 13 + e * 29) % 101) / 50.0 - 1.0;
    }

    // Depth fastest, as an image of grid rows: x across the aperture, z
    // from 5 to 35 mm (the deepest corners' echoes partly after the last sample).
    const std::size_t No = grid * grid;
    w.points.assign(3 * No, 0.0);
    const double half_width = 0.5 * pitch * static_cast<double>(Ne - 1);
    for (std::size_t i = 0; i < grid; ++i)
        for (std::size_t k = 0; k < grid; ++k) {
            w.points[i * grid + k] = -half_width + 2 * half_width * i / (grid - 1);
            w.points[2 * No + i * grid + k] = 5.0 + 30.0 * k / (grid - 1);
        }
    w.out.resize(No);
    w.job = {{ex, ey, ez, Ne},
             w.waves.data(),
             w.rx.data(),
             w.n_rx,
             w.waves.size(),
             w.samples.data(),
             Sample_type::real_double,
             nt,
             0.0,
             dt,
             cp,
             {w.points.data(), w.points.data() + No, w.points.data() + 2 * No, No},
             {},
             w.out.data()};
    return w;
}

// The plane-wave and the full-matrix workload.
inline Workload plane_wave_workload() { return workload(128, true); }
inline Workload full_matrix_workload() { return workload(64, false); }

}  // namespace beamform_bench
