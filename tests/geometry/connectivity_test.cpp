// Triangle connectivity and surface closure, and the refusal of surfaces the set-up cannot use.
#include "app/geometry/geometry.h"

#include "geometry_fixture.h"

#include <gtest/gtest.h>

namespace {

using ConnectivityTest = GeometryTest;

TEST_F(ConnectivityTest, HalfBodyOnTheLowYFaceIsOpen)
{
    set_box(0.0f, 50.0f, 5, 5);
    // The block's low y face lies on the box's YMIN face and is left out.
    set_surfaces({block(23.4f, 26.6f, 0.0f, 1.5f, 23.5f, 26.5f, 3)});
    SET_DIVISIONS_AND_ELEMENTS();
    EXPECT_TRUE(has_line(diag(), {"Surface ", 1, " is an open surface"})) << diag();
    EXPECT_EQ(SURFACE.SURFACE_CLOSED(1), 0);
    int on_ymin = 0;
    for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t)
        for (int k = 1; k <= 3; ++k)
            on_ymin += DIVISIONS.TRIANGLE_NEIGHBOURS(t, k) == -3;
    EXPECT_EQ(on_ymin, 4);  // one cut side on each of the four side faces
}

TEST_F(ConnectivityTest, ClosedBodyGeometry)
{
    set_box(0.0f, 50.0f, 5, 5);
    set_surfaces({block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f)});
    SET_DIVISIONS_AND_ELEMENTS();
    EXPECT_EQ(SURFACE.SURFACE_CLOSED(1), 1);
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    // Triangle 1 lies in the low x face x = 23.4: normal -x, plane constant 23.4, area 3 x 3 / 2.
    EXPECT_FLOAT_EQ(G(1, 1), -1.0f);
    EXPECT_FLOAT_EQ(G(4, 1), 23.4f);
    EXPECT_NEAR(G(5, 1), 4.5f, 1e-5f);
    EXPECT_EQ(SURFACE.TRIANGLE(TRIANGLE_PLANE, 1), 1);
    EXPECT_EQ(SURFACE.TRIANGLE(TRIANGLE_PLANE, 9), 3);  // a z face
    EXPECT_EQ(SURFACE.TRIANGLE(TRIANGLE_PLANE, 5), 2);  // a y face
    // Every side has a partner of the same surface.
    for (int t = 1; t <= 12; ++t)
        for (int k = 1; k <= 3; ++k)
            EXPECT_GT(DIVISIONS.TRIANGLE_NEIGHBOURS(t, k), 0);
    EXPECT_EQ(SURFACE.POINT_TRIANGLE_COUNT(1), 6);  // corner (x0, y0, z0) is in six triangles
}

// Fault mended: a corner beyond a box face by less than the geometric tolerance (data rounded at a plane
// of symmetry) was refused, while the box-face test of the same stage counts the side as on the face.
// One tolerance now holds for both; a corner beyond it is still refused.
TEST_F(ConnectivityTest, CornerWithinTheToleranceBeyondAFaceIsOnIt)
{
    struct Case {
        float low_y;
        bool taken;
    };
    for (const Case c : {Case{-5.0e-6f, true}, Case{-9.0e-6f, true}, Case{-2.0e-5f, false}}) {
        set_box(0.0f, 50.0f, 5, 5);
        set_surfaces({block(23.4f, 26.6f, c.low_y, 1.5f, 23.5f, 26.5f, 3)});
        try {
            SET_DIVISIONS_AND_ELEMENTS();
            EXPECT_TRUE(c.taken) << c.low_y << ": not refused";
            EXPECT_EQ(SURFACE.SURFACE_CLOSED(1), 0) << c.low_y;
            int on_ymin = 0;
            for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t)
                for (int k = 1; k <= 3; ++k)
                    on_ymin += DIVISIONS.TRIANGLE_NEIGHBOURS(t, k) == -3;
            EXPECT_EQ(on_ymin, 4) << c.low_y;
        } catch (const FatalStop& stop) {
            EXPECT_FALSE(c.taken) << c.low_y << ": " << stop.message;
            EXPECT_NE(stop.message.find("outside the flowfield box"), std::string::npos) << stop.message;
        }
    }
}

// The projection axis compares |nz| with |nx| alone.
TEST_F(ConnectivityTest, ProjectionAxisComparesWithXOnly)
{
    set_box(0.0f, 50.0f, 5, 5);
    // A lone triangle whose normal is along (0.1, 0.9, 0.42): edges e1 = (9, -1, 0), e2 = (0.42, 0, -0.1),
    // e1 x e2 = (0.1, 0.9, 0.42). Its sides have no partner, so the set-up stops after its geometry.
    Body b;
    b.points = {{20, 20, 20}, {29, 19, 20}, {20.42f, 20, 19.9f}};
    b.triangles = {{1, 2, 3}};
    set_surfaces({b});
    EXPECT_THROW(SET_DIVISIONS_AND_ELEMENTS(), FatalStop);
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    EXPECT_NEAR(G(2, 1) / G(1, 1), 9.0f, 1e-4f);
    EXPECT_EQ(SURFACE.TRIANGLE(TRIANGLE_PLANE, 1), 3);
    EXPECT_TRUE(has_line(diag(), {"Side", 1, "of triangle", 1, " has no connectivity"})) << diag();
}

struct RefusedCase {
    const char* what;
    Body body;
    const char* message;  // part of the stop message
};

std::vector<RefusedCase> refused_cases()
{
    Body three = block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f);
    three.points.push_back({30.0f, 30.0f, 30.0f});
    three.triangles.push_back({1, 2, 9});  // a fin on the side 1-2 of the block: three triangles share it
    Body flat = block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f);
    flat.points[7] = flat.points[6];  // corner 8 on corner 7: a triangle using both has no area
    Body outside = block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 56.5f);
    Body loose = block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f, 2);  // high x face missing
    return {
        {"a side shared by three triangles", three, "shared by more than two triangles"},
        {"a triangle of zero area", flat, "has zero area"},
        {"a corner outside the box", outside, "outside the flowfield box"},
        {"a side without partner", loose, "no other triangle of the surface shares the side"},
    };
}

class RefusedSurfaceTest : public ConnectivityTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSurfaceTest, RefusedSurfaces)
{
    const RefusedCase& c = GetParam();
    set_box(0.0f, 50.0f, 5, 5);
    set_surfaces({c.body});
    try {
        SET_DIVISIONS_AND_ELEMENTS();
        ADD_FAILURE() << c.what << ": not refused";
    } catch (const FatalStop& stop) {
        EXPECT_NE(stop.message.find(c.message), std::string::npos) << c.what << ": " << stop.message;
        EXPECT_NE(stop.message.find("surface 1, triangle"), std::string::npos) << stop.message;
    }
}
INSTANTIATE_TEST_SUITE_P(Faults, RefusedSurfaceTest, ::testing::ValuesIn(refused_cases()));

TEST_F(ConnectivityTest, FailureLinesOfTheLog)
{
    set_box(0.0f, 50.0f, 5, 5);
    Body three = block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f);
    three.points.push_back({30.0f, 30.0f, 30.0f});
    three.triangles.push_back({1, 2, 9});
    set_surfaces({three});
    EXPECT_THROW(SET_DIVISIONS_AND_ELEMENTS(), FatalStop);
    // Side 1 of triangle 5 (1-2 of the low y face) meets triangle 13 and the fin: more than one.
    EXPECT_TRUE(has_line(diag(), {"Side", 1, " of triangle", 5, " connects with more than one triangle"}))
        << diag();
}

// A side along an edge of the box keeps the code of XMIN; the later face test logs without stopping.
TEST_F(ConnectivityTest, SideOnTwoBoxFaces)
{
    set_box(0.0f, 50.0f, 5, 5);
    // A wall on the XMIN face: every outer side lies on XMIN and on one of the y or z faces.
    Body wall;
    wall.points = {{0, 0, 0}, {0, 50, 0}, {0, 50, 50}, {0, 0, 50}};
    wall.triangles = {{1, 2, 3}, {1, 3, 4}};  // normal +x
    set_surfaces({wall});
    SET_DIVISIONS_AND_ELEMENTS();
    const std::string log = diag();
    EXPECT_EQ(DIVISIONS.TRIANGLE_NEIGHBOURS(1, 1), -1);  // side 1-2 lies on XMIN and ZMIN
    EXPECT_TRUE(has_line(log, {"Side", 1, " of triangle", 1, " more than one connectivity"})) << log;
    EXPECT_TRUE(has_line(log, {"Surface ", 1, " is an open surface"})) << log;
}

}  // namespace
