// Reading image files into device-independent bitmaps: fixtures of every form, the toolkit's own
// saved files of every bitmap kind, and the statuses of unreadable files.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/image_read.h"
#include "toolkit/graphics/image_save.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

using namespace fixture;

const std::string NAME = "image_read_fixture.img";

// Pixel (x, y), y from the top, of a bitmap of rows bottom-up, as red + 256 green + 65536 blue.
uint32_t dib_pixel(const DibImage& dib, int x, int y)
{
    const unsigned char* row =
        dib.bits.data() + size_t(dib.height - 1 - y) * img_dib_row_bytes(dib.width, dib.bit_count);
    auto from_quad = [](uint32_t q) { return rgb(q >> 16 & 255, q >> 8 & 255, q & 255); };
    switch (dib.bit_count) {
    case 1: return from_quad(dib.colours.at(row[x / 8] >> (7 - x % 8) & 1));
    case 4: return from_quad(dib.colours.at(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15));
    case 8: return from_quad(dib.colours.at(row[x]));
    case 16: {
        unsigned v = row[2 * x] | row[2 * x + 1] << 8;
        if (dib.compression == 3)
            return rgb((v >> 11) << 3, ((v >> 5) & 63) << 2, (v & 31) << 3);
        return rgb((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3);
    }
    default: {
        const unsigned char* p = row + size_t(x) * (dib.bit_count / 8);
        return rgb(p[2], p[1], p[0]);
    }
    }
}

struct Read {
    DibImage dib;
    int width = 0;
    int height = 0;
    int status = -1;
    int code = -1;
};

Read read(int type, const Bytes& file)
{
    write_file(NAME, file);
    Read r;
    img_file_read_dib(type, NAME, r.dib, r.width, r.height, r.status, r.code);
    std::remove(NAME.c_str());
    return r;
}

void expect_picture(const Read& r, const Picture& pic, const std::string& what)
{
    ASSERT_EQ(r.status, 0) << what;
    ASSERT_EQ(r.width, pic.width) << what;
    ASSERT_EQ(r.height, pic.height) << what;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            ASSERT_EQ(dib_pixel(r.dib, x, y), pic.at(x, y)) << what << " at " << x << ", " << y;
}

// PCX of a picture (as the loader's test builds them).
Bytes pcx_of(const Picture& pic, int bits, int planes, int bpl, const std::vector<uint32_t>& pal,
             const std::vector<int>& idx)
{
    Bytes file =
        pcx_head(pic.width, pic.height, bits, planes, bpl, planes == 4 ? pal : std::vector<uint32_t>{});
    for (int y = 0; y < pic.height; ++y)
        for (int k = 0; k < planes; ++k) {
            Bytes line(bpl, 0);
            for (int x = 0; x < pic.width; ++x) {
                uint32_t c = pic.at(x, y);
                int i = idx.empty() ? 0 : idx[size_t(y) * pic.width + x];
                if (bits == 1 && ((planes == 1 && c == 0xFFFFFF) || (planes == 4 && (i >> k & 1))))
                    line[x / 8] |= 0x80 >> (x % 8);
                if (bits == 8)
                    line[x] = planes == 1 ? i : (c >> (8 * k)) & 255;
            }
            pcx_runs(file, line);
        }
    if (bits == 8 && planes == 1) {
        file.push_back(12);
        for (int i = 0; i < 256; ++i)
            for (int s = 0; s < 3; ++s)
                file.push_back(i < int(pal.size()) ? pal[i] >> (8 * s) & 255 : 0);
    }
    return file;
}

Bytes png_indexed_rows(const Picture& pic, int depth, const std::vector<int>& idx)
{
    Bytes raw;
    for (int y = 0; y < pic.height; ++y) {
        raw.push_back(0);
        Bytes row((size_t(pic.width) * depth + 7) / 8, 0);
        for (int x = 0; x < pic.width; ++x)
            row[x * depth / 8] |= idx[size_t(y) * pic.width + x] << (8 - depth - x * depth % 8);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    return raw;
}

TEST(ImageRead, FixturesOfEveryForm)
{
    auto pal256 = palette(256);
    Picture indexed = indexed_picture(9, 4, pal256);
    expect_picture(read(1, bmp_file(indexed, 8, pal256, indices(9, 4, 256), false, 124)), indexed, "V5 BMP");
    Picture rgbp = rgb_picture(7, 5);
    expect_picture(read(1, bmp_file(rgbp, 24, {}, {}, true)), rgbp, "top-down BMP");
    expect_picture(read(1, bmp_file(rgbp, 32, {}, {})), rgbp, "32-bit BMP");

    std::vector<uint32_t> bw = {0, 0xFFFFFF};
    Picture mono = indexed_picture(10, 3, bw);
    expect_picture(read(2, pcx_of(mono, 1, 1, 2, bw, {})), mono, "1-bit PCX");
    auto pal16 = palette(16);
    Picture planar = indexed_picture(9, 3, pal16);
    expect_picture(read(2, pcx_of(planar, 1, 4, 2, pal16, indices(9, 3, 16))), planar, "4-plane PCX");
    Picture eight = indexed_picture(7, 4, pal256);
    Read r8 = read(2, pcx_of(eight, 8, 1, 8, pal256, indices(7, 4, 256)));
    expect_picture(r8, eight, "8-bit PCX");
    EXPECT_EQ(r8.dib.width, 8);  // bytes per line
    expect_picture(read(2, pcx_of(rgbp, 8, 3, 8, {}, {})), rgbp, "24-bit PCX");

    for (int depth : {1, 2, 4, 8}) {
        auto pal = palette(1 << depth);
        Picture pic = indexed_picture(10, 3, pal);
        Read r = read(15, png_file(png_ihdr(10, 3, depth, 3),
                                   png_indexed_rows(pic, depth, indices(10, 3, 1 << depth)), pal));
        expect_picture(r, pic, "palette PNG depth " + std::to_string(depth));
        EXPECT_EQ(r.dib.bit_count, depth == 2 ? 4 : depth);
    }
    Bytes raw16;
    for (int y = 0; y < 5; ++y) {
        raw16.push_back(0);
        for (int x = 0; x < 7; ++x)
            for (int s = 0; s < 4; ++s) {
                raw16.push_back(s < 3 ? rgbp.at(x, y) >> (8 * s) & 255 : 255);
                raw16.push_back(0x5A);
            }
    }
    expect_picture(read(15, png_file(png_ihdr(7, 5, 16, 6), raw16)), rgbp, "RGBA 16 PNG");
}

TEST(ImageRead, PalettePngOf300EntriesKeeps256)
{
    auto pal = palette(300);
    Picture pic = indexed_picture(4, 2, std::vector<uint32_t>(pal.begin(), pal.begin() + 256));
    Read r = read(15, png_file(png_ihdr(4, 2, 8, 3), png_indexed_rows(pic, 8, indices(4, 2, 256)), pal));
    expect_picture(r, pic, "300 entries");
    EXPECT_EQ(r.dib.colours.size(), 256u);
}

TEST(ImageRead, RunLengthBmpStaysCoded)
{
    Bytes codes = {3, 1, 0, 0, 2, 2, 1, 3, 0, 1};
    Bytes file = bmp_head(3, 2, 8, 1, palette(4), uint32_t(codes.size()));
    file.insert(file.end(), codes.begin(), codes.end());
    Read r = read(1, file);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.dib.compression, 1);
    EXPECT_EQ(r.dib.bits, codes);
}

TEST(ImageRead, SavedBitmapsOfEveryKindReadBack)
{
    struct Kind {
        int bits;
        int colours;
    };
    for (Kind k : {Kind{1, 2}, Kind{4, 16}, Kind{8, 256}, Kind{24, 0}, Kind{32, 0}}) {
        auto pal = k.colours ? palette(k.colours) : std::vector<uint32_t>();
        Picture pic = k.colours ? indexed_picture(7, 3, pal) : rgb_picture(7, 3);
        for (int type : {1, 2, 15}) {
            // The bitmap as a capture gives it; BMP captures are the picture's width, the others even.
            DibImage dib;
            dib.width = type == 1 ? 7 : 8;
            dib.height = 3;
            dib.bit_count = k.bits;
            for (uint32_t c : pal)
                dib.colours.push_back((c & 255) << 16 | (c & 0xFF00) | c >> 16);
            const size_t row_bytes = size_t(img_dib_row_bytes(dib.width, k.bits));
            dib.bits.assign(row_bytes * 3, 0);
            std::vector<int> idx = k.colours ? indices(7, 3, k.colours) : std::vector<int>();
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x) {
                    unsigned char* row = dib.bits.data() + (2 - y) * row_bytes;
                    uint32_t c = pic.at(x, y);
                    int i = idx.empty() ? 0 : idx[y * 7 + x];
                    if (k.bits == 1)
                        row[x / 8] |= i << (7 - x % 8);
                    if (k.bits == 4)
                        row[x / 2] |= i << (x % 2 ? 0 : 4);
                    if (k.bits == 8)
                        row[x] = i;
                    if (k.bits >= 24) {
                        unsigned char* p = row + x * (k.bits / 8);
                        p[0] = c >> 16;
                        p[1] = c >> 8 & 255;
                        p[2] = c & 255;
                    }
                }
            int status = -1, code = -1;
            img_dib_save(type, dib, 7, 3, NAME, status, code);
            ASSERT_EQ(status, 0);
            Read r;
            img_file_read_dib(type, NAME, r.dib, r.width, r.height, r.status, r.code);
            expect_picture(r, pic, "bits " + std::to_string(k.bits) + " type " + std::to_string(type));
        }
    }
    std::remove(NAME.c_str());
}

TEST(ImageRead, StatusesOfUnreadableFiles)
{
    Picture pic = rgb_picture(6, 5);
    Bytes good_png = png_file(png_ihdr(6, 5, 8, 2), Bytes(5 * 19, 0));
    Bytes corrupt = good_png;
    for (size_t i = 49; i < 60; ++i)
        corrupt[i] ^= 0x5A;
    Bytes short_bmp = bmp_file(pic, 24, {}, {});
    short_bmp.erase(short_bmp.end() - 10, short_bmp.end());
    Bytes core = {'B', 'M', 30, 0, 0, 0, 0, 0, 0, 0,  26, 0, 0, 0, 12,
                  0,   0,   0,  1, 0, 1, 0, 1, 0, 24, 0,  0, 0, 0, 0};
    core.resize(60, 0);
    Bytes not_bm = bmp_file(pic, 24, {}, {});
    not_bm[1] = 'X';
    Bytes pcx0 = pcx_head(4, 4, 8, 3, 4);
    pcx0[2] = 0;
    Bytes huge = bmp_head(70000, 70000, 24, 0, {}, 0);
    // Found by fuzzing: a 7 x 46853 PCX of 62965-byte plane lines in 200 bytes; its bitmap, as wide as
    // a plane line, took 3 GB before the data were read.
    Bytes pcx_wide_lines = pcx_head(7, 46853, 8, 1, 62965);
    pcx_wide_lines.resize(200, 0xF5);
    // Damaged headers that were read leniently: a colour count of 300 (the table was cut to 256), a
    // PNG chunk length beyond the file, a row filter type 7 (the row passed unchanged).
    auto pal256 = palette(256);
    Bytes bmp_300_colours = bmp_file(indexed_picture(9, 3, pal256), 8, pal256, indices(9, 3, 256));
    bmp_300_colours[46] = 300 & 255;
    bmp_300_colours[47] = 300 >> 8;
    Bytes png_chunk_beyond_file = good_png;
    png_chunk_beyond_file[33] = 0x01;
    Bytes rows_filter_7(5 * 19, 0);
    rows_filter_7[19] = 7;
    struct Case {
        std::string what;
        int type;
        Bytes file;
        int status;
    };
    const Case cases[] = {
        {"BMP not starting BM", 1, not_bm, 27},
        {"core-header BMP", 1, core, 27},
        // Sound behaviour: the pixel size is checked against the limit before any allocation.
        {"70000 x 70000 BMP", 1, huge, 27},
        {"BMP without its last rows", 1, short_bmp, 2},
        {"PCX of encoding 0", 2, pcx0, 27},
        {"PCX header only", 2, Bytes(100, 10), 2},
        {"PCX whose data cannot fill its plane lines", 2, pcx_wide_lines, 2},
        {"greyscale PNG", 15, png_file(png_ihdr(6, 5, 8, 0), Bytes(35, 0)), 27},
        {"interlaced PNG", 15, png_file(png_ihdr(6, 5, 8, 2, 1), Bytes(5 * 19, 0)), 27},
        {"PNG without IEND", 15, Bytes(good_png.begin(), good_png.end() - 12), 2},
        {"corrupt PNG data", 15, corrupt, 1044},
        {"BMP of 300 colours", 1, bmp_300_colours, 27},
        {"PNG chunk length beyond the file", 15, png_chunk_beyond_file, 2},
        {"PNG row filter type 7", 15, png_file(png_ihdr(6, 5, 8, 2), rows_filter_7), 27},
        // Found by fuzzing: sides of 2^32 - 1 overflowed the 64-bit product of the size check.
        {"PNG of 2^32 - 1 x 2^32 - 1", 15, png_file(png_ihdr(-1, -1, 8, 2), Bytes(35, 0)), 27},
        // Sound behaviour: an image type other than 1, 2 and 15 is answered 27, not left without an
        // answer (a caller's status of 0 would have said "drawn").
        {"image type 3", 3, good_png, 27},
    };
    for (const Case& c : cases) {
        Read r = read(c.type, c.file);
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_TRUE(r.dib.bits.empty()) << c.what;
    }
    EXPECT_EQ(read(15, corrupt).code, Z_DATA_ERROR);
    Read missing;
    IErrorInfo(1);
    img_file_read_dib(1, "no_such_file.bmp", missing.dib, missing.width, missing.height, missing.status,
                      missing.code);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.code, 0);
    EXPECT_EQ(IErrorInfo(1), 0);  // the status is the answer; nothing is left in the error state
}

}  // namespace
