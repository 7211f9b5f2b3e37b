// Kernel throughput, one observation point per kernel call, as the gateways
// call them. Reported per point.
#include "discwave.h"
#include "discwave_avg.h"
#include "platewave.h"

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

void BM_platewave(benchmark::State& state)
{
    const int nt = 1000;
    const std::vector<Point> points = spread_points(1000);
    std::vector<double> h(static_cast<std::size_t>(nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            platewave(points[i].x, points[i].y, points[i].z, 10.0, 6.0, 0.02, nt, 6.0, 1.0,
                      1500.0, h.data() + i * nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_platewave)->Unit(benchmark::kMillisecond);

// The edge wave integrated with N = 16 trapezoids per sample.
void BM_discwave_avg(benchmark::State& state)
{
    const int nt = 1000;
    const std::vector<Point> points = spread_points(1000);
    std::vector<double> h(static_cast<std::size_t>(nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            discwave_avg(points[i].x, points[i].y, points[i].z, 5.0, 0.02, nt, 6.0, 1.0, 1500.0,
                         16, h.data() + i * nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_discwave_avg)->Unit(benchmark::kMillisecond);

}  // namespace
