// Molecule weight rescaling: thinning and cloning against their expected counts, rates scaled.
#include "app/kernel/rescale_weight.h"

#include "app/kernel/cell_index.h"
#include "app/state/surface.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

constexpr int START = 5000;

// 5000 molecules over 10 cells, each tagged in MOL_POS(1); EFACE and the surface rates set to 10.
void make_case(int mode)
{
    make_store(START + 100, 10, mode, 1, 4, 3);
    auto& M = MOLECULES;
    for (int n = 1; n <= START; ++n) {
        M.IP(IP_CELL, n) = 1 + n % 10;
        M.IP(IP_SPECIES, n) = 1 + n % 2;
        M.MOL_POS(1, n) = float(n);
        M.PV(4, n) = 0.5f * n;
        M.MOL_VIB_LEVEL(1, n) = int8_t(n % 100);
        M.MOL_TIME(n) = 1e-6 * n;
    }
    M.NM = START;
    GAS.SPECIES_COUNT = 2;
    GAS.EFACE.allocate(7, 2, 6, 2);
    GAS.EFACE.fill(10.0f);
    SURFACE = SurfaceState{};
    SURFACE.SOLID_TRIANGLE_COUNT = SURFACE.ENTRY_TRIANGLE_COUNT = 1;
    SURFACE.SOLID_SPECIES_PROPERTIES.allocate(3, 2, 1);
    SURFACE.SOLID_SPECIES_PROPERTIES.fill(10.0f);
    SURFACE.ENTRY_SPECIES_PROPERTIES.allocate(7, 2, 1);
    SURFACE.ENTRY_SPECIES_PROPERTIES.fill(10.0f);
}

// How many molecules carry each tag; every copy must hold its original's data.
std::map<int, int> tag_counts()
{
    std::map<int, int> counts;
    const auto& M = MOLECULES;
    int wrong = 0;
    for (int n = 1; n <= M.NM; ++n) {
        const int tag = int(M.MOL_POS(1, n));
        ++counts[tag];
        wrong += M.PV(4, n) != 0.5f * tag || M.MOL_VIB_LEVEL(1, n) != tag % 100 ||
                 M.IP(IP_CELL, n) != 1 + tag % 10 || M.IP(IP_SPECIES, n) != 1 + tag % 2;
    }
    EXPECT_EQ(wrong, 0);
    return counts;
}

void expect_index_sound()
{
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS) {
        DiagLog log;
        CHECK_INDEX();
        EXPECT_EQ(log.count("RESETTING"), 0);
    } else {
        int listed = 0;
        for (int K = 1; K <= 10; ++K)
            listed += CELLS.ICELL(ICELL_COUNT, K);
        EXPECT_EQ(listed, MOLECULES.NM);
    }
}

}  // namespace

// F = 2: each molecule gets exactly one clone (the fraction left, 1, always exceeds the draw).
TEST(RescaleWeight, FactorTwoDoublesEveryMolecule)
{
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        RandomGuard keep;
        DiagLog log;
        make_case(mode);
        RESCALE_WEIGHT(2.0f);
        EXPECT_EQ(MOLECULES.NM, 2 * START);
        const auto counts = tag_counts();
        EXPECT_EQ(counts.size(), std::size_t(START));
        for (const auto& [tag, n] : counts)
            ASSERT_EQ(n, 2) << tag;
        EXPECT_GE(RUN.MNM, 2 * START);
        EXPECT_EQ(GAS.EFACE(EFACE_RATE, 2, 6, 2), 20.0f);
        EXPECT_EQ(GAS.EFACE(EFACE_REMAINDER, 2, 6, 2), 10.0f);
        EXPECT_EQ(SURFACE.SOLID_SPECIES_PROPERTIES(2, 2, 1), 20.0f);
        EXPECT_EQ(SURFACE.ENTRY_SPECIES_PROPERTIES(3, 1, 1), 20.0f);
        EXPECT_EQ(SURFACE.ENTRY_SPECIES_PROPERTIES(4, 1, 1), 10.0f);
        expect_index_sound();
    }
}

// Thinning and cloning by other factors: the count follows within five binomial standard errors, and
// every molecule keeps its data.
TEST(RescaleWeight, CountFollowsTheFactorWithinTheStatisticalError)
{
    const struct {
        float F;
        double expected;  // expected molecules per molecule at the start
        double variance;  // variance of that number
        int min_copies, max_copies;
    } cases[] = {
        {0.5f, 0.5, 0.25, 0, 1}, {1.0f, 1.0, 0.0, 1, 1}, {3.2f, 3.2, 0.16, 3, 4}, {0.1f, 0.1, 0.09, 0, 1}};
    for (const auto& c : cases) {
        for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
            RandomGuard keep;
            DiagLog log;
            make_case(mode);
            RESCALE_WEIGHT(c.F);
            const double n = MOLECULES.NM;
            EXPECT_NEAR(n, c.expected * START, 5 * std::sqrt(c.variance * START) + 1e-9) << "F = " << c.F;
            for (const auto& [tag, copies] : tag_counts()) {
                ASSERT_GE(copies, std::max(c.min_copies, 1)) << "F = " << c.F;
                ASSERT_LE(copies, c.max_copies) << "F = " << c.F;
            }
            expect_index_sound();
        }
    }
}
