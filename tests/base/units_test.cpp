// The unit table: opening, reopening, closing, and the fatal open and write errors.
#include "base/units.h"

#include "base/list_io.h"
#include "base_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class Units : public FatalToException {};

TEST_F(Units, OpenReportsPathModeAndRecords)
{
    std::string path = scratch.path("QR4TD.TXT");
    EXPECT_FALSE(unit_is_open(UNIT_SUMMARY));
    EXPECT_EQ(unit_mode(UNIT_SUMMARY), UnitMode::CLOSED);
    EXPECT_EQ(unit_file(UNIT_SUMMARY), nullptr);
    EXPECT_EQ(unit_path(UNIT_SUMMARY), "");

    ASSERT_TRUE(unit_open(UNIT_SUMMARY, path, UnitMode::WRITE_TEXT));
    EXPECT_TRUE(unit_is_open(UNIT_SUMMARY));
    EXPECT_EQ(unit_mode(UNIT_SUMMARY), UnitMode::WRITE_TEXT);
    EXPECT_NE(unit_file(UNIT_SUMMARY), nullptr);
    EXPECT_EQ(unit_path(UNIT_SUMMARY), path);
    EXPECT_EQ(unit_record(UNIT_SUMMARY), 0);
    unit_count_record(UNIT_SUMMARY);
    EXPECT_EQ(unit_record(UNIT_SUMMARY), 1);

    unit_close(UNIT_SUMMARY);
    EXPECT_FALSE(unit_is_open(UNIT_SUMMARY));
    EXPECT_EQ(unit_path(UNIT_SUMMARY), "");
    EXPECT_EQ(unit_record(UNIT_SUMMARY), 0);
    unit_close(UNIT_SUMMARY);  // closing a closed unit does nothing
}

TEST_F(Units, WritingTruncatesAndReopeningClosesTheFirstFile)
{
    std::string first = scratch.path("QR4TP.RES");
    std::string second = scratch.path("QR4TM1.RES");
    write_file(first, "old contents that must go");
    ASSERT_TRUE(unit_open(UNIT_RESTART, first, UnitMode::WRITE_BINARY));
    std::fputs("new", unit_file(UNIT_RESTART));
    // opening the unit again closes (and so flushes) the first file
    ASSERT_TRUE(unit_open(UNIT_RESTART, second, UnitMode::WRITE_BINARY));
    EXPECT_EQ(read_file(first), "new");
    EXPECT_EQ(unit_path(UNIT_RESTART), second);
}

TEST_F(Units, TextFilesKeepTheirLineEndBytes)
{
    // No line-end translation in either direction, on every platform: CR LF is written once, and a
    // reader sees the CR that it then removes itself.
    std::string path = scratch.path("NODES.TXT");
    ASSERT_TRUE(unit_open(UNIT_SUMMARY, path, UnitMode::WRITE_TEXT));
    std::fputs("a\r\nb\n", unit_file(UNIT_SUMMARY));
    unit_close(UNIT_SUMMARY);
    EXPECT_EQ(read_file(path), "a\r\nb\n");
    ASSERT_TRUE(unit_open(UNIT_DATA, path, UnitMode::READ_TEXT));
    char buf[8] = {};
    EXPECT_EQ(std::fread(buf, 1, sizeof buf, unit_file(UNIT_DATA)), 5u);
    EXPECT_EQ(std::string(buf, 5), "a\r\nb\n");
}

TEST_F(Units, FailedOpensLeaveTheUnitClosed)
{
    std::string missing = scratch.path("QR4SD.DAT");
    EXPECT_FALSE(unit_open(UNIT_DATA, missing, UnitMode::READ_TEXT));
    EXPECT_FALSE(unit_is_open(UNIT_DATA));
    EXPECT_FALSE(unit_open(-1, missing, UnitMode::WRITE_TEXT));
    EXPECT_FALSE(unit_open(UNIT_LIMIT, missing, UnitMode::WRITE_TEXT));
    EXPECT_FALSE(unit_open(UNIT_DATA, missing, UnitMode::CLOSED));
    EXPECT_FALSE(unit_is_open(UNIT_LIMIT));
    unit_count_record(UNIT_LIMIT);  // out-of-range numbers are ignored, not written past the table
    EXPECT_EQ(unit_record(UNIT_LIMIT), 0);
}

TEST_F(Units, OpenOrStopNamesTheFile)
{
    std::string missing = scratch.path("QR4TD.DAT");
    try {
        unit_open_or_stop(UNIT_DATA, missing, UnitMode::READ_TEXT);
        FAIL() << "no fatal stop";
    } catch (const FatalStop& stop) {
        EXPECT_NE(stop.message.find(missing), std::string::npos) << stop.message;
        EXPECT_EQ(stop.message.find("unit"), std::string::npos) << stop.message;
        EXPECT_NE(stop.message.find("reading"), std::string::npos) << stop.message;
    }
}

// A full disk: the write error stops the program instead of losing log lines silently.
TEST_F(Units, WriteErrorIsFatal)
{
    if (!unit_open(UNIT_SUMMARY, "/dev/full", UnitMode::WRITE_TEXT))
        GTEST_SKIP() << "no /dev/full on this system";
    try {
        write_list(UNIT_SUMMARY, {"SUMMARY LINE"});
        FAIL() << "no fatal stop";
    } catch (const FatalStop& stop) {
        EXPECT_NE(stop.message.find("Write error"), std::string::npos) << stop.message;
        EXPECT_NE(stop.message.find("/dev/full"), std::string::npos) << stop.message;
    }
}

}  // namespace
