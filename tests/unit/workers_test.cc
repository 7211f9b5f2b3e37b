#include "workers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

using velk::Item_range;

struct Recording_console final : velk::Console {
    std::string printed;
    void print(const char* text) override { printed += text; }
};

TEST(ThreadRange, DividesItemsIntoContiguousNearEqualRanges)
{
    const struct {
        int items, threads;
        std::vector<std::pair<int, int>> ranges;
    } cases[] = {
        {10, 4, {{0, 2}, {2, 5}, {5, 7}, {7, 10}}},
        {2, 4, {{0, 0}, {0, 1}, {1, 1}, {1, 2}}},  // more threads than items
        {3, 3, {{0, 1}, {1, 2}, {2, 3}}},
        {5, 1, {{0, 5}}},
        {0, 2, {{0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.threads; ++i) {
            const Item_range r = velk::thread_range(i, c.items, c.threads);
            EXPECT_EQ(std::make_pair(r.first, r.end), c.ranges[static_cast<std::size_t>(i)])
                << c.items << " items, thread " << i << " of " << c.threads;
        }
    }
}

TEST(ThreadRange, LargeCountsDoNotOverflow)
{
    const int items = 2000000000;
    const Item_range last = velk::thread_range(6, items, 7);
    EXPECT_EQ(last.end, items);
    EXPECT_EQ(last.first, static_cast<int>(6LL * items / 7));
}

// A record as a module declares it: range, bail-out slot, own fields.
struct thread_data {
    Item_range range;
    velk::Bail_out_line bail_out;
    std::vector<int>* done;
    int interrupt_at;
};

void smp_process(thread_data* d)
{
    const bool finished = velk::process_range(d->range, [d](int k) {
        (*d->done)[static_cast<std::size_t>(k)] = 1;
        if (k == d->interrupt_at)
            std::raise(SIGINT);  // reaches sighandler while the guard is installed
    });
    if (!finished)
        d->bail_out.print("test: thread for item %d -> %d bailing out!\n", d->range.first + 1,
                          d->range.end);
}

velk::Guarded_result run(int items, int threads, int interrupt_at, std::vector<int>& done,
                         Recording_console& console)
{
    return velk::run_guarded(console, velk::generic_handler_messages, [&] {
        return velk::run_on_threads<thread_data>(
            items, threads,
            [&](thread_data& d) {
                d.done = &done;
                d.interrupt_at = interrupt_at;
            },
            smp_process, console);
    });
}

TEST(GuardedRun, CompletesEveryItemWhenNotInterrupted)
{
    std::vector<int> done(10, 0);
    Recording_console console;
    const velk::Guarded_result result = run(10, 4, -1, done, console);
    EXPECT_EQ(result.fault, nullptr);
    EXPECT_FALSE(result.interrupted);
    EXPECT_EQ(done, std::vector<int>(10, 1));
    EXPECT_EQ(console.printed, "");
}

TEST(GuardedRun, InterruptStopsThreadsAfterTheirItemAndTheNextRunIsNormal)
{
    // Item 5 opens the third range; the other workers stop after whatever
    // item they are on when the flag clears.
    std::vector<int> done(10, 0);
    Recording_console console;
    const velk::Guarded_result result = run(10, 4, 5, done, console);
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(result.fault, nullptr);
    EXPECT_EQ(done[5], 1);
    EXPECT_EQ(done[6], 0);  // its thread stopped after item 5
    EXPECT_NE(console.printed.find("test: thread for item 6 -> 7 bailing out!\n"),
              std::string::npos);
    // Lines come in thread order, each once.
    std::size_t last = 0;
    for (const char* line : {"item 1 -> 2", "item 3 -> 5", "item 6 -> 7", "item 8 -> 10"}) {
        const std::size_t at = console.printed.find(line);
        if (at == std::string::npos)
            continue;  // that thread had finished its range before the flag cleared
        EXPECT_GE(at, last) << line;
        EXPECT_EQ(console.printed.find(line, at + 1), std::string::npos) << line;
        last = at;
    }

    std::vector<int> again(10, 0);
    Recording_console quiet;
    EXPECT_FALSE(run(10, 4, -1, again, quiet).interrupted);
    EXPECT_EQ(again, std::vector<int>(10, 1));
    EXPECT_EQ(quiet.printed, "");
}

TEST(GuardedRun, InterruptOnLastItemStillFailsTheCall)
{
    std::vector<int> done(3, 0);
    Recording_console console;
    const velk::Guarded_result result = run(3, 1, 2, done, console);
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(done, std::vector<int>(3, 1));
    EXPECT_EQ(console.printed, "test: thread for item 1 -> 3 bailing out!\n");
}

TEST(GuardedRun, HandlersArePutBackAfterTheCall)
{
    auto previous = std::signal(SIGINT, SIG_DFL);
    std::vector<int> done(2, 0);
    Recording_console console;
    run(2, 2, -1, done, console);
    EXPECT_EQ(std::signal(SIGINT, previous), SIG_DFL);
}

}  // namespace
