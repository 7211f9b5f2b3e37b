// Every module's gateway driven through the fake host: a valid call gets its
// result through the host and runs its work once; a size beyond the int
// range is refused with a message naming the argument, before any result or
// work; the delay-and-sum report reaches the host.
#include "fake_host.h"
#include "modules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using fake_host::Args;

const std::size_t two_31 = std::size_t{1} << 31;

Args points() { return Args().matrix(2, 3, {0, 1, 0, 0, 10, 20}); }

// The arguments of a valid call of each module, after `first`.
Args transducer(Args first) { return first.row({5}).row({0.1, 20}).row({0}).row({1, 1500}); }
Args focus(Args scans)
{
    return scans.matrix(2, 3, {0, 1, 0, 0, 0, 0}).row({0}).row({0.05}).row({1500}).matrix(
        2, 3, {0, 0, 0, 0, 5, 9}).row({5});
}

TEST(Gateways, ValidCallGetsItsResultThroughTheHostAndRunsItsWorkOnce)
{
    const struct {
        const char* name;
        fake_host::Gateway gateway;
        Args args;
        int rows, cols;  // of result 1; -1: none
    } cases[] = {
        {"discwave", velk::discwave_gateway, transducer(points()), 20, 2},
        {"platewave", velk::platewave_gateway,
         points().row({5, 5}).row({0.1, 20}).row({0}).row({1, 1500}), 20, 2},
        {"discwave_avg", velk::discwave_avg_gateway, transducer(points()).row({4}), 20, 2},
        {"velk_damp", velk::velk_damp_gateway, points().row({0.1, 20}).row({0}).row({1500, 0.5}),
         20, 2},
        {"lagsum", velk::lagsum_gateway, points().row({0.1, 200}).row({0}).row({1500}).text("warn"),
         200, 2},
        {"echofocus", velk::echofocus_gateway, focus(Args().matrix(10, 2, std::vector<double>(20))),
         2, 1},
        {"echofocus_mt", velk::echofocus_mt_gateway,
         focus(Args().matrix(10, 2, std::vector<double>(20))).row({2}), 2, 1},
        {"fold_mt", velk::fold_mt_gateway,
         Args().matrix(5, 2, std::vector<double>(10)).row({1, 1}).row({2}), 6, 2},
        {"paste_mt", velk::paste_mt_gateway,
         Args().matrix(4, 3, std::vector<double>(12)).row({2, 3}).row({2, 3}).matrix(
             2, 2, {1, 2, 3, 4}).row({2}),
         -1, -1},
        {"velk_taper", velk::velk_taper_gateway, Args().text("gauss").row({5}).row({1}), 5, 1},
    };
    for (const auto& c : cases) {
        fake_host::Host host;
        EXPECT_EQ(fake_host::run(c.gateway, c.args, host, c.rows < 0 ? 0 : 1), "") << c.name;
        EXPECT_EQ(host.works_run, 1) << c.name;
        EXPECT_EQ(host.console, "") << c.name;
        if (c.rows < 0) {
            EXPECT_TRUE(host.results.empty()) << c.name;
        } else {
            ASSERT_EQ(host.results.size(), 1u) << c.name;
            EXPECT_EQ(host.results[0].rows, c.rows) << c.name;
            EXPECT_EQ(host.results[0].cols, c.cols) << c.name;
        }
    }
}

// Results handed out unfilled (NaN from the fake host) must be written
// whole: the pistons' windows below hold samples before, during and after
// each response; the convolution's columns have both ends and a middle.
TEST(Gateways, UnfilledResultsAreWrittenWhole)
{
    const auto window = [](Args args) { return args.row({0.1, 40}).row({6.4}).row({1, 1500}); };
    const Args points = Args().matrix(3, 3, {0, 1, 7, 0, 0, 1, 10, 10, 10});
    const struct {
        const char* name;
        fake_host::Gateway gateway;
        Args args;
        std::size_t n_values;
    } cases[] = {
        {"discwave", velk::discwave_gateway, window(Args(points).row({5})), 120},
        {"platewave", velk::platewave_gateway, window(Args(points).row({10, 6})), 120},
        {"discwave_avg", velk::discwave_avg_gateway, window(Args(points).row({5})).row({4}), 120},
        {"fold_mt", velk::fold_mt_gateway,
         Args().matrix(200, 2, std::vector<double>(400, 1.0)).row({1, 2, 3}).row({2}), 404},
    };
    for (const auto& c : cases) {
        fake_host::Host host;
        ASSERT_EQ(fake_host::run(c.gateway, c.args, host), "") << c.name;
        const std::vector<double>& values = host.results.at(0).values;
        ASSERT_EQ(values.size(), c.n_values) << c.name;
        for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_FALSE(std::isnan(values[i])) << c.name << ": element " << i << " unwritten";
        EXPECT_GT(*std::max_element(values.begin(), values.end()), 0.0) << c.name;
    }
}

TEST(Gateways, SizeBeyondIntIsRefusedBeforeAnyResultOrWork)
{
    const std::string too_large = " must have at most 2147483647 rows and columns!";
    const struct {
        const char* name;
        fake_host::Gateway gateway;
        Args args;
        std::string message;
    } cases[] = {
        {"discwave points", velk::discwave_gateway, transducer(Args().empty(0, two_31)),
         "Argument 1" + too_large},
        {"platewave delays of no points", velk::platewave_gateway,
         Args().matrix(0, 3, {}).row({5, 5}).row({0.1, 20}).empty(0, two_31).row({1, 1500}),
         "Argument 4" + too_large},
        {"discwave_avg points", velk::discwave_avg_gateway,
         transducer(Args().empty(two_31, 0)).row({4}), "Argument 1" + too_large},
        {"velk_damp points", velk::velk_damp_gateway,
         Args().empty(0, 2 * two_31 + 3).row({0.1, 20}).row({0}).row({1500, 0.5}),
         "Argument 1" + too_large},
        {"lagsum delays of no points", velk::lagsum_gateway,
         Args().matrix(0, 3, {}).row({0.1, 20}).empty(two_31, 0).row({1500}).text("stop"),
         "Argument 3" + too_large},
        {"echofocus A-scans", velk::echofocus_gateway, focus(Args().empty(0, two_31)),
         "Argument 1" + too_large},
        {"echofocus_mt points", velk::echofocus_mt_gateway,
         focus(Args().matrix(10, 2, std::vector<double>(20))).row({2}).empty(0, two_31).replace(6),
         "Argument 6" + too_large},
        {"fold_mt signals", velk::fold_mt_gateway,
         Args().empty(0, 2 * two_31 + 3).row({1}).row({1}), "Argument 1" + too_large},
        {"fold_mt M + K - 1", velk::fold_mt_gateway,
         Args().empty(two_31 - 1, 0).row({1, 1}).row({1}),
         "Argument 2 makes the result's columns longer than 2147483647 samples!"},
        {"fold_mt in place", velk::fold_mt_gateway,
         Args().empty(two_31 - 1, 0).row({1}).row({1}).empty(two_31, 0),
         "Argument 4" + too_large},
        {"paste_mt destination", velk::paste_mt_gateway,
         Args().empty(0, two_31).row({1, 1}).row({1, 1}).row({1}).row({1}),
         "Argument 1" + too_large},
        {"paste_mt source", velk::paste_mt_gateway,
         Args().matrix(4, 3, std::vector<double>(12)).row({2, 3}).row({2, 3}).empty(0, two_31).row(
             {1}),
         "Argument 4" + too_large},
    };
    for (const auto& c : cases) {
        fake_host::Host host;
        EXPECT_EQ(fake_host::run(c.gateway, c.args, host, 0), c.message) << c.name;
        EXPECT_TRUE(host.results.empty()) << c.name;
        EXPECT_EQ(host.works_run, 0) << c.name;
    }
}

// A point 10 mm deep arrives inside a window of 80 samples of 0.1 us, one
// 100 mm deep 588 samples past its end.
TEST(Gateways, DelayAndSumReportReachesTheHostUnderEachLevel)
{
    // "stop" ends the call with an empty message before result 2 (the
    // status) is made; the others return it.
    const struct {
        const char* level;
        std::string console;
        std::vector<double> status;  // result 2; none when the call ended
    } cases[] = {
        {"ignore", "", {-3}},
        {"warn", "warn: Delay out of bounds (offset = 588 samples)\n", {-2}},
        {"stop", "stop: Delay out of bounds (offset = 588 samples)\n", {}},
    };
    for (const auto& c : cases) {
        fake_host::Host host;
        const Args args = Args().matrix(2, 3, {0, 0, 0, 0, 10, 100}).row({0.1, 80}).row({0}).row(
            {1500}).text(c.level);
        EXPECT_EQ(fake_host::run(velk::lagsum_gateway, args, host, 2), "") << c.level;
        EXPECT_EQ(host.console, c.console) << c.level;
        ASSERT_EQ(host.results.size(), c.status.empty() ? 1u : 2u) << c.level;
        if (!c.status.empty()) {
            EXPECT_EQ(host.results[1].values, c.status) << c.level;
        }
    }
}

}  // namespace
