// The progress of a long call that was asked to show it: the share of its
// work done, handed to the host at most once a second and once at the end,
// with the time left estimated from the time taken so far. Used by the
// calling thread only.
//   typical use:
//     Progress progress(call.host(), "pulse_echo", show);
//     for (block ...) { ...; progress.update(double(done) / total); }
//     progress.finish();
#pragma once

#include "call.h"

#include <chrono>

namespace velk {

class Progress {
public:
    // `shown`: whether the caller asked for it; if not, nothing is reported.
    Progress(Host& host, const char* module, bool shown)
        : host_(host), module_(module), shown_(shown), start_(clock::now()), last_(start_)
    {
    }

    // `fraction` of the work is done (0 to 1).
    void update(double fraction)
    {
        if (!shown_)
            return;
        const clock::time_point now = clock::now();
        if (now - last_ < std::chrono::seconds(1))
            return;
        last_ = now;
        ended_ = fraction >= 1.0;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        const double left = fraction > 0.0 ? elapsed * (1.0 - fraction) / fraction : 0.0;
        host_.report_progress(module_, fraction, left);
    }

    // The work is done (reported only when something was reported before,
    // and not the end twice).
    void finish()
    {
        if (shown_ && last_ != start_ && !ended_)
            host_.report_progress(module_, 1.0, 0.0);
    }

private:
    using clock = std::chrono::steady_clock;
    Host& host_;
    const char* module_;
    bool shown_;
    bool ended_ = false;  // the last report was the end
    clock::time_point start_, last_;
};

}  // namespace velk
