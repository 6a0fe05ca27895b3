// COLLIDE_MOLECULES at its edges on small hand-made cells: the time rule and selection number, the
// zero-speed pair, the sub-cell sort and partner search, the energy-ratio sampler, a vibrational
// exchange with no energy, and the removal of molecules that recombinations mark under both indexing
// modes.
#include "app/kernel/collide_molecules.h"

#include "app/geometry/locate.h"
#include "app/kernel/chemical_reaction.h"
#include "app/kernel/molecule_store.h"
#include "tests/kernel_collide/collide_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

constexpr double K = double(BOLTZ);
const TestSpecies ARGON{4.17e-10, 273.0, 0.81, 6.63e-26, 1.0};

// An empty case of one species in 2 x 2 x 2 cells (scaled extent 10, cells of 5).
void make_empty(const TestSpecies& s = ARGON, int index_mode = INDEX_NORMAL)
{
    TestCase c;
    c.initial_state = 2;
    c.index_mode = index_mode;
    c.species = {s};
    make_case(c);
}

// Appends a molecule of species s at (x, y, z) with velocity (u, v, w) in the cell found there.
int add(float x, float y, float z, float u, float v, float w, int s = 1)
{
    const int n = open_molecule_slot();
    auto& M = MOLECULES;
    M.MOL_POS(1, n) = x, M.MOL_POS(2, n) = y, M.MOL_POS(3, n) = z;
    M.PV(1, n) = u, M.PV(2, n) = v, M.PV(3, n) = w;
    set_molecule_species(n, s);
    int cell;
    FIND_CELL(cell, x, y, z);
    M.IP(IP_CELL, n) = cell;
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        INSERT_INTO_CELL_LIST(cell, n);
    return n;
}

// The sub-cell along one axis as SET_SUBCELLS defines it, written out here on its own: int((c - lo) f + 1)
// limited to 1..n in floating point, f = n / (hi - lo) with the reciprocal rounded to 4 bytes (through a
// volatile, so that no compiler keeps its extra bits).
int axis_subcell(float c, float lo, float hi, int n)
{
    volatile float reciprocal = static_cast<float>(1.0 / (double(hi) - lo));
    const double v = (double(c) - lo) * (n * double(reciprocal)) + 1.0;
    const double limited = v >= 1.0 ? (v < n ? v : double(n)) : 1.0;  // NaN -> 1
    return static_cast<int>(limited);
}

void index_and_collide()
{
    if (RUN.INDEX_MODE == INDEX_NORMAL)
        INDEX_MOLECULES();
    COLLIDE_MOLECULES();
}

}  // namespace

// The time rule: a cell is due only when TIME - CELL_TIME exceeds its step (strictly), and its clock
// then advances by twice the step. A cell of one molecule gets no selection but stores its remainder;
// a negative bound gives no selection and remainder 0.
TEST(CollideEdge, TimeRuleAndSelectionNumber)
{
    RandomGuard keep;
    DiagLog log;
    make_empty();
    add(1, 1, 1, 100, 0, 0);
    add(6, 1, 1, 100, 0, 0);  // two molecules in cell 2
    add(7, 2, 2, -100, 0, 0);
    const float dtc = CELLS.CELL_DATA(CELL_TIME_STEP, 1);
    auto& CT = CELLS.CELL_TIME;
    auto& CD = CELLS.CELL_DATA;
    RUN.TIME = 1.0;
    CT.fill(RUN.TIME - dtc);
    CD(CELL_REMAINDER, 1) = 0.25f;
    index_and_collide();
    EXPECT_EQ(CT(1), RUN.TIME - dtc) << "exactly one step behind: not due";

    CT.fill(RUN.TIME - 3.0 * dtc);
    CD(CELL_SIGMA_CR_MAX, 2) = -1.0f;
    CD(CELL_REMAINDER, 2) = 0.5f;
    index_and_collide();
    EXPECT_DOUBLE_EQ(CT(1), RUN.TIME - 3.0 * dtc + 2.0 * dtc) << "one interval per call however far behind";
    EXPECT_EQ(CD(CELL_REMAINDER, 1), 0.25f) << "one molecule: A is the remainder alone";
    EXPECT_EQ(CD(CELL_REMAINDER, 2), 0.0f) << "a negative A counts as 0";
    EXPECT_EQ(RUN.COLLISION_COUNT, 0.0);

    // A remainder of 1.5 (as a restart set could hold) gives a one-molecule cell a selection it cannot
    // make: nothing collides, and the list draws do not reach into cell 2.
    CT.fill(RUN.TIME - 3.0 * dtc);
    CD(CELL_REMAINDER, 1) = 1.5f;
    CD(CELL_SIGMA_CR_MAX, 2) = 0.0f;
    index_and_collide();
    EXPECT_EQ(CD(CELL_REMAINDER, 1), 0.5f);
    EXPECT_EQ(RUN.COLLISION_COUNT, 0.0);
    EXPECT_EQ(MOLECULES.PV(1, 2), 100.0f);
}

// A pair of equal velocities sets the cell's remainder to 0.99 and counts nothing; a pair whose
// sigma_T c_r exceeds the bound raises the bound to it and always collides.
TEST(CollideEdge, ZeroSpeedPairAndRaisedBound)
{
    RandomGuard keep;
    DiagLog log;
    make_empty();
    add(1, 1, 1, 300, 0, 0);
    add(2, 2, 2, 300, 0, 0);
    auto& CD = CELLS.CELL_DATA;
    const double V = CD(CELL_VOLUME, 1);
    const double sf = BOX.SCALE_FACTOR;
    const double dtc = CD(CELL_TIME_STEP, 1);
    // The bound that makes A = N (N - 1) / 2 FNUM B 2 DTC SF^2 / V equal to `selections`.
    auto bound_for = [&](double selections) {
        return static_cast<float>(selections * V / (double(RUN.FNUM) * 2.0 * dtc * sf * sf));
    };
    CD(CELL_SIGMA_CR_MAX, 1) = bound_for(5.5);
    RUN.TIME = 1.0;
    index_and_collide();
    EXPECT_EQ(CD(CELL_REMAINDER, 1), 0.99f);
    EXPECT_EQ(RUN.COLLISION_COUNT, 0.0);
    EXPECT_EQ(MOLECULES.PV(1, 1), 300.0f);

    // Now a relative speed of 1000 m/s and one selection with a bound far below the pair's
    // sigma_T c_r (about 5e-16 m^3/s): FNUM raised to make A = 1.5 with a bound of 1e-20.
    MOLECULES.PV(1, 2) = -700.0f;
    CD(CELL_REMAINDER, 1) = 0.0f;
    CELLS.CELL_TIME.fill(0.0);
    RUN.FNUM = static_cast<float>(1.5 * V / (1.0e-20 * 2.0 * dtc * sf * sf));
    const float bound = 1.0e-20f;
    CD(CELL_SIGMA_CR_MAX, 1) = bound;
    index_and_collide();
    EXPECT_EQ(RUN.COLLISION_COUNT, 1.0);
    EXPECT_GT(CD(CELL_SIGMA_CR_MAX, 1), bound);
    EXPECT_NEAR(SAMPLES.CELL_SEP_SUM(1), std::sqrt(3.0), 1e-6) << "separation in all three components";
    // Momentum and energy of the pair.
    const auto& PV = MOLECULES.PV;
    EXPECT_NEAR(double(PV(1, 1)) + PV(1, 2), -400.0, 1e-3);
    EXPECT_NEAR(double(PV(2, 1)) + PV(2, 2), 0.0, 1e-3);
    double e = 0;
    for (int n = 1; n <= 2; ++n)
        for (int i = 1; i <= 3; ++i)
            e += double(PV(i, n)) * PV(i, n);
    EXPECT_NEAR(e, 300.0 * 300.0 + 700.0 * 700.0, 1.0);
}

// SET_SUBCELLS: n = int((N / fill)^0.33333), so a ratio of exactly 8 gives n = 1 (no sub-cells); with
// 27 molecules and fill 1 n = 2 (27^0.33333 < 3). Molecules outside the cell's extents go to the first
// or last sub-cell; each sub-cell lists its molecules in increasing position order.
TEST(Subcells, CountSortAndClamping)
{
    RandomGuard keep;
    DiagLog log;
    make_empty();
    for (int i = 0; i < 8; ++i)
        add(0.5f + 0.5f * i, 1, 1, 10.0f * i, 0, 0);
    INDEX_MOLECULES();
    int n = -1, n3 = -1;
    SET_SUBCELLS(1, n, n3);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(n3, -1) << "n3 is left alone without sub-cells";

    make_empty();
    // Cell 1 spans 0..5 on each axis. Positions: inside low corner, inside high corner, below, above.
    const float pts[][3] = {{1, 1, 1}, {4, 4, 4}, {-0.5f, 1, 1}, {1, 5.0f, 1}, {4, 1, 4}};
    for (int i = 0; i < 27; ++i) {
        const float* p = pts[i % 5];
        add(p[0], p[1], p[2], float(i), 0, 0);
    }
    // The molecules outside the cell still belong to it (as after a rounding at a face).
    for (int m = 1; m <= MOLECULES.NM; ++m)
        MOLECULES.IP(IP_CELL, m) = 1;
    INDEX_MOLECULES();
    SET_SUBCELLS(1, n, n3);
    ASSERT_EQ(n, 2);
    ASSERT_EQ(n3, 8);
    const auto& IPS = MOLECULES.IPS;
    const auto& ISCH = MOLECULES.ISCH;
    const int expect_sub[5] = {1, 8, 1, 3, 6};  // ix + (iy - 1) 2 + (iz - 1) 4
    for (int i = 1; i <= 27; ++i)
        EXPECT_EQ(IPS(2, i), expect_sub[(IPS(3, i) - 1) % 5]) << "position " << i;
    int total = 0;
    for (int s = 1; s <= 8; ++s) {
        EXPECT_EQ(ISCH(1, s), total);
        for (int q = ISCH(1, s) + 1; q < ISCH(1, s) + ISCH(2, s); ++q)
            EXPECT_LT(IPS(1, q), IPS(1, q + 1));
        total += ISCH(2, s);
    }
    EXPECT_EQ(total, 27);
    EXPECT_EQ(MOLECULES.SUBCELL_IJK(3, 6), 2);
    EXPECT_EQ(MOLECULES.SUBCELL_IJK(2, 6), 1);
    EXPECT_EQ(MOLECULES.SUBCELL_IJK(1, 6), 2);
}

// SET_SUBCELLS with two sub-cells per side against the formula, for molecules on a cell's mid-planes
// and the floats next to them, on and beyond its faces, at both zeros and at NaN, in cells whose
// extents are not exact in binary (the reciprocal's rounding decides the side of a molecule on the
// mid-plane: 11.8f lies below the split of 11.6f .. 12), lie far from the origin, have no extent or a
// negative one. The sort must be the one of the formula in every case: the same sub-cells, counts,
// starts and lists.
TEST(Subcells, TwoPerSideFollowTheFormula)
{
    struct Side {
        float lo, hi;
    };
    const Side sides[] = {
        {11.6f, 12.0f},      // the mid-plane float 11.8f stays in the lower half
        {4.8f, 5.2f},        //
        {0.0f, 1.0f},        // exact halves
        {-2.5f, 2.5f},       // the mid-plane at zero
        {1000.1f, 1000.3f},  // few floats across the cell
        {-0.3f, -0.1f},      // negative coordinates
        {1.0e-3f, 1.1e-3f},  // a small cell
        {3.0f, 3.0f},        // no extent (infinite factor)
        {5.0f, 4.0f},        // a negative extent
        {2.0f, 2.0000002f},  // one float across
    };
    constexpr int SIDES = sizeof sides / sizeof sides[0];
    RandomGuard keep;
    DiagLog log;
    make_empty();
    constexpr int N = 20;  // n = int(20^0.33333) = 2
    for (int i = 0; i < N; ++i)
        add(1, 1, 1, float(i), 0, 0);
    INDEX_MOLECULES();
    auto& CD = CELLS.CELL_DATA;
    auto& POS = MOLECULES.MOL_POS;
    for (int c = 0; c < SIDES; ++c) {
        const Side axes[3] = {sides[c], sides[(c + 3) % SIDES], sides[(c + 7) % SIDES]};
        std::vector<float> at[3];  // the coordinates met along each axis
        for (int a = 0; a < 3; ++a) {
            const float lo = axes[a].lo, hi = axes[a].hi;
            CD(CELL_LOW_X + 2 * a, 1) = lo;
            CD(CELL_HIGH_X + 2 * a, 1) = hi;
            const float mid = static_cast<float>(0.5 * (double(lo) + hi));
            at[a] = {mid,
                     std::nextafter(mid, -INFINITY),
                     std::nextafter(mid, INFINITY),
                     lo,
                     hi,
                     std::nextafter(lo, -INFINITY),
                     std::nextafter(hi, INFINITY),
                     0.0f,
                     -0.0f,
                     NAN};
        }
        // Every molecule of the cell takes coordinates from the three lists, shifted per axis and case.
        for (int m = 1; m <= N; ++m)
            for (int a = 0; a < 3; ++a)
                POS(a + 1, m) = at[a][std::size_t(m * (a + 1) + c) % at[a].size()];
        int n = 0, n3 = 0;
        SET_SUBCELLS(1, n, n3);
        ASSERT_EQ(n, 2);
        ASSERT_EQ(n3, 8);
        const auto& IPS = MOLECULES.IPS;
        const auto& ISCH = MOLECULES.ISCH;
        int count[9] = {};
        for (int i = 1; i <= N; ++i) {
            const int m = IPS(3, i);
            EXPECT_EQ(m, MOLECULES.IP(IP_PLACE, CELLS.ICELL(ICELL_START, 1) + i)) << "list position " << i;
            int s = 1;
            for (int a = 0; a < 3; ++a)
                s += (axis_subcell(POS(a + 1, m), axes[a].lo, axes[a].hi, 2) - 1) << a;
            EXPECT_EQ(IPS(2, i), s) << "case " << c << ", molecule " << m << " at (" << POS(1, m) << ", "
                                    << POS(2, m) << ", " << POS(3, m) << ")";
            ++count[s];
        }
        for (int s = 1, start = 0; s <= 8; ++s) {
            EXPECT_EQ(ISCH(1, s), start) << "case " << c << ", sub-cell " << s;
            EXPECT_EQ(ISCH(2, s), count[s]) << "case " << c << ", sub-cell " << s;
            for (int q = start + 1; q <= start + count[s]; ++q) {
                EXPECT_EQ(IPS(2, IPS(1, q)), s) << "case " << c << ", entry " << q;
                if (q > start + 1) {
                    EXPECT_LT(IPS(1, q - 1), IPS(1, q)) << "case " << c << ", entry " << q;
                }
            }
            start += count[s];
            EXPECT_EQ(MOLECULES.SUBCELL_IJK(1, s), 1 + (s - 1) / 4);
            EXPECT_EQ(MOLECULES.SUBCELL_IJK(2, s), 1 + (s - 1) / 2 % 2);
            EXPECT_EQ(MOLECULES.SUBCELL_IJK(3, s), 1 + (s - 1) % 2);
        }
    }
}

// The partner search: a molecule with company in its sub-cell takes a partner there; one alone in a
// corner takes it from the only occupied neighbour inside the cell; one whose others all lie two or
// more sub-cells away falls back to the whole cell.
TEST(Subcells, PartnerSearch)
{
    RandomGuard keep;
    DiagLog log;
    make_empty();
    // 27 molecules, n = 2 (sub-cells of 2.5): one alone in sub-cell 1 at (1, 1, 1), 26 in sub-cell 8
    // at (4, 4, 4) (a diagonal neighbour of sub-cell 1).
    add(1, 1, 1, 0, 0, 0);
    for (int i = 0; i < 26; ++i)
        add(4, 4, 4, float(i + 1), 0, 0);
    INDEX_MOLECULES();
    int n = 0, n3 = 0;
    SET_SUBCELLS(1, n, n3);
    ASSERT_EQ(n, 2);
    // Molecule 1 is at list position 1 (normal indexing lists each cell in increasing number).
    for (int k = 0; k < 20; ++k) {
        const int L = find_subcell_partner(1, 1, 1, n);
        EXPECT_GE(L, 2);
    }
    // A molecule of sub-cell 8 finds its partner there.
    std::set<int> partners;
    for (int k = 0; k < 200; ++k) {
        const int L = find_subcell_partner(1, 5, 5, n);
        EXPECT_NE(L, 5);
        EXPECT_GE(L, 2);
        partners.insert(L);
    }
    EXPECT_GT(partners.size(), 10u);

    // n = 3 (64 molecules): one alone at sub-cell (1, 1, 1), the rest at (3, 3, 3), two sub-cells away:
    // the neighbours are empty, the whole cell gives a partner other than the molecule itself.
    make_empty();
    add(0.5f, 0.5f, 0.5f, 0, 0, 0);
    for (int i = 0; i < 63; ++i)
        add(4.5f, 4.5f, 4.5f, float(i + 1), 0, 0);
    INDEX_MOLECULES();
    SET_SUBCELLS(1, n, n3);
    ASSERT_EQ(n, 3);
    for (int k = 0; k < 20; ++k)
        EXPECT_GE(find_subcell_partner(1, 1, 1, n), 2);
}

struct RatioCase {
    float a, b;
    double mean;  // of the density R^a (1 - R)^b
};

class EnergyRatio : public ::testing::TestWithParam<RatioCase> {};

// SAMPLE_ENERGY_RATIO: the mean of 40000 draws is that of the density R^a (1 - R)^b, a Beta(a + 1,
// b + 1) with mean (a + 1) / (a + b + 2), within 4 standard errors; b below 1e-6 (omega of 1.5) gives
// R^a, and both below give a uniform R.
TEST_P(EnergyRatio, FollowsItsDensity)
{
    RandomGuard keep;
    const RatioCase rc = GetParam();
    const int n = 40000;
    double sum = 0, sq = 0;
    for (int i = 0; i < n; ++i) {
        float R;
        SAMPLE_ENERGY_RATIO(rc.a, rc.b, R);
        ASSERT_GT(R, 0.0f);
        ASSERT_LT(R, 1.0f);
        sum += R;
        sq += double(R) * R;
    }
    const double mean = sum / n;
    const double sd = std::sqrt(sq / n - mean * mean);
    EXPECT_NEAR(mean, rc.mean, 4.0 * sd / std::sqrt(double(n)));
}

INSTANTIATE_TEST_SUITE_P(Exponents, EnergyRatio,
                         ::testing::Values(RatioCase{0.5f, 0.76f, 1.5 / 3.26},
                                           RatioCase{1.0f, 0.5f, 2.0 / 3.5}, RatioCase{0.0f, 0.5f, 1.0 / 2.5},
                                           RatioCase{1.5f, 0.0f, 2.5 / 3.5}, RatioCase{0.0f, 0.0f, 0.5}));

// Fault avoided: a vibrational exchange with no energy to share (ECC = 0) drew levels forever. A pair
// of a rotating, vibrating species with no relative speed and no internal energy, whose modes always
// exchange (Z_v = 1), collides and keeps no energy.
TEST(CollideEdge, VibrationalExchangeWithoutEnergyEnds)
{
    RandomGuard keep;
    DiagLog log;
    TestSpecies s{4.17e-10, 273.0, 0.74, 4.65e-26, 1.0, 2, 1, 2000.0, 1.0, 0.0};
    make_empty(s);
    add(1, 1, 1, 0, 0, 0);
    add(2, 2, 2, 0, 0, 0);
    MOLECULES.MOL_VIB_LEVEL(1, 1) = 0;
    collide_pair(1, 1, 2, 1, 1, 0.0f, 0.0f);
    EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL(1, 1), 0);
    EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL(1, 2), 0);
    EXPECT_EQ(MOLECULES.PV(PV_ROTATION, 1), 0.0f);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(MOLECULES.PV(i, 1), 0.0f);
}

class Recombination : public ::testing::TestWithParam<int> {};

// A + A + T -> A2 with a third body from table 1 (A counts 1, A2 counts 0), every considered
// recombination certain, heat 1e-19 J. After the collision phase no molecule is left marked, the store
// and the cell lists (continuous indexing) agree, the count fell by one per reaction, and momentum and
// energy (with the heat released) are conserved: a marked molecule never collides again, and the
// collision with the third body keeps that body's momentum.
TEST_P(Recombination, MarkedMoleculesLeaveStoreAndLists)
{
    RandomGuard keep;
    DiagLog log;
    const int index_mode = GetParam();
    const double heat = 1.0e-19;
    TestCase c;
    c.index_mode = index_mode;
    c.temperature = 3000.0;
    c.fnum = 2.0e15;
    c.species = {{3.0e-10, 273.0, 0.75, 2.3e-26, 1.0}, {4.0e-10, 273.0, 0.75, 4.6e-26, 0.0, 2, 5}};
    c.before_initialise = [&] {
        auto& G = GAS;
        G.GAS_REACTIONS = G.GAS_REACTION_DIM = 1;
        G.THIRD_BODY_TABLES = G.THIRD_BODY_DIM = 1;
        G.REACTION_REACTANTS.allocate(2, 1);
        G.REACTION_PRODUCT_COUNT.allocate(2, 1);
        G.REACTION_PRODUCTS.allocate(2, 1, 2);
        G.REACTION_CONSTANTS.allocate(6, 1);
        G.REACTION_PAIR_COUNT.allocate(2, 2);
        G.REACTION_PAIR_LIST.allocate(1, 2, 2);
        G.THIRD_BODY_TABLE.allocate(1, 2);
        G.REACTION_COUNT.allocate(1);
        G.REACTION_REACTANTS(1, 1) = G.REACTION_REACTANTS(2, 1) = 1;
        G.REACTION_PRODUCT_COUNT(1, 1) = 1;
        G.REACTION_PRODUCTS(1, 1, 1) = 2;
        G.REACTION_PRODUCTS(2, 1, 1) = -1;
        G.REACTION_CONSTANTS(3, 1) = 1.0f;
        G.REACTION_CONSTANTS(5, 1) = float(heat);
        G.REACTION_PAIR_COUNT(1, 1) = 1;
        G.REACTION_PAIR_LIST(1, 1, 1) = 1;
        G.THIRD_BODY_TABLE(1, 1) = 1.0f;
        G.THIRD_BODY_TABLE(1, 2) = 0.0f;
    };
    make_case(c);
    GAS.REACTION_CONSTANTS(6, 1) = 1.0e30f;  // certain once considered
    const int nm0 = MOLECULES.NM;
    ASSERT_GT(nm0, 400);
    const Totals before = totals();
    set_time_step(static_cast<float>(RUN.DTM * 10.0f));
    for (int step = 1; step <= 10; ++step)
        one_collision_step();
    const double reactions = GAS.REACTION_COUNT(1);
    ASSERT_GT(reactions, 5.0);
    EXPECT_EQ(MOLECULES.NM, nm0 - reactions);
    for (int m = 1; m <= MOLECULES.NM; ++m)
        ASSERT_GT(MOLECULES.IP(IP_CELL, m), 0) << "molecule " << m;
    if (index_mode == INDEX_CONTINUOUS) {
        CHECK_INDEX();
        EXPECT_EQ(log.count("INCORRECT"), 0);
        EXPECT_EQ(log.count("MOLS IN CELL"), 0);
    }
    const Totals after = totals();
    EXPECT_NEAR(after.energy() / (before.energy() + reactions * heat), 1.0, 1e-5);
    const double p_scale = nm0 * 2.3e-26 * std::sqrt(K * 3000.0 / 2.3e-26);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((after.momentum[i] - before.momentum[i]) / p_scale, 0.0, 1e-6) << "axis " << i;
}

INSTANTIATE_TEST_SUITE_P(IndexModes, Recombination, ::testing::Values(INDEX_NORMAL, INDEX_CONTINUOUS));
