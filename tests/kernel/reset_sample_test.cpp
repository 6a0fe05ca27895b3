// RESET_SAMPLE: every sample sum zeroed over its whole extent, the start recorded, the rest kept.
#include "app/kernel/reset_sample.h"

#include "app/state/results.h"
#include "app/state/samples.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

TEST(ResetSample, ZeroesEverySumAndRecordsTheStart)
{
    make_store(10, 3, INDEX_NORMAL);
    auto& S = SAMPLES;
    S = SampleSums{};
    S.CELL_SAMPLE.allocate(9, 3, 2);
    S.CELL_COLL_COUNT.allocate(3);
    S.CELL_SEP_SUM.allocate(3);
    S.PAIR_COLL_COUNT.allocate(2, 2);
    S.SURF_SAMPLE.allocate(6, 4, 2);
    S.SURF_FORCE_SAMPLE.allocate(6, 1);
    S.ADIABATIC_SAMPLE.allocate(2, 4);
    GAS.REACTION_COUNT.allocate(2);
    GAS.SURF_REACTION_COUNT.allocate(1);
    GAS.CP_LEFT_MIN_X.allocate(2);
    RESULTS.VAR.allocate(19, 3);
    std::vector<Array<double, 1>*> ones = {&S.CELL_COLL_COUNT, &S.CELL_SEP_SUM, &GAS.REACTION_COUNT,
                                           &GAS.SURF_REACTION_COUNT, &GAS.CP_LEFT_MIN_X};
    for (auto* a : ones)
        a->fill(3.0);
    S.CELL_SAMPLE.fill(3.0);
    S.PAIR_COLL_COUNT.fill(3.0);
    S.SURF_SAMPLE.fill(3.0);
    S.SURF_FORCE_SAMPLE.fill(3.0);
    S.ADIABATIC_SAMPLE.fill(3.0);
    RESULTS.VAR.fill(7.0f);
    S.SAMPLE_COUNT = 12;
    RUN.TIME = 0.1234567890123;
    RUN.MOVE_COUNT = 99.0;
    MOLECULES.NM = 8;

    RESET_SAMPLE();

    EXPECT_EQ(S.SAMPLE_COUNT, 0);
    EXPECT_EQ(S.SAMPLE_START_TIME, 0.1234567890123f);
    EXPECT_EQ(S.NM_SAMPLE_START, 8);
    auto all = [](const auto& a, double v) {
        return std::all_of(a.begin(), a.end(), [v](auto x) { return x == v; });
    };
    EXPECT_TRUE(all(S.CELL_SAMPLE, 0.0));
    EXPECT_TRUE(all(S.CELL_COLL_COUNT, 0.0));
    EXPECT_TRUE(all(S.CELL_SEP_SUM, 0.0));
    EXPECT_TRUE(all(S.PAIR_COLL_COUNT, 0.0));
    EXPECT_TRUE(all(S.SURF_SAMPLE, 0.0));
    EXPECT_TRUE(all(S.SURF_FORCE_SAMPLE, 0.0));
    EXPECT_TRUE(all(S.ADIABATIC_SAMPLE, 0.0));
    EXPECT_TRUE(all(GAS.REACTION_COUNT, 0.0));
    EXPECT_TRUE(all(GAS.SURF_REACTION_COUNT, 0.0));
    // Kept: results, constant-pressure counters, running totals.
    EXPECT_TRUE(all(RESULTS.VAR, 7.0));
    EXPECT_TRUE(all(GAS.CP_LEFT_MIN_X, 3.0));
    EXPECT_EQ(RUN.MOVE_COUNT, 99.0);
}
