// The 3-D views drawn by OpenGL under Wine: the view after data input in a window, read from the screen
// and from the back buffer, and the live surface picture in an off-screen bitmap, read back pixel by
// pixel.
#include "app/displays/clear_display_state.h"
#include "app/displays/colour_scale.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/displays/view_3d_gl.h"
#include "app/state/box.h"
#include "app/state/display.h"
#include "app/state/surface.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/offscreen_bitmap.h"
#include "toolkit/win/window_table_win.h"
#include "surface_fixture.h"
#include "tests/win/win_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// One surface of the given triangles.
void make_surface(const std::vector<Triangle>& triangles, int colour)
{
    make_surfaces_of({triangles}, colour);
}

// The twelve outward triangles of the cube lo..hi on every axis.
std::vector<Triangle> cube(float lo, float hi)
{
    std::vector<Triangle> out;
    auto quad = [&](Corner a, Corner b, Corner c, Corner d) {
        out.push_back({a, b, c});
        out.push_back({a, c, d});
    };
    const float l = lo, h = hi;
    quad({l, l, l}, {l, h, l}, {h, h, l}, {h, l, l});  // z = lo, normal -z
    quad({l, l, h}, {h, l, h}, {h, h, h}, {l, h, h});  // z = hi
    quad({l, l, l}, {h, l, l}, {h, l, h}, {l, l, h});  // y = lo
    quad({l, h, l}, {l, h, h}, {h, h, h}, {h, h, l});  // y = hi
    quad({l, l, l}, {l, l, h}, {l, h, h}, {l, h, l});  // x = lo
    quad({h, l, l}, {h, h, l}, {h, h, h}, {h, l, h});  // x = hi
    return out;
}

// The redraw without its copy to the window, read from the back buffer of the context.
void redraw_into_back_buffer()
{
    SET_VIEW_TRANSFORM_3D();
    gl_view_draw(true);
    glFinish();
    glReadBuffer(GL_BACK);
}

std::array<int, 3> pixel(int x, int y)
{
    unsigned char px[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
}

// Lets the system bring what the windows drew to the screen: the queue is processed for a while.
void let_the_screen_catch_up()
{
    for (int i = 0; i < 6; ++i) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(60);
    }
}

// The colour that the screen shows at a point of a window's client area (rows downwards), read through
// the desktop's device context, that is from the X display itself.
std::array<int, 3> screen_pixel(int window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(WIN_TABLE.slot[window].client, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

TEST(View3DWin, ViewAfterDataInputShowsTheSurfaceInItsColourOnWhite)
{
    open_test_main_window();
    make_surface(cube(3.0f, 7.0f), 1);
    clear_display_state();
    int h = -1;
    WWinOpenChild(h, 7, 20, 20, 300, 300, "view");
    ASSERT_GE(h, 1);
    int width = 0, height = 0;
    client_size(h, width, height);
    IErrorInfo(1);
    WGlSelectTarget(1, h, 2);
    ASSERT_EQ(IErrorInfo(1), 0);
    DISPLAY.VIEW_MODE_3D = 1;
    BUILD_VIEW_LIST_3D();
    const std::array<int, 3> red = {255, 0, 0}, white = {255, 255, 255};
    // On the screen: the cube in the middle, the background in every corner.
    let_the_screen_catch_up();
    EXPECT_EQ(screen_pixel(h, width / 2, height / 2), red);
    for (const auto& [x, y] : {std::pair{1, 1}, {width - 2, 1}, {1, height - 2}, {width - 2, height - 2}})
        EXPECT_EQ(screen_pixel(h, x, y), white) << x << ", " << y;
    // The same in the back buffer.
    redraw_into_back_buffer();
    EXPECT_EQ(pixel(width / 2, height / 2), red);
    EXPECT_EQ(pixel(1, 1), white);
    EXPECT_EQ(pixel(width - 2, height - 2), white);
    EXPECT_EQ(pixel(1, height - 2), white);
    // Shifted up by 3 units, the cube leaves the centre, which shows the background, on the screen
    // after the redraw and in the back buffer.
    VIEW_3D.VIEW_SHIFT_Y = 3.0;
    REDRAW_VIEW_3D();
    let_the_screen_catch_up();
    EXPECT_EQ(screen_pixel(h, width / 2, height / 2), white);
    redraw_into_back_buffer();
    EXPECT_EQ(pixel(width / 2, height / 2), white);
    WGlSelectTarget(0);
    WWinCloseChild(h);
}

// A 4 x 4 matrix in OpenGL's column-major order, and the product a b.
using Matrix = std::array<double, 16>;
Matrix times(const Matrix& a, const Matrix& b)
{
    Matrix m{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                m[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return m;
}

// The model-view orientation: the model turned about its own z axis by VIEW_ROT_Z, then tilted by
// VIEW_ROT_X about the screen's horizontal axis (whatever the turn), scaled first and shifted last:
// T Rx(tilt) Rz(turn) S, composed here on the screen's axes and compared with the matrix OpenGL holds.
TEST(View3DWin, ModelViewTurnsAboutZThenTiltsAboutTheScreensHorizontal)
{
    open_test_main_window();
    int handle = 0;
    WBitmapCreate(handle, 64, 64);
    ASSERT_GE(handle, 1);
    WGlSelectTarget(2, handle, 0);
    constexpr double RADIANS = 3.14159265358979323846 / 180.0;
    const struct {
        double turn, tilt;
    } cases[] = {{26.565, -83.62}, {0.0, 30.0}, {90.0, 45.0}, {-120.0, 10.0}, {200.0, -60.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.turn << " " << c.tilt);
        View3DState v;
        v.VIEW_ROT_Z = c.turn;
        v.VIEW_ROT_X = c.tilt;
        v.VIEW_SHIFT_X = 1.0, v.VIEW_SHIFT_Y = -2.0, v.VIEW_SHIFT_Z = -45.0;
        v.VIEW_SCALE_X = 0.2, v.VIEW_SCALE_Y = 0.3, v.VIEW_SCALE_Z = 0.4;
        gl_view_model_view(v);
        double held[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, held);
        const double ca = std::cos(c.turn * RADIANS), sa = std::sin(c.turn * RADIANS);
        const double cb = std::cos(c.tilt * RADIANS), sb = std::sin(c.tilt * RADIANS);
        const Matrix T = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1.0, -2.0, -45.0, 1};
        const Matrix Rx = {1, 0, 0, 0, 0, cb, sb, 0, 0, -sb, cb, 0, 0, 0, 0, 1};
        const Matrix Rz = {ca, sa, 0, 0, -sa, ca, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const Matrix S = {0.2, 0, 0, 0, 0, 0.3, 0, 0, 0, 0, 0.4, 0, 0, 0, 0, 1};
        const Matrix expected = times(times(T, Rx), times(Rz, S));
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(held[i], expected[i], 1e-5) << "element " << i;
    }
    WGlSelectTarget(0);
    WBitmapDestroy(handle);
}

// The live picture's drawing into its 510 x 420 bitmap: a large triangle facing the eye in the colour
// of index 127 on the black background, or the white one.
TEST(View3DWin, LivePictureBitmapShowsTheRampColourOnItsBackground)
{
    open_test_main_window();
    // A large square in the plane z = 5 in both windings, so that one of them faces the eye; then no
    // surface at all.
    for (bool white : {false, true}) {
        for (int winding = 0; winding < 2; ++winding) {
            const Corner a = {-40, -40, 5}, b = {50, -40, 5}, c = {50, 50, 5}, d = {-40, 50, 5};
            std::vector<Triangle> square;
            if (winding == 0)
                square = {{a, b, c}, {a, c, d}, {a, c, b}, {a, d, c}};
            make_surface(square, 127);
            int handle = 0;
            WBitmapCreate(handle, 510, 420);
            ASSERT_GE(handle, 1);
            WGlSelectTarget(2, handle, 0);
            gl_view_clear_colour(white ? 1.0f : 0.0f, white ? 1.0f : 0.0f, white ? 1.0f : 0.0f, 1.0f);
            DISPLAY = DisplaySettings{};
            DISPLAY.VIEW_MODE_3D = 2;
            VIEW_3D = View3DState{};
            BUILD_PROPERTY_LIST_3D();
            glFinish();
            const std::array<int, 3> ramp = {0, 255, 4};
            const std::array<int, 3> background =
                white ? std::array<int, 3>{255, 255, 255} : std::array<int, 3>{0, 0, 0};
            if (winding == 0) {
                EXPECT_EQ(pixel(255, 210), ramp) << white;
            } else {
                EXPECT_EQ(pixel(255, 210), background) << white;
            }
            WGlSelectTarget(0);
            WBitmapDestroy(handle);
        }
    }
}

}  // namespace
