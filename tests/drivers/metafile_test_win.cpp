// The metafile driver (device 11): the placeable header, the three file formats, the clipboard
// pictures, failures, and the playback of each format.
#include "driver_fixture.h"

#include "toolkit/common/error_state.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hc_plot_file.h"
#include "toolkit/drivers/hc_printer_win.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>

namespace {

class Metafile : public DriverFixture {
protected:
    void SetUp() override
    {
        DriverFixture::SetUp();
        IHcDeviceSelect(GrOpInitialise, 11);
    }
    // One picture through the front end: a line, a filled polygon and a polyline of 5000 points.
    static void draw(std::optional<std::string_view> name)
    {
        IHcOpen(name, "Picture");
        send_line(10, 10, 600, 400);
        auto& P = GrPolylineBuffer;
        for (int i = 1; i <= GR_POLYLINE_MAX; ++i) {
            P.X(i) = static_cast<float>(20 + (i % 500));
            P.Y(i) = static_cast<float>(100 + 50 * ((i / 7) % 2));
        }
        auto& B = GrPrimitiveBlock;
        B.NPTS = GR_POLYLINE_MAX;
        IHcSendOp(GrOpPolyline);
        B.FILL(FILL_STYLE) = 4;
        B.NVAL = 1;
        B.NPTS = 3;
        P.X(1) = 300, P.Y(1) = 300, P.X(2) = 400, P.Y(2) = 300, P.X(3) = 350, P.Y(3) = 450;
        IHcSendOp(GrOpPolygonPattern);
        IHcOpen("S", " ");
    }
};

TEST_F(Metafile, DefaultsAndPlaceableHeader)
{
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 756);
    EXPECT_EQ(HcOptions(HC_OPT_PAGE_HEIGHT), 540);
    EXPECT_EQ(HcOptions(HC_OPT_METAFILE_FORMAT), 1);
    GrPrimitiveBlock.NPTS = HC_PROBE;
    IHcDriverCall(GrOpInitialise);
    EXPECT_EQ(GrPrimitiveBlock.NPTS, 11);
    // Option 27 outside 0..2 counts as 1, the placeable file.
    for (int format : {1, 7}) {
        HcOptions(HC_OPT_METAFILE_FORMAT) = format;
        std::remove("placeable.wmf");
        draw("placeable.wmf");
        EXPECT_EQ(ERROR_STATE.last_error, 0);
        const std::string bytes = read_file("placeable.wmf");
        const unsigned char head[22] = {0xD7, 0xCD, 0xC6, 0x9A, 0,    0, 0, 0, 0, 0,    0x04,
                                        0x29, 0x4C, 0x1D, 0xE8, 0x03, 0, 0, 0, 0, 0xB1, 0x60};
        ASSERT_GT(bytes.size(), 40u) << format;
        EXPECT_EQ(bytes.substr(0, 22), std::string(reinterpret_cast<const char*>(head), 22)) << format;
        // The records follow: a disk or memory metafile header of 9 words.
        EXPECT_EQ(bytes[24], 9);
    }
}

TEST_F(Metafile, FormatsByOption27)
{
    const struct {
        int format;
        const char* name;
        std::string start;
        std::size_t at;
    } cases[] = {{0, "plain.wmf", std::string("\x01\x00\x09\x00", 4), 0}, {2, "enhanced.emf", " EMF", 40}};
    for (const auto& c : cases) {
        HcOptions(HC_OPT_METAFILE_FORMAT) = c.format;
        std::remove(c.name);
        draw(c.name);
        EXPECT_EQ(ERROR_STATE.last_error, 0) << c.name;
        const std::string bytes = read_file(c.name);
        ASSERT_GT(bytes.size(), c.at + 4) << c.name;
        EXPECT_EQ(bytes.substr(c.at, c.start.size()), c.start) << c.name;
    }
    // The EMF's description: the driver's name, then the title.
    const std::string emf = read_file("enhanced.emf");
    EXPECT_NE(emf.find(std::string("R\0U\0V\0 \0m\0e\0t\0a", 16)), std::string::npos);
}

TEST_F(Metafile, MissingDirectoryIsErrorOneAndOutputOff)
{
    for (int format : {0, 1, 2}) {
        HcOptions(HC_OPT_METAFILE_FORMAT) = format;
        ERROR_STATE.last_error = 0;
        IHcOpen("no_such_directory\\x.wmf", "T");
        EXPECT_EQ(ERROR_STATE.last_error, 1) << format;
        EXPECT_EQ(GrOutputSwitch.hardcopy, 0) << format;
        EXPECT_NE(HcPlotStatus, 0) << format;
        IHcOpen("S", " ");
    }
    EXPECT_EQ(GetFileAttributesA("no_such_directory"), INVALID_FILE_ATTRIBUTES);
}

// No file name: the picture goes to the clipboard, as a metafile picture of 26670 x 19050 (0.01 mm) in
// anisotropic mode, or as an enhanced metafile.
TEST_F(Metafile, ClipboardPictures)
{
    for (int format : {1, 0, 2}) {
        HcOptions(HC_OPT_METAFILE_FORMAT) = format;
        std::remove("zirazo.plt");
        draw(std::nullopt);
        EXPECT_EQ(ERROR_STATE.last_error, 0) << format;
        EXPECT_EQ(GetFileAttributesA("zirazo.plt"), INVALID_FILE_ATTRIBUTES) << format;
        ASSERT_TRUE(OpenClipboard(nullptr));
        if (format == 2) {
            auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
            ASSERT_NE(emf, nullptr);
            ENHMETAHEADER h = {};
            GetEnhMetaFileHeader(emf, sizeof h, &h);
            EXPECT_EQ(h.rclFrame.right, 26670);
            EXPECT_EQ(h.rclFrame.bottom, 19050);
        } else {
            HGLOBAL block = GetClipboardData(CF_METAFILEPICT);
            ASSERT_NE(block, nullptr) << format;
            const auto* pict = static_cast<const METAFILEPICT*>(GlobalLock(block));
            ASSERT_NE(pict, nullptr);
            EXPECT_EQ(pict->mm, MM_ANISOTROPIC);
            EXPECT_EQ(pict->xExt, 26670);
            EXPECT_EQ(pict->yExt, 19050);
            EXPECT_GT(GetMetaFileBitsEx(pict->hMF, 0, nullptr), 5000u * 4);  // the 5000-point polyline
            GlobalUnlock(block);
        }
        CloseClipboard();
    }
}

// A clipboard that another thread holds open refuses the picture: error 2 ("Error reading/writing file
// or device") instead of a hardcopy that looks successful.
TEST_F(Metafile, ClipboardHeldElsewhereIsErrorTwo)
{
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Events {
        HANDLE opened, release;
    } events{opened, release};
    HANDLE holder = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* e = static_cast<Events*>(p);
            HWND owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            const BOOL ok = OpenClipboard(owner);
            SetEvent(e->opened);
            WaitForSingleObject(e->release, 10000);
            if (ok)
                CloseClipboard();
            DestroyWindow(owner);
            return 0;
        },
        &events, 0, nullptr);
    WaitForSingleObject(opened, 10000);
    HcOptions(HC_OPT_METAFILE_FORMAT) = 1;
    draw(std::nullopt);
    EXPECT_EQ(ERROR_STATE.last_error, 2);
    EXPECT_NE(HcPlotStatus, 0);
    SetEvent(release);
    WaitForSingleObject(holder, 10000);
    CloseHandle(holder);
    CloseHandle(opened);
    CloseHandle(release);
}

// Playback: 1 for a missing file, 2 for a file that is no metafile, 0 and a picture for each format.
TEST_F(Metafile, Playback)
{
    const struct {
        int format;
        const char* name;
    } files[] = {{0, "play0.wmf"}, {1, "play1.wmf"}, {2, "play2.emf"}};
    for (const auto& f : files) {
        HcOptions(HC_OPT_METAFILE_FORMAT) = f.format;
        draw(f.name);
    }
    std::ofstream("not_a_metafile.wmf") << "This is text, not a picture.";
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 160, 120, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ replaced = SelectObject(dc, bitmap);
    gr_gdi_bind(dc, -1);
    int status = -1;
    IHcMetafilePlay(0, 0, 0, 159, 119, 0, status, "no_such_file.wmf");
    EXPECT_EQ(status, 1);
    for (int format : {0, 1, 2}) {
        IHcMetafilePlay(format, 0, 0, 159, 119, 0, status, "not_a_metafile.wmf");
        EXPECT_EQ(status, 2) << format;
    }
    const std::size_t row = (160 * 3 + 3) / 4 * 4;
    for (const auto& f : files) {
        PatBlt(dc, 0, 0, 160, 120, WHITENESS);
        IHcMetafilePlay(f.format, 0, 0, 159, 119, 0, status, f.name);
        EXPECT_EQ(status, 0) << f.name;
        GdiFlush();
        int ink = 0;
        const auto* p = static_cast<const unsigned char*>(bits);
        for (std::size_t y = 0; y < 120; ++y)
            for (std::size_t x = 0; x < 160; ++x)
                ink += p[y * row + 3 * x] < 128 ? 1 : 0;
        EXPECT_GT(ink, 100) << f.name;
    }
    gr_gdi_unbind();
    SelectObject(dc, replaced);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// Fault: op 38 put the image status in NPTS and the system code in NVAL, the reverse of the driver
// contract (NVAL the status, NPTS the second error word) that the CGM driver and the rasteriser keep.
// The same op also checks the font: output precision 2 (character precision), not 4.
TEST_F(Metafile, ImageStatusOrderAndFontPrecision)
{
    HcOptions(HC_OPT_METAFILE_FORMAT) = 2;
    std::remove("image.emf");
    IHcOpen("image.emf", "Image");
    ASSERT_EQ(GrOutputSwitch.hardcopy, 1);
    IHcSendOp(GrOpFont);
    LOGFONTA font = {};
    ASSERT_NE(GetObjectA(hc_gdi_draw(HC_METAFILE_DEVICE).font, sizeof font, &font), 0);
    EXPECT_EQ(font.lfOutPrecision, OUT_CHARACTER_PRECIS);
    auto& B = GrPrimitiveBlock;
    B.TEXT.fill(' ');
    const std::string missing = "no_such_image.bmp";
    std::copy(missing.begin(), missing.end(), B.TEXT.begin());
    B.IX(1) = 1;  // BMP
    B.NVAL = B.NPTS = -5;
    IHcSendOp(GrOpImageFile);
    EXPECT_EQ(B.NVAL, ERR_OPEN_FILE);         // the status
    EXPECT_EQ(B.NPTS, ERROR_FILE_NOT_FOUND);  // the system's code
    IHcOpen("S", " ");
    std::remove("image.emf");
}

}  // namespace
