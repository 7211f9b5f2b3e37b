// Kernel throughput, one observation point per kernel call, as the gateways
// call them. Reported per point.
#include "discwave.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// Points spread over inside, rim and outside of a 5 mm piston at 10-30 mm depth.
struct Point {
    double x, y, z;
};
std::vector<Point> spread_points(int n)
{
    std::vector<Point> points;
    for (int i = 0; i < n; ++i) {
        const double r = 12.0 * i / n;  // 0 .. 12 mm: inside, over the rim, outside
        points.push_back({r * std::cos(i), r * std::sin(i), 10.0 + 20.0 * i / n});
    }
    return points;
}

void BM_discwave(benchmark::State& state)
{
    const int nt = 1000;
    const std::vector<Point> points = spread_points(1000);
    std::vector<double> h(static_cast<std::size_t>(nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            discwave(points[i].x, points[i].y, points[i].z, 5.0, 0.02, nt, 6.0, 1.0, 1500.0,
                     h.data() + i * nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_discwave)->Unit(benchmark::kMillisecond);

}  // namespace

#include "echofocus.h"

namespace {

// One observation point against 256 A-scans of 2048 samples, every A-scan
// within the aperture. Reported per point.
void BM_echofocus_point(benchmark::State& state)
{
    const std::size_t M = 2048, N = 256;
    std::vector<double> samples(M * N), positions(3 * N, 0.0);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::sin(0.37 * static_cast<double>(i));
    for (std::size_t n = 0; n < N; ++n)
        positions[n] = -20.0 + 40.0 * static_cast<double>(n) / N;
    const double delay = 0.0;
    const Echofocus_scans scans{samples.data(), M, N, positions.data(), &delay, false,
                                0.04, 1500.0, lateral_limit(1000.0)};
    const std::vector<Point> points = spread_points(1000);
    for (auto _ : state) {
        double sum = 0.0;
        for (const Point& p : points)
            sum += echofocus_point(scans, p.x, p.y, p.z);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_echofocus_point)->Unit(benchmark::kMillisecond);

}  // namespace
