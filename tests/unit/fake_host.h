// A host for the unit tests: mexPrintf appends to a transcript and
// mexErrMsgTxt throws, so that reporters can be tested outside Octave.
#pragma once

#include <stdexcept>
#include <string>

namespace fake_host {

struct Call_ended : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Everything printed since the last call to take_console().
std::string take_console();

}  // namespace fake_host
