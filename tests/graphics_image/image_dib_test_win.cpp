// Image files on a GDI drawing context: files of every format drawn at their size, stretched and
// clipped; rectangles captured and saved in every format read back pixel for pixel.
#include "toolkit/graphics/image_dib_win.h"
#include "toolkit/graphics/image_load.h"

#include "tests/graphics_image/image_fixtures.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace fixture;

const std::string NAME = "image_dib_fixture.img";
constexpr COLORREF BACKGROUND = RGB(1, 2, 3);

// A 24-bit surface of 40 x 30 pixels in a memory context, filled with BACKGROUND.
struct Surface : ::testing::Test {
    void SetUp() override
    {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 40;
        info.bmiHeader.biHeight = 30;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(dc && bitmap);
        replaced = SelectObject(dc, bitmap);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                SetPixel(dc, x, y, BACKGROUND);
    }
    void TearDown() override
    {
        SelectObject(dc, replaced);
        DeleteObject(bitmap);
        DeleteDC(dc);
        std::remove(NAME.c_str());
    }
    void paint(const Picture& pic, int x0, int y0)
    {
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x)
                SetPixel(dc, x0 + x, y0 + y, pic.at(x, y));
    }
    // Pixels x0.., y0.. of the surface, as a picture of the given size.
    std::vector<uint32_t> pixels(int x0, int y0, int width, int height)
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.push_back(GetPixel(dc, x0 + x, y0 + y) & 0xFFFFFF);
        return out;
    }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ replaced = nullptr;
};

TEST_F(Surface, FilesOfEveryFormatDrawAtTheirSize)
{
    Picture pic = rgb_picture(7, 5);
    auto pal = palette(256);
    Picture indexed = indexed_picture(9, 4, pal);
    Bytes raw;
    for (int y = 0; y < 5; ++y) {
        raw.push_back(0);
        for (int x = 0; x < 7; ++x)
            for (int s = 0; s < 3; ++s)
                raw.push_back(pic.at(x, y) >> (8 * s) & 255);
    }
    Bytes pcx = pcx_head(7, 5, 8, 3, 8);
    for (int y = 0; y < 5; ++y)
        for (int k = 0; k < 3; ++k) {
            Bytes line(8, 0);
            for (int x = 0; x < 7; ++x)
                line[x] = pic.at(x, y) >> (8 * k) & 255;
            pcx_runs(pcx, line);
        }
    struct Case {
        std::string what;
        int type;
        Bytes file;
        Picture picture;
    };
    const Case cases[] = {
        {"BMP 24", 1, bmp_file(pic, 24, {}, {}), pic},
        {"BMP 8, V5 header", 1, bmp_file(indexed, 8, pal, indices(9, 4, 256), false, 124), indexed},
        {"PCX 24", 2, pcx, pic},
        {"PNG RGB", 15, png_file(png_ihdr(7, 5, 8, 2), raw), pic},
    };
    for (const Case& c : cases) {
        SetUp();
        write_file(NAME, c.file);
        int status = -1, code = -1;
        IImgFileDraw(dc, nullptr, c.type, 5, 7, 0, 0, 0, status, code, NAME);
        ASSERT_EQ(status, 0) << c.what;
        EXPECT_EQ(pixels(5, 7, c.picture.width, c.picture.height), c.picture.pixels) << c.what;
        EXPECT_EQ(GetPixel(dc, 4, 7), BACKGROUND) << c.what;
        EXPECT_EQ(GetPixel(dc, 5 + c.picture.width, 7), BACKGROUND) << c.what;
        TearDown();
    }
}

TEST_F(Surface, StretchedAndClippedDrawing)
{
    Picture quads{2, 2, {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255)}};
    write_file(NAME, bmp_file(quads, 24, {}, {}));
    int status = -1, code = -1;
    IImgFileDraw(dc, nullptr, 1, 10, 10, 17, 17, 1, status, code, NAME);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(GetPixel(dc, 10, 10), COLORREF(quads.at(0, 0)));
    EXPECT_EQ(GetPixel(dc, 17, 10), COLORREF(quads.at(1, 0)));
    EXPECT_EQ(GetPixel(dc, 10, 17), COLORREF(quads.at(0, 1)));
    EXPECT_EQ(GetPixel(dc, 17, 17), COLORREF(quads.at(1, 1)));
    EXPECT_EQ(GetPixel(dc, 18, 17), BACKGROUND);

    // At its own size the drawing keeps inside the clip region: only the left column shows.
    HRGN clip = CreateRectRgn(0, 0, 31, 30);
    IImgFileDraw(dc, clip, 1, 30, 0, 0, 0, 0, status, code, NAME);
    DeleteObject(clip);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(GetPixel(dc, 30, 0), COLORREF(quads.at(0, 0)));
    EXPECT_EQ(GetPixel(dc, 31, 0), BACKGROUND);
}

TEST_F(Surface, UnreadableFilesGiveTheirStatus)
{
    int status = -1, code = 0;
    IImgFileDraw(dc, nullptr, 15, 0, 0, 0, 0, 0, status, code, "no_such_file.png");
    EXPECT_EQ(status, 1);
    EXPECT_NE(code, 0);
    write_file(NAME, png_file(png_ihdr(3, 3, 8, 0), Bytes(12, 0)));
    IImgFileDraw(dc, nullptr, 15, 0, 0, 0, 0, 0, status, code, NAME);
    EXPECT_EQ(status, 27);
    EXPECT_EQ(GetPixel(dc, 0, 0), BACKGROUND);
}

TEST_F(Surface, CapturedRectanglesSavedInEveryFormatReadBack)
{
    Picture pic = rgb_picture(7, 5);  // odd width: PCX and PNG captures are made 8 wide
    paint(pic, 3, 4);
    for (int type : {1, 2, 15}) {
        int status = -1, code = -1;
        IImgFileSave(dc, nullptr, type, 3, 4, 9, 8, status, code, NAME);
        ASSERT_EQ(status, 0) << type;
        std::vector<uint32_t> back(35, 0);
        IImgLoadPixels(NAME, back);
        EXPECT_EQ(back, pic.pixels) << type;
    }
    DibImage dib;
    int code = 0;
    EXPECT_TRUE(img_dc_capture(dc, nullptr, 3, 4, 9, 8, true, dib, code));
    EXPECT_EQ(dib.width, 8);
    EXPECT_EQ(dib.bit_count, 24);
    EXPECT_FALSE(img_dc_capture(dc, nullptr, 9, 4, 3, 8, false, dib, code));  // an empty rectangle
}

TEST_F(Surface, RepeatedCapturesReleaseTheirGdiObjects)
{
    // Every context, bitmap and selection of a capture is released: the process's GDI object count
    // stays where it was (where the platform counts them).
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 50; ++i) {
        DibImage dib;
        int code = 0;
        ASSERT_TRUE(img_dc_capture(dc, nullptr, 0, 0, 39, 29, false, dib, code));
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
}

}  // namespace
