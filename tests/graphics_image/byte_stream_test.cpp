// Byte-stream files: open modes and name trimming, reads at the end of a file, seeks, and the
// error numbers and codes of failures.
#include "toolkit/graphics/byte_stream.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct ByteStream : ::testing::Test {
    void SetUp() override
    {
        for (int option = 1; option <= 3; ++option)
            IErrorInfo(option);
        std::remove(name.c_str());
    }
    void TearDown() override { std::remove(name.c_str()); }
    std::string name = "byte_stream_file.bin";
};

TEST_F(ByteStream, NameWithBlanksAroundOpensThatFile)
{
    fixture::write_file(name, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    int handle = -1;
    IOsBinOpen("   " + name + "     ", 0, handle);
    ASSERT_NE(handle, -1);
    unsigned char buffer[128];
    int count = -5;
    // Reading 128 bytes of a 10-byte file gives 10 and no error; a further read 0 and no error.
    IOsBinRead(handle, buffer, 128, count);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(buffer[9], 10);
    IOsBinRead(handle, buffer, 128, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(IErrorInfo(1), 0);
    IOsBinClose(handle);
}

TEST_F(ByteStream, RefusedOpensGiveHandleMinusOneAndError1)
{
    struct Case {
        std::string name;
        int mode;
        bool system_code;  // a code from the system, rather than 0
    };
    const Case cases[] = {
        {"      ", 0, false},               // all blank
        {std::string(255, 'x'), 0, false},  // longer than the name buffer holds
        {name, 3, false},                   // mode outside 0..2
        {name, 0, true},                    // mode 0 never creates a file
        {name, 2, true},                    // nor does mode 2
        {"no_such_folder/x.bin", 1, true},  // no place to create it
    };
    for (const Case& c : cases) {
        int handle = 7;
        IOsBinOpen(c.name, c.mode, handle);
        EXPECT_EQ(handle, -1) << c.name.substr(0, 20) << " mode " << c.mode;
        EXPECT_EQ(IErrorInfo(1), ERR_OPEN_FILE);
        EXPECT_EQ(IErrorInfo(2) != 0, c.system_code) << c.name.substr(0, 20) << " mode " << c.mode;
    }
    EXPECT_FALSE(std::fopen(name.c_str(), "rb"));
}

TEST_F(ByteStream, Mode1TruncatesAndWritesSeekGivesLength)
{
    fixture::write_file(name, fixture::Bytes(100, 7));
    int handle = -1;
    IOsBinOpen(name, 1, handle);
    ASSERT_NE(handle, -1);
    int offset = 0;
    IOsBinSeek(handle, offset, 2);
    EXPECT_EQ(offset, 0);  // left empty
    const unsigned char data[5] = {'a', 'b', 'c', 'd', 'e'};
    int count = 0;
    IOsBinWrite(handle, data, 5, count);
    EXPECT_EQ(count, 5);
    // A write-only file cannot be read: error 2, count -1.
    unsigned char back[5];
    IOsBinRead(handle, back, 5, count);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(IErrorInfo(1), ERR_READ_WRITE);
    EXPECT_NE(IErrorInfo(2), 0);
    IOsBinClose(handle);
    EXPECT_EQ(fixture::read_file(name), fixture::Bytes(data, data + 5));
    // Nor can a read-only file be written.
    IOsBinOpen(name, 0, handle);
    IOsBinWrite(handle, data, 5, count);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(IErrorInfo(1), ERR_READ_WRITE);
    IOsBinClose(handle);
    EXPECT_EQ(fixture::read_file(name).size(), 5u);
}

TEST_F(ByteStream, Mode2ReadsAndWritesInPlace)
{
    fixture::write_file(name, {1, 2, 3, 4, 5, 6});
    int handle = -1;
    IOsBinOpen(name, 2, handle);
    ASSERT_NE(handle, -1);
    unsigned char b[2];
    int count = 0;
    IOsBinRead(handle, b, 2, count);
    const unsigned char patch[2] = {30, 40};
    IOsBinWrite(handle, patch, 2, count);  // at position 2, after the read
    EXPECT_EQ(count, 2);
    IOsBinRead(handle, b, 2, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(b[0], 5);
    int offset = 0;
    IOsBinSeek(handle, offset, 2);
    EXPECT_EQ(offset, 6);
    // Origin 3 changes nothing and raises nothing.
    offset = 1;
    IOsBinSeek(handle, offset, 3);
    EXPECT_EQ(offset, 1);
    EXPECT_EQ(IErrorInfo(1), 0);
    IOsBinClose(handle);
    EXPECT_EQ(fixture::read_file(name), (fixture::Bytes{1, 2, 30, 40, 5, 6}));
}

TEST_F(ByteStream, OperationsOnAClosedHandleFailWithError2)
{
    fixture::write_file(name, {1});
    int handle = -1;
    IOsBinOpen(name, 0, handle);
    IOsBinClose(handle);
    unsigned char b[1];
    int count = 0;
    IOsBinRead(handle, b, 1, count);
    EXPECT_EQ(count, -1);
    int offset = 0;
    IOsBinSeek(handle, offset, 0);
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(IErrorInfo(1), ERR_READ_WRITE);
    IOsBinClose(handle);  // a second close does nothing
}

TEST(DoubleQuotes, DoublesInPlaceAndCutsAtTheDeclaredLength)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"a\"b   ", "a\"\"b  "},
        {"\"x\"", "\"\"x"},  // the tail is cut at the text's length
        {"    ", "    "},
        {"ab\"", "ab\""},  // no room for the second quote
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        IStrDoubleQuotes(text);
        EXPECT_EQ(text, c.out) << c.in;
    }
}

}  // namespace
