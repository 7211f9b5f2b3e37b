#include "workers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using velk::Item_range;

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

// The poll follows every item, the last one included, and never precedes
// the first: a stop already requested still lets the first item of a range
// be done.
TEST(ProcessRange, PollsAfterEveryItemAndNeverBeforeTheFirst)
{
    const struct {
        Item_range range;
        bool keep_going;
        bool finished;
        std::vector<int> done;
        int polls;
    } cases[] = {
        {{2, 5}, true, true, {2, 3, 4}, 3},
        {{2, 5}, false, false, {2}, 1},  // stops after its first item
        {{3, 3}, false, true, {}, 0},    // empty: returns without asking
        {{4, 2}, false, true, {}, 0},
    };
    for (const auto& c : cases) {
        std::vector<int> done;
        int polls = 0;
        const bool finished = velk::process_range(
            c.range, [&](int k) { done.push_back(k); },
            [&] {
                ++polls;
                return c.keep_going;
            });
        EXPECT_EQ(finished, c.finished);
        EXPECT_EQ(done, c.done) << c.range.first << " .. " << c.range.end;
        EXPECT_EQ(polls, c.polls) << c.range.first << " .. " << c.range.end;
    }
}

}  // namespace
