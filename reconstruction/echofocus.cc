#include "echofocus.h"

#include <algorithm>
#include <climits>
#include <cmath>

double lateral_limit(double a)
{
    const double h = a * 0.5;
    if (h < 0.0)
        return -1.0;
    // h * h lies within an ulp or so of the boundary; sqrt is correctly
    // rounded and monotonic, so stepping to the last r2 whose root is still
    // <= h finds it exactly.
    double r2 = h * h;
    while (std::sqrt(r2) > h)
        r2 = std::nextafter(r2, 0.0);
    while (r2 < INFINITY && std::sqrt(std::nextafter(r2, INFINITY)) <= h)
        r2 = std::nextafter(r2, INFINITY);
    return r2;
}

namespace {

// A-scans handled per batch: the geometry of a batch is computed in one
// vectorisable pass into arrays on the stack, then the batch's samples are
// read and added in A-scan order.
constexpr int batch = 256;

// Nearest integer, halfway cases to even, as lrint under the default
// rounding mode; exact for |D| < 2^51, and vectorisable.
inline double round_to_even(double D)
{
    constexpr double shift = 6755399441055744.0;  // 1.5 * 2^52
    return (D + shift) - shift;
}

// Both helpers are inlined into each instruction-set variant of
// echofocus_point below.

// Positions of a batch: everything but the reading of the samples. All
// lanes are computed; `use` says which A-scans contribute.
template <bool per_scan_delay>
[[gnu::always_inline]] inline void batch_geometry(const Echofocus_scans& s, std::size_t n0, int count, double x, double y,
                    double z, int* use, int* k_of, int* neighbour_of, double* near_weight,
                    double* far_weight)
{
    const double* px = s.positions + n0;
    const double* py = s.positions + s.N + n0;
    const double* pz = s.positions + 2 * s.N + n0;
    const double* tau = per_scan_delay ? s.delays + n0 : s.delays;
    const double cp = s.cp, dt = s.dt, r2_max = s.r2_max;
    // 2 <= k <= M - 2, the bound kept within int; no k passes when M < 4.
    const int k_last = static_cast<int>(std::min<std::size_t>(s.M, INT_MAX)) - 2;

    for (int j = 0; j < count; ++j) {
        const double tau_n = per_scan_delay ? tau[j] : tau[0];
        const double dx = px[j] - x;
        const double dy = py[j] - y;
        const double r2 = dx * dx + dy * dy;
        const double r = std::sqrt(r2);
        const double dz = z - pz[j];
        const double R = std::sqrt(r * r + dz * dz);
        const double D = ((2.0 * R) / cp * 1000.0 + (-2.0) * tau_n) / dt;
        // A D that is not finite or beyond the int range has no sample; a
        // stand-in keeps the lane's arithmetic defined, and `use` drops it.
        const bool has_index = std::fabs(D) < 2147483647.0;
        const double Dc = has_index ? D : 0.0;
        const double kd = round_to_even(Dc);
        const int k = static_cast<int>(kd);
        const double f = Dc - kd;
        // 1 + f = 1 - |f| and out - f s = out + |f| s for f < 0, bit for bit.
        const double g = std::fabs(f);
        k_of[j] = k;
        neighbour_of[j] = f >= 0.0 ? k + 1 : k - 1;
        near_weight[j] = 1.0 - g;
        far_weight[j] = g;
        use[j] = (r2 <= r2_max) & has_index & (k >= 2) & (k <= k_last);
    }
}

template <bool per_scan_delay>
[[gnu::always_inline]] inline double focus(const Echofocus_scans& s, double x, double y, double z)
{
    alignas(64) int use[batch], k_of[batch], neighbour_of[batch];
    alignas(64) double near_weight[batch], far_weight[batch];
    double out = 0.0;
    for (std::size_t n0 = 0; n0 < s.N; n0 += batch) {
        const int count = static_cast<int>(std::min<std::size_t>(batch, s.N - n0));
        batch_geometry<per_scan_delay>(s, n0, count, x, y, z, use, k_of, neighbour_of,
                                       near_weight, far_weight);
        const double* column = s.samples + n0 * s.M;
        for (int j = 0; j < count; ++j, column += s.M) {
            if (!use[j])
                continue;
            out += near_weight[j] * column[k_of[j]];
            out += far_weight[j] * column[neighbour_of[j]];
        }
    }
    return out;
}

}  // namespace

// Built for several instruction sets and chosen at load time: the same
// operations (IEEE square roots, divisions, products and sums, no fused
// multiply-add) on wider registers, so every variant gives the same bits.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#endif
double echofocus_point(const Echofocus_scans& scans, double x, double y, double z)
{
    if (scans.per_scan_delay)
        return focus<true>(scans, x, y, z);
    return focus<false>(scans, x, y, z);
}
