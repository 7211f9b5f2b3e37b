#include "workers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
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

// Every item taken exactly once over threads that race for them, a batch at
// a time (the last batch cut at the end), each thread's in increasing order;
// an empty queue stays empty however often it is asked.
TEST(ItemQueue, EachItemOnceWhateverThreadTakesIt)
{
    const struct {
        int items, batch;
    } cases[] = {{20000, 1}, {20000, 16}, {20001, 16}, {15, 16}};
    for (const auto& c : cases) {
        velk::Item_queue queue(c.items, c.batch);
        std::vector<int> taken(static_cast<std::size_t>(c.items), 0);
        std::vector<std::vector<int>> by_thread(3);
        std::vector<std::thread> threads;
        for (auto& mine : by_thread)
            threads.emplace_back([&queue, &mine] {
                for (int k; queue.take(k);)
                    mine.push_back(k);
            });
        for (std::thread& t : threads)
            t.join();
        for (const auto& mine : by_thread) {
            EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end()));
            for (int k : mine) {
                EXPECT_EQ(k % c.batch, 0) << c.items << " items in batches of " << c.batch;
                for (int i = k; i < std::min(k + c.batch, c.items); ++i)
                    ++taken[static_cast<std::size_t>(i)];
            }
        }
        EXPECT_EQ(taken, std::vector<int>(static_cast<std::size_t>(c.items), 1))
            << c.items << " items in batches of " << c.batch;
    }
    int k;
    velk::Item_queue none(0, 16);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(none.take(k));
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
