// The host's side of the guarded computation: the console that the calling
// thread prints to, and the end of a guarded call.
#pragma once

#include "workers.h"

namespace velk {

class Host_console final : public Console {
public:
    void print(const char* text) override;
};

// Ends the call with the scheme's fault, or with "CTRL-C pressed!\n" after an
// interruption (withdrawing the host's own pending interrupt first); returns
// otherwise. Call it once every thread is joined and all memory released.
void end_guarded_call(Guarded_result result);

}  // namespace velk
