#include "call.h"

#include <cstdarg>
#include <cstdio>

namespace velk {

Call_failed::Call_failed(Failure kind, int position, const char* message) noexcept
    : kind_(kind), position_(position)
{
    std::snprintf(message_, sizeof message_, "%s", message);
}

namespace {

// A printf-formatted message, cut to the capacity of a failure's.
struct Formatted {
    Formatted(const char* format, va_list args) { std::vsnprintf(text, sizeof text, format, args); }
    char text[Call_failed::capacity];
};

}  // namespace

void refuse(int position, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const Formatted message(format, args);
    va_end(args);
    throw Call_failed(Failure::refused, position, message.text);
}

void refuse_class(int position, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const Formatted message(format, args);
    va_end(args);
    throw Call_failed(Failure::wrong_class, position, message.text);
}

void fail_resources(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const Formatted message(format, args);
    va_end(args);
    throw Call_failed(Failure::resources, 0, message.text);
}

void fail_interrupted() { throw Call_failed(Failure::interrupted, 0, "CTRL-C pressed!\n"); }

void fail_out_of_bounds(const char* line) { throw Call_failed(Failure::out_of_bounds, 0, line); }

double* Host::create_complex_result(int, int, int)
{
    fail_resources("This host holds no complex results!");
}

const Arg* Arg::field(std::string_view name) const
{
    for (std::size_t i = 0; i < field_names.size(); ++i)
        if (field_names[i] == name)
            return &elements[i];
    return nullptr;
}

}  // namespace velk
