// Collision rates of whole runs over several outputs: an argon box at rest (VHS, 300 K, every side a
// plane of symmetry), dense and sparse, against kinetic theory over the whole run and over each half of
// the output interval. Every output lowers each cell's bound on sigma_T c_r; a bound lowered into the
// bulk of the distribution loses collisions until pairs above it raise it again, most in the first half
// of each interval and in cells that see few selections per output. Before the bound had a floor these
// cases gave 5.5 % too few collisions over the run at 1e18 per m^3 (11 % in the first halves) and 9 %
// too few at 1e16 with 2500 molecules per cell (14 % in the first halves).
//
// The expectation is formed from what the run did: for every cell whose collisions were due in a pass,
// N (N - 1) / 2 FNUM <sigma_T c_r> dt / V with the cell's molecule count N, the interval dt its clock
// advanced and the VHS mean <sigma_T c_r> of the gas's temperature (Bird 1994, eq. 4.64 over n), which
// the closed box keeps (specular sides, elastic collisions). Summed over the run this is N nu / 2 over
// the time, N the molecules of the box and nu the equilibrium collision rate. The accepted collisions
// are at most Poisson-distributed about it (a fixed number of selections, each accepted or not), so the
// square root of the expectation is the standard error.
#include "tests/kernel_physics/physics_case.h"

#include "tests/kernel_physics/run_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Collisions counted and expected in the first and second half of the output intervals.
struct HalfCounts {
    double counted[2] = {0, 0};
    double expected[2] = {0, 0};
    int passes = 0;
};

// Runs the case until `outputs` outputs have been made and counts its collisions by half interval.
HalfCounts count_collisions(const PhysicsCase& c, int outputs)
{
    const double T = store_moments(c.mass).T;
    const double sigma_cr = collision_rate(c, 1.0, T);  // <sigma_T c_r> = nu / n
    const double sf = BOX.SCALE_FACTOR;
    const int cells = CELLS.CELL_COUNT;
    std::vector<double> clock(cells + 1);
    HalfCounts h;
    PhaseRun r;
    while (RUN.OUTPUT_COUNT < outputs) {
        for (int j = 1; j <= cells; ++j)
            clock[j] = CELLS.CELL_TIME(j);
        const double interval_start = double(RUN.OUTPUT_TIME) - double(RUN.OUTPUT_INTERVAL);
        const double before = RUN.COLLISION_COUNT;
        r.run(1);
        // The half of the interval that this pass's time lies in (the output at its end already moved
        // OUTPUT_TIME on, so the start was read before the pass).
        const int half = (RUN.TIME - interval_start) / RUN.OUTPUT_INTERVAL <= 0.5 ? 0 : 1;
        h.counted[half] += RUN.COLLISION_COUNT - before;
        for (int j = 1; j <= cells; ++j) {
            const double dt = (CELLS.CELL_TIME(j) - clock[j]) / sf;
            if (dt <= 0.0)
                continue;
            const double N = CELLS.ICELL(ICELL_COUNT, j);
            const double V = CELLS.CELL_DATA(CELL_VOLUME, j) / (sf * sf * sf);
            h.expected[half] += 0.5 * N * (N - 1.0) * c.fnum * sigma_cr * dt / V;
        }
    }
    EXPECT_EQ(r.draws_in_output, 0);
    h.passes = r.passes;
    return h;
}

struct RateCase {
    const char* name;
    double density;  // 1/m^3
    double fnum;
    int outputs;
    double min_collisions;  // the statistics the tolerance rests on
};

// Argon at rest in a box of 4 m with 8 cells of 2 m, one move per cell transit and per collision time,
// so that the output interval of 0.01 s spans a few collision intervals of each cell at a few dozen
// passes; at 1e18 per m^3 a molecule collides 3 times per output interval (2 600 collisions per cell),
// at 1e16 a cell 11 times.
class CollisionRateCases : public KernelRunTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(CollisionRateCases, RateIsTheEquilibriumRateOverTheRunAndEachHalfInterval)
{
    const RateCase& rc = GetParam();
    PhysicsCase c;
    for (int d = 0; d < 3; ++d)
        c.high[d] = 4.0;
    c.density = rc.density;
    c.fnum = rc.fnum;
    c.ref_time = 1.0e-3;
    c.output_interval = 10.0;  // 0.01 s
    c.steady_after = 1000;     // the sample is reset at every output
    c.moves_per_transit = 1;
    c.moves_per_coll_time = 1;
    c.mnm = 30000;
    set_up_case(c);
    const int NM0 = MOLECULES.NM;
    const HalfCounts h = count_collisions(c, rc.outputs);
    EXPECT_EQ(MOLECULES.NM, NM0) << "a closed box keeps its molecules";

    const double counted = h.counted[0] + h.counted[1], expected = h.expected[0] + h.expected[1];
    std::printf("%s: %d cells, %d molecules, %d passes; counted / expected: run %.4f, halves %.4f %.4f; "
                "standard errors %.4f %.4f %.4f\n",
                rc.name, CELLS.CELL_COUNT, NM0, h.passes, counted / expected, h.counted[0] / h.expected[0],
                h.counted[1] / h.expected[1], 1.0 / std::sqrt(expected), 1.0 / std::sqrt(h.expected[0]),
                1.0 / std::sqrt(h.expected[1]));
    ASSERT_GT(expected, rc.min_collisions) << rc.name;
    EXPECT_NEAR(counted / expected, 1.0, 3.0 / std::sqrt(expected)) << rc.name << ": the whole run";
    for (int half = 0; half < 2; ++half)
        EXPECT_NEAR(h.counted[half] / h.expected[half], 1.0, 3.0 / std::sqrt(h.expected[half]))
            << rc.name << ": half " << half + 1 << " of the output interval";
}

INSTANTIATE_TEST_SUITE_P(ArgonBox, CollisionRateCases,
                         ::testing::Values(RateCase{"1e18 per m^3", 1.0e18, 6.4e15, 6, 40000.0},
                                           RateCase{"1e16 per m^3", 1.0e16, 1.0e14, 60, 4000.0}),
                         [](const auto& info) { return info.index == 0 ? "Dense" : "Sparse"; });

}  // namespace
