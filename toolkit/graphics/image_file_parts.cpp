// Parts shared by the image readers: byte sources, PCX runs, PNG row geometry and chunk walk.
#include "toolkit/graphics/image_file_parts.h"

#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/png_codec.h"

#include <algorithm>

int ImgByteSource::next()
{
    if (at_ == filled_) {
        int count = 0;
        IOsBinRead(handle_, buffer_.data(), IMG_READ_BUFFER, count);
        if (count <= 0)
            return -1;
        filled_ = count;
        at_ = 0;
    }
    return buffer_[at_++];
}

bool ImgByteSource::read(unsigned char* out, int n)
{
    for (int i = 0; i < n; ++i) {
        int c = next();
        if (c < 0)
            return false;
        out[i] = (unsigned char)c;
    }
    return true;
}

bool img_read_exactly(int handle, unsigned char* buffer, int64_t n)
{
    if (n < 0 || n > 2147483647)
        return false;
    int count = 0;
    IOsBinRead(handle, buffer, int(n), count);
    return count == n;
}

bool img_seek_to(int handle, int64_t position)
{
    if (position < 0 || position > 2147483647)
        return false;
    int offset = int(position);
    IOsBinSeek(handle, offset, 0);
    return offset >= 0;
}

uint32_t img_le16(const unsigned char* bytes, int at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8;
}

uint32_t img_le32(const unsigned char* bytes, int at)
{
    return img_le16(bytes, at) | img_le16(bytes, at + 2) << 16;
}

bool img_pcx_line(ImgByteSource& source, std::vector<unsigned char>& line)
{
    size_t at = 0;
    while (at < line.size()) {
        int c = source.next();
        if (c < 0)
            return false;
        int count = 1;
        if (c >= 0xC0) {
            count = c & 0x3F;
            c = source.next();
            if (c < 0)
                return false;
        }
        for (int i = 0; i < count && at < line.size(); ++i)
            line[at++] = (unsigned char)c;
    }
    return true;
}

bool img_png_rows(int colour_type, int depth, int64_t width, int64_t& row_length, int& distance)
{
    distance = 1;
    row_length = 0;
    if (colour_type == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8))
        row_length = (width * depth + 7) / 8 + 1;
    if ((colour_type == 2 || colour_type == 6) && (depth == 8 || depth == 16)) {
        distance = (colour_type == 2 ? 3 : 4) * (depth / 8);
        row_length = width * distance + 1;
    }
    return row_length > 0;
}

PngChunks img_png_chunks(int handle, int64_t file_length, int64_t capacity,
                         std::vector<unsigned char>& compressed, uint32_t* palette, int& entries)
{
    compressed.assign(size_t(capacity), 0);
    int64_t collected = 0;
    int64_t position = 33;  // signature and IHDR chunk
    std::vector<unsigned char> plte(768);
    for (;;) {
        unsigned char head[8];
        if (!img_read_exactly(handle, head, 8))
            return PngChunks::short_read;
        const int64_t length = IImgPngGetBE32(head);
        if (length > 2147483647 - 4)
            return PngChunks::overflow;
        // Nothing of IEND is read, so its length does not matter.
        if (IImgPngChunkIs(head + 4, "IEND"))
            break;
        position += 8;
        if (length + 4 > file_length - position)
            return PngChunks::beyond_file;
        position += length + 4;
        int64_t skip = length + 4;  // data and CRC
        if (IImgPngChunkIs(head + 4, "IDAT")) {
            if (collected + length > capacity)
                return PngChunks::overflow;
            if (!img_read_exactly(handle, compressed.data() + collected, length))
                return PngChunks::short_read;
            collected += length;
            skip = 4;
        } else if (IImgPngChunkIs(head + 4, "PLTE")) {
            // At most 256 entries are kept; the rest of a longer palette is skipped.
            int kept = int(std::min<int64_t>(length, 768));
            if (!img_read_exactly(handle, plte.data(), kept))
                return PngChunks::short_read;
            entries = kept / 3;
            for (int i = 0; i < entries; ++i)
                palette[i] = plte[3 * i] | uint32_t(plte[3 * i + 1]) << 8 | uint32_t(plte[3 * i + 2]) << 16;
            skip -= kept;
        }
        int offset = int(skip);
        IOsBinSeek(handle, offset, 1);
        if (offset < 0)
            return PngChunks::short_read;
    }
    compressed.resize(size_t(collected));
    return PngChunks::complete;
}

bool img_png_filters_known(const unsigned char* rows, int64_t row_length, int64_t row_count)
{
    for (int64_t r = 0; r < row_count; ++r) {
        if (rows[r * row_length] > 4)
            return false;
    }
    return true;
}

bool img_png_capacity(int64_t raw, int64_t file_length, int64_t& capacity)
{
    capacity = std::min(raw / 1000 + raw + 22, file_length);
    return raw <= file_length * 1032 + 1024;
}
