// The four flat pistons' responses at one point, each in three steps that
// the full-column kernels (discwave, platewave, discwave_avg, platewave_avg)
// are made of and that an array's element can be taken through alone:
//
//   make the column:  what every sample of the point's column shares, from
//                     the point (mm), the sampling, the delay (us) and the
//                     material, computed once;
//   band(column):     the samples k_first .. k_end - 1 outside which the
//                     column is 0 (+0, the whole column where the arrivals
//                     are not in order or the column not defined);
//   fill_band(column, band, out): samples k_first .. k_end - 1 of the column
//                     into out[0 .. k_end - k_first - 1], the bits the
//                     full-column kernel writes there.
//
// Every step is host-free, allocates nothing and keeps no state.
#pragma once

#include "plate_geometry.h"
#include "time_axis.h"

// Hidden from the modules' exports: within a kernel's source its steps are
// then inlined into the full-column kernel as if written there (a
// position-independent build may not inline a function another library
// could replace).
#pragma GCC visibility push(hidden)

namespace velk {

// A circular piston of radius a (discwave), in metres and seconds.
struct Disc_column {
    double z, a, r, R1, R2;
    bool inside;
    double dt, delay, cp;
    int nt;
    double plateau;     // v cp
    double edge_scale;  // v cp / pi
};
Disc_column disc_column(double x, double y, double z, double a, Sampling s, double delay, double v,
                        double cp);
Sample_band band(const Disc_column& c);
void fill_band(const Disc_column& c, Sample_band band, double* out);

// A rectangular piston a wide and b high (platewave), in metres and seconds.
struct Plate_column {
    Plate_geometry g;
    double cp;
    double dt, delay;
    int nt;
    double quarter;     // cp / 4
    double edge_scale;  // cp / (-2 pi)
};
Plate_column plate_column(double x, double y, double z, double a, double b, Sampling s,
                          double delay, double cp);
Sample_band band(const Plate_column& c);
void fill_band(const Plate_column& c, Sample_band band, double* out);

// The circular piston averaged over each interval with N trapezoids
// (discwave_avg), in metres and seconds.
struct Disc_avg_column {
    double z, a, r, R1, R2;
    bool inside;
    double dt, delay, cp;
    int nt, N;
    double T, H;        // the interval's length and -T/2
    double T1, T2;      // R1 / cp and R2 / cp
    double plateau;     // v cp
    double edge_scale;  // v cp / pi
};
Disc_avg_column disc_avg_column(double x, double y, double z, double a, Sampling s, double delay,
                                double v, double cp, int N);
Sample_band band(const Disc_avg_column& c);
void fill_band(const Disc_avg_column& c, Sample_band band, double* out);

// One edge of the rectangle as platewave_avg integrates it. Its term
// (cp / -2 pi) arccos(side / (cp sqrt(t^2 - tz^2))) is heard from its
// arrival t on by two corner rectangles: by both up to the earlier of their
// t3, by the one with the later t3 on to that. With t = t_edge + w^2 the
// arc cosine is atan(w / ws * sqrt(1 + w^2 / (2 t_edge))), ws = side /
// (cp sqrt(2 t_edge)).
struct Plate_avg_edge {
    double t;                  // arrival, s
    double t3_first, t3_last;  // the two rectangles' t3, the earlier first
    double both;               // the sum of their signs
    double last;               // the sign of the one heard up to t3_last
    bool constant;             // side 0: the term is -cp/4 from t on
    double ws;                 // s^(1/2)
    double kappa;              // cp / side
    double two_t, root_two_t;  // 2 t and its square root
};

// The rectangular piston averaged over each interval (platewave_avg), in
// metres and seconds.
struct Plate_avg_column {
    Plate_geometry g;
    Plate_avg_edge edges[4];  // near x, far x, near y, far y
    double first, last;       // the earliest arrival and the latest t3
    double dt, delay, cp;
    int nt, N;
    double T, half;     // the interval's length and half of it
    double quarter;     // cp / 4
    double edge_scale;  // cp / (-2 pi)
    bool defined;  // arguments finite, dt > 0, cp > 0: else every sample is NaN
};
Plate_avg_column plate_avg_column(double x, double y, double z, double a, double b, Sampling s,
                                  double delay, double cp, int N);
Sample_band band(const Plate_avg_column& c);
void fill_band(const Plate_avg_column& c, Sample_band band, double* out);

// The whole column h[0 .. nt-1]: 0 outside the band, the band filled.
// Inlined into each kernel, with the steps, as the kernels were written
// before they were split into steps (a call per step cost some 10 ns a
// column).
template <class Column>
[[gnu::always_inline]] inline void write_column(const Column& c, double* h)
{
    const Sample_band b = band(c);
    zero_outside(b, c.nt, h);
    if (b.size() > 0)
        fill_band(c, b, h + b.k_first);
}

}  // namespace velk

#pragma GCC visibility pop
