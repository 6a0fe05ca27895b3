// Uniform streams at long time steps: every molecule must be moved for all the time its clock advances.
// Three places lost time: an entering molecule was placed at the face with its clock set back by part of
// the step and never moved for it, so it stayed behind its place in the stream for its whole life (too
// many molecules in an open box, most of them next to the inflow face); a path cut at one division per
// axis dropped the rest of the step; and a molecule stopped at a specular side that reflected it lost
// the rest of the step too (a stream in a column with specular sides came out too dense, too fast and
// too hot).
//
// The cell time steps are set by the test (every cell DTM / 2, so that every molecule moves in every
// pass by DTM) and no output is made, so that no adaptation changes them. The measured quantities are
// averaged over the passes; successive passes are correlated (a molecule stays a few passes in a cell,
// a few dozen in the box), so the standard error comes from the spread of the means of batches of
// passes, each batch several box transits long.
#include "tests/kernel_physics/physics_case.h"

#include "tests/kernel_physics/run_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Means of a quantity over batches of passes, and the standard error of their mean.
class BatchMeans {
public:
    explicit BatchMeans(int passes_per_batch) : size_(passes_per_batch) {}
    void add(double x)
    {
        sum_ += x;
        if (++count_ == size_) {
            batches_.push_back(sum_ / size_);
            sum_ = 0.0, count_ = 0;
        }
    }
    double mean() const
    {
        double s = 0;
        for (double b : batches_)
            s += b;
        return s / batches_.size();
    }
    double error() const
    {
        const double m = mean();
        double v = 0;
        for (double b : batches_)
            v += (b - m) * (b - m);
        return std::sqrt(v / (batches_.size() - 1) / batches_.size());
    }
    int batches() const { return static_cast<int>(batches_.size()); }

private:
    int size_;
    int count_ = 0;
    double sum_ = 0.0;
    std::vector<double> batches_;
};

// Sets every cell's time step to half of the overall step `dtm` (scaled time), so that every molecule
// moves by dtm in every pass.
void set_time_steps(double dtm)
{
    RUN.DTM = static_cast<float>(dtm);
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j)
        CELLS.CELL_DATA(CELL_TIME_STEP, j) = static_cast<float>(dtm / 2.0);
}

// An argon stream at 1000 m/s and 300 K (speed ratio 2.8), dilute enough to be nearly free of
// collisions, through a box of 4 x 4 x 4 cells of 5 cm, every side a stream side.
PhysicsCase stream_box()
{
    PhysicsCase c;
    for (int d = 0; d < 3; ++d)
        c.divisions[d] = 4, c.elements[d] = 1;
    for (int& code : c.codes)
        code = 3;
    c.density = 1.0e17;
    c.fnum = 2.0e11;  // 4000 molecules
    c.velocity[0] = 1000.0;
    c.output_interval = 1.0e6;  // no output during the test
    return c;
}

struct StepCase {
    double transits_per_step;  // the overall step in cell transits at the stream speed
    int passes;                // measured passes (50 box transits)
};

class StreamBoxSteps : public KernelRunTest, public ::testing::WithParamInterface<StepCase> {};

// The box holds n V / FNUM molecules, and the cells next to the inflow face (min x) hold the stream's
// density. Before the mend, at one cell transit per step, the box held 13 % too many molecules.
TEST_P(StreamBoxSteps, BoxHoldsTheStreamAndTheInflowCellsItsDensity)
{
    const StepCase& sc = GetParam();
    const PhysicsCase c = stream_box();
    set_up_case(c);
    const double sf = BOX.SCALE_FACTOR;
    set_time_steps(sc.transits_per_step * DIVISIONS.DIVISION_WIDTH_X / c.velocity[0]);
    const double nominal = c.density * 0.2 * 0.2 * 0.2 / c.fnum;

    // The cells next to the inflow face and their volume.
    std::vector<bool> inflow(CELLS.CELL_COUNT + 1, false);
    double inflow_volume = 0.0;
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j)
        if (CELLS.CELL_DATA(CELL_LOW_X, j) <= BOX.XMIN + 1e-3f * DIVISIONS.DIVISION_WIDTH_X) {
            inflow[j] = true;
            inflow_volume += CELLS.CELL_DATA(CELL_VOLUME, j) / (sf * sf * sf);
        }
    ASSERT_EQ(std::count(inflow.begin(), inflow.end(), true), 16);
    const double inflow_nominal = c.density * inflow_volume / c.fnum;

    PhaseRun r;
    r.run(sc.passes / 5);  // 10 box transits: the initial fill has left
    BatchMeans count(sc.passes / 10), inflow_count(sc.passes / 10);
    r.run(sc.passes, [&](int) {
        count.add(MOLECULES.NM);
        int n = 0;
        for (int m = 1; m <= MOLECULES.NM; ++m)
            n += inflow[MOLECULES.IP(IP_CELL, m)] ? 1 : 0;
        inflow_count.add(n);
    });
    std::printf("%.2f cell transits per step: molecules / (n V / FNUM) %.4f (error %.4f), inflow cells %.4f "
                "(error %.4f)\n",
                sc.transits_per_step, count.mean() / nominal, count.error() / nominal,
                inflow_count.mean() / inflow_nominal, inflow_count.error() / inflow_nominal);
    EXPECT_NEAR(count.mean(), nominal, 3.0 * count.error());
    EXPECT_NEAR(inflow_count.mean(), inflow_nominal, 3.0 * inflow_count.error());
    EXPECT_LT(count.error(), 0.005 * nominal) << "the statistics the tolerance rests on";
}

INSTANTIATE_TEST_SUITE_P(Steps, StreamBoxSteps, ::testing::Values(StepCase{1.0, 200}, StepCase{0.25, 800}),
                         [](const auto& info) {
                             return info.index == 0 ? "OneCellTransit" : "QuarterTransit";
                         });

using SpecularColumn = KernelRunTest;

// A stream along a column of 0.3 x 0.3 m with specular sides, 0.6 m long, divisions of 0.15 m, at one
// cell transit per step: the column keeps the stream's density, velocity and temperature. Before the
// mend it came out too dense, too fast and too hot.
TEST_F(SpecularColumn, StreamKeepsItsDensityVelocityAndTemperature)
{
    PhysicsCase c = stream_box();
    c.high[0] = 0.6;
    c.high[1] = c.high[2] = 0.3;
    for (int d = 1; d < 3; ++d)
        c.divisions[d] = 2;
    for (int side = 3; side <= 6; ++side)
        c.codes[side - 1] = 2;
    c.fnum = 1.35e12;  // 4000 molecules
    set_up_case(c);
    set_time_steps(DIVISIONS.DIVISION_WIDTH_X / c.velocity[0]);
    const double volume = 0.6 * 0.3 * 0.3;

    PhaseRun r;
    r.run(40);  // 10 column transits
    BatchMeans n(20), u(20), T(20);
    r.run(400, [&](int) {
        const StoreMoments m = store_moments(c.mass);
        n.add(MOLECULES.NM * c.fnum / volume);
        u.add(m.u[0]);
        T.add(m.T);
    });
    std::printf("specular column: density %.4f (error %.4f), velocity %.4f (error %.4f), temperature %.4f "
                "(error %.4f) of the stream's\n",
                n.mean() / c.density, n.error() / c.density, u.mean() / c.velocity[0],
                u.error() / c.velocity[0], T.mean() / c.temperature, T.error() / c.temperature);
    EXPECT_NEAR(n.mean(), c.density, 3.0 * n.error());
    EXPECT_NEAR(u.mean(), c.velocity[0], 3.0 * u.error());
    EXPECT_NEAR(T.mean(), c.temperature, 3.0 * T.error());
    EXPECT_LT(n.error(), 0.005 * c.density) << "the statistics the tolerance rests on";
}

}  // namespace
