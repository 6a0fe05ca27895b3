// INITIALIZE_FLOW on cells made by the geometry itself (SET_DIVISIONS_AND_ELEMENTS, SET_UP_CELLS): a
// box without surfaces and a box around a block body.
#include "app/kernel/initialize_flow.h"

#include "app/geometry/geometry.h"
#include "app/kernel/cell_index.h"
#include "app/state/divisions.h"
#include "app/state/results.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "tests/geometry/bodies.h"
#include "tests/kernel/kernel_test_support.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

namespace {

// Argon at 300 K, n = 1e20, in a 20 x 20 x 20 m box (scale 1) of 4 divisions of 2 elements per axis:
// n V / FNUM = 1e20 x 8000 / 8e19 = 10000 molecules.
void make_case(int index_mode, const std::vector<Body>& bodies)
{
    make_store(30000, 1, index_mode);
    MOLECULES = MoleculeStore{};
    CELLS = Cells{};
    DIVISIONS = Divisions{};
    SAMPLES = SampleSums{};
    set_box(0.0f, 20.0f, 4, 2);
    set_surfaces(bodies);
    SURFACE.SOLID_SPECIES_PROPERTIES.allocate(3, 1, SURFACE.SOLID_TRIANGLE_COUNT);  // no outgassing
    for (int k = 1; k <= 6; ++k)
        BOX.BOUNDARY_CODE(k) = BOUNDARY_STREAM;
    set_argon();
    GAS.STREAM_U = 500.0f;
    RUN.FNUM = 8.0e19f;
    RUN.REF_TIME = 0.01f;
    RUN.OUTPUT_INTERVAL_REF = 1.0f;
    RUN.AVERAGING_FRACTION = 1.0f;
    RUN.SAMPLES_PER_OUTPUT = 5;
    HEADLESS.reset();
    SET_DIVISIONS_AND_ELEMENTS();
    SET_UP_CELLS();
}

}  // namespace

TEST(InitializeFlowOnGeometry, NoSurfaceBoxHoldsTheStreamDensity)
{
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        RandomGuard keep;
        DiagLog log;
        make_case(mode, {});
        ASSERT_EQ(CELLS.CELL_COUNT, 64);
        INITIALIZE_FLOW();
        EXPECT_NEAR(MOLECULES.NM, 10000, 1);
        double u = 0;
        for (int n = 1; n <= MOLECULES.NM; ++n)
            u += MOLECULES.PV(1, n);
        // Drift 500 m/s; the standard error of the mean is sqrt(kT/m / NM).
        EXPECT_NEAR(u / MOLECULES.NM, 500.0, 5 * std::sqrt(1.3806e-23 * 300 / AR_MASS / MOLECULES.NM));
        EXPECT_GT(GAS.EFACE(EFACE_RATE, 1, 1, 1), GAS.EFACE(EFACE_RATE, 1, 2, 1));  // inflow at min x
        if (mode == INDEX_CONTINUOUS) {
            CHECK_INDEX();
            EXPECT_EQ(log.count("RESETTING"), 1);
        }
        EXPECT_EQ(HEADLESS.count("WMessageBox 0 4 0"), 1);
    }
}

// A block body in the middle: no molecule inside it, and no more than its flow volume holds.
TEST(InitializeFlowOnGeometry, BlockBodyHoldsNoMolecules)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_CONTINUOUS, {block(7.3f, 12.7f, 7.6f, 12.4f, 7.7f, 12.3f)});
    INITIALIZE_FLOW();
    const double body = 5.4 * 4.8 * 4.6;
    const double expected = 1.0e20 * (8000.0 - body) / 8.0e19;
    EXPECT_LE(MOLECULES.NM, expected + 1);
    EXPECT_GE(MOLECULES.NM, 0.97 * expected);
    int inside = 0;
    for (int n = 1; n <= MOLECULES.NM; ++n) {
        const float x = MOLECULES.MOL_POS(1, n), y = MOLECULES.MOL_POS(2, n), z = MOLECULES.MOL_POS(3, n);
        inside += x > 7.3f && x < 12.7f && y > 7.6f && y < 12.4f && z > 7.7f && z < 12.3f;
    }
    EXPECT_EQ(inside, 0);
    CHECK_INDEX();
    EXPECT_EQ(log.count("RESETTING"), 1);
}
