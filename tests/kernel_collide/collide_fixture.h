// A small case for the collision and entry tests: a box of NX x NY x NZ divisions of one element each,
// every division one cell, no surfaces, and a gas of up to four species set up by INITIALIZE_FLOW.
#ifndef QR4T_TESTS_KERNEL_COLLIDE_COLLIDE_FIXTURE_H
#define QR4T_TESTS_KERNEL_COLLIDE_COLLIDE_FIXTURE_H

#include "app/geometry/setup.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/collide_molecules.h"
#include "app/kernel/enter_molecules.h"
#include "app/kernel/constants.h"
#include "app/kernel/initialize_flow.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/clear_state.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "tests/kernel/kernel_test_support.h"
#include "toolkit/headless/headless.h"

#include <cmath>
#include <functional>
#include <vector>

// One species of the test gas.
struct TestSpecies {
    double diameter;     // VHS reference diameter (m)
    double tref;         // reference temperature (K)
    double omega;        // viscosity-temperature exponent
    double mass;         // molecular mass (kg)
    double fraction;     // fraction in the stream
    int rotation = 0;    // rotational degrees of freedom
    int rot_number = 5;  // rotational relaxation collision number
    double theta_v = 0;  // characteristic vibrational temperature of its one mode (0: no mode)
    double c1 = 5.0;     // vibrational collision number constants C1, C2
    double c2 = 0.0;
};

// The case: box of real extent (lx, ly, lz) scaled by sf, nx x ny x nz one-element divisions, every side
// a plane of symmetry (specular), the stream at rest filling the box.
struct TestCase {
    int nx = 2, ny = 2, nz = 2;
    double lx = 0.1, ly = 0.1, lz = 0.1;
    float sf = 100.0f;
    double density = 1.0e21;
    double temperature = 300.0;
    double fnum = 1.0e14;
    int mnm = 60000;
    int initial_state = 1;
    int index_mode = INDEX_NORMAL;
    int subcell_mode = SUBCELLS_NONE;
    std::vector<TestSpecies> species;
    std::function<void()> before_initialise;  // e.g. the reaction tables, after the gas is set
};

inline void make_box(const TestCase& c)
{
    auto& B = BOX;
    B = BoxState{};
    B.XMIN = B.YMIN = B.ZMIN = 0.0f;
    B.XMAX = static_cast<float>(c.lx * c.sf);
    B.YMAX = static_cast<float>(c.ly * c.sf);
    B.ZMAX = static_cast<float>(c.lz * c.sf);
    B.SCALE_FACTOR = c.sf;
    B.DIVISIONS_X = c.nx, B.DIVISIONS_Y = c.ny, B.DIVISIONS_Z = c.nz;
    B.ELEMENTS_PER_DIVISION_X = B.ELEMENTS_PER_DIVISION_Y = B.ELEMENTS_PER_DIVISION_Z = 1;
    for (int k = 1; k <= 6; ++k)
        B.BOUNDARY_CODE(k) = BOUNDARY_PLANE;
    auto& D = DIVISIONS;
    D = Divisions{};
    D.BOX_EXTENT_X = B.XMAX, D.BOX_EXTENT_Y = B.YMAX, D.BOX_EXTENT_Z = B.ZMAX;
    D.DIVISION_WIDTH_X = D.BOX_EXTENT_X / c.nx;
    D.DIVISION_WIDTH_Y = D.BOX_EXTENT_Y / c.ny;
    D.DIVISION_WIDTH_Z = D.BOX_EXTENT_Z / c.nz;
    D.GEOMETRY_TOLERANCE = 1.0e-5f;
    fill_neighbour_tables();
    D.DIVISION_INFO.allocate(3, c.nz, c.ny, c.nx);
    D.ELEMENT_CELL.allocate(c.nz, c.ny, c.nx, 1, 1, 1);
    const int cells = c.nx * c.ny * c.nz;
    auto& C = CELLS;
    C = Cells{};
    C.CELL_COUNT = C.MAX_CELLS = cells;
    C.CELL_DATA.allocate(14, cells);
    C.ICELL.allocate(3, cells);
    C.IRCELL.allocate(c.index_mode == INDEX_CONTINUOUS ? cells : 1);
    C.CELL_TIME.allocate(cells);
    const float w[3] = {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
    for (int iz = 1; iz <= c.nz; ++iz)
        for (int iy = 1; iy <= c.ny; ++iy)
            for (int ix = 1; ix <= c.nx; ++ix) {
                const int cell = ix + c.nx * (iy - 1) + c.nx * c.ny * (iz - 1);
                D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) = NO_SURFACE_LEVEL;
                D.ELEMENT_CELL(iz, iy, ix, 1, 1, 1) = cell;
                const int idx[3] = {ix, iy, iz};
                C.CELL_DATA(CELL_VOLUME, cell) = w[0] * w[1] * w[2];
                C.CELL_DATA(CELL_FILL_FRACTION, cell) = 1.0f;
                for (int a = 0; a < 3; ++a) {
                    const float lo = (idx[a] - 1) * w[a];
                    C.CELL_DATA(CELL_NODE_X + a, cell) = lo + 0.5f * w[a];
                    C.CELL_DATA(CELL_LOW_X + 2 * a, cell) = lo;
                    C.CELL_DATA(CELL_HIGH_X + 2 * a, cell) = lo + w[a];
                }
            }
}

// Builds the case and runs INITIALIZE_FLOW on it (which fills the box with the stream when
// initial_state is 1). The diagnostic log must be open (DiagLog).
inline void make_case(const TestCase& c)
{
    clear_every_state_group();
    make_box(c);
    const int ns = static_cast<int>(c.species.size());
    auto& G = GAS;
    G.SPECIES_COUNT = ns;
    G.SPECIES_DATA.allocate(4, ns);
    G.SPECIES_ROTATION.allocate(2, ns);
    G.STREAM_FRACTION.allocate(ns);
    G.SECONDARY_FRACTION.allocate(ns);
    G.SPECIES_PAIR_DATA.allocate(7, ns, ns);
    G.VIB_MODE_COUNT.allocate(ns);
    for (auto* a : {&G.CP_LEFT_MIN_X, &G.CP_LEFT_MAX_X, &G.CP_ENTERED_MIN_X, &G.CP_ENTERED_MAX_X,
                    &G.SEPARATION_CROSSINGS})
        a->allocate(ns);
    G.REACTION_COUNT.allocate(1);
    G.SURF_REACTION_COUNT.allocate(1);
    for (int s = 1; s <= ns; ++s) {
        const TestSpecies& t = c.species[s - 1];
        G.SPECIES_DATA(SPECIES_DIAMETER, s) = float(t.diameter);
        G.SPECIES_DATA(SPECIES_REF_TEMP, s) = float(t.tref);
        G.SPECIES_DATA(SPECIES_VISC_POWER, s) = float(t.omega);
        G.SPECIES_DATA(SPECIES_MASS, s) = float(t.mass);
        G.STREAM_FRACTION(s) = float(t.fraction);
        G.SECONDARY_FRACTION(s) = float(t.fraction);
        G.SPECIES_ROTATION(1, s) = t.rotation;
        G.SPECIES_ROTATION(2, s) = t.rotation > 0 ? t.rot_number : 0;
        if (t.theta_v > 0.0) {
            G.VIB_MODE_COUNT(s) = 1;
            G.MAX_VIB_MODES = 1;
        }
    }
    G.VIB_TEMP.allocate(G.MAX_VIB_MODES, ns);
    G.VIB_RELAX.allocate(2, G.MAX_VIB_MODES, ns);
    for (int s = 1; s <= ns; ++s) {
        const TestSpecies& t = c.species[s - 1];
        if (t.theta_v > 0.0) {
            G.VIB_TEMP(1, s) = float(t.theta_v);
            G.VIB_RELAX(1, 1, s) = float(t.c1);
            G.VIB_RELAX(2, 1, s) = float(t.c2);
        }
    }
    G.STREAM_DENSITY = float(c.density);
    G.STREAM_TEMP = float(c.temperature);
    G.INITIAL_STATE = c.initial_state;

    auto& R = RUN;
    R.FNUM = float(c.fnum);
    R.MNM = c.mnm;
    R.INDEX_MODE = c.index_mode;
    R.XREF_SIZE = c.index_mode == INDEX_CONTINUOUS ? 6 * c.mnm : 1;
    R.SUBCELL_MODE = c.subcell_mode;
    R.REF_TIME = 1.0e-3f * c.sf;
    R.OUTPUT_INTERVAL_REF = 2.0f;
    R.AVERAGING_FRACTION = 0.5f;
    R.SAMPLES_PER_OUTPUT = 10;
    R.STEADY_AFTER_OUTPUTS = 3;
    R.PROGRAM_OPTIONS = 1;

    const int cells = CELLS.CELL_COUNT;
    SAMPLES.CELL_SAMPLE.allocate(8 + G.MAX_VIB_MODES, cells, ns);
    SAMPLES.CELL_COLL_COUNT.allocate(cells);
    SAMPLES.CELL_SEP_SUM.allocate(cells);
    SAMPLES.SURF_SAMPLE.allocate(6, 1, ns);
    SAMPLES.ADIABATIC_SAMPLE.allocate(2, 1);
    SAMPLES.SURF_FORCE_SAMPLE.allocate(6, 1);
    HEADLESS.reset();
    if (c.before_initialise)
        c.before_initialise();
    INITIALIZE_FLOW();
    if (c.index_mode == INDEX_CONTINUOUS)
        RESET_CONTINUOUS_INDEXING();
}

// Sets the overall and every cell's time step.
inline void set_time_step(float dtm)
{
    RUN.DTM = dtm;
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j)
        CELLS.CELL_DATA(CELL_TIME_STEP, j) = dtm / 2.0f;
}

// Totals of the molecules: momentum (kg m/s), translational, rotational and vibrational energy (J).
struct Totals {
    double momentum[3] = {0, 0, 0};
    double trans = 0, rot = 0, vib = 0;
    double energy() const { return trans + rot + vib; }
};

inline Totals totals()
{
    Totals t;
    const auto& M = MOLECULES;
    for (int n = 1; n <= M.NM; ++n) {
        const int s = molecule_species(n) < 0 ? -molecule_species(n) : molecule_species(n);
        const double m = GAS.SPECIES_DATA(SPECIES_MASS, s);
        for (int i = 1; i <= 3; ++i) {
            t.momentum[i - 1] += m * M.PV(i, n);
            t.trans += 0.5 * m * double(M.PV(i, n)) * M.PV(i, n);
        }
        if (M.PV_ROWS == 4 && GAS.SPECIES_ROTATION(1, s) > 0)
            t.rot += M.PV(PV_ROTATION, n);
        for (int k = 1; k <= (GAS.MAX_VIB_MODES > 0 ? GAS.VIB_MODE_COUNT(s) : 0); ++k)
            t.vib += double(M.MOL_VIB_LEVEL(k, n)) * BOLTZ * GAS.VIB_TEMP(k, s);
    }
    return t;
}

// Translational temperature of the molecules of species s (0: all), about their own mean velocity.
inline double translational_temperature(int s = 0)
{
    const auto& M = MOLECULES;
    double sum[3] = {0, 0, 0}, sq = 0, mass = 0;
    long count = 0;
    for (int n = 1; n <= M.NM; ++n) {
        const int sp = molecule_species(n);
        if (s != 0 && sp != s)
            continue;
        const double m = GAS.SPECIES_DATA(SPECIES_MASS, sp);
        for (int i = 1; i <= 3; ++i) {
            sum[i - 1] += m * M.PV(i, n);
            sq += m * double(M.PV(i, n)) * M.PV(i, n);
        }
        mass += m;
        ++count;
    }
    const double mean2 = (sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) / mass;
    return (sq - mean2) / (3.0 * count * double(BOLTZ));
}

// n entry steps: TIME advanced by DTM, then ENTER_MOLECULES; returns the molecules in the store.
inline int run_entry(int steps)
{
    for (int i = 1; i <= steps; ++i) {
        RUN.TIME += RUN.DTM;
        ENTER_MOLECULES();
    }
    return MOLECULES.NM;
}

// Mean normal speed ratio of molecules entering through a face with speed ratio s along its normal:
// int q^2 exp(-(q - s)^2) / int q exp(-(q - s)^2) over q > 0 (midpoint rule).
inline double mean_entry_ratio(double s)
{
    double num = 0, den = 0;
    const double h = 1e-4;
    for (double q = 0.5 * h; q < s + 10.0; q += h) {
        const double w = q * std::exp(-(q - s) * (q - s));
        num += q * w;
        den += w;
    }
    return num / den;
}

// One collision step: TIME advanced by DTM, the index rebuilt (normal indexing), then the collisions.
inline void one_collision_step()
{
    RUN.TIME += RUN.DTM;
    if (RUN.INDEX_MODE == INDEX_NORMAL)
        INDEX_MOLECULES();
    COLLIDE_MOLECULES();
}

#endif
