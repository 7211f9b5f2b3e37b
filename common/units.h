// The constants of the kernels' formulas and the conversion of the units the
// modules take (millimetres, microseconds) to those the kernels compute in
// (metres, seconds).
#pragma once

namespace velk {

inline constexpr double pi = 3.141592653589793;
inline constexpr double two_pi = 6.283185307179586;
inline constexpr double pi_squared = 9.869604401089358;

inline constexpr double mm_per_m = 1000.0;
inline constexpr double us_per_s = 1000000.0;

// Divided, never multiplied by a reciprocal (1e-3 and 1e-6 are not exact in
// binary), so every kernel rounds the same way.
constexpr double mm_to_m(double mm) { return mm / mm_per_m; }
constexpr double us_to_s(double us) { return us / us_per_s; }

}  // namespace velk
