// Unformatted sequential records: exact framing bytes, round trips, and every damaged-record error.
#include "base/records.h"

#include "base_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Records : public testing::Test {
protected:
    // Writes one record to a file and returns the file's bytes.
    std::string write_record(const RecordWriter& w)
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::string error;
        EXPECT_TRUE(w.write(f, error)) << error;
        std::fclose(f);
        return read_file(path);
    }
    // Reads the first record of a file holding the given bytes; returns the error ("" on success).
    std::string read_bytes(std::string_view bytes, RecordReader& r)
    {
        write_file(path, bytes);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::string error;
        bool ok = r.read(f, error);
        std::fclose(f);
        EXPECT_EQ(ok, error.empty());
        return error;
    }
    ScratchDir scratch;
    std::string path = scratch.path("QR4TV2.RES");
};

// The size record of the restart set: 33 4-byte integers.
TEST_F(Records, ThirtyThreeIntegersMakeA140ByteRecord)
{
    RecordWriter w;
    for (std::int32_t i = 1; i <= 33; ++i)
        w.put(i);
    EXPECT_EQ(w.size(), 132u);
    std::string bytes = write_record(w);
    ASSERT_EQ(bytes.size(), 140u);
    const std::string count("\x84\x00\x00\x00", 4);  // 132, little-endian
    EXPECT_EQ(bytes.substr(0, 4), count);
    EXPECT_EQ(bytes.substr(136, 4), count);
    EXPECT_EQ(bytes.substr(4, 8), std::string("\x01\x00\x00\x00\x02\x00\x00\x00", 8));
}

TEST_F(Records, RoundTripOfScalarsAndArrays)
{
    Array<float, 2> pv;
    ASSERT_TRUE(pv.allocate(4, 3));
    for (int m = 1; m <= 3; ++m)
        for (int k = 1; k <= 4; ++k)
            pv(k, m) = static_cast<float>(10 * m + k);
    Array<std::int8_t, 1> levels;
    ASSERT_TRUE(levels.allocate(5));
    levels(5) = -3;
    Array<double, 1> never_allocated;

    RecordWriter w;
    w.put(std::int32_t{1234567});
    w.put(pv);
    w.put(never_allocated);  // keeps its place, adds no bytes
    w.put(levels);
    w.put(2.5);
    EXPECT_EQ(w.size(), 4u + 48u + 5u + 8u);
    std::string bytes = write_record(w);
    EXPECT_EQ(bytes.size(), 8u + w.size());

    RecordReader r;
    ASSERT_EQ(read_bytes(bytes, r), "");
    EXPECT_EQ(r.size(), w.size());
    std::int32_t check = 0;
    Array<float, 2> pv_back;
    ASSERT_TRUE(pv_back.allocate(4, 3));
    Array<std::int8_t, 1> levels_back;
    ASSERT_TRUE(levels_back.allocate(5));
    Array<double, 1> still_unallocated;
    double time = 0;
    EXPECT_TRUE(r.get(check));
    EXPECT_TRUE(r.get(pv_back));
    EXPECT_TRUE(r.get(still_unallocated));
    EXPECT_TRUE(r.get(levels_back));
    EXPECT_TRUE(r.get(time));
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_EQ(check, 1234567);
    EXPECT_EQ(pv_back(3, 2), 23.0f);
    EXPECT_EQ(pv_back(4, 3), 34.0f);
    EXPECT_EQ(levels_back(5), -3);
    EXPECT_EQ(time, 2.5);

    // an item beyond the record's end is refused and left unchanged
    std::int32_t beyond = 77;
    EXPECT_FALSE(r.get(beyond));
    EXPECT_EQ(beyond, 77);
}

TEST_F(Records, EmptyRecordAndTwoRecordsInSequence)
{
    RecordWriter empty;
    RecordWriter one;
    one.put(std::int32_t{9});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::string error;
    ASSERT_TRUE(empty.write(f, error));
    ASSERT_TRUE(one.write(f, error));
    std::fclose(f);
    EXPECT_EQ(read_file(path).size(), 8u + 12u);

    f = std::fopen(path.c_str(), "rb");
    RecordReader r;
    ASSERT_TRUE(r.read(f, error)) << error;
    EXPECT_EQ(r.size(), 0u);
    ASSERT_TRUE(r.read(f, error)) << error;
    std::int32_t v = 0;
    EXPECT_TRUE(r.get(v));
    EXPECT_EQ(v, 9);
    EXPECT_FALSE(r.read(f, error));
    EXPECT_NE(error.find("end of file"), std::string::npos) << error;
    std::fclose(f);
}

TEST_F(Records, DamagedRecordsAreRefusedAndLeaveTheReaderEmpty)
{
    struct Case {
        const char* what;
        std::string bytes;
        const char* error_part;
    };
    const Case cases[] = {
        {"empty file", "", "no record"},
        {"cut leading count", std::string("\x04\x00", 2), "leading byte count"},
        {"negative count", std::string("\xff\xff\xff\xff", 4), "negative"},
        {"short record", std::string("\x08\x00\x00\x00\x01\x02\x03", 7), "only 3 follow"},
        {"count near 2^31 with a tiny file", std::string("\xff\xff\xff\x7f\x01\x02", 6), "short record"},
        {"missing trailing count", std::string("\x02\x00\x00\x00\x01\x02\x02\x00", 8), "trailing byte count"},
        {"counts disagree", std::string("\x02\x00\x00\x00\x01\x02\x03\x00\x00\x00", 10),
         "2 before the data, 3 after"},
    };
    for (const Case& c : cases) {
        RecordReader r;
        std::string error = read_bytes(c.bytes, r);
        EXPECT_NE(error.find(c.error_part), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(r.size(), 0u) << c.what;
    }
}

// Every single-byte change and every cut of a valid file: the reader either accepts a record that agrees
// with its count or refuses with a message and an empty record; it never reads past what it holds.
TEST_F(Records, DamagedBytesAreAcceptedConsistentlyOrRefused)
{
    RecordWriter w;
    for (std::int32_t i = 0; i < 6; ++i)
        w.put(i * 1000);
    std::string good = write_record(w);
    const unsigned char replacements[] = {0x00, 0x01, 0x17, 0x18, 0x7f, 0x80, 0xff};
    std::vector<std::string> variants;
    for (std::size_t pos = 0; pos < good.size(); ++pos) {
        for (unsigned char b : replacements) {
            std::string bytes = good;
            bytes[pos] = static_cast<char>(b);
            variants.push_back(bytes);
        }
        variants.push_back(good.substr(0, pos));
    }
    for (const std::string& bytes : variants) {
        RecordReader r;
        std::string error = read_bytes(bytes, r);
        if (error.empty()) {
            // the record that was read fits in the file (what follows it belongs to a next record)
            std::int32_t head = 0;
            std::memcpy(&head, bytes.data(), 4);
            ASSERT_EQ(static_cast<std::size_t>(head), r.size());
            ASSERT_LE(r.size() + 8, bytes.size());
        } else {
            ASSERT_EQ(r.size(), 0u);
        }
    }
}

TEST_F(Records, RecordAbove2GiBIsRefusedBeforeWriting)
{
    // Arrays are referenced, not copied, and the size is checked before any byte is touched, so the
    // test can claim 2^31 bytes without having them.
    unsigned char small[1] = {0};
    RecordWriter w;
    w.put_bytes(small, RECORD_LIMIT);
    w.put(std::int8_t{1});
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::string error;
    EXPECT_FALSE(w.write(f, error));
    std::fclose(f);
    EXPECT_NE(error.find("2147483648 bytes exceeds"), std::string::npos) << error;
    EXPECT_EQ(read_file(path), "");
}

TEST_F(Records, FailedWriteIsReported)
{
    write_file(path, "");
    std::FILE* f = std::fopen(path.c_str(), "rb");  // a stream that cannot be written
    RecordWriter w;
    w.put(1.0);
    std::string error;
    EXPECT_FALSE(w.write(f, error));
    EXPECT_NE(error.find("failed"), std::string::npos) << error;
    std::fclose(f);
}

}  // namespace
