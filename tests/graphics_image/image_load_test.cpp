// Image loader: BMP, PCX and PNG fixtures of every supported form load to the expected pixels;
// unsupported forms, short and corrupt files and undersized arrays are refused without writing
// outside the array.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/image_load.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace fixture;

constexpr uint32_t UNTOUCHED = 0xA5A5A5A5u;  // fill of the array before a load

struct Loaded {
    std::vector<uint32_t> pixels;
    int error;
};

// Writes the bytes as a file and loads it into an array of `room` entries.
Loaded load(const Bytes& bytes, size_t room, const std::string& name = "image_load_fixture.img")
{
    write_file(name, bytes);
    IErrorInfo(1);
    Loaded out{std::vector<uint32_t>(room, UNTOUCHED), 0};
    IImgLoadPixels(name, out.pixels);
    out.error = IErrorInfo(1);
    std::remove(name.c_str());
    return out;
}

struct LoadCase {
    std::string what;
    Bytes file;
    Picture expected;
};

void expect_loads(const LoadCase& c)
{
    Loaded got = load(c.file, c.expected.pixels.size());
    EXPECT_EQ(got.error, 0) << c.what;
    EXPECT_EQ(got.pixels, c.expected.pixels) << c.what;
}

TEST(ImageLoad, UncompressedBmpOfEveryBitCount)
{
    std::vector<LoadCase> cases;
    for (int bits : {1, 4, 8}) {
        for (int width : {25, 31}) {
            auto pal = palette(1 << bits);
            Picture pic = indexed_picture(width, 5, pal);
            cases.push_back({"bits " + std::to_string(bits) + " width " + std::to_string(width),
                             bmp_file(pic, bits, pal, indices(width, 5, 1 << bits)), pic});
        }
    }
    Picture pic = rgb_picture(7, 4);
    Picture pic555 = pic;
    for (uint32_t& c : pic555.pixels)
        c = rgb555(c);
    cases.push_back({"bits 16", bmp_file(pic, 16, {}, {}), pic555});
    cases.push_back({"bits 24 (red in the low byte although the file stores blue first)",
                     bmp_file(pic, 24, {}, {}), pic});
    cases.push_back({"bits 32", bmp_file(pic, 32, {}, {}), pic});
    // Sound behaviour: a top-down BMP (negative height) is read top row first, not refused or
    // allocated with a negative height.
    cases.push_back({"top-down 24", bmp_file(pic, 24, {}, {}, true), pic});
    // Sound behaviour: the colour table of a V4 or V5 header starts at 14 + header size, not at 54.
    auto pal = palette(256);
    Picture indexed = indexed_picture(9, 3, pal);
    cases.push_back({"V4 header", bmp_file(indexed, 8, pal, indices(9, 3, 256), false, 108), indexed});
    cases.push_back({"V5 header", bmp_file(indexed, 8, pal, indices(9, 3, 256), false, 124), indexed});
    for (const LoadCase& c : cases)
        expect_loads(c);
}

TEST(ImageLoad, RunLengthBmp)
{
    auto pal = palette(16);
    // RLE8, 6 x 3: bottom row a run and a literal; middle row a run past the right edge, then a
    // code that continues beyond it; top row a run, a delta, a pixel, then codes above the top row.
    Bytes rle8 = {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 8, 5, 1, 7, 0, 0, 2, 6, 0, 2, 2, 0, 1, 3, 0, 0, 5, 1, 0, 1};
    Bytes file = bmp_head(6, 3, 8, 1, pal, uint32_t(rle8.size()));
    file.insert(file.end(), rle8.begin(), rle8.end());
    const uint32_t U = UNTOUCHED;
    std::vector<uint32_t> expected = {pal[6], pal[6], U,      U,      pal[3], U,      pal[5], pal[5], pal[5],
                                      pal[5], pal[5], pal[5], pal[1], pal[1], pal[1], pal[2], pal[3], pal[4]};
    Loaded got = load(file, 18);
    EXPECT_EQ(got.error, 0);
    EXPECT_EQ(got.pixels, expected) << "RLE8";

    // RLE4, 5 x 2: a run alternating high and low halves; a literal of 3 pixels in 2 bytes.
    Bytes rle4 = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x67, 0, 1};
    file = bmp_head(5, 2, 4, 2, pal, uint32_t(rle4.size()));
    file.insert(file.end(), rle4.begin(), rle4.end());
    expected = {pal[3], pal[4], pal[5], pal[6], pal[7], pal[1], pal[2], pal[1], pal[2], pal[1]};
    got = load(file, 10);
    EXPECT_EQ(got.error, 0);
    EXPECT_EQ(got.pixels, expected) << "RLE4";
}

// PCX of a picture: planes of bytes_per_line bytes, each plane line run-length coded by itself.
Bytes pcx_of(const Picture& pic, int bits, int planes, int bytes_per_line, const std::vector<uint32_t>& pal,
             const std::vector<int>& idx)
{
    Bytes file = pcx_head(pic.width, pic.height, bits, planes, bytes_per_line,
                          bits == 1 && planes == 4 ? pal : std::vector<uint32_t>{});
    for (int y = 0; y < pic.height; ++y) {
        for (int k = 0; k < planes; ++k) {
            Bytes line(bytes_per_line, 0);
            for (int x = 0; x < pic.width; ++x) {
                uint32_t c = pic.at(x, y);
                int i = idx.empty() ? 0 : idx[size_t(y) * pic.width + x];
                if (bits == 1 && planes == 1 && c == 0xFFFFFF)
                    line[x / 8] |= 0x80 >> (x % 8);
                if (bits == 1 && planes == 4 && (i >> k & 1))
                    line[x / 8] |= 0x80 >> (x % 8);
                if (bits == 8 && planes == 1)
                    line[x] = i;
                if (bits == 8 && planes == 3)
                    line[x] = (c >> (8 * k)) & 255;
            }
            pcx_runs(file, line);
        }
    }
    if (bits == 8 && planes == 1) {
        file.push_back(12);
        for (int i = 0; i < 256; ++i) {
            uint32_t c = i < int(pal.size()) ? pal[i] : 0;
            file.push_back(c & 255);
            file.push_back((c >> 8) & 255);
            file.push_back((c >> 16) & 255);
        }
    }
    return file;
}

TEST(ImageLoad, PcxOfEveryDepth)
{
    std::vector<LoadCase> cases;
    // Monochrome, 10 pixels wide: 2 bytes per line, the last 6 bits of each line ignored.
    std::vector<uint32_t> bw = {0, 0xFFFFFF};
    Picture mono = indexed_picture(10, 4, bw);
    Bytes mono_file = pcx_of(mono, 1, 1, 2, bw, {});
    cases.push_back({"1 bit", mono_file, mono});
    auto pal16 = palette(16);
    Picture planar = indexed_picture(9, 3, pal16);
    cases.push_back({"4 planes", pcx_of(planar, 1, 4, 2, pal16, indices(9, 3, 16)), planar});
    auto pal256 = palette(256);
    Picture indexed = indexed_picture(7, 5, pal256);
    cases.push_back({"8 bits", pcx_of(indexed, 8, 1, 8, pal256, indices(7, 5, 256)), indexed});
    Picture rgb = rgb_picture(5, 3);
    cases.push_back({"24 bits", pcx_of(rgb, 8, 3, 6, {}, {}), rgb});
    for (const LoadCase& c : cases)
        expect_loads(c);
}

TEST(ImageLoad, PcxOfOtherBitAndPlaneCountsIsNotDecoded)
{
    // 24 planes of 1 bit make depth 24 too; decoding them as three 8-bit planes shifted a pixel
    // past its 32 bits. Such files, and 4 bits in one plane, are left undecoded without an error.
    for (int form : {0, 1}) {
        Bytes file = form == 0 ? pcx_head(4, 2, 1, 24, 2) : pcx_head(4, 2, 4, 1, 2);
        file.insert(file.end(), 200, 0x55);
        Loaded got = load(file, 8);
        EXPECT_EQ(got.error, 0) << form;
        EXPECT_EQ(got.pixels, std::vector<uint32_t>(8, UNTOUCHED)) << form;
    }
}

TEST(ImageLoad, PcxWithoutPaletteMarkerGivesError2AndLeavesTheArray)
{
    auto pal = palette(256);
    Picture pic = indexed_picture(7, 5, pal);
    Bytes file = pcx_of(pic, 8, 1, 8, pal, indices(7, 5, 256));
    file[file.size() - 769] = 11;
    Loaded got = load(file, 35);
    EXPECT_EQ(got.error, ERR_READ_WRITE);
    EXPECT_EQ(got.pixels, std::vector<uint32_t>(35, UNTOUCHED));
}

// PNG rows: filter byte 0 and the samples of each pixel.
Bytes png_rows(const Picture& pic, int depth, int colour_type, const std::vector<int>& idx)
{
    Bytes raw;
    for (int y = 0; y < pic.height; ++y) {
        raw.push_back(0);
        if (colour_type == 3) {
            Bytes row((size_t(pic.width) * depth + 7) / 8, 0);
            for (int x = 0; x < pic.width; ++x) {
                int bit = x * depth;
                row[bit / 8] |= idx[size_t(y) * pic.width + x] << (8 - depth - bit % 8);
            }
            raw.insert(raw.end(), row.begin(), row.end());
            continue;
        }
        for (int x = 0; x < pic.width; ++x) {
            uint32_t c = pic.at(x, y);
            int samples = colour_type == 6 ? 4 : 3;
            for (int s = 0; s < samples; ++s) {
                unsigned v = s < 3 ? (c >> (8 * s)) & 255 : 128;
                raw.push_back(v);
                if (depth == 16)
                    raw.push_back(255 - v);  // low byte, which the loader ignores
            }
        }
    }
    return raw;
}

TEST(ImageLoad, PngOfEverySupportedForm)
{
    std::vector<LoadCase> cases;
    for (int depth : {1, 2, 4, 8}) {
        auto pal = palette(1 << depth);
        Picture pic = indexed_picture(10, 4, pal);
        Bytes raw = png_rows(pic, depth, 3, indices(10, 4, 1 << depth));
        cases.push_back(
            {"palette depth " + std::to_string(depth), png_file(png_ihdr(10, 4, depth, 3), raw, pal), pic});
    }
    Picture pic = rgb_picture(6, 5);
    cases.push_back({"RGB 8", png_file(png_ihdr(6, 5, 8, 2), png_rows(pic, 8, 2, {})), pic});
    cases.push_back({"RGB 16 (high bytes)", png_file(png_ihdr(6, 5, 16, 2), png_rows(pic, 16, 2, {})), pic});
    cases.push_back({"RGBA 8, text chunk before the data, data in three IDAT chunks",
                     png_file(png_ihdr(6, 5, 8, 6), png_rows(pic, 8, 6, {}), {}, true, 3), pic});
    for (const LoadCase& c : cases)
        expect_loads(c);
}

TEST(ImageLoad, RefusalsAndTheirErrorNumbers)
{
    Picture pic = rgb_picture(6, 5);
    Bytes good = png_file(png_ihdr(6, 5, 8, 2), png_rows(pic, 8, 2, {}));
    Bytes corrupt_idat = good;
    for (size_t i = 41 + 8; i < 41 + 20; ++i)  // inside the first IDAT's data, after its head
        corrupt_idat[i] ^= 0x5A;
    Bytes bmp_core = {'B', 'M'};  // a BMP with the 12-byte header, which is not identified as BMP
    le32(bmp_core, 26 + 3);
    le32(bmp_core, 0);
    le32(bmp_core, 26);
    le32(bmp_core, 12);
    le16(bmp_core, 1);
    le16(bmp_core, 1);
    le16(bmp_core, 1);
    le16(bmp_core, 24);
    bmp_core.insert(bmp_core.end(), {1, 2, 3, 0});
    Bytes wmf = {1, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0};
    Bytes huge_bmp = bmp_head(100000, 100000, 24, 0, {}, 0);
    Bytes rgba16_huge = png_file(png_ihdr(2000, 2000, 16, 6), {0, 0, 0});
    // Damaged headers that were decoded leniently: a BMP colour count of 300, a colour count whose
    // table passes the end of the file, a PNG chunk length beyond the file, a row filter type 7.
    auto pal256 = palette(256);
    Bytes bmp_300_colours = bmp_file(indexed_picture(9, 3, pal256), 8, pal256, indices(9, 3, 256));
    bmp_300_colours[46] = 300 & 255;
    bmp_300_colours[47] = 300 >> 8;
    auto pal4 = palette(4);
    Bytes bmp_table_beyond_file = bmp_file(indexed_picture(9, 3, pal4), 8, pal4, indices(9, 3, 4));
    bmp_table_beyond_file[46] = 200;
    Bytes png_chunk_beyond_file = good;
    png_chunk_beyond_file[33] = 0x01;  // the IDAT length word: 16 MB more than the file holds
    Bytes rows_filter_7 = png_rows(pic, 8, 2, {});
    rows_filter_7[19] = 7;  // the filter byte of the second row (1 + 6 x 3 bytes per row)
    Bytes png_filter_7 = png_file(png_ihdr(6, 5, 8, 2), rows_filter_7);

    struct Case {
        std::string what;
        Bytes file;
        size_t room;
        int error;
    };
    const Case cases[] = {
        {"greyscale PNG", png_file(png_ihdr(6, 5, 8, 0), Bytes(35, 0)), 30, IMG_ERR_FORMAT},
        {"grey-alpha PNG", png_file(png_ihdr(6, 5, 8, 4), Bytes(65, 0)), 30, IMG_ERR_FORMAT},
        {"interlaced PNG", png_file(png_ihdr(6, 5, 8, 2, 1), png_rows(pic, 8, 2, {})), 30, IMG_ERR_FORMAT},
        {"RGB PNG of 4-bit samples", png_file(png_ihdr(6, 5, 4, 2), Bytes(65, 0)), 30, IMG_ERR_FORMAT},
        {"corrupt IDAT", corrupt_idat, 30, IMG_ERR_ZLIB},
        {"core-header BMP", bmp_core, 30, IMG_ERR_FORMAT},
        {"metafile", wmf, 30, IMG_ERR_FORMAT},
        // Sound behaviour: the loader is told the array's size and refuses an image that does not fit.
        {"array one row short", good, 24, IMG_ERR_FORMAT},
        // Sound behaviour: sizes beyond the pixel limit are refused before anything is allocated.
        {"100000 x 100000 BMP", huge_bmp, 30, IMG_ERR_FORMAT},
        // Sound behaviour: a file far too short for the size its header gives is refused before
        // the image buffers are allocated.
        {"2000 x 2000 PNG in 100 bytes", rgba16_huge, 2000 * 2000, ERR_READ_WRITE},
        {"BMP of 300 colours", bmp_300_colours, 27, IMG_ERR_FORMAT},
        {"BMP colour table beyond the file", bmp_table_beyond_file, 27, ERR_READ_WRITE},
        {"PNG chunk length beyond the file", png_chunk_beyond_file, 30, ERR_READ_WRITE},
        {"PNG row filter type 7", png_filter_7, 30, IMG_ERR_FORMAT},
    };
    for (const Case& c : cases) {
        Loaded got = load(c.file, c.room);
        EXPECT_EQ(got.error, c.error) << c.what;
        EXPECT_EQ(got.pixels, std::vector<uint32_t>(c.room, UNTOUCHED)) << c.what;
    }
    Loaded missing{std::vector<uint32_t>(4, UNTOUCHED), 0};
    IImgLoadPixels("no_such_image.png", missing.pixels);
    EXPECT_EQ(IErrorInfo(1), IMG_ERR_FORMAT);
}

TEST(ImageLoad, ShortFileStopsWithoutErrorKeepingWhatWasRead)
{
    Picture pic = rgb_picture(7, 4);
    Bytes file = bmp_file(pic, 24, {}, {});
    file.erase(file.end() - 2 * 24, file.end());  // the top two rows (each 21 + 3 pad bytes) missing
    Loaded got = load(file, 28);
    EXPECT_EQ(got.error, 0);
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(got.pixels[i], i < 14 ? UNTOUCHED : pic.pixels[i]) << i;
}

}  // namespace
