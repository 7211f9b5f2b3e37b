#include "progress.h"

#include "fake_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

// Reports reach the host at most once a second: each step waits past that.
void after_a_second() { std::this_thread::sleep_for(std::chrono::milliseconds(1050)); }

TEST(Progress, ReportsTheEndOnceWhetherOrNotTheLastUpdateReachedIt)
{
    struct Case {
        std::vector<double> updates;
        std::vector<double> reported;
    };
    const Case cases[] = {
        {{0.5}, {0.5, 1.0}},       // finish() adds the end
        {{0.5, 1.0}, {0.5, 1.0}},  // the last update was the end: not twice
        {{}, {}},                  // nothing reported before: no end either
    };
    for (const Case& c : cases) {
        fake_host::Host host;
        velk::Progress progress(host, "module", true);
        for (double fraction : c.updates) {
            after_a_second();
            progress.update(fraction);
        }
        progress.finish();
        EXPECT_EQ(host.progress, c.reported);
    }
}

}  // namespace
