// Kernel throughput, one observation point per kernel call, as the gateways
// call them, on the workloads of the Octave benchmark (bench/octave).
#include "att.h"
#include "discwave.h"
#include "discwave_avg.h"
#include "fft.h"
#include "fold.h"
#include "paste.h"
#include "platewave.h"
#include "platewave_avg.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

// The pistons' workload of the Octave benchmark: 1000 points whose feet lie
// 0 to 10 mm from the axis (inside, on the edge of and outside a 5 mm disc
// or a 10 x 6 mm rectangle), 20 to 40 mm deep, 1000 samples of 0.01 us, each
// window starting three samples before the point's first arrival.
struct Point {
    double x, y, z;
    double delay;  // us
};
constexpr int piston_nt = 1000;
constexpr double piston_dt = 0.01, piston_cp = 1500.0;

template <class Distance>
std::vector<Point> piston_points(Distance foot_distance)
{
    std::vector<Point> points;
    for (int i = 0; i < 1000; ++i) {
        const double rho = 10.0 * std::fmod(0.618034 * i, 1.0), angle = 2.399963 * i;
        Point p{rho * std::cos(angle), rho * std::sin(angle), 20.0 + 20.0 * i / 1000, 0.0};
        const double nearest = std::hypot(p.z, foot_distance(p.x, p.y));
        p.delay = 1000.0 * nearest / piston_cp - 3 * piston_dt;
        points.push_back(p);
    }
    return points;
}

std::vector<Point> disc_points()
{
    return piston_points([](double x, double y) { return std::max(std::hypot(x, y) - 5.0, 0.0); });
}

std::vector<Point> plate_points()
{
    return piston_points([](double x, double y) {
        return std::hypot(std::max(std::fabs(x) - 5.0, 0.0), std::max(std::fabs(y) - 3.0, 0.0));
    });
}

void BM_discwave(benchmark::State& state)
{
    const std::vector<Point> points = disc_points();
    std::vector<double> h(static_cast<std::size_t>(piston_nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            discwave(points[i].x, points[i].y, points[i].z, 5.0, piston_dt, piston_nt,
                     points[i].delay, 1.0, piston_cp, h.data() + i * piston_nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_discwave)->Unit(benchmark::kMillisecond);

// The attenuation kernel for 1000 points from 10 to 100 mm, nt = 2048, beside
// its two parts: the spectrum loop and one complex-to-real transform of
// length nt on the same measured plan.
constexpr int att_nt = 2048;
constexpr int att_points = 1000;

double att_distance(int i) { return 10.0 + 90.0 * i / att_points; }
int att_row(int i) { return static_cast<int>(1000.0 * att_distance(i) / 1500.0 / 0.02 + 1.0); }

void BM_att(benchmark::State& state)
{
    att_init(att_nt, 1);
    std::vector<double> h(static_cast<std::size_t>(att_nt) * att_points);
    for (auto _ : state) {
        for (int i = 0; i < att_points; ++i)
            att(0.5, att_distance(i), att_row(i), 0.02, 1500.0,
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
            att_spectrum(0.5, att_distance(i), att_row(i), 0.02, att_nt, XC[0]);
        benchmark::DoNotOptimize(XC[0]);
    }
    att_close();
    state.SetItemsProcessed(state.iterations() * att_points);
}
BENCHMARK(BM_att_spectrum)->Unit(benchmark::kMillisecond);

void BM_fftw_c2r(benchmark::State& state)
{
    att_init(att_nt, 1);
    att_spectrum(0.5, 50.0, 700, 0.02, att_nt, XC[0]);
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
    const std::vector<Point> points = plate_points();
    std::vector<double> h(static_cast<std::size_t>(piston_nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            platewave(points[i].x, points[i].y, points[i].z, 10.0, 6.0, piston_dt, piston_nt,
                      points[i].delay, 1.0, piston_cp, h.data() + i * piston_nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_platewave)->Unit(benchmark::kMillisecond);

// The edge wave integrated with N = 16 trapezoids per sample.
void BM_discwave_avg(benchmark::State& state)
{
    const std::vector<Point> points = disc_points();
    std::vector<double> h(static_cast<std::size_t>(piston_nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            discwave_avg(points[i].x, points[i].y, points[i].z, 5.0, piston_dt, piston_nt,
                         points[i].delay, 1.0, piston_cp, 16, h.data() + i * piston_nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_discwave_avg)->Unit(benchmark::kMillisecond);

// The rectangle's edge waves averaged with 1 and with 16 parts per piece.
void BM_platewave_avg(benchmark::State& state)
{
    const std::vector<Point> points = plate_points();
    const int N = static_cast<int>(state.range(0));
    std::vector<double> h(static_cast<std::size_t>(piston_nt) * points.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < points.size(); ++i)
            platewave_avg(points[i].x, points[i].y, points[i].z, 10.0, 6.0, piston_dt, piston_nt,
                          points[i].delay, 1.0, piston_cp, N, h.data() + i * piston_nt);
        benchmark::DoNotOptimize(h.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}
BENCHMARK(BM_platewave_avg)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

#include "array_response.h"
#include "element_drive.h"

namespace {

// A linear array of 64 elements of 0.27 x 5 mm at a 0.3 mm pitch, focused at
// 30 mm, seen from 200 points 20 to 40 mm deep across it, on a column of nt
// samples of 0.01 us from 1 us before the earliest arrival: the work goes
// with the elements' bands, not with nt.
void BM_array_column(benchmark::State& state)
{
    constexpr int Ne = 64;
    const int nt = static_cast<int>(state.range(0));
    double xs[Ne], ys[Ne] = {}, zs[Ne] = {}, tau[Ne], w[Ne];
    for (int i = 0; i < Ne; ++i)
        xs[i] = 0.3 * (i - (Ne - 1) / 2.0);
    const velk::Array_extent extent = velk::array_extent(xs, ys, Ne);
    velk::fire_times({4, 30.0, nullptr}, {1, 0.0, 0.0}, xs, ys, Ne, extent, piston_cp, tau);
    velk::element_weights({2, 1, nullptr, 0.0}, xs, ys, Ne, extent, w);
    const velk::Array_description array{
        {velk::Piston_kind::plate, 0.27, 5.0, 1.0, piston_cp, 0}, Ne, xs, ys, zs, tau, w};
    std::vector<double> column(static_cast<std::size_t>(nt)), scratch(column.size());
    for (auto _ : state) {
        for (int p = 0; p < 200; ++p) {
            const double x = -10.0 + 0.1 * p, z = 20.0 + 0.1 * p;
            velk::array_column(array, x, 0.0, z, {piston_dt, nt}, 1000.0 * z / piston_cp - 1.0,
                               column.data(), scratch.data());
        }
        benchmark::DoNotOptimize(column.data());
    }
    state.SetItemsProcessed(state.iterations() * 200 * Ne);
}
BENCHMARK(BM_array_column)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

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

// The Octave benchmark's focusing: 10000 points on a 100 x 100 grid, 10 to
// 50 mm deep, against 256 A-scans of 2048 samples, the aperture covering
// every A-scan. Reported in point x A-scan pairs.
void BM_echofocus_points(benchmark::State& state)
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
    std::vector<double> x, z;
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j) {
            x.push_back(-20.0 + 40.0 * i / 99);
            z.push_back(10.0 + 40.0 * j / 99);
        }
    const std::vector<double> y(x.size(), 0.0);
    std::vector<double> out(x.size());
    for (auto _ : state) {
        echofocus_points(scans, x.data(), y.data(), z.data(), x.size(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(x.size() * N));
}
BENCHMARK(BM_echofocus_points)->Unit(benchmark::kMillisecond);

}  // namespace
