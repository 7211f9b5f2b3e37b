// The interrupt flag of a module and the handlers that clear it.
//
// Every module that can be stopped with Ctrl-C links its own copy of this
// source, so each has its own `running`. Stopping is cooperative: a signal only
// clears the flag, and the work loops look at it after every item.
#pragma once

#include <array>
#include <atomic>

namespace velk {

// 1 while the computation may go on, 0 once it must stop. 0 when the module
// is loaded; kept between calls until the next call sets it again.
extern std::atomic<int> running;
static_assert(std::atomic<int>::is_always_lock_free);

// The host's own record of a pending interrupt, where it keeps one: Octave
// takes Ctrl-C in a thread of its own and never runs a handler installed with
// signal() during a call, so the modules look at its pending-interrupt count
// too. Both are no-ops for hosts that deliver the signal to the handler.
bool host_interrupt_pending();
// Withdraws the host's pending interrupt once the module reports it itself,
// so that the host does not raise the same Ctrl-C a second time.
void host_interrupt_acknowledge();

// The poll made after every work item: false once the flag was cleared or the
// host holds a pending interrupt (which then clears the flag as well).
bool keep_running();

// Where the calling thread prints; the host's console in a module.
class Console {
public:
    virtual void print(const char* text) = 0;

protected:
    ~Console() = default;
};

// Console texts for a handler that cannot be installed or put back, one per
// signal in the order SIGTERM, SIGABRT, SIGINT.
struct Handler_messages {
    std::array<const char*, 3> install;
    std::array<const char*, 3> restore;
};

// The texts of the threaded modules; the delay-and-sum module names the signal.
extern const Handler_messages generic_handler_messages;

// Installs `sighandler` for SIGTERM, SIGABRT and SIGINT, in that order, then
// sets `running`; puts the saved handlers back in the same order when it ends.
class Signal_guard {
public:
    Signal_guard(Console& console, const Handler_messages& messages);
    ~Signal_guard() { restore(); }
    Signal_guard(const Signal_guard&) = delete;
    Signal_guard& operator=(const Signal_guard&) = delete;

    // Puts the saved handlers back; later calls do nothing.
    void restore();

private:
    using Handler = void (*)(int);
    Console& console_;
    const Handler_messages& messages_;
    std::array<Handler, 3> saved_{};
    bool installed_ = false;
};

}  // namespace velk

extern "C" {
// Clears `running`; prints nothing and stays installed.
void sighandler(int signal_number);
// Exported for callers that expect them; no module installs them.
void sig_abrt_handler(int signal_number);
void sig_keyint_handler(int signal_number);
}
