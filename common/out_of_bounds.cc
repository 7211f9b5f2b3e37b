#include "out_of_bounds.h"

#include <cstdio>

namespace velk {

int report_out_of_bounds(Console& console, const char* message, int offset, int level)
{
    if (level != VELK_WARN && level != VELK_WARN_ALT && level != VELK_STOP)
        return level;
    char line[Call_failed::capacity];
    std::snprintf(line, sizeof line, "%s (offset = %d samples)\n", message, offset);
    if (level == VELK_STOP)
        fail_out_of_bounds(line);
    console.report_out_of_bounds(line);
    return level;
}

}  // namespace velk
