// COLLIDE_MOLECULES passes by the cells that surely are not due in a pass without reading their clocks:
// the cells whose clocks it advances must be exactly those that the time rule (TIME - CELL_TIME > DTC)
// finds due in every pass, also where the rule is met with equality, where the flow time's sums are
// inexact, after more passes than a count can hold, and after the steps, DTM or the flow time changed.
#include "app/kernel/collide_molecules.h"

#include "tests/kernel_collide/collide_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const TestSpecies ARGON{4.17e-10, 273.0, 0.81, 6.63e-26, 1.0};

// Runs `passes` passes (flow time on by DTM, then the collisions) and compares each cell's clock with
// the time rule applied to the clocks before the pass. Returns the number of cells found due.
int run_and_compare(int passes, const std::string& what)
{
    auto& CT = CELLS.CELL_TIME;
    const auto& CD = CELLS.CELL_DATA;
    const int cells = CELLS.CELL_COUNT;
    std::vector<double> before(cells + 1);
    int due_count = 0;
    for (int pass = 1; pass <= passes; ++pass) {
        RUN.TIME += RUN.DTM;
        for (int j = 1; j <= cells; ++j)
            before[j] = CT(j);
        COLLIDE_MOLECULES();
        for (int j = 1; j <= cells; ++j) {
            const float dtc = CD(CELL_TIME_STEP, j);
            const bool due = RUN.TIME - before[j] > dtc;
            due_count += due;
            const double expected = due ? before[j] + 2.0 * dtc : before[j];
            if (CT(j) != expected) {
                ADD_FAILURE() << what << ": pass " << pass << ", cell " << j << (due ? " due" : " not due")
                              << ", clock " << CT(j) << " instead of " << expected;
                return due_count;
            }
        }
    }
    return due_count;
}

// Steps of every kind: whole multiples of DTM / 2 (the rule then meets equality at some passes), odd
// fractions of DTM, steps below DTM / 2 (due every pass), and steps so long that a cell waits beyond
// 255 passes; clocks behind the flow time by up to several steps (due in several passes running).
void set_steps(float dtm, double time, int variant)
{
    auto& CD = CELLS.CELL_DATA;
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j) {
        float dtc = 0.0f;
        switch ((j + variant) % 4) {
        case 0: dtc = 0.5f * dtm * float(1 + (j + variant) % 7); break;
        case 1: dtc = dtm * (0.37f + 1.91f * float((j + variant) % 5)); break;
        case 2: dtc = dtm * (j % 3 == 0 ? 0.3f : 400.0f); break;
        default: dtc = dtm * (0.5f + 0.125f * float(j % 9)); break;
        }
        CD(CELL_TIME_STEP, j) = dtc;
        CELLS.CELL_TIME(j) = time - double(dtc) * (j % 5) * 0.75;
    }
}

}  // namespace

TEST(CellTurns, ExactlyTheDueCellsCollide)
{
    RandomGuard keep;
    DiagLog log;
    TestCase c;
    c.nx = c.ny = c.nz = 4;  // 64 cells, about 150 molecules each
    c.subcell_mode = SUBCELLS_TRANSIENT;
    c.species = {ARGON};
    make_case(c);
    INDEX_MOLECULES();
    // A step of 1e-8 s (scaled by 100): a few collisions per molecule in the whole test. The flow time
    // starts far from 0, so that its sums with DTM round.
    RUN.DTM = 1.0e-6f * 1.3f;
    RUN.TIME = 12345.678 * RUN.DTM;
    set_steps(RUN.DTM, RUN.TIME, 0);
    const double collisions0 = RUN.COLLISION_COUNT;

    int due = run_and_compare(300, "first steps");
    EXPECT_GT(due, 300) << "cells are due";
    EXPECT_LT(due, 300 * CELLS.CELL_COUNT / 2) << "most cells wait";

    // An output adapts the steps and moves OUTPUT_TIME on.
    set_steps(RUN.DTM, RUN.TIME, 1);
    RUN.OUTPUT_TIME += 1.0f;
    due = run_and_compare(60, "after new steps");
    EXPECT_GT(due, 60);

    // Another DTM, then a flow time set anew (as a restart does).
    RUN.DTM *= 0.75f;
    run_and_compare(40, "after another DTM");
    RUN.TIME -= 7.5 * RUN.DTM;
    run_and_compare(40, "after another flow time");
    EXPECT_GT(RUN.COLLISION_COUNT, collisions0) << "the due cells collide";
}
