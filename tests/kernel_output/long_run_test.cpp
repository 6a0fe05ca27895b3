// A long run of a box without surfaces under the sanitizers: 2000 passes of a stream through the box
// with continuous indexing, sampling and an output every 20 or so passes. Every index check finds the
// continuous index consistent, the molecule count stays at the stream's, and neither the sampling nor
// the output (with its display calls) draws a random number.
#include "tests/kernel_physics/physics_case.h"
#include "tests/kernel_physics/run_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using LongRun = KernelRunTest;

// The lines of the index check that report an inconsistency.
int index_faults(const DiagLog& log)
{
    return log.count("MOLS IN CELL") + log.count("NEGATIVE MOLECULES") + log.count("INCORRECT");
}

TEST_F(LongRun, StreamThroughAnEmptyBoxKeepsItsIndexAndMoleculeCount)
{
    const PhysicsCase c = stream_box_case(5.0e12);  // 8000 molecules
    set_up_case(c);
    const int NM0 = MOLECULES.NM;
    const int resets0 = log_->count("RESETTING");

    std::vector<int> nm;
    PhaseRun r;
    r.run(2000, [&](int) { nm.push_back(MOLECULES.NM); });
    CHECK_INDEX();

    EXPECT_GT(r.outputs, 40);
    EXPECT_EQ(log_->count("CHECKING INDEX"), r.outputs + 1);
    EXPECT_EQ(index_faults(*log_), 0);
    EXPECT_EQ(log_->count("RESETTING"), resets0) << "no index check had to rebuild the index";
    EXPECT_EQ(log_->count("DTM changes from"), r.outputs);
    EXPECT_EQ(r.draws_in_output, 0) << "sampling and output draw no random number";
    EXPECT_GT(RUN.ENTRY_COUNT, 5.0 * NM0) << "the box has been refilled several times";

    // Steady: after the first 400 passes, the mean count of every block of 400 passes lies within 1 % of
    // the mean of all 1600. The count fluctuates by about sqrt(NM) (1.1 %) from pass to pass and a
    // molecule stays some 32 passes in the box, so a block's mean has an error near 0.3 %. (The level
    // lies a little above n V / FNUM: an entering molecule starts at the face with a clock up to DTM
    // old, so it stays in the box a little longer than its path takes.)
    auto mean = [&](size_t from, size_t to) {
        double sum = 0.0;
        for (size_t p = from; p < to; ++p)
            sum += nm[p];
        return sum / double(to - from);
    };
    const double all = mean(400, 2000);
    for (size_t block = 400; block < 2000; block += 400)
        EXPECT_NEAR(mean(block, block + 400), all, 0.01 * all)
            << "passes " << block + 1 << " to " << block + 400;
}

}  // namespace
