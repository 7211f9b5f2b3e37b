// The helpers that test and read an argument in one step: what each reads,
// and which of its tests refuses first, with the argument's position.
#include "arguments.h"

#include "fake_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

namespace {

using fake_host::Args;
using Reader = std::function<std::string(const velk::Call&)>;

const std::size_t beyond_int = std::size_t{1} << 31;  // 2^31
const double nan = std::nan("");

template <class... T>
std::string values(T... v)
{
    std::ostringstream out;
    ((out << v << ' '), ...);
    return out.str();
}

// The values read from argument 2 (argument 1 is a placeholder), or "! "
// and the message of the refusal that ended the call ("!! " for a refusal
// of the argument's class), which must name argument 2.
std::string outcome(const Args& arg, const Reader& read, bool writable = true)
{
    std::vector<velk::Arg> views = Args().other().views();
    views.push_back(arg.views().at(0));
    if (!writable)
        views[1].writable_data = nullptr;  // a host's read-only or converted array
    fake_host::Host host;
    const velk::Call call(views, 1, host);
    try {
        return read(call);
    } catch (const velk::Call_failed& failure) {
        EXPECT_EQ(failure.position(), 2) << failure.what();
        return (failure.kind() == velk::Failure::wrong_class ? "!! " : "! ") +
               std::string(failure.what());
    }
}

TEST(Arguments, EachReadsItsValueOrRefusesAtItsFirstFailingTest)
{
    const Reader scalar = [](const velk::Call& c) { return values(velk::scalar(c, 2)); };
    const Reader pair = [](const velk::Call& c) {
        const auto [a, b] = velk::pair(c, 2);
        return values(a, b);
    };
    const Reader sampling = [](const velk::Call& c) {
        const velk::Sampling s = velk::sampling(c, 2);
        return values(s.dt, s.nt);
    };
    const Reader sampling_from_1 = [](const velk::Call& c) {
        return values(velk::sampling(c, 2, 1).nt);
    };
    const Reader per_4_points = [](const velk::Call& c) {
        const velk::Per_point d = velk::per_point(c, 2, 4);
        return values(d[0], d[3]);
    };
    const Reader no_points = [](const velk::Call& c) {
        return values(velk::per_point(c, 2, 0).is_single());
    };
    const Reader cpus = [](const velk::Call& c) { return values(velk::cpu_count(c, 2)); };
    const Reader points = [](const velk::Call& c) {
        const velk::Points p = velk::observation_points(c, 2);
        const int last = p.count - 1;  // its x, y and z
        return p.count == 0 ? values(0) : values(p.count, p.x[last], p.y[last], p.z[last]);
    };
    const Reader matrix = [](const velk::Call& c) {
        const velk::Matrix m = velk::matrix(c, 2);
        return values(m.rows, m.cols);
    };
    const Reader level = [](const velk::Call& c) {
        return values(velk::keyword(c, 2, {"ignore", "warn", "stop"}, "Unknown error level!"));
    };
    const std::string double_array = "!! Argument 2 must be a real, full double array!";
    const std::string too_large = "! Argument 2 must have at most 2147483647 rows and columns!";
    const std::string samples = "! Argument 2 must hold a number of samples from 0 to 2147483647!";
    const std::string cpu_message =
        "! Argument 2 must be larger or equal to 1 (min number of CPUs)!";

    const struct {
        const char* name;
        Args arg;
        const Reader& read;
        std::string expected;
    } cases[] = {
        {"scalar", Args().row({2.5}), scalar, "2.5 "},
        {"scalar, two elements", Args().row({1, 2}), scalar, "! Argument 2 must be a scalar!"},
        {"scalar, empty", Args().row({}), scalar, "! Argument 2 must be a scalar!"},
        {"scalar: class after shape", Args().other(), scalar, double_array},
        {"pair as a row", Args().row({1, 2}), pair, "1 2 "},
        {"pair as a column", Args().matrix(2, 1, {1, 2}), pair, "1 2 "},
        {"pair, 2 x 2", Args().matrix(2, 2, {1, 2, 3, 4}), pair,
         "! Argument 2 must be a vector of length 2!"},
        {"pair, text of two characters", Args().text("ab"), pair, double_array},
        {"sampling truncates", Args().row({0.1, 10.9}), sampling, "0.1 10 "},
        {"sampling, -0.5 samples", Args().row({0.1, -0.5}), sampling, "0.1 0 "},
        {"sampling, negative", Args().row({0.1, -1}), sampling, samples},
        {"sampling, NaN", Args().row({0.1, nan}), sampling, samples},
        {"sampling, 2^31", Args().row({0.1, 2147483648.0}), sampling, samples},
        {"sampling, shape before count", Args().row({0.1}), sampling,
         "! Argument 2 must be a vector of length 2!"},
        {"sampling from 1", Args().row({0.1, 0.9}), sampling_from_1,
         "! Argument 2 must hold a number of samples from 1 to 2147483647!"},
        {"one value for all points", Args().row({7}), per_4_points, "7 7 "},
        {"one per point, 2 x 2", Args().matrix(2, 2, {1, 2, 3, 4}), per_4_points, "1 4 "},
        {"per point, wrong length", Args().row({1, 2, 3}), per_4_points,
         "! Argument 2 must be a scalar or a vector with a length equal to the number of "
         "observation points!"},
        {"per point of none, beyond int", Args().empty(0, beyond_int), no_points, too_large},
        {"CPU count 2.9", Args().row({2.9}), cpus, "2 "},
        {"CPU count 0.5", Args().row({0.5}), cpus, cpu_message},
        {"CPU count NaN", Args().row({nan}), cpus, cpu_message},
        {"CPU count 1e10", Args().row({1e10}), cpus, cpu_message},
        {"points", Args().matrix(2, 3, {1, 2, 3, 4, 5, 6}), points, "2 2 4 6 "},
        {"points, 4 columns", Args().matrix(1, 4, {1, 2, 3, 4}), points, "1 1 2 3 "},
        {"points without z", Args().matrix(2, 2, {1, 2, 3, 4}), points,
         "! Argument 2 must have 3 columns (x, y, z in mm)!"},
        {"no points, no columns", Args().matrix(0, 2, {}), points, "0 "},
        {"points: class first", Args().other(), points, double_array},
        {"points, 2^31 columns", Args().empty(0, beyond_int), points, too_large},
        {"points, 2^31 rows", Args().empty(beyond_int, 0), points, too_large},
        {"matrix, 2^32 + 3 columns", Args().empty(0, (beyond_int << 1) + 3), matrix, too_large},
        {"matrix, 2^31 - 1 rows", Args().empty(beyond_int - 1, 0), matrix, "2147483647 0 "},
        {"keyword", Args().text("warn"), level, "1 "},
        {"keyword, case", Args().text("Stop"), level, "! Unknown error level!"},
        {"keyword, trailing blank", Args().text("stop "), level, "! Unknown error level!"},
        {"keyword, empty", Args().text(""), level, "! Unknown error level!"},
        {"keyword, not text", Args().row({1}), level, "!! Argument 2 must be a string"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outcome(c.arg, c.read), c.expected) << c.name;
}

TEST(Arguments, InPlaceTargetMustBeWritable)
{
    const Reader target = [](const velk::Call& c) {
        const velk::Target t = velk::in_place_matrix(c, 2);
        return values(t.rows, t.cols);
    };
    const Args matrix = Args().matrix(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(outcome(matrix, target), "2 3 ");
    EXPECT_EQ(outcome(matrix, target, false),
              "! Argument 2 must be an array the call can write in place!");
}

// Each way a call ends carries its kind, the argument it concerns (0 for
// none) and its message, formatted and cut to what the exception holds.
TEST(Failures, CarryTheirKindPositionAndMessage)
{
    const std::string long_text(1000, 'x');
    const struct {
        const char* name;
        std::function<void()> end_call;
        velk::Failure kind;
        int position;
        std::string message;
    } cases[] = {
        {"refusal", [] { velk::refuse(7, "Argument %d must be a scalar!", 7); },
         velk::Failure::refused, 7, "Argument 7 must be a scalar!"},
        {"refusal of the call", [] { velk::refuse(0, "f requires 2 input arguments!"); },
         velk::Failure::refused, 0, "f requires 2 input arguments!"},
        {"class", [] { velk::refuse_class(3, "Argument 3 must be a string"); },
         velk::Failure::wrong_class, 3, "Argument 3 must be a string"},
        {"resources", [] { velk::fail_resources("Cannot allocate %d samples!", 9); },
         velk::Failure::resources, 0, "Cannot allocate 9 samples!"},
        {"interrupted", [] { velk::fail_interrupted(); }, velk::Failure::interrupted, 0,
         "CTRL-C pressed!\n"},
        {"out of bounds", [] { velk::fail_out_of_bounds("Delay out of bounds (offset = 1 samples)\n"); },
         velk::Failure::out_of_bounds, 0, "Delay out of bounds (offset = 1 samples)\n"},
        {"cut", [&] { velk::refuse(1, "%s", long_text.c_str()); }, velk::Failure::refused, 1,
         long_text.substr(0, velk::Call_failed::capacity - 1)},
    };
    for (const auto& c : cases) {
        try {
            c.end_call();
            ADD_FAILURE() << c.name << ": the call did not end";
        } catch (const velk::Call_failed& f) {
            EXPECT_EQ(f.kind(), c.kind) << c.name;
            EXPECT_EQ(f.position(), c.position) << c.name;
            EXPECT_EQ(f.what(), c.message) << c.name;
        }
    }
}

}  // namespace
