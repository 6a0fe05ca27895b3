// SET_UP_CELLS: nodes, "NODES.TXT", the cells formed around them and their volumes.
#include "app/geometry/geometry.h"

#include "geometry_fixture.h"
#include "tests/geometry/flow_cover.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class SetUpCellsTest : public GeometryRunTest {
protected:
    static int count_lines(const std::string& text, const std::string& part)
    {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
    // The value of the first 4-byte real after a text in the log.
    static double value_after(const std::string& log, const std::string& text)
    {
        const auto at = log.find(text);
        return at == std::string::npos ? -1.0 : std::stod(log.substr(at + text.size()));
    }
};

TEST_F(SetUpCellsTest, NoSurfaces)
{
    set_box(0.0f, 20.0f, 10, 2);
    set_surfaces({});
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    const std::string log = diag();
    EXPECT_TRUE(has_line(log, {"Total Flow Volume is", 8000.0f})) << log;
    EXPECT_TRUE(has_line(log, {" TOTAL NUMBER OF CELLS IS", 1000})) << log;
    EXPECT_TRUE(has_line(log, {" NUMBER OF SURFACE POINTS IS", 0})) << log;
    EXPECT_TRUE(has_line(log, {"Total flow volume from cells", 8000.0f})) << log;
    const std::string nodes = read_file("NODES.TXT");
    EXPECT_EQ(nodes.find(" SURFACE NODES\r\n INTERIOR DIVISION NODES\r\n"), 0u) << nodes.substr(0, 200);
    EXPECT_EQ(count_lines(nodes, "POINT, X,Y,Z"), 1000);
    EXPECT_TRUE(has_line(nodes, {"  POINT, X,Y,Z", 1, 1.0f, 1.0f, 1.0f})) << nodes.substr(0, 300);
    // Every element joins the node of its own division.
    const Cells& C = CELLS;
    EXPECT_EQ(C.CELL_COUNT, 1000);
    EXPECT_EQ(DIVISIONS.ELEMENT_CELL(1, 1, 2, 2, 1, 1), 2);
    EXPECT_EQ(DIVISIONS.ELEMENT_CELL(10, 10, 10, 1, 2, 1), 1000);
    EXPECT_FLOAT_EQ(C.CELL_DATA(CELL_VOLUME, 5), 8.0f);
    EXPECT_FLOAT_EQ(C.CELL_DATA(CELL_LOW_X, 5), 8.0f);
    EXPECT_FLOAT_EQ(C.CELL_DATA(CELL_HIGH_X, 5), 10.0f);
    EXPECT_FLOAT_EQ(C.CELL_DATA(CELL_FILL_FRACTION, 5), 1.0f);
    EXPECT_EQ(DIVISIONS.DIVISION_INFO(DIVISION_NODE_COUNT, 3, 4, 5), 1);
    EXPECT_EQ(DIVISIONS.DIVISION_INFO(DIVISION_NODE_START, 3, 4, 5), 234);
    EXPECT_EQ(C.ICELL(ICELL_BY_DIVISION, 235), 235);
    if (toolkit_calls("") < 0)
        return;  // the win build runs the real toolkit
    EXPECT_EQ(toolkit_calls("WDialogLoad 111"), 1);
    EXPECT_EQ(toolkit_calls("WDialogRangeProgressBar 1024 0 8000"), 1);
}

// A box of 0..1 m is scaled by 10 when read; volumes are reported in the units of the data.
TEST_F(SetUpCellsTest, ScaledBoxReportsVolumesInDataUnits)
{
    set_box(0.0f, 10.0f, 4, 2);
    BOX.SCALE_FACTOR = 10.0f;
    set_surfaces({});
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    const std::string log = diag();
    EXPECT_TRUE(has_line(log, {"Total Flow Volume is", 1.0f})) << log;
    EXPECT_TRUE(has_line(log, {"Total flow volume from cells", 1.0f})) << log;
    // Node positions in "NODES.TXT" are unscaled: the first division's centre is at 0.125 m.
    EXPECT_TRUE(has_line(read_file("NODES.TXT"), {"  POINT, X,Y,Z", 1, 0.125f, 0.125f, 0.125f}));
}

TEST_F(SetUpCellsTest, CubeBody)
{
    set_box(0.0f, 50.0f, 5, 5);
    set_surfaces({block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f, 0, {6, 4, 5, 3, 1, 2})});
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    const std::string log = diag();
    EXPECT_TRUE(has_line(log, {" TOTAL NUMBER OF CELLS IS", 136})) << log;
    EXPECT_TRUE(has_line(log, {" NUMBER OF SURFACE POINTS IS", 12})) << log;
    const double volume = value_after(log, " Total Flow Volume is");
    const double from_cells = value_after(log, " Total flow volume from cells");
    EXPECT_NEAR(volume, 124971.2, 0.1);
    EXPECT_NEAR(from_cells, volume, volume * 1e-6) << log;
    // The cut elements join surface nodes, the element inside the body none; every element in the flow
    // has a cell.
    const Divisions& D = DIVISIONS;
    EXPECT_EQ(D.ELEMENT_CELL(3, 3, 3, 3, 3, 3), -1);
    for (int ez = 1; ez <= 5; ++ez)
        for (int ey = 1; ey <= 5; ++ey)
            for (int ex = 1; ex <= 5; ++ex) {
                if (ex != 3 || ey != 3 || ez != 3) {
                    EXPECT_GE(D.ELEMENT_CELL(3, 3, 3, ez, ey, ex), 1);
                }
            }
    // The element beyond the low x face (x element 2) sees the nodes of the low x face's triangles
    // (cells 9 and 10 with this face order) and none behind the body.
    const int c = D.ELEMENT_CELL(3, 3, 3, 3, 3, 2);
    EXPECT_TRUE(c == 9 || c == 10) << c;
    EXPECT_EQ(static_cast<int>(D.ICHECK.size()), 8 * D.MNSEG);
}

TEST_F(SetUpCellsTest, CaseWithoutCellsIsRefused)
{
    // A wall across the whole box: every division is a surface division, and the wall has no solid
    // triangle (both are flow-entry triangles).
    set_box(0.0f, 30.0f, 1, 3);
    Body wall;
    wall.points = {{15, 0, 0}, {15, 30, 0}, {15, 30, 30}, {15, 0, 30}};
    wall.triangles = {{1, 2, 3}, {1, 3, 4}};
    set_surfaces({wall});
    SURFACE.TRIANGLE(TRIANGLE_KIND, 1) = -1;
    SURFACE.TRIANGLE(TRIANGLE_KIND, 2) = -2;
    SURFACE.SOLID_TRIANGLE_COUNT = 0;
    SET_DIVISIONS_AND_ELEMENTS();
    EXPECT_THROW(SET_UP_CELLS(), FatalStop);
}

}  // namespace

namespace {

// A sphere of 264 triangles: every element with flow in it joins a cell, and the cells hold the flow
// volume of the elements (to the rounding of two 4-byte sums taken in different orders).
TEST_F(SetUpCellsTest, SphereBody)
{
    set_box(0.0f, 40.0f, 8, 4);
    set_surfaces({sphere({20.3f, 19.7f, 20.1f}, 9.0f, 12, 12)});
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    int without_cell = 0;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
                for (int ez = 1; ez <= 4; ++ez)
                    for (int ey = 1; ey <= 4; ++ey)
                        for (int ex = 1; ex <= 4; ++ex) {
                            const bool flow =
                                code > 0 || (code < 0 && D.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex) > 0);
                            const int cell = D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex);
                            if (flow && (cell < 1 || cell > CELLS.CELL_COUNT))
                                ++without_cell;
                        }
            }
    EXPECT_EQ(without_cell, 0);
    const std::string log = diag();
    const double volume = value_after(log, " Total Flow Volume is");
    EXPECT_NEAR(value_after(log, " Total flow volume from cells"), volume, 2e-5 * volume);
    EXPECT_TRUE(has_line(log, {" TOTAL NUMBER OF CELLS IS", 264 + D.FLOW_DIVISION_COUNT}));
}

}  // namespace

namespace {

// A slanted slab: the parallelepiped o + i a + j b + k c (i, j, k in 0..1), a, b, c right-handed, as 12
// triangles with normals out of it.
Body slab(Point3 o, Point3 a, Point3 b, Point3 c)
{
    Body s = block(0, 1, 0, 1, 0, 1);
    for (Point3& p : s.points) {
        const Point3 q = p;
        for (int k = 0; k < 3; ++k)
            p[k] = o[k] + q[0] * a[k] + q[1] * b[k] + q[2] * c[k];
    }
    return s;
}

// The flow around the test bodies: every element in the flow belongs to a cell and the cells hold the
// box less the bodies. The thin plate at 10 degrees incidence, whose trailing corner clips the low corner
// of division (3, 1, 1), is the fault's own fixture: the cut element's face flags closed it off from the
// rest of that division, whose seven uncut elements got no cell.
TEST_F(SetUpCellsTest, CellsCoverTheFlowAroundTestBodies)
{
    const float s10 = 0.17365f, c10 = 0.98481f;  // sine and cosine of 10 degrees
    struct Case {
        const char* what;
        std::vector<Body> bodies;
    };
    const Case cases[] = {
        {"sphere", {sphere({5.03f, 4.97f, 5.01f}, 2.7f, 12, 12)}},
        {"cube", {block(3.4f, 6.6f, 3.5f, 6.5f, 3.5f, 6.5f)}},
        {"block on the low z side, open there", {block(3.7f, 6.1f, 4.2f, 5.9f, 0.0f, 2.3f, 5)}},
        {"two bodies", {block(1.2f, 2.9f, 1.3f, 8.1f, 1.1f, 3.3f), sphere({6.2f, 6.1f, 6.3f}, 2.1f, 10, 14)}},
        {"thin plate at 10 degrees",
         {slab({0.5f, 1.3f, 1.2f}, {c10 * 3.9f, 0.0f, -s10 * 3.9f}, {0.0f, 2.9f, 0.0f},
               {s10 * 0.08f, 0.0f, c10 * 0.08f})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        set_box(0.0f, 10.0f, 5, 2);
        set_surfaces(c.bodies);
        SET_DIVISIONS_AND_ELEMENTS();
        SET_UP_CELLS();
        expect_cells_cover_the_flow(false);
        TearDown();
    }
}

}  // namespace
