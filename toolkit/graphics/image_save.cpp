// Image savers: BMP (the bitmap with a file header), PCX (run-length coded planes of 8-bit values,
// with a 256-colour palette at the end for bitmaps of 8 bits or fewer) and PNG (one IDAT chunk of
// the zlib-compressed rows, filter 0).
#include "toolkit/graphics/image_save.h"

#include "toolkit/graphics/png_codec.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

constexpr int STATUS_OPEN = 1;   // the file, the memory or the bitmap could not be had
constexpr int STATUS_WRITE = 2;  // a write came short or compression failed

// An output file; the first failure is kept and later writes do nothing.
class OutFile {
public:
    OutFile(const std::string& path) : stream_(std::fopen(path.c_str(), "wb"))
    {
        if (!stream_)
            fail(STATUS_OPEN);
    }
    ~OutFile() { close(); }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    void write(const void* data, size_t n)
    {
        if (status_ == 0 && n > 0 && std::fwrite(data, 1, n, stream_) != n)
            fail(STATUS_WRITE);
    }
    void write(const std::vector<unsigned char>& data) { write(data.data(), data.size()); }

    // Closes the file; a failure to write out what was buffered is a short write.
    void close()
    {
        if (!stream_)
            return;
        if (std::fclose(stream_) != 0 && status_ == 0)
            fail(STATUS_WRITE);
        stream_ = nullptr;
    }

    int status() const { return status_; }
    int system_code() const { return system_code_; }

private:
    void fail(int status)
    {
        status_ = status;
        system_code_ = errno != 0 ? errno : EIO;
    }

    std::FILE* stream_;
    int status_ = 0;
    int system_code_ = 0;
};

void put_le16(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back((unsigned char)value);
    out.push_back((unsigned char)(value >> 8));
}

void put_le32(std::vector<unsigned char>& out, uint32_t value)
{
    put_le16(out, value & 0xFFFF);
    put_le16(out, value >> 16);
}

void put_be32(std::vector<unsigned char>& out, uint32_t value)
{
    unsigned char b[4];
    IImgPngPutBE32(value, b);
    out.insert(out.end(), b, b + 4);
}

// Red, green and blue of a 16-bit pixel (low byte lo, high byte hi), each kept to 8 bits.
void rgb_of_16(unsigned lo, unsigned hi, bool mask_565, unsigned char rgb[3])
{
    if (mask_565) {
        rgb[0] = (unsigned char)(hi & 0xF8);
        rgb[1] = (unsigned char)((hi * 32) | ((lo & 0xE0) / 8));
    } else {
        rgb[0] = (unsigned char)((hi / 4) * 8);
        rgb[1] = (unsigned char)((hi * 64) | ((lo & 0xE0) / 4));
    }
    rgb[2] = (unsigned char)(lo * 8);
}

// Red, green and blue of pixel x of a bitmap row of more than 8 bits.
void rgb_of(const DibImage& dib, const unsigned char* row, int x, unsigned char rgb[3])
{
    if (dib.bit_count == 16)
        return rgb_of_16(row[2 * x], row[2 * x + 1], dib.compression == 3, rgb);
    const unsigned char* p = row + size_t(x) * size_t(dib.bit_count / 8);
    rgb[0] = p[2];
    rgb[1] = p[1];
    rgb[2] = p[0];
}

// Colour-table index of pixel x of a bitmap row of 8 bits or fewer.
unsigned index_of(const DibImage& dib, const unsigned char* row, int x)
{
    switch (dib.bit_count) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
    default: return row[x];
    }
}

// Image row r counted from the top.
const unsigned char* top_row(const DibImage& dib, int r)
{
    return dib.bits.data() + size_t(dib.height - 1 - r) * size_t(img_dib_row_bytes(dib.width, dib.bit_count));
}

// Red, green, blue of colour-table entry i (0 beyond the table).
void table_rgb(const DibImage& dib, size_t i, unsigned char rgb[3])
{
    uint32_t quad = i < dib.colours.size() ? dib.colours[i] : 0;
    rgb[0] = (unsigned char)(quad >> 16);
    rgb[1] = (unsigned char)(quad >> 8);
    rgb[2] = (unsigned char)quad;
}

bool valid(const DibImage& dib, int width, int height)
{
    int b = dib.bit_count;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
        return false;
    if (width < 1 || height < 1 || width > dib.width || height > dib.height)
        return false;
    return int64_t(dib.bits.size()) >= img_dib_row_bytes(dib.width, b) * dib.height;
}

//--- BMP

void save_bmp(OutFile& file, const DibImage& dib)
{
    const uint32_t table = uint32_t(dib.colours.size()) * 4;
    const uint32_t image = uint32_t(img_dib_row_bytes(dib.width, dib.bit_count) * dib.height);
    std::vector<unsigned char> head;
    head.push_back('B');
    head.push_back('M');
    put_le32(head, 54 + table + image);  // file size
    put_le32(head, 0);                   // reserved
    put_le32(head, 54 + table);          // bits offset
    put_le32(head, 40);                  // information header size
    put_le32(head, uint32_t(dib.width));
    put_le32(head, uint32_t(dib.height));  // positive: rows bottom-up
    put_le16(head, 1);                     // planes
    put_le16(head, uint32_t(dib.bit_count));
    put_le32(head, uint32_t(dib.compression));
    put_le32(head, image);
    put_le32(head, 0);  // resolutions
    put_le32(head, 0);
    put_le32(head, dib.compression == 3 ? 0 : uint32_t(dib.colours.size()));  // colours used
    put_le32(head, 0);                                                        // colours important
    for (uint32_t quad : dib.colours)
        put_le32(head, quad);
    file.write(head);
    file.write(dib.bits.data(), image);
}

//--- PCX

void save_pcx(OutFile& file, const DibImage& dib, int width, int height)
{
    const int we = dib.width;  // bytes per plane line
    const bool palette = dib.bit_count <= 8;
    const int planes = palette ? 1 : 3;
    std::vector<unsigned char> head(128, 0);
    head[0] = 10;  // manufacturer
    head[1] = 5;   // version
    head[2] = 1;   // run-length encoding
    head[3] = 8;   // bits per pixel per plane
    auto set16 = [&head](int at, int value) {
        head[at] = (unsigned char)value;
        head[at + 1] = (unsigned char)(value >> 8);
    };
    set16(8, width - 1);
    set16(10, height - 1);
    set16(12, 75);
    set16(14, 75);
    head[65] = (unsigned char)planes;
    set16(66, we);
    set16(68, 1);
    set16(70, we);
    set16(72, height);
    file.write(head);

    std::vector<unsigned char> line(size_t(we) * planes);
    std::vector<unsigned char> coded;
    for (int r = 0; r < height; ++r) {
        const unsigned char* row = top_row(dib, r);
        for (int x = 0; x < we; ++x) {
            if (palette) {
                line[x] = (unsigned char)index_of(dib, row, x);
            } else {
                unsigned char rgb[3];
                rgb_of(dib, row, x, rgb);
                for (int k = 0; k < 3; ++k)
                    line[size_t(k) * we + x] = rgb[k];
            }
        }
        coded.clear();
        for (int k = 0; k < planes; ++k)
            IImgPcxPut(line.data() + size_t(k) * we, we, coded);
        file.write(coded);
    }
    if (palette) {
        std::vector<unsigned char> tail(1, 12);
        for (size_t i = 0; i < 256; ++i) {
            unsigned char rgb[3];
            table_rgb(dib, i, rgb);
            tail.insert(tail.end(), rgb, rgb + 3);
        }
        file.write(tail);
    }
}

//--- PNG

// Appends a chunk: length, type, data, and the CRC of type and data.
void put_chunk(std::vector<unsigned char>& out, const char* type, const unsigned char* data, size_t n)
{
    put_be32(out, uint32_t(n));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + n);
    put_be32(out, IImgPngCrcCompute(out.data() + start, n + 4));
}

void save_png(OutFile& file, const DibImage& dib, int width, int height, int& status)
{
    // Class by bit count: palette images keep their depth (1, 4, 8), deeper ones become 8-bit RGB.
    const bool palette = dib.bit_count <= 8;
    const int depth = palette ? dib.bit_count : 8;
    const int entries = palette ? 1 << dib.bit_count : 0;
    int64_t row_data = 0;
    switch (dib.bit_count) {
    case 1: row_data = (int64_t(width) + 7) / 8; break;
    case 4: row_data = (int64_t(width) + 1) / 2; break;
    case 8: row_data = width; break;
    default: row_data = int64_t(width) * 3; break;
    }
    const int64_t raw_size = (row_data + 1) * height;

    std::vector<unsigned char> out(PNG_SIGNATURE, PNG_SIGNATURE + 8);
    std::vector<unsigned char> ihdr;
    put_be32(ihdr, uint32_t(width));
    put_be32(ihdr, uint32_t(height));
    ihdr.push_back((unsigned char)depth);
    ihdr.push_back(palette ? 3 : 2);  // colour type
    ihdr.push_back(0);                // compression
    ihdr.push_back(0);                // filter
    ihdr.push_back(0);                // interlace
    put_chunk(out, "IHDR", ihdr.data(), ihdr.size());
    if (palette) {
        std::vector<unsigned char> plte;
        for (int i = 0; i < entries; ++i) {
            unsigned char rgb[3];
            table_rgb(dib, size_t(i), rgb);
            plte.insert(plte.end(), rgb, rgb + 3);
        }
        put_chunk(out, "PLTE", plte.data(), plte.size());
    }

    std::vector<unsigned char> raw;
    raw.reserve(size_t(raw_size));
    for (int r = 0; r < height; ++r) {
        const unsigned char* row = top_row(dib, r);
        raw.push_back(0);  // filter type None
        if (palette) {
            raw.insert(raw.end(), row, row + row_data);
        } else {
            for (int x = 0; x < width; ++x) {
                unsigned char rgb[3];
                rgb_of(dib, row, x, rgb);
                raw.insert(raw.end(), rgb, rgb + 3);
            }
        }
    }
    size_t room = std::max<size_t>(size_t(raw_size + raw_size / 1000 + 22), compressBound(uLong(raw.size())));
    std::vector<unsigned char> compressed(room);
    int zlib_status = 0;
    IImgDeflate(raw.data(), compressed.data(), raw.size(), room, zlib_status);
    if (zlib_status != 0) {
        status = STATUS_WRITE;
        return;
    }
    put_chunk(out, "IDAT", compressed.data(), room);
    put_chunk(out, "IEND", nullptr, 0);
    file.write(out);
}

}  // namespace

int64_t img_dib_row_bytes(int width, int bit_count)
{
    return (int64_t(width) * bit_count + 31) / 32 * 4;
}

int img_save_type(std::string_view name)
{
    size_t last = name.find_last_not_of(' ');
    if (last == std::string_view::npos || last < 3)
        return 2;
    std::string tail(name.substr(last - 3, 4));
    for (char& c : tail)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    if (tail == ".PNG")
        return 15;
    if (tail == ".BMP")
        return 1;
    return 2;
}

void IImgPcxPut(const unsigned char* line, int n, std::vector<unsigned char>& out)
{
    int i = 0;
    while (i < n) {
        unsigned char value = line[i];
        int count = 1;
        while (i + count < n && line[i + count] == value && count < 63)
            ++count;
        if (count > 1 || value >= 0xC0)
            out.push_back((unsigned char)(0xC0 | count));
        out.push_back(value);
        i += count;
    }
}

void img_dib_save(int type, const DibImage& dib, int width, int height, std::string_view name, int& status,
                  int& system_code)
{
    status = 0;
    system_code = 0;
    if (!valid(dib, width, height)) {
        status = STATUS_OPEN;
        return;
    }
    size_t first = name.find_first_not_of(' ');
    size_t last = name.find_last_not_of(' ');
    std::string path =
        first == std::string_view::npos ? std::string() : std::string(name.substr(first, last - first + 1));
    errno = 0;
    OutFile file(path);
    if (file.status() == 0) {
        switch (type) {
        case 1: save_bmp(file, dib); break;
        case 15: save_png(file, dib, width, height, status); break;
        default: save_pcx(file, dib, width, height); break;
        }
        file.close();
    }
    if (status == 0) {
        status = file.status();
        system_code = file.system_code();
    }
}
