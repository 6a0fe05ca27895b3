// The edit-descriptor engine against a golden table of formatted output. The expected fields were
// produced by an independent Fortran compiler's formatted write of the same values; the one place where
// this engine decides differently is a test of its own below.
#include "base/edit_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

struct RealCase {
    const char* descriptor;
    double value;
    const char* field;
};

const RealCase REAL_CASES[] = {
    // F: rounding (ties to even on exact binary ties), the optional zero, overflow, negative zero
    {"F10.2", 123.456, "    123.46"},
    {"F10.2", -123.456, "   -123.46"},
    {"F10.2", 0.125, "      0.12"},
    {"F10.2", 0.375, "      0.38"},
    {"F5.1", 99.95, "100.0"},
    {"F4.1", 99.95, "****"},
    {"F3.1", 0.5, "0.5"},
    {"F2.1", 0.5, ".5"},
    {"F3.1", -0.5, "-.5"},
    {"F2.1", -0.5, "**"},
    {"F4.0", 2.5, "  2."},
    {"F4.0", 3.5, "  4."},
    {"F10.2", double(1.0e20f), "**********"},
    {"F10.2", -0.001, "     -0.00"},
    {"F10.2", -0.0, "     -0.00"},
    {"F12.0", 2147483647.0, " 2147483647."},
    {"F13.0", 123456789012.0, "123456789012."},
    {"F8.3", 9.9995, "   9.999"},
    {"1PF10.3", 1.2345, "    12.345"},
    // E and D: exponent forms, scale factors, the dropped letter above 99, exponent overflow
    {"E15.7", 123.456, "  0.1234560E+03"},
    {"E12.4", -0.000123456, " -0.1235E-03"},
    {"E12.4", 0.0, "  0.0000E+00"},
    {"E10.3", 1e-200, " 0.100-199"},
    {"E15.7", 1e+100, "  0.1000000+101"},
    {"E9.2", 0.5, " 0.50E+00"},
    {"E8.2", -0.5, "-.50E+00"},
    {"E7.2", -0.5, "*******"},
    {"E10.3E1", 1e10, "**********"},
    {"E10.3E3", 1.5, "0.150E+001"},
    {"E11.3", -9.9996, " -0.100E+02"},
    {"1PE12.4", 123.456, "  1.2346E+02"},
    {"2PE12.4", 123.456, "  12.346E+01"},
    {"-1PE12.4", 123.456, "  0.0123E+04"},
    {"1PE12.4", 0.0, "  0.0000E+00"},
    {"D15.7", 1e+100, "  0.1000000+101"},
    {"D15.7", 2.5, "  0.2500000D+01"},
    {"1PD15.7", -2.5, " -2.5000000D+00"},
    {"1PE10.3E1", 1e9, "  1.000E+9"},
    // 1PG15.7E2, the log's 4-byte real: fixed form with 4 trailing blanks from 0.1 to below 10^7 after
    // rounding to 7 digits, else 1 digit, 7 decimals and a 2-digit exponent; zero in fixed form
    {"1PG15.7E2", double(0.5f), "  0.5000000    "},
    {"1PG15.7E2", double(1.0e20f), "  1.0000000E+20"},
    {"1PG15.7E2", 0.0, "   0.000000    "},
    {"1PG15.7E2", -0.0, "  -0.000000    "},
    {"1PG15.7E2", 1.0, "   1.000000    "},
    {"1PG15.7E2", double(-123.456f), "  -123.4560    "},
    {"1PG15.7E2", 9999999.0, "   9999999.    "},
    {"1PG15.7E2", 1.0e7, "  1.0000000E+07"},
    {"1PG15.7E2", double(0.1f), "  0.1000000    "},
    {"1PG15.7E2", double(0.09999999f), "  9.9999987E-02"},
    {"1PG15.7E2", double(1e-45f), "  1.4012985E-45"},
    {"1PG15.7E2", double(3.4028235e38f), "  3.4028235E+38"},
    {"1PG15.7E2", double(-2.5e-20f), " -2.4999999E-20"},
    // ... rounding across 0.1 and across 10^7 decides the form
    {"1PG15.7E2", 0.099999996, "  0.1000000    "},
    {"1PG15.7E2", 0.09999994, "  9.9999940E-02"},
    {"1PG15.7E2", 9999999.4, "   9999999.    "},
    {"1PG15.7E2", 9999999.5, "  9.9999995E+06"},
    {"1PG15.7E2", 9999999.6, "  9.9999996E+06"},
    // 1PG24.15E3, the log's 8-byte real
    {"1PG24.15E3", 0.5, "  0.500000000000000     "},
    {"1PG24.15E3", 0.0, "   0.00000000000000     "},
    {"1PG24.15E3", 1e+100, "  1.000000000000000E+100"},
    {"1PG24.15E3", -1e-300, " -1.000000000000000E-300"},
    {"1PG24.15E3", 1.0 / 3.0, "  0.333333333333333     "},
    {"1PG24.15E3", 123456789012345.6, "   123456789012346.     "},
    {"1PG24.15E3", 1e15, "  1.000000000000000E+015"},
    {"1PG24.15E3", -2.0 / 3.0, " -0.666666666666667     "},
    // G without scale factor, as dialog fields use it; an overflowing fixed form fills the whole field
    {"G15.5E2", 3.14159, "     3.1416    "},
    {"G15.5E2", 1e-05, "    0.10000E-04"},
    {"G15.5E2", 123456.0, "    0.12346E+06"},
    {"G15.5E2", -99999.4, "    -99999.    "},
    {"G15.5E2", -99999.5, "   -0.10000E+06"},
    {"G15.5E2", 0.0, "     0.0000    "},
    {"G13.7", 12.5, " 12.50000    "},
    {"G13.7", 0.001, "0.1000000E-02"},
    {"G10.3", 0.0, "  0.00    "},
    {"G10.3", 0.0996, " 0.996E-01"},
    {"G10.3", -0.0994, "-0.994E-01"},
    {"G11.5", 6e+23, "0.60000E+24"},
    {"G8.5", 1.0, "********"},
    {"G9.2E1", 1e10, "*********"},
    {"G10.4", 1234.5, " 1234.    "},
    {"G12.6", -0.1, "-.100000    "},
    // scale factors outside -d < k < d+2 cannot be written
    {"-4PE12.4", 1.0, "************"},
    {"6PE12.4", 1.0, "************"},
};

TEST(EditFormat, RealGoldenTable)
{
    for (const RealCase& c : REAL_CASES)
        EXPECT_EQ(format_real(c.value, c.descriptor), c.field) << c.descriptor << " of " << c.value;
}

// The range of G's fixed form is decided on the exact binary value: the double nearest 0.99999995 lies
// just below it, so to 7 digits it rounds to 0.9999999 and stays in the [0.1, 1) form. A compiler that
// compares with a rounded boundary writes "   1.000000    " instead, which shows 7 digits that the
// value does not round to.
TEST(EditFormat, GRangeUsesExactValue)
{
    EXPECT_EQ(format_real(0.99999995, "1PG15.7E2"), "  0.9999999    ");
}

TEST(EditFormat, NonFiniteValues)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* descriptor;
        double value;
        const char* field;
    };
    const Case cases[] = {
        {"F10.2", nan, "       NaN"},
        {"F10.2", inf, "  Infinity"},
        {"F10.2", -inf, " -Infinity"},
        {"F3.1", nan, "NaN"},
        {"F3.1", inf, "Inf"},
        {"F3.1", -inf, "***"},
        {"F2.1", nan, "**"},
        {"F8.1", inf, "Infinity"},
        {"F8.1", -inf, "    -Inf"},
        {"F9.1", -inf, "-Infinity"},
        {"E9.2", -nan, "      NaN"},
        {"E4.1", -inf, "-Inf"},
        {"1PG15.7E2", nan, "            NaN"},
        {"1PG15.7E2", -inf, "      -Infinity"},
        {"1PG24.15E3", inf, "                Infinity"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(format_real(c.value, c.descriptor), c.field) << c.descriptor << " of " << c.value;
}

TEST(EditFormat, IntegerGoldenTable)
{
    struct Case {
        const char* descriptor;
        long long value;
        const char* field;
    };
    const Case cases[] = {
        {"I11", 2147483647, " 2147483647"},
        {"(I11)", -2147483647 - 1, "-2147483648"},
        {"I12", 1, "           1"},
        {"I3", -12, "-12"},
        {"I3", -123, "***"},
        {"I5.3", -7, " -007"},
        {"I3.3", 5, "005"},
        {"I5.0", 0, "     "},  // Iw.0 writes a zero as blanks
        {"I0", -42, "-42"},    // I0: as wide as the value
        {"I20", LLONG_MIN, "-9223372036854775808"},
        {"I19", LLONG_MIN, "*******************"},
        {"F10.2", 5, "**********"},  // an integer under a real descriptor cannot be written
    };
    for (const Case& c : cases)
        EXPECT_EQ(format_integer(c.value, c.descriptor), c.field) << c.descriptor << " of " << c.value;
}

TEST(EditFormat, RealUnderIntegerDescriptorIsTruncated)
{
    EXPECT_EQ(format_real(7.9, "I5"), "    7");
    EXPECT_EQ(format_real(-7.9, "I5"), "   -7");
    EXPECT_EQ(format_real(1e300, "I5"), "*****");  // clamped to the integer range, then too wide
    EXPECT_EQ(format_real(std::nan(""), "I5"), "*****");
}

TEST(EditFormat, ParsesDescriptors)
{
    struct Case {
        const char* text;
        char kind;
        int width, digits, exponent, scale;
    };
    const Case cases[] = {
        {"I11", 'I', 11, -1, -1, 0},         {"(I3.3)", 'I', 3, 3, -1, 0},
        {"F10.2", 'F', 10, 2, -1, 0},        {"1PG15.7E2", 'G', 15, 7, 2, 1},
        {"(1pg24.15e3)", 'G', 24, 15, 3, 1}, {" ( G15.5E2 ) ", 'G', 15, 5, 2, 0},
        {"-2PE12.4", 'E', 12, 4, -1, -2},    {"1P,E12.4", 'E', 12, 4, -1, 1},
        {"D15.7", 'D', 15, 7, -1, 0},        {"I0", 'I', 0, -1, -1, 0},
    };
    for (const Case& c : cases) {
        EditDescriptor d = parse_edit_descriptor(c.text);
        EXPECT_EQ(d.kind, c.kind) << c.text;
        EXPECT_EQ(d.width, c.width) << c.text;
        EXPECT_EQ(d.digits, c.digits) << c.text;
        EXPECT_EQ(d.exponent, c.exponent) << c.text;
        EXPECT_EQ(d.scale, c.scale) << c.text;
    }
}

TEST(EditFormat, RefusesWhatIsNotOneDescriptor)
{
    const char* bad[] = {
        "",    "()", "(I   )", "X5",     "F10",    "E0.3",  "G15",   "I3.4",  "D15.7E2", "(I5", "I5)",
        "2I6", "1P", "-I5",    "G15.7E", "F10.2,", "I5,I6", "I1000", "F5.-1", "P1G15.7", "A10",
    };
    for (const char* text : bad) {
        EXPECT_EQ(parse_edit_descriptor(text).kind, 0) << '"' << text << '"';
        EXPECT_EQ(format_real(1.0, text), "") << '"' << text << '"';
        EXPECT_EQ(format_integer(1, text), "") << '"' << text << '"';
    }
}

TEST(EditFormat, ParsesFormatLists)
{
    std::vector<EditDescriptor> list = parse_format_list("(I1,I9,2I6)");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(format_integer(3, list[0]), "3");
    EXPECT_EQ(format_integer(-5, list[1]), "       -5");
    EXPECT_EQ(format_integer(32760, list[2]), " 32760");
    EXPECT_EQ(format_integer(32760, list[3]), " 32760");

    // a scale factor holds for the descriptors after it, until another one
    list = parse_format_list("(F6.2, 1P, 2E12.4, 0PG10.3)");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].scale, 0);
    EXPECT_EQ(list[1].scale, 1);
    EXPECT_EQ(list[2].scale, 1);
    EXPECT_EQ(list[3].scale, 0);

    EXPECT_TRUE(parse_format_list("(I2,,I3)").empty());
    EXPECT_TRUE(parse_format_list("(I2,0I3)").empty());
    EXPECT_TRUE(parse_format_list("(I2,'x')").empty());
}

}  // namespace
