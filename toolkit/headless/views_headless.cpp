// The headless stand-in of the operations of the pictures that live on windows: OpenGL targets,
// off-screen bitmaps, window text, unit conversion and menu states. Each call is recorded; nothing is
// drawn. Window units convert to pixels one to one.
#include "toolkit/graphics/window_text.h"
#include "toolkit/headless/headless.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/menus.h"
#include "toolkit/win/offscreen_bitmap.h"

#include <string>

namespace {

void record(std::string line)
{
    if (HEADLESS.record_calls)
        HEADLESS.calls.push_back(std::move(line));
}

int gl_kind = 0;

}  // namespace

void WGlSelectTarget(int kind, int number, int flags)
{
    gl_kind = kind;
    record("WGlSelectTarget " + std::to_string(kind) + " " + std::to_string(number) + " " +
           std::to_string(flags));
}

void WGlSwapBuffers()
{
    record("WGlSwapBuffers");
}

int gl_surface_kind()
{
    return gl_kind;
}

void WBitmapCreate(int& handle, int width, int height)
{
    handle = HEADLESS.bitmaps_created++ % BITMAP_SLOTS + 1;
    record("WBitmapCreate " + std::to_string(handle) + " " + std::to_string(width) + " " +
           std::to_string(height));
}

void WBitmapPut(int handle, int area_mode, int stretch, std::optional<int>, std::optional<int>,
                std::optional<int>, std::optional<int>)
{
    record("WBitmapPut " + std::to_string(handle) + " " + std::to_string(area_mode) + " " +
           std::to_string(stretch));
}

void WBitmapDestroy(int handle)
{
    record("WBitmapDestroy " + std::to_string(handle));
}

void WGrUnitsToPixels(int x, int y, int& px, int& py)
{
    px = x;
    py = y;
}

void WMenuSetState(int item, int option, int value)
{
    record("WMenuSetState " + std::to_string(item) + " " + std::to_string(option) + " " +
           std::to_string(value));
}
