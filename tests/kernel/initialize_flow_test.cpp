// The initialisation of a new run on a box without surfaces: constants against hand-computed theory,
// the initial molecules, the entry constants and the sound behaviour at its edges.
#include "app/kernel/initialize_flow.h"

#include "app/kernel/cell_index.h"
#include "app/kernel/constants.h"
#include "app/state/divisions.h"
#include "app/state/results.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "tests/kernel/kernel_test_support.h"
#include "toolkit/headless/headless.h"
#include "toolkit/win/entry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

// A box of real extent 1 x 0.5 x 0.5 m, scaled by 20 (10 / smallest extent), cut into 4 x 2 x 2
// divisions of one element each; every division is one cell and there are no surfaces.
constexpr int NX = 4, NY = 2, NZ = 2, CELLS_N = NX * NY * NZ;
constexpr float SF = 20.0f;

void make_box()
{
    BOX = BoxState{};
    BOX.XMIN = BOX.YMIN = BOX.ZMIN = 0.0f;
    BOX.XMAX = 1.0f * SF;
    BOX.YMAX = BOX.ZMAX = 0.5f * SF;
    BOX.SCALE_FACTOR = SF;
    BOX.DIVISIONS_X = NX, BOX.DIVISIONS_Y = NY, BOX.DIVISIONS_Z = NZ;
    BOX.ELEMENTS_PER_DIVISION_X = BOX.ELEMENTS_PER_DIVISION_Y = BOX.ELEMENTS_PER_DIVISION_Z = 1;
    for (int k = 1; k <= 6; ++k)
        BOX.BOUNDARY_CODE(k) = BOUNDARY_VACUUM;
    auto& D = DIVISIONS;
    D = Divisions{};
    D.BOX_EXTENT_X = BOX.XMAX, D.BOX_EXTENT_Y = BOX.YMAX, D.BOX_EXTENT_Z = BOX.ZMAX;
    D.DIVISION_WIDTH_X = D.BOX_EXTENT_X / NX;  // 5 in scaled units
    D.DIVISION_WIDTH_Y = D.BOX_EXTENT_Y / NY;
    D.DIVISION_WIDTH_Z = D.BOX_EXTENT_Z / NZ;
    D.DIVISION_INFO.allocate(3, NZ, NY, NX);
    D.ELEMENT_CELL.allocate(NZ, NY, NX, 1, 1, 1);
    auto& C = CELLS;
    for (int iz = 1; iz <= NZ; ++iz)
        for (int iy = 1; iy <= NY; ++iy)
            for (int ix = 1; ix <= NX; ++ix) {
                const int cell = ix + NX * (iy - 1) + NX * NY * (iz - 1);
                D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) = NO_SURFACE_LEVEL;
                D.ELEMENT_CELL(iz, iy, ix, 1, 1, 1) = cell;
                const float lo[3] = {(ix - 1) * D.DIVISION_WIDTH_X, (iy - 1) * D.DIVISION_WIDTH_Y,
                                     (iz - 1) * D.DIVISION_WIDTH_Z};
                const float w[3] = {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
                C.CELL_DATA(CELL_VOLUME, cell) = w[0] * w[1] * w[2];
                for (int a = 0; a < 3; ++a) {
                    C.CELL_DATA(CELL_NODE_X + a, cell) = lo[a] + 0.5f * w[a];
                    C.CELL_DATA(CELL_LOW_X + 2 * a, cell) = lo[a];
                    C.CELL_DATA(CELL_HIGH_X + 2 * a, cell) = lo[a] + w[a];
                }
            }
}

// Argon (or `species` copies of it with other masses) at rest, 300 K, n = 1e20, FNUM 2.5e15: 10000
// simulated molecules in the box's 0.25 m^3.
void make_case(int index_mode, int mnm = 20000, int species = 1)
{
    make_store(mnm, CELLS_N, index_mode, 0, 3, species > 1 ? 3 : 2);
    make_box();
    MOLECULES = MoleculeStore{};  // INITIALIZE_FLOW allocates the store itself
    set_argon(species);
    RUN.FNUM = 2.5e15f;
    RUN.REF_TIME = 1.0e-3f * SF;
    RUN.OUTPUT_INTERVAL_REF = 2.0f;
    RUN.AVERAGING_FRACTION = 0.5f;
    RUN.SAMPLES_PER_OUTPUT = 10;
    RUN.STEADY_AFTER_OUTPUTS = 3;
    RUN.PROGRAM_OPTIONS = 1;
    SURFACE = SurfaceState{};
    SAMPLES = SampleSums{};
    SAMPLES.CELL_SAMPLE.allocate(8, CELLS_N, species);
    SAMPLES.CELL_SAMPLE(1, 1, 1) = 5.0;  // a stale sum that the reset must clear
    HEADLESS.reset();
}

// The number that follows `label` on its line of the log.
double logged_value(const DiagLog& log, const std::string& label)
{
    for (const auto& line : log.lines()) {
        const auto at = line.find(label);
        if (at != std::string::npos)
            return std::stod(line.substr(at + label.size()));
    }
    ADD_FAILURE() << "no line " << label << "\n" << log.text();
    return 0.0;
}

}  // namespace

// Hand-computed: VHS mean free path lambda = (T / Tref)^(omega - 1/2) / (sqrt 2 pi d^2 n) (Bird 1994
// eq. 4.65), mean speed c = sqrt(8kT / pi m), collision time lambda / c, and the time step bounds
// 0.04 x division width / vmp, 0.05 lambda / vmp, 0.1 tau (internal time = real time x 20).
TEST(InitializeFlow, ArgonBoxMatchesTheoryAndFillsTheCells)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_NORMAL);
    BOX.BOUNDARY_CODE(1) = BOUNDARY_STREAM;
    RUN.SURFACE_ROW1_MAX = 7;  // stale: the restart size record needs the value of this case
    INITIALIZE_FLOW();
    EXPECT_EQ(RUN.SURFACE_ROW1_MAX, 0);

    const double k = double(BOLTZ), T = 300.0, n = 1.0e20;
    const double lambda =
        std::pow(T / AR_TREF, AR_OMEGA - 0.5) / (std::sqrt(2.0) * std::numbers::pi * AR_D * AR_D * n);
    const double cbar = std::sqrt(8 * k * T / (std::numbers::pi * AR_MASS));
    const double tau = lambda / cbar;
    const double vmp = std::sqrt(2 * k * T / AR_MASS);
    const double step = std::min(0.04 * 5.0 / vmp, 0.05 * lambda * SF / vmp);
    EXPECT_NEAR(logged_value(log, "collision time in the stream is") / tau, 1.0, 2e-4);
    EXPECT_NEAR(logged_value(log, "mean free path in the stream is") / lambda, 1.0, 2e-4);
    EXPECT_NEAR(logged_value(log, "Initial time step is") / step, 1.0, 2e-4);
    EXPECT_NEAR(logged_value(log, "overall time step is") / (std::min(step, 0.1 * tau * SF) / SF), 1.0, 2e-4);
    EXPECT_FLOAT_EQ(RUN.DTM_INITIAL, RUN.DTM);

    // n V / FNUM = 1e20 x 0.25 / 2.5e15 = 10000 molecules, 625 in every cell.
    const auto& M = MOLECULES;
    EXPECT_NEAR(M.NM, 10000, 1);
    double u2 = 0;
    for (int i = 1; i <= M.NM; ++i) {
        const int c = M.IP(IP_CELL, i);
        ASSERT_GE(c, 1);
        for (int a = 0; a < 3; ++a) {
            ASSERT_GE(M.MOL_POS(1 + a, i), CELLS.CELL_DATA(CELL_LOW_X + 2 * a, c));
            ASSERT_LE(M.MOL_POS(1 + a, i), CELLS.CELL_DATA(CELL_HIGH_X + 2 * a, c));
        }
        ASSERT_LT(std::fabs(M.MOL_TIME(i)), RUN.DTM / 2.0);
        for (int a = 1; a <= 3; ++a)
            u2 += double(M.PV(a, i)) * M.PV(a, i);
    }
    // Each component has variance kT/m: the mean of (m/kT) u^2 over 3 NM components is 1 +- sqrt(2/3NM).
    EXPECT_NEAR(u2 * AR_MASS / (k * T) / (3.0 * M.NM), 1.0, 5 * std::sqrt(2.0 / (3.0 * M.NM)));
    for (int c = 1; c <= CELLS_N; ++c)
        EXPECT_NEAR(CELLS.ICELL(ICELL_COUNT, c), 625, 1) << "cell " << c;

    // Stream side 1 at rest: S = 0, the one-sided equilibrium flux n vmp A / (2 sqrt(pi) FNUM SF).
    const double A = 5.0 * 5.0 / (SF * SF);
    EXPECT_NEAR(GAS.EFACE(EFACE_RATE, 1, 1, 1) /
                    (n * vmp * A / (2 * std::sqrt(std::numbers::pi) * 2.5e15 * SF)),
                1.0, 1e-5);
    EXPECT_NEAR(GAS.EFACE(EFACE_CONST_A, 1, 1, 1), std::sqrt(2.0), 1e-6);
    EXPECT_EQ(GAS.EFACE(EFACE_FRACTION, 1, 1, 1), 1.0f);
    EXPECT_EQ(GAS.EFACE(EFACE_RATE, 1, 3, 1), 0.0f);  // a vacuum side
    EXPECT_EQ(GAS.EFACE(EFACE_RATE, 1, 1, 2), 0.0f);  // no secondary stream

    // Cells, history, work arrays, run state, results, sample, the closing message.
    EXPECT_FLOAT_EQ(CELLS.CELL_DATA(CELL_TIME_STEP, 7), RUN.DTM / 2);
    // The starting bound on sigma_T c_r: 2 VMP sigma_ref, raised to sigma_T c_r (Bird 1994, eq. 4.63) at
    // three most probable relative speeds of the stream, which for argon at 300 K is the larger.
    {
        const auto& P = GAS.SPECIES_PAIR_DATA;
        const double mr = P(PAIR_REDUCED_MASS, 1, 1), omega = P(PAIR_VISC_POWER, 1, 1);
        const double cr = 3.0 * std::sqrt(2.0 * 1.3806e-23 * GAS.STREAM_TEMP / mr);
        const double floor =
            cr * P(PAIR_CROSS_SECTION, 1, 1) *
            std::pow(2.0 * 1.3806e-23 * P(PAIR_REF_TEMP, 1, 1) / (mr * cr * cr), omega - 0.5) /
            std::tgamma(2.5 - omega);
        ASSERT_GT(floor, 2 * GAS.MAX_SPECIES_VMP * GAS.SPECIES_PAIR_DATA(2, 1, 1));
        EXPECT_NEAR(CELLS.CELL_DATA(CELL_SIGMA_CR_MAX, 7), floor, 1e-4 * floor);  // 4-byte constants
    }
    EXPECT_EQ(RUN.NM_HISTORY(2, 1), float(M.NM));
    EXPECT_EQ(RUN.HISTORY_INDEX, 2);
    EXPECT_EQ(M.IPS_SIZE, 2 * 20000 / CELLS_N);
    EXPECT_EQ(M.ISCH_SIZE, 50);
    EXPECT_FLOAT_EQ(RUN.OUTPUT_INTERVAL, 2.0f * 1.0e-3f * SF);
    EXPECT_FLOAT_EQ(RUN.SAMPLE_INTERVAL, RUN.OUTPUT_INTERVAL * 0.5f / 10);
    EXPECT_FLOAT_EQ(RUN.SAMPLE_TIME, RUN.OUTPUT_INTERVAL * 0.5f + RUN.SAMPLE_INTERVAL);
    EXPECT_FLOAT_EQ(RUN.STEADY_START_TIME, 3 * RUN.OUTPUT_INTERVAL);
    EXPECT_EQ(RUN.REFERENCE_AREA, -1.0f);
    EXPECT_EQ(RESULTS.VAR.extent(1), 18);
    EXPECT_EQ(SAMPLES.CELL_SAMPLE(1, 1, 1), 0.0);
    EXPECT_EQ(SAMPLES.NM_SAMPLE_START, M.NM);
    EXPECT_FLOAT_EQ(GAS.SINGLE_REDUCED_MASS, float(AR_MASS / 2));
    EXPECT_EQ(HEADLESS.count("WMessageBox 0 4 0 |The flow simulation will now start from zero time.|"
                             "Initialization Complete|"),
              1);
}

// Fault avoided: a constant-pressure side (code 6) reads EFACE like a stream side, but only stream sides
// were filled, so it admitted nothing (zero rate and speed). It gets the same constants.
TEST(InitializeFlow, ConstantPressureSideGetsTheEntryConstants)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_NORMAL);
    GAS.INITIAL_STATE = 2;
    GAS.STREAM_U = 300.0f;
    BOX.BOUNDARY_CODE(1) = BOUNDARY_STREAM;
    BOX.BOUNDARY_CODE(2) = BOUNDARY_PRESSURE;
    INITIALIZE_FLOW();
    const auto& E = GAS.EFACE;
    EXPECT_GT(E(EFACE_RATE, 1, 2, 1), 0.0f);
    EXPECT_EQ(E(EFACE_VMP, 1, 2, 1), GAS.VMP(1));
    EXPECT_FLOAT_EQ(E(EFACE_SPEED_RATIO, 1, 2, 1), -300.0f / GAS.VMP(1));  // outflow at the max-x side
    EXPECT_FLOAT_EQ(E(EFACE_SPEED_RATIO, 1, 1, 1), 300.0f / GAS.VMP(1));
    EXPECT_GT(E(EFACE_RATE, 1, 1, 1), E(EFACE_RATE, 1, 2, 1));
}

// Fault avoided: a vacuum start indexes nothing, so continuous indexing had no rooms laid out and the
// first molecule entering any cell was listed at place 0. The empty rooms are laid out.
TEST(InitializeFlow, VacuumStartDrawsNothingAndLaysOutTheContinuousRooms)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_CONTINUOUS, 1600);
    GAS.INITIAL_STATE = 2;
    HEADLESS.peek_types.assign(10, MsgKey);  // other messages are dropped; nine polls take nine
    const RandomState before = RANDOM_STATE;
    INITIALIZE_FLOW();
    EXPECT_EQ(HEADLESS.peek_types.size(), 1u);
    EXPECT_EQ(RANDOM_STATE.s1, before.s1);
    EXPECT_EQ(MOLECULES.NM, 0);
    EXPECT_EQ(RUN.NM_HISTORY(1, 1), 0.0f);
    EXPECT_EQ(RUN.NM_HISTORY(2, 1), 0.0f);
    for (int c = 1; c <= CELLS_N; ++c) {
        EXPECT_EQ(CELLS.IRCELL(c), 100) << c;  // int(1600 / 16)
        EXPECT_EQ(CELLS.ICELL(ICELL_START, c), 100 * (c - 1));
    }
    // The first entering molecules are listed in their rooms.
    for (int n = 1; n <= 3; ++n) {
        MOLECULES.NM = n;
        MOLECULES.IP(IP_CELL, n) = 5;
        INSERT_INTO_CELL_LIST(5, n);
    }
    CHECK_INDEX();
    EXPECT_EQ(log.count("RESETTING"), 0) << log.text();
}

// Two gases split at x = 10 (the middle, scaled): the stream fills x below, the secondary stream above.
TEST(InitializeFlow, SeparationBoundaryFillsEachSideWithItsGas)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_CONTINUOUS);
    auto& G = GAS;
    G.INITIAL_GAS = 1;
    G.SEPARATION_X = 10.0f;
    G.SECONDARY_DENSITY = 0.5e20f;
    G.SECONDARY_TEMP = 1200.0f;
    G.SECONDARY_U = 100.0f;
    BOX.BOUNDARY_CODE(2) = BOUNDARY_STREAM;
    INITIALIZE_FLOW();
    const auto& M = MOLECULES;
    int low = 0, high = 0;
    double e_low = 0, e_high = 0, u_high = 0;
    for (int i = 1; i <= M.NM; ++i) {
        const double e = double(M.PV(1, i)) * M.PV(1, i) + double(M.PV(2, i)) * M.PV(2, i) +
                         double(M.PV(3, i)) * M.PV(3, i);
        if (M.MOL_POS(1, i) < 10.0f) {
            ++low;
            e_low += e;
        } else {
            ASSERT_GT(M.MOL_POS(1, i), 10.0f);
            ++high;
            u_high += M.PV(1, i);
            e_high += (double(M.PV(1, i)) - 100.0) * (M.PV(1, i) - 100.0) + double(M.PV(2, i)) * M.PV(2, i) +
                      double(M.PV(3, i)) * M.PV(3, i);
        }
    }
    // n V / FNUM on each half: 5000 and 2500 (the remainder carries over, so within one).
    EXPECT_NEAR(low, 5000, 1);
    EXPECT_NEAR(high, 2500, 1);
    const double k = double(BOLTZ);
    EXPECT_NEAR(e_low * AR_MASS / (3 * k * 300.0) / low, 1.0, 5 * std::sqrt(2.0 / (3.0 * low)));
    EXPECT_NEAR(e_high * AR_MASS / (3 * k * 1200.0) / high, 1.0, 5 * std::sqrt(2.0 / (3.0 * high)));
    EXPECT_NEAR(u_high / high, 100.0, 5 * std::sqrt(k * 1200.0 / AR_MASS / high));
    // Side 2 of a separated case has gas 2 constants at the secondary temperature.
    EXPECT_FLOAT_EQ(G.EFACE(EFACE_VMP, 1, 2, 2), float(std::sqrt(2 * k * 1200.0 / AR_MASS)));
    EXPECT_EQ(G.EFACE(EFACE_FRACTION, 1, 2, 2), 1.0f);
    CHECK_INDEX();
    EXPECT_EQ(log.count("RESETTING"), 1);
}

// Flow-entry triangles take their velocity in the triangle's frame and keep their own species fractions
// (fault avoided: the stream's fractions replaced them, so a specified segment's mixture had no effect);
// outgassing fluxes become simulated molecules per unit time.
TEST(InitializeFlow, EntryAndOutgassingTrianglesGetTheirConstants)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_NORMAL, 20000, 2);
    GAS.INITIAL_STATE = 2;
    auto& S = SURFACE;
    S.TRIANGLE_COUNT = 3;
    S.ENTRY_TRIANGLE_COUNT = 2;
    S.SOLID_TRIANGLE_COUNT = 1;
    S.TRIANGLE_GEOMETRY.allocate(5, 3);
    S.ENTRY_TRIANGLE.allocate(2);
    S.ENTRY_PROPERTIES.allocate(5, 2);
    S.ENTRY_SPECIES_PROPERTIES.allocate(7, 2, 2);
    S.SOLID_TRIANGLE.allocate(2, 1);
    S.SOLID_SPECIES_PROPERTIES.allocate(3, 2, 1);
    // Triangle 1: normal +x; triangle 2: normal +y; both of area 4 (scaled), i.e. 0.01 m^2.
    S.TRIANGLE_GEOMETRY(1, 1) = 1.0f;
    S.TRIANGLE_GEOMETRY(2, 2) = 1.0f;
    S.TRIANGLE_GEOMETRY(5, 1) = S.TRIANGLE_GEOMETRY(5, 2) = 4.0f;
    S.TRIANGLE_GEOMETRY(5, 3) = 400.0f;  // 1 m^2
    S.ENTRY_TRIANGLE(1) = 1;
    S.ENTRY_TRIANGLE(2) = 2;
    for (int j = 1; j <= 2; ++j) {
        S.ENTRY_PROPERTIES(1, j) = 50.0f;   // u
        S.ENTRY_PROPERTIES(2, j) = 20.0f;   // v
        S.ENTRY_PROPERTIES(3, j) = -30.0f;  // w
        S.ENTRY_PROPERTIES(4, j) = 1200.0f;
        S.ENTRY_PROPERTIES(5, j) = 1.0e19f;
        S.ENTRY_SPECIES_PROPERTIES(1, 1, j) = 0.25f;  // the segment's own mixture
        S.ENTRY_SPECIES_PROPERTIES(1, 2, j) = 0.75f;
    }
    S.SOLID_TRIANGLE(1, 1) = 3;
    S.SOLID_SPECIES_PROPERTIES(2, 1, 1) = 1.0e-6f;  // kg / m^2 s
    S.SOLID_SPECIES_PROPERTIES(3, 1, 1) = 7.0f;
    INITIALIZE_FLOW();

    // Normal along x: the normal component is u, the tangential ones v and w as given.
    EXPECT_EQ(S.ENTRY_PROPERTIES(1, 1), 50.0f);
    EXPECT_EQ(S.ENTRY_PROPERTIES(2, 1), 20.0f);
    EXPECT_EQ(S.ENTRY_PROPERTIES(3, 1), -30.0f);
    // Normal along y: normal component v; t1 = (0, nz, -ny) gives -w, n x t1 gives -u.
    EXPECT_EQ(S.ENTRY_PROPERTIES(1, 2), 20.0f);
    EXPECT_EQ(S.ENTRY_PROPERTIES(2, 2), 30.0f);
    EXPECT_EQ(S.ENTRY_PROPERTIES(3, 2), -50.0f);
    for (int s = 1; s <= 2; ++s) {
        const auto& E = S.ENTRY_SPECIES_PROPERTIES;
        const double f = s == 1 ? 0.25 : 0.75;
        EXPECT_EQ(E(1, s, 1), float(f));
        const double vmp = std::sqrt(2 * double(BOLTZ) * 1200.0 / (AR_MASS * s));
        EXPECT_NEAR(E(4, s, 1) / vmp, 1.0, 1e-5);
        const double ratio = 50.0 / vmp;
        EXPECT_NEAR(E(5, s, 1), ratio, 1e-5);
        const double F =
            (std::exp(-ratio * ratio) + std::sqrt(std::numbers::pi) * ratio * (1 + std::erf(ratio))) /
            (2 * std::sqrt(std::numbers::pi));
        EXPECT_NEAR(E(2, s, 1) / (1.0e19 * f * vmp * 0.01 * F / (SF * 2.5e15)), 1.0, 1e-5);
        EXPECT_EQ(E(3, s, 1), 0.0f);
    }
    // 1e-6 kg / m^2 s over 1 m^2 of argon: 1e-6 / (m FNUM) per real second, / SF per internal time.
    const double rate = 1.0e-6 / (AR_MASS * 2.5e15 * SF);
    EXPECT_NEAR(S.SOLID_SPECIES_PROPERTIES(2, 1, 1) / rate, 1.0, 1e-5);
    EXPECT_EQ(S.SOLID_SPECIES_PROPERTIES(3, 1, 1), 0.0f);
    EXPECT_FLOAT_EQ(RUN.OUTGAS_TOTAL, S.SOLID_SPECIES_PROPERTIES(2, 1, 1));
}

TEST(InitializeFlow, TooManyInitialMoleculesStopWithTheCell)
{
    RandomGuard keep;
    DiagLog log;
    make_case(INDEX_NORMAL, 1000);
    try {
        INITIALIZE_FLOW();
        ADD_FAILURE() << "no stop";
    } catch (const FatalStopped& e) {
        // The specified text, then the file, the items and their values.
        EXPECT_EQ(
            std::string(e.what()),
            "Either increase MNM or FNUM in the data: QR4TD.DAT item 72 (maximum number of molecules) is "
            "1000 and item 65 (molecule weight FNUM) is " +
                value_text(RUN.FNUM) + "; the initial molecules pass MNM in cell 2");
    }
    EXPECT_EQ(log.count(" The initial number of molecules exceeds MNM in cell           2"), 1) << log.text();
    EXPECT_NE(log.text().find("\n Either increase MNM or FNUM in the data\n"), std::string::npos)
        << log.text();
    EXPECT_EQ(MOLECULES.NM, 1000);
}

// Values that would divide by zero or index nothing are refused with the file, the item and the value
// before anything is formed from them (a restart set or a changed case can bring them past the reader):
// a zero stream temperature gave infinite speeds, and a case without cells divided the sub-cell store
// by a cell count of 0.
TEST(InitializeFlow, ValuesThatCannotStartARunAreRefused)
{
    struct Case {
        const char* what;
        void (*change)();
        const char* line;  // the refusal as the log holds it
    };
    const Case cases[] = {
        {"zero stream temperature", [] { GAS.STREAM_TEMP = 0.0f; }, "QR4TD.DAT: stream temperature = 0"},
        {"no cell", [] { CELLS.CELL_COUNT = 0; }, "QR4TD.DAT: number of cells = 0"},
        {"FNUM of 0", [] { RUN.FNUM = 0.0f; }, "QR4TD.DAT: FNUM = 0"},
        // A time step of 0 made every pass log "TIME 0" for ever: molecules of 1 m in so dense a
        // stream that the collision time, and with it the step, is below the smallest normal 4-byte
        // real.
        {"time step of 0",
         [] {
             GAS.STREAM_DENSITY = 3.0e38f;
             GAS.SPECIES_DATA(1, 1) = 1.0f;
         },
         "is not a positive number (stream speed"},
        // A molecule weight far too small for the flow grew the store by 10 % again and again.
        {"entering count beyond the store",
         [] {
             BOX.BOUNDARY_CODE(1) = BOUNDARY_STREAM;
             RUN.FNUM = 1.0e-30f;
         },
         "molecules would enter in each time step, more than the"},
        // Runs that could not reach their first output were accepted with exit 0: a diameter of 1 m,
        // a reference temperature of 3.4E38 K or a stream density of 3E38 gave steps of 1E-25 to
        // 1E-15 s, and an output interval of 1E30 reference times is as far out of reach.
        {"diameter of 1 m", [] { GAS.SPECIES_DATA(SPECIES_DIAMETER, 1) = 1.0f; },
         "time steps, more than the 1e+08 a run can make: the output interval (items 66 and 68)"},
        {"reference temperature of 3.4E38 K", [] { GAS.SPECIES_DATA(SPECIES_REF_TEMP, 1) = 3.4e38f; },
         "reference temperature (item 19) = 3.4e+38; check these items of QR4TD.DAT"},
        {"stream density of 3E37", [] { GAS.STREAM_DENSITY = 3.0e37f; },
         "set by the stream number density (item 48) = 3e+37 and temperature (item 49)"},
        {"output interval of 1E30 reference times in a thin gas",
         [] {
             RUN.OUTPUT_INTERVAL_REF = 1.0e30f;
             GAS.STREAM_DENSITY = 1.0e12f;
         },
         "set by items 1, 2 and 7 (x extent of the box and DIVISIONS_X)"},
        // A cell's expected count past 2^31 was converted to int unchecked (undefined): the run then
        // started with no molecules at all.
        {"cell count beyond the store", [] { RUN.FNUM = 2.5e7f; },
         "QR4TD.DAT item 48 (stream number density): value 1e+20: with the molecule weight FNUM = 2.5e+07 "
         "(item 65) cell 1 would take about"},
    };
    for (const Case& c : cases) {
        DiagLog log;
        make_case(INDEX_NORMAL);
        c.change();
        EXPECT_THROW(INITIALIZE_FLOW(), FatalStopped) << c.what;
        EXPECT_EQ(log.count(c.line), 1) << c.what << "\n" << log.text();
        EXPECT_EQ(MOLECULES.NM, 0) << c.what;
    }
}

// A close request waiting at the second poll stops the initialisation there: the stop request goes up
// to the main program, and nothing after the poll (the sample reset, the closing message box) runs.
TEST(InitializeFlow, CloseRequestEndsTheProgramAtOnce)
{
    DiagLog log;
    make_case(INDEX_NORMAL);
    HEADLESS.peek_types = {MsgNone, MsgCloseRequest};
    EXPECT_THROW(INITIALIZE_FLOW(), ProgramStopRequest);
    EXPECT_EQ(HEADLESS.count("WMessageBox"), 0);
}
