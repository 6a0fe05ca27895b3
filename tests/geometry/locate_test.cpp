// The lattice scalars, point location, the neighbour tables and the progress-range fold.
#include "app/geometry/geometry.h"
#include "app/geometry/locate.h"
#include "app/geometry/setup.h"

#include "geometry_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

namespace {

using LocateTest = GeometryTest;

TEST_F(LocateTest, LatticeScalars)
{
    set_box(0.0f, 50.0f, 5, 5);
    BOX.XMAX = 60.0f;
    set_lattice_scalars();
    const Divisions& D = DIVISIONS;
    EXPECT_FLOAT_EQ(D.BOX_EXTENT_X, 60.0f);
    EXPECT_FLOAT_EQ(D.DIVISION_WIDTH_X, 12.0f);
    EXPECT_FLOAT_EQ(D.DIVISION_WIDTH_Y, 10.0f);
    EXPECT_EQ(D.DIVISION_COUNT, 125);
    EXPECT_FLOAT_EQ(D.MIN_DIVISION_WIDTH, 10.0f);
    EXPECT_FLOAT_EQ(D.ELEMENT_WIDTH_X, 2.4f);
    EXPECT_EQ(D.ELEMENTS_IN_DIVISION, 125);
    EXPECT_EQ(D.ELEMENT_COUNT, 15625);
    EXPECT_FLOAT_EQ(D.MIN_ELEMENT_WIDTH, 2.0f);
    EXPECT_FLOAT_EQ(D.ELEMENT_DIAGONAL, std::sqrt(2.4f * 2.4f + 8.0f));
    EXPECT_FLOAT_EQ(D.ELEMENT_VOLUME, 9.6f);
}

TEST_F(LocateTest, LatticeWithoutExtentIsRefused)
{
    set_box(0.0f, 50.0f, 5, 5);
    BOX.ELEMENTS_PER_DIVISION_Y = 0;
    EXPECT_THROW(set_lattice_scalars(), FatalStop);
    set_box(0.0f, 50.0f, 5, 5);
    BOX.ZMAX = BOX.ZMIN;
    EXPECT_THROW(set_lattice_scalars(), FatalStop);
    set_box(0.0f, 50.0f, 5, 5);
    BOX.DIVISIONS_X = BOX.DIVISIONS_Y = BOX.DIVISIONS_Z = 2000;  // 8e9 divisions
    EXPECT_THROW(set_lattice_scalars(), FatalStop);
}

TEST_F(LocateTest, FindCellClampsEveryIndex)
{
    set_box(0.0f, 50.0f, 5, 5);
    set_lattice_scalars();
    DIVISIONS.ELEMENT_CELL.allocate(5, 5, 5, 5, 5, 5);
    DIVISIONS.ELEMENT_CELL(5, 3, 1, 5, 1, 1) = 77;  // z division 5, y 3, x 1; z element 5, y 1, x 1
    struct Case {
        const char* what;
        float x;
        int division, element;
    };
    const Case cases[] = {
        {"XMIN", 0.0f, 1, 1},        {"below XMIN", -3.0f, 1, 1}, {"XMAX", 50.0f, 5, 5},
        {"above XMAX", 1e30f, 5, 5}, {"inner face", 10.0f, 2, 1}, {"element face", 22.0f, 3, 2},
        {"inside", 37.9f, 4, 4},
    };
    for (const Case& c : cases) {
        int cell = 0;
        FIND_CELL(cell, c.x, 25.0f, 49.9f);
        EXPECT_EQ(DIVISIONS.CURRENT_DIVISION_X, c.division) << c.what;
        EXPECT_EQ(DIVISIONS.CURRENT_ELEMENT_X, c.element) << c.what;
        EXPECT_EQ(DIVISIONS.CURRENT_DIVISION_Y, 3) << c.what;
        EXPECT_EQ(DIVISIONS.CURRENT_ELEMENT_Y, 3) << c.what;
        EXPECT_EQ(DIVISIONS.CURRENT_DIVISION_Z, 5) << c.what;
        EXPECT_EQ(DIVISIONS.CURRENT_ELEMENT_Z, 5) << c.what;
    }
    int cell = 0;
    FIND_CELL(cell, 1.0f, 20.5f, 49.0f);
    EXPECT_EQ(cell, 77);

    // FIND_CELL_IN_DIVISION keeps the division and clamps the element to it.
    DIVISIONS.CURRENT_DIVISION_X = 2;
    FIND_CELL_IN_DIVISION(cell, 45.0f, 20.5f, 49.0f);
    EXPECT_EQ(DIVISIONS.CURRENT_DIVISION_X, 2);
    EXPECT_EQ(DIVISIONS.CURRENT_ELEMENT_X, 5);
    DIVISIONS.CURRENT_DIVISION_X = 1;
    FIND_CELL_IN_DIVISION(cell, -45.0f, 20.5f, 49.0f);
    EXPECT_EQ(DIVISIONS.CURRENT_ELEMENT_X, 1);
    EXPECT_EQ(cell, 77);

    int inside = 0;
    POINT_IN_BOX(50.0f, 0.0f, 25.0f, inside);
    EXPECT_EQ(inside, 1);
    POINT_IN_BOX(50.0001f, 0.0f, 25.0f, inside);
    EXPECT_EQ(inside, 0);
}

TEST_F(LocateTest, NeighbourTablesSpanTheirBlocks)
{
    fill_neighbour_tables();
    const auto& ND = DIVISIONS.NEIGHBOUR_DIVISIONS;
    const auto& PD = DIVISIONS.PATH_DIVISIONS;
    std::set<std::tuple<int, int, int>> all;
    for (int k = 1; k <= 26; ++k) {
        const int nx = ND(k, 1), ny = ND(k, 2), nz = ND(k, 3);
        all.insert({nx, ny, nz});
        const int moved = (nx != 0) + (ny != 0) + (nz != 0);
        const int length = 1 << moved;  // 2, 4 or 8 divisions in the block
        std::set<std::tuple<int, int, int>> block;
        for (int n = 1; n <= length; ++n) {
            const int ox = PD(k, 1, n), oy = PD(k, 2, n), oz = PD(k, 3, n);
            // Every entry lies in the block spanned by the division and the neighbour.
            EXPECT_TRUE(ox == 0 || ox == nx) << k;
            EXPECT_TRUE(oy == 0 || oy == ny) << k;
            EXPECT_TRUE(oz == 0 || oz == nz) << k;
            block.insert({ox, oy, oz});
        }
        EXPECT_EQ(static_cast<int>(block.size()), length) << "neighbour " << k;
        EXPECT_EQ(PD(k, 1, 1), 0);
        EXPECT_EQ(std::make_tuple(PD(k, 1, length), PD(k, 2, length), PD(k, 3, length)),
                  std::make_tuple(nx, ny, nz))
            << "the list ends with the neighbour " << k;
        if (length < 8) {
            EXPECT_EQ(PD(k, 1, length + 1), 10) << k;
            for (int n = length + 2; n <= 8; ++n)
                EXPECT_EQ(PD(k, 1, n), 0) << k;
        }
    }
    EXPECT_EQ(all.size(), 26u);
    EXPECT_EQ(all.count({0, 0, 0}), 0u);
    // Spot checks of the order.
    EXPECT_EQ(std::make_tuple(ND(9, 1), ND(9, 2), ND(9, 3)), std::make_tuple(0, 0, -1));
    EXPECT_EQ(std::make_tuple(ND(26, 1), ND(26, 2), ND(26, 3)), std::make_tuple(-1, -1, 1));
    EXPECT_EQ(std::make_tuple(PD(13, 1, 3), PD(13, 2, 3), PD(13, 3, 3)), std::make_tuple(1, 0, 0));
}

// The fold of the progress range needs 4-byte constants: with 8-byte ones the first step would give
// 94500.
// The move's fast locators (a multiplication by counts per length, worked out once per pass) against
// the reference locators (a division per point) on lattices of uneven widths, at the division and
// element boundaries and one float step either side of them, at random points in and around the box,
// far outside it and at NaN: any difference would put a molecule into another division or element.
TEST_F(LocateTest, LatticeStepsLocateAsTheReferenceLocators)
{
    struct Lattice {
        float lo, hi, x_hi;
        int divisions, elements;
    };
    std::vector<Lattice> lattices = {{0.0f, 50.0f, 60.0f, 5, 5},
                                     {-1.3f, 7.7f, 7.7f, 7, 3},
                                     {0.1f, 0.4f, 0.45f, 3, 1},
                                     {-25.0f, 25.0f, 31.7f, 9, 4}};
    unsigned seed = 12345u;
    const auto uniform = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return double(seed >> 8) / double(1u << 24);
    };
    // Lattices of awkward limits and counts, where a product and a quotient part at a boundary.
    for (int n = 0; n < 60; ++n) {
        const float lo = static_cast<float>(200.0 * uniform() - 100.0);
        const float hi = lo + static_cast<float>(0.01 + 80.0 * uniform());
        lattices.push_back({lo, hi, hi + static_cast<float>(uniform()), 1 + n % 23, 1 + n % 7});
    }
    int compared = 0;
    for (const Lattice& l : lattices) {
        set_box(l.lo, l.hi, l.divisions, l.elements);
        BOX.XMAX = l.x_hi;
        set_lattice_scalars();
        const LatticeSteps L = lattice_steps();
        const Divisions& D = DIVISIONS;
        const float lows[3] = {BOX.XMIN, BOX.YMIN, BOX.ZMIN};
        const float extents[3] = {D.BOX_EXTENT_X, D.BOX_EXTENT_Y, D.BOX_EXTENT_Z};
        const float widths[3] = {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
        for (int a = 0; a < 3; ++a) {
            std::vector<float> points = {1e30f, -1e30f, std::numeric_limits<float>::quiet_NaN()};
            const int elements_on_axis = l.divisions * l.elements;
            for (int k = 0; k <= elements_on_axis; ++k) {
                const float b = static_cast<float>(double(lows[a]) + double(k) * widths[a] / l.elements);
                points.insert(points.end(), {b, std::nextafter(b, -1e30f), std::nextafter(b, 1e30f)});
            }
            for (int r = 0; r < 300; ++r)
                points.push_back(static_cast<float>(lows[a] + (1.2 * uniform() - 0.1) * extents[a]));
            for (float c : points) {
                using namespace locate_detail;
                const int reference = division_index(c, lows[a], extents[a], l.divisions);
                ASSERT_EQ(division_index(L, a, c), reference) << "axis " << a << " at " << c;
                for (int i = 1; i <= l.divisions; ++i)
                    ASSERT_EQ(element_index(L, a, c, i), element_index(c, lows[a], i, widths[a], l.elements))
                        << "axis " << a << " division " << i << " at " << c;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 50000);
}

TEST(ProgressRange, FoldsWithFourByteConstants)
{
    int range = static_cast<int>(0 * double(1.1f) + 100.0 + 100000 * double(1.133f));
    EXPECT_EQ(range, 113400);
    float step = 1.0f;
    fold_progress_range(range, step);
    EXPECT_EQ(range, 54686);
    EXPECT_NEAR(step, 0.48225, 1e-5);
    range = 65530;
    step = 1.0f;
    fold_progress_range(range, step);
    EXPECT_EQ(range, 65530);
    EXPECT_EQ(step, 1.0f);
}

}  // namespace
