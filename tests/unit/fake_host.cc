#include "fake_host.h"

#include "mex.h"

#include <cstdarg>
#include <cstdio>

namespace fake_host {
namespace {
std::string console;
}

std::string take_console()
{
    std::string printed;
    printed.swap(console);
    return printed;
}

}  // namespace fake_host

extern "C" int mexPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char text[1024];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fake_host::console += text;
    return n;
}

extern "C" void mexErrMsgTxt(const char* message) { throw fake_host::Call_ended(message); }
