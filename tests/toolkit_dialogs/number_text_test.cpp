// Numbers to text with formats and text to numbers, as dialog fields use them.
#include "toolkit/common/error_state.h"
#include "toolkit/win/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ReadCase {
    const char* text;
    double value;
    int error;
};

TEST(NumberText, ReadsDoublesAndReportsErrors)
{
    const ReadCase cases[] = {
        {"300", 300.0, 0},
        {"  300.  text after", 300.0, 0},
        {"2.0-100", 2.0e-100, 0},  // exponent sign without a letter, three characters before the end
        {"1.2345+100", 1.2345e100, 0},
        {"-1.5E+3", -1500.0, 0},  // a negative mantissa scales like its magnitude
        {"1.5d2", 150.0, 0},
        {"0E999", 0.0, 0},  // a zero mantissa ends the scan
        {"", 0.0, 10},
        {"     ", 0.0, 10},
        {"1.2.3", 0.0, 11},
        {"12a", 0.0, 12},
        {"1E2.5", 0.0, 12},
        {"1E400", 0.0, 4},
        {"-7", -7.0, 0},
    };
    for (const ReadCase& c : cases) {
        IErrorInfo(1);
        double v = -1.0;
        IStrToDouble(c.text, v);
        EXPECT_EQ(IErrorInfo(1), c.error) << c.text;
        EXPECT_NEAR(v, c.value, std::fabs(c.value) * 1e-12) << c.text;
    }
}

TEST(NumberText, RealReadingRefusesWhatAFloatCannotHold)
{
    float v = 1.0f;
    IErrorInfo(1);
    IStrToReal("1E39", v);
    EXPECT_EQ(IErrorInfo(1), 4);
    EXPECT_EQ(v, 0.0f);
    IStrToReal("3.5E38", v);
    EXPECT_EQ(IErrorInfo(1), 4);
    IStrToReal("2.5", v);
    EXPECT_EQ(IErrorInfo(1), 0);
    EXPECT_EQ(v, 2.5f);
}

TEST(NumberText, WritesWithFormatsAndOverflowText)
{
    std::string t;
    IErrorInfo(1);
    IRealToString(1.0e20f, t, "(F10.2)");
    EXPECT_EQ(t, "**********");
    EXPECT_EQ(IErrorInfo(1), 18);
    IIntegerToString(2147483647, t, "(I11)");
    EXPECT_EQ(t, " 2147483647");
    IIntegerToString(42, t, "(I4)");
    EXPECT_EQ(t, "  42");
    EXPECT_EQ(IStrFormatInteger(2147483647), "2147483647");
    EXPECT_EQ(IStrFormatInteger(-5), "-5");
    EXPECT_EQ(IErrorInfo(1), 0);
}

TEST(NumberText, CleaningRewritesInCanonicalForm)
{
    EXPECT_EQ(IStrCleanInteger("  12.9"), "12");
    EXPECT_EQ(IStrCleanInteger("-3.7"), "-3");
    EXPECT_EQ(IStrCleanInteger("123456789"), "123456789");  // exact, not rounded through a 4-byte real
    EXPECT_EQ(IStrCleanDouble("1.5d2", "(F8.2)"), "150.00");
}

TEST(NumberText, ScanOfNumericFields)
{
    struct Case {
        const char* text;
        double value;
        bool ok;
    } cases[] = {
        {"", 0.0, true},        {"-", 0.0, true},        {".", 0.0, true},
        {"  \t12", 12.0, true}, {"1.5e3", 1500.0, true}, {"-2.5D-2", -0.025, true},
        {"12 ", 12.0, false},   {"1.2.3", 1.2, false},   {"1e99999", INFINITY, true},
    };
    for (const Case& c : cases) {
        bool ok = !c.ok;
        double v = WStrScanReal(c.text, ok);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (std::isinf(c.value))
            EXPECT_TRUE(std::isinf(v)) << c.text;
        else
            EXPECT_NEAR(v, c.value, 1e-12) << c.text;
    }
}

}  // namespace
