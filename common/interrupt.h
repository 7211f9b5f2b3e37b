// How a call learns that it must stop: its own stop state, and the signal
// handlers that a guarded computation installs for hosts that deliver
// Ctrl-C as a signal.
//
// Stopping is cooperative: nothing stops a thread by force; the work loops
// look at the stop state after every item.
#pragma once

#include "call.h"

#include <array>
#include <atomic>

namespace velk {

// Signals taken by sighandler since the process started; the handler only
// adds one, which is safe in a signal handler.
extern std::atomic<unsigned> signals_received;
static_assert(std::atomic<unsigned>::is_always_lock_free);

// The stop state of one call. The call stops when request() was called
// (the calling thread saw the host's interrupt, or a worker could not be
// started) or when sighandler took a signal after arm(). Workers only read
// it; two calls running at once have two of them.
class Stop_state {
public:
    // Forgets the signals taken so far; called once the handlers are in, so
    // that a signal that came while installing them does not count.
    void arm() { signals_seen_ = signals_received.load(); }
    void request() { requested_.store(true); }
    bool requested() const
    {
        return requested_.load() || signals_received.load() != signals_seen_;
    }

private:
    std::atomic<bool> requested_{false};
    unsigned signals_seen_ = signals_received.load();
};

// Console texts for a handler that cannot be installed or put back, one per
// signal in the order SIGTERM, SIGABRT, SIGINT.
struct Handler_messages {
    std::array<const char*, 3> install;
    std::array<const char*, 3> restore;
};

// The texts of the threaded modules; the delay-and-sum module names the signal.
extern const Handler_messages generic_handler_messages;

// While it lives, sighandler is installed for SIGTERM, SIGABRT and SIGINT,
// when the host delivers Ctrl-C as a signal. Calls that overlap share one
// installation: the first to start installs the handlers, in the order
// SIGTERM, SIGABRT, SIGINT, and keeps the host's own; the last to end puts
// those back in the same order. A failure is printed and the call goes on.
// Arms `stop` once the handlers are in.
class Signal_guard {
public:
    Signal_guard(Host& host, const Handler_messages& messages, Stop_state& stop);
    ~Signal_guard();
    Signal_guard(const Signal_guard&) = delete;
    Signal_guard& operator=(const Signal_guard&) = delete;

private:
    Host& host_;
    const Handler_messages& messages_;
    bool installed_;
};

}  // namespace velk

extern "C" {
// Counts the signal in signals_received; prints nothing and stays installed.
void sighandler(int signal_number);
// Exported for callers that expect them; no module installs them.
void sig_abrt_handler(int signal_number);
void sig_keyint_handler(int signal_number);
}
