// The portable window utilities: the leading-digit scan, the trimmed length and the beep flag.
#include "toolkit/win/window_utilities.h"

#include <gtest/gtest.h>

#include <string_view>

TEST(WindowUtilities, LeadingDigitsAndTrimmedLength)
{
    struct Case {
        std::string_view text;
        unsigned value;
    };
    const Case digits[] = {
        {"12a", 12},  // digits up to the first other character
        {" 12", 0},   // no blanks skipped
        {"-3", 0},    // no sign
        {"", 0},
        {"4294967295", 4294967295u},
        {"99999999999", 4294967295u},  // past the 32-bit range: the largest value, not a wrapped one
    };
    for (const Case& c : digits)
        EXPECT_EQ(IStrToUInt(c.text), c.value) << c.text;

    EXPECT_EQ(IStrTrimLength("ab  "), 2);
    EXPECT_EQ(IStrTrimLength("   "), 0);
    EXPECT_EQ(IStrTrimLength(""), 0);
    EXPECT_EQ(IStrTrimLength(std::string_view(" a \0 b ", 7)), 2) << "the text ends at its NUL";
}

TEST(WindowUtilities, BeepFlagFollowsItsArgument)
{
    IOsBeepEnable(0);
    EXPECT_EQ(os_beep_enabled(), 0);
    IOsBeepEnable(7);
    EXPECT_EQ(os_beep_enabled(), 1);
}
