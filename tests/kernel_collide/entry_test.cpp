// ENTER_MOLECULES: the box sides against the one-sided flux of a drifting Maxwellian, the normal
// velocity distribution of the entering molecules, the constant-pressure balance, the separation
// boundary, and the flow-entry and outgassing triangles.
#include "app/kernel/enter_molecules.h"

#include "tests/kernel_collide/collide_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double K = double(BOLTZ);
const double SQRT_PI_D = std::sqrt(std::numbers::pi);
const TestSpecies NITROGEN{4.17e-10, 273.0, 0.74, 4.65e-26, 1.0, 2, 5, 3371.0, 9.1, 220.0};

// One-sided number flux of a drifting Maxwellian with speed ratio s along the inward normal (Bird 1994,
// eq. 4.22): n vmp / (2 sqrt(pi)) [exp(-s^2) + sqrt(pi) s (1 + erf s)].
double one_sided_flux(double n, double vmp, double s)
{
    return n * vmp / (2.0 * SQRT_PI_D) * (std::exp(-s * s) + SQRT_PI_D * s * (1.0 + std::erf(s)));
}

// An empty box (2 x 2 x 2 cells of 0.1 m) of nitrogen at 300 K with the given stream velocity and side
// codes, initialised.
void make_empty_box(double u, double v, double w, const int codes[6], double fnum = 1.0e13)
{
    TestCase c;
    c.initial_state = 2;
    c.fnum = fnum;
    c.mnm = 200000;
    c.species = {NITROGEN};
    c.before_initialise = [&] {
        GAS.STREAM_U = float(u);
        GAS.STREAM_V = float(v);
        GAS.STREAM_W = float(w);
        for (int k = 1; k <= 6; ++k)
            BOX.BOUNDARY_CODE(k) = codes[k - 1];
    };
    make_case(c);
}

struct SideCase {
    int side;  // the one stream side
    double s;  // speed ratio along its inward normal
};

class StreamSideEntry : public ::testing::TestWithParam<SideCase> {};

}  // namespace

// Entered molecules per step equal the one-sided flux x face area x DTM / FNUM (real units) within 1 %;
// every molecule enters inward through its side at a random time of the step and is moved at once for
// the rest of the step (those that left through another side meanwhile are the removals), so it lies in
// a cell at most the step's flight inside the face, with its clock at the TIME of its step. The mean normal
// speed ratio matches the flux-weighted distribution within 4 standard errors.
TEST_P(StreamSideEntry, MatchesTheOneSidedFlux)
{
    RandomGuard keep;
    DiagLog log;
    const SideCase sc = GetParam();
    int codes[6] = {4, 4, 4, 4, 4, 4};
    codes[sc.side - 1] = BOUNDARY_STREAM;
    const double vmp = std::sqrt(2.0 * K * 300.0 / NITROGEN.mass);
    const int axis = (sc.side - 1) / 2;  // 0 x, 1 y, 2 z
    const double inward = sc.side % 2 == 1 ? 1.0 : -1.0;
    double vel[3] = {0, 0, 0};
    vel[axis] = inward * sc.s * vmp;
    // About 9000 molecules in 5 steps: the integer parts of the 4 face divisions' numbers are far
    // below 1 % of that.
    const double F = std::exp(-sc.s * sc.s) + SQRT_PI_D * sc.s * (1.0 + std::erf(sc.s));
    make_empty_box(vel[0], vel[1], vel[2], codes, 1.0e11 * F);
    ASSERT_EQ(MOLECULES.NM, 0);

    const int steps = 5;
    const int kept = run_entry(steps);
    const double entered = RUN.ENTRY_COUNT;
    const double sf = BOX.SCALE_FACTOR;
    const double area = 0.1 * 0.1;
    const double expected = one_sided_flux(1.0e21, vmp, sc.s) * area * (RUN.DTM / sf) / RUN.FNUM * steps;
    EXPECT_NEAR(entered / expected, 1.0, 0.01) << entered << " of " << expected;
    EXPECT_EQ(entered, kept + RUN.REMOVAL_COUNT);
    EXPECT_LT(RUN.REMOVAL_COUNT, 0.05 * entered);

    const auto& M = MOLECULES;
    const float limits[6] = {BOX.XMIN, BOX.XMAX, BOX.YMIN, BOX.YMAX, BOX.ZMIN, BOX.ZMAX};
    double ratio_sum = 0.0, ratio_sq = 0.0;
    for (int n = 1; n <= M.NM; ++n) {
        const double vn = inward * M.PV(axis + 1, n);
        ASSERT_GT(vn, 0.0) << "molecule " << n;
        const double depth = inward * (M.MOL_POS(axis + 1, n) - limits[sc.side - 1]);
        ASSERT_GE(M.IP(IP_CELL, n), 1);
        ASSERT_GE(depth, -1e-5) << "molecule " << n;  // 4-byte rounding of the position
        ASSERT_LE(depth, vn * RUN.DTM * (1.0 + 1e-5) + 1e-5) << "molecule " << n;
        ASSERT_LE(M.MOL_TIME(n), RUN.TIME);
        ASSERT_GE(M.MOL_TIME(n), RUN.TIME - (steps - 1) * RUN.DTM * (1.0 + 1e-9));
        ratio_sum += vn / vmp;
        ratio_sq += vn * vn / (vmp * vmp);
    }
    const double mean = ratio_sum / M.NM;
    const double sd = std::sqrt(ratio_sq / M.NM - mean * mean);
    EXPECT_NEAR(mean, mean_entry_ratio(sc.s), 4.0 * sd / std::sqrt(double(M.NM)));
}

INSTANTIATE_TEST_SUITE_P(Sides, StreamSideEntry,
                         ::testing::Values(SideCase{1, 0.0}, SideCase{1, 1.0}, SideCase{1, 3.0},
                                           SideCase{2, 1.0}, SideCase{3, 1.0}, SideCase{4, 0.0},
                                           SideCase{5, 1.0}, SideCase{6, 3.0}));

// At s = 0 the entering molecules carry a mean translational energy of 2kT (the flux weights the
// normal component: kT from it, kT from the two tangential ones); E / kT is Gamma(2, 1) distributed, so
// the standard error of the mean is sqrt(2 / N). Rotational energy and vibrational levels are those of
// equilibrium at the stream temperature: kT and 1 / (exp(theta_v / T) - 1).
TEST(StreamEntry, EnergyOfMoleculesEnteringAtRestIsTwoKT)
{
    RandomGuard keep;
    DiagLog log;
    const int codes[6] = {BOUNDARY_STREAM, BOUNDARY_STREAM, 4, 4, 4, 4};
    make_empty_box(0.0, 0.0, 0.0, codes, 2.0e11);
    const int n = run_entry(10);
    ASSERT_GT(n, 5000);
    const auto& M = MOLECULES;
    double e = 0, rot = 0, level = 0;
    for (int i = 1; i <= n; ++i) {
        for (int a = 1; a <= 3; ++a)
            e += 0.5 * NITROGEN.mass * double(M.PV(a, i)) * M.PV(a, i);
        rot += M.PV(PV_ROTATION, i);
        level += M.MOL_VIB_LEVEL(1, i);
    }
    const double kT = K * 300.0;
    EXPECT_NEAR(e / n / kT, 2.0, 4.0 * std::sqrt(2.0 / n));
    EXPECT_NEAR(rot / n / kT, 1.0, 4.0 / std::sqrt(double(n)));
    EXPECT_LT(level, 5.0);  // theta_v / T = 11: about 2e-5 per molecule
}

// The entry number carries its fraction in EFACE item 3, one remainder per side and species that the
// side's face divisions pass on in turn: with rate x DTM = 0.3 and four face divisions, the side admits
// 1.2 molecules a step, so 1, 2, 3 in total after 1, 2, 3 steps, leaving 0.6.
TEST(StreamEntry, FractionalRemaindersCarryFromStepToStep)
{
    RandomGuard keep;
    DiagLog log;
    const int codes[6] = {BOUNDARY_STREAM, 4, 4, 4, 4, 4};
    make_empty_box(0.0, 0.0, 0.0, codes);
    GAS.EFACE(EFACE_RATE, 1, 1, 1) = static_cast<float>(0.3 / RUN.DTM);
    for (int step = 1; step <= 3; ++step)
        EXPECT_EQ(run_entry(1), step);
    EXPECT_NEAR(GAS.EFACE(EFACE_REMAINDER, 1, 1, 1), 0.6f, 1e-5f);
}

struct PressureCase {
    double left_min, left_max, crossings;  // CP_LEFT_MIN_X, CP_LEFT_MAX_X, SEPARATION_CROSSINGS
    int at_side1, at_side2;                // molecules expected through sides 1 and 2
    double entered_min, entered_max;       // CP_ENTERED_MIN_X, CP_ENTERED_MAX_X afterwards
};

class ConstantPressure : public ::testing::TestWithParam<PressureCase> {};

// With a separation boundary and side 1 of code 6, sides 1 and 2 admit the balance of the molecules
// that left them against the net crossings of the separation plane, all at the first open division;
// a negative balance enters nothing, lowers CP_ENTERED_MIN_X at side 1 and leaves CP_ENTERED_MAX_X.
// The rate remainders of both sides still advance.
TEST_P(ConstantPressure, AdmitsTheBalance)
{
    RandomGuard keep;
    DiagLog log;
    const PressureCase pc = GetParam();
    const int codes[6] = {BOUNDARY_PRESSURE, BOUNDARY_PRESSURE, 4, 4, 4, 4};
    TestCase c;
    c.initial_state = 2;
    c.species = {NITROGEN};
    c.before_initialise = [&] {
        for (int k = 1; k <= 6; ++k)
            BOX.BOUNDARY_CODE(k) = codes[k - 1];
        GAS.INITIAL_GAS = 1;
        GAS.SEPARATION_X = 0.5f * BOX.XMAX;
        GAS.SECONDARY_DENSITY = GAS.STREAM_DENSITY;
        GAS.SECONDARY_TEMP = 300.0f;
    };
    make_case(c);
    // Code-6 sides get their entry constants from the initialisation like stream sides.
    ASSERT_GT(GAS.EFACE(EFACE_RATE, 1, 1, 1), 0.0f);
    ASSERT_GT(GAS.EFACE(EFACE_RATE, 1, 2, 2), 0.0f);
    GAS.CP_LEFT_MIN_X(1) = pc.left_min;
    GAS.CP_LEFT_MAX_X(1) = pc.left_max;
    GAS.SEPARATION_CROSSINGS(1) = pc.crossings;
    const float rem1 = GAS.EFACE(EFACE_REMAINDER, 1, 1, 1);
    run_entry(1);
    int side1 = 0, side2 = 0;
    for (int n = 1; n <= MOLECULES.NM; ++n)
        (MOLECULES.MOL_POS(1, n) < 0.5f * BOX.XMAX ? side1 : side2) += 1;
    EXPECT_EQ(side1, pc.at_side1);
    EXPECT_EQ(side2, pc.at_side2);
    EXPECT_EQ(GAS.CP_ENTERED_MIN_X(1), pc.entered_min);
    EXPECT_EQ(GAS.CP_ENTERED_MAX_X(1), pc.entered_max);
    EXPECT_NE(GAS.EFACE(EFACE_REMAINDER, 1, 1, 1), rem1);
}

INSTANTIATE_TEST_SUITE_P(Balances, ConstantPressure,
                         ::testing::Values(PressureCase{5.7, 3.0, 1.0, 6, 2, 6.0, 2.0},
                                           PressureCase{0.0, 0.0, -2.5, 0, 2, -2.0, 2.0},
                                           PressureCase{1.0, 0.5, 3.0, 4, 0, 4.0, 0.0}));

// Fault avoided: the separation boundary's division was NINT(SEPARATION_X / width), as if the box
// started at x = 0. In a box from x = -5 to 5 with the boundary at x = 0, side 3 must admit the
// stream below x = 0 and the secondary stream (here of no density) above it.
TEST(StreamEntry, SeparationDivisionCountsFromTheBoxsLowerLimit)
{
    RandomGuard keep;
    DiagLog log;
    TestCase c;
    c.nx = 4;
    c.initial_state = 2;
    c.fnum = 1.0e12;
    c.species = {NITROGEN};
    c.before_initialise = [&] {
        BOX.XMIN = -5.0f, BOX.XMAX = 5.0f;
        for (int j = 1; j <= CELLS.CELL_COUNT; ++j) {
            CELLS.CELL_DATA(CELL_LOW_X, j) -= 5.0f;
            CELLS.CELL_DATA(CELL_HIGH_X, j) -= 5.0f;
            CELLS.CELL_DATA(CELL_NODE_X, j) -= 5.0f;
        }
        for (int k = 1; k <= 6; ++k)
            BOX.BOUNDARY_CODE(k) = k == 3 ? BOUNDARY_STREAM : BOUNDARY_VACUUM;
        GAS.INITIAL_GAS = 1;
        GAS.SEPARATION_X = 0.0f;
        GAS.SECONDARY_DENSITY = 0.0f;
        GAS.SECONDARY_TEMP = 300.0f;
    };
    make_case(c);
    run_entry(5);
    ASSERT_GT(MOLECULES.NM, 100);
    for (int n = 1; n <= MOLECULES.NM; ++n)
        ASSERT_LT(MOLECULES.MOL_POS(1, n), 0.0f) << "molecule " << n;
}

// A molecule whose face point lies in no cell is counted in ENTRY_COUNT but not kept: here the
// two upper-y divisions of side 1 belong to no cell.
TEST(StreamEntry, MoleculeInNoCellIsCountedButNotKept)
{
    RandomGuard keep;
    DiagLog log;
    const int codes[6] = {BOUNDARY_STREAM, 4, 4, 4, 4, 4};
    make_empty_box(0.0, 0.0, 0.0, codes, 1.0e12);
    for (int iz = 1; iz <= 2; ++iz)
        DIVISIONS.ELEMENT_CELL(iz, 2, 1, 1, 1, 1) = 0;
    const int kept = run_entry(5);
    ASSERT_GT(kept, 100);
    EXPECT_NEAR(RUN.ENTRY_COUNT / kept, 2.0, 0.2);
    for (int n = 1; n <= kept; ++n)
        ASSERT_LT(MOLECULES.MOL_POS(2, n), 0.5f * BOX.YMAX);
}

// A stream leaving the box far faster than its thermal speed (s below -3) still admits its few
// molecules: the ratio is drawn on [0, 3] and follows q exp(-(q - s)^2) there.
TEST(StreamEntry, SpeedRatioBelowMinusThree)
{
    RandomGuard keep;
    const float s = -4.0f;
    const float A = static_cast<float>(s + std::sqrt(double(s) * s + 2.0));
    const float B = static_cast<float>(0.5 * (1.0 + s * (2.0 * s - A)));
    double sum = 0, sq = 0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const float q = sample_entry_speed_ratio(s, A, B);
        ASSERT_GE(q, 0.0f);
        ASSERT_LE(q, 3.0f);
        sum += q;
        sq += double(q) * q;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, mean_entry_ratio(s), 4.0 * std::sqrt(sq / n - mean * mean) / std::sqrt(double(n)));
}
