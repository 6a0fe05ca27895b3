// The point-in-triangle tests and the path-triangle crossing test.
#include "app/geometry/geometry.h"

#include "geometry_fixture.h"

#include <gtest/gtest.h>

namespace {

class CrossingTest : public GeometryTest {
protected:
    // One triangle (0,0,5) (10,0,5) (0,10,5) in the plane z = 5; normal +z, or -z when flipped.
    void SetUp() override
    {
        GeometryTest::SetUp();
        set_box(0.0f, 20.0f, 2, 2);
        Body b;
        b.points = {{0, 0, 5}, {10, 0, 5}, {0, 10, 5}};
        b.triangles = {{1, 2, 3}};
        set_surfaces({b});
    }
    // Normal, plane constant and projection code as the connectivity stage sets them.
    void set_geometry(float nz)
    {
        auto& G = SURFACE.TRIANGLE_GEOMETRY;
        G(1, 1) = 0.0f;
        G(2, 1) = 0.0f;
        G(3, 1) = nz;
        G(4, 1) = -5.0f * nz;
        SURFACE.TRIANGLE(TRIANGLE_PLANE, 1) = 3;
    }
};

TEST_F(CrossingTest, FractionOfThePath)
{
    struct Case {
        const char* what;
        Point3 p, d;
        float expected;
    };
    const Case cases[] = {
        {"straight through the middle", {2, 2, 0}, {0, 0, 10}, 0.5f},
        {"path ends on the triangle", {2, 2, 0}, {0, 0, 5}, 1.0f},
        {"plane reached at 1.005 of the path", {2, 2, 0}, {0, 0, 5.0f / 1.005f}, 1.005f},
        {"plane reached at 1.01: no crossing", {2, 2, 0}, {0, 0, 5.0f / 1.01f}, NO_CROSSING},
        {"path starts on the plane inside the triangle", {2, 2, 5}, {0, 0, 3}, 0.0f},
        {"path moving away from the plane", {2, 2, 6}, {0, 0, 3}, NO_CROSSING},
        {"path in the plane", {1, 1, 5}, {3, 0, 0}, NO_CROSSING},
        {"zero displacement", {1, 1, 4}, {0, 0, 0}, NO_CROSSING},
        {"plane met outside the triangle", {8, 8, 0}, {0, 0, 10}, NO_CROSSING},
        {"crossing exactly on the hypotenuse", {5, 5, 0}, {0, 0, 10}, 0.5f},
        {"crossing exactly on a corner", {10, 0, 0}, {0, 0, 10}, 0.5f},
        {"from the other side", {2, 2, 10}, {0, 0, -10}, 0.5f},
    };
    for (float nz : {1.0f, -1.0f}) {
        set_geometry(nz);
        for (const Case& c : cases) {
            float f = -1.0f;
            PATH_CROSSES_TRIANGLE(1, c.p[0], c.p[1], c.p[2], c.d[0], c.d[1], c.d[2], f);
            EXPECT_NEAR(f, c.expected, 1e-6f) << c.what << " (normal z " << nz << ")";
        }
    }
}

TEST_F(CrossingTest, ProjectionCodeChoosesThePlane)
{
    // The triangle (0,0,0) (0,10,0) (0,0,10) lies in x = 0: only the (y, z) projection (code 1) holds it.
    Body b;
    b.points = {{0, 0, 0}, {0, 10, 0}, {0, 0, 10}};
    b.triangles = {{1, 2, 3}};
    set_surfaces({b});
    auto& G = SURFACE.TRIANGLE_GEOMETRY;
    G(1, 1) = 1.0f;
    SURFACE.TRIANGLE(TRIANGLE_PLANE, 1) = 1;
    float f = 0.0f;
    PATH_CROSSES_TRIANGLE(1, -1.0f, 2.0f, 2.0f, 4.0f, 0.0f, 0.0f, f);
    EXPECT_FLOAT_EQ(f, 0.25f);
    PATH_CROSSES_TRIANGLE(1, -1.0f, 8.0f, 8.0f, 4.0f, 0.0f, 0.0f, f);
    EXPECT_EQ(f, NO_CROSSING);
}

TEST(PointInTriangle, EdgesCornersAndTolerance)
{
    struct Case {
        const char* what;
        float pu, pw;
        int fine, coarse;
    };
    // Triangle (0,0) (1,0) (0,1).
    const Case cases[] = {
        {"inside", 0.2f, 0.2f, 1, 1},
        {"corner", 1.0f, 0.0f, 1, 1},
        {"on an edge", 0.5f, 0.5f, 1, 1},
        {"clearly outside", 0.8f, 0.8f, 0, 0},
        {"below the lower edge by 1e-9", 0.5f, -1e-9f, 0, 1},
        {"beyond a corner", -0.1f, -0.1f, 0, 0},
    };
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            int inside = -1;
            if (reversed)
                POINT_IN_TRIANGLE(0, 1, 1, 0, 0, 0, c.pu, c.pw, inside);
            else
                POINT_IN_TRIANGLE(0, 0, 1, 0, 0, 1, c.pu, c.pw, inside);
            EXPECT_EQ(inside, c.fine) << c.what << (reversed ? " (corners reversed)" : "");
            if (reversed)
                POINT_IN_TRIANGLE_COARSE(0, 1, 1, 0, 0, 0, c.pu, c.pw, inside);
            else
                POINT_IN_TRIANGLE_COARSE(0, 0, 1, 0, 0, 1, c.pu, c.pw, inside);
            EXPECT_EQ(inside, c.coarse) << c.what << " (coarse)" << (reversed ? " (corners reversed)" : "");
        }
    }
    // Collinear corners hold every point.
    int inside = 0;
    POINT_IN_TRIANGLE(0, 0, 1, 1, 2, 2, 5.0f, -3.0f, inside);
    EXPECT_EQ(inside, 1);
}

}  // namespace
