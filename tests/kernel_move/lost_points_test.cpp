// The recovery of points in no cell, on its own and through the move, with the diagnostic lines of the
// molecules given up.
#include "move_fixture.h"

#include <sstream>

namespace {

using LostPointsTest = MoveTest;

// Draws n numbers from a copy of the state and returns the copy.
RandomState advanced(RandomState s, int n)
{
    const RandomState keep = RANDOM_STATE;
    RANDOM_STATE = s;
    for (int i = 0; i < n; ++i)
        random_uniform();
    s = RANDOM_STATE;
    RANDOM_STATE = keep;
    return s;
}

bool same(const RandomState& a, const RandomState& b)
{
    return a.s1 == b.s1 && a.s2 == b.s2;
}

// Sets ELEMENT_CELL of every element of the box to `value`.
void set_every_element(int value)
{
    for (int& e : DIVISIONS.ELEMENT_CELL)
        e = value;
}

// Box 0..10, 5 divisions of 10 elements (element width 0.2, diagonal 0.346).
void lattice(MoveTest& t)
{
    CaseBox box;
    box.elements[0] = box.elements[1] = box.elements[2] = 10;
    t.make_case(box, {}, 8, INDEX_CONTINUOUS);
}

// How the search ends and how many random numbers it draws, for both twins.
TEST_F(LostPointsTest, SearchEnds)
{
    struct Case {
        const char* what;
        int cn_in;          // the cell passed in
        int every_element;  // 0: cells as laid out; else every ELEMENT_CELL set to it
        float x;            // the point (y and z 5.0)
        int draws;
        int cn_out;  // expected result; 1 = some cell
    } cases[] = {
        {"cell 0 passed in: no search", 0, -1, 5.0f, 0, 0},
        {"first trial finds a cell", -1, 0, 5.0f, 3, 1},
        {"a search that gives 0 ends it", -1, 0, 5.0f, 3, 0},
        {"no cell anywhere: 100 tries", -1, -1, 5.0f, 300, -1},
        {"every trial outside the box: none searched", -1, 0, -50.0f, 300, -1},
    };
    for (int twin = 0; twin < 2; ++twin)
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (twin ? " (in division)" : ""));
            SetUp();
            lattice(*this);
            if (c.every_element != 0 || c.cn_out == 0)
                set_every_element(c.every_element);
            DIVISIONS.CURRENT_DIVISION_X = DIVISIONS.CURRENT_DIVISION_Y = DIVISIONS.CURRENT_DIVISION_Z = 3;
            const RandomState before = RANDOM_STATE;
            int CN = c.cn_in;
            float X = c.x, Y = 5.0f, Z = 5.0f;
            if (twin)
                RELOCATE_LOST_MOLECULE_IN_DIVISION(CN, X, Y, Z);
            else
                RELOCATE_LOST_MOLECULE(CN, X, Y, Z);
            EXPECT_TRUE(same(RANDOM_STATE, advanced(before, c.draws)));
            if (c.cn_out == 1) {
                EXPECT_GE(CN, 1);
            } else {
                EXPECT_EQ(CN, c.cn_out);
            }
            if (c.draws == 0) {
                EXPECT_EQ(X, c.x);
            }
            // The last trial lies within 100 x 0.005 diagonals of the point on each axis.
            const double r = c.draws / 3 * 0.005 * DIVISIONS.ELEMENT_DIAGONAL + 1e-6;
            EXPECT_LE(std::fabs(X - c.x), r);
            EXPECT_LE(std::fabs(Y - 5.0f), r);
            if (twin) {
                EXPECT_EQ(DIVISIONS.CURRENT_DIVISION_X, 3);
            }
            TearDown();
        }
}

// A point whose element has no cell, with cells around it, is moved to a nearby point in a cell.
TEST_F(LostPointsTest, RecoversNearbyCell)
{
    lattice(*this);
    // Element 3 of x division 3 (x 4.4..4.6), all y and z elements of that division, has no cell.
    for (int ez = 1; ez <= 10; ++ez)
        for (int ey = 1; ey <= 10; ++ey)
            DIVISIONS.ELEMENT_CELL(3, 3, 3, ez, ey, 3) = -1;
    int CN = -1;
    float X = 4.59f, Y = 5.0f, Z = 5.0f;
    RELOCATE_LOST_MOLECULE(CN, X, Y, Z);
    ASSERT_GE(CN, 1);
    EXPECT_GE(X, 4.6f);
    EXPECT_LE(X, 4.59f + 0.5f * DIVISIONS.ELEMENT_DIAGONAL);
}

// Fault: a point whose division holds no cell within reach of its trials was given up, though a cell of
// the next division lay closer than the trials reach (the division's open part was cut off from the
// point's element). The move's recovery falls back to the search over all divisions: the molecule
// ending at x 5.95, in a cell-less element 0.05 from division 4, is kept in a cell of that division.
TEST_F(LostPointsTest, RecoveryLeavesTheDivision)
{
    lattice(*this);
    for (int ex = 2; ex <= 10; ++ex)
        for (int ez = 1; ez <= 10; ++ez)
            for (int ey = 1; ey <= 10; ++ey)
                DIVISIONS.ELEMENT_CELL(3, 3, 3, ez, ey, ex) = -1;
    add(4.1f, 5.0f, 5.0f, 9250.0f, 0.0f, 0.0f);  // ends at 5.95
    RESET_CONTINUOUS_INDEXING();
    pass();
    const auto& M = MOLECULES;
    ASSERT_EQ(M.NM, 1);
    EXPECT_EQ(RUN.ROUNDOFF_COUNT, 0);
    EXPECT_GE(M.MOL_POS(1, 1), 6.0f);
    EXPECT_LE(M.MOL_POS(1, 1), 5.95f + 0.5f * DIVISIONS.ELEMENT_DIAGONAL);
    EXPECT_EQ(M.IP(IP_CELL, 1), DIVISIONS.ELEMENT_CELL(3, 3, 4, 5, 5, 1));
    EXPECT_TRUE(index_consistent());
}

// The lines of molecules given up for want of a cell, through the move: molecule number, text,
// position over SCALE_FACTOR.
TEST_F(LostPointsTest, DiagnosticLinesOfTheMove)
{
    // Same division: the molecule moves from x 4.1 to 5.1 into elements without cell; every try
    // fails, within the division and then over all divisions, and the line gives the end point.
    {
        lattice(*this);
        BOX.SCALE_FACTOR = 2.0f;
        for (int ex = 2; ex <= 10; ++ex)
            for (int ez = 1; ez <= 10; ++ez)
                for (int ey = 1; ey <= 10; ++ey)
                    DIVISIONS.ELEMENT_CELL(3, 3, 3, ez, ey, ex) = -1;
        add(4.1f, 5.0f, 5.0f, 5000.0f, 0.0f, 0.0f);
        add(1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f);
        RESET_CONTINUOUS_INDEXING();
        const RandomState before = RANDOM_STATE;
        pass();
        // 100 trials within the division and 100 over all divisions, three numbers each.
        EXPECT_TRUE(same(RANDOM_STATE, advanced(before, 600)));
        const float end[3] = {4.1f + 1.0f, 5.0f, 5.0f};
        EXPECT_EQ(MOLECULES.NM, 1);
        EXPECT_EQ(RUN.ROUNDOFF_COUNT, 1);
        EXPECT_EQ(RUN.REMOVAL_COUNT, 0.0);
        EXPECT_TRUE(has_line(
            diag(), {1, " REMOVED DURING MOVE, SAME EL, AT", end[0] / 2.0f, end[1] / 2.0f, end[2] / 2.0f}))
            << diag();
        EXPECT_TRUE(index_consistent());
        TearDown();
    }
    // Division change: from x 3.9 into the cell-less division 3; the line gives the start point.
    {
        SetUp();
        lattice(*this);
        for (int ex = 1; ex <= 10; ++ex)
            for (int ez = 1; ez <= 10; ++ez)
                for (int ey = 1; ey <= 10; ++ey)
                    DIVISIONS.ELEMENT_CELL(3, 3, 3, ez, ey, ex) = -1;
        add(3.9f, 5.0f, 5.0f, 2500.0f, 0.0f, 0.0f);  // ends at 4.4, 0.4 into the division
        RESET_CONTINUOUS_INDEXING();
        pass();
        EXPECT_EQ(MOLECULES.NM, 0);
        EXPECT_TRUE(has_line(diag(), {1, " REMOVED DURING MOVE, CHANGE EL", 3.9f, 5.0f, 5.0f})) << diag();
    }
}

// The lines of molecules given up after a surface hit: the block x 5.0..5.9, y and z 4.5..5.5 in
// division (3, 3, 3) of a lattice of 10 elements per division; every element of that division has no
// cell except the one the molecule starts in (or, for the path from the division below, none). The
// molecule stops short of the low x face, is reflected there, and no trial around the stop point finds
// a cell: the line gives the molecule, the text and the point last tried over SCALE_FACTOR.
TEST_F(LostPointsTest, DiagnosticLinesAfterAReflection)
{
    struct Case {
        const char* text;
        float x0, u;
        double stop_x;  // where the molecule stops short of the face
    } cases[] = {
        {" REM DURING REFL. SAME EL", 4.1f, 5000.0f, 4.1 + 0.9 - 0.01 - 0.1 * std::sqrt(3 * 0.04)},
        {" REMOVED DURING REFL, CHANGE ", 3.95f, 5500.0f, 3.95 + (1.05 / 1.1 - 0.015) * 1.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetUp();
        CaseBox box;
        box.elements[0] = box.elements[1] = box.elements[2] = 10;
        make_case(box, {block(5.0f, 5.9f, 4.5f, 5.5f, 4.5f, 5.5f)}, 8, INDEX_CONTINUOUS);
        BOX.SCALE_FACTOR = 2.0f;
        const int start_ex = c.x0 > 4.0f ? 1 : 0;
        for (int ez = 1; ez <= 10; ++ez)
            for (int ey = 1; ey <= 10; ++ey)
                for (int ex = 1; ex <= 10; ++ex)
                    if (!(ex == start_ex && ey == 6 && ez == 6))
                        DIVISIONS.ELEMENT_CELL(3, 3, 3, ez, ey, ex) = -1;
        add(c.x0, 5.05f, 5.05f, c.u, 0.0f, 0.0f);
        RESET_CONTINUOUS_INDEXING();
        pass();
        EXPECT_EQ(MOLECULES.NM, 0);
        EXPECT_EQ(RUN.SURFACE_HIT_COUNT, 1.0);
        EXPECT_EQ(RUN.ROUNDOFF_COUNT, 1);
        const std::string log = diag();
        const auto at = log.find(c.text);
        ASSERT_NE(at, std::string::npos) << log;
        EXPECT_EQ(log.substr(at - 13, 13), "           1 ");  // I12 and the blank before a text
        std::istringstream numbers(log.substr(at + std::string(c.text).size()));
        double x, y, z;
        ASSERT_TRUE(numbers >> x >> y >> z) << log;
        const double r = 100 * 0.005 * DIVISIONS.ELEMENT_DIAGONAL / 2.0 + 1e-6;
        EXPECT_NEAR(x, c.stop_x / 2.0, r);
        EXPECT_NEAR(y, 5.05 / 2.0, r);
        EXPECT_NEAR(z, 5.05 / 2.0, r);
        TearDown();
    }
}

// Fault: a path within one division without surfaces stored the cell of its end point without the
// test for a cell below 1. An element of cell 0 gives the molecule up (a search that gives 0 is not
// recovered); an element of cell -1 with cells around is recovered. No molecule keeps a cell below 1.
TEST_F(LostPointsTest, SurfaceFreeDivisionNeverStoresNoCell)
{
    for (int value : {0, -1}) {
        SCOPED_TRACE(value);
        SetUp();
        lattice(*this);
        DIVISIONS.ELEMENT_CELL(3, 3, 3, 5, 5, 8) = value;  // x 5.4..5.6, y and z 4.8..5.0
        add(4.95f, 4.9f, 4.9f, 2500.0f, 0.0f, 0.0f);       // ends at 5.45, in that element
        add(4.5f, 4.5f, 4.5f, 0.0f, 0.0f, 0.0f);
        RESET_CONTINUOUS_INDEXING();
        pass();
        const auto& M = MOLECULES;
        if (value == 0) {
            EXPECT_EQ(M.NM, 1);
            EXPECT_EQ(RUN.ROUNDOFF_COUNT, 1);
            const float x1 = 4.95f + static_cast<float>(2500.0 * double(static_cast<float>(2.0 * 1e-4f)));
            EXPECT_TRUE(has_line(diag(), {1, " REMOVED DURING MOVE, SAME EL, AT", x1, 4.9f, 4.9f})) << diag();
        } else {
            EXPECT_EQ(M.NM, 2);
        }
        for (int n = 1; n <= M.NM; ++n)
            EXPECT_GE(M.IP(IP_CELL, n), 1);
        EXPECT_TRUE(index_consistent());
        TearDown();
    }
}

}  // namespace
