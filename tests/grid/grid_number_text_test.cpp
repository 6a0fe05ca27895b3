// Number text of real and integer cells.
#include "toolkit/grid/grid_number_text.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct IntegerCase {
    std::string text;  // may hold a NUL
    int value;
    int error;
};

TEST(GridNumberText, ReadsIntegersExactlyWithARangeCheck)
{
    using namespace std::string_literals;
    const IntegerCase cases[] = {
        {"123456789", 123456789, 0},  // a 4-byte real would give 123456792
        {"2147483647", 2147483647, 0},
        {"-2147483648", -2147483647 - 1, 0},
        {"2147483648", 0, 4},  // past the integer range
        {"-3.9\0"
         "99"s,
         -3, 0},  // the characters after the NUL are ignored
        {"12.7   ", 12, 0},
        {"1.5E3", 1500, 0},
        {"   ", 0, 10},
        {"abc", 0, 12},
    };
    for (const IntegerCase& c : cases) {
        IErrorInfo(1);
        int v = -77;
        IStrReadInteger(v, c.text);
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(IErrorInfo(1), c.error) << c.text;
    }
}

TEST(GridNumberText, ReadsAndFormatsRealsInTheGridFormat)
{
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {2.5f, "2.5000"},       {123456.0f, "0.12346E+06"}, {0.1f, "0.10000"},
        {0.05f, "0.50000E-01"}, {-7.0f, "-7.0000"},
    };
    for (const Case& c : cases) {
        std::string t;
        IStrFormatReal(c.value, t, DEFAULT_REAL_FORMAT);
        EXPECT_EQ(t, c.text) << c.value;
        float back = 0.0f;
        IStrReadReal(back, t);
        EXPECT_NEAR(back, c.value, std::fabs(c.value) * 1e-4) << t;
    }
    IErrorInfo(1);
    float v = 1.0f;
    IStrReadReal(v, "1E39");
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(IErrorInfo(1), 4);
    std::string t;
    IStrFormatReal(1.0e20f, t, "(F5.1)");
    EXPECT_EQ(t, OVERFLOW_TEXT);
    EXPECT_EQ(IErrorInfo(1), 18);
}

}  // namespace
