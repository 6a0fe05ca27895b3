// Off-screen bitmaps: the table of 20, the fill, pixel transfer, copies into the drawing surface by
// area mode, stretch and transfer mode, selection as drawing surface, and saving the graphics area.
#include "toolkit/win/offscreen_bitmap_win.h"

#include "toolkit/common/error_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/graphics/image_load.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF BACKGROUND = RGB(1, 2, 3);
constexpr int W = 40, H = 30;

// A 24-bit surface of 40 x 30 pixels in a memory context, bound as the drawing surface.
struct Bitmaps : ::testing::Test {
    void SetUp() override
    {
        IGrColourTableInit();
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = W;
        info.bmiHeader.biHeight = H;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(dc && surface);
        replaced = SelectObject(dc, surface);
        clear();
        bind_surface();
        IGrBitmapMode(0);
        IErrorInfo(1);
    }
    void TearDown() override
    {
        for (int handle = 1; handle <= BITMAP_SLOTS; ++handle)
            if (GrBitmapTable.slot[handle - 1].bitmap)
                WBitmapDestroy(handle);
        gr_gdi_unbind();
        SelectObject(dc, replaced);
        DeleteObject(surface);
        DeleteDC(dc);
    }
    void clear()
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                SetPixel(dc, x, y, BACKGROUND);
    }
    void bind_surface()
    {
        gr_gdi_bind(dc, -1);
        GrTarget.kind = 2;
        GrTarget.number = 99;
        IGrSurfaceSetup(2, 99, W, H);
        IGrArea(0.0f, 0.0f, 1.0f, 1.0f);
    }
    // A bitmap of the given size whose pixel (x, y) is pattern(x, y).
    int make_bitmap(int width, int height)
    {
        int handle = 0;
        WBitmapCreate(handle, width, height);
        EXPECT_GE(handle, 1);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(pattern(x, y));
        int error = -1;
        IGrBitmapPixelsSet(handle - 1, pixels, error);
        EXPECT_EQ(error, 0);
        return handle;
    }
    static uint32_t pattern(int x, int y) { return RGB(x * 12 + 10, y * 9 + 20, 200 - x * y); }
    HDC dc = nullptr;
    HBITMAP surface = nullptr;
    HGDIOBJ replaced = nullptr;
};

TEST_F(Bitmaps, TableOfTwentyAndTheLowestFreeHandle)
{
    for (int i = 1; i <= BITMAP_SLOTS; ++i) {
        int handle = 0;
        WBitmapCreate(handle, 5, 4);
        EXPECT_EQ(handle, i);
    }
    int handle = -5;
    WBitmapCreate(handle, 5, 4);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(IErrorInfo(1), ERR_BITMAP_CREATE);
    WBitmapDestroy(7);
    WBitmapDestroy(3);
    WBitmapCreate(handle, 5, 4);
    EXPECT_EQ(handle, 3);
    EXPECT_EQ(IErrorInfo(1), 0);
    for (int bad : {0, 21, 7}) {
        WBitmapDestroy(bad);
        EXPECT_EQ(IErrorInfo(1), ERR_BITMAP_HANDLE) << bad;
    }
}

TEST_F(Bitmaps, FilledWithColourZeroAndPixelsRoundTrip)
{
    int handle = 0;
    WBitmapCreate(handle, 6, 3);
    int zero = 0;
    IGrColourRGBGet(0, zero);
    std::vector<uint32_t> got(18, 7);
    int error = -1;
    IGrBitmapPixelsGet(handle - 1, got, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(got, std::vector<uint32_t>(18, uint32_t(zero)));
    handle = make_bitmap(6, 3);
    IGrBitmapPixelsGet(handle - 1, got, error);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(got[i], pattern(i % 6, i / 6)) << i;
    IGrBitmapPixelsGet(15, got, error);
    EXPECT_EQ(error, ERR_BITMAP_HANDLE);
    int width = -1, height = -1;
    IGrBitmapSize(handle - 1, width, height);
    EXPECT_EQ(width * 10 + height, 63);
    IGrBitmapSize(15, width, height);
    EXPECT_EQ(width + height, 0);
}

TEST_F(Bitmaps, PutByCornersIntoTheSpannedRectangle)
{
    int handle = make_bitmap(20, 20);
    // Corners (10, 20) and (5, 8): the rectangle at (5, 8) of 6 by 13 pixels, one to one.
    WBitmapPut(handle, 1, 0, 10, 20, 5, 8);
    for (int y = 8; y <= 20; ++y)
        for (int x = 5; x <= 10; ++x)
            ASSERT_EQ(GetPixel(dc, x, y), pattern(x - 5, y - 8)) << x << ", " << y;
    EXPECT_EQ(GetPixel(dc, 4, 8), BACKGROUND);
    EXPECT_EQ(GetPixel(dc, 11, 8), BACKGROUND);
    EXPECT_EQ(GetPixel(dc, 5, 21), BACKGROUND);
    // An absent corner copies nothing; a bad handle raises 1021 and copies nothing.
    WBitmapPut(handle, 1, 0, 30, 0, 39);
    EXPECT_EQ(GetPixel(dc, 30, 0), BACKGROUND);
    WBitmapPut(21, 0, 0);
    EXPECT_EQ(IErrorInfo(1), ERR_BITMAP_HANDLE);
    EXPECT_EQ(GetPixel(dc, 0, 0), BACKGROUND);
}

TEST_F(Bitmaps, PutWholeSurfaceStretchedAndIntoTheGraphicsArea)
{
    int handle = make_bitmap(2, 2);
    WBitmapPut(handle, 0, 1);
    EXPECT_EQ(GetPixel(dc, 0, 0), pattern(0, 0));
    EXPECT_EQ(GetPixel(dc, W - 1, 0), pattern(1, 0));
    EXPECT_EQ(GetPixel(dc, 0, H - 1), pattern(0, 1));
    EXPECT_EQ(GetPixel(dc, W - 1, H - 1), pattern(1, 1));

    // Area mode 2: the right half of the lower half (y from the bottom).
    clear();
    IGrArea(0.5f, 0.0f, 1.0f, 0.5f);
    int big = make_bitmap(30, 30);
    WBitmapPut(big, 2, 0);
    const int left = GrDeviceArea.ix1, top = GrSurface.max_row - GrDeviceArea.iy2;
    EXPECT_EQ(GetPixel(dc, left, top), pattern(0, 0));
    EXPECT_EQ(GetPixel(dc, left + 5, top + 7), pattern(5, 7));
    EXPECT_EQ(GetPixel(dc, left - 1, top), BACKGROUND);
    EXPECT_EQ(GetPixel(dc, left, top - 1), BACKGROUND);
}

TEST_F(Bitmaps, InvertingTransferTwiceRestoresTheSurface)
{
    int handle = make_bitmap(8, 8);
    IGrBitmapMode(3);
    WBitmapPut(handle, 1, 0, 0, 0, 7, 7);
    EXPECT_EQ(GetPixel(dc, 1, 1), (BACKGROUND ^ pattern(1, 1)) & 0xFFFFFF);
    WBitmapPut(handle, 1, 0, 0, 0, 7, 7);
    EXPECT_EQ(GetPixel(dc, 1, 1), BACKGROUND);
    IGrBitmapMode(9);  // no such mode: unchanged
    EXPECT_EQ(GrGdiContext.transfer, DWORD(SRCINVERT));
}

TEST_F(Bitmaps, SelectedBitmapIsTheDrawingSurfaceUntilAnotherIsBound)
{
    int handle = make_bitmap(10, 10);
    int status = -1, width = 0, height = 0;
    IGrBitmapSelect(handle - 1, status, width, height);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(width, 10);
    EXPECT_EQ(GrGdiContext.bitmap, handle - 1);
    SetPixel(GrGdiContext.dc, 2, 3, RGB(255, 0, 0));
    // Back to the surface: the bitmap's context is released, and the bitmap copies as drawn.
    bind_surface();
    WBitmapPut(handle, 1, 0, 0, 0, 9, 9);
    EXPECT_EQ(GetPixel(dc, 2, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 3), pattern(3, 3));
    IGrBitmapSelect(16, status, width, height);
    EXPECT_EQ(status, 1);

    // Grab: the surface rectangle at (2, 3) into the bitmap's corner.
    IGrBitmapGrab(handle - 1, 2, 3, 2, 2);
    std::vector<uint32_t> got(100);
    int error = -1;
    IGrBitmapPixelsGet(handle - 1, got, error);
    EXPECT_EQ(got[0], uint32_t(RGB(255, 0, 0)));
    EXPECT_EQ(got[1], pattern(3, 3));

    // Deleting the selected bitmap leaves no deleted context bound.
    IGrBitmapSelect(handle - 1, status, width, height);
    HDC bitmap_dc = GrGdiContext.dc;
    WBitmapDestroy(handle);
    EXPECT_EQ(IErrorInfo(1), 0);
    EXPECT_NE(GrGdiContext.dc, bitmap_dc);
}

// A copy between a bitmap and the drawing surface, each way, from a source corner to a target corner.
TEST_F(Bitmaps, CopyBetweenBitmapAndSurfaceBothWays)
{
    int handle = make_bitmap(10, 10);
    // Bitmap (2, 3) to surface (20, 5), 4 by 3 pixels.
    IGrBitmapCopy(handle - 1, 2, 3, 20, 5, 4, 3, 1);
    EXPECT_EQ(GetPixel(dc, 20, 5), pattern(2, 3));
    EXPECT_EQ(GetPixel(dc, 23, 7), pattern(5, 5));
    EXPECT_EQ(GetPixel(dc, 24, 7), BACKGROUND);
    EXPECT_EQ(GetPixel(dc, 20, 8), BACKGROUND);
    // Surface (20, 5) back into the bitmap at (6, 7): what was copied out returns there.
    SetPixel(dc, 21, 6, RGB(255, 0, 0));
    IGrBitmapCopy(handle - 1, 20, 5, 6, 7, 2, 2, 0);
    std::vector<uint32_t> got(100);
    int error = -1;
    IGrBitmapPixelsGet(handle - 1, got, error);
    EXPECT_EQ(got[7 * 10 + 6], pattern(2, 3));
    EXPECT_EQ(got[8 * 10 + 7], uint32_t(RGB(255, 0, 0)));
    EXPECT_EQ(got[7 * 10 + 5], pattern(5, 7));  // beside the target: untouched
    // An empty slot copies nothing either way.
    IGrBitmapCopy(15, 0, 0, 0, 0, 5, 5, 1);
    EXPECT_EQ(GetPixel(dc, 0, 0), BACKGROUND);
}

TEST_F(Bitmaps, SaveImageWritesTheGraphicsAreaOfABitmapSurface)
{
    int handle = make_bitmap(9, 6);
    int status = -1, width = 0, height = 0;
    IGrBitmapSelect(handle - 1, status, width, height);
    ASSERT_EQ(status, 0);
    GrTarget.kind = 2;
    GrTarget.number = handle;
    IGrSurfaceSetup(2, handle, width, height);
    IGrArea(0.0f, 0.5f, 1.0f, 1.0f);  // the upper half: its pixel box, rows counted downwards
    const int left = GrDeviceArea.ix1, top = GrSurface.max_row - GrDeviceArea.iy2;
    const int columns = GrDeviceArea.pixel_width, rows = GrDeviceArea.pixel_height;
    ASSERT_LT(rows, 6);
    for (std::string name : {"area.bmp", "area.pcx", "  area.png  "}) {
        IGrSaveImage(name);
        EXPECT_EQ(IErrorInfo(1), 0) << name;
        std::vector<uint32_t> back(size_t(columns * rows), 0);
        IImgLoadPixels(name, back);
        EXPECT_EQ(IErrorInfo(1), 0) << name;
        for (int i = 0; i < columns * rows; ++i)
            ASSERT_EQ(back[i], pattern(left + i % columns, top + i / columns)) << name << " " << i;
    }
    gr_gdi_unbind();
    IGrSaveImage("nothing.png");
    EXPECT_EQ(IErrorInfo(1), 1);
}

}  // namespace
