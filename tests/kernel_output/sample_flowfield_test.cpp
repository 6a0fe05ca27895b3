// SAMPLE_FLOWFIELD adds the molecules in store order: one pass over a whole store must leave every sum
// of every cell, species and field the same to the bit as passes over one molecule at a time, taken in
// store order, for a mixture with rotation and vibration and for a single species without either.
#include "tests/kernel_physics/run_folder.h"

#include "app/kernel/sample_flowfield.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct StoreCase {
    const char* name;
    bool mixture;  // two species (IP row 3, one of them rotating, vibrational modes), else one plain species
    int molecules;
};

// A store of `molecules` in 40 cells: runs of a few molecules in one cell mixed with molecules anywhere,
// velocities of very different sizes (so that the order of the additions shows in the sums), negative
// species codes among them (a reaction's mark, taken as its absolute value), and sums that a sample
// already holds.
void make_sampled_store(const StoreCase& c)
{
    constexpr int CELLS_USED = 40;
    const int vib = c.mixture ? 2 : 0;
    make_store(c.molecules, CELLS_USED, INDEX_NORMAL, vib, c.mixture ? 4 : 3, c.mixture ? 3 : 2);
    auto& G = GAS;
    G.SPECIES_ROTATION.allocate(2, G.SPECIES_COUNT);
    G.VIB_MODE_COUNT.allocate(G.SPECIES_COUNT);
    G.VIB_TEMP.allocate(vib, G.SPECIES_COUNT);
    if (c.mixture) {
        G.SPECIES_ROTATION(1, 1) = 2;  // species 1 rotates and has one mode, species 2 two modes
        G.VIB_MODE_COUNT(1) = 1;
        G.VIB_MODE_COUNT(2) = 2;
        G.VIB_TEMP(1, 1) = 3371.0f;
        G.VIB_TEMP(1, 2) = 2256.0f;
        G.VIB_TEMP(2, 2) = 1000.0f;
    }
    SAMPLES = SampleSums{};
    SAMPLES.CELL_SAMPLE.allocate(8 + vib, CELLS_USED, G.SPECIES_COUNT);
    SURFACE = SurfaceState{};
    RUN.NM_HISTORY.allocate(2, 200);
    RUN.HISTORY_INDEX = 1;

    std::mt19937 draw(12345);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (double& s : SAMPLES.CELL_SAMPLE)
        s = 1.0e3 * unit(draw);
    auto& M = MOLECULES;
    M.NM = c.molecules;
    int cell = 1;
    for (int n = 1; n <= M.NM; ++n) {
        if (draw() % 3 != 0)  // two in three molecules leave the cell of the one before
            cell = 1 + static_cast<int>(draw() % CELLS_USED);
        M.IP(IP_CELL, n) = cell;
        const float scale = n % 7 == 0 ? 1.0e4f : n % 5 == 0 ? 1.0e-3f : 300.0f;
        for (int i = 1; i <= 3; ++i)
            M.PV(i, n) = scale * unit(draw);
        if (c.mixture) {
            const int s = 1 + static_cast<int>(draw() % 2);
            M.IP(IP_SPECIES, n) = n % 11 == 0 ? -s : s;
            M.PV(PV_ROTATION, n) = s == 1 ? 1.0e-20f * (1.0f + unit(draw)) : 0.0f;
            for (int k = 1; k <= vib; ++k)
                M.MOL_VIB_LEVEL(k, n) = static_cast<int8_t>(draw() % 6);
        }
    }
}

class SampleOrder : public KernelRunTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(SampleOrder, WholeStoreEqualsOneMoleculeAtATime)
{
    const StoreCase c = GetParam();
    make_sampled_store(c);
    auto& M = MOLECULES;
    const Array<double, 3> start = SAMPLES.CELL_SAMPLE.clone();
    SAMPLE_FLOWFIELD();
    const Array<double, 3> whole = SAMPLES.CELL_SAMPLE.clone();

    // The same molecules, each alone in slot 1 in turn.
    SAMPLES.CELL_SAMPLE = start.clone();
    const Array<float, 2> pv = M.PV.clone();
    const Array<int32_t, 2> ip = M.IP.clone();
    const Array<int8_t, 2> level = M.MOL_VIB_LEVEL.clone();
    const int molecules = M.NM;
    for (int n = 1; n <= molecules; ++n) {
        for (int i = 1; i <= M.PV_ROWS; ++i)
            M.PV(i, 1) = pv(i, n);
        for (int i = 1; i <= M.IP_ROWS; ++i)
            M.IP(i, 1) = ip(i, n);
        for (int k = 1; k <= GAS.MAX_VIB_MODES; ++k)
            M.MOL_VIB_LEVEL(k, 1) = level(k, n);
        M.NM = 1;
        SAMPLE_FLOWFIELD();
    }
    const auto& one = SAMPLES.CELL_SAMPLE;
    int differ = 0;
    for (std::size_t e = 0; e < whole.size(); ++e)
        differ += whole.data()[e] != one.data()[e];
    EXPECT_EQ(differ, 0) << c.name << ": sums that differ from those of one molecule at a time";
    int changed = 0;
    for (std::size_t e = 0; e < whole.size(); ++e)
        changed += whole.data()[e] != start.data()[e];
    EXPECT_GE(changed, 7) << c.name << ": a molecule reaches at least its count and six moments";
}

INSTANTIATE_TEST_SUITE_P(Stores, SampleOrder,
                         ::testing::Values(StoreCase{"mixture", true, 1000}, StoreCase{"single", false, 1000},
                                           StoreCase{"fewer than the look-ahead", true, 5}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == ' ' || ch == '-')
                                     ch = '_';
                             return name;
                         });

}  // namespace
