// Paths through the edges and corners that surface triangles share: a molecule aimed exactly at a
// shared edge or corner meets one of the triangles there and stays out of the body, and a molecule
// aimed at the line where a body meets a box side stays in the box.
#include "move_fixture.h"

#include <random>

namespace {

using EdgePathsTest = MoveTest;

// Plane function of triangle t at p: above 0 on the flow side.
double plane(int t, const double p[3])
{
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    return G(1, t) * p[0] + G(2, t) * p[1] + G(3, t) * p[2] + G(4, t);
}

// Whether p lies strictly inside the convex body that all triangles bound (closed by the low z side of
// the box when `on_low_z`): below every triangle's plane by more than `margin`.
bool inside_body(const double p[3], double margin, bool on_low_z)
{
    if (on_low_z && !(p[2] > BOX.ZMIN + margin))
        return false;
    for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t)
        if (!(plane(t, p) < -margin))
            return false;
    return true;
}

bool inside_box(const double p[3], double margin)
{
    const auto& B = BOX;
    return p[0] > B.XMIN + margin && p[0] < B.XMAX - margin && p[1] > B.YMIN + margin &&
           p[1] < B.YMAX - margin && p[2] > B.ZMIN + margin && p[2] < B.ZMAX - margin;
}

}  // namespace

// Every corner of every triangle, and points at 0.5 and 0.3 of every side, are aimed at from outside
// along directions drawn at random (the test's own generator) such that the straight path of 0.6 from
// the start, outside the body, to the end, inside it, passes through that point. Each path must meet
// the surface (one surface hit per molecule), and no molecule may end inside the body, leave the box or
// be lost. The aim points are rounded to 4-byte reals, so they lie on either side of an edge by a unit
// in the last place: exactly where a gap between two triangles' crossing tests would let a path through.
TEST_F(EdgePathsTest, NoPathSlipsThroughSharedEdgesOrCorners)
{
    struct Case {
        const char* what;
        Body body;
        bool on_low_z;  // the body stands on the low z side of the box, open there
    };
    const Case cases[] = {
        {"sphere, corners shared by four to twelve triangles", sphere({5.03f, 4.97f, 5.01f}, 2.0f, 8, 12),
         false},
        {"block: face diagonals, edges and corners", block(3.7f, 6.1f, 4.2f, 5.9f, 3.9f, 6.3f), false},
        {"block standing on the low z side", block(3.7f, 6.1f, 4.2f, 5.9f, 0.0f, 2.3f, 5), true},
    };
    std::mt19937 generator(20261211);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        CaseBox box;
        box.elements[0] = box.elements[1] = box.elements[2] = 4;
        const int paths_per_point = 3;
        const int aim_points = 9 * static_cast<int>(c.body.triangles.size());
        make_case(box, {c.body}, aim_points * paths_per_point, INDEX_CONTINUOUS);
        const double dt = double(static_cast<float>(2.0 * 1e-4f));  // the path time of a molecule

        int molecules = 0;
        for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t) {
            const auto& G = SURFACE.TRIANGLE_GEOMETRY;
            const double n[3] = {G(1, t), G(2, t), G(3, t)};
            double corner[3][3];
            for (int k = 0; k < 3; ++k) {
                const int q = SURFACE.TRIANGLE(k + 1, t);
                corner[k][0] = SURFACE.POINT_X(q);
                corner[k][1] = SURFACE.POINT_Y(q);
                corner[k][2] = SURFACE.POINT_Z(q);
            }
            for (int k = 0; k < 3; ++k)
                for (double s : {0.0, 0.5, 0.3}) {
                    float aim[3];
                    for (int a = 0; a < 3; ++a)
                        aim[a] =
                            static_cast<float>(corner[k][a] + s * (corner[(k + 1) % 3][a] - corner[k][a]));
                    for (int path = 0; path < paths_per_point; ++path) {
                        // A direction into the body through the aim point: start outside, end inside.
                        float start[3], u[3];
                        for (int tries = 0; tries < 1000; ++tries) {
                            double d[3] = {uniform(generator), uniform(generator), uniform(generator)};
                            const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
                            if (len < 0.1 || len > 1.0 ||
                                (d[0] * n[0] + d[1] * n[1] + d[2] * n[2]) / len < 0.2)
                                continue;
                            double s0[3], e0[3];
                            for (int a = 0; a < 3; ++a) {
                                s0[a] = aim[a] + 0.3 * d[a] / len;
                                e0[a] = aim[a] - 0.3 * d[a] / len;
                            }
                            if (!inside_box(s0, 0.01) || !inside_box(e0, 0.01) ||
                                !inside_body(e0, 1e-3, c.on_low_z) || inside_body(s0, -1e-3, c.on_low_z))
                                continue;
                            for (int a = 0; a < 3; ++a) {
                                start[a] = static_cast<float>(s0[a]);
                                u[a] = static_cast<float>((e0[a] - s0[a]) / dt);
                            }
                            add(start[0], start[1], start[2], u[0], u[1], u[2]);
                            ++molecules;
                            break;
                        }
                    }
                }
        }
        ASSERT_GT(molecules, aim_points * paths_per_point / 2);
        RESET_CONTINUOUS_INDEXING();
        pass();

        const auto& M = MOLECULES;
        EXPECT_EQ(M.NM, molecules);
        EXPECT_EQ(RUN.ROUNDOFF_COUNT, 0);
        EXPECT_EQ(RUN.SURFACE_HIT_COUNT, double(molecules));
        int in_body = 0, out_of_box = 0;
        for (int m = 1; m <= M.NM; ++m) {
            const double p[3] = {M.MOL_POS(1, m), M.MOL_POS(2, m), M.MOL_POS(3, m)};
            in_body += inside_body(p, 0.0, c.on_low_z) ? 1 : 0;
            out_of_box += inside_box(p, 0.0) ? 0 : 1;
        }
        EXPECT_EQ(in_body, 0) << "of " << molecules;
        EXPECT_EQ(out_of_box, 0) << "of " << molecules;
        EXPECT_TRUE(index_consistent());
        TearDown();
    }
}
