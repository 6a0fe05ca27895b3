// The surface display window's picture (mode 3 of the 3-D view) drawn by OpenGL under Wine and read back
// from the back buffer: the selected triangle is black, the others in their ramp colour on white.
#include "app/displays/clear_display_state.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/displays/view_3d_gl.h"
#include "app/state/display.h"
#include "toolkit/common/error_state.h"
#include "toolkit/win/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/window_table_win.h"
#include "surface_fixture.h"
#include "tests/win/win_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <array>

namespace {

// The picture without its swap, read from the back buffer at the centre of the window.
std::array<int, 3> centre_pixel(int width, int height)
{
    SET_VIEW_TRANSFORM_3D();
    gl_view_draw(true);
    glFinish();
    glReadBuffer(GL_BACK);
    unsigned char px[4] = {};
    glReadPixels(width / 2, height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
}

TEST(SurfaceWindowWin, SelectedTriangleIsDrawnBlack)
{
    open_test_main_window();
    // One large triangle through the box centre in the plane z = 5, in each winding on its own surface,
    // so that one of the two faces the eye; colour index 127.
    const Triangle front = {{{-40, -40, 5}, {80, -40, 5}, {-40, 80, 5}}};
    const Triangle back = {{front[0], front[2], front[1]}};
    make_surfaces_of({{front}, {back}}, 127);
    clear_display_state();
    int h = -1;
    WWinOpenChild(h, 7, 20, 20, 300, 300, "surfaces");
    ASSERT_GE(h, 1);
    int width = 0, height = 0;
    client_size(h, width, height);
    DISPLAY.VIEW_MODE_3D = 3;
    const std::array<int, 3> ramp = {0, 255, 4}, black = {0, 0, 0};
    std::array<int, 3> seen[3];
    for (int surface = 0; surface <= 2; ++surface) {
        S3D = SurfaceWindowState{};
        S3D.S3D_SELECTED_SURFACE = surface;
        S3D.S3D_SELECTED_TRIANGLE = surface > 0 ? 1 : 0;
        IErrorInfo(1);
        WGlSelectTarget(1, h, 2);
        ASSERT_EQ(IErrorInfo(1), 0);
        BUILD_VIEW_LIST_3D();
        seen[surface] = centre_pixel(width, height);
    }
    EXPECT_EQ(seen[0], ramp) << "nothing selected";
    // The facing triangle turns black when it is selected; selecting the hidden one changes nothing.
    EXPECT_TRUE((seen[1] == black && seen[2] == ramp) || (seen[1] == ramp && seen[2] == black));
    WGlSelectTarget(0);
    WWinCloseChild(h);
}

}  // namespace
