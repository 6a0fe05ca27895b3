// The list-directed writer (log and summary lines) and reader (data files).
#include "base/list_io.h"

#include "base/units.h"
#include "base_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// --- writer ----------------------------------------------------------------------------------------------

TEST(ListWriter, TimeStepLine)
{
    std::string line = list_directed_text({"TIME", 0.5, " NM", 12345, " COLLS", 0.0});
    std::string expected = std::string(" TIME")          // text at line start: one blank
                           + "  0.500000000000000     "  // 1PG24.15E3: fixed form and 5 blanks
                           + " " + " NM"                 // text after a number: one blank
                           + "       12345"              // I12
                           + " " + " COLLS"              //
                           + "   0.00000000000000     "  // zero in fixed form
                           + "\r\n";
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.size(), 76u + 2u);
}

TEST(ListWriter, ItemLayout)
{
    struct Case {
        const char* what;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"an integer alone has no blank beyond its field", list_directed_text({1}), "           1\r\n"},
        {"a write without items is an empty line", list_directed_text({}), "\r\n"},
        {"text after text gets no blank", list_directed_text({"A", "B"}), " AB\r\n"},
        {"text after a number gets one blank", list_directed_text({7, "X"}), "           7 X\r\n"},
        {"a number after text gets none", list_directed_text({"N=", 7}), " N=           7\r\n"},
        {"a 4-byte real takes 1PG15.7E2", list_directed_text({0.5f, 1.0e20f}),
         "  0.5000000      1.0000000E+20\r\n"},
        {"text keeps its own blanks", list_directed_text({"  two  "}), "   two  \r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected) << c.what;
}

TEST(ListWriter, WrapsBeforeColumn80)
{
    const std::string six = "           1           2           3           4           5           6";  // 72
    struct Case {
        const char* what;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"a blank and 7 characters end exactly at column 80",
         list_directed_text({1, 2, 3, 4, 5, 6, "1234567"}), six + " 1234567\r\n"},
        {"the separating blank counts: 8 characters wrap", list_directed_text({1, 2, 3, 4, 5, 6, "12345678"}),
         six + "\r\n 12345678\r\n"},
        {"a wrapped text item that followed text gets the line-start blank",
         list_directed_text({1, 2, 3, 4, 5, 6, "A", "1234567"}), six + " A\r\n 1234567\r\n"},
        {"a seventh integer field does not fit", list_directed_text({1, 2, 3, 4, 5, 6, 7}),
         six + "\r\n           7\r\n"},
        {"a text longer than a line is written whole", list_directed_text({std::string(85, 'x')}),
         " " + std::string(85, 'x') + "\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected) << c.what;
}

class ListUnits : public FatalToException {};

TEST_F(ListUnits, WriteListAppendsCrLfLinesAndCountsThem)
{
    std::string path = scratch.path("DIAG.TXT");
    ASSERT_TRUE(unit_open(UNIT_DIAG, path, UnitMode::WRITE_TEXT));
    write_list(UNIT_DIAG, {"INITIAL STATE SET WITH", 1000, " MOLECULES"});
    write_list(UNIT_DIAG, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(unit_record(UNIT_DIAG), 3);
    // flushed at every statement: the file holds the lines before the unit is closed
    EXPECT_EQ(read_file(path), " INITIAL STATE SET WITH        1000  MOLECULES\r\n"
                               "           1           2           3           4           5           6\r\n"
                               "           7\r\n");
}

TEST_F(ListUnits, WriteToUnitNotOpenForTextIsFatal)
{
    try {
        write_list(UNIT_SUMMARY, {"X"});
        FAIL() << "no fatal stop";
    } catch (const FatalStop& stop) {
        EXPECT_NE(stop.message.find("unit 3"), std::string::npos) << stop.message;
    }
}

// --- reader: one record --------------------------------------------------------------------------------

TEST(ListReader, ParsesRealValues)
{
    struct Case {
        const char* record;
        double value;
    };
    const Case cases[] = {
        {"300. text", 300.0}, {"300", 300.0},      {"  1.E10", 1e10},    {"2.5E-20", 2.5e-20},
        {"3*5", 5.0},         {"1.5+3", 1500.0},   {"1.5-3", 1.5e-3},    {"1.5D2", 150.0},
        {"1.0q2", 100.0},     {"+5", 5.0},         {".5", 0.5},          {"5.", 5.0},
        {"1,2", 1.0},         {"7/", 7.0},         {"\t-4.25\t", -4.25}, {"5*1.5 junk", 1.5},
        {"1e-400", 0.0},      {"-inf", -INFINITY},
    };
    for (const Case& c : cases) {
        double v = -7.0;
        EXPECT_EQ(parse_list_value(c.record, v), 1) << c.record;
        EXPECT_EQ(v, c.value) << c.record;
    }
    double v = 0.0;
    EXPECT_EQ(parse_list_value("nan", v), 1);
    EXPECT_TRUE(std::isnan(v));
}

TEST(ListReader, FourByteRealIsRoundedOnceFromTheText)
{
    // 0.1 rounded to float directly, not through a double
    float f = 0.0f;
    EXPECT_EQ(parse_list_value("0.1", f), 1);
    EXPECT_EQ(f, 0.1f);
    // a value just past the float range cannot be a 4-byte real; below the range it reads as 0
    f = -7.0f;
    EXPECT_EQ(parse_list_value("1E39", f), -1);
    EXPECT_EQ(f, -7.0f);
    EXPECT_EQ(parse_list_value("-1E-50", f), 1);
    EXPECT_EQ(f, 0.0f);
    EXPECT_TRUE(std::signbit(f));
    double d = 0.0;
    EXPECT_EQ(parse_list_value("1E39", d), 1);
    EXPECT_EQ(d, 1e39);
}

TEST(ListReader, ParsesIntegerValues)
{
    struct Case {
        const char* record;
        int value;
    };
    const Case cases[] = {
        {"3*5", 5},
        {"+5", 5},
        {"  -12  count", -12},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"7,8", 7},
        {"9/", 9},
    };
    for (const Case& c : cases) {
        int v = -7;
        EXPECT_EQ(parse_list_value(c.record, v), 1) << c.record;
        EXPECT_EQ(v, c.value) << c.record;
    }
}

TEST(ListReader, NullAndSlashLeaveTheItem)
{
    const char* records[] = {",", " , 4", "/", " / 4", "2*", "3*,5"};
    for (const char* record : records) {
        int i = -7;
        double d = -7.0;
        EXPECT_EQ(parse_list_value(record, i), 0) << record;
        EXPECT_EQ(parse_list_value(record, d), 0) << record;
        EXPECT_EQ(i, -7) << record;
        EXPECT_EQ(d, -7.0) << record;
    }
}

TEST(ListReader, UnreadableValues)
{
    const char* reals[] = {"12a", "1.2.3", "0*5", "1.5e", ".", "-", "e5", "", "   ", "1.0E2.5", "x"};
    for (const char* record : reals) {
        double d = -7.0;
        EXPECT_EQ(parse_list_value(record, d), -1) << record;
        EXPECT_EQ(d, -7.0) << record;
    }
    const char* integers[] = {"300. text", "1.5", "1E3", "2147483648", "-2147483649", "+-3", "five", "3*x"};
    for (const char* record : integers) {
        int i = -7;
        EXPECT_EQ(parse_list_value(record, i), -1) << record;
        EXPECT_EQ(i, -7) << record;
    }
}

// Records made of the characters that matter to the scanner, from a fixed-seed generator: every call
// answers -1, 0 or 1, and leaves the value alone unless it answers 1 (run under the sanitizers, this
// also checks that no record reads out of bounds).
TEST(ListReader, GeneratedRecordsNeverChangeAValueTheyDoNotRead)
{
    const std::string alphabet = "0123456789.+-eEdDqQ*/, \t\rxN";
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int n = 0; n < 20000; ++n) {
        std::string record;
        for (std::uint32_t len = next() % 12; len > 0; --len)
            record += alphabet[next() % alphabet.size()];
        int i = -7;
        float f = -7.0f;
        double d = -7.0;
        int ri = parse_list_value(record, i);
        int rf = parse_list_value(record, f);
        int rd = parse_list_value(record, d);
        ASSERT_TRUE(ri >= -1 && ri <= 1 && rf >= -1 && rf <= 1 && rd >= -1 && rd <= 1) << record;
        if (ri != 1) {
            ASSERT_EQ(i, -7) << record;
        }
        if (rf != 1) {
            ASSERT_EQ(f, -7.0f) << record;
        }
        if (rd != 1) {
            ASSERT_EQ(d, -7.0) << record;
        }
        // an integer text is also a real text of the same value
        if (ri == 1) {
            ASSERT_EQ(rd, 1) << record;
            ASSERT_EQ(d, static_cast<double>(i)) << record;
        }
    }
}

// --- reader: files ---------------------------------------------------------------------------------------

class ListFile : public FatalToException {
protected:
    // Writes the data file and opens it on the data unit.
    void open_data(std::string_view bytes)
    {
        path = scratch.path("QR4TD.DAT");
        write_file(path, bytes);
        ASSERT_TRUE(unit_open(UNIT_DATA, path, UnitMode::READ_TEXT));
    }
    // The fatal message of the next read of an integer, or "" when it does not stop.
    std::string fatal_message_of_read(std::string_view item)
    {
        int v = 0;
        try {
            read_list(UNIT_DATA, v, item);
        } catch (const FatalStop& stop) {
            return stop.message;
        }
        return "";
    }
    std::string path;
};

TEST_F(ListFile, OneValuePerRecordAcrossLineEndsAndBlankLines)
{
    open_data("-1.5   XMIN, lower x limit\r\n"  // CR LF, a description after the value
              "\r\n"
              "   \t \n"           // blank lines between items are passed over
              "3*4 DIVISIONS_X\n"  // LF only; the repeats are dropped
              "/ SPECIES_COUNT keeps its value\r\n"
              ", another null field\n"
              "2.5E-20");  // the last line has no line end
    float xmin = 0;
    int divisions = 0;
    int species = 99;
    int other = 98;
    double diameter = 0;
    EXPECT_TRUE(read_list(UNIT_DATA, xmin, "XMIN"));
    EXPECT_TRUE(read_list(UNIT_DATA, divisions, "DIVISIONS_X"));
    EXPECT_EQ(unit_record(UNIT_DATA), 4);
    EXPECT_FALSE(read_list(UNIT_DATA, species, "SPECIES_COUNT"));
    EXPECT_FALSE(read_list(UNIT_DATA, other, "OTHER"));
    EXPECT_TRUE(read_list(UNIT_DATA, diameter, "diameter"));
    EXPECT_EQ(xmin, -1.5f);
    EXPECT_EQ(divisions, 4);
    EXPECT_EQ(species, 99);
    EXPECT_EQ(other, 98);
    EXPECT_EQ(diameter, 2.5e-20);
    EXPECT_EQ(fatal_message_of_read("NEXT").find("End of file"), 0u);
}

TEST_F(ListFile, SeveralValuesFromOneRecord)
{
    open_data("1.0 2.0 3.0  point 1\r\n"
              "4, 5\r\n"  // a statement continues on the next record when it needs to
              "6 ignored\r\n"
              "2*7 9\r\n"    // a repeat gives as many values as it counts
              "1 , , 3\r\n"  // a null field between two values
              "8 /\r\n"      // a slash ends the statement: the rest keep their values
              "10\n");
    float xyz[3] = {};
    int corners[3] = {};
    ASSERT_TRUE(read_list(UNIT_DATA, xyz, 3, "point"));
    EXPECT_EQ(xyz[0], 1.0f);
    EXPECT_EQ(xyz[1], 2.0f);
    EXPECT_EQ(xyz[2], 3.0f);
    ASSERT_TRUE(read_list(UNIT_DATA, corners, 3, "triangle"));
    EXPECT_EQ(corners[0], 4);
    EXPECT_EQ(corners[1], 5);
    EXPECT_EQ(corners[2], 6);
    ASSERT_TRUE(read_list(UNIT_DATA, corners, 3, "triangle"));
    EXPECT_EQ(corners[0], 7);
    EXPECT_EQ(corners[1], 7);
    EXPECT_EQ(corners[2], 9);
    int with_null[3] = {0, -2, 0};
    EXPECT_FALSE(read_list(UNIT_DATA, with_null, 3, "triangle"));
    EXPECT_EQ(with_null[0], 1);
    EXPECT_EQ(with_null[1], -2);
    EXPECT_EQ(with_null[2], 3);
    int cut[3] = {-1, -2, -3};
    EXPECT_FALSE(read_list(UNIT_DATA, cut, 3, "triangle"));
    EXPECT_EQ(cut[0], 8);
    EXPECT_EQ(cut[1], -2);
    EXPECT_EQ(cut[2], -3);
    int last = 0;
    EXPECT_TRUE(read_list(UNIT_DATA, last));
    EXPECT_EQ(last, 10);
}

// The user's message names the file, not the program's unit number.
TEST_F(ListFile, UnreadableValueNamesFileRecordItemAndValue)
{
    open_data("1\n\n1.5 SPECIES_COUNT\n");
    int first = 0;
    read_list(UNIT_DATA, first, "first");
    std::string message = fatal_message_of_read("SPECIES_COUNT");
    for (const char* part : {"QR4TD.DAT", "line 3", "SPECIES_COUNT", "\"1.5\"", "integer"})
        EXPECT_NE(message.find(part), std::string::npos) << part << " missing in: " << message;
    EXPECT_EQ(message.find("unit"), std::string::npos) << message;
}

// A 1,000,000-digit value gave a 1 MB message and log line: the echo is cut to 40 characters, and a
// control byte in the value is shown as an escape.
TEST_F(ListFile, UnreadableValueIsEchoedShort)
{
    open_data(std::string(1000000, '9') + "x\n1\x07x\n");
    std::string message = fatal_message_of_read("FNUM");
    EXPECT_NE(message.find("\"" + std::string(40, '9') + "...\""), std::string::npos)
        << message.substr(0, 200);
    EXPECT_LT(message.size(), 200u);
    message = fatal_message_of_read("FNUM");
    EXPECT_NE(message.find("\"1\\x07x\""), std::string::npos) << message;
}

TEST_F(ListFile, EndOfFileNamesTheItem)
{
    open_data("1\n \n");
    int first = 0;
    read_list(UNIT_DATA, first, "first");
    std::string message = fatal_message_of_read("GAS_REACTIONS");
    for (const char* part : {"End of file", "QR4TD.DAT", "GAS_REACTIONS"})
        EXPECT_NE(message.find(part), std::string::npos) << part << " missing in: " << message;
    EXPECT_EQ(message.find("unit"), std::string::npos) << message;
}

TEST_F(ListFile, EndOfFileInsideASeveralValueRead)
{
    open_data("1.0 2.0\n");
    float xyz[3] = {};
    try {
        read_list(UNIT_DATA, xyz, 3, "point 7");
        FAIL() << "no fatal stop";
    } catch (const FatalStop& stop) {
        EXPECT_NE(stop.message.find("point 7 (value 3 of 3)"), std::string::npos) << stop.message;
    }
}

TEST_F(ListFile, ReadFromUnitNotOpenForTextIsFatal)
{
    std::string message = fatal_message_of_read("X");
    EXPECT_NE(message.find("unit 4"), std::string::npos) << message;
}

}  // namespace
