// Fixture of the move tests: the cases of move_case.h with bodies made by the geometry tests' helpers,
// laid out by the geometry's own SET_DIVISIONS_AND_ELEMENTS, and the diagnostic log in a scratch folder.
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
#include "tests/kernel_move/move_case.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

class MoveTest : public FatalToException {
public:
    void SetUp() override
    {
        FatalToException::SetUp();
        saved_random = RANDOM_STATE;
        clear_move_state();
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
    void make_case(const CaseBox& box, const std::vector<Body>& bodies, int mnm,
                   int index_mode = INDEX_NORMAL, float dtc = 1e-4f, int code = BOUNDARY_PLANE)
    {
        set_test_gas();
        set_case_box(box, code);
        set_surfaces(bodies);
        set_solid_properties();
        SET_DIVISIONS_AND_ELEMENTS();
        make_division_cells(dtc);
        allocate_store(mnm, index_mode, dtc);
    }

    // Appends a molecule at (x, y, z) with velocity (u, v, w), clock 0, in the cell of its point.
    int add(float x, float y, float z, float u, float v, float w)
    {
        int cell = 0;
        const int n = place_molecule(x, y, z, u, v, w, cell);
        EXPECT_GE(cell, 1) << "molecule placed in no cell at " << x << " " << y << " " << z;
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

    void pass() { move_pass(); }

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
                const int start = CELLS.ICELL(ICELL_START, c);
                if (p <= start || p > start + CELLS.ICELL(ICELL_COUNT, c) || M.XREF(p) != n)
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
};

#endif
