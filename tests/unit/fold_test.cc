#include "fold.h"

#include "fake_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

TEST(Conv, ModesAndEmptyColumns)
{
    const double sentinel = -7;
    const struct {
        const char* name;
        std::vector<double> x, h, y_before;
        bool in_place;
        int mode;
        std::vector<double> y;  // then one sentinel past the column, untouched
    } cases[] = {
        {"new result", {1, 2, 3}, {1, 1}, {9, 9, 9, 9}, false, velk::fold_subtract, {1, 3, 5, 3}},
        {"in place =", {1, 2, 3}, {1, 1}, {9, 9, 9, 9}, true, velk::fold_assign, {1, 3, 5, 3}},
        {"in place +=", {1, 2, 3}, {1, 1}, {1, 3, 5, 3}, true, velk::fold_add, {2, 6, 10, 6}},
        {"in place -=", {1, 2, 3}, {1, 1}, {1, 3, 5, 3}, true, velk::fold_subtract, {0, 0, 0, 0}},
        {"no samples", {}, {1, 2, 3}, {9, 9}, false, velk::fold_assign, {0, 0}},
        {"no taps", {1, 2, 3}, {}, {9, 9}, true, velk::fold_assign, {0, 0}},
        {"neither", {}, {}, {}, false, velk::fold_assign, {}},
        // Products are added in increasing i, onto the stored value: in
        // y[2], 1 + 1e16 loses the 1 before -1e16 cancels the rest.
        {"order of the sum", {1, 1e16, -1e16}, {1, 1, 1}, {9, 9, 9, 9, 9}, false, 0,
         {1, 1e16 + 1, 0, 0, -1e16}},
        {"order in place", {1, 1e16, -1e16}, {1, 1, 1}, {0, 0, 0.5, 0, 0}, true, velk::fold_add,
         {1, 1e16 + 1, 2, 0, -1e16}},
    };
    for (const auto& c : cases) {
        std::vector<double> y = c.y_before;
        y.push_back(sentinel);
        velk::conv(c.x.data(), static_cast<int>(c.x.size()), c.h.data(),
                   static_cast<int>(c.h.size()), y.data(), c.in_place, c.mode);
        std::vector<double> expected = c.y;
        expected.push_back(sentinel);
        EXPECT_EQ(y, expected) << c.name;
    }
}

// The direct loop, i outer and k inner, each product stored at once.
void direct_loop(const std::vector<double>& x, const std::vector<double>& h, std::vector<double>& y,
                 bool in_place, int mode)
{
    const int M = static_cast<int>(x.size()), K = static_cast<int>(h.size());
    if (!in_place || mode == velk::fold_assign)
        std::fill(y.begin(), y.end(), 0.0);
    for (int i = 0; i < M; ++i)
        for (int k = 0; k < K; ++k) {
            double& out = y[std::size_t(i + k)];
            out = in_place && mode == velk::fold_subtract ? out - x[std::size_t(i)] * h[std::size_t(k)]
                                                          : out + x[std::size_t(i)] * h[std::size_t(k)];
        }
}

// The kernel keeps partial sums in registers, in blocks of vectors; its bits
// must be those of the direct loop for every length, filters longer than the
// signal included, signals shorter and longer than a block of the widest
// vectors (8 x 8 samples), with values of very different size so that any
// change of order shows.
TEST(Conv, SameBitsAsTheDirectLoop)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> value(-1, 1);
    std::uniform_int_distribution<int> short_length(0, 40), long_length(0, 300);
    for (int trial = 0; trial < 400; ++trial) {
        auto length = [&] {
            return std::size_t(trial % 2 ? short_length(random) : long_length(random));
        };
        std::vector<double> x(length()), h(length() % 80 + 1);
        for (double& v : x)
            v = value(random) * (value(random) > 0.8 ? 1e15 : 1);
        for (double& v : h)
            v = value(random);
        const int n_out = static_cast<int>(x.size() + h.size()) - 1;
        std::vector<double> start(static_cast<std::size_t>(n_out));
        for (double& v : start)
            v = value(random) * 1e3;
        const bool in_place = trial % 4 != 0;
        const int mode = trial % 3;
        std::vector<double> expected = start, y = start;
        direct_loop(x, h, expected, in_place, mode);
        velk::conv(x.data(), static_cast<int>(x.size()), h.data(), static_cast<int>(h.size()),
                   y.data(), in_place, mode);
        ASSERT_EQ(y, expected) << "M " << x.size() << ", K " << h.size() << ", mode " << mode;
    }
}

// Every column with its own filter or the shared one, on the calling thread
// and on threads, with and without the inputs sharing storage with Y.
TEST(FoldRun, ColumnsFiltersAndThreadsAgree)
{
    const int M = 5, N = 7;
    std::vector<double> A(M * N), B(3 * N);
    for (int i = 0; i < M * N; ++i)
        A[std::size_t(i)] = (i * 37 % 11) - 5.0;
    for (int i = 0; i < 3 * N; ++i)
        B[std::size_t(i)] = (i * 13 % 7) - 3.0;
    fake_host::Host host;
    for (int L : {1, N}) {
        std::vector<double> expected(std::size_t(M + 2) * N);
        for (int j = 0; j < N; ++j)
            velk::conv(&A[std::size_t(j * M)], M, &B[std::size_t(L == 1 ? 0 : 3 * j)], 3,
                       &expected[std::size_t(j * (M + 2))], false, 0);
        for (int T : {1, 2, 3, 7}) {
            std::vector<double> Y(expected.size(), 99);
            EXPECT_NO_THROW(velk::fold_mt_run(
                host, {A.data(), M, N, B.data(), 3, L, Y.data(), false, 0}, T));
            EXPECT_EQ(Y, expected) << "L " << L << ", " << T << " threads";
        }
    }
}

// No samples and no taps: each column of the result would have -1 samples,
// so the result has none and nothing is written, whatever the columns.
TEST(FoldRun, NoSamplesAndNoTaps)
{
    fake_host::Host host;
    for (int T : {1, 3}) {
        EXPECT_NO_THROW(
            velk::fold_mt_run(host, {nullptr, 0, 3, nullptr, 0, 1, nullptr, false, 0}, T));
    }
}

TEST(FoldRun, InputSharingStorageWithTheResultIsReadAsPassed)
{
    // One-tap filter: Y has the shape of A. Y's storage holds A and then
    // the filter, as a caller's slices of one matrix may; the columns are
    // computed from the inputs as they were before the call.
    const int M = 3, N = 4;
    std::vector<double> storage = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2};
    const std::vector<double> A(storage.begin(), storage.begin() + M * N);
    fake_host::Host host;
    velk::fold_mt_run(host,
                      {storage.data(), M, N, storage.data() + M * N, 1, 1, storage.data() + 1,
                       true, velk::fold_assign},
                      2);
    // Y starts one element in: Y(i) = 2 A(i) for the 12 elements of Y.
    for (int i = 0; i < M * N; ++i)
        EXPECT_EQ(storage[std::size_t(i + 1)], 2 * A[std::size_t(i)]) << i;
}

}  // namespace
