// Image-file loader. The file's type and size come from the graphics file identifier; its data are
// read through the byte-stream layer and, for PNG, inflated and unfiltered by the PNG codec.
//
// Sizes from the file are never trusted: the width and height must be positive, fit the caller's
// array and the pixel limit, and every run, delta and row stays inside the array and the buffers.
#include "toolkit/graphics/image_load.h"

#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/graphics_file_id.h"
#include "toolkit/graphics/image_error.h"
#include "toolkit/graphics/png_codec.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

constexpr int READ_BUFFER = 40000; // bytes read from the file at a time

// Process-wide palette: a file's colour table fills it from entry 0 up; entries that the file does
// not give keep their earlier contents.
uint32_t img_palette[256];

// The image being decoded: the caller's array and the image's width and height.
struct Target {
    std::span<uint32_t> pixels;
    int width;
    int height;

    void put(int x, int row, uint32_t value)
    {
        if (x >= 0 && x < width && row >= 0 && row < height)
            pixels[size_t(row) * size_t(width) + size_t(x)] = value;
    }
};

// Sequential reader of the file's bytes in blocks; at the end of the data it gives -1.
class ByteSource {
public:
    explicit ByteSource(int handle) : handle_(handle), buffer_(READ_BUFFER) {}

    int next()
    {
        if (at_ == filled_) {
            int count = 0;
            IOsBinRead(handle_, buffer_.data(), READ_BUFFER, count);
            if (count <= 0)
                return -1;
            filled_ = count;
            at_ = 0;
        }
        return buffer_[at_++];
    }

    // Reads n bytes into out; false when the data end first.
    bool read(unsigned char* out, int n)
    {
        for (int i = 0; i < n; ++i) {
            int c = next();
            if (c < 0)
                return false;
            out[i] = (unsigned char)c;
        }
        return true;
    }

private:
    int handle_;
    std::vector<unsigned char> buffer_;
    int filled_ = 0;
    int at_ = 0;
};

bool read_exactly(int handle, unsigned char* buffer, int n)
{
    int count = 0;
    IOsBinRead(handle, buffer, n, count);
    return count == n;
}

bool seek_to(int handle, int64_t position)
{
    if (position < 0 || position > 2147483647)
        return false;
    int offset = int(position);
    IOsBinSeek(handle, offset, 0);
    return offset >= 0;
}

uint32_t le16(const unsigned char* b, int at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}

uint32_t le32(const unsigned char* b, int at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

//--- BMP

// Known information-header sizes: 40 (Windows 3), 52 and 56 (with colour masks), 108 (V4), 124 (V5).
bool known_bmp_header(uint32_t size)
{
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Run-length coded rows (RLE8, or RLE4 when four_bit), from column 0 of the bottom row.
void bmp_rle(int handle, Target& image, bool four_bit)
{
    ByteSource source(handle);
    int x = 0;
    int row = image.height - 1;
    unsigned char code[2];
    std::vector<unsigned char> literal(256);
    while (row >= 0 && source.read(code, 2)) {
        if (code[0] > 0) {
            for (int i = 0; i < code[0]; ++i, ++x) {
                int index = four_bit ? (i % 2 == 0 ? code[1] >> 4 : code[1] & 15) : code[1];
                image.put(x, row, img_palette[index]);
            }
        } else if (code[1] == 0) { // end of line
            x = 0;
            --row;
        } else if (code[1] == 1) { // end of bitmap
            break;
        } else if (code[1] == 2) { // delta
            unsigned char delta[2];
            if (!source.read(delta, 2))
                break;
            x += delta[0];
            row -= delta[1];
        } else { // literal run of code[1] pixels, its bytes padded to an even count
            int n = code[1];
            int bytes = four_bit ? (n + 1) / 2 : n;
            bytes += bytes & 1;
            if (!source.read(literal.data(), bytes))
                break;
            for (int i = 0; i < n; ++i, ++x) {
                int index = four_bit ? (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 15) : literal[i];
                image.put(x, row, img_palette[index]);
            }
        }
    }
}

// One uncompressed row of the given bit count into array row `row`.
void bmp_row(const unsigned char* data, int bits, bool mask_565, Target& image, int row)
{
    for (int x = 0; x < image.width; ++x) {
        uint32_t value = 0;
        switch (bits) {
        case 1:
            value = img_palette[(data[x / 8] >> (7 - x % 8)) & 1];
            break;
        case 4:
            value = img_palette[x % 2 == 0 ? data[x / 2] >> 4 : data[x / 2] & 15];
            break;
        case 8:
            value = img_palette[data[x]];
            break;
        case 16: {
            unsigned lo = data[2 * x], hi = data[2 * x + 1];
            unsigned red = mask_565 ? (hi / 8) * 8 : (hi / 4) * 8;
            unsigned green = mask_565 ? (hi % 8) * 32 + (lo / 32) * 4 : (hi % 4) * 64 + (lo / 32) * 8;
            value = img_pixel(red, green, (lo % 32) * 8);
            break;
        }
        case 24:
            value = img_pixel(data[3 * x + 2], data[3 * x + 1], data[3 * x]);
            break;
        case 32:
            value = img_pixel(data[4 * x + 2], data[4 * x + 1], data[4 * x]);
            break;
        default:
            return;
        }
        image.put(x, row, value);
    }
}

void load_bmp(int handle, Target& image, bool top_down, int run_length)
{
    unsigned char header[54];
    if (!read_exactly(handle, header, 54))
        return;
    const uint32_t header_size = le32(header, 14);
    const int bits = int(le16(header, 28));
    const uint32_t compression = le32(header, 30);
    const int64_t data_offset = le32(header, 10);
    // The colour table follows the information header, whatever its size (a V4 or V5 header is 108
    // or 124 bytes, not 40); the pixel rows start at the file header's data offset.
    const int64_t table_start = 14 + int64_t(header_size);
    if (!known_bmp_header(header_size) || data_offset < table_start || (top_down && run_length)) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    if (bits <= 8) {
        int entries = int(std::min<int64_t>(256, (data_offset - table_start) / 4));
        std::vector<unsigned char> table(size_t(entries) * 4);
        if (!seek_to(handle, table_start) || !read_exactly(handle, table.data(), int(table.size())))
            return;
        for (int i = 0; i < entries; ++i)
            img_palette[i] = img_pixel(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
    }
    if (!seek_to(handle, data_offset))
        return;
    if (run_length && (bits == 4 || bits == 8))
        return bmp_rle(handle, image, bits == 4);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return;
    // Rows are padded to a multiple of 4 bytes; the file's first row is the bottom one unless the
    // height was negative.
    const int64_t row_bytes = (int64_t(image.width) * bits + 31) / 32 * 4;
    std::vector<unsigned char> row(static_cast<size_t>(row_bytes));
    for (int r = 0; r < image.height; ++r) {
        if (!read_exactly(handle, row.data(), int(row_bytes)))
            return;
        bmp_row(row.data(), bits, compression == 3, image, top_down ? r : image.height - 1 - r);
    }
}

//--- PCX

// Decodes one plane line of line.size() bytes; a run that passes the end of the line is cut there.
// False when the data end first.
bool pcx_line(ByteSource& source, std::vector<unsigned char>& line)
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

void load_pcx(int handle, Target& image)
{
    unsigned char header[128];
    if (!read_exactly(handle, header, 128))
        return;
    const int bits = header[3];
    const int planes = header[65];
    const int bytes_per_line = int(le16(header, 66));
    const int depth = bits * planes;
    if (bytes_per_line == 0 || (depth != 1 && depth != 4 && depth != 8 && depth != 24))
        return;
    std::vector<unsigned char> line(static_cast<size_t>(bytes_per_line));
    const int w = std::min(image.width, depth == 1 || depth == 4 ? bytes_per_line * 8 : bytes_per_line);

    if (depth == 8) {
        // The palette: the byte 12 and 768 bytes of red, green, blue at the end of the file.
        int offset = -769;
        IOsBinSeek(handle, offset, 2);
        unsigned char palette[769];
        if (offset < 0 || !read_exactly(handle, palette, 769))
            return;
        if (palette[0] != 12) {
            IErrorReport(IMG_ERR_READ_WRITE);
            return;
        }
        for (int i = 0; i < 256; ++i)
            img_palette[i] = img_pixel(palette[1 + 3 * i], palette[2 + 3 * i], palette[3 + 3 * i]);
        if (!seek_to(handle, 128))
            return;
    } else if (!seek_to(handle, 128)) {
        return;
    }
    if (depth == 1 || depth == 4) {
        std::fill(image.pixels.begin(), image.pixels.begin() + size_t(image.width) * size_t(image.height), 0u);
        if (depth == 4)
            for (int i = 0; i < 16; ++i)
                img_palette[i] = img_pixel(header[16 + 3 * i], header[17 + 3 * i], header[18 + 3 * i]);
    }

    ByteSource source(handle);
    for (int row = 0; row < image.height; ++row) {
        for (int plane = 0; plane < planes; ++plane) {
            if (!pcx_line(source, line))
                return; // a bit-plane image stopped early keeps its plane sums
            uint32_t* out = image.pixels.data() + size_t(row) * size_t(image.width);
            for (int x = 0; x < w; ++x) {
                switch (depth) {
                case 1:
                    if ((line[x / 8] >> (7 - x % 8)) & 1)
                        out[x] = 0xFFFFFF;
                    break;
                case 4:
                    if ((line[x / 8] >> (7 - x % 8)) & 1)
                        out[x] += 1u << plane;
                    break;
                case 8:
                    out[x] = img_palette[line[x]];
                    break;
                case 24:
                    out[x] = plane == 0 ? line[x] : out[x] | uint32_t(line[x]) << (8 * plane);
                    break;
                }
            }
        }
    }
    if (depth == 4)
        for (size_t i = 0; i < size_t(image.width) * size_t(image.height); ++i)
            image.pixels[i] = img_palette[image.pixels[i] & 15];
}

//--- PNG

void load_png(int handle, Target& image, int colours, int64_t file_length)
{
    unsigned char head[33];
    if (!read_exactly(handle, head, 33))
        return;
    const int depth = head[24];
    const int colour_type = head[25];
    if (head[27] != 0 || head[28] != 0 || (colour_type != 2 && colour_type != 3 && colour_type != 6)) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    // Row length with its filter byte, and the filter distance.
    const int64_t w = image.width;
    int64_t row_length = 0;
    int distance = 1;
    if (colour_type == 3) {
        switch (colours) {
        case 2: row_length = (w + 7) / 8 + 1; break;
        case 4: row_length = (w + 3) / 4 + 1; break;
        case 16: row_length = (w + 1) / 2 + 1; break;
        case 256: row_length = w + 1; break;
        default: break;
        }
    } else if (depth == 8 || depth == 16) {
        distance = (colour_type == 2 ? 3 : 4) * (depth / 8);
        row_length = w * distance + 1;
    }
    if (row_length == 0) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    const int64_t raw = row_length * image.height;
    // Deflate shrinks data at most about 1032 : 1, so a file far too short for the size in its
    // header cannot hold its image: refuse before allocating for it.
    if (raw > file_length * 1032 + 1024) {
        IErrorReport(IMG_ERR_READ_WRITE);
        return;
    }
    // The compressed data cannot be longer than the file.
    const int64_t capacity = std::min(raw / 1000 + raw + 22, file_length);
    std::vector<unsigned char> compressed(static_cast<size_t>(capacity));
    int64_t collected = 0;
    std::vector<unsigned char> chunk(READ_BUFFER);
    for (;;) {
        unsigned char chunk_head[8];
        if (!read_exactly(handle, chunk_head, 8))
            return;
        const int64_t length = IImgPngGetBE32(chunk_head);
        if (length > 2147483647 - 4) {
            IErrorReport(IMG_ERR_READ_WRITE);
            return;
        }
        if (IImgPngChunkIs(chunk_head + 4, "IEND"))
            break;
        if (IImgPngChunkIs(chunk_head + 4, "IDAT")) {
            if (collected + length > capacity) {
                IErrorReport(IMG_ERR_READ_WRITE);
                return;
            }
            if (!read_exactly(handle, compressed.data() + collected, int(length)))
                return;
            collected += length;
            if (!read_exactly(handle, chunk.data(), 4))
                return;
        } else if (IImgPngChunkIs(chunk_head + 4, "PLTE")) {
            // At most 256 entries are kept; the rest of a longer palette is skipped.
            int kept = int(std::min<int64_t>(length, 768));
            if (!read_exactly(handle, chunk.data(), kept))
                return;
            int skip = int(length) - kept + 4;
            IOsBinSeek(handle, skip, 1);
            if (skip < 0)
                return;
            for (int i = 0; i < kept / 3; ++i)
                img_palette[i] = img_pixel(chunk[3 * i], chunk[3 * i + 1], chunk[3 * i + 2]);
        } else {
            int skip = int(length) + 4;
            IOsBinSeek(handle, skip, 1);
            if (skip < 0)
                return;
        }
    }

    std::vector<unsigned char> inflated(static_cast<size_t>(raw));
    size_t inflated_length = size_t(raw);
    IImgUncompress(compressed.data(), inflated.data(), size_t(collected), inflated_length);
    compressed = {};
    if (inflated_length == 0)
        return; // the inflate failed (error 1044): nothing is written
    IImgPngUnfilter(size_t(row_length), size_t(image.height), distance, inflated.data());

    const int sample = depth / 8; // bytes per RGB sample
    for (int row = 0; row < image.height; ++row) {
        const unsigned char* data = inflated.data() + size_t(row) * size_t(row_length) + 1;
        for (int x = 0; x < image.width; ++x) {
            uint32_t value = 0;
            if (colour_type == 3) {
                int per_byte = 8 / depth; // samples per byte, the first in the top bits
                int shift = 8 - depth * (x % per_byte + 1);
                value = img_palette[(data[x / per_byte] >> shift) & ((1 << depth) - 1)];
            } else {
                const unsigned char* p = data + size_t(x) * size_t(distance);
                value = img_pixel(p[0], p[sample], p[2 * sample]);
            }
            image.put(x, row, value);
        }
    }
}

} // namespace

void IImgLoadPixels(std::string_view name, std::span<uint32_t> pixels)
{
    int facts[5] = {};
    IImgFileIdentify(name, facts);
    const int type = facts[0];
    if (type != IMG_TYPE_BMP && type != IMG_TYPE_PCX && type != IMG_TYPE_PNG) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    // A negative BMP height means rows stored top down.
    const int64_t width = facts[1];
    const int64_t height = facts[2] < 0 ? -int64_t(facts[2]) : facts[2];
    if (width < 1 || height < 1 || width * height > IMG_MAX_PIXELS || width * height > int64_t(pixels.size())) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    int handle = -1;
    IOsBinOpen(name, 0, handle);
    if (handle == -1)
        return;
    int file_length = 0;
    IOsBinSeek(handle, file_length, 2);
    Target image{pixels, int(width), int(height)};
    try {
        if (file_length >= 0 && seek_to(handle, 0)) {
            switch (type) {
            case IMG_TYPE_BMP:
                load_bmp(handle, image, facts[2] < 0, facts[4]);
                break;
            case IMG_TYPE_PCX:
                load_pcx(handle, image);
                break;
            default:
                load_png(handle, image, facts[3], file_length);
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        IErrorReport(ERR_OPEN_FILE); // memory could not be had
    }
    IOsBinClose(handle);
}
