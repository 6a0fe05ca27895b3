// The 3-D surface view: the view transform and its handlers, the content of display list 1 in its three
// modes, and the view after data input on the headless toolkit.
#include "app/displays/colour_scale.h"
#include "app/displays/displays.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/displays/view_3d_gl.h"
#include "app/state/results.h"
#include "display_case.h"
#include "surface_fixture.h"

#include <cmath>

namespace {

class View3DTest : public DisplayCaseTest {
protected:
    void SetUp() override
    {
        DisplayCaseTest::SetUp();
        GL_VIEW_RECORD.clear();
    }
};

// n surfaces of one triangle each: triangle k has corners x 1, 2, 3 at y = k, z 1, 1, 2; colour index 127.
void make_one_triangle_surfaces(int n)
{
    std::vector<std::vector<Triangle>> surfaces;
    for (int k = 1; k <= n; ++k) {
        const float y = static_cast<float>(k);
        surfaces.push_back({{Corner{1, y, 1}, Corner{2, y, 1}, Corner{3, y, 2}}});
    }
    make_surfaces_of(surfaces, 127);
}

TEST_F(View3DTest, ResetViewFromTheEyePoint)
{
    DISPLAY.VIEW_MODE_3D = 2;  // no redraw
    RESET_VIEW_3D();
    const View3DState& v = VIEW_3D;
    EXPECT_NEAR(v.VIEW_ROT_Z, 26.565, 1e-3);
    EXPECT_NEAR(v.VIEW_ROT_X, -83.62, 1e-2);
    EXPECT_DOUBLE_EQ(v.VIEW_SHIFT_Z, -45.0);
    EXPECT_DOUBLE_EQ(v.VIEW_SCALE_X, 0.2);
    EXPECT_DOUBLE_EQ(v.VIEW_SCALE_Z, 0.2);
    const auto origin = CARTESIAN_TO_SPHERICAL({0.0, 0.0, 0.0});
    EXPECT_EQ(origin, (std::array<double, 3>{0.0, 0.0, 0.0}));
    const auto up = CARTESIAN_TO_SPHERICAL({0.0, 0.0, 2.0});
    EXPECT_EQ(up, (std::array<double, 3>{0.0, 0.0, 2.0}));
    EXPECT_TRUE(GL_VIEW_RECORD.empty());
}

TEST_F(View3DTest, KeysAndDrags)
{
    DISPLAY.VIEW_MODE_3D = 1;
    RESET_VIEW_3D();
    View3DState& v = VIEW_3D;
    const View3DState reset = v;
    VIEW_3D_KEY(KEY_UP);  // keys translate at start
    EXPECT_NEAR(v.VIEW_SHIFT_Y, 0.02, 1e-12);
    VIEW_3D_KEY(65);  // another key: a redraw, no change
    EXPECT_NEAR(v.VIEW_SHIFT_Y, 0.02, 1e-12);
    EXPECT_EQ(HEADLESS.count("WGlSwapBuffers"), 3);  // the reset, then each key

    // Left drag 10 pixels to the left... of an anchor at 100: turn about z by -10; to the right +10.
    VIEW_3D_MOUSE_BUTTON(MsgMouseDown, 1, 100, 50);
    EXPECT_EQ(v.VIEW_LEFT_DOWN, -1);
    VIEW_3D_MOUSE_MOVE(110, 50);
    EXPECT_NEAR(v.VIEW_ROT_Z, reset.VIEW_ROT_Z + 10.0, 1e-9);
    VIEW_3D_MOUSE_MOVE(100, 50);
    EXPECT_NEAR(v.VIEW_ROT_Z, reset.VIEW_ROT_Z, 1e-9);
    // Right held too; releasing the left stops every drag until a button is pressed again.
    VIEW_3D_MOUSE_BUTTON(MsgMouseDown, 3, 100, 50);
    VIEW_3D_MOUSE_BUTTON(MsgMouseUp, 1, 100, 50);
    EXPECT_EQ(v.VIEW_RIGHT_DOWN, -1);
    // Moves are switched off; one that still arrives drags the right button (nearer/farther).
    VIEW_3D_MOUSE_MOVE(100, 60);
    EXPECT_NEAR(v.VIEW_SHIFT_Z, -45.0 * 1.02, 1e-9);
    VIEW_3D_MOUSE_BUTTON(MsgMouseUp, 3, 100, 60);
    const double z = v.VIEW_SHIFT_Z;
    VIEW_3D_MOUSE_MOVE(300, 300);
    EXPECT_DOUBLE_EQ(v.VIEW_SHIFT_Z, z);
    // The middle button changes nothing.
    VIEW_3D_MOUSE_BUTTON(MsgMouseDown, 2, 0, 0);
    VIEW_3D_MOUSE_MOVE(50, 50);
    EXPECT_EQ(v.VIEW_LEFT_DOWN, 0);
    EXPECT_EQ(v.VIEW_RIGHT_DOWN, 0);
    EXPECT_DOUBLE_EQ(v.VIEW_SHIFT_Z, z);
    EXPECT_NEAR(v.VIEW_ROT_Z, reset.VIEW_ROT_Z, 1e-9);
}

// The live picture (mode 2) adds the surface toolbar's view steps to the reset view: the zoom scales
// every axis by zoom x 0.04 + 1.2, the azimuth turns by 3 degrees a step, the elevation tilts back by 3,
// and the shifts move by 0.2; each step alone, then all at once.
TEST_F(View3DTest, LivePictureTakesTheToolbarViewSteps)
{
    DISPLAY.VIEW_MODE_3D = 2;
    RESET_VIEW_3D();
    const View3DState reset = VIEW_3D;
    DisplaySettings& d = DISPLAY;
    const struct {
        int zoom, azimuth, elevation, shift_h, shift_v;
    } cases[] = {{0, 0, 0, 0, 0}, {5, 0, 0, 0, 0},  {0, 4, 0, 0, 0},   {0, 0, -2, 0, 0},
                 {0, 0, 0, 3, 0}, {0, 0, 0, 0, -7}, {-10, 2, 3, -1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoom << " " << c.azimuth << " " << c.elevation << " "
                                        << c.shift_h << " " << c.shift_v);
        d.SURF_VIEW_ZOOM.set(c.zoom);
        d.SURF_VIEW_AZIMUTH.set(c.azimuth);
        d.SURF_VIEW_ELEVATION.set(c.elevation);
        d.SURF_VIEW_SHIFT_H.set(c.shift_h);
        d.SURF_VIEW_SHIFT_V.set(c.shift_v);
        VIEW_3D = reset;
        SET_VIEW_TRANSFORM_3D();
        const View3DState& v = VIEW_3D;
        const double zoom = c.zoom * 0.04 + 1.2;
        EXPECT_DOUBLE_EQ(v.VIEW_SCALE_X, 0.2 * zoom);
        EXPECT_DOUBLE_EQ(v.VIEW_SCALE_Y, 0.2 * zoom);
        EXPECT_DOUBLE_EQ(v.VIEW_SCALE_Z, 0.2 * zoom);
        EXPECT_DOUBLE_EQ(v.VIEW_ROT_Z, reset.VIEW_ROT_Z + 3.0 * c.azimuth);
        EXPECT_DOUBLE_EQ(v.VIEW_ROT_X, reset.VIEW_ROT_X - 3.0 * c.elevation);
        EXPECT_DOUBLE_EQ(v.VIEW_SHIFT_X, reset.VIEW_SHIFT_X + 0.2 * c.shift_h);
        EXPECT_DOUBLE_EQ(v.VIEW_SHIFT_Y, reset.VIEW_SHIFT_Y + 0.2 * c.shift_v);
        EXPECT_DOUBLE_EQ(v.VIEW_SHIFT_Z, reset.VIEW_SHIFT_Z);
    }
    // The view window (mode 3) leaves the transform as it is.
    DISPLAY.VIEW_MODE_3D = 3;
    VIEW_3D = reset;
    SET_VIEW_TRANSFORM_3D();
    EXPECT_DOUBLE_EQ(VIEW_3D.VIEW_SCALE_X, reset.VIEW_SCALE_X);
    EXPECT_DOUBLE_EQ(VIEW_3D.VIEW_ROT_Z, reset.VIEW_ROT_Z);
}

TEST_F(View3DTest, MenuSetsModesAndTheListSwitch)
{
    DISPLAY.VIEW_MODE_3D = 1;
    View3DState& v = VIEW_3D;
    VIEW_3D_MENU(40303);
    EXPECT_EQ(v.VIEW_KEY_MODE, 3);
    EXPECT_EQ(HEADLESS.count("WMenuSetState 4030"), 7);
    EXPECT_EQ(HEADLESS.calls.back(), "WMenuSetState 40303 2 1");
    RESET_VIEW_3D();
    VIEW_3D_KEY(KEY_UP);
    EXPECT_NEAR(v.VIEW_SHIFT_Z, -45.0 * 0.9803922, 1e-9);
    VIEW_3D_MENU(40106);
    EXPECT_EQ(v.VIEW_LEFT_MODE, 6);
    VIEW_3D_MENU(40011);
    EXPECT_EQ(v.VIEW_LIST_ON & 1, 0);
    EXPECT_EQ(GL_VIEW_RECORD.back(), "draw");
    VIEW_3D_MENU(40107);  // no such mode
    EXPECT_EQ(v.VIEW_LEFT_MODE, 6);
}

// The live surface picture replays its list whatever the 3-D view's list switch holds. Fault: it
// obeyed the switch, so turning the list off once in the view window left the live picture blank for
// the rest of the run.
TEST_F(View3DTest, PropertyPictureDrawsItsListWhateverTheSwitch)
{
    make_one_triangle_surfaces(1);
    DISPLAY.VIEW_MODE_3D = 2;
    for (const int list_on : {-1, 0, -2}) {
        SCOPED_TRACE(list_on);
        VIEW_3D.VIEW_LIST_ON = list_on;
        GL_VIEW_RECORD.clear();
        BUILD_PROPERTY_LIST_3D();
        ASSERT_FALSE(GL_VIEW_RECORD.empty());
        EXPECT_EQ(GL_VIEW_RECORD.back(), "draw list");
        EXPECT_EQ(VIEW_3D.VIEW_LIST_ON, list_on) << "the view window's switch is left as it was";
    }
}

TEST_F(View3DTest, ModeOneColoursSurfacesAndDrawsAxesAndBox)
{
    make_one_triangle_surfaces(6);
    const ViewList list = view_list_content(1);
    ASSERT_EQ(list.primitives.size(), 3u);
    EXPECT_EQ(list.primitives[0].vertices.size(), 20u);  // axes and their letters
    EXPECT_EQ(list.primitives[1].vertices.size(), 24u);  // box edges
    const ViewPrimitive& t = list.primitives[2];
    ASSERT_EQ(t.vertices.size(), 18u);
    EXPECT_TRUE(t.grey_back_emission);
    const std::array<std::uint8_t, 3> expected[] = {{255, 0, 0},   {255, 255, 0}, {0, 255, 0},
                                                    {0, 255, 255}, {0, 0, 255},   {0, 0, 255}};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(t.vertices[3 * k].rgb, expected[k]) << k;
    // Vertices relative to the box centre.
    EXPECT_FLOAT_EQ(t.vertices[0].x, 1.0f - 5.0f);
    EXPECT_FLOAT_EQ(t.vertices[0].z, 1.0f - 5.0f);
}

TEST_F(View3DTest, ModeThreeSelectionMirrorAndEntryPlanes)
{
    make_one_triangle_surfaces(2);
    BOX.BOUNDARY_CODE(5) = 2;                 // symmetry at min z
    SURFACE.TRIANGLE(TRIANGLE_KIND, 2) = -1;  // triangle 2 an entry triangle
    S3D.S3D_SELECTED_SURFACE = 1;
    S3D.S3D_SELECTED_TRIANGLE = 1;
    FILL_COLOUR_RAMP(VIEW_RAMP);
    ViewList list = view_list_content(3);
    ASSERT_EQ(list.primitives.size(), 1u);  // no axes, no box by default
    const auto& v = list.primitives[0].vertices;
    ASSERT_EQ(v.size(), 6u);  // the solid triangle and its mirror image; no entry triangle
    EXPECT_EQ(v[0].rgb, (std::array<std::uint8_t, 3>{0, 0, 0}));  // selected: black
    // Mirror in z = ZMIN: corners 1, 3, 2 with z negated.
    EXPECT_FLOAT_EQ(v[0].z, 1.0f);
    EXPECT_FLOAT_EQ(v[3].z, -1.0f);
    EXPECT_FLOAT_EQ(v[4].z, -2.0f);
    EXPECT_FLOAT_EQ(v[4].x, v[2].x);

    S3D.S3D_NO_REFLECTION = 1;
    S3D.S3D_SHOW_ENTRY = 1;
    S3D.S3D_SELECTED_SURFACE = 0;
    list = view_list_content(3);
    const auto& w = list.primitives[0].vertices;
    ASSERT_EQ(w.size(), 6u);                                            // solid once, entry once
    EXPECT_EQ(w[0].rgb, (std::array<std::uint8_t, 3>{0, 255, 4}));      // index 127
    EXPECT_EQ(w[3].rgb, (std::array<std::uint8_t, 3>{200, 200, 200}));  // entry plane grey
}

// The mirror image lies in the plane of symmetry z = ZMIN, whatever ZMIN is: with ZMIN = 0.5 a
// corner at z = 1 has its image at z = 0 (a mirror in z = 0 would put it at -1), in the live picture
// and in the window, both sent relative to a centre whose z is ZMIN.
TEST_F(View3DTest, MirrorImageLiesInTheSymmetryPlaneAtZmin)
{
    make_one_triangle_surfaces(1);  // corners x 1, 2, 3 at y = 1, z 1, 1, 2
    BOX.ZMIN = 0.5f;
    BOX.BOUNDARY_CODE(5) = 2;  // symmetry at min z
    FILL_COLOUR_RAMP(VIEW_RAMP);
    FILL_COLOUR_RAMP(PICTURE_RAMP);
    for (const int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        const ViewList list = view_list_content(mode);
        const auto& v = list.primitives.back().vertices;
        ASSERT_EQ(v.size(), 6u);
        const double mz = BOX.ZMIN;  // the centre's z
        // The triangle (corners 1, 2, 3) and its image (corners 1, 3, 2), in world z.
        EXPECT_NEAR(v[0].z + mz, 1.0, 1e-6);
        EXPECT_NEAR(v[2].z + mz, 2.0, 1e-6);
        EXPECT_NEAR(v[3].z + mz, 0.0, 1e-6) << "corner 1 at z = 1 mirrored in z = 0.5";
        EXPECT_NEAR(v[4].z + mz, -1.0, 1e-6) << "corner 3 at z = 2 mirrored in z = 0.5";
        EXPECT_NEAR(v[5].z + mz, 0.0, 1e-6);
        EXPECT_FLOAT_EQ(v[4].x, v[2].x);
    }
}

TEST_F(View3DTest, ReentryCaseMirroredUnlessReflectionsOff)
{
    load_case(3);
    SURFACE.SOLID_TRIANGLE.allocate(2, SURFACE.SOLID_TRIANGLE_COUNT);
    for (int k = 1; k <= SURFACE.SOLID_TRIANGLE_COUNT; ++k)
        SURFACE.SOLID_TRIANGLE(2, k) = 1;
    ASSERT_EQ(SURFACE.SOLID_TRIANGLE_COUNT, 1456);
    EXPECT_EQ(view_list_content(2).primitives[0].vertices.size(), 3u * 2 * 1456);
    EXPECT_EQ(view_list_content(3).primitives[0].vertices.size(), 3u * 2 * 1456);
    S3D.S3D_NO_REFLECTION = 1;
    EXPECT_EQ(view_list_content(3).primitives[0].vertices.size(), 3u * 1456);
}

TEST_F(View3DTest, VacuumCaseEntryPlanesNeverMirrored)
{
    load_case(2);
    ASSERT_EQ(SURFACE.ENTRY_TRIANGLE_COUNT, 16);
    const std::size_t solid = 3u * SURFACE.SOLID_TRIANGLE_COUNT * (BOX.BOUNDARY_CODE(5) == 2 ? 2 : 1);
    EXPECT_EQ(view_list_content(3).primitives[0].vertices.size(), solid);
    S3D.S3D_SHOW_ENTRY = 1;
    EXPECT_EQ(view_list_content(3).primitives[0].vertices.size(), solid + 3u * 16);
}

TEST_F(View3DTest, ShearVectorsOnlyForTheirPropertyAndWithStress)
{
    make_one_triangle_surfaces(2);
    GAS.SPECIES_COUNT = 1;
    SURFACE.TRIANGLE_GEOMETRY.allocate(5, 2);
    for (int t = 1; t <= 2; ++t) {
        SURFACE.TRIANGLE_GEOMETRY(1, t) = 0.0f;
        SURFACE.TRIANGLE_GEOMETRY(2, t) = 0.0f;
        SURFACE.TRIANGLE_GEOMETRY(3, t) = 1.0f;
        SURFACE.TRIANGLE_GEOMETRY(5, t) = 4.0f;
    }
    RESULTS.VARS.allocate(10, 2);
    for (int t = 1; t <= 2; ++t)
        for (int r = 1; r <= 10; ++r)
            RESULTS.VARS(r, t) = 0.0f;
    RESULTS.VARS(1, 1) = RESULTS.VARS(1, 2) = 10.0f;
    RESULTS.VARS(4, 1) = 3.0f;  // triangle 2 has no stress: skipped, no NaN vertices
    S3D.S3D_PROPERTY = 3;
    EXPECT_EQ(view_list_content(3).primitives.size(), 1u);
    S3D.S3D_PROPERTY = GAS.SPECIES_COUNT + 12;
    const ViewList list = view_list_content(3);
    ASSERT_EQ(list.primitives.size(), 2u);
    const auto& v = list.primitives[1].vertices;
    ASSERT_EQ(v.size(), 2u);
    // Normal z: h = 1, vector (0, nz t1, -ny t1) = (0, 3, 0), length sqrt(area) = 2.
    EXPECT_FLOAT_EQ(v[1].y - v[0].y, 2.0f);
    EXPECT_FLOAT_EQ(v[1].x - v[0].x, 0.0f);
}

TEST_F(View3DTest, ViewAfterDataInputRunsUntilClosed)
{
    make_one_triangle_surfaces(1);
    HEADLESS.wait_types = {MsgKey, MsgResize, MsgExpose, MsgTimer, MsgCloseRequest};
    VIEW_SURFACES_3D();
    EXPECT_EQ(DISPLAY.VIEW_MODE_3D, 1);
    EXPECT_EQ(HEADLESS.count("WWinOpenChild"), 1);
    EXPECT_EQ(HEADLESS.count("WGlSelectTarget 1"), 1);
    EXPECT_EQ(HEADLESS.count("WGlSelectTarget 0"), 1);
    EXPECT_EQ(HEADLESS.count("WWinCloseChild"), 1);
    EXPECT_EQ(HEADLESS.count("WGrTextString 7000 9946 |CLOSE WINDOW TO CONTINUE|"), 1);
    EXPECT_EQ(GL_VIEW_RECORD.front(), "projection 400 window");
    // Reset, build, key, resize and expose each redraw with a swap.
    EXPECT_EQ(HEADLESS.count("WGlSwapBuffers"), 5);
    EXPECT_EQ(VIEW_LIST.primitives.size(), 3u);
}

}  // namespace
