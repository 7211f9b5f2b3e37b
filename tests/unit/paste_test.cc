#include "paste.h"

#include "fake_host.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

// The block a complete call leaves, element by element.
std::vector<double> pasted(std::vector<double> Y, int M1, const std::vector<double>& S, int M4,
                           int N4, int row0, int col0, int nrows)
{
    for (int k = 0; k < N4; ++k)
        for (int q = 0; q < nrows; ++q)
            Y[std::size_t(row0 + q + (col0 + k) * M1)] = S[std::size_t(q + k * M4)];
    return Y;
}

TEST(PasteRun, CopiesTheBlockAndNothingElse)
{
    const struct {
        const char* name;
        int M1, N1, M4, N4, row0, col0, nrows, threads;
    } cases[] = {
        {"2 x 2 block inside", 4, 3, 2, 2, 1, 1, 2, 2},
        {"source with extra rows", 4, 3, 5, 2, 1, 0, 2, 2},
        {"one row, one column", 4, 3, 1, 1, 2, 1, 1, 1},
        {"no rows", 4, 3, 3, 2, 1, 0, 0, 2},
        {"source of no rows, no data", 4, 3, 0, 2, 1, 0, 0, 2},
        {"no columns", 4, 3, 3, 0, 1, 0, 3, 2},
        {"more threads than columns", 6, 9, 6, 9, 0, 0, 6, 3},
    };
    fake_host::Host host;
    for (const auto& c : cases) {
        std::vector<double> Y(std::size_t(c.M1 * c.N1)), S(std::size_t(c.M4 * c.N4));
        std::iota(Y.begin(), Y.end(), 1.0);
        std::iota(S.begin(), S.end(), 101.0);
        const std::vector<double> expected =
            pasted(Y, c.M1, S, c.M4, c.N4, c.row0, c.col0, c.nrows);
        EXPECT_NO_THROW(velk::paste_mt_run(
            host, {Y.data(), c.M1, c.N1, S.data(), c.M4, c.N4, c.row0, c.col0, c.nrows},
            c.threads))
            << c.name;
        EXPECT_EQ(Y, expected) << c.name;
    }
}

// A source that is the destination itself, or a slice of its storage
// shifted by a column or a row, gives the result of reading all of it
// before writing: that of an indexed assignment.
TEST(PasteRun, SourceSharingStorageActsAsAMove)
{
    const int M1 = 4, N1 = 5;
    const struct {
        const char* name;
        int offset;  // the source starts this many elements into Y
        int M4, N4, row0, col0, nrows;
    } cases[] = {
        {"same array, rows down by one", 0, 4, 5, 1, 0, 3},
        {"columns 1-4 into 2-5", 0, 4, 4, 0, 1, 4},
        {"columns 2-5 into 1-4", 4, 4, 4, 0, 0, 4},
        {"linear slice, one row up", 1, 4, 4, 0, 0, 4},
    };
    fake_host::Host host;
    for (const auto& c : cases) {
        for (int threads : {1, 2, 4}) {
            std::vector<double> Y(std::size_t(M1 * N1));
            std::iota(Y.begin(), Y.end(), 1.0);
            const std::vector<double> S(Y.begin() + c.offset, Y.begin() + c.offset + c.M4 * c.N4);
            const std::vector<double> expected =
                pasted(Y, M1, S, c.M4, c.N4, c.row0, c.col0, c.nrows);
            velk::paste_mt_run(host,
                               {Y.data(), M1, N1, Y.data() + c.offset, c.M4, c.N4, c.row0,
                                c.col0, c.nrows},
                               threads);
            EXPECT_EQ(Y, expected) << c.name << ", " << threads << " threads";
        }
    }
}

}  // namespace
