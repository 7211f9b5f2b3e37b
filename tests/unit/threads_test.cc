// The worker scheme and the two threaded modules' workers under concurrent
// interruption: by a signal raised on a worker, and by the host's own
// pending interrupt raised from a thread of the host, as Octave does. Built
// also with ThreadSanitizer (label `threads`).
#include "fake_host_interrupt.h"
#include "fold.h"
#include "paste.h"
#include "workers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <barrier>
#include <chrono>
#include <csignal>
#include <latch>
#include <system_error>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using velk::Item_range;

struct Recording_console final : velk::Console {
    std::string printed;
    void print(const char* text) override { printed += text; }
};

// Splits printed text into its lines.
std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// A record as a module declares it: range, bail-out slot, own fields.
struct thread_data {
    Item_range range;
    velk::Bail_out_line bail_out;
    std::vector<int>* done;
    std::barrier<>* first_items;  // all threads inside their first item; none: no Ctrl-C
};

void smp_process(thread_data* d)
{
    const bool finished = velk::process_range(d->range, [d](int k) {
        if (d->first_items && k == d->range.first) {
            d->first_items->arrive_and_wait();
            if (k == 0)
                std::raise(SIGINT);  // reaches sighandler: the guard is installed
            d->first_items->arrive_and_wait();
        }
        (*d->done)[static_cast<std::size_t>(k)] = 1;
    });
    if (!finished)
        d->bail_out.print("test: thread for item %d -> %d bailing out!\n", d->range.first + 1,
                          d->range.end);
}

velk::Guarded_result run(int items, int threads, std::vector<int>& done, std::barrier<>* meet,
                         Recording_console& console)
{
    return velk::run_guarded(console, velk::generic_handler_messages, [&] {
        return velk::run_on_threads<thread_data>(
            items, threads,
            [&](thread_data& d) {
                d.done = &done;
                d.first_items = meet;
            },
            smp_process, console);
    });
}

TEST(GuardedRun, InterruptStopsEveryThreadAfterItsItemAndTheNextRunIsNormal)
{
    // Ctrl-C while all four threads are on their first item: each finishes
    // it, stops, and its line is printed once, in thread order.
    std::vector<int> done(10, 0);
    Recording_console console;
    std::barrier meet(4);
    const velk::Guarded_result result = run(10, 4, done, &meet, console);
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(result.fault, nullptr);
    EXPECT_EQ(done, (std::vector<int>{1, 0, 1, 0, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(console.printed,
              "test: thread for item 1 -> 2 bailing out!\n"
              "test: thread for item 3 -> 5 bailing out!\n"
              "test: thread for item 6 -> 7 bailing out!\n"
              "test: thread for item 8 -> 10 bailing out!\n");

    // One thread per item, one of them interrupted on its last item: the
    // item is done, the line printed, the call still fails.
    std::vector<int> single(3, 0);
    Recording_console console3;
    std::barrier meet3(3);
    EXPECT_TRUE(run(3, 3, single, &meet3, console3).interrupted);
    EXPECT_EQ(single, std::vector<int>(3, 1));
    EXPECT_EQ(lines_of(console3.printed).size(), 3u);

    // A run after the interruption goes normally and prints nothing.
    std::vector<int> again(10, 0);
    Recording_console quiet;
    EXPECT_FALSE(run(10, 4, again, nullptr, quiet).interrupted);
    EXPECT_EQ(again, std::vector<int>(10, 1));
    EXPECT_EQ(quiet.printed, "");
}

TEST(GuardedRun, HandlersArePutBackAfterTheCall)
{
    auto previous = std::signal(SIGINT, SIG_DFL);
    std::vector<int> done(2, 0);
    Recording_console console;
    std::barrier meet(2);
    run(2, 2, done, &meet, console);
    EXPECT_EQ(std::signal(SIGINT, previous), SIG_DFL);
}

// A thread that cannot be started: the call fails with the scheme's fault
// only after the threads already running have stopped after their item and
// been joined, and with the handlers back.
TEST(GuardedRun, FailedThreadStartStopsAndJoinsTheOthers)
{
    struct Record {
        Item_range range;
        velk::Bail_out_line bail_out;
        std::vector<int>* done;
        std::latch* start_failed;
    };
    std::vector<int> done(8, 0);
    std::latch start_failed(1);
    const auto process = [](Record* d) {
        const bool finished = velk::process_range(d->range, [d](int k) {
            // The item ends once the scheme has reacted to the failed start
            // (given a few seconds, so that a scheme that never clears the
            // flag fails the expectations below instead of hanging).
            d->start_failed->wait();
            const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (velk::running.load() != 0 && std::chrono::steady_clock::now() < give_up)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            (*d->done)[static_cast<std::size_t>(k)] = 1;
        });
        if (!finished)
            d->bail_out.print("thread %d -> %d\n", d->range.first + 1, d->range.end);
    };
    int started = 0;
    const auto start_two = [&](auto& smp_process, Record* record) {
        if (started++ == 2) {
            start_failed.count_down();
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return std::thread(smp_process, record);
    };

    auto previous = std::signal(SIGINT, SIG_DFL);
    Recording_console console;
    const velk::Guarded_result result =
        velk::run_guarded(console, velk::generic_handler_messages, [&] {
            return velk::run_on_threads<Record>(
                8, 4,
                [&](Record& d) {
                    d.done = &done;
                    d.start_failed = &start_failed;
                },
                process, console, start_two);
        });
    EXPECT_EQ(std::signal(SIGINT, previous), SIG_DFL);
    EXPECT_STREQ(result.fault, velk::create_fault);
    EXPECT_EQ(done, (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(console.printed, "thread 1 -> 2\nthread 3 -> 4\n");
}

// Ctrl-C already pending when the work starts: the poll follows the item,
// so each thread does its first item, then stops; on the calling thread,
// with its own line.
TEST(HostInterrupt, PendingBeforeTheWorkStopsEachThreadAfterOneColumn)
{
    const int M = 3, N = 8;
    std::vector<double> A(M * N, 1.0), h{1.0, 1.0};
    for (const auto& c : {std::pair<int, const char*>{1, "fold_mt: bailing out!\n"},
                          {4, "fold_mt: thread for column 1 -> 2 bailing out!\n"
                              "fold_mt: thread for column 3 -> 4 bailing out!\n"
                              "fold_mt: thread for column 5 -> 6 bailing out!\n"
                              "fold_mt: thread for column 7 -> 8 bailing out!\n"}}) {
        const int T = c.first;
        std::vector<double> Y((M + 1) * N, -1.0);
        Recording_console console;
        fake_host::interrupt_state.store(1);
        const velk::Guarded_result result = velk::fold_mt_run(
            {A.data(), M, N, h.data(), 2, 1, Y.data(), true, velk::fold_assign}, T, console);
        EXPECT_TRUE(result.interrupted);
        EXPECT_EQ(console.printed, c.second);
        for (int j = 0; j < N; ++j)
            EXPECT_EQ(Y[std::size_t(j * (M + 1))], j % (N / T) == 0 ? 1.0 : -1.0)
                << "column " << j << ", " << T << " threads";
        velk::host_interrupt_acknowledge();
        EXPECT_EQ(fake_host::interrupt_state.load(), 0);
    }
}

// Raises the host's pending interrupt after `delay` from a thread of its
// own, as the host's signal thread does, unless told the call is over.
class Host_ctrl_c {
public:
    explicit Host_ctrl_c(std::chrono::microseconds delay)
        : thread_([this, delay] {
              const auto until = std::chrono::steady_clock::now() + delay;
              while (std::chrono::steady_clock::now() < until)
                  if (over_.load())
                      return;
              fake_host::interrupt_state.fetch_add(1);
              raised_.store(true);
          })
    {
    }
    // Joins the thread; true when it raised the interrupt.
    bool stop()
    {
        over_.store(true);
        thread_.join();
        return raised_.load();
    }

private:
    std::atomic<bool> over_{false};
    std::atomic<bool> raised_{false};
    std::thread thread_;
};

// After a call interrupted or not: each column entirely old or entirely new,
// the new ones first within each thread's range, and the printed lines those
// of the threads whose range was cut short.
void expect_whole_columns(const std::vector<double>& Y, const std::vector<double>& old,
                          const std::vector<double>& complete, int rows, int columns,
                          int threads, const std::string& printed, const char* format,
                          bool interrupted)
{
    std::vector<std::string> thread_lines, cut_short;
    for (int i = 0; i < threads; ++i) {
        const Item_range r = velk::thread_range(i, columns, threads);
        bool seen_old = false;
        for (int j = r.first; j < r.end; ++j) {
            const auto col = [&](const std::vector<double>& m) {
                return std::vector<double>(m.begin() + std::ptrdiff_t{j} * rows,
                                           m.begin() + std::ptrdiff_t{j + 1} * rows);
            };
            const bool is_new = col(Y) == col(complete);
            const bool is_old = col(Y) == col(old);
            ASSERT_TRUE(is_new || is_old) << "column " << j << " half written";
            ASSERT_FALSE(seen_old && is_new && !is_old)
                << "thread " << i << " skipped column " << j - 1;
            seen_old = seen_old || !is_new;
        }
        char line[100];
        std::snprintf(line, sizeof line, format, r.first + 1, r.end);
        thread_lines.push_back(lines_of(line).at(0));
        if (seen_old)
            cut_short.push_back(thread_lines.back());
    }
    if (!interrupted) {
        EXPECT_EQ(Y, complete);
        EXPECT_EQ(printed, "");
        return;
    }
    // Every thread whose range was cut short printed its line; one that was
    // on its last item when the flag cleared prints it too, with no column
    // left old. Each line once, in thread order.
    const std::vector<std::string> lines = lines_of(printed);
    for (const std::string& line : cut_short)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    auto next = thread_lines.begin();
    for (const std::string& line : lines) {
        next = std::find(next, thread_lines.end(), line);
        ASSERT_NE(next, thread_lines.end()) << "unexpected, repeated or out of order: " << line;
        ++next;
    }
}

TEST(HostInterrupt, StopsFoldWorkersCleanlyWheneverItComes)
{
    const int M = 400, K = 32, N = 64, rows = M + K - 1;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-1, 1);
    std::vector<double> A(std::size_t{M} * N), B(K), old(std::size_t{rows} * N);
    for (double& v : A) v = value(random);
    for (double& v : B) v = value(random);
    for (double& v : old) v = value(random);

    // The complete result, on the calling thread.
    std::vector<double> complete = old;
    Recording_console console;
    velk::Fold_job job{A.data(), M, N, B.data(), K, 1, complete.data(), true, velk::fold_add};
    ASSERT_FALSE(velk::fold_mt_run(job, 1, console).interrupted);

    std::uniform_int_distribution<int> delay_us(0, 3000), threads(2, 6);
    int n_interrupted = 0;
    for (int round = 0; round < 60; ++round) {
        std::vector<double> Y = old;
        job.Y = Y.data();
        const int T = threads(random);
        Recording_console printed;
        Host_ctrl_c ctrl_c(std::chrono::microseconds(delay_us(random)));
        const velk::Guarded_result result = velk::fold_mt_run(job, T, printed);
        const bool raised = ctrl_c.stop();
        EXPECT_EQ(result.fault, nullptr);
        // An interrupt raised before the end of the call stops it; one
        // raised after the handlers went back is the host's to deal with.
        EXPECT_TRUE(raised || !result.interrupted);
        SCOPED_TRACE("round " + std::to_string(round) + ", printed:\n" + printed.printed);
        expect_whole_columns(Y, old, complete, rows, N, T, printed.printed,
                             "fold_mt: thread for column %d -> %d bailing out!\n",
                             result.interrupted);
        n_interrupted += result.interrupted;
        velk::host_interrupt_acknowledge();
        EXPECT_EQ(fake_host::interrupt_state.load(), 0);
    }
    std::printf("%d of the rounds interrupted\n", n_interrupted);
    EXPECT_GT(n_interrupted, 0) << "no round was interrupted; the test proved nothing";
}

TEST(HostInterrupt, StopsPasteWorkersCleanlyWheneverItComes)
{
    const int M1 = 300, N1 = 500, M4 = 200, N4 = 400;
    std::vector<double> old(std::size_t{M1} * N1), S(std::size_t{M4} * N4);
    for (std::size_t i = 0; i < old.size(); ++i)
        old[i] = static_cast<double>(i);
    for (std::size_t i = 0; i < S.size(); ++i)
        S[i] = -static_cast<double>(i);
    const int row0 = 50, col0 = 100, nrows = 150;

    std::vector<double> complete = old;
    for (int k = 0; k < N4; ++k)
        for (int q = 0; q < nrows; ++q)
            complete[std::size_t(row0 + q + (col0 + k) * M1)] = S[std::size_t(q + k * M4)];

    std::mt19937 random(8);
    std::uniform_int_distribution<int> delay_us(0, 1500), threads(1, 6);
    int n_interrupted = 0;
    for (int round = 0; round < 100; ++round) {
        std::vector<double> Y = old;
        const int T = threads(random);
        Recording_console printed;
        Host_ctrl_c ctrl_c(std::chrono::microseconds(delay_us(random)));
        const velk::Guarded_result result = velk::paste_mt_run(
            {Y.data(), M1, N1, S.data(), M4, N4, row0, col0, nrows}, T, printed);
        const bool raised = ctrl_c.stop();
        EXPECT_TRUE(raised || !result.interrupted);
        // The block's columns, as whole destination columns.
        const auto block = [&](const std::vector<double>& m) {
            return std::vector<double>(m.begin() + std::ptrdiff_t{col0} * M1,
                                       m.begin() + std::ptrdiff_t{col0 + N4} * M1);
        };
        expect_whole_columns(block(Y), block(old), block(complete), M1, N4, T, printed.printed,
                             "paste_mt: thread for column %d -> %d bailing out!\n",
                             result.interrupted);
        EXPECT_TRUE(std::equal(Y.begin(), Y.begin() + std::ptrdiff_t{col0} * M1, old.begin()));
        n_interrupted += result.interrupted;
        velk::host_interrupt_acknowledge();
    }
    std::printf("%d of the rounds interrupted\n", n_interrupted);
    EXPECT_GT(n_interrupted, 0) << "no round was interrupted; the test proved nothing";
}

}  // namespace
