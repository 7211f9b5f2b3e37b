#include "pulse_echo.h"

#include "array_response.h"
#include "attenuated_pulses.h"
#include "units.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace velk {
namespace {

// Scatterers between two looks at the stop state: a few ms of work.
constexpr std::size_t block = 64;

// The pulse's samples and where its sample 0 stands (lag -lead dt).
int pulse_length(const Pulse_echo_job& job)
{
    return job.attenuated ? job.attenuated->length() : job.n_pulse;
}

int pulse_lead(const Pulse_echo_job& job)
{
    return job.attenuated ? job.attenuated->lead() : job.pulse_lead;
}

// The part of band of v from its first to its last sample that is not 0.
// The pistons' bands bound their responses loosely (34 samples where 5 are
// not 0, at 40 MHz), and a term with a factor +-0 adds nothing: every sum
// it would join is not -0 (each starts at +0), so adding +-0 leaves it.
Sample_band nonzero(const double* v, Sample_band band)
{
    while (band.k_first < band.k_end && v[band.k_first] == 0.0)
        ++band.k_first;
    while (band.k_end > band.k_first && v[band.k_end - 1] == 0.0)
        --band.k_end;
    return band;
}

}  // namespace

bool echo_axes(const Pulse_echo_job& job, int e, Echo_axes& axes)
{
    const int L = pulse_length(job);
    const double n_raw = double(std::max(job.nt - 1, 0)) * job.step + L;
    axes.t_echo = job.t0 - (L - 1 - pulse_lead(job)) * job.dt;
    const int Ne = job.transmitters.Ne;
    double earliest = INFINITY;
    for (int i = 0; i < Ne; ++i)
        if (job.weight[i + std::size_t(e) * Ne] != 0.0)
            earliest = std::min(earliest, job.fire[i + std::size_t(e) * Ne]);
    const double lead =
        earliest < axes.t_echo ? std::ceil((axes.t_echo - earliest) / job.dt) : 0.0;
    if (!(lead + n_raw <= INT_MAX / 2))
        return false;
    axes.lead = static_cast<int>(lead);
    axes.t_tx = axes.t_echo - axes.lead * job.dt;
    axes.n_raw = static_cast<int>(n_raw);
    axes.n_axis = axes.lead + axes.n_raw;
    return true;
}

Echo_scratch::Echo_scratch(int n_axis, int n_channels, int n_events, int n_receivers)
    : n_axis_(n_axis), n_channels_(n_channels), tx_(n_axis), band_(n_axis), rx_(n_axis),
      echo_(2 * std::size_t(n_axis) * n_channels * n_events), received_(n_receivers)
{
}

namespace {

// Receiver j's response at the scatterer of this visit (at x, y, z) on the
// samples of `axis`, formed the first time it is asked for in the visit.
const Echo_scratch::Received& received(const Pulse_echo_job& job, std::int64_t j,
                                       std::size_t visit, double x, double y, double z,
                                       Sampling axis, Echo_scratch& scratch)
{
    Echo_scratch::Received& r = scratch.received(j);
    if (r.visit == visit)
        return r;
    const Element_set& R = job.receivers;
    const Piston_response h(R.element, x - R.x[j], y - R.y[j], z - R.z[j], axis, 0.0,
                            Band::from_nearest_arrival);
    const Sample_band k = h.band();
    r.visit = visit;
    r.k_first = k.k_first;
    r.size = 0;
    if (k.size() == 0)
        return r;
    double* rx = scratch.rx();
    h.fill(rx);
    const Sample_band q = nonzero(rx, {0, k.size()});
    std::vector<double>& pool = scratch.received_samples;
    r.k_first += q.k_first;
    r.size = q.size();
    r.at = pool.size();
    pool.insert(pool.end(), rx + q.k_first, rx + q.k_end);
    return r;
}

}  // namespace

bool echo_sums(const Pulse_echo_job& job, const Echo_axes* axes, int e_first, int n_events,
               int first, int n, std::size_t s_first, std::size_t s_end, Echo_scratch& scratch,
               Scatterer_blocks after_block)
{
    const Element_set& T = job.transmitters;
    int n_axis = 1;
    for (int v = 0; v < n_events; ++v) {
        n_axis = std::max(n_axis, axes[e_first + v].n_axis);
        for (int c = 0; c < n; ++c)
            std::fill_n(scratch.echo(v, c), scratch.stride(), 0.0);
    }
    // The receive responses on the longest axis: the samples past an
    // event's own axis reach only sums past those its records read.
    const Sampling receive_axis{job.dt, n_axis};
    const double dt_s = job.dt / us_per_s;
    double* tx = scratch.tx();
    std::fill(tx, tx + n_axis, 0.0);

    const Scatterers& S = job.scatterers;
    for (std::size_t s = s_first; s < s_end; ++s) {
        const double x = S.x[s], y = S.y[s], z = S.z[s];
        const double scale = S.amplitude[s] * dt_s;
        const std::size_t visit = scratch.next_visit();
        for (int v = 0; v < n_events; ++v) {
            const int e = e_first + v;
            const Array_description transmit{T.element, T.Ne,
                                             T.x,       T.y,
                                             T.z,       job.fire + std::size_t(e) * T.Ne,
                                             job.weight + std::size_t(e) * T.Ne};
            const Sample_band band =
                add_array_column(transmit, x, y, z, {job.dt, axes[e].n_axis}, axes[e].t_tx, tx,
                                 scratch.band(), Band::from_nearest_arrival);
            if (band.size() == 0)
                continue;
            const Sample_band t = nonzero(tx, band);
            const double* x_tx = tx + t.k_first;
            for (int c = 0; c < n; ++c) {
                const std::int64_t j = job.receive[first + c + std::size_t(e) * job.n_rx];
                const Echo_scratch::Received& r =
                    received(job, j, visit, x, y, z, receive_axis, scratch);
                // The receive band is a few samples, the transmit band
                // hundreds: one pass over the transmit band per receive
                // sample, its lanes independent sums.
                const double* h = scratch.received_samples.data() + r.at;
                for (int q = 0; q < r.size; ++q) {
                    const double w = scale * h[q];
                    double* E = scratch.echo(v, c) + t.k_first + r.k_first + q;
                    for (int i = 0; i < t.size(); ++i)
                        E[i] += x_tx[i] * w;
                }
            }
            std::fill(tx + band.k_first, tx + band.k_end, 0.0);
        }
        const std::size_t done = s + 1 - s_first;
        if (done % block == 0 || s + 1 == s_end)
            if (!after_block((done - 1) % block + 1))
                return false;
    }
    return true;
}

void apply_pulse(const Pulse_echo_job& job, const Echo_axes& axes, int n, const double* echo,
                 std::size_t stride, double* out)
{
    const double dt_s = job.dt / us_per_s;

    // The pulse over each channel's echo sums, sample m of the record at
    // sum index lead + m step + L - 1 - q for pulse sample q.
    const int L = pulse_length(job);
    for (int c = 0; c < n; ++c) {
        const double* E = echo + stride * c + axes.lead + L - 1;
        double* y = out + std::size_t(c) * job.nt;
        for (int m = 0; m < job.nt; ++m) {
            const auto applied = [&](const double* p) {
                double sum = 0.0;
                for (int q = 0; q < L; ++q)
                    sum += p[q] * E[std::ptrdiff_t(m) * job.step - q];
                return sum;
            };
            if (!job.attenuated) {
                y[m] = dt_s * applied(job.pulse);
                continue;
            }
            int b;
            double f;
            job.attenuated->at_time(job.t0 + m * (job.step * job.dt), b, f);
            const double near = applied(job.attenuated->pulse(b));
            const double next = f > 0.0 ? applied(job.attenuated->pulse(b + 1)) : 0.0;
            y[m] = dt_s * ((1.0 - f) * near + f * next);
        }
    }
}

}  // namespace velk
