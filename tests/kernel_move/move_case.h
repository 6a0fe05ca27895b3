// The cases of the move tests and of the move benchmark, built without the test framework: a gas of one
// argon-like species, the box with the same code on every side, the solid triangles' properties, one
// cell per division (made after SET_DIVISIONS_AND_ELEMENTS; an element of a surface division that lies
// wholly inside a body keeps -1), and an empty molecule store.
#ifndef QR4T_TESTS_KERNEL_MOVE_MOVE_CASE_H
#define QR4T_TESTS_KERNEL_MOVE_MOVE_CASE_H

#include "app/geometry/locate.h"
#include "app/kernel/constants.h"
#include "app/kernel/kernel_move.h"
#include "app/kernel/molecule_store.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/clear_state.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "toolkit/headless/headless.h"

#include <cmath>

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

// Clears every group that the move reads or writes, and the headless toolkit's record (switched off:
// the set-up's progress dialog would fill it).
inline void clear_move_state()
{
    clear_every_state_group();
    HEADLESS.reset();
    HEADLESS.record_calls = false;
}

// One species of argon's mass, no internal energy, with its counters.
inline void set_test_gas()
{
    auto& G = GAS;
    G.SPECIES_COUNT = 1;
    G.SPECIES_DATA.allocate(4, 1);
    G.SPECIES_DATA(SPECIES_MASS, 1) = ARGON_MASS;
    G.SPECIES_ROTATION.allocate(2, 1);
    G.VIB_MODE_COUNT.allocate(1);
    G.CP_LEFT_MIN_X.allocate(1);
    G.CP_LEFT_MAX_X.allocate(1);
    G.SEPARATION_CROSSINGS.allocate(1);
}

inline void set_case_box(const CaseBox& box, int code)
{
    auto& B = BOX;
    B.XMIN = box.lo[0];
    B.YMIN = box.lo[1];
    B.ZMIN = box.lo[2];
    B.XMAX = box.hi[0];
    B.YMAX = box.hi[1];
    B.ZMAX = box.hi[2];
    B.DIVISIONS_X = box.divisions[0];
    B.DIVISIONS_Y = box.divisions[1];
    B.DIVISIONS_Z = box.divisions[2];
    B.ELEMENTS_PER_DIVISION_X = box.elements[0];
    B.ELEMENTS_PER_DIVISION_Y = box.elements[1];
    B.ELEMENTS_PER_DIVISION_Z = box.elements[2];
    for (int side = 1; side <= 6; ++side)
        B.BOUNDARY_CODE(side) = code;
}

// Every triangle of SURFACE (filled as the surface reader leaves it) diffuse at 300 K, no sticking, no
// reactions; each triangle's surface number.
inline void set_solid_properties()
{
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
}

// Cells 1 .. cells, each of time step dtc.
inline void allocate_cells(int cells, float dtc)
{
    CELLS.CELL_COUNT = CELLS.MAX_CELLS = cells;
    CELLS.CELL_DATA.allocate(CELL_DATA_FIELDS, cells);
    CELLS.ICELL.allocate(3, cells);
    CELLS.IRCELL.allocate(cells);
    CELLS.CELL_TIME.allocate(cells);
    for (int c = 1; c <= cells; ++c)
        CELLS.CELL_DATA(CELL_TIME_STEP, c) = dtc;
}

// One cell per division that holds flow, each of time step dtc, and the move's work array ICHECK.
inline void make_division_cells(float dtc)
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
    allocate_cells(cells, dtc);
    D.ICHECK.allocate(8 * D.MNSEG);
}

// An empty store of mnm molecules; DTM = 2 dtc, TIME = 0.
inline void allocate_store(int mnm, int index_mode, float dtc)
{
    auto& R = RUN;
    R.MNM = mnm;
    R.INDEX_MODE = index_mode;
    R.XREF_SIZE = index_mode == INDEX_CONTINUOUS ? 6 * mnm : 1;
    R.DTM = 2.0f * dtc;
    R.TIME = 0.0;
    auto& M = MOLECULES;
    M.MOL_POS.allocate(3, mnm);
    M.PV.allocate(3, mnm);
    M.IP.allocate(2, mnm);
    M.MOL_TIME.allocate(mnm);
    M.XREF.allocate(R.XREF_SIZE);
    M.MOL_VIB_LEVEL.allocate(0, mnm);
}

// Appends a molecule at (x, y, z) with velocity (u, v, w), clock 0, in the cell of its point (which
// is returned in `cell`).
inline int place_molecule(float x, float y, float z, float u, float v, float w, int& cell)
{
    FIND_CELL(cell, x, y, z);
    const int n = open_molecule_slot();
    auto& M = MOLECULES;
    M.MOL_POS(1, n) = x;
    M.MOL_POS(2, n) = y;
    M.MOL_POS(3, n) = z;
    M.PV(1, n) = u;
    M.PV(2, n) = v;
    M.PV(3, n) = w;
    M.IP(IP_CELL, n) = cell;
    return n;
}

// One pass of the time-step loop's move: TIME advances by DTM, then MOVE_MOLECULES.
inline void move_pass()
{
    RUN.TIME += RUN.DTM;
    MOVE_MOLECULES();
}

#endif
