#include "velk_error.h"

#include "fake_host.h"

#include <gtest/gtest.h>

namespace {

struct Level_case {
    int level;
    int offset;
    std::string console;
};

// Each level of the table: what is printed and what comes back.
TEST(OutOfBoundsReport, PrintsAndReturnsPerLevel)
{
    const Level_case cases[] = {
        {VELK_WARN, 3, "Delay out of bounds (offset = 3 samples)\n"},
        {VELK_WARN_ALT, -5, "Delay out of bounds (offset = -5 samples)\n"},
        {VELK_IGNORE, 3, ""},
        {0, 3, ""},
        {7, -2, ""},
    };
    for (const Level_case& c : cases) {
        fake_host::take_console();
        EXPECT_EQ(velk_out_of_bounds_err("Delay out of bounds", c.offset, c.level), c.level)
            << "level " << c.level;
        EXPECT_EQ(fake_host::take_console(), c.console) << "level " << c.level;
    }
}

TEST(OutOfBoundsReport, StopPrintsThenEndsCallWithEmptyMessage)
{
    fake_host::take_console();
    try {
        velk_out_of_bounds_err("Delay out of bounds", -1, VELK_STOP);
        FAIL() << "the call was not ended";
    } catch (const fake_host::Call_ended& e) {
        EXPECT_STREQ(e.what(), "");
    }
    EXPECT_EQ(fake_host::take_console(), "Delay out of bounds (offset = -1 samples)\n");
}

TEST(OutOfBoundsReport, MessageIsPrintedVerbatimNotAsFormat)
{
    fake_host::take_console();
    velk_out_of_bounds_err("100% %d", 1, VELK_WARN);
    EXPECT_EQ(fake_host::take_console(), "100% %d (offset = 1 samples)\n");
}

TEST(ErrorMessage, HandsTextToHost)
{
    try {
        velk_err_msg("Argument 2 must be a scalar!");
        FAIL() << "the call was not ended";
    } catch (const fake_host::Call_ended& e) {
        EXPECT_STREQ(e.what(), "Argument 2 must be a scalar!");
    }
}

}  // namespace
