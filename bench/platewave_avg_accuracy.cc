// The error of platewave_avg for N = 1 .. 16 against the mean of platewave's
// point samples over each interval, at dt/1000 and at dt/100000 (each
// sub-interval's sample at its centre, those before time zero left out, the
// sum still divided by the whole count), and against platewave_avg with
// N = 256. For each element and dt, over a table of points, the worst of
// each column's largest error relative to its peak and of its RMS error
// relative to its RMS.
#include "platewave.h"
#include "platewave_avg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double cp = 1500.0;

struct Element {
    const char* name;
    double a, b;
    double points[6][2];  // axis, inside, edge line, corner, outside, beyond a corner
};

std::vector<double> point_mean(double x, double y, double z, const Element& e, double dt, int nt,
                               double delay, int K)
{
    std::vector<double> mean(static_cast<std::size_t>(nt)), h(static_cast<std::size_t>(K));
    const double sub = dt / K;
    for (int k = 0; k < nt; ++k) {
        const double start = delay + k * dt - dt / 2 + sub / 2;
        platewave(x, y, z, e.a, e.b, sub, K, start, 0.0, cp, h.data());
        double sum = 0.0;
        for (int j = 0; j < K; ++j)
            if (j * sub + start >= 0.0)
                sum += h[std::size_t(j)];
        mean[std::size_t(k)] = sum / K;
    }
    return mean;
}

struct Error {
    double max = 0.0, rms = 0.0;
};

Error error(const std::vector<double>& h, const std::vector<double>& ref)
{
    double peak = 0.0, e_max = 0.0, e2 = 0.0, r2 = 0.0;
    for (std::size_t k = 0; k < h.size(); ++k) {
        peak = std::max(peak, std::fabs(ref[k]));
        e_max = std::max(e_max, std::fabs(h[k] - ref[k]));
        e2 += (h[k] - ref[k]) * (h[k] - ref[k]);
        r2 += ref[k] * ref[k];
    }
    return {e_max / peak, std::sqrt(e2 / r2)};
}

}  // namespace

int main()
{
    const Element elements[] = {
        {"0.27 x 5 mm", 0.27, 5.0, {{0, 0}, {0.05, 1}, {0.135, 1}, {0.135, 2.5}, {1, 0}, {0.5, 3.5}}},
        {"10 x 6 mm", 10.0, 6.0, {{0, 0}, {2, -1}, {5, 1}, {-5, 3}, {8, 0}, {7, -5}}},
    };
    const double depths[] = {5, 10, 20, 40, 60, -5};
    const int Ns[] = {1, 2, 4, 8, 16};
    for (const Element& e : elements)
        for (double dt : {0.025, 0.05}) {
            Error worst[5][3], reference_error;
            for (double z : depths)
                for (const auto& [x, y] : e.points) {
                    if (z < 0 && x != e.points[1][0])
                        continue;  // below the plane: the inside point only
                    // From three samples before the first arrival to three after the last.
                    const double X = std::fabs(x), Y = std::fabs(y);
                    const double dx = std::max(X - e.a / 2, 0.0), dy = std::max(Y - e.b / 2, 0.0);
                    const double first = std::hypot(z, std::hypot(dx, dy)) / cp * 1000;
                    const double last = std::hypot(z, std::hypot(X + e.a / 2, Y + e.b / 2)) / cp * 1000;
                    const double delay = std::max(first - 3 * dt, 0.0);
                    const int nt = static_cast<int>((last - delay) / dt) + 4;
                    const std::vector<double> fine = point_mean(x, y, z, e, dt, nt, delay, 1000);
                    const std::vector<double> finer = point_mean(x, y, z, e, dt, nt, delay, 100000);
                    const Error r = error(fine, finer);
                    reference_error = {std::max(reference_error.max, r.max),
                                       std::max(reference_error.rms, r.rms)};
                    std::vector<double> h(static_cast<std::size_t>(nt)), converged(h);
                    platewave_avg(x, y, z, e.a, e.b, dt, nt, delay, 0.0, cp, 256, converged.data());
                    for (int n = 0; n < 5; ++n) {
                        platewave_avg(x, y, z, e.a, e.b, dt, nt, delay, 0.0, cp, Ns[n], h.data());
                        const std::vector<double>* refs[3] = {&fine, &finer, &converged};
                        for (int i = 0; i < 3; ++i) {
                            const Error err = error(h, *refs[i]);
                            worst[n][i] = {std::max(worst[n][i].max, err.max),
                                           std::max(worst[n][i].rms, err.rms)};
                        }
                    }
                }
            std::printf("%s, dt = %g us (dt/1000 mean against dt/100000: max %.1e, RMS %.1e)\n",
                        e.name, dt, reference_error.max, reference_error.rms);
            std::printf("   N   max/dt1000  RMS/dt1000  max/dt1e5   RMS/dt1e5   max/N256    RMS/N256\n");
            for (int n = 0; n < 5; ++n)
                std::printf("  %2d   %.1e     %.1e     %.1e     %.1e     %.1e     %.1e\n", Ns[n],
                            worst[n][0].max, worst[n][0].rms, worst[n][1].max, worst[n][1].rms,
                            worst[n][2].max, worst[n][2].rms);
        }
}
