// Image-file loader. The file's type and size come from the graphics file identifier; its data are
// read through the byte-stream layer and, for PNG, inflated and unfiltered by the PNG codec.
//
// Sizes from the file are never trusted: the width and height must be positive, fit the caller's
// array and the pixel limit, and every run, delta and row stays inside the array and the buffers.
#include "toolkit/graphics/image_load.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/graphics_file_id.h"
#include "toolkit/graphics/image_file_parts.h"
#include "toolkit/graphics/png_codec.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

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

//--- BMP

// Known information-header sizes: 40 (Windows 3), 52 and 56 (with colour masks), 108 (V4), 124 (V5).
bool known_bmp_header(uint32_t size)
{
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Run-length coded rows (RLE8, or RLE4 when four_bit), from column 0 of the bottom row.
void bmp_rle(int handle, Target& image, bool four_bit)
{
    ImgByteSource source(handle);
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
        } else if (code[1] == 0) {  // end of line
            x = 0;
            --row;
        } else if (code[1] == 1) {  // end of bitmap
            break;
        } else if (code[1] == 2) {  // delta
            unsigned char delta[2];
            if (!source.read(delta, 2))
                break;
            x += delta[0];
            row -= delta[1];
        } else {  // literal run of code[1] pixels, its bytes padded to an even count
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
        case 1: value = img_palette[(data[x / 8] >> (7 - x % 8)) & 1]; break;
        case 4: value = img_palette[x % 2 == 0 ? data[x / 2] >> 4 : data[x / 2] & 15]; break;
        case 8: value = img_palette[data[x]]; break;
        case 16: {
            unsigned lo = data[2 * x], hi = data[2 * x + 1];
            unsigned red = mask_565 ? (hi / 8) * 8 : (hi / 4) * 8;
            unsigned green = mask_565 ? (hi % 8) * 32 + (lo / 32) * 4 : (hi % 4) * 64 + (lo / 32) * 8;
            value = img_pixel(red, green, (lo % 32) * 8);
            break;
        }
        case 24: value = img_pixel(data[3 * x + 2], data[3 * x + 1], data[3 * x]); break;
        case 32: value = img_pixel(data[4 * x + 2], data[4 * x + 1], data[4 * x]); break;
        default: return;
        }
        image.put(x, row, value);
    }
}

void load_bmp(int handle, Target& image, bool top_down, int run_length, int64_t file_length)
{
    unsigned char header[54];
    if (!img_read_exactly(handle, header, 54))
        return;
    const uint32_t header_size = img_le32(header, 14);
    const int bits = int(img_le16(header, 28));
    const uint32_t compression = img_le32(header, 30);
    const int64_t data_offset = img_le32(header, 10);
    // The colour table follows the information header, whatever its size (a V4 or V5 header is 108
    // or 124 bytes, not 40); the pixel rows start at the file header's data offset.
    const int64_t table_start = 14 + int64_t(header_size);
    if (!known_bmp_header(header_size) || data_offset < table_start || (top_down && run_length)) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    // A colour count beyond 256 or a table beyond the file is a damaged header, not a palette.
    const uint32_t colours_used = img_le32(header, 46);
    if (bits <= 8 && (colours_used > 256 || table_start + 4 * int64_t(colours_used) > file_length)) {
        IErrorReport(colours_used > 256 ? IMG_ERR_FORMAT : ERR_READ_WRITE);
        return;
    }
    if (bits <= 8) {
        int entries = int(std::min<int64_t>(256, (data_offset - table_start) / 4));
        std::vector<unsigned char> table(size_t(entries) * 4);
        if (!img_seek_to(handle, table_start) || !img_read_exactly(handle, table.data(), int(table.size())))
            return;
        for (int i = 0; i < entries; ++i)
            img_palette[i] = img_pixel(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
    }
    if (!img_seek_to(handle, data_offset))
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
        if (!img_read_exactly(handle, row.data(), int(row_bytes)))
            return;
        bmp_row(row.data(), bits, compression == 3, image, top_down ? r : image.height - 1 - r);
    }
}

//--- PCX

void load_pcx(int handle, Target& image)
{
    unsigned char header[128];
    if (!img_read_exactly(handle, header, 128))
        return;
    const int bits = header[3];
    const int planes = header[65];
    const int bytes_per_line = int(img_le16(header, 66));
    const int depth = bits * planes;
    // The four forms of PCX files (1 bit, 4 bit planes, 8 bits, 3 planes of 8 bits); any other
    // combination of bits and planes is not decoded. Every plane line holds bytes-per-line bytes, as
    // the toolkit's writer makes them: a 24-bit row of odd width has no byte after its three lines.
    const bool form =
        (bits == 1 && (planes == 1 || planes == 4)) || (bits == 8 && (planes == 1 || planes == 3));
    if (bytes_per_line == 0 || !form)
        return;
    std::vector<unsigned char> line(static_cast<size_t>(bytes_per_line));
    const int w = std::min(image.width, depth == 1 || depth == 4 ? bytes_per_line * 8 : bytes_per_line);

    if (depth == 8) {
        // The palette: the byte 12 and 768 bytes of red, green, blue at the end of the file.
        int offset = -769;
        IOsBinSeek(handle, offset, 2);
        unsigned char palette[769];
        if (offset < 0 || !img_read_exactly(handle, palette, 769))
            return;
        if (palette[0] != 12) {
            IErrorReport(ERR_READ_WRITE);
            return;
        }
        for (int i = 0; i < 256; ++i)
            img_palette[i] = img_pixel(palette[1 + 3 * i], palette[2 + 3 * i], palette[3 + 3 * i]);
        if (!img_seek_to(handle, 128))
            return;
    } else if (!img_seek_to(handle, 128)) {
        return;
    }
    if (depth == 1 || depth == 4) {
        std::fill(image.pixels.begin(), image.pixels.begin() + size_t(image.width) * size_t(image.height),
                  0u);
        if (depth == 4)
            for (int i = 0; i < 16; ++i)
                img_palette[i] = img_pixel(header[16 + 3 * i], header[17 + 3 * i], header[18 + 3 * i]);
    }

    ImgByteSource source(handle);
    for (int row = 0; row < image.height; ++row) {
        for (int plane = 0; plane < planes; ++plane) {
            if (!img_pcx_line(source, line))
                return;  // a bit-plane image stopped early keeps its plane sums
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
                case 8: out[x] = img_palette[line[x]]; break;
                case 24: out[x] = plane == 0 ? line[x] : out[x] | uint32_t(line[x]) << (8 * plane); break;
                }
            }
        }
    }
    if (depth == 4)
        for (size_t i = 0; i < size_t(image.width) * size_t(image.height); ++i)
            image.pixels[i] = img_palette[image.pixels[i] & 15];
}

//--- PNG

void load_png(int handle, Target& image, int64_t file_length)
{
    unsigned char head[33];
    if (!img_read_exactly(handle, head, 33))
        return;
    const int depth = head[24];
    const int colour_type = head[25];
    int64_t row_length = 0;
    int distance = 1;
    if (head[27] != 0 || head[28] != 0 ||
        !img_png_rows(colour_type, depth, image.width, row_length, distance)) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    const int64_t raw = row_length * image.height;
    int64_t capacity = 0;
    if (!img_png_capacity(raw, file_length, capacity)) {
        IErrorReport(ERR_READ_WRITE);
        return;
    }
    std::vector<unsigned char> compressed;
    int entries = 0;
    PngChunks walk = img_png_chunks(handle, file_length, capacity, compressed, img_palette, entries);
    if (walk == PngChunks::overflow || walk == PngChunks::beyond_file)
        IErrorReport(ERR_READ_WRITE);
    if (walk != PngChunks::complete)
        return;

    std::vector<unsigned char> inflated(static_cast<size_t>(raw));
    size_t inflated_length = size_t(raw);
    IImgUncompress(compressed.data(), inflated.data(), compressed.size(), inflated_length);
    compressed = {};
    if (inflated_length == 0)
        return;  // the inflate failed (error 1044): nothing is written
    if (!img_png_filters_known(inflated.data(), row_length, image.height)) {
        IErrorReport(IMG_ERR_FORMAT);
        return;
    }
    IImgPngUnfilter(size_t(row_length), size_t(image.height), distance, inflated.data());

    const int sample = depth / 8;  // bytes per RGB sample
    for (int row = 0; row < image.height; ++row) {
        const unsigned char* data = inflated.data() + size_t(row) * size_t(row_length) + 1;
        for (int x = 0; x < image.width; ++x) {
            uint32_t value = 0;
            if (colour_type == 3) {
                int per_byte = 8 / depth;  // samples per byte, the first in the top bits
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

}  // namespace

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
    if (width < 1 || height < 1 || width * height > IMG_MAX_PIXELS ||
        width * height > int64_t(pixels.size())) {
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
        if (file_length >= 0 && img_seek_to(handle, 0)) {
            switch (type) {
            case IMG_TYPE_BMP: load_bmp(handle, image, facts[2] < 0, facts[4], file_length); break;
            case IMG_TYPE_PCX: load_pcx(handle, image); break;
            default: load_png(handle, image, file_length); break;
            }
        }
    } catch (const std::bad_alloc&) {
        IErrorReport(ERR_OPEN_FILE);  // memory could not be had
    }
    IOsBinClose(handle);
}
