#include "beamform.h"

#include "fake_host.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <vector>

namespace {

using namespace velk;
using cdouble = std::complex<double>;

// cp = 1000 m/s makes travel_time(L) = L: the numbers below are lengths.
TEST(Wavefront, ArrivalOfEachKind)
{
    const struct {
        Wavefront w;
        double px, py, pz, expected;
    } cases[] = {
        {{Wave_kind::plane, 0, 0, 1, 1}, 5, 7, 15, 16},          // 1 + 15
        {{Wave_kind::plane, 0.6, 0, 0.8, 0}, 3, 0, 4, 5},        // 0.6 * 3 + 0.8 * 4
        {{Wave_kind::plane, -0.6, 0, 0.8, 2}, 3, 0, 4, 3.4},     // 2 - 1.8 + 3.2
        {{Wave_kind::diverging, 0, 0, -10, 2}, 9, 0, 2, 17},     // 2 + |(9, 0, 12)|
        {{Wave_kind::diverging, 1, 0, 0, 3}, 4, 0, 4, 8},        // an element firing at 3
        {{Wave_kind::focused, 0, 0, 30, 20}, 9, 0, 18, 5},       // above f: 20 - |(9, 0, -12)|
        {{Wave_kind::focused, 0, 0, 30, 20}, 0, 0, 45, 35},      // below f: 20 + 15
        {{Wave_kind::focused, 0, 0, 30, 20}, 9, 0, 30, 29},      // at the focal depth: 20 + 9
        {{Wave_kind::focused, 0, 0, 30, 20}, 0, 0, 30, 20},      // at f itself
    };
    for (const auto& c : cases)
        EXPECT_NEAR(arrival(c.w, c.px, c.py, c.pz, 1000.0), c.expected, 1e-12)
            << "kind " << int(c.w.kind) << " at " << c.px << ", " << c.pz;
}

TEST(Wavefront, FireTimesStartAtZero)
{
    // Elements at x = -3, 0, 3; cp = 1000.
    const std::vector<double> x{-3, 0, 3}, yz{0, 0, 0};
    const struct {
        Wavefront w;
        double t0;
        std::vector<double> fire;
    } cases[] = {
        {{Wave_kind::plane, 0.6, 0, 0.8, 9}, 1.8, {0, 1.8, 3.6}},  // steered: -1.8, 0, 1.8 from t0 = 0
        {{Wave_kind::diverging, 0, 0, -4, 9}, -4, {1, 0, 1}},     // |e - v| = 5, 4, 5
        {{Wave_kind::focused, 0, 0, 4, 9}, 5, {0, 1, 0}},         // 5 - 5, 5 - 4, 5 - 5
    };
    for (auto c : cases) {
        std::vector<double> fire(3);
        const double t0 = fire_times(c.w, x.data(), yz.data(), yz.data(), 3, 1000.0, fire.data());
        EXPECT_NEAR(t0, c.t0, 1e-12);
        EXPECT_EQ(c.w.t0, t0);
        EXPECT_EQ(*std::min_element(fire.begin(), fire.end()), 0.0);  // exactly
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(fire[i], c.fire[i], 1e-12) << "kind " << int(c.w.kind) << ", element " << i;
    }
}

// A linear array of n elements at pitch 0.3 mm on the x axis and what the
// scenes record with it.
struct Scene {
    std::vector<double> elements;  // n x 3
    std::vector<Wavefront> waves;
    std::vector<std::int64_t> rx;
    std::size_t n_rx = 0, nt = 1400;
    double t_first = 0, dt = 0.025, cp = 1540;
    std::vector<double> points;  // No x 3
    Beamform_options options;

    std::size_t Ne() const { return elements.size() / 3; }
    Coordinates centres() const
    {
        return {elements.data(), elements.data() + Ne(), elements.data() + 2 * Ne(), Ne()};
    }
    Beamform_job job(const void* data, Sample_type type, double* out) const
    {
        const std::size_t No = points.size() / 3;
        return {centres(),  waves.data(), rx.data(), n_rx, waves.size(),
                data,       type,         nt,        t_first, dt, cp,
                {points.data(), points.data() + No, points.data() + 2 * No, No},
                options,    out};
    }
};

Scene linear_array(std::size_t n)
{
    Scene s;
    s.elements.assign(3 * n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        s.elements[i] = 0.3 * (static_cast<double>(i) - 0.5 * static_cast<double>(n - 1));
    return s;
}

// Every event received on every element.
void receive_on_all(Scene& s)
{
    s.n_rx = s.Ne();
    for (std::size_t e = 0; e < s.waves.size(); ++e)
        for (std::size_t j = 0; j < s.n_rx; ++j)
            s.rx.push_back(static_cast<std::int64_t>(j));
}

void add_wave(Scene& s, Wavefront w)
{
    std::vector<double> fire(s.Ne());
    const Coordinates e = s.centres();
    fire_times(w, e.x, e.y, e.z, e.count, s.cp, fire.data());
    s.waves.push_back(w);
}

template <class T>
std::vector<double> image(const Scene& s, const std::vector<T>& data, Sample_type type,
                          int threads = 2)
{
    std::vector<double> out(beamform_output_size(s.job(data.data(), type, nullptr)), NAN);
    fake_host::Host host;
    const fake_host::Outcome r =
        fake_host::outcome([&] { beamform_run(host, s.job(data.data(), type, out.data()), threads); });
    EXPECT_FALSE(r.failed) << r.message;
    return out;
}

// The echo of unit scatterers: a Gaussian-modulated pulse of 5 MHz centred
// at arrival(p) + |p - e_j| / cp on every channel, as the analytic signal
// times exp(-2 pi i fd t) (fd = 0: the analytic RF itself).
constexpr double fc = 5.0, sigma = 0.12, wavelength = 1540.0 / 1000.0 / fc;  // MHz, us, mm
std::vector<cdouble> echoes(const Scene& s, const std::vector<double>& scatterers, double fd = 0)
{
    std::vector<cdouble> data(s.nt * s.n_rx * s.waves.size());
    const Coordinates e = s.centres();
    for (std::size_t ev = 0; ev < s.waves.size(); ++ev)
        for (std::size_t c = 0; c < s.n_rx; ++c)
            for (std::size_t q = 0; q < scatterers.size(); q += 3) {
                const double* p = &scatterers[q];
                const std::size_t j = static_cast<std::size_t>(s.rx[ev * s.n_rx + c]);
                const double tau = arrival(s.waves[ev], p[0], p[1], p[2], s.cp) +
                                   travel_time(std::hypot(p[0] - e.x[j], p[1] - e.y[j], p[2] - e.z[j]), s.cp);
                for (std::size_t k = 0; k < s.nt; ++k) {
                    const double t = s.t_first + static_cast<double>(k) * s.dt, u = t - tau;
                    data[(ev * s.n_rx + c) * s.nt + k] +=
                        std::exp(-0.5 * u * u / (sigma * sigma)) *
                        std::polar(1.0, 2 * M_PI * (fc * u - fd * t));
                }
            }
    return data;
}

// Real parts alone, or real and imaginary parts interleaved.
std::vector<double> doubles(const std::vector<cdouble>& data, bool complex)
{
    std::vector<double> d;
    for (const cdouble& v : data) {
        d.push_back(v.real());
        if (complex)
            d.push_back(v.imag());
    }
    return d;
}

// Points on an 11 x 11 grid of lambda / 20 around each scatterer, in x and z.
void peak_grids(Scene& s, const std::vector<double>& scatterers)
{
    std::vector<double> x, z;
    for (std::size_t q = 0; q < scatterers.size(); q += 3)
        for (int i = -5; i <= 5; ++i)
            for (int k = -5; k <= 5; ++k) {
                x.push_back(scatterers[q] + i * wavelength / 20);
                z.push_back(scatterers[q + 2] + k * wavelength / 20);
            }
    s.points = x;
    s.points.resize(2 * x.size(), 0.0);
    s.points.insert(s.points.end(), z.begin(), z.end());
}

// The value written as the contract reads, scalar, for real samples,
// linear interpolation and no apodization.
double written_sum(const Scene& s, const std::vector<double>& data, std::size_t p)
{
    const std::size_t No = s.points.size() / 3;
    const double x = s.points[p], y = s.points[No + p], z = s.points[2 * No + p];
    const Coordinates e = s.centres();
    double image = 0;
    for (std::size_t ev = 0; ev < s.waves.size(); ++ev) {
        const double A = (arrival(s.waves[ev], x, y, z, s.cp) - s.t_first) / s.dt;
        double S = 0;
        for (std::size_t c = 0; c < s.n_rx; ++c) {
            const std::size_t j = static_cast<std::size_t>(s.rx[ev * s.n_rx + c]);
            const double dx = x - e.x[j], dy = y - e.y[j], dz = z - e.z[j];
            const double u = A + travel_time(std::sqrt(dx * dx + dy * dy + dz * dz), s.cp) / s.dt;
            const double k = std::floor(u), f = u - k;
            const double* ch = &data[(ev * s.n_rx + c) * s.nt];
            auto at = [&](double i) { return i >= 0 && i < double(s.nt) ? ch[std::size_t(i)] : 0.0; };
            if (k >= -1 && k < double(s.nt))
                S += at(k) + f * (at(k + 1) - at(k));
        }
        image += S;
    }
    return image;
}

// Scatterers imaged where they are, for every kind of event.
TEST(Beamform, ScatterersImagedAtTheirPositions)
{
    const std::vector<double> scatterers{0, 0, 12, -2, 0, 18, 2.5, 0, 15};
    struct Case {
        const char* name;
        void (*events)(Scene&);
    } cases[] = {
        {"full-matrix capture", [](Scene& s) {
             const Coordinates e = s.centres();
             for (std::size_t i = 0; i < e.count; ++i)
                 s.waves.push_back({Wave_kind::diverging, e.x[i], e.y[i], e.z[i], 0.0});
         }},
        {"one plane wave", [](Scene& s) { add_wave(s, {Wave_kind::plane, 0, 0, 1, 0}); }},
        {"11 plane waves", [](Scene& s) {
             for (int a = -5; a <= 5; ++a)
                 add_wave(s, {Wave_kind::plane, std::sin(a * 0.035), 0, std::cos(a * 0.035), 0});
         }},
        {"diverging waves", [](Scene& s) {
             for (double xv : {-3.0, 0.0, 3.0})
                 add_wave(s, {Wave_kind::diverging, xv, 0, -6, 0});
         }},
        {"focused waves", [](Scene& s) {
             for (double xf : {-2.0, 0.0, 2.5})
                 add_wave(s, {Wave_kind::focused, xf, 0, 9, 0});
         }},
    };
    for (const Case& c : cases) {
        Scene s = linear_array(32);
        c.events(s);
        receive_on_all(s);
        peak_grids(s, scatterers);
        const std::vector<double> rf = doubles(echoes(s, scatterers), false);
        const std::vector<double> img = image(s, rf, Sample_type::real_double);
        const double terms = double(s.waves.size() * s.n_rx);
        for (std::size_t q = 0; q < 3; ++q) {
            const auto grid = img.begin() + 121 * q;
            const std::size_t peak = std::max_element(grid, grid + 121) - grid;
            const double off = std::hypot(int(peak / 11) - 5, int(peak % 11) - 5) * wavelength / 20;
            EXPECT_LE(off, wavelength / 10) << c.name << ", scatterer " << q;
            // Each term is the pulse's peak, read between samples 8 per period apart.
            EXPECT_GT(grid[60], 0.9 * terms) << c.name << ", scatterer " << q;
            EXPECT_LT(grid[60], 1.01 * terms) << c.name << ", scatterer " << q;
        }
        for (std::size_t p = 0; p < img.size(); p += 7)
            ASSERT_EQ(img[p], written_sum(s, rf, p)) << c.name << ", point " << p;
    }
}

// One element at the origin imaged at the origin with cp = 1000, dt = 1:
// u = t0 of the plane wave n = z. Channel s = 1, 10, 100, 1000 (complex:
// s - i s).
double value_at(double u, Interpolation interpolation, Sample_type type)
{
    Scene s;
    s.elements = {0, 0, 0};
    s.waves = {{Wave_kind::plane, 0, 0, 1, u}};
    s.rx = {0};
    s.n_rx = 1;
    s.nt = 4;
    s.dt = 1;
    s.cp = 1000;
    s.points = {0, 0, 0};
    s.options.interpolation = interpolation;
    const double ch[] = {1, 10, 100, 1000};
    std::vector<double> d;
    std::vector<float> f;
    for (double v : ch) {
        const bool complex = type == Sample_type::complex_double || type == Sample_type::complex_float;
        for (double part : complex ? std::vector<double>{v, -v} : std::vector<double>{v}) {
            d.push_back(part);
            f.push_back(float(part));
        }
    }
    const bool single = type == Sample_type::real_float || type == Sample_type::complex_float;
    const std::vector<double> out = single ? image(s, f, type, 1) : image(s, d, type, 1);
    if (out.size() == 2) {
        EXPECT_EQ(out[1], -out[0]) << "u = " << u;
    }
    return out[0];
}

TEST(Beamform, InterpolationAndTheEndsOfAChannel)
{
    const struct {
        double u, linear, nearest;
    } cases[] = {
        {1.25, 10 + 0.25 * 90, 10},
        {2.5, 100 + 0.5 * 900, 100},   // nearest: halfway to even
        {1.5, 10 + 0.5 * 90, 100},
        {0, 1, 1},
        {-0.5, 0.5 * 1, 1},            // before sample 0: f s[0]; nearest rounds to -0
        {-0.75, 0.25 * 1, 0},
        {-1, 0, 0},
        {3, 1000, 1000},               // the last sample alone
        {3.25, 0.75 * 1000, 1000},     // past it: (1 - f) s[nt-1]
        {3.5, 0.5 * 1000, 0},          // nearest: 4, outside
        {4, 0, 0},
        {1e300, 0, 0},
        {-INFINITY, 0, 0},
        {NAN, 0, 0},
    };
    for (Sample_type type : {Sample_type::real_double, Sample_type::real_float,
                             Sample_type::complex_double, Sample_type::complex_float})
        for (const auto& c : cases) {
            EXPECT_EQ(value_at(c.u, Interpolation::linear, type), c.linear)
                << "linear, u = " << c.u << ", type " << int(type);
            EXPECT_EQ(value_at(c.u, Interpolation::nearest, type), c.nearest)
                << "nearest, u = " << c.u << ", type " << int(type);
        }
}

// A point at (xp, 0, 10), samples all 1: the image is the sum of the weights.
double weight_sum(std::vector<double> xs, Wavefront wave, double xp, Beamform_options options)
{
    Scene s;
    s.elements = xs;
    s.elements.resize(3 * xs.size(), 0.0);
    s.waves = {wave};
    s.points = {xp, 0, 10};
    s.options = options;
    receive_on_all(s);
    return image(s, std::vector<double>(s.nt * s.n_rx, 1.0), Sample_type::real_double)[0];
}

TEST(Beamform, ReceiveApodizationByFNumber)
{
    // F = 1 at depth 10: the cone's radius is 5; elements at rho = 0, 0.5, 1, 1.2.
    const struct {
        Window window;
        double F, expected;
    } cases[] = {
        {Window::boxcar, 1, 3},
        {Window::hann, 1, 1 + 0.5},    // 0.5 + 0.5 cos(pi / 2); 0 at rho = 1
        {Window::tukey, 1, 1 + 1},     // flat to rho = 0.5, 0 at 1
        {Window::boxcar, 0, 4},        // none
        {Window::boxcar, 2.5, 1},      // radius 2: the element below alone
    };
    for (const auto& c : cases) {
        Beamform_options o;
        o.f_number = c.F;
        o.rx_window = c.window;
        EXPECT_NEAR(weight_sum({0, 2.5, -5, 6}, {Wave_kind::plane, 0, 0, 1, 0}, 0, o), c.expected,
                    1e-12)
            << "window " << int(c.window) << ", F = " << c.F;
    }
}

TEST(Beamform, TransmitApodizationByTheRegionTheWaveCovers)
{
    // Elements at x = -4, 0, 4 (F = 0, all three receive); the point 10 deep.
    const Wavefront plane{Wave_kind::plane, 0, 0, 1, 0}, steered{Wave_kind::plane, 0.6, 0, 0.8, 0};
    const Wavefront diverging{Wave_kind::diverging, 0, 0, -10, 0};
    const struct {
        Wavefront wave;
        double xp;
        Window window;
        double per_element;
    } cases[] = {
        {plane, 0, Window::tukey, 1},
        {plane, 3, Window::tukey, 0.5},                                  // xi = 0.75
        {plane, 3, Window::hann, 0.5 + 0.5 * std::cos(0.75 * M_PI)},
        {plane, 4, Window::boxcar, 1},                                   // the edge counts
        {plane, 4, Window::hann, 0},
        {plane, 4.01, Window::boxcar, 0},
        {steered, 10.5, Window::boxcar, 1},                              // crosses at 10.5 - 7.5 = 3
        {steered, 3, Window::boxcar, 0},                                 // crosses at -4.5
        {diverging, 4, Window::hann, 0.5},                               // crosses at 2
        {{Wave_kind::diverging, 4, 0, 0, 0}, 0, Window::hann, 0},        // a source on the face: q = v
        {{Wave_kind::diverging, 0, 0, 12, 0}, 3, Window::boxcar, 0},     // above the source: no crossing
        {{Wave_kind::focused, 9, 0, 20, 0}, 30, Window::boxcar, 1},      // never weighed
    };
    for (const auto& c : cases) {
        Beamform_options o;
        o.tx_apodization = true;
        o.tx_window = c.window;
        EXPECT_NEAR(weight_sum({-4, 0, 4}, c.wave, c.xp, o), 3 * c.per_element, 1e-12)
            << "x = " << c.xp << ", window " << int(c.window);
    }
}

// 11 plane waves on 32 elements.
Scene plane_waves(Beamform_options options)
{
    Scene s = linear_array(32);
    for (int a = -5; a <= 5; ++a)
        add_wave(s, {Wave_kind::plane, std::sin(a * 0.035), 0, std::cos(a * 0.035), 0});
    receive_on_all(s);
    s.options = options;
    return s;
}

// A grid whose points (71 x 23, not a multiple of any vector width, in
// every order) reach before the first and past the last sample, and a last
// point that is not one (x NaN).
Scene grid_scene(Beamform_options options)
{
    Scene s = plane_waves(options);
    s.nt = 900;
    std::vector<double> x, z;
    for (int i = 0; i < 71 * 23; ++i) {
        x.push_back(-6 + 0.17 * (i % 71));
        z.push_back(-1 + (i * 7 % 23) * 1.1);
    }
    x.push_back(NAN);
    z.push_back(5);
    s.points = x;
    s.points.resize(2 * x.size(), 0.0);
    s.points.insert(s.points.end(), z.begin(), z.end());
    return s;
}

bool same_bits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(Beamform, SameBitsOnEveryThreadCountAndInstructionSet)
{
    const std::vector<double> scatterers{0, 0, 12, -2, 0, 18};
    Beamform_options apodized, per_event_iq;
    apodized.f_number = 1.5;
    apodized.rx_window = Window::hann;
    apodized.tx_apodization = true;
    apodized.tx_window = Window::tukey;
    per_event_iq.interpolation = Interpolation::nearest;
    per_event_iq.compounding = Compounding::per_event;
    per_event_iq.complex_samples = Complex_samples::iq;
    per_event_iq.fd = fc;
    for (const Beamform_options& o : {apodized, per_event_iq}) {
        const Scene s = grid_scene(o);
        const bool iq = o.complex_samples == Complex_samples::iq;
        const std::vector<double> data = doubles(echoes(s, scatterers, iq ? fc : 0), iq);
        const Sample_type type = iq ? Sample_type::complex_double : Sample_type::real_double;
        const std::vector<double> first = image(s, data, type, 1);
        for (int threads : {2, 3})
            EXPECT_TRUE(same_bits(image(s, data, type, threads), first)) << threads << " threads";
        for (std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
            hwy::SetSupportedTargetsForTest(target);
            EXPECT_TRUE(same_bits(image(s, data, type, 2), first)) << hwy::TargetName(target);
        }
        hwy::SetSupportedTargetsForTest(0);
        EXPECT_GT(*std::max_element(first.begin(), first.end()), 1.0);
        // The point with x NaN: its terms are 0, but not the phasors of I/Q data.
        EXPECT_TRUE(iq ? std::isnan(first.back()) : first.back() == 0.0);
    }
}

TEST(Beamform, FloatSamplesAreReadAsFloatAndSummedInDouble)
{
    const std::vector<double> scatterers{0, 0, 12, -2, 0, 18};
    for (bool complex : {false, true}) {
        const Scene s = grid_scene({});
        std::vector<double> exact, rounded;
        std::vector<float> single;
        for (const cdouble& v : echoes(s, scatterers))
            for (double part : complex ? std::vector<double>{v.real(), v.imag()}
                                       : std::vector<double>{v.real()}) {
                exact.push_back(part);
                single.push_back(float(part));
                rounded.push_back(single.back());
            }
        const Sample_type as_double = complex ? Sample_type::complex_double : Sample_type::real_double;
        const std::vector<double> from_float =
            image(s, single, complex ? Sample_type::complex_float : Sample_type::real_float);
        EXPECT_TRUE(same_bits(from_float, image(s, rounded, as_double)));
        // Each term moves by at most its samples' rounding, 2^-24 of 1 or
        // less (the pulses overlap nowhere).
        const double bound = std::ldexp(double(s.waves.size() * s.n_rx), -24);
        const std::vector<double> from_double = image(s, exact, as_double);
        for (std::size_t p = 0; p < from_double.size(); ++p)
            ASSERT_NEAR(from_float[p], from_double[p], bound) << "point " << p;
    }
}

// I/Q samples of 2 per period bring back the envelope of the RF image: the
// magnitude of the analytic image, formed here without sampling. Each term
// is then off by at most the linear interpolation's error on the pulse's
// Gaussian envelope, dt^2 / 8 max|g''| = dt^2 / (8 sigma^2) (8.7% of its
// peak). Read as analytic RF they do not.
TEST(Beamform, IqSamplesGiveTheEnvelope)
{
    const std::vector<double> scatterers{0, 0, 12, -2, 0, 18, 2.5, 0, 15};
    Scene s = plane_waves({});
    peak_grids(s, scatterers);
    s.dt = 1 / (2 * fc);
    s.nt = 350;
    s.options.complex_samples = Complex_samples::iq;
    s.options.fd = fc;
    const std::vector<double> data = doubles(echoes(s, scatterers, fc), true);
    const std::vector<double> envelope = image(s, data, Sample_type::complex_double);
    s.options.complex_samples = Complex_samples::analytic;
    const std::vector<double> unturned = image(s, data, Sample_type::complex_double);

    const std::size_t No = s.points.size() / 3;
    const Coordinates e = s.centres();
    double worst = 0, worst_unturned = 0;
    for (std::size_t p = 0; p < No; ++p) {
        const double x = s.points[p], z = s.points[2 * No + p];
        cdouble exact = 0;
        for (std::size_t ev = 0; ev < s.waves.size(); ++ev)
            for (std::size_t j = 0; j < s.n_rx; ++j)
                for (std::size_t q = 0; q < scatterers.size(); q += 3) {
                    const double* sc = &scatterers[q];
                    auto tau = [&](double px, double pz) {
                        return arrival(s.waves[ev], px, 0, pz, s.cp) +
                               travel_time(std::hypot(px - e.x[j], pz), s.cp);
                    };
                    const double u = tau(x, z) - tau(sc[0], sc[2]);
                    exact += std::exp(-0.5 * u * u / (sigma * sigma)) * std::polar(1.0, 2 * M_PI * fc * u);
                }
        worst = std::max(worst, std::abs(std::hypot(envelope[2 * p], envelope[2 * p + 1]) - std::abs(exact)));
        worst_unturned =
            std::max(worst_unturned, std::abs(std::hypot(unturned[2 * p], unturned[2 * p + 1]) - std::abs(exact)));
    }
    const double terms = double(s.waves.size() * s.n_rx);
    EXPECT_LT(worst, s.dt * s.dt / (8 * sigma * sigma) * terms);
    EXPECT_GT(worst_unturned, 0.5 * terms);
}

TEST(Beamform, FaultsAndInterruption)
{
    Scene s = grid_scene({});
    const std::vector<double> data(s.nt * s.n_rx * s.waves.size(), 1.0);
    std::vector<double> out(s.points.size(), NAN);
    const struct {
        const char* name;
        void (*spoil)(Scene&);
    } cases[] = {
        {"receive index = Ne", [](Scene& s) { s.rx[5] = std::int64_t(s.Ne()); }},
        {"negative receive index", [](Scene& s) { s.rx[5] = -1; }},
        {"NaN f-number", [](Scene& s) { s.options.f_number = NAN; }},
        {"I/Q on real samples", [](Scene& s) { s.options.complex_samples = Complex_samples::iq; }},
    };
    for (const auto& c : cases) {
        Scene spoilt = s;
        c.spoil(spoilt);
        fake_host::Host host;
        const fake_host::Outcome r = fake_host::outcome([&] {
            beamform_run(host, spoilt.job(data.data(), Sample_type::real_double, out.data()), 2);
        });
        EXPECT_TRUE(r.failed && r.kind == velk::Failure::refused) << c.name;
    }
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](double v) { return std::isnan(v); }));
    Scene empty = s;  // no samples to read: every term is 0
    empty.nt = 0;
    const std::vector<double> none;
    EXPECT_EQ(image(empty, none, Sample_type::real_double), std::vector<double>(out.size() / 3, 0.0));
    fake_host::Host host;
    host.pending = 1;
    const fake_host::Outcome r = fake_host::outcome(
        [&] { beamform_run(host, s.job(data.data(), Sample_type::real_double, out.data()), 2); });
    EXPECT_TRUE(r.interrupted());
}

}  // namespace
