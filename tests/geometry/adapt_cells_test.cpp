// ADAPT_CELLS: cells re-made for a target number of molecules per cell, molecules moved into them.
// The cell-size dialog is answered by the headless toolkit's script, so these tests run in the host
// build only.
#ifndef _WIN32
#include "app/geometry/geometry.h"
#include "app/geometry/locate.h"

#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "base/random.h"
#include "geometry_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class AdaptCellsTest : public GeometryRunTest {
protected:
    void SetUp() override
    {
        GeometryRunTest::SetUp();
        RUN.FNUM = 1.0f;
        RUN.TIME = 3.5;
        RUN.DTM = 0.25f;
        GAS.SPECIES_PAIR_DATA.allocate(7, 1, 1);
        GAS.SPECIES_PAIR_DATA(2, 1, 1) = 2.0f;
        GAS.MAX_SPECIES_VMP = 300.0f;
    }

    // A new run's cells, then the results of an output: number density n and density 1 in every cell,
    // and `count` molecules spread over the box.
    void continued_run(float n, int count)
    {
        SET_DIVISIONS_AND_ELEMENTS();
        SET_UP_CELLS();
        RESULTS.VAR.allocate(18, CELLS.MAX_CELLS);
        for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
            RESULTS.VAR(VAR_NUMBER_DENSITY, c) = n;
            RESULTS.VAR(VAR_DENSITY, c) = 1.0f;
        }
        MOLECULES.NM = count;
        MOLECULES.MOL_POS.allocate(3, count);
        MOLECULES.IP.allocate(2, count);
        for (int m = 1; m <= count; ++m) {
            for (int a = 1; a <= 3; ++a)
                MOLECULES.MOL_POS(a, m) =
                    static_cast<float>(BOX.XMIN + (BOX.XMAX - BOX.XMIN) * ((m * (a + 6)) % 97) / 97.0);
            MOLECULES.IP(IP_CELL, m) = 999999;  // an old cell number that no longer exists
        }
    }
    void answer_molecules_per_cell(int mpc) { HEADLESS.integers[{144, 1015}] = mpc; }
};

// Box 0..20 cubed, 10 divisions of 2 elements: every element expects 10 molecules.
struct UniformCase {
    int mpc;    // molecules per cell asked for
    int cells;  // cells made
};
class AdaptCellsUniformTest : public AdaptCellsTest, public ::testing::WithParamInterface<UniformCase> {};

TEST_P(AdaptCellsUniformTest, UniformFlowWithoutSurfaces)
{
    const UniformCase c = GetParam();
    set_box(0.0f, 20.0f, 10, 2);
    set_surfaces({});
    continued_run(10.0f, 100);
    answer_molecules_per_cell(c.mpc);
    ADAPT_CELLS();
    const std::string log = diag();
    EXPECT_EQ(CELLS.CELL_COUNT, c.cells) << c.mpc;
    EXPECT_EQ(CELLS.MAX_CELLS, c.cells);
    EXPECT_TRUE(has_line(log, {"CELLS BEFORE ADAPTION", 1000})) << c.mpc;
    EXPECT_TRUE(has_line(log, {c.cells, " after adaption"})) << c.mpc;
    EXPECT_TRUE(has_line(log, {c.cells, " adapted cells have been set"})) << c.mpc;
    EXPECT_TRUE(has_line(log, {"Total flow volume from cells", 8000.0f})) << c.mpc;
    // The node arrays started at int(1.1 NM / MPC) and grew by 10 % at a time.
    EXPECT_TRUE(has_line(log, {"XNCL,YNCL,ZNCL extended to", c.mpc == 10 ? 12 : 6})) << c.mpc;
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_TIME_STEP, 7), 0.5f);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_SIGMA_CR_MAX, 7), 1200.0f);
    EXPECT_EQ(CELLS.CELL_TIME(7), 3.5);
    // Every molecule carries the cell of the element it lies in.
    for (int m = 1; m <= MOLECULES.NM; ++m) {
        int cell = 0;
        FIND_CELL(cell, MOLECULES.MOL_POS(1, m), MOLECULES.MOL_POS(2, m), MOLECULES.MOL_POS(3, m));
        EXPECT_EQ(MOLECULES.IP(IP_CELL, m), cell) << m;
        EXPECT_GE(cell, 1);
        EXPECT_LE(cell, CELLS.CELL_COUNT);
    }
}
INSTANTIATE_TEST_SUITE_P(MoleculesPerCell, AdaptCellsUniformTest,
                         ::testing::Values(UniformCase{10, 8000}, UniformCase{20, 4000}));

// One division of 3 x 3 x 3 elements expecting two cells: the first node goes to the deepest layer (the
// centre element), the second to one of the 26 face elements. Each try draws two random numbers; with
// a sampled density of 0 every try fails and the 1001st is taken.
struct LayeredCase {
    float density;
    int draws;  // random numbers drawn by the placement and the cells picture's colours
};
class AdaptCellsLayeredTest : public AdaptCellsTest, public ::testing::WithParamInterface<LayeredCase> {};

TEST_P(AdaptCellsLayeredTest, LayeredPlacement)
{
    const LayeredCase c = GetParam();
    set_box(0.0f, 3.0f, 1, 3);
    set_surfaces({});
    continued_run(2.001f / 27.0f, 10);  // 2.001 molecules expected in the division
    for (int cell = 1; cell <= CELLS.CELL_COUNT; ++cell)
        RESULTS.VAR(VAR_DENSITY, cell) = c.density;
    answer_molecules_per_cell(1);
    RandomState expected = RANDOM_STATE;
    for (int i = 0; i < c.draws; ++i) {
        RandomState saved = RANDOM_STATE;
        RANDOM_STATE = expected;
        random_uniform();
        expected = RANDOM_STATE;
        RANDOM_STATE = saved;
    }
    ADAPT_CELLS();
    ASSERT_EQ(CELLS.CELL_COUNT, 2) << c.density;
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_X, 1), 1.5f);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_Y, 1), 1.5f);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_Z, 1), 1.5f);
    const bool on_face = CELLS.CELL_DATA(CELL_NODE_X, 2) != 1.5f || CELLS.CELL_DATA(CELL_NODE_Y, 2) != 1.5f ||
                         CELLS.CELL_DATA(CELL_NODE_Z, 2) != 1.5f;
    EXPECT_TRUE(on_face);
    EXPECT_EQ(RANDOM_STATE.s1, expected.s1) << c.density;
    EXPECT_EQ(RANDOM_STATE.s2, expected.s2) << c.density;
}
INSTANTIATE_TEST_SUITE_P(SampledDensity, AdaptCellsLayeredTest,
                         ::testing::Values(LayeredCase{1.0f, 2 + 2 + 2}, LayeredCase{0.0f, 2002 + 2002 + 2}));

// The remainder passes from division to division: two divisions that expect 0.6 cells each get 0 and 1;
// the first then has a neighbour with a cell and stays without one.
TEST_F(AdaptCellsTest, RemainderCarriesOn)
{
    set_box(0.0f, 20.0f, 1, 1);
    BOX.DIVISIONS_X = 2;
    BOX.XMAX = 40.0f;
    set_surfaces({});
    continued_run(0.6f / 8000.0f, 10);
    answer_molecules_per_cell(1);
    ADAPT_CELLS();
    EXPECT_EQ(CELLS.CELL_COUNT, 1);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_X, 1), 30.0f);
    // Both divisions' elements join the one cell.
    EXPECT_EQ(DIVISIONS.ELEMENT_CELL(1, 1, 1, 1, 1, 1), 1);
    EXPECT_TRUE(has_line(diag(), {"Total flow volume from cells", 16000.0f})) << diag();
}

// A division without surfaces always offers all its elements, even those that belong to no cell. Here
// only the corner element (1, 1, 1) of 27 has a cell and expects 2.001 molecules: two cycles of the
// layered placement, since 2 is below the 27 offered. The first puts a node on the corner; the second
// finds no free element, an empty deepest layer, and places no node (the list's row 0 is never read).
TEST_F(AdaptCellsTest, EmptyDeepestLayerPlacesNoNode)
{
    set_box(0.0f, 3.0f, 1, 3);
    set_surfaces({});
    continued_run(2.001f, 10);
    for (int ez = 1; ez <= 3; ++ez)
        for (int ey = 1; ey <= 3; ++ey)
            for (int ex = 1; ex <= 3; ++ex)
                if (ez + ey + ex > 3)
                    DIVISIONS.ELEMENT_CELL(1, 1, 1, ez, ey, ex) = 0;
    answer_molecules_per_cell(1);
    ADAPT_CELLS();
    ASSERT_EQ(CELLS.CELL_COUNT, 1);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_X, 1), 0.5f);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_Y, 1), 0.5f);
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_NODE_Z, 1), 0.5f);
}

// A molecule inside the body lies in an element without a cell: it is logged and given the cell of the
// nearest node instead of keeping its old cell number.
TEST_F(AdaptCellsTest, MoleculeInNoCell)
{
    set_box(0.0f, 50.0f, 5, 5);
    set_surfaces({block(23.4f, 26.6f, 23.5f, 26.5f, 23.5f, 26.5f, 0, {6, 4, 5, 3, 1, 2})});
    continued_run(0.001f, 1);
    MOLECULES.MOL_POS(1, 1) = 25.0f;
    MOLECULES.MOL_POS(2, 1) = 25.0f;
    MOLECULES.MOL_POS(3, 1) = 25.0f;
    answer_molecules_per_cell(5);
    ADAPT_CELLS();
    EXPECT_TRUE(has_line(diag(), {"Mol", 1, " out of cell range at x,y,z", 25.0f, 25.0f, 25.0f})) << diag();
    EXPECT_GE(MOLECULES.IP(IP_CELL, 1), 1);
    EXPECT_LE(MOLECULES.IP(IP_CELL, 1), CELLS.CELL_COUNT);
}

// A target below one molecule per cell would divide by zero: it is refused.
TEST_F(AdaptCellsTest, TargetBelowOneIsRefused)
{
    set_box(0.0f, 20.0f, 10, 2);
    set_surfaces({});
    continued_run(10.0f, 100);
    // The cells picture of the set-up sets a range of its own field 1015 (dialog 138): count from here.
    const int ranges_before = HEADLESS.count("WDialogRangeInteger 1015 1 ");
    for (int mpc : {0, -999}) {
        answer_molecules_per_cell(mpc);
        EXPECT_THROW(ADAPT_CELLS(), FatalStop) << mpc;
    }
    EXPECT_EQ(HEADLESS.count("WDialogRangeInteger 1015 1 ") - ranges_before, 2);
}

}  // namespace
#endif
