#include "interrupt.h"

#include <csignal>

namespace velk {

std::atomic<int> running{0};

const Handler_messages generic_handler_messages{
    {"Couldn't register signal handler.\n", "Couldn't register signal handler.\n",
     "Couldn't register signal handler.\n"},
    {"Couldn't register old signal handler.\n", "Couldn't register signal handler.\n",
     "Couldn't register signal handler.\n"},
};

namespace {
constexpr std::array<int, 3> guarded_signals{SIGTERM, SIGABRT, SIGINT};
}

bool keep_running()
{
    if (running.load() == 0)
        return false;
    if (host_interrupt_pending()) {
        running.store(0);
        return false;
    }
    return true;
}

Signal_guard::Signal_guard(Console& console, const Handler_messages& messages)
    : console_(console), messages_(messages)
{
    for (std::size_t i = 0; i < guarded_signals.size(); ++i) {
        saved_[i] = std::signal(guarded_signals[i], sighandler);
        if (saved_[i] == SIG_ERR)
            console_.print(messages_.install[i]);
    }
    installed_ = true;
    // After the handlers, so a signal that came while installing is forgotten.
    running.store(1);
}

void Signal_guard::restore()
{
    if (!installed_)
        return;
    installed_ = false;
    for (std::size_t i = 0; i < guarded_signals.size(); ++i)
        if (std::signal(guarded_signals[i], saved_[i]) == SIG_ERR)
            console_.print(messages_.restore[i]);
}

}  // namespace velk

extern "C" {
void sighandler(int) { velk::running.store(0); }
void sig_abrt_handler(int) {}
void sig_keyint_handler(int) {}
}
