// The worker scheme and the two threaded modules' workers under concurrent
// interruption: by a signal raised on a worker, and by the host's own
// pending interrupt raised from a thread of the host, as Octave does; two
// calls running at once; workers that cannot be started or joined. Built
// also with ThreadSanitizer (label `threads`).
#include "fake_host.h"
#include "fold.h"
#include "paste.h"
#include "workers.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <barrier>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <latch>
#include <new>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using velk::Item_range;
using namespace std::chrono_literals;

// Splits printed text into its lines.
std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool first_of_a_range(int k, int items, int threads)
{
    for (int i = 0; i < threads; ++i)
        if (velk::thread_range(i, items, threads).first == k)
            return true;
    return false;
}

// Waits until the call's stop state says stop, for a few seconds at most, so
// that a scheme that never sets it fails the expectations instead of hanging.
void wait_for_stop(const velk::Guarded_run& run)
{
    const auto give_up = std::chrono::steady_clock::now() + 5s;
    while (!run.stop().requested() && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(1ms);
}

using Handler = void (*)(int);
Handler sigint_handler()
{
    struct sigaction action {};
    sigaction(SIGINT, nullptr, &action);
    return action.sa_handler;
}

// Items 0 .. items-1 on `threads` workers; each item marks itself done. With
// `meet`, every thread waits inside its first item until all are there, and
// item 0 raises SIGINT meanwhile.
fake_host::Outcome run(int items, int threads, std::vector<int>& done, std::barrier<>* meet,
                       fake_host::Host& host)
{
    const auto item = [&](int k) {
        if (meet && first_of_a_range(k, items, threads)) {
            meet->arrive_and_wait();
            if (k == 0)
                std::raise(SIGINT);
            meet->arrive_and_wait();
        }
        done[static_cast<std::size_t>(k)] = 1;
    };
    return fake_host::outcome([&] {
        velk::run_guarded(host, velk::generic_handler_messages, [&](velk::Guarded_run& r) {
            r.on_threads(items, threads, item, "test: thread for item %d -> %d bailing out!\n");
        });
    });
}

TEST(GuardedRun, InterruptStopsEveryThreadAfterItsItemAndTheNextRunIsNormal)
{
    // Ctrl-C while all four threads are on their first item: each finishes
    // it, stops, and its line is printed once, in thread order.
    std::vector<int> done(10, 0);
    fake_host::Host host(true);
    std::barrier meet(4);
    const fake_host::Outcome result = run(10, 4, done, &meet, host);
    EXPECT_TRUE(result.interrupted());
    EXPECT_EQ(done, (std::vector<int>{1, 0, 1, 0, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(host.console,
              "test: thread for item 1 -> 2 bailing out!\n"
              "test: thread for item 3 -> 5 bailing out!\n"
              "test: thread for item 6 -> 7 bailing out!\n"
              "test: thread for item 8 -> 10 bailing out!\n");

    // One thread per item, one of them interrupted on its last item: the
    // item is done, the line printed, the call still fails.
    std::vector<int> single(3, 0);
    fake_host::Host host3(true);
    std::barrier meet3(3);
    EXPECT_TRUE(run(3, 3, single, &meet3, host3).interrupted());
    EXPECT_EQ(single, std::vector<int>(3, 1));
    EXPECT_EQ(lines_of(host3.console).size(), 3u);

    // A run after the interruption goes normally and prints nothing.
    std::vector<int> again(10, 0);
    fake_host::Host quiet(true);
    EXPECT_FALSE(run(10, 4, again, nullptr, quiet).interrupted());
    EXPECT_EQ(again, std::vector<int>(10, 1));
    EXPECT_EQ(quiet.console, "");
}

TEST(GuardedRun, HandlersArePutBackAfterTheCall)
{
    auto previous = std::signal(SIGINT, SIG_DFL);
    std::vector<int> done(2, 0);
    fake_host::Host host(true);
    std::barrier meet(2);
    run(2, 2, done, &meet, host);
    EXPECT_EQ(std::signal(SIGINT, previous), SIG_DFL);
}

// Starts workers as the system does, but the start number `fail_at` throws
// `failure`, and the join of thread number `fail_join` throws without
// joining (-1: none).
class Failing_threads final : public velk::Thread_starter {
public:
    Failing_threads(int fail_at, std::exception_ptr failure, int fail_join, std::latch* failed)
        : fail_at_(fail_at), failure_(failure), fail_join_(fail_join), failed_(failed)
    {
    }
    std::thread start(void (*body)(velk::thread_data*), velk::thread_data* record) const override
    {
        if (started_++ == fail_at_) {
            failed_->count_down();
            std::rethrow_exception(failure_);
        }
        return std::thread(body, record);
    }
    void join(std::thread& thread) const override
    {
        if (joined_++ == fail_join_)
            throw std::system_error(std::make_error_code(std::errc::invalid_argument));
        thread.join();
    }

private:
    int fail_at_;
    std::exception_ptr failure_;
    int fail_join_;
    std::latch* failed_;
    mutable int started_ = 0;
    mutable int joined_ = 0;
};

// A thread that cannot be started, whatever the start throws: the call fails
// with the scheme's fault only after the threads already running have
// stopped after their item and been joined, and with the handlers back.
TEST(GuardedRun, FailedThreadStartStopsAndJoinsTheOthers)
{
    const std::exception_ptr failures[] = {
        std::make_exception_ptr(
            std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again))),
        std::make_exception_ptr(std::bad_alloc()),
        std::make_exception_ptr(42),
    };
    for (const std::exception_ptr& failure : failures) {
        std::vector<int> done(8, 0);
        std::latch start_failed(1);
        const Failing_threads threads(2, failure, -1, &start_failed);
        auto previous = std::signal(SIGINT, SIG_DFL);
        fake_host::Host host(true);
        const fake_host::Outcome result = fake_host::outcome([&] {
            velk::run_guarded(host, velk::generic_handler_messages, [&](velk::Guarded_run& r) {
                const auto item = [&](int k) {
                    // The item ends once the scheme has reacted to the failed start.
                    start_failed.wait();
                    wait_for_stop(r);
                    done[std::size_t(k)] = 1;
                };
                r.on_threads(8, 4, item, "thread %d -> %d\n", threads);
            });
        });
        EXPECT_EQ(std::signal(SIGINT, previous), SIG_DFL);
        EXPECT_EQ(result.fault(), velk::create_fault);
        EXPECT_EQ(done, (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));
        EXPECT_EQ(host.console, "thread 1 -> 2\nthread 3 -> 4\n");
    }
}

// A join that fails: the worker has finished its range, is let go to end by
// itself, the others are joined, and the call fails with the join fault,
// unless a start failed first.
TEST(GuardedRun, FailedJoinEndsTheCallAfterTheOthersAreJoined)
{
    const struct {
        int fail_start;
        const char* fault;
        std::vector<int> done;
    } cases[] = {
        {-1, velk::join_fault, std::vector<int>(8, 1)},
        {3, velk::create_fault, {1, 0, 1, 0, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        std::vector<int> done(8, 0);
        std::latch start_failed(1);
        const Failing_threads threads(c.fail_start, std::make_exception_ptr(std::bad_alloc()), 1,
                                      &start_failed);
        fake_host::Host host;
        const fake_host::Outcome result = fake_host::outcome([&] {
            velk::run_guarded(host, velk::generic_handler_messages, [&](velk::Guarded_run& r) {
                const auto item = [&](int k) {
                    if (c.fail_start >= 0) {
                        start_failed.wait();
                        wait_for_stop(r);
                    }
                    done[std::size_t(k)] = 1;
                };
                r.on_threads(8, 4, item, "%d %d\n", threads);
            });
        });
        EXPECT_EQ(result.fault(), c.fault);
        EXPECT_EQ(done, c.done);
    }
}

// Ctrl-C already pending when the work starts: the poll follows the item,
// so each thread does its first item, then stops; on the calling thread,
// with its own line. The call then ends once, as interrupted, withdrawing
// the host's interrupt.
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
        fake_host::Host host;
        host.pending.store(1);
        const fake_host::Outcome result = fake_host::outcome([&] {
            velk::fold_mt_run(
                host, {A.data(), M, N, h.data(), 2, 1, Y.data(), true, velk::fold_assign}, T);
        });
        EXPECT_TRUE(result.interrupted());
        EXPECT_EQ(result.message, "CTRL-C pressed!\n");
        EXPECT_EQ(host.console, c.second);
        for (int j = 0; j < N; ++j)
            EXPECT_EQ(Y[std::size_t(j * (M + 1))], j % (N / T) == 0 ? 1.0 : -1.0)
                << "column " << j << ", " << T << " threads";
        EXPECT_EQ(host.pending.load(), 0);
    }
}

// Raises the host's pending interrupt after `delay` from a thread of its
// own, as the host's signal thread does, unless told the call is over.
class Host_ctrl_c {
public:
    Host_ctrl_c(fake_host::Host& host, std::chrono::microseconds delay)
        : thread_([this, &host, delay] {
              const auto until = std::chrono::steady_clock::now() + delay;
              while (std::chrono::steady_clock::now() < until)
                  if (over_.load())
                      return;
              host.pending.fetch_add(1);
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
    // on its last item when the call stopped prints it too, with no column
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
    fake_host::Host quiet;
    velk::Fold_job job{A.data(), M, N, B.data(), K, 1, complete.data(), true, velk::fold_add};
    ASSERT_NO_THROW(velk::fold_mt_run(quiet, job, 1));

    std::uniform_int_distribution<int> delay_us(0, 3000), threads(2, 6);
    int n_interrupted = 0;
    for (int round = 0; round < 60; ++round) {
        std::vector<double> Y = old;
        job.Y = Y.data();
        const int T = threads(random);
        fake_host::Host host;
        Host_ctrl_c ctrl_c(host, std::chrono::microseconds(delay_us(random)));
        const fake_host::Outcome result =
            fake_host::outcome([&] { velk::fold_mt_run(host, job, T); });
        const bool raised = ctrl_c.stop();
        EXPECT_TRUE(!result.failed || result.interrupted()) << result.message;
        // An interrupt raised before the end of the call stops it; one
        // raised after it ended is the host's to deal with.
        EXPECT_TRUE(raised || !result.interrupted());
        SCOPED_TRACE("round " + std::to_string(round) + ", printed:\n" + host.console);
        expect_whole_columns(Y, old, complete, rows, N, T, host.console,
                             "fold_mt: thread for column %d -> %d bailing out!\n",
                             result.interrupted());
        n_interrupted += result.interrupted();
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
        fake_host::Host host;
        Host_ctrl_c ctrl_c(host, std::chrono::microseconds(delay_us(random)));
        const fake_host::Outcome result = fake_host::outcome([&] {
            velk::paste_mt_run(host, {Y.data(), M1, N1, S.data(), M4, N4, row0, col0, nrows}, T);
        });
        const bool raised = ctrl_c.stop();
        EXPECT_TRUE(raised || !result.interrupted());
        // The block's columns, as whole destination columns.
        const auto block = [&](const std::vector<double>& m) {
            return std::vector<double>(m.begin() + std::ptrdiff_t{col0} * M1,
                                       m.begin() + std::ptrdiff_t{col0 + N4} * M1);
        };
        expect_whole_columns(block(Y), block(old), block(complete), M1, N4, T, host.console,
                             "paste_mt: thread for column %d -> %d bailing out!\n",
                             result.interrupted());
        EXPECT_TRUE(std::equal(Y.begin(), Y.begin() + std::ptrdiff_t{col0} * M1, old.begin()));
        n_interrupted += result.interrupted();
    }
    std::printf("%d of the rounds interrupted\n", n_interrupted);
    EXPECT_GT(n_interrupted, 0) << "no round was interrupted; the test proved nothing";
}

// Two calls running at once in one process, each on two workers: the host
// interrupts one of them while both are inside their first items. That one
// stops after those items; the other completes and prints nothing. The
// handlers are installed once for both, stay while the second runs on after
// the first has ended, and the host's own handler is back after the last.
TEST(TwoCalls, EachStopsOnItsOwnAndTheLastToEndPutsTheHandlersBack)
{
    const auto previous = std::signal(SIGINT, SIG_DFL);
    fake_host::Host host_a(true), host_b(true);
    std::latch both_running(4), a_ended(1);
    std::vector<int> done_a(8, 0), done_b(8, 0);
    Handler while_both = nullptr, after_a = nullptr;

    fake_host::Outcome result_b;
    std::thread call_b([&] {
        result_b = fake_host::outcome([&] {
            velk::run_guarded(host_b, velk::generic_handler_messages, [&](velk::Guarded_run& r) {
                const auto item = [&](int k) {
                    if (k == 0 || k == 4)
                        both_running.arrive_and_wait();
                    if (k == 7)
                        a_ended.wait();
                    done_b[std::size_t(k)] = 1;
                };
                r.on_threads(8, 2, item, "b %d -> %d\n");
            });
        });
    });
    const fake_host::Outcome result_a = fake_host::outcome([&] {
        velk::run_guarded(host_a, velk::generic_handler_messages, [&](velk::Guarded_run& r) {
            const auto item = [&](int k) {
                if (k == 0 || k == 4)
                    both_running.arrive_and_wait();
                if (k == 0) {
                    while_both = sigint_handler();
                    host_a.pending.store(1);
                }
                done_a[std::size_t(k)] = 1;
                wait_for_stop(r);
            };
            r.on_threads(8, 2, item, "a %d -> %d\n");
        });
    });
    after_a = sigint_handler();
    a_ended.count_down();
    call_b.join();

    EXPECT_TRUE(result_a.interrupted());
    EXPECT_EQ(done_a, (std::vector<int>{1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(host_a.console, "a 1 -> 4\na 5 -> 8\n");
    EXPECT_FALSE(result_b.interrupted());
    EXPECT_EQ(done_b, std::vector<int>(8, 1));
    EXPECT_EQ(host_b.console, "");
    EXPECT_EQ(while_both, &sighandler);
    EXPECT_EQ(after_a, &sighandler);
    EXPECT_EQ(sigint_handler(), SIG_DFL);
    std::signal(SIGINT, previous);
}

}  // namespace
