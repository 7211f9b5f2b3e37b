#include "fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

constexpr double sentinel = -7.25;

// Arrays from fftw_malloc, as the transforms require, with room for a
// sentinel past the n values a transform may touch.
template <class T>
struct Fftw_array {
    explicit Fftw_array(int n) : n(n), data(static_cast<T*>(fftw_malloc(sizeof(T) * (n + 1)))) {}
    ~Fftw_array() { fftw_free(data); }
    Fftw_array(const Fftw_array&) = delete;
    Fftw_array& operator=(const Fftw_array&) = delete;
    int n;
    T* data;
};

using Complex = std::complex<long double>;
constexpr long double two_pi = 6.283185307179586476925286766559L;

Complex e(long double sign, int j, int k, int n)
{
    return std::polar(1.0L, sign * two_pi * j * k / n);
}

// The normalised inverse of a Hermitian spectrum, summed directly:
// X[n-k] = conj(X[k]); the imaginary parts of bin 0 and of bin n/2 (even n)
// do not enter.
std::vector<long double> hermitian_inverse(const fftw_complex* X, int n)
{
    std::vector<long double> y(n, 0.0L);
    for (int j = 0; j < n; ++j) {
        Complex sum = 0;
        for (int k = 0; k < n; ++k) {
            const int b = k <= n / 2 ? k : n - k;
            Complex v(X[b][0], k <= n / 2 ? X[b][1] : -X[b][1]);
            if (b == 0 || 2 * b == n)
                v = Complex(X[b][0], 0);
            sum += v * e(1, j, k, n);
        }
        y[j] = sum.real() / n;
    }
    return y;
}

class FftTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        fft_close();
        EXPECT_EQ(p_backward, nullptr);
        EXPECT_EQ(p_forward, nullptr);
        EXPECT_EQ(p_backward_cc, nullptr);
    }
    std::mt19937 rng{2024};
    std::uniform_real_distribution<double> value{-1.0, 1.0};
};

// Even, odd, prime and power-of-two lengths, against the direct sum; the
// value past out[n-1] is never written.
TEST_F(FftTest, CrIfftIsTheNormalisedHermitianInverseOfLengthN)
{
    for (int n : {1, 2, 3, 4, 5, 8, 17, 64, 243, 1000}) {
        SCOPED_TRACE(n);
        Fftw_array<fftw_complex> X(n);
        Fftw_array<double> y(n);
        ASSERT_TRUE(fft_init(n, X.data, y.data));
        for (int k = 0; k <= n; ++k)
            X.data[k][0] = value(rng), X.data[k][1] = value(rng);
        const std::vector<long double> expected = hermitian_inverse(X.data, n);
        y.data[n] = sentinel;
        cr_ifft(X.data, y.data, n);
        for (int j = 0; j < n; ++j)
            EXPECT_NEAR(y.data[j], static_cast<double>(expected[j]), 1e-15) << "j = " << j;
        EXPECT_EQ(y.data[n], sentinel);
        fft_close();
    }
}

TEST_F(FftTest, CrIfftOfUnitDcIsFlatAndRunsOnOtherArrays)
{
    for (int n : {1, 4, 7, 2048}) {
        SCOPED_TRACE(n);
        Fftw_array<fftw_complex> plan_in(n), X(n);
        Fftw_array<double> plan_out(n), y(n);
        ASSERT_TRUE(fft_init(n, plan_in.data, plan_out.data));
        for (int k = 0; k <= n / 2; ++k)
            X.data[k][0] = X.data[k][1] = 0.0;
        X.data[0][0] = 1.0;
        X.data[0][1] = 0.5;  // not part of a real signal's spectrum: ignored
        cr_ifft(X.data, y.data, n);
        for (int j = 0; j < n; ++j)
            EXPECT_DOUBLE_EQ(y.data[j], 1.0 / n);
        fft_close();
    }
}

struct Spectrum_case {
    std::vector<double> in;
    std::vector<double> out;
};

// Magnitudes mirrored into the upper half; for even n the middle bin keeps
// its sign, for odd n both middle elements hold |X_h|.
TEST_F(FftTest, VelkFftGivesTheSymmetricMagnitudeSpectrum)
{
    const double r8 = std::sqrt(8.0);
    const double m3 = std::hypot(-1.5, -std::sqrt(3.0) / 2.0);  // |X_1| of 1, 2, 3
    const Spectrum_case cases[] = {
        {{1, 2, 3, 4}, {10, r8, -2, r8}},
        {{1, 2, 3}, {6, m3, m3}},
        {{-3}, {3}},
        {{1, 1}, {2, 0}},
        {{-1, 1}, {0, -2}},
    };
    for (const Spectrum_case& c : cases) {
        const int n = static_cast<int>(c.in.size());
        SCOPED_TRACE(n);
        Fftw_array<double> in(n), out(n);
        std::copy(c.in.begin(), c.in.end(), in.data);
        out.data[n] = sentinel;
        ASSERT_TRUE(velk_fft(in.data, out.data, n));
        for (int k = 0; k < n; ++k)
            EXPECT_NEAR(out.data[k], c.out[k], 1e-14) << "k = " << k;
        EXPECT_EQ(out.data[n], sentinel);
        for (int k = 0; k < n; ++k)
            EXPECT_EQ(in.data[k], c.in[k]) << "input changed at " << k;
    }
}

TEST_F(FftTest, VelkFftOfRandomSamplesMatchesTheDirectMagnitudes)
{
    for (int n : {6, 9, 128, 255}) {
        SCOPED_TRACE(n);
        Fftw_array<double> in(n), out(n);
        for (int j = 0; j < n; ++j)
            in.data[j] = value(rng);
        ASSERT_TRUE(velk_fft(in.data, out.data, n));
        for (int k = 0; k < n; ++k) {
            Complex X = 0;
            for (int j = 0; j < n; ++j)
                X += static_cast<long double>(in.data[j]) * e(-1, j, k, n);
            const long double expected = (n % 2 == 0 && k == n / 2) ? X.real() : std::abs(X);
            EXPECT_NEAR(out.data[k], static_cast<double>(expected), 1e-12) << "k = " << k;
        }
    }
}

// The upper half of the input is cleared and the zero-phase spectrum comes
// back unnormalised.
TEST_F(FftTest, VelkIfftClearsTheUpperHalfAndDoesNotNormalise)
{
    const struct {
        std::vector<double> in, cleared, out;
    } cases[] = {
        {{1, 0, 5, 7}, {1, 0, 0, 0}, {1, 1, 1, 1}},
        {{2, 1, 9, 9, 9}, {2, 1, 0, 0, 0}, {}},
        {{1, 3, 4, 5, 6, 7}, {1, 3, 4, 0, 0, 0}, {}},
    };
    for (const auto& c : cases) {
        const int n = static_cast<int>(c.in.size());
        SCOPED_TRACE(n);
        Fftw_array<double> in(n), out(n);
        std::copy(c.in.begin(), c.in.end(), in.data);
        out.data[n] = sentinel;
        ASSERT_TRUE(velk_ifft(in.data, out.data, n));
        for (int k = 0; k < n; ++k)
            EXPECT_EQ(in.data[k], c.cleared[k]) << "k = " << k;
        for (int j = 0; j < n; ++j) {
            long double expected = c.cleared[0];
            for (int k = 1; k < n / 2; ++k)
                expected += 2 * c.cleared[k] * std::cos(two_pi * j * k / n);
            if (!c.out.empty()) {
                EXPECT_DOUBLE_EQ(out.data[j], c.out[j]);
            }
            EXPECT_NEAR(out.data[j], static_cast<double>(expected), 1e-13) << "j = " << j;
        }
        EXPECT_EQ(out.data[n], sentinel);
    }
}

TEST_F(FftTest, CcIfftIsTheNormalisedComplexInverse)
{
    for (int n : {1, 4, 5, 12}) {
        SCOPED_TRACE(n);
        Fftw_array<fftw_complex> in(n), out(n);
        for (int k = 0; k < n; ++k)
            in.data[k][0] = 1.0, in.data[k][1] = 0.0;
        ASSERT_TRUE(cc_ifft(in.data, out.data, n));
        for (int j = 0; j < n; ++j) {
            EXPECT_NEAR(out.data[j][0], j == 0 ? 1.0 : 0.0, 1e-15);
            EXPECT_NEAR(out.data[j][1], 0.0, 1e-15);
        }
        for (int k = 0; k < n; ++k)
            in.data[k][0] = value(rng), in.data[k][1] = value(rng);
        out.data[n][0] = out.data[n][1] = sentinel;
        ASSERT_TRUE(cc_ifft(in.data, out.data, n));
        for (int j = 0; j < n; ++j) {
            Complex sum = 0;
            for (int k = 0; k < n; ++k)
                sum += Complex(in.data[k][0], in.data[k][1]) * e(1, j, k, n);
            EXPECT_NEAR(out.data[j][0], static_cast<double>(sum.real() / n), 1e-15);
            EXPECT_NEAR(out.data[j][1], static_cast<double>(sum.imag() / n), 1e-15);
        }
        EXPECT_EQ(out.data[n][0], sentinel);
    }
}

// The plans made on first use follow the length asked for.
TEST_F(FftTest, AuxiliaryPlansFollowTheLength)
{
    Fftw_array<double> in(8), out(8);
    for (int n : {8, 3, 8}) {
        for (int j = 0; j < n; ++j)
            in.data[j] = 1.0;
        ASSERT_TRUE(velk_fft(in.data, out.data, n));
        EXPECT_DOUBLE_EQ(out.data[0], n);
        for (int k = 1; k < n; ++k)
            EXPECT_NEAR(out.data[k], 0.0, 1e-14);
    }
}

}  // namespace
