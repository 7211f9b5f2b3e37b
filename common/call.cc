#include "call.h"

#include <cstdarg>
#include <cstdio>

namespace velk {

Call_failed::Call_failed(const char* message, bool interrupted) noexcept
    : interrupted_(interrupted)
{
    std::snprintf(message_, sizeof message_, "%s", message);
}

void fail(const char* format, ...)
{
    char message[Call_failed::capacity];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    throw Call_failed(message, false);
}

void fail_interrupted() { throw Call_failed("CTRL-C pressed!\n", true); }

}  // namespace velk
