// SET_DIVISIONS_AND_ELEMENTS on small designed cases: closure, marking, element analysis, levels and
// the flow volume.
#include "app/geometry/geometry.h"
#include "app/geometry/setup.h"

#include "geometry_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

using SetDivisionsTest = GeometryTest;

// Box 0..50 cubed, 5 divisions of 5 elements per axis (element width 2); a closed block
// x 23.4..26.6, y and z 23.5..26.5 inside division (3, 3, 3), reaching elements 2..4 of it per axis.
// The lattice of the element analysis depends on the order of an element's triangles (a point that
// one triangle's trace set directly is passed over by the next, and the flood takes the last of its
// neighbours): with the faces listed high z, high y, low z, low y, low x, high x every cut element
// comes out at its geometric share.
void cube_case(std::array<int, 6> face_order = {6, 4, 5, 3, 1, 2})
{
    set_box(0.0f, 50.0f, 5, 5);
    set_surfaces({block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f, 0, face_order)});
}

TEST_F(SetDivisionsTest, CubeBody)
{
    cube_case();
    SET_DIVISIONS_AND_ELEMENTS();
    const std::string log = diag();
    EXPECT_TRUE(has_line(log, {"Surface ", 1, " is a closed surface"})) << log;
    EXPECT_TRUE(has_line(log, {"MAXSEL initially set to", 322})) << log;
    EXPECT_TRUE(has_line(log, {"The maximum number of triangles at any point is", 6})) << log;

    const Divisions& D = DIVISIONS;
    EXPECT_EQ(D.SURFACE_DIVISION_COUNT, 1);
    EXPECT_EQ(D.SURFACE_ELEMENT_COUNT, 26);
    EXPECT_EQ(D.DIVISION_INFO(DIVISION_CODE, 3, 3, 3), -1);
    EXPECT_EQ(D.SURFACE_INDEX(SURFACE_INDEX_COUNT, 1), 12);
    EXPECT_EQ(D.TOTAL_SURFACE_INDEX_SIZE, 12);

    // Flow share of each element of the surface division, by how many of its axes the block cuts:
    // the x faces leave 0.7 (1.4 of 2 in the flow), the y and z faces 0.75; edges and corners combine.
    for (int ez = 1; ez <= 5; ++ez)
        for (int ey = 1; ey <= 5; ++ey)
            for (int ex = 1; ex <= 5; ++ex) {
                const bool cx = ex >= 2 && ex <= 4, cy = ey >= 2 && ey <= 4, cz = ez >= 2 && ez <= 4;
                const bool mx = ex != 3, my = ey != 3, mz = ez != 3;  // element on a face of the block
                int expected = 1000;
                if (cx && cy && cz) {
                    const int faces = mx + my + mz;
                    if (faces == 0)
                        expected = 0;  // wholly inside
                    else if (faces == 1)
                        expected = mx ? 700 : 750;
                    else if (faces == 2)
                        expected = mx ? 925 : 937;
                    else
                        expected = 981;
                }
                EXPECT_EQ(in_flow(3, 3, 3, ex, ey, ez), expected)
                    << "element " << ex << " " << ey << " " << ez;
                EXPECT_EQ(D.ELEMENT_CELL(3, 3, 3, ez, ey, ex), expected == 0 ? -1 : 0)
                    << "element " << ex << " " << ey << " " << ez;
            }

    // Levels: the 26 divisions around the body are 1, the outer shell 2 except its corners, which are 3.
    std::map<int, int> levels;
    for (int iz = 1; iz <= 5; ++iz)
        for (int iy = 1; iy <= 5; ++iy)
            for (int ix = 1; ix <= 5; ++ix)
                ++levels[D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix)];
    EXPECT_EQ(levels, (std::map<int, int>{{-1, 1}, {1, 26}, {2, 90}, {3, 8}}));
    EXPECT_EQ(D.MAX_DIVISION_LEVEL, 3);
    EXPECT_EQ(D.DIVISION_INFO(DIVISION_CODE, 1, 1, 1), 3);
    EXPECT_EQ(D.FLOW_DIVISION_COUNT, 124);

    // Box volume minus the block, 125000 - 3.2 x 3 x 3.
    const auto at = log.find(" Total Flow Volume is");
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_NEAR(std::stod(log.substr(at + 21)), 124971.2, 0.1);

    // The temporaries are gone.
    EXPECT_FALSE(D.INDIV.allocated());
    EXPECT_FALSE(D.INDSURF.allocated());
    EXPECT_FALSE(D.ELEMENT_CODE.allocated());
}

// With the faces in box-side order, four elements along the block's low-y edges (x elements 3 and 4,
// whose x-min face meets the body) come out below their share: there the low y face's trace, listed
// first, sets the lattice point at the corner of the body's section directly, the low (or high) z
// face's trace then passes over that point and leaves its neighbour unset, and the flood gives the
// unset point the body state of its last neighbour. Those elements keep 862 (edge) and 906 (corner)
// instead of 937 and 981.
TEST_F(SetDivisionsTest, CubeBodyTriangleOrderMatters)
{
    cube_case({1, 2, 3, 4, 5, 6});
    SET_DIVISIONS_AND_ELEMENTS();
    EXPECT_EQ(in_flow(3, 3, 3, 3, 2, 2), 862);
    EXPECT_EQ(in_flow(3, 3, 3, 3, 2, 4), 862);
    EXPECT_EQ(in_flow(3, 3, 3, 4, 2, 2), 906);
    EXPECT_EQ(in_flow(3, 3, 3, 4, 2, 4), 906);
    EXPECT_EQ(in_flow(3, 3, 3, 3, 4, 2), 937);
    EXPECT_EQ(in_flow(3, 3, 3, 2, 2, 2), 981);
    EXPECT_TRUE(has_line(diag(), {"Total Flow Volume is", 124968.8f}));
}

TEST_F(SetDivisionsTest, NoSurfaces)
{
    set_box(0.0f, 20.0f, 10, 2);
    set_surfaces({});
    SET_DIVISIONS_AND_ELEMENTS();
    const Divisions& D = DIVISIONS;
    const std::string log = diag();
    EXPECT_EQ(D.DIVISION_INFO(DIVISION_CODE, 4, 7, 2), 100);
    EXPECT_EQ(D.MTRI, 0);
    EXPECT_EQ(D.MNSEG, 0);
    EXPECT_EQ(D.MAXSEL, 0);
    EXPECT_EQ(D.FLOW_DIVISION_COUNT, 1000);
    EXPECT_EQ(D.MAX_DIVISION_LEVEL, 1);
    EXPECT_EQ(D.SURFACE_INDEX.extent(2), 0);
    EXPECT_TRUE(D.SUB_ELEMENTS_IN_FLOW.allocated());
    EXPECT_EQ(D.ELEMENT_CELL(1, 1, 1, 1, 1, 1), 0);
    EXPECT_TRUE(has_line(log, {"Total Flow Volume is", 8000.0f})) << log;
}

#ifndef _WIN32
// The progress dialog 107 of the set-up, as the headless toolkit records it.
TEST_F(SetDivisionsTest, ProgressDialog)
{
    cube_case();
    SET_DIVISIONS_AND_ELEMENTS();
    EXPECT_EQ(HEADLESS.count("WDialogLoad 107"), 1);
    EXPECT_EQ(HEADLESS.count("WDialogShow 107 -1 -1 0 2"), 1);
    EXPECT_EQ(HEADLESS.count("WDialogUnload 107"), 1);
    EXPECT_EQ(HEADLESS.count("WDialogRangeProgressBar 1024 0 " +
                             std::to_string(int(12 * double(1.1f) + 100 + 125 * double(1.133f)))),
              1);
}

// The progress range of 100,000 divisions is folded four times.
TEST_F(SetDivisionsTest, ProgressRangeOfManyDivisions)
{
    set_box(0.0f, 100.0f, 1, 1);
    BOX.DIVISIONS_X = 100;
    BOX.DIVISIONS_Y = 100;
    BOX.DIVISIONS_Z = 10;
    set_surfaces({});
    HEADLESS.record_calls = false;
    SET_DIVISIONS_AND_ELEMENTS();
    HEADLESS.record_calls = true;
    EXPECT_NEAR(DIVISIONS.PROGRESS_STEP, 0.48225, 1e-5);
    EXPECT_LE(static_cast<int>(DIVISIONS.PROGRESS_VALUE), 54686 + 1);
}

TEST_F(SetDivisionsTest, CloseRequestAfterTheSetUpStops)
{
    cube_case();
    HEADLESS.peek_types = {MsgCloseRequest};
    EXPECT_THROW(SET_DIVISIONS_AND_ELEMENTS(), ProgramStopRequest);
}
#endif

// Single elements cut by a plane through the whole box (two triangles whose outer sides lie on the box
// faces): box 0..30, 3 divisions of one element, the element of x division 2 spans 10..20.
struct PlaneCase {
    const char* what;
    float x_at_y0, x_at_y30;   // the plane meets y = 0 and y = 30 at these x (it holds the z direction)
    bool flow_below;           // the normal points to lower x
    int x_division;            // the element analysed
    int expected;              // its sub-elements in the flow
    std::array<int, 6> flags;  // its face flags
};

const PlaneCase SINGLE_ELEMENT_CASES[] = {
    // Plane x = 17, flow below: every x-line leaves the flow at 7 tenths.
    {"plane at 7 tenths", 17.0f, 17.0f, true, 2, 700, {0, 1, 1, 1, 1, 1}},
    // Plane x = 15.25 + y / 10: lines at y steps 0..2 leave at 6 tenths, the rest at 7.
    {"inclined plane", 15.25f, 18.25f, true, 2, 675, {0, 1, 1, 1, 1, 1}},
    // Plane x = 20 on the element's high x face with the flow below: wholly in the flow.
    {"plane on the high x face, flow inside", 20.0f, 20.0f, true, 2, 1000, {0, 1, 1, 1, 1, 1}},
    // The same plane seen from the next element, whose low x face it covers: wholly in the body.
    {"plane on the low x face, body inside", 20.0f, 20.0f, true, 3, 0, {1, 1, 1, 1, 1, 1}},
};

class SingleElementTest : public SetDivisionsTest, public ::testing::WithParamInterface<PlaneCase> {};

TEST_P(SingleElementTest, SingleElementCases)
{
    const PlaneCase& c = GetParam();
    set_box(0.0f, 30.0f, 3, 1);
    Body plane;
    plane.points = {{c.x_at_y0, 0, 0}, {c.x_at_y30, 30, 0}, {c.x_at_y30, 30, 30}, {c.x_at_y0, 0, 30}};
    // Normal of (P2 - P1) x (P3 - P1) with these corners points to +x; reversed for flow below.
    if (c.flow_below)
        plane.triangles = {{1, 3, 2}, {1, 4, 3}};
    else
        plane.triangles = {{1, 2, 3}, {1, 3, 4}};
    set_surfaces({plane});
    // The stages up to the analysis, so that the face flags can still be read.
    set_lattice_scalars();
    coordinates_stage();
    set_triangle_connectivity();
    allocate_division_arrays();
    mark_surface_elements();
    analyse_elements();
    EXPECT_TRUE(has_line(diag(), {"Surface ", 1, " is an open surface"})) << c.what;
    const int code = DIVISIONS.DIVISION_INFO(DIVISION_CODE, 2, 2, c.x_division);
    ASSERT_LT(code, 0) << c.what;
    EXPECT_EQ(DIVISIONS.SUB_ELEMENTS_IN_FLOW(-code, 1, 1, 1), c.expected) << c.what;
    const int e = DIVISIONS.SURFACE_ELEMENT_NUMBER(2, 2, c.x_division, 1, 1, 1);
    for (int j = 1; j <= 6; ++j)
        EXPECT_EQ(DIVISIONS.SURFACE_ELEMENT_DATA(j, e), c.flags[j - 1]) << c.what << ", face " << j;
}
INSTANTIATE_TEST_SUITE_P(Planes, SingleElementTest, ::testing::ValuesIn(SINGLE_ELEMENT_CASES));

// An allocation that fails names the data items that sized the array, with their values: the message
// named an internal array ("PROGRAM COULD NOT ALLOCATE ELEMENTS (array ELEMENT_CELL)"), which tells the
// user nothing about what to change.
TEST_F(SetDivisionsTest, AllocationFailureNamesTheDataItems)
{
    struct Case {
        const char* array;
        const char* items;
    } cases[] = {
        {"ELEMENT_CELL",
         "sized by QR4TD.DAT items 7 to 12 (divisions and elements per division) = 5 x 5 x 5 x 5 x "
         "5 x 5 could not"},
        {"INDIV", "sized by the 12 triangles of QR4SD.DAT on the grid of QR4TD.DAT items 7 to 12"},
        {"SURF_SAMPLE", "sized by the 12 triangles of QR4SD.DAT could not"},
        {"SURF_FORCE_SAMPLE", "sized by the surfaces of QR4SD.DAT (1) could not"},
        {"CELL_DATA", "sized by the 0 cells formed on the grid of QR4TD.DAT items 7 to 12"},
    };
    cube_case();
    for (const Case& c : cases) {
        std::string message;
        try {
            allocation_stop("PROGRAM COULD NOT ALLOCATE ELEMENTS", c.array);
        } catch (const FatalStop& stop) {
            message = stop.message;
        }
        EXPECT_EQ(
            message.rfind("PROGRAM COULD NOT ALLOCATE ELEMENTS: the memory for the arrays sized by ", 0), 0u)
            << message;
        EXPECT_NE(message.find(c.items), std::string::npos) << message;
        EXPECT_EQ(message.find(c.array), std::string::npos) << message;
    }
}

// A sphere of 1144 triangles: every triangle marked and every cut element analysed without a stop,
// and the flow volume close to the box minus the polyhedron.
TEST_F(SetDivisionsTest, SphereBody)
{
    set_box(0.0f, 40.0f, 8, 4);
    const Body ball = sphere({20.3f, 19.7f, 20.1f}, 9.0f, 23, 26);
    ASSERT_GE(ball.triangles.size(), 1000u);
    set_surfaces({ball});
    SET_DIVISIONS_AND_ELEMENTS();
    const std::string log = diag();
    EXPECT_TRUE(has_line(log, {"Surface ", 1, " is a closed surface"})) << log;
    // Volume of the polyhedron by the divergence theorem.
    double volume = 0.0;
    for (const auto& t : ball.triangles) {
        const Point3 &a = ball.points[t[0] - 1], &b = ball.points[t[1] - 1], &c = ball.points[t[2] - 1];
        volume += (double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) -
                   double(a[1]) * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
                   double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0])) /
                  6.0;
    }
    // The lists outgrew their first capacities: every growth is logged, MAXSEL by 20 % plus one from
    // ELEMENT_COUNT / 50 + 10, MNSEG one slot at a time from the 26 triangles at a pole.
    const Divisions& D = DIVISIONS;
    int maxsel = 32768 / 50 + 10;
    while (maxsel < D.SURFACE_ELEMENT_COUNT) {
        maxsel = static_cast<int>(1.2f * maxsel + 1);
        EXPECT_TRUE(has_line(log, {"MAXSEL extended to", maxsel})) << maxsel;
    }
    EXPECT_EQ(D.MAXSEL, maxsel);
    for (int m = 27; m <= D.MNSEG; ++m)
        EXPECT_TRUE(has_line(log, {"MNSEG extended to", m})) << m;
    // Each surface division's list stands in the packed index once per triangle, in rising blocks.
    int before = 0, longest = 0;
    for (int k = 1; k <= D.SURFACE_DIVISION_COUNT; ++k) {
        EXPECT_EQ(D.SURFACE_INDEX(SURFACE_INDEX_START, k), before);
        const int n = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
        std::set<int> seen;
        for (int m = before + 1; m <= before + n; ++m)
            seen.insert(D.TOTAL_SURFACE_INDEX(m));
        EXPECT_EQ(static_cast<int>(seen.size()), n) << "division " << k;
        before += n;
        longest = std::max(longest, n);
    }
    EXPECT_EQ(before, D.TOTAL_SURFACE_INDEX_SIZE);
    EXPECT_EQ(D.MNSEG, std::max(longest, 26));
    EXPECT_GT(D.MNSEG, 26);
    // An element near a pole holds more triangles than meet at the pole: MTRI 26 becomes 32.
    EXPECT_TRUE(has_line(log, {"MTRI extended to", 32})) << log.substr(0, 2000);
    EXPECT_EQ(D.MTRI, 32);

    const auto at = log.find(" Total Flow Volume is");
    ASSERT_NE(at, std::string::npos);
    const double flow = std::stod(log.substr(at + 21));
    const double element_volume = 1.25 * 1.25 * 1.25;
    // Each cut element may be off by a few lattice tenths; the test allows 0.05 element volumes each.
    EXPECT_NEAR(flow, 64000.0 - volume, 0.05 * element_volume * DIVISIONS.SURFACE_ELEMENT_COUNT)
        << "cut elements " << DIVISIONS.SURFACE_ELEMENT_COUNT;
}

}  // namespace
