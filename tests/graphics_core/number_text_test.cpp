// Number text for graphics and the string helpers shared with the drivers.
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, FormatIntoAFixedLengthText)
{
    ERROR_STATE.last_error = 0;
    std::string text(8, 'x');
    IStrFormatNumber(3.25, text, "(F6.2)");
    EXPECT_EQ(text, "  3.25  ");
    EXPECT_EQ(ERROR_STATE.last_error, 0);
    // An F5.1 field too narrow for its number: ten asterisks (cut to the text) and error 18.
    std::string wide(12, ' ');
    IStrFormatNumber(123456.0, wide, "(F5.1)");
    EXPECT_EQ(wide, "**********  ");
    EXPECT_EQ(ERROR_STATE.last_error, 18);
    std::string narrow(4, ' ');
    IStrFormatNumber(1.0, narrow, "(F6.2)");  // the field is longer than the text: the write fails
    EXPECT_EQ(narrow, "****");
    std::string bad(6, ' ');
    IStrFormatNumber(1.0, bad, "(Q6)");
    EXPECT_EQ(bad, "******");
}

TEST(NumberText, Justify)
{
    struct Case {
        const char* before;
        const char* code;
        const char* after;
    };
    const Case cases[] = {
        {"  ab  ", "R", "    ab"}, {"  ab  ", "l", "ab    "}, {"  ab  ", "C", "  ab  "},
        {"   abc", "C", " abc  "}, {"      ", "L", "      "}, {"abcdef", "R", "abcdef"},
        {"a b   ", "r", "   a b"}, {"ab    ", "L", "ab    "},
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        IStrJustify(text, c.code);
        EXPECT_EQ(text, c.after) << "'" << c.before << "' " << c.code;
    }
}

TEST(StringHelpers, FirstNonBlankAndContainsAny)
{
    EXPECT_EQ(IStrFirstNonBlank("  x"), 3);
    EXPECT_EQ(IStrFirstNonBlank(std::string(3, '\0')), 0);
    EXPECT_EQ(IStrFirstNonBlank(""), 0);
    EXPECT_EQ(IStrContainsAny("h", "H"), -1);
    EXPECT_EQ(IStrContainsAny("H", "h"), 0);
    EXPECT_EQ(IStrContainsAny("abc", "c"), -1);
}

}  // namespace
