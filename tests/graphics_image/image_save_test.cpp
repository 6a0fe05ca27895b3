// Image savers: every bitmap kind saved as BMP, PCX and PNG reads back pixel-identical through the
// loader; the PCX run coding, the header fields of odd widths, the choice of type by name, and the
// statuses of failed saves. The saved files stay in the folder "saved_images" for the independent
// readers (check_readers.sh).
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/image_load.h"
#include "toolkit/graphics/image_save.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace fixture;

// A bitmap as the capture gives it, dib_width pixels wide (the picture may be one narrower), rows
// bottom-up. Kinds: bit counts 1, 4, 8, 24, 32; 16 with compression 0 (5-5-5) or 3 (5-6-5).
DibImage make_dib(const Picture& pic, int dib_width, int bits, int compression,
                  const std::vector<uint32_t>& pal)
{
    DibImage dib;
    dib.width = dib_width;
    dib.height = pic.height;
    dib.bit_count = bits;
    dib.compression = compression;
    for (uint32_t c : pal)  // RGBQUAD: blue in the low byte
        dib.colours.push_back((c & 255) << 16 | (c & 0xFF00) | (c >> 16));
    if (bits == 16 && compression == 3)
        dib.colours = {0xF800, 0x07E0, 0x001F};
    const size_t row_bytes = size_t(img_dib_row_bytes(dib_width, bits));
    std::vector<int> idx = pal.empty() ? std::vector<int>() : indices(pic.width, pic.height, int(pal.size()));
    for (int r = 0; r < pic.height; ++r) {
        int y = pic.height - 1 - r;
        Bytes row(row_bytes, 0);
        for (int x = 0; x < dib_width; ++x) {
            int xs = std::min(x, pic.width - 1);  // the extra column repeats the last one
            uint32_t c = pic.at(xs, y);
            unsigned red = c & 255, green = (c >> 8) & 255, blue = c >> 16;
            int i = idx.empty() ? 0 : idx[size_t(y) * pic.width + xs];
            switch (bits) {
            case 1: row[x / 8] |= i << (7 - x % 8); break;
            case 4: row[x / 2] |= i << (x % 2 ? 0 : 4); break;
            case 8: row[x] = i; break;
            case 16: {
                unsigned v = compression == 3 ? (red >> 3) << 11 | (green >> 2) << 5 | blue >> 3
                                              : (red >> 3) << 10 | (green >> 3) << 5 | blue >> 3;
                row[2 * x] = v & 255;
                row[2 * x + 1] = v >> 8;
                break;
            }
            default: {
                unsigned char* p = &row[size_t(x) * (bits / 8)];
                p[0] = blue;
                p[1] = green;
                p[2] = red;
                break;
            }
            }
        }
        dib.bits.insert(dib.bits.end(), row.begin(), row.end());
    }
    return dib;
}

uint32_t rgb565(uint32_t c)
{
    return rgb((c & 255) >> 3 << 3, ((c >> 8) & 255) >> 2 << 2, (c >> 16) >> 3 << 3);
}

const std::string SAVED = "saved_images";

TEST(ImageSave, RoundTripOfEveryBitmapKindInEveryFormatIsPixelIdentical)
{
    std::filesystem::create_directory(SAVED);
    struct Kind {
        int bits;
        int compression;
        int colours;
    };
    const Kind kinds[] = {{1, 0, 2}, {4, 0, 16}, {8, 0, 256}, {16, 0, 0}, {16, 3, 0}, {24, 0, 0}, {32, 0, 0}};
    const int types[3] = {1, 2, 15};
    const char* extension[3] = {".bmp", ".pcx", ".png"};
    for (const Kind& k : kinds) {
        auto pal = k.colours ? palette(k.colours) : std::vector<uint32_t>();
        Picture pic = k.colours ? indexed_picture(7, 5, pal) : rgb_picture(7, 5);
        Picture expected = pic;
        for (uint32_t& c : expected.pixels)
            c = k.bits != 16 ? c : k.compression == 3 ? rgb565(c) : rgb555(c);
        for (int t = 0; t < 3; ++t) {
            // BMP captures are the picture's width; PCX and PNG captures are made even.
            DibImage dib = make_dib(pic, types[t] == 1 ? 7 : 8, k.bits, k.compression, pal);
            std::string name = SAVED + "/save_" + std::to_string(k.bits) + "_" +
                               std::to_string(k.compression) + "_7x5" + extension[t];
            int status = -1, code = -1;
            img_dib_save(types[t], dib, 7, 5, name, status, code);
            ASSERT_EQ(status, 0) << name;
            std::vector<uint32_t> back(35, 0xA5A5A5A5u);
            IErrorInfo(1);
            IImgLoadPixels(name, back);
            EXPECT_EQ(IErrorInfo(1), 0) << name;
            EXPECT_EQ(back, expected.pixels) << name;
        }
    }
}

TEST(ImageSave, PcxRunsOfAtMost63AndHighBytesAlwaysCoded)
{
    struct Case {
        Bytes line;
        Bytes coded;
    };
    const Case cases[] = {
        {Bytes(200, 7), {0xFF, 7, 0xFF, 7, 0xFF, 7, 0xCB, 7}},  // 63, 63, 63, 11
        {{0xC5}, {0xC1, 0xC5}},
        {{1, 2, 2, 0xBF}, {1, 0xC2, 2, 0xBF}},
    };
    for (const Case& c : cases) {
        Bytes out;
        IImgPcxPut(c.line.data(), int(c.line.size()), out);
        EXPECT_EQ(out, c.coded);
    }
}

TEST(ImageSave, OddWidthHeaderFields)
{
    std::filesystem::create_directory(SAVED);
    Picture pic = rgb_picture(101, 3);
    DibImage dib = make_dib(pic, 102, 24, 0, {});
    int status = -1, code = -1;
    img_dib_save(2, dib, 101, 3, SAVED + "/wide_24_101x3.pcx", status, code);
    ASSERT_EQ(status, 0);
    Bytes pcx = read_file(SAVED + "/wide_24_101x3.pcx");
    EXPECT_EQ(pcx[8] | pcx[9] << 8, 100);    // xmax
    EXPECT_EQ(pcx[66] | pcx[67] << 8, 102);  // bytes per line
    EXPECT_EQ(pcx[65], 3);                   // planes

    img_dib_save(15, dib, 101, 3, SAVED + "/wide_24_101x3.png", status, code);
    ASSERT_EQ(status, 0);
    Bytes png = read_file(SAVED + "/wide_24_101x3.png");
    EXPECT_EQ(png[16] << 24 | png[17] << 16 | png[18] << 8 | png[19], 101);
    // The only IDAT chunk follows IHDR: its rows hold 303 bytes after the filter byte.
    const size_t idat = 33;
    ASSERT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
    uLong length = png[idat] << 24 | png[idat + 1] << 16 | png[idat + 2] << 8 | png[idat + 3];
    Bytes raw(10000);
    uLongf raw_length = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &raw_length, png.data() + idat + 8, length), Z_OK);
    EXPECT_EQ(raw_length, 3u * 304);
}

TEST(ImageSave, TypeFollowsTheUpperCasedExtension)
{
    struct Case {
        std::string name;
        int type;
    };
    const Case cases[] = {{"picture.png", 15}, {"PICTURE.PNG  ", 15}, {"a.Bmp", 1}, {"a.pcx", 2},
                          {"a.gif", 2},        {"noextension", 2},    {"png", 2},   {"", 2}};
    for (const Case& c : cases)
        EXPECT_EQ(img_save_type(c.name), c.type) << c.name;
}

TEST(ImageSave, FailedSavesGiveStatusAndSystemCode)
{
    Picture pic = rgb_picture(4, 2);
    DibImage dib = make_dib(pic, 4, 24, 0, {});
    int status = -1, code = 0;
    img_dib_save(1, dib, 4, 2, "no_such_folder/x.bmp", status, code);
    EXPECT_EQ(status, 1);
    EXPECT_NE(code, 0);
    DibImage broken = dib;
    broken.bits.resize(5);  // fewer bytes than its rows need
    img_dib_save(1, broken, 4, 2, "broken.bmp", status, code);
    EXPECT_EQ(status, 1);
#ifndef _WIN32
    // A full device: the write (or the close that writes out) comes short.
    for (int type : {1, 2, 15}) {
        img_dib_save(type, dib, 4, 2, "/dev/full", status, code);
        EXPECT_EQ(status, 2) << type;
        EXPECT_NE(code, 0);
    }
#endif
}

}  // namespace
