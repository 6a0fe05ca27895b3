// The screen reference of the scene: page 1 drawn by the screen driver on a 24-bit off-screen bitmap
// and saved as a PNG file.
#include "tools/hcscene/hcscene.h"

#include "toolkit/drivers/hc_printer_win.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_reset.h"
#include "toolkit/graphics/image_save.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// Draws on a white 24-bit off-screen bitmap of the scene's size, bound as the screen, and saves it as a
// PNG file.
template <class Draw>
bool render_png(const std::string& png, Draw draw)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = SCENE_WIDTH;
    info.bmiHeader.biHeight = SCENE_HEIGHT;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP surface = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!surface) {
        std::fprintf(stderr, "hcscene: no off-screen bitmap (system error %lu)\n", GetLastError());
        if (dc)
            DeleteDC(dc);
        return false;
    }
    HGDIOBJ replaced = SelectObject(dc, surface);
    const int row = static_cast<int>(img_dib_row_bytes(SCENE_WIDTH, 24));
    std::memset(bits, 0xFF, static_cast<std::size_t>(row) * SCENE_HEIGHT);  // white paper

    gr_gdi_bind(dc, -1);
    GrTarget.kind = 2;
    GrTarget.number = 99;
    GrOutputSwitch.screen = 1;
    GrOutputSwitch.hardcopy = 0;
    IGrSurfaceSetup(2, 99, SCENE_WIDTH, SCENE_HEIGHT);
    gr_area(0.0f, 0.0f, 1.0f, 1.0f);
    IGrScreenDriver(GrOpOpen);
    const bool drawn = draw();
    GdiFlush();

    DibImage dib;
    dib.width = SCENE_WIDTH;
    dib.height = SCENE_HEIGHT;
    dib.bit_count = 24;
    const auto* first = static_cast<const unsigned char*>(bits);
    dib.bits.assign(first, first + static_cast<std::size_t>(row) * SCENE_HEIGHT);
    gr_gdi_unbind();
    SelectObject(dc, replaced);
    DeleteObject(surface);
    DeleteDC(dc);

    int status = 0, code = 0;
    img_dib_save(15, dib, SCENE_WIDTH, SCENE_HEIGHT, png, status, code);
    if (status != 0) {
        std::fprintf(stderr, "hcscene: %s not written (status %d, system error %d)\n", png.c_str(), status,
                     code);
        return false;
    }
    return drawn;
}

}  // namespace

bool save_screen_reference(const std::string& png)
{
    return render_png(png, [] {
        draw_scene(1);
        return true;
    });
}

bool save_playback(int format, const std::string& file, const std::string& png)
{
    return render_png(png, [&] {
        int status = 0;
        IHcMetafilePlay(format, 0, 0, SCENE_WIDTH - 1, SCENE_HEIGHT - 1, 0, status, file);
        if (status != 0)
            std::fprintf(stderr, "hcscene: %s not played (status %d)\n", file.c_str(), status);
        return status == 0;
    });
}
