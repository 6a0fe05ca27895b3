// Graphics file identifier: a fixture of every type gives its type code and info entries; short,
// missing and unnamed files; entry count n; the error mode is kept.
#include "toolkit/graphics/graphics_file_id.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using namespace fixture;
using Info = std::array<int, 6>;

const std::string NAME = "identify_fixture.dat";

Info identify(const Bytes& file, int n = 6)
{
    write_file(NAME, file);
    Info info;
    info.fill(77);
    IImgFileIdentify(NAME, std::span<int>(info.data(), size_t(n)));
    std::remove(NAME.c_str());
    return info;
}

Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

// Binary CGM elements: a 2-byte head (class, id, length) and parameters.
void cgm(Bytes& b, int cls, int id, const Bytes& parameters)
{
    int head = cls << 12 | id << 5 | int(parameters.size());
    b.push_back(head >> 8);
    b.push_back(head & 255);
    b.insert(b.end(), parameters.begin(), parameters.end());
}

Bytes placeable_wmf()
{
    Bytes b;
    le32(b, 0x9AC6CDD7u);
    le16(b, 0);     // handle
    le16(b, 0);     // left
    le16(b, 0);     // top
    le16(b, 1439);  // right
    le16(b, 719);   // bottom
    le16(b, 1440);  // units per inch
    b.resize(64, 0);
    return b;
}

Bytes emf()
{
    Bytes b;
    le32(b, 1);   // record type
    le32(b, 88);  // record size
    b.resize(24, 0);
    le32(b, 0);     // frame left, in 0.01 mm
    le32(b, 0);     // top
    le32(b, 2539);  // right
    le32(b, 5079);  // bottom
    b.insert(b.end(), {' ', 'E', 'M', 'F'});
    b.resize(88, 0);
    return b;
}

Bytes picture_file()
{
    Bytes b(17, 0);
    b[0] = 1;
    b[4] = 1;
    b[6] = 8;
    b[8] = 68;
    b[13] = 12;
    const Bytes ops = {0x60, 0x61, 0xA0, 1, 2,    3, 4,   0x30, 1,   1, 2,    3,    4,
                       5,    6,    7,    8, 0xA8, 9, 'a', 'b',  'c', 0, 0x6F, 0xA7, 5};
    b.insert(b.end(), ops.begin(), ops.end());
    return b;
}

Bytes draw_file()
{
    Bytes b = text("Draw");
    b.resize(32, 0);
    le32(b, 640 * 100);
    le32(b, 640 * 50);
    return b;
}

struct Case {
    std::string what;
    Bytes file;
    Info expected;
};

TEST(GraphicsFileId, EveryTypeGivesItsEntries)
{
    Picture pic = rgb_picture(7, 5);
    Bytes rle8 = bmp_head(6, 3, 8, 1, palette(4), 2);
    rle8.insert(rle8.end(), {0, 1});
    Bytes core = {'B', 'M', 30, 0, 0, 0, 0, 0, 0, 0,  26, 0, 0, 0, 12,
                  0,   0,   0,  1, 0, 1, 0, 1, 0, 24, 0,  0, 0, 0, 0};

    Bytes cgm1;
    cgm(cgm1, 0, 1, {1, 'A'});                       // BEGIN METAFILE
    cgm(cgm1, 1, 17, {0, 0, 0, 0, 7, 208, 3, 232});  // MAXIMUM VDC EXTENT 0 0 2000 1000
    cgm(cgm1, 0, 3, {});                             // BEGIN PICTURE
    cgm(cgm1, 2, 6, {0, 0, 0, 0, 0, 100, 0, 100});   // VDC EXTENT (the maximum one counts)
    cgm(cgm1, 0, 5, {});                             // END PICTURE
    cgm(cgm1, 0, 3, {});
    cgm(cgm1, 0, 5, {});
    cgm(cgm1, 0, 2, {});  // END METAFILE
    Bytes cgm2;
    cgm(cgm2, 0, 1, {1, 'B'});
    cgm(cgm2, 1, 4, {0, 32});                                              // INTEGER PRECISION 32
    cgm(cgm2, 2, 6, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 44, 0, 0, 0, 100});  // 0 0 300 100, no END METAFILE

    const std::string hpgl = "IN; IP 395 0 10865 7478\r\nRO0; IP 395 0 10865 7478\r\nSC-2 8 0 32760\r\n"
                             "SC-13 1 0 32760\r\nSC0 32760 0 32760\r\nPU0,0;PD100,100;\r\n"
                             "SC-3 32 0 32760 ;SC0 32760 0 32760\r\nPU;\r\nSC-3 32 0 32760\r\n";
    const std::string hpgl2 = "\x1b%0BIN;\r\nCO\"13 2\"\r\nCO: title\r\nIP 0 0 10159 7111\r\nCO\"3 1\"\r\n"
                              "PD;\r\nCO\"3 2\"\r\n";
    const std::string dxf = "  0\nSECTION\n  2\nHEADER\n  9\n$EXTMIN\n 10\n0.0\n 20\n0.0\n  9\n$EXTMAX\n"
                            " 10\n8.5\n 20\n11.0\n  0\nENDSEC\n";
    const std::string svg =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\">\n"
        "<!-- a comment -->\n<svg width=\"400.7\" height=\"300\" version=\"1.1\">\n</svg>\n";
    const std::string svg_split = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg>\n<svg version=\"1.1\"\n"
                                  " width=\"400\" height=\"300\">\n</svg>\n";
    const Bytes png_raw(5 * 11, 0);

    const Case cases[] = {
        {"BMP", bmp_file(pic, 24, {}, {}), {1, 7, 5, 16777216, 0, -1}},
        {"top-down BMP gives its negative height",
         bmp_file(pic, 24, {}, {}, true),
         {1, 7, -5, 16777216, 0, -1}},
        {"RLE8 BMP", rle8, {1, 6, 3, 256, 1, -1}},
        {"BMP with the 12-byte header", core, {0, -1, -1, -1, -1, -1}},
        {"PCX 8 bits", pcx_head(7, 5, 8, 1, 8), {2, 7, 5, 256, 5, -1}},
        {"PCX 24 bits", pcx_head(9, 2, 8, 3, 10), {2, 9, 2, 16777216, 5, -1}},
        {"placeable WMF", placeable_wmf(), {3, 72, 36, 1, -1, -1}},
        {"EMF", emf(), {3, 72, 144, 2, -1, -1}},
        {"plain WMF", {1, 0, 9, 0, 0, 3, 0, 0, 0, 0}, {3, -1, -1, 0, -1, -1}},
        {"HP-GL", text(hpgl), {4, 742, 530, 4, 1, 2}},
        {"HP-GL/2", text(hpgl2), {5, 720, 504, 256, 2, 2}},
        {"CGM", cgm1, {6, 1000, 500, 2, -1, -1}},
        {"CGM of 32-bit integers without its end", cgm2, {6, 1000, 333, 1, -1, -1}},
        {"picture file", picture_file(), {7, 3201, 2312, 3, -1, -1}},
        {"Draw", draw_file(), {8, 100, 50, -1, -1, -1}},
        {"terminal stream", text("\x1b[?38h and more"), {9, -1, -1, -1, -1, -1}},
        {"PostScript", text("%!PS-Adobe-3.0\n%%BoundingBox: 0 0 612 792\n"), {10, 612, 792, 1, -1, -1}},
        {"PostScript without box", text("%!PS-Adobe-3.0\n%%Title: x\n"), {10, -1, -1, 0, -1, -1}},
        {"one-line PostScript", text("%!PS\n"), {10, -1, -1, -1, -1, -1}},
        {"PCL",
         text("\x1b"
              "E\x1b*t300R\x1b(s3u1A text"),
         {11, -1, -1, 8, 300, -1}},
        {"PCL without resolution", text("\x1b&a0L text"), {11, -1, -1, 2, -1, -1}},
        {"ESC/P", Bytes{27, '@', 27, '(', 'U', 1, 0, 10, 27, 'r', 4, 'x'}, {12, -1, -1, 8, 360, -1}},
        {"ESC/P with a zero unit", Bytes{27, '@', 27, '(', 'U', 1, 0, 0, 'x'}, {12, -1, -1, 0, -1, -1}},
        {"ESC U", Bytes{27, 'U', 1, 'x', 'y'}, {13, -1, -1, 0, -1, -1}},
        {"DXF", text(dxf), {14, 612, 792, -1, -1, -1}},
        {"PNG", png_file(png_ihdr(10, 4, 8, 3), Bytes(44, 0), palette(2)), {15, 10, 4, 256, 0, -1}},
        {"grey-alpha PNG", png_file(png_ihdr(5, 5, 8, 4), png_raw), {15, 5, 5, -1, 0, -1}},
        {"interlaced RGB PNG", png_file(png_ihdr(5, 5, 8, 2, 1), png_raw), {15, 5, 5, 16777216, 1, -1}},
        {"SVG", text(svg), {16, 400, 300, -1, -1, -1}},
        {"SVG with the size on the next line", text(svg_split), {16, -1, -1, -1, -1, -1}},
        {"text", text("hello world\n"), {0, -1, -1, -1, -1, -1}},
        {"text that starts with IN", text("  INSIDE, whatever follows"), {4, -1, -1, -1, -1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(identify(c.file), c.expected) << c.what;
}

TEST(GraphicsFileId, ShortMissingAndUnnamedFilesWriteEntryOneOnly)
{
    EXPECT_EQ(identify({'B', 'M', 0}), (Info{0, 77, 77, 77, 77, 77}));
    Info info;
    info.fill(77);
    IImgFileIdentify("no_such_file.png", info);
    EXPECT_EQ(info, (Info{-1, 77, 77, 77, 77, 77}));
    IImgFileIdentify("     ", info);
    EXPECT_EQ(info[0], -1);
    // n = 1: only the type.
    Picture pic = rgb_picture(3, 2);
    EXPECT_EQ(identify(bmp_file(pic, 24, {}, {}), 1), (Info{1, 77, 77, 77, 77, 77}));
    // n = 3: type and size.
    EXPECT_EQ(identify(bmp_file(pic, 24, {}, {}), 3), (Info{1, 3, 2, 77, 77, 77}));
}

// Found by fuzzing: a picture-file record 0x30 with a count byte of 255 is passed over as
// (255 + 1) x 4 = 1024 bytes, which the scan read into a 256-byte buffer on the stack.
TEST(GraphicsFileId, PictureScanPassesOverTheLongestRecord)
{
    Bytes b = picture_file();
    b.resize(17);
    b.insert(b.end(), {0x30, 255});   // a record of 1024 bytes follows
    b.insert(b.end(), 1024, 0x61);    // colour codes inside the record are no colours
    b.insert(b.end(), {0x62, 0x63});  // two colour codes after it
    EXPECT_EQ(identify(b), (Info{7, 3201, 2312, 2, -1, -1}));
}

TEST(GraphicsFileId, TextScansKeepTheErrorMode)
{
    IErrorModeSet(1);
    // Words that do not convert are read with the error mode 0 and do not print.
    EXPECT_EQ(identify(text("IN;IP a b c d;SC x y\n")), (Info{4, -1, -1, -1, -1, 1}));
    EXPECT_EQ(identify(text("%!PS\n")), (Info{10, -1, -1, -1, -1, -1}));
    EXPECT_EQ(IErrorInfo(4), 1);
    IErrorModeSet(0);
}

TEST(WordReader, TakesOneBlankDelimitedWordAtATime)
{
    std::string line = "  12 -7   3.5E2 x";
    int i = 0;
    IStrNextWordInteger(line, i);
    EXPECT_EQ(i, 12);
    IStrNextWordInteger(line, i);
    EXPECT_EQ(i, -7);
    float r = 0;
    IStrNextWordReal(line, r);
    EXPECT_EQ(r, 350.0f);
    IErrorInfo(1);
    IStrNextWordInteger(line, i);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(IErrorInfo(1), ERR_INVALID_CHARACTER);
    IStrNextWordReal(line, r);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(IErrorInfo(1), ERR_NO_SUBSTRING);
    std::string d = "1.5D1";
    IStrNextWordReal(d, r);
    EXPECT_EQ(r, 15.0f);
}

TEST(GraphicsFileId, ReadLittleAndBigEndianFields)
{
    const unsigned char b[4] = {0x01, 0x02, 0x03, 0x84};
    uint32_t v = 0;
    IImgReadLE(b, 2, v);
    EXPECT_EQ(v, 0x0201u);
    IImgReadLE(b, 4, v);
    EXPECT_EQ(v, 0x84030201u);
    IImgReadBE32(b, v);
    EXPECT_EQ(v, 0x01020384u);
}

}  // namespace
