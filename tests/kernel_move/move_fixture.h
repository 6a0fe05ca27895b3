// Fixture of the move tests: a flowfield box with optional bodies, laid out by the geometry's own
// SET_DIVISIONS_AND_ELEMENTS, one cell per division (the elements of a surface division that lie wholly
// inside a body get none), a molecule store, and the diagnostic log in a scratch folder.
#ifndef QR4T_TESTS_KERNEL_MOVE_MOVE_FIXTURE_H
#define QR4T_TESTS_KERNEL_MOVE_MOVE_FIXTURE_H

#include "app/geometry/geometry.h"
#include "app/geometry/locate.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/constants.h"
#include "app/kernel/kernel_move.h"
#include "app/kernel/samplers.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/random.h"
#include "tests/geometry/geometry_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

constexpr float ARGON_MASS = 6.63e-26f;  // kg

// Most probable speed sqrt(2kT/m) of the test gas.
inline double vmp_of(double T)
{
    return std::sqrt(2.0 * double(BOLTZ) * T / double(ARGON_MASS));
}

// The box: limits and, per axis, divisions and elements per division.
struct CaseBox {
    float lo[3] = {0, 0, 0};
    float hi[3] = {10, 10, 10};
    int divisions[3] = {5, 5, 5};
    int elements[3] = {2, 2, 2};
};

class MoveTest : public FatalToException {
public:
    void SetUp() override
    {
        FatalToException::SetUp();
        saved_random = RANDOM_STATE;
        BOX = BoxState{};
        SURFACE = SurfaceState{};
        DIVISIONS = Divisions{};
        CELLS = Cells{};
        SAMPLES = SampleSums{};
        GAS = GasState{};
        RUN = RunState{};
        MOLECULES = MoleculeStore{};
        HEADLESS.reset();
        HEADLESS.record_calls = false;
        diag_path = scratch.path("DIAG.TXT");
        unit_open(UNIT_DIAG, diag_path, UnitMode::WRITE_TEXT);
    }
    void TearDown() override
    {
        RANDOM_STATE = saved_random;
        FatalToException::TearDown();
    }

    // Lays out the case: box, bodies (every triangle solid, diffuse at 300 K unless changed later),
    // divisions and elements, one cell per division with time step dtc, an empty store of mnm molecules
    // of one argon-like species. Every box side gets `code`.
    void make_case(const CaseBox& box, const std::vector<Body>& bodies, int mnm, int index_mode = INDEX_NORMAL,
                   float dtc = 1e-4f, int code = BOUNDARY_PLANE)
    {
        GAS.SPECIES_COUNT = 1;
        GAS.SPECIES_DATA.allocate(4, 1);
        GAS.SPECIES_DATA(SPECIES_MASS, 1) = ARGON_MASS;
        GAS.SPECIES_ROTATION.allocate(2, 1);
        GAS.VIB_MODE_COUNT.allocate(1);
        GAS.CP_LEFT_MIN_X.allocate(1);
        GAS.CP_LEFT_MAX_X.allocate(1);
        GAS.SEPARATION_CROSSINGS.allocate(1);

        BOX.XMIN = box.lo[0];
        BOX.YMIN = box.lo[1];
        BOX.ZMIN = box.lo[2];
        BOX.XMAX = box.hi[0];
        BOX.YMAX = box.hi[1];
        BOX.ZMAX = box.hi[2];
        BOX.DIVISIONS_X = box.divisions[0];
        BOX.DIVISIONS_Y = box.divisions[1];
        BOX.DIVISIONS_Z = box.divisions[2];
        BOX.ELEMENTS_PER_DIVISION_X = box.elements[0];
        BOX.ELEMENTS_PER_DIVISION_Y = box.elements[1];
        BOX.ELEMENTS_PER_DIVISION_Z = box.elements[2];
        for (int side = 1; side <= 6; ++side)
            BOX.BOUNDARY_CODE(side) = code;

        set_surfaces(bodies);
        SurfaceState& S = SURFACE;
        S.TRIANGLE_SURFACE.allocate(S.TRIANGLE_COUNT);
        for (int s = 1; s <= S.SURFACE_COUNT; ++s)
            for (int j = 1; j <= S.SURFACE_TRIANGLE_COUNT(s); ++j)
                S.TRIANGLE_SURFACE(S.SURFACE_FIRST_TRIANGLE(s) + j) = s;
        S.SOLID_PROPERTIES.allocate(4, S.TRIANGLE_COUNT);
        S.SOLID_SPECIES_PROPERTIES.allocate(3, 1, S.TRIANGLE_COUNT);
        S.SOLID_REACTION_PROBABILITY.allocate(1, S.TRIANGLE_COUNT);
        for (int k = 1; k <= S.TRIANGLE_COUNT; ++k)
            S.SOLID_PROPERTIES(1, k) = 300.0f;

        SET_DIVISIONS_AND_ELEMENTS();
        make_cells(dtc);
        DIVISIONS.ICHECK.allocate(8 * DIVISIONS.MNSEG);

        RUN.MNM = mnm;
        RUN.INDEX_MODE = index_mode;
        RUN.XREF_SIZE = index_mode == INDEX_CONTINUOUS ? 6 * mnm : 1;
        RUN.DTM = 2.0f * dtc;
        RUN.TIME = 0.0;
        auto& M = MOLECULES;
        M.MOL_POS.allocate(3, mnm);
        M.PV.allocate(3, mnm);
        M.IP.allocate(2, mnm);
        M.MOL_TIME.allocate(mnm);
        M.XREF.allocate(RUN.XREF_SIZE);
        M.MOL_VIB_LEVEL.allocate(0, mnm);
    }

    // Appends a molecule at (x, y, z) with velocity (u, v, w), clock 0, in the cell of its point.
    int add(float x, float y, float z, float u, float v, float w)
    {
        auto& M = MOLECULES;
        int cell = 0;
        FIND_CELL(cell, x, y, z);
        EXPECT_GE(cell, 1) << "molecule placed in no cell at " << x << " " << y << " " << z;
        const int n = ++M.NM;
        M.MOL_POS(1, n) = x;
        M.MOL_POS(2, n) = y;
        M.MOL_POS(3, n) = z;
        M.PV(1, n) = u;
        M.PV(2, n) = v;
        M.PV(3, n) = w;
        M.IP(IP_CELL, n) = cell;
        M.MOL_TIME(n) = 0.0;
        return n;
    }

    // Adds `count` molecules at uniform random points of the cube [lo, hi]^3 with Maxwellian velocities
    // of most probable speed vmp, plus u0 along x.
    void add_gas(int count, double vmp, float lo, float hi, float u0 = 0.0f)
    {
        for (int i = 0; i < count; ++i) {
            float c[4];
            SAMPLE_MAXWELLIAN_PAIR(c[0], c[1], static_cast<float>(vmp));
            SAMPLE_MAXWELLIAN_PAIR(c[2], c[3], static_cast<float>(vmp));
            float p[3];
            for (float& x : p)
                x = static_cast<float>(lo + (hi - lo) * random_uniform());
            add(p[0], p[1], p[2], c[0] + u0, c[1], c[2]);
        }
    }

    // One pass of the time-step loop's move: TIME advances by DTM, then MOVE_MOLECULES.
    void pass()
    {
        RUN.TIME += RUN.DTM;
        MOVE_MOLECULES();
    }

    // Whether every molecule is listed in its cell (continuous indexing) and its cell is the one of its
    // point (or, for a point in no element cell, at least a cell).
    ::testing::AssertionResult index_consistent()
    {
        const auto& M = MOLECULES;
        for (int n = 1; n <= M.NM; ++n) {
            const int c = M.IP(IP_CELL, n);
            if (c < 1 || c > CELLS.CELL_COUNT)
                return ::testing::AssertionFailure() << "molecule " << n << " has cell " << c;
            if (RUN.INDEX_MODE == INDEX_CONTINUOUS) {
                const int p = M.IP(IP_PLACE, n);
                if (p <= CELLS.ICELL(ICELL_START, c) || p > CELLS.ICELL(ICELL_START, c) + CELLS.ICELL(ICELL_COUNT, c) ||
                    M.XREF(p) != n)
                    return ::testing::AssertionFailure() << "molecule " << n << " not listed in cell " << c;
            }
        }
        if (RUN.INDEX_MODE == INDEX_CONTINUOUS) {
            int listed = 0;
            for (int c = 1; c <= CELLS.CELL_COUNT; ++c)
                listed += CELLS.ICELL(ICELL_COUNT, c);
            if (listed != M.NM)
                return ::testing::AssertionFailure() << listed << " listed, NM " << M.NM;
        }
        return ::testing::AssertionSuccess();
    }

    // The diagnostic log so far.
    std::string diag()
    {
        std::fflush(unit_file(UNIT_DIAG));
        return read_file(diag_path);
    }

    std::string diag_path;
    RandomState saved_random;

private:
    // One cell per division that holds flow; an element of a surface division keeps -1 when it lies
    // wholly inside a body.
    static void make_cells(float dtc)
    {
        auto& D = DIVISIONS;
        const auto& B = BOX;
        int cells = 0;
        for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
            for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
                for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                    const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
                    if (code == 0)
                        continue;
                    ++cells;
                    for (int ez = 1; ez <= B.ELEMENTS_PER_DIVISION_Z; ++ez)
                        for (int ey = 1; ey <= B.ELEMENTS_PER_DIVISION_Y; ++ey)
                            for (int ex = 1; ex <= B.ELEMENTS_PER_DIVISION_X; ++ex) {
                                int& e = D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex);
                                if (code > 0 || e == 0)
                                    e = cells;
                            }
                }
        CELLS.CELL_COUNT = CELLS.MAX_CELLS = cells;
        CELLS.CELL_DATA.allocate(CELL_DATA_FIELDS, cells);
        CELLS.ICELL.allocate(3, cells);
        CELLS.IRCELL.allocate(cells);
        CELLS.CELL_TIME.allocate(cells);
        for (int c = 1; c <= cells; ++c)
            CELLS.CELL_DATA(CELL_TIME_STEP, c) = dtc;
    }
};

#endif
