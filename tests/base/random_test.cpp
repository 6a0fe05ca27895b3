// The run's random-number generator: its known first values and a saved and restored state.
#include "base/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, FirstValuesOfTheRun)
{
    const RandomState saved = RANDOM_STATE;
    RANDOM_STATE = RandomState{};
    // the known values, each within half a unit of its last given digit
    const struct {
        double value, tolerance;
    } expected[] = {
        {3.9208680e-7, 0.5e-14}, {0.02548044, 0.5e-8}, {0.3525161, 0.5e-7},
        {0.6669145, 0.5e-7},     {0.9630555, 0.5e-7},
    };
    for (const auto& e : expected)
        EXPECT_NEAR(random_uniform(), e.value, e.tolerance);
    RANDOM_STATE = saved;
}

TEST(Random, RestoredStateRepeatsTheSequence)
{
    const RandomState saved = RANDOM_STATE;
    double first[100];
    for (double& v : first) {
        v = random_uniform();
        EXPECT_GT(v, 0.0);
        EXPECT_LT(v, 1.0);
    }
    RANDOM_STATE = saved;
    for (double v : first)
        EXPECT_EQ(random_uniform(), v);
    RANDOM_STATE = saved;
}

}  // namespace
