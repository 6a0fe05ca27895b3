// Reading BMP, PCX and PNG files into device-independent bitmaps.
//
// Sizes from the file are checked before anything is allocated for them: positive, within the pixel
// limit, and (for data that is read whole) no larger than the file. A BMP's colour table is read
// after its information header, whatever that header's size, and its pixels from its data offset;
// top-down rows are turned bottom-up.
#include "toolkit/graphics/image_read.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/byte_stream.h"
#include "toolkit/graphics/image_file_parts.h"
#include "toolkit/graphics/image_load.h"
#include "toolkit/graphics/png_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr int READ_OK = 0;

// RGBQUAD word of a colour given as red + 256 green + 65536 blue.
uint32_t quad(uint32_t rgb)
{
    return (rgb & 255) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 255);
}

// Each side is checked before the product: a PNG side may be up to 2^32 - 1, and the product of two
// such sides overflows 64 bits.
bool size_ok(int64_t width, int64_t height)
{
    return width >= 1 && height >= 1 && width <= IMG_MAX_PIXELS && height <= IMG_MAX_PIXELS &&
           width * height <= IMG_MAX_PIXELS;
}

//--- BMP

int read_bmp(int handle, int64_t file_length, DibImage& dib, int& width, int& height)
{
    unsigned char file_head[14];
    if (!img_read_exactly(handle, file_head, 14))
        return ERR_READ_WRITE;
    if (file_head[0] != 'B' || file_head[1] != 'M')
        return IMG_ERR_FORMAT;
    unsigned char info[40];
    if (!img_read_exactly(handle, info, 40))
        return IMG_ERR_FORMAT;
    const uint32_t header_size = img_le32(info, 0);
    const int64_t w = int32_t(img_le32(info, 4));
    const int64_t h = int32_t(img_le32(info, 8));
    const int bits = int(img_le16(info, 14));
    const uint32_t compression = img_le32(info, 16);
    const uint32_t colours_used = img_le32(info, 32);
    const bool top_down = h < 0;
    const bool run_length = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    // Known header sizes only (the 12-byte core header is not read); known bit counts; run-length
    // codes only for their own bit count and never top down; colour masks only for 16 and 32 bits.
    if ((header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 &&
         header_size != 124) ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
        !size_ok(w, top_down ? -h : h) || (compression > 3) ||
        (compression == 3 && bits != 16 && bits != 32) ||
        ((compression == 1 || compression == 2) && (!run_length || top_down)))
        return IMG_ERR_FORMAT;

    // Colour table after the information header: 2^bits entries (or colours used) up to 8 bits, the
    // colours used (at most 256) above; the three masks of compression 3 follow a 40-byte header and
    // lie at the same place inside a longer one.
    const int64_t table_start = 14 + int64_t(header_size);
    // More than 256 colours is no palette: a damaged header, refused rather than cut.
    if (colours_used > 256)
        return IMG_ERR_FORMAT;
    int64_t entries = bits <= 8 ? (colours_used != 0 ? std::min<int64_t>(colours_used, 1 << bits) : 1 << bits)
                                : std::min<int64_t>(colours_used, 256);
    int64_t table_at = table_start;
    if (compression == 3) {
        entries = 3;
        table_at = 54;
    }
    if (table_at + entries * 4 > file_length)
        return ERR_READ_WRITE;
    std::vector<unsigned char> table(static_cast<size_t>(entries * 4));
    if (!img_seek_to(handle, table_at) || !img_read_exactly(handle, table.data(), entries * 4))
        return ERR_READ_WRITE;

    dib.width = int(w);
    dib.height = int(top_down ? -h : h);
    dib.bit_count = bits;
    dib.compression = int(compression);
    dib.colours.clear();
    for (int64_t i = 0; i < entries; ++i)
        dib.colours.push_back(img_le32(table.data(), int(4 * i)));

    // Pixels from the data offset (0: right after the table). Uncompressed rows have a known size;
    // run-length codes take the image size field, which the rest of the file must hold.
    int64_t offset = img_le32(file_head, 10);
    if (offset == 0)
        offset = table_at + entries * 4;
    const int64_t row_bytes = img_dib_row_bytes(dib.width, bits);
    const int64_t image_size = run_length ? int64_t(img_le32(info, 20)) : row_bytes * dib.height;
    if (offset > file_length || image_size > file_length - offset || image_size == 0)
        return ERR_READ_WRITE;
    dib.bits.assign(static_cast<size_t>(image_size), 0);
    if (!img_seek_to(handle, offset) || !img_read_exactly(handle, dib.bits.data(), image_size))
        return ERR_READ_WRITE;
    if (top_down) {
        std::vector<unsigned char> row(static_cast<size_t>(row_bytes));
        for (int r = 0; r < dib.height / 2; ++r) {
            unsigned char* a = dib.bits.data() + r * row_bytes;
            unsigned char* b = dib.bits.data() + (dib.height - 1 - r) * row_bytes;
            std::memcpy(row.data(), a, size_t(row_bytes));
            std::memcpy(a, b, size_t(row_bytes));
            std::memcpy(b, row.data(), size_t(row_bytes));
        }
    }
    width = dib.width;
    height = dib.height;
    return READ_OK;
}

//--- PCX

int read_pcx(int handle, int64_t file_length, DibImage& dib, int& width, int& height)
{
    unsigned char head[128];
    if (!img_read_exactly(handle, head, 128))
        return ERR_READ_WRITE;
    if (head[0] != 10 || head[2] != 1)
        return IMG_ERR_FORMAT;
    const int planes = head[65];
    const int bits = head[3] * planes;
    const int bytes_per_line = int(img_le16(head, 66));
    const int64_t w = int64_t(img_le16(head, 8)) - img_le16(head, 4) + 1;
    const int64_t h = int64_t(img_le16(head, 10)) - img_le16(head, 6) + 1;
    // A plane line must hold the picture's width; only the four forms below are read.
    const int64_t needed = bits == 1 || bits == 4 ? (w + 7) / 8 : w;
    const bool form = (bits == 1 && planes == 1) || (bits == 4 && planes == 4) ||
                      (bits == 8 && planes == 1) || (bits == 24 && planes == 3);
    if (!form || !size_ok(w, h) || bytes_per_line < needed)
        return IMG_ERR_FORMAT;
    // A byte of the data gives at most 63 bytes of a plane line (a run), so data too short for the
    // lines the header claims end the read before the bitmap is allocated: the bitmap is as wide as
    // a plane line, which the size check above does not bound, and a 200-byte file claimed 3 GB.
    if (int64_t(bytes_per_line) * planes * h > (file_length - 128) * 63)
        return ERR_READ_WRITE;

    dib.width = bits == 8 || bits == 24 ? bytes_per_line : int(w);
    dib.height = int(h);
    dib.bit_count = bits;
    dib.compression = 0;
    dib.colours.clear();
    if (bits == 1)
        dib.colours = {0x000000, 0xFFFFFF};
    if (bits == 4)
        for (int i = 0; i < 16; ++i)
            dib.colours.push_back(quad(head[16 + 3 * i] | head[17 + 3 * i] << 8 | head[18 + 3 * i] << 16));
    if (bits == 8) {
        // The palette: a marker byte (not checked) and 768 bytes at the end of the file.
        unsigned char palette[769];
        if (file_length < 128 + 769 || !img_seek_to(handle, file_length - 769) ||
            !img_read_exactly(handle, palette, 769))
            return ERR_READ_WRITE;
        for (int i = 0; i < 256; ++i)
            dib.colours.push_back(
                quad(palette[1 + 3 * i] | palette[2 + 3 * i] << 8 | palette[3 + 3 * i] << 16));
    }
    if (!img_seek_to(handle, 128))
        return ERR_READ_WRITE;

    const int64_t row_bytes = img_dib_row_bytes(dib.width, bits);
    dib.bits.assign(static_cast<size_t>(row_bytes * dib.height), 0);
    std::vector<unsigned char> line(static_cast<size_t>(bytes_per_line));
    ImgByteSource source(handle);
    for (int r = 0; r < dib.height; ++r) {
        unsigned char* row = dib.bits.data() + (dib.height - 1 - r) * row_bytes;  // the top row is the last
        for (int plane = 0; plane < planes; ++plane) {
            if (!img_pcx_line(source, line))
                return ERR_READ_WRITE;
            switch (bits) {
            case 1:  // the plane line is the packed row
                std::memcpy(row, line.data(), size_t(std::min<int64_t>(row_bytes, bytes_per_line)));
                break;
            case 4:  // each plane byte sets bit `plane` of eight 4-bit pixels, the first in the high half
                for (int x = 0; x < dib.width; ++x)
                    if (line[x / 8] >> (7 - x % 8) & 1)
                        row[x / 2] |= (unsigned char)((1 << plane) << (x % 2 == 0 ? 4 : 0));
                break;
            default:  // 8 bits, or plane `plane` of 24 bits into byte 2 - plane (blue, green, red order)
                for (int x = 0; x < bytes_per_line; ++x)
                    row[size_t(x) * planes + (planes - 1 - plane)] = line[x];
                break;
            }
        }
    }
    width = int(w);
    height = int(h);
    return READ_OK;
}

//--- PNG

int read_png(int handle, int64_t file_length, DibImage& dib, int& width, int& height, int& system_code)
{
    unsigned char head[33];
    if (!img_read_exactly(handle, head, 33))
        return ERR_READ_WRITE;
    const int64_t w = IImgPngGetBE32(head + 16);
    const int64_t h = IImgPngGetBE32(head + 20);
    const int depth = head[24];
    const int colour_type = head[25];
    int64_t row_length = 0;
    int distance = 1;
    if (head[27] != 0 || head[28] != 0 || !size_ok(w, h) ||
        !img_png_rows(colour_type, depth, w, row_length, distance))
        return IMG_ERR_FORMAT;
    const int64_t raw = row_length * h;
    int64_t capacity = 0;
    if (!img_png_capacity(raw, file_length, capacity))
        return ERR_READ_WRITE;
    std::vector<unsigned char> compressed;
    uint32_t palette[256] = {};  // entries beyond the PLTE chunk's are black
    int entries = 0;
    if (img_png_chunks(handle, file_length, capacity, compressed, palette, entries) != PngChunks::complete)
        return ERR_READ_WRITE;
    std::vector<unsigned char> rows(static_cast<size_t>(raw));
    size_t rows_length = rows.size();
    int zlib_status = 0;
    IImgInflate(compressed.data(), rows.data(), compressed.size(), rows_length, zlib_status);
    if (zlib_status != 0) {
        system_code = zlib_status;
        return IMG_ERR_ZLIB;
    }
    if (!img_png_filters_known(rows.data(), row_length, h))
        return IMG_ERR_FORMAT;
    IImgPngUnfilter(size_t(row_length), size_t(h), distance, rows.data());

    const bool indexed = colour_type == 3;
    dib.width = int(w);
    dib.height = int(h);
    dib.bit_count = !indexed ? 24 : depth == 2 ? 4 : depth;
    dib.compression = 0;
    dib.colours.clear();
    if (indexed)
        for (int i = 0; i < 1 << depth; ++i)
            dib.colours.push_back(quad(palette[i]));
    const int64_t row_bytes = img_dib_row_bytes(dib.width, dib.bit_count);
    dib.bits.assign(static_cast<size_t>(row_bytes * h), 0);
    const int sample = depth / 8;
    for (int r = 0; r < dib.height; ++r) {
        const unsigned char* in = rows.data() + r * row_length + 1;
        unsigned char* out = dib.bits.data() + (dib.height - 1 - r) * row_bytes;
        if (indexed && depth != 2) {
            std::memcpy(out, in, size_t(row_length - 1));
        } else if (indexed) {
            // Four 2-bit pixels p1..p4 of a byte become two bytes of 4-bit pixels p1 p2 and p3 p4.
            for (int x = 0; x < dib.width; ++x) {
                int p = in[x / 4] >> (6 - 2 * (x % 4)) & 3;
                out[x / 2] |= (unsigned char)(p << (x % 2 == 0 ? 4 : 0));
            }
        } else {
            for (int x = 0; x < dib.width; ++x) {
                const unsigned char* p = in + size_t(x) * size_t(distance);
                out[3 * x] = p[2 * sample];
                out[3 * x + 1] = p[sample];
                out[3 * x + 2] = p[0];
            }
        }
    }
    width = dib.width;
    height = dib.height;
    return READ_OK;
}

}  // namespace

void img_file_read_dib(int type, std::string_view name, DibImage& dib, int& width, int& height, int& status,
                       int& system_code)
{
    dib = DibImage{};
    width = 0;
    height = 0;
    system_code = 0;
    if (type != 1 && type != 2 && type != 15) {
        status = IMG_ERR_FORMAT;
        return;
    }
    // The file layer's error reports are its own; this reader answers by status.
    const int kept_error = IErrorInfo(1);
    const int kept_file_error = IErrorInfo(2);
    int handle = -1;
    errno = 0;
    IOsBinOpen(name, 0, handle);
    if (handle == -1) {
        status = ERR_OPEN_FILE;
        system_code = IErrorInfo(2);
    } else {
        int file_length = 0;
        IOsBinSeek(handle, file_length, 2);
        try {
            status = file_length < 0 || !img_seek_to(handle, 0) ? ERR_READ_WRITE
                     : type == 1 ? read_bmp(handle, file_length, dib, width, height)
                     : type == 2 ? read_pcx(handle, file_length, dib, width, height)
                                 : read_png(handle, file_length, dib, width, height, system_code);
        } catch (const std::bad_alloc&) {
            status = ERR_READ_WRITE;  // memory that cannot be had counts as a read that came short
        }
        IOsBinClose(handle);
    }
    if (status != READ_OK) {
        dib = DibImage{};
        width = 0;
        height = 0;
    }
    // Put back the error fields as the caller had them: the status is the answer.
    ERROR_STATE.last_error = kept_error;
    ERROR_STATE.last_file_error = kept_file_error;
}
