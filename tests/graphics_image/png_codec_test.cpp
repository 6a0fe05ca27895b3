// PNG codec primitives: the chunk CRC, big-endian fields, chunk names, the row filters and the
// zlib wrappers.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/png_codec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(PngCodec, CrcOfIendAndOfLongerDataMatchesZlib)
{
    const unsigned char iend[4] = {'I', 'E', 'N', 'D'};
    EXPECT_EQ(IImgPngCrcCompute(iend, 4), 0xAE426082u);
    uint32_t crc = 0;
    IImgPngCrc(4, crc, iend);
    EXPECT_EQ(crc, 0xAE426082u);
    Bytes data(1000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (unsigned char)(i * 131 + 7);
    EXPECT_EQ(IImgPngCrcCompute(data.data(), data.size()), crc32(0, data.data(), uInt(data.size())));
}

TEST(PngCodec, BigEndianFieldsAndChunkNames)
{
    unsigned char b[4];
    IImgPngPutBE32(0x89ABCDEFu, b);
    EXPECT_EQ(b[0], 0x89);
    EXPECT_EQ(b[3], 0xEF);
    EXPECT_EQ(IImgPngGetBE32(b), 0x89ABCDEFu);
    const unsigned char idat[4] = {'I', 'D', 'A', 'T'};
    EXPECT_EQ(IImgPngChunkIs(idat, "IDAT"), 1);
    EXPECT_EQ(IImgPngChunkIs(idat, "IDAt"), 0);
    const unsigned char high[4] = {0xC9, 'D', 'A', 'T'};
    EXPECT_EQ(IImgPngChunkIs(high, "\xC9"
                                   "DAT"),
              0);  // codes of 128 or more never match
}

// Filters one row as a PNG encoder would, from the original rows.
Bytes filter_row(int type, const Bytes& row, const Bytes* up, size_t b)
{
    Bytes out(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        int left = i >= b ? row[i - b] : 0;
        int above = up ? (*up)[i] : 0;
        int up_left = up && i >= b ? (*up)[i - b] : 0;
        int predictor = 0;
        switch (type) {
        case 1: predictor = left; break;
        case 2: predictor = above; break;
        case 3: predictor = (left + above) / 2; break;
        case 4: {
            int p = left + above - up_left;
            int pa = std::abs(p - left), pb = std::abs(p - above), pc = std::abs(p - up_left);
            predictor = pa <= pb && pa <= pc ? left : pb <= pc ? above : up_left;
            break;
        }
        default: break;
        }
        out[i] = (unsigned char)(row[i] - predictor);
    }
    return out;
}

TEST(PngCodec, UnfilterUndoesEveryFilterTypeForEachPixelWidth)
{
    for (int b : {1, 3, 4, 6, 8}) {
        const size_t n = size_t(b) * 5;  // five pixels per row
        std::vector<Bytes> rows;
        for (int r = 0; r < 6; ++r) {
            Bytes row(n);
            for (size_t i = 0; i < n; ++i)
                row[i] = (unsigned char)((i * 29 + r * 71 + i * i * r) % 256);
            rows.push_back(row);
        }
        // Filter types 0..4 in turn, and 7, which passes through as stored.
        const int types[6] = {1, 2, 3, 4, 0, 7};
        Bytes buffer;
        for (int r = 0; r < 6; ++r) {
            Bytes f = types[r] == 7 ? rows[r]
                                    : filter_row(types[r], rows[r], r ? &rows[r - 1] : nullptr, size_t(b));
            buffer.push_back((unsigned char)types[r]);
            buffer.insert(buffer.end(), f.begin(), f.end());
        }
        IImgPngUnfilter(n + 1, 6, b, buffer.data());
        for (int r = 0; r < 6; ++r) {
            EXPECT_EQ(buffer[r * (n + 1)], types[r]) << "filter byte stays";
            EXPECT_EQ(Bytes(buffer.begin() + r * (n + 1) + 1, buffer.begin() + (r + 1) * (n + 1)), rows[r])
                << "bytes per pixel " << b << " row " << r;
        }
    }
}

TEST(PngCodec, UpFilteredFirstRowStaysAsStored)
{
    Bytes buffer = {2, 10, 20, 30};
    IImgPngUnfilter(4, 1, 1, buffer.data());
    EXPECT_EQ(buffer, (Bytes{2, 10, 20, 30}));
}

TEST(PngCodec, DeflateInflateRoundTripAndUncompressFailure)
{
    Bytes source(5000);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = (unsigned char)(i % 17);
    Bytes packed(6000);
    size_t packed_length = packed.size();
    int status = -1;
    IImgDeflate(source.data(), packed.data(), source.size(), packed_length, status);
    ASSERT_EQ(status, 0);
    Bytes back(5000);
    size_t back_length = back.size();
    IImgInflate(packed.data(), back.data(), packed_length, back_length, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(back_length, 5000u);
    EXPECT_EQ(back, source);

    IErrorInfo(1);
    const Bytes junk = {1, 2, 3, 4, 5, 6, 7, 8};
    back_length = back.size();
    IImgUncompress(junk.data(), back.data(), junk.size(), back_length);
    EXPECT_EQ(back_length, 0u);
    EXPECT_EQ(IErrorInfo(1), IMG_ERR_ZLIB);
    EXPECT_EQ(IErrorInfo(3), Z_DATA_ERROR);
}

}  // namespace
