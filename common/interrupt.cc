#include "interrupt.h"

#include <csignal>
#include <mutex>

namespace velk {

std::atomic<unsigned> signals_received{0};

const Handler_messages generic_handler_messages{
    {"Couldn't register signal handler.\n", "Couldn't register signal handler.\n",
     "Couldn't register signal handler.\n"},
    {"Couldn't register old signal handler.\n", "Couldn't register signal handler.\n",
     "Couldn't register signal handler.\n"},
};

namespace {

using Handler = void (*)(int);
constexpr std::array<int, 3> guarded_signals{SIGTERM, SIGABRT, SIGINT};

// The one installation that overlapping calls share.
std::mutex installation_lock;
int installations = 0;
std::array<Handler, 3> host_handlers{};

// Prints the message of each signal whose handler could not be set; outside
// the lock, since printing may wait for the host.
void report(Host& host, const std::array<bool, 3>& failed, const std::array<const char*, 3>& text)
{
    for (std::size_t i = 0; i < failed.size(); ++i)
        if (failed[i])
            host.print(text[i]);
}

}  // namespace

Signal_guard::Signal_guard(Host& host, const Handler_messages& messages, Stop_state& stop)
    : host_(host), messages_(messages), installed_(host.installs_signal_handlers())
{
    if (installed_) {
        std::array<bool, 3> failed{};
        {
            const std::lock_guard lock(installation_lock);
            if (installations++ == 0)
                for (std::size_t i = 0; i < guarded_signals.size(); ++i) {
                    host_handlers[i] = std::signal(guarded_signals[i], sighandler);
                    failed[i] = host_handlers[i] == SIG_ERR;
                }
        }
        report(host_, failed, messages_.install);
    }
    stop.arm();
}

Signal_guard::~Signal_guard()
{
    if (!installed_)
        return;
    std::array<bool, 3> failed{};
    {
        const std::lock_guard lock(installation_lock);
        if (--installations == 0)
            for (std::size_t i = 0; i < guarded_signals.size(); ++i)
                failed[i] = std::signal(guarded_signals[i], host_handlers[i]) == SIG_ERR;
    }
    report(host_, failed, messages_.restore);
}

}  // namespace velk

extern "C" {
void sighandler(int) { velk::signals_received.fetch_add(1); }
void sig_abrt_handler(int) {}
void sig_keyint_handler(int) {}
}
