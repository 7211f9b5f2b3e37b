// Kernel throughput, one observation point per kernel call, as the gateways
// call them. Reported per point.
#include "att.h"
#include "discwave.h"
#include "discwave_avg.h"
#include "fft.h"
#include "fold.h"
#include "paste.h"
#include "platewave.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A host with nothing to print and no Ctrl-C: the work alone is timed.
struct Quiet_host final : velk::Host {
    std::vector<std::vector<double>> results;
    double* create_result(int, int rows, int cols) override
    {
        return results.emplace_back(std::size_t(rows) * std::size_t(cols)).data();
    }
    void print(const char*) noexcept override {}
    bool interrupt_pending() noexcept override { return false; }
    bool installs_signal_handlers() const override { return false; }
};

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

// The attenuation kernel per point, nt = 2048, with 1000 points from 10 to
// 100 mm, beside its two parts: the spectrum loop and one complex-to-real
// transform of length nt on the same measured plan. All reported per point.
constexpr int att_nt = 2048;
constexpr int att_points = 1000;

double att_distance(int i) { return 10.0 + 90.0 * i / att_points; }
int att_row(int i) { return static_cast<int>(1000.0 * att_distance(i) / 1500.0 / 0.05 + 1.0); }

void BM_att(benchmark::State& state)
{
    att_init(att_nt, 1);
    std::vector<double> h(static_cast<std::size_t>(att_nt) * att_points);
    for (auto _ : state) {
        for (int i = 0; i < att_points; ++i)
            att(0.5, att_distance(i), att_row(i), 0.05, 1500.0,
                h.data() + static_cast<std::size_t>(i) * att_nt, att_nt, 1.0);
        benchmark::DoNotOptimize(h.data());
    }
    att_close();
    state.SetItemsProcessed(state.iterations() * att_points);
}
BENCHMARK(BM_att)->Unit(benchmark::kMillisecond);

void BM_att_spectrum(benchmark::State& state)
{
    att_init(att_nt, 1);
    for (auto _ : state) {
        for (int i = 0; i < att_points; ++i)
            att_spectrum(0.5, att_distance(i), att_row(i), 0.05, att_nt, XC[0]);
        benchmark::DoNotOptimize(XC[0]);
    }
    att_close();
    state.SetItemsProcessed(state.iterations() * att_points);
}
BENCHMARK(BM_att_spectrum)->Unit(benchmark::kMillisecond);

void BM_fftw_c2r(benchmark::State& state)
{
    att_init(att_nt, 1);
    att_spectrum(0.5, 50.0, 700, 0.05, att_nt, XC[0]);
    for (auto _ : state) {
        for (int i = 0; i < att_points; ++i)
            cr_ifft(XC[0], BUF[0], att_nt);
        benchmark::DoNotOptimize(BUF[0]);
    }
    att_close();
    state.SetItemsProcessed(state.iterations() * att_points);
}
BENCHMARK(BM_fftw_c2r)->Unit(benchmark::kMillisecond);

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

// Column convolution, 4096 x 512 with a 64-tap filter, on 1 and 2 threads.
void BM_fold_mt(benchmark::State& state)
{
    const int M = 4096, N = 512, K = 64;
    std::vector<double> A(std::size_t{M} * N, 0.25), h(K, 0.5), Y(std::size_t{M + K - 1} * N);
    Quiet_host host;
    const velk::Fold_job job{A.data(), M, N, h.data(), K, 1, Y.data(), false, velk::fold_assign};
    for (auto _ : state) {
        velk::fold_mt_run(host, job, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(Y.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{M} * K * N);  // products
}
BENCHMARK(BM_fold_mt)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 4000 x 2000 block into a 4000 x 4000 matrix on 1 and 2 threads, and the
// same bytes moved by one memcpy: the bandwidth the copy can approach.
void BM_paste_mt(benchmark::State& state)
{
    std::vector<double> Y(std::size_t{4000} * 4000, 1.0), S(std::size_t{4000} * 2000, 2.0);
    Quiet_host host;
    const velk::Paste_job job{Y.data(), 4000, 4000, S.data(), 4000, 2000, 0, 1000, 4000};
    for (auto _ : state) {
        velk::paste_mt_run(host, job, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(Y.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{8} * S.size());
}
BENCHMARK(BM_paste_mt)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_memcpy_block(benchmark::State& state)
{
    std::vector<double> Y(std::size_t{4000} * 4000, 1.0), S(std::size_t{4000} * 2000, 2.0);
    for (auto _ : state) {
        std::memcpy(Y.data() + std::size_t{4000} * 1000, S.data(), sizeof(double) * S.size());
        benchmark::DoNotOptimize(Y.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{8} * S.size());
}
BENCHMARK(BM_memcpy_block)->Unit(benchmark::kMillisecond)->UseRealTime();

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
