// Test fixtures of the image tests: small pictures and independent encoders of BMP, PCX and PNG
// files written byte by byte (PNG chunks checked with zlib's own crc32), so that the loader is not
// tested against the toolkit's own writers alone.
#ifndef QR4T_TESTS_GRAPHICS_IMAGE_IMAGE_FIXTURES_H
#define QR4T_TESTS_GRAPHICS_IMAGE_IMAGE_FIXTURES_H

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fixture {

using Bytes = std::vector<unsigned char>;

// A picture: width x height packed pixels red + 256 green + 65536 blue, top row first.
struct Picture {
    int width;
    int height;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

inline uint32_t rgb(unsigned r, unsigned g, unsigned b)
{
    return r | g << 8 | b << 16;
}

// A palette of n entries with distinct, irregular colours.
inline std::vector<uint32_t> palette(int n)
{
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i)
        p.push_back(rgb((i * 37 + 11) & 255, (i * 91 + 3) & 255, (255 - i * 53) & 255));
    return p;
}

// A picture whose pixel (x, y) is palette entry index(x, y).
inline std::vector<int> indices(int width, int height, int colours)
{
    std::vector<int> v;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            v.push_back((x * 7 + y * 3 + x * y) % colours);
    return v;
}

inline Picture indexed_picture(int width, int height, const std::vector<uint32_t>& pal)
{
    Picture p{width, height, {}};
    for (int i : indices(width, height, int(pal.size())))
        p.pixels.push_back(pal[i]);
    return p;
}

// A picture of free colours.
inline Picture rgb_picture(int width, int height)
{
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels.push_back(rgb((x * 40 + y) & 255, (y * 50 + 7) & 255, (x * y * 13 + 200) & 255));
    return p;
}

inline void le16(Bytes& b, uint32_t v)
{
    b.push_back(v & 255);
    b.push_back((v >> 8) & 255);
}

inline void le32(Bytes& b, uint32_t v)
{
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}

inline void be32(Bytes& b, uint32_t v)
{
    b.push_back(v >> 24);
    b.push_back((v >> 16) & 255);
    b.push_back((v >> 8) & 255);
    b.push_back(v & 255);
}

inline void write_file(const std::string& name, const Bytes& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes read_file(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

//--- BMP

// File header and information header of header_size bytes (40, 108 or 124); the colour table
// follows it. height < 0 stores the rows top down.
inline Bytes bmp_head(int width, int height, int bits, int compression, const std::vector<uint32_t>& pal,
                      uint32_t image_size, int header_size = 40)
{
    Bytes b{'B', 'M'};
    uint32_t offset = 14 + header_size + 4 * uint32_t(pal.size());
    le32(b, offset + image_size);  // file size
    le32(b, 0);                    // reserved
    le32(b, offset);               // data offset
    le32(b, header_size);
    le32(b, uint32_t(width));
    le32(b, uint32_t(height));
    le16(b, 1);  // planes
    le16(b, bits);
    le32(b, compression);
    le32(b, image_size);
    le32(b, 2835);  // 72 dpi
    le32(b, 2835);
    le32(b, uint32_t(pal.size()));  // colours used
    le32(b, 0);                     // colours important
    b.resize(14 + header_size, 0);  // masks, colour space, ... of V4 and V5 headers: zero
    for (uint32_t c : pal) {        // blue, green, red, 0
        b.push_back((c >> 16) & 255);
        b.push_back((c >> 8) & 255);
        b.push_back(c & 255);
        b.push_back(0);
    }
    return b;
}

// Uncompressed BMP of a palette picture (bits 1, 4, 8) or an RGB picture (16: 5-5-5, 24, 32).
inline Bytes bmp_file(const Picture& pic, int bits, const std::vector<uint32_t>& pal,
                      const std::vector<int>& idx, bool top_down = false, int header_size = 40)
{
    size_t row_bytes = (size_t(pic.width) * bits + 31) / 32 * 4;
    Bytes data;
    for (int r = 0; r < pic.height; ++r) {
        int y = top_down ? r : pic.height - 1 - r;
        Bytes row(row_bytes, 0);
        for (int x = 0; x < pic.width; ++x) {
            uint32_t c = pic.at(x, y);
            unsigned red = c & 255, green = (c >> 8) & 255, blue = (c >> 16) & 255;
            switch (bits) {
            case 1: row[x / 8] |= idx[size_t(y) * pic.width + x] << (7 - x % 8); break;
            case 4: row[x / 2] |= idx[size_t(y) * pic.width + x] << (x % 2 ? 0 : 4); break;
            case 8: row[x] = idx[size_t(y) * pic.width + x]; break;
            case 16: {
                unsigned v = (red >> 3) << 10 | (green >> 3) << 5 | blue >> 3;
                row[2 * x] = v & 255;
                row[2 * x + 1] = v >> 8;
                break;
            }
            case 24:
                row[3 * x] = blue;
                row[3 * x + 1] = green;
                row[3 * x + 2] = red;
                break;
            case 32:
                row[4 * x] = blue;
                row[4 * x + 1] = green;
                row[4 * x + 2] = red;
                row[4 * x + 3] = 0;
                break;
            }
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    Bytes b = bmp_head(pic.width, top_down ? -pic.height : pic.height, bits, 0, pal, uint32_t(data.size()),
                       header_size);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// The colours that a 5-5-5 pixel of c reads back as.
inline uint32_t rgb555(uint32_t c)
{
    return rgb((c & 255) >> 3 << 3, ((c >> 8) & 255) >> 3 << 3, ((c >> 16) & 255) >> 3 << 3);
}

//--- PCX

inline void pcx_runs(Bytes& out, const Bytes& line)
{
    for (size_t i = 0; i < line.size();) {
        size_t n = 1;
        while (i + n < line.size() && line[i + n] == line[i] && n < 63)
            ++n;
        if (n > 1 || line[i] >= 0xC0)
            out.push_back(0xC0 | n);
        out.push_back(line[i]);
        i += n;
    }
}

inline Bytes pcx_head(int width, int height, int bits, int planes, int bytes_per_line,
                      const std::vector<uint32_t>& pal16 = {})
{
    Bytes b(128, 0);
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = bits;
    b[8] = (width - 1) & 255;
    b[9] = (width - 1) >> 8;
    b[10] = (height - 1) & 255;
    b[11] = (height - 1) >> 8;
    for (size_t i = 0; i < pal16.size() && i < 16; ++i) {
        b[16 + 3 * i] = pal16[i] & 255;
        b[17 + 3 * i] = (pal16[i] >> 8) & 255;
        b[18 + 3 * i] = (pal16[i] >> 16) & 255;
    }
    b[65] = planes;
    b[66] = bytes_per_line & 255;
    b[67] = bytes_per_line >> 8;
    b[68] = 1;
    return b;
}

//--- PNG

inline void png_chunk(Bytes& out, const char* type, const Bytes& data)
{
    be32(out, uint32_t(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    be32(out, uint32_t(crc32(0, body.data(), uInt(body.size()))));
}

inline Bytes png_ihdr(int width, int height, int depth, int colour_type, int interlace = 0)
{
    Bytes h;
    be32(h, width);
    be32(h, height);
    h.push_back(depth);
    h.push_back(colour_type);
    h.push_back(0);
    h.push_back(0);
    h.push_back(interlace);
    return h;
}

// A PNG of the given rows (each row with its filter byte) and chunks before the image data.
inline Bytes png_file(const Bytes& ihdr, const Bytes& raw, const std::vector<uint32_t>& pal = {},
                      bool text_chunk = false, int idat_pieces = 1)
{
    Bytes out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    png_chunk(out, "IHDR", ihdr);
    if (text_chunk) {
        std::string t = "Comment";
        Bytes text(t.begin(), t.end());
        text.push_back(0);
        for (int i = 0; i < 50; ++i)
            text.push_back('a' + i % 26);
        png_chunk(out, "tEXt", text);
    }
    if (!pal.empty()) {
        Bytes p;
        for (uint32_t c : pal) {
            p.push_back(c & 255);
            p.push_back((c >> 8) & 255);
            p.push_back((c >> 16) & 255);
        }
        png_chunk(out, "PLTE", p);
    }
    uLongf n = compressBound(uLong(raw.size()));
    Bytes z(n);
    compress(z.data(), &n, raw.data(), uLong(raw.size()));
    z.resize(n);
    size_t piece = (z.size() + idat_pieces - 1) / idat_pieces;
    for (size_t at = 0; at < z.size(); at += piece)
        png_chunk(out, "IDAT", Bytes(z.begin() + at, z.begin() + std::min(z.size(), at + piece)));
    png_chunk(out, "IEND", {});
    return out;
}

}  // namespace fixture

#endif
