// The beamformer on the two workloads of beamform_workloads.h, on 1 and 2
// threads. The counter pxe/s is point x element x event per second; the
// time is that of one image. On a shared machine, run
//     beamform_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=12
//                    --benchmark_min_time=0.2 --benchmark_report_aggregates_only=true
// so that the repetitions of the four cases take turns; the statistics min
// (of the times) and max (of the rates) give each case's least disturbed.
#include "beamform_workloads.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using namespace velk;
using beamform_bench::Workload;

// A host with nothing to print and no Ctrl-C: the work alone is timed.
struct Quiet_host final : Host {
    double* create_result(int, int, int) override { return nullptr; }
    void print(const char*) noexcept override {}
    bool interrupt_pending() noexcept override { return false; }
    bool installs_signal_handlers() const override { return false; }
};

void run(benchmark::State& state, const Workload& w)
{
    Quiet_host host;
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        try {
            beamform_run(host, w.job, threads);
        } catch (const velk::Call_failed& failure) {
            state.SkipWithError(failure.what());
        }
        benchmark::DoNotOptimize(w.out.data());
    }
    const double items = static_cast<double>(w.job.points.count * w.n_rx * w.waves.size());
    state.counters["pxe/s"] =
        benchmark::Counter(items * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_beamform_plane_waves(benchmark::State& state)
{
    static Workload w = beamform_bench::plane_wave_workload();
    run(state, w);
}
double least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double most(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

BENCHMARK(BM_beamform_plane_waves)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", least)->ComputeStatistics("max", most);

void BM_beamform_full_matrix(benchmark::State& state)
{
    static Workload w = beamform_bench::full_matrix_workload();
    run(state, w);
}
BENCHMARK(BM_beamform_full_matrix)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", least)->ComputeStatistics("max", most);

}  // namespace
