// Every module's gateway driven through the fake host: every example call
// (tests/calls/example_calls.m, written as JSON by the build) gets its
// results through the host, of the sizes Octave gives, with every element
// written (the host hands out results filled with NaN where the gateway may
// leave them unfilled), and runs its work at most once; every module of
// modules.def has example calls; a size beyond the int range is refused with
// a message naming the argument, before any result or work; the
// delay-and-sum report reaches the host.
#include "fake_host.h"
#include "modules.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace {

using fake_host::Args;
using nlohmann::json;

const std::size_t two_31 = std::size_t{1} << 31;

const std::map<std::string, fake_host::Gateway> gateways = {
#define VELK_MODULE(name, folder, python_name, category, exports) {#name, velk::name##_gateway},
#include "modules.def"
#undef VELK_MODULE
};

// The example calls, or null where the build wrote none (a host without Octave).
json example_calls()
{
    const char* file = std::getenv("VELK_EXAMPLE_CALLS");
    std::ifstream in(file ? file : "");
    return in ? json::parse(in, nullptr, false) : json();
}

// A value of the JSON form write_example_calls writes, added to `args`.
void add(Args& args, const json& value)
{
    if (value.contains("double")) {
        const json& d = value["double"];
        args.matrix(d[0].get<std::size_t>(), d[1].get<std::size_t>(),
                    d[2].get<std::vector<double>>());
    } else if (value.contains("char")) {
        args.text(value["char"].get<std::string>());
    } else if (value.contains("cell")) {
        Args elements;
        for (const json& element : value["cell"][2])
            add(elements, element);
        args.cell(elements);
    } else {
        std::vector<std::string> names;
        Args fields;
        for (const auto& [name, field] : value["struct"].items()) {
            names.push_back(name);
            add(fields, field);
        }
        args.structure(names, fields);
    }
}

TEST(Gateways, ExampleCallsGetResultsOfOctavesSizesWrittenWhole)
{
    const json calls = example_calls();
    if (calls.is_null())
        GTEST_SKIP() << "no example calls: the build writes them with Octave";
    ASSERT_TRUE(calls.is_array()) << "cannot read the example calls";
    std::set<std::string> with_examples;
    for (const json& c : calls) {
        const std::string name = c["name"];
        with_examples.insert(name);
        ASSERT_TRUE(gateways.count(name)) << name << " is not in modules.def";
        Args args;
        for (const json& value : c["args"])
            add(args, value);
        fake_host::Host host;
        ASSERT_EQ(fake_host::run(gateways.at(name), args, host, c["n_out"]), "") << name;
        EXPECT_LE(host.works_run, 1) << name;
        EXPECT_EQ(host.console, "") << name;
        ASSERT_EQ(host.results.size(), c["results"].size()) << name;
        for (std::size_t r = 0; r < host.results.size(); ++r) {
            const fake_host::Result& result = host.results[r];
            EXPECT_EQ(result.rows, c["results"][r][0]) << name << ", result " << r + 1;
            EXPECT_EQ(result.cols, c["results"][r][1]) << name << ", result " << r + 1;
            for (std::size_t i = 0; i < result.values.size(); ++i)
                ASSERT_FALSE(std::isnan(result.values[i]))
                    << name << ", result " << r + 1 << ": element " << i << " unwritten";
        }
    }
    for (const auto& [name, gateway] : gateways)
        EXPECT_TRUE(with_examples.count(name)) << name << " has no example call";
}

// The arguments of a valid call of each module, after `first`.
Args transducer(Args first) { return first.row({5}).row({0.1, 20}).row({0}).row({1, 1500}); }
Args focus(Args scans)
{
    return scans.matrix(2, 3, {0, 1, 0, 0, 0, 0}).row({0}).row({0.05}).row({1500}).matrix(
        2, 3, {0, 0, 0, 0, 5, 9}).row({5});
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
