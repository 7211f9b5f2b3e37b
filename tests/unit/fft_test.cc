#include "fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

constexpr double sentinel = -7.25;
constexpr long double two_pi = 6.283185307179586476925286766559L;
using Complex = std::complex<long double>;

// An array from fftw_malloc, as the transforms require, with one element
// past the n a transform may touch, holding a sentinel.
template <class T>
struct Fftw_array {
    explicit Fftw_array(int n) : data(static_cast<T*>(fftw_malloc(sizeof(T) * (n + 1)))) {}
    ~Fftw_array() { fftw_free(data); }
    Fftw_array(const Fftw_array&) = delete;
    Fftw_array& operator=(const Fftw_array&) = delete;
    T* data;
};

Complex e(long double sign, int j, int k, int n)
{
    return std::polar(1.0L, sign * two_pi * j * k / n);
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

// Against the direct sum over the Hermitian extension, X[n-k] = conj(X[k]),
// in which the imaginary parts of bin 0 and of bin n/2 (even n) do not
// enter; on arrays other than those the plan was made on, as the kernels run
// it. A unit spectrum at bin 0 gives n samples of 1/n.
TEST_F(FftTest, CrIfftIsTheNormalisedHermitianInverse)
{
    for (int n : {1, 2, 3, 4, 5, 8, 17, 243, 1000}) {
        SCOPED_TRACE(n);
        Fftw_array<fftw_complex> plan_in(n), X(n);
        Fftw_array<double> plan_out(n), y(n);
        ASSERT_TRUE(fft_init(n, plan_in.data, plan_out.data));
        for (bool unit : {true, false}) {
            for (int k = 0; k <= n / 2; ++k) {
                X.data[k][0] = unit ? (k == 0) : value(rng);
                X.data[k][1] = value(rng);
            }
            std::vector<long double> expected(n, 0.0L);
            for (int j = 0; j < n; ++j) {
                for (int k = 0; k < n; ++k) {
                    const int b = std::min(k, n - k);
                    const bool real_bin = b == 0 || 2 * b == n;
                    const Complex v(X.data[b][0], real_bin ? 0.0 : (k == b ? 1 : -1) * X.data[b][1]);
                    expected[j] += (v * e(1, j, k, n)).real() / n;
                }
            }
            y.data[n] = sentinel;
            cr_ifft(X.data, y.data, n);
            for (int j = 0; j < n; ++j)
                EXPECT_NEAR(y.data[j], static_cast<double>(expected[j]), 1e-15) << "j = " << j;
            EXPECT_EQ(y.data[n], sentinel);
        }
        fft_close();
    }
}

// Magnitudes mirrored into the upper half; for even n the middle element
// keeps the signed real part, for odd n both middle elements hold |X_h|.
// The worked cases, then random samples against the direct sum.
TEST_F(FftTest, VelkFftGivesTheSymmetricMagnitudeSpectrum)
{
    const double r8 = std::sqrt(8.0);
    const double m3 = std::hypot(1.5, std::sqrt(3.0) / 2.0);  // |X_1| of 1, 2, 3
    const struct {
        std::vector<double> in, out;
    } cases[] = {
        {{1, 2, 3, 4}, {10, r8, -2, r8}},
        {{1, 2, 3}, {6, m3, m3}},
        {{-3}, {3}},
        {{-1, 1}, {0, -2}},
    };
    for (const auto& c : cases) {
        const int n = static_cast<int>(c.in.size());
        ASSERT_TRUE(fft_init(n, nullptr, nullptr));
        Fftw_array<double> in(n), out(n);
        std::copy(c.in.begin(), c.in.end(), in.data);
        out.data[n] = sentinel;
        ASSERT_TRUE(velk_fft(in.data, out.data, n));
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(out.data[k], c.out[k], 1e-14) << "n = " << n << ", k = " << k;
            EXPECT_EQ(in.data[k], c.in[k]) << "input changed, n = " << n;
        }
        EXPECT_EQ(out.data[n], sentinel);
    }
    for (int n : {6, 9, 255}) {
        ASSERT_TRUE(fft_init(n, nullptr, nullptr));
        Fftw_array<double> in(n), out(n);
        std::generate(in.data, in.data + n, [&] { return value(rng); });
        ASSERT_TRUE(velk_fft(in.data, out.data, n));
        for (int k = 0; k < n; ++k) {
            Complex X = 0;
            for (int j = 0; j < n; ++j)
                X += static_cast<long double>(in.data[j]) * e(-1, j, k, n);
            const long double expected = (n % 2 == 0 && k == n / 2) ? X.real() : std::abs(X);
            EXPECT_NEAR(out.data[k], static_cast<double>(expected), 1e-12) << "n = " << n;
        }
    }
}

// The transforms run the plans of the workspace's length: another length,
// or no workspace, is refused and the output left as it was.
TEST_F(FftTest, TransformsOfAnotherLengthAreRefused)
{
    Fftw_array<double> in(8), out(8);
    Fftw_array<fftw_complex> cin(8), cout(8);
    std::fill(in.data, in.data + 9, 1.0);
    for (bool open : {false, true}) {
        if (open) {
            ASSERT_TRUE(fft_init(4, nullptr, nullptr));
        }
        std::fill(out.data, out.data + 9, sentinel);
        cout.data[0][0] = sentinel;
        EXPECT_FALSE(velk_fft(in.data, out.data, 8));
        EXPECT_FALSE(velk_ifft(in.data, out.data, 8));
        EXPECT_FALSE(cc_ifft(cin.data, cout.data, 8));
        EXPECT_EQ(out.data[0], sentinel);
        EXPECT_EQ(cout.data[0][0], sentinel);
    }
}

// The upper half of the input is cleared and the zero-phase spectrum comes
// back unnormalised: out[j] = in[0] + 2 sum_(k=1..h-1) in[k] cos(2 pi j k / n).
// The input then holds the cleared spectrum, bit for bit, however long: the
// half-complex-to-real transform could overwrite its input unless planned
// to keep it.
TEST_F(FftTest, VelkIfftClearsTheUpperHalfKeepsTheRestAndDoesNotNormalise)
{
    std::vector<std::vector<double>> inputs = {{1, 0, 5, 7}, {2, 1, 9, 9, 9}, {1, 3, 4, 5, 6, 7}};
    for (int n : {64, 243, 1000}) {
        inputs.emplace_back(n);
        std::generate(inputs.back().begin(), inputs.back().end(), [&] { return value(rng); });
    }
    for (const std::vector<double>& input : inputs) {
        const int n = static_cast<int>(input.size());
        std::vector<double> cleared = input;
        std::fill(cleared.begin() + n / 2, cleared.end(), 0.0);
        ASSERT_TRUE(fft_init(n, nullptr, nullptr));
        Fftw_array<double> in(n), out(n);
        std::copy(input.begin(), input.end(), in.data);
        out.data[n] = sentinel;
        ASSERT_TRUE(velk_ifft(in.data, out.data, n));
        EXPECT_EQ(std::vector<double>(in.data, in.data + n), cleared) << "n = " << n;
        for (int j = 0; j < n; j += 1 + n / 50) {
            long double expected = cleared[0];
            for (int k = 1; k < n / 2; ++k)
                expected += 2 * cleared[k] * std::cos(two_pi * j * k / n);
            EXPECT_NEAR(out.data[j], static_cast<double>(expected), 1e-12) << "n = " << n;
        }
        EXPECT_EQ(out.data[n], sentinel);
    }
}

// All ones (a unit value then zeros) and random values, against the direct sum.
TEST_F(FftTest, CcIfftIsTheNormalisedComplexInverse)
{
    for (int n : {1, 4, 5, 12}) {
        ASSERT_TRUE(fft_init(n, nullptr, nullptr));
        Fftw_array<fftw_complex> in(n), out(n);
        for (bool ones : {true, false}) {
            for (int k = 0; k < n; ++k) {
                in.data[k][0] = ones ? 1.0 : value(rng);
                in.data[k][1] = ones ? 0.0 : value(rng);
            }
            out.data[n][0] = sentinel;
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
}

}  // namespace
