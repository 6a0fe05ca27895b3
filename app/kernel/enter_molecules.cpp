// ENTER_MOLECULES, first block: molecules entering through the stream (code 3) and constant-pressure
// (code 6) sides of the box.
//
// Each face division of such a side admits, per species, the integer part of DTM times the entry rate
// (EFACE item 2, the one-sided flux of a drifting Maxwellian, Bird 1994 eq. 4.22) plus the remainder
// carried from the last step. An entering molecule gets the flux-weighted normal velocity (Bird 1994,
// section 12.1), Maxwellian tangential components about the stream velocity, equilibrium internal
// energy at the gas temperature, a position a random part of a small step inside the face, and a clock
// spread over its cell's step so that molecules entering in one step do not move in lockstep.
//
// With a separation boundary (INITIAL_GAS = 1) and a constant-pressure side 1, sides 1 and 2 admit
// instead the balance of the molecules that left them against those that crossed the separation plane.
#include "app/kernel/enter_molecules.h"

#include "app/geometry/locate.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/molecule_store.h"
#include "app/kernel/samplers.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "base/random.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest integer of x, clamped.
int nearest(double x)
{
    const double r = std::round(x);
    if (!(r > -2.0e9))
        return r != r ? 0 : -2000000000;
    return r >= 2.0e9 ? 2000000000 : static_cast<int>(r);
}

// The face divisions of one side: the two counts (i1 outer, i2 inner) and the division of (i1, i2).
struct SideLattice {
    int side;
    int count1, count2;
    void division(int i1, int i2, int& ix, int& iy, int& iz) const
    {
        const auto& B = BOX;
        switch (side) {
        case 1:
        case 2:
            ix = side == 1 ? 1 : B.DIVISIONS_X, iy = i1, iz = i2;
            break;
        case 3:
        case 4:
            ix = i1, iy = side == 3 ? 1 : B.DIVISIONS_Y, iz = i2;
            break;
        default:
            ix = i1, iy = i2, iz = side == 5 ? 1 : B.DIVISIONS_Z;
            break;
        }
    }
};

SideLattice side_lattice(int side)
{
    const auto& B = BOX;
    if (side <= 2)
        return {side, B.DIVISIONS_Y, B.DIVISIONS_Z};
    if (side <= 4)
        return {side, B.DIVISIONS_X, B.DIVISIONS_Z};
    return {side, B.DIVISIONS_X, B.DIVISIONS_Y};
}

// The molecules of one species to enter at a face division this step: the rate rule, replaced at
// sides 1 and 2 by the constant-pressure balance when that applies.
int molecules_due(int side, int s, int gas, bool pressure_balance)
{
    auto& G = GAS;
    float& remainder = G.EFACE(EFACE_REMAINDER, s, side, gas);
    const double due = double(RUN.DTM) * G.EFACE(EFACE_RATE, s, side, gas) + remainder;
    int n = entry_count(due);
    remainder = static_cast<float>(due - n);
    if (!pressure_balance)
        return n;
    if (side == 1) {
        n = entry_count(G.CP_LEFT_MIN_X(s) + G.SEPARATION_CROSSINGS(s) - G.CP_ENTERED_MIN_X(s));
        G.CP_ENTERED_MIN_X(s) += n;
    } else {
        n = entry_count(G.CP_LEFT_MAX_X(s) - G.SEPARATION_CROSSINGS(s) - G.CP_ENTERED_MAX_X(s));
        if (n > 0)
            G.CP_ENTERED_MAX_X(s) += n;
    }
    return n;
}

// The face point of a molecule entering side `side` through division (ix, iy, iz): the side's box
// limit across the side and a random point of the division face along the two other axes.
void face_point(int side, int ix, int iy, int iz, float P[3])
{
    const auto& B = BOX;
    const auto& D = DIVISIONS;
    auto along = [](int index, float width, float lower) {
        return static_cast<float>((double(index) - random_uniform()) * width + lower);
    };
    switch (side) {
    case 1:
    case 2:
        P[0] = side == 1 ? B.XMIN : B.XMAX;
        P[1] = along(iy, D.DIVISION_WIDTH_Y, B.YMIN);
        P[2] = along(iz, D.DIVISION_WIDTH_Z, B.ZMIN);
        break;
    case 3:
    case 4:
        P[1] = side == 3 ? B.YMIN : B.YMAX;
        P[0] = along(ix, D.DIVISION_WIDTH_X, B.XMIN);
        P[2] = along(iz, D.DIVISION_WIDTH_Z, B.ZMIN);
        break;
    default:
        P[2] = side == 5 ? B.ZMIN : B.ZMAX;
        P[0] = along(ix, D.DIVISION_WIDTH_X, B.XMIN);
        P[1] = along(iy, D.DIVISION_WIDTH_Y, B.YMIN);
        break;
    }
}

// True when the face point P lies behind a surface triangle of the surface division that holds the
// element just found (an element with fewer sub-elements in the flow than it has).
bool behind_surface()
{
    const auto& D = DIVISIONS;
    const int code = D.DIVISION_INFO(DIVISION_CODE, D.CURRENT_DIVISION_Z, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_X);
    return code < 0 && D.SUB_ELEMENTS_IN_FLOW(-code, D.CURRENT_ELEMENT_Z, D.CURRENT_ELEMENT_Y, D.CURRENT_ELEMENT_X) <
                           D.SUB_ELEMENTS;
}

bool face_point_behind_triangle(const float P[3])
{
    const auto& D = DIVISIONS;
    const auto& TG = SURFACE.TRIANGLE_GEOMETRY;
    const int k = -D.DIVISION_INFO(DIVISION_CODE, D.CURRENT_DIVISION_Z, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_X);
    const int count = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
    const int first = D.SURFACE_INDEX(SURFACE_INDEX_START, k);
    for (int i = 1; i <= count; ++i) {
        const int t = D.TOTAL_SURFACE_INDEX(first + i);
        const double side = double(TG(1, t)) * P[0] + double(TG(2, t)) * P[1] + double(TG(3, t)) * P[2] + TG(4, t);
        if (side < 0.0)
            return true;
    }
    return false;
}

// One molecule of species s entering side `side` through division (ix, iy, iz) with gas `gas`.
void enter_one(int side, int ix, int iy, int iz, int s, int gas)
{
    auto& Mol = MOLECULES;
    const auto& G = GAS;
    const auto& EF = G.EFACE;

    // Face point.
    float P[3];
    face_point(side, ix, iy, iz, P);

    // A slot.
    const int n = open_molecule_slot();
    RUN.ENTRY_COUNT += 1.0;

    // Velocity: the normal component by its flux distribution, the tangential ones Maxwellian
    // about the primary stream's velocity.
    const float vmp = EF(EFACE_VMP, s, side, gas);
    const float q = sample_entry_speed_ratio(EF(EFACE_SPEED_RATIO, s, side, gas), EF(EFACE_CONST_A, s, side, gas),
                                             EF(EFACE_CONST_B, s, side, gas));
    const float normal = static_cast<float>(double(q) * vmp * (side % 2 == 1 ? 1.0 : -1.0));
    float c1, c2;
    SAMPLE_MAXWELLIAN_PAIR(c1, c2, vmp);
    auto& PV = Mol.PV;
    if (side <= 2) {
        PV(1, n) = normal;
        PV(2, n) = c1 + G.STREAM_V;
        PV(3, n) = c2 + G.STREAM_W;
    } else if (side <= 4) {
        PV(1, n) = c1 + G.STREAM_U;
        PV(2, n) = normal;
        PV(3, n) = c2 + G.STREAM_W;
    } else {
        PV(1, n) = c2 + G.STREAM_U;
        PV(2, n) = c1 + G.STREAM_V;
        PV(3, n) = normal;
    }

    // Internal energy at the gas's temperature; species.
    set_entry_internal_energy(n, s, gas == 1 ? G.STREAM_TEMP : G.SECONDARY_TEMP);
    set_molecule_species(n, s);

    // Position a random fraction of 0.01 DTM along the velocity.
    const double f = 0.01 * random_uniform() * RUN.DTM;
    for (int i = 1; i <= 3; ++i)
        Mol.MOL_POS(i, n) = static_cast<float>(P[i - 1] + double(PV(i, n)) * f);

    // Cell; a molecule in no cell, or whose face point lies behind a surface, is taken back.
    int cell;
    FIND_CELL(cell, Mol.MOL_POS(1, n), Mol.MOL_POS(2, n), Mol.MOL_POS(3, n));
    Mol.IP(IP_CELL, n) = cell;
    if (cell < 1 || (behind_surface() && face_point_behind_triangle(P))) {
        Mol.NM -= 1;
        return;
    }

    // Clock spread over the cell's step and back over a random part of the overall step; index.
    const double dtc = CELLS.CELL_DATA(CELL_TIME_STEP, cell);
    Mol.MOL_TIME(n) = RUN.TIME + (2.0 * random_uniform() - 1.0) * dtc;
    Mol.MOL_TIME(n) -= random_uniform() * RUN.DTM;
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        INSERT_INTO_CELL_LIST(cell, n);
}

}  // namespace

// entry_count: see the header.
int entry_count(double x)
{
    if (!(x > -2.0e9))
        return x != x ? 0 : -2000000000;
    return x >= 2.0e9 ? 2000000000 : static_cast<int>(x);
}

// Equilibrium internal energy of new molecule n of species s at temperature T: rotational energy when
// the species rotates, a level of every vibrational mode it has; the rest of the slot's internal
// fields cleared (the slot may hold a removed molecule's values).
void set_entry_internal_energy(int n, int s, float T)
{
    auto& Mol = MOLECULES;
    const auto& G = GAS;
    if (Mol.PV_ROWS == 4) {
        if (G.SPECIES_ROTATION(1, s) > 0)
            SAMPLE_ROTATIONAL_ENERGY(s, T, Mol.PV(PV_ROTATION, n));
        else
            Mol.PV(PV_ROTATION, n) = 0.0f;
    }
    const int modes = G.MAX_VIB_MODES > 0 ? G.VIB_MODE_COUNT(s) : 0;
    for (int k = 1; k <= G.MAX_VIB_MODES; ++k) {
        if (k <= modes)
            SAMPLE_VIB_LEVEL(s, T, Mol.MOL_VIB_LEVEL(k, n), k);
        else
            Mol.MOL_VIB_LEVEL(k, n) = 0;
    }
}

float sample_entry_speed_ratio(float s, float A, float B)
{
    const double lo = std::max(0.0, double(s) - 3.0);
    const double hi = std::max(3.0, double(s) + 3.0);
    for (;;) {
        const double q = lo + (hi - lo) * random_uniform();
        const double U = q - s;
        const double P = (2.0 * q / A) * std::exp(double(B) - U * U);
        if (random_uniform() < P)
            return static_cast<float>(q);
    }
}

// enter_at_box_sides: for every side of code 3 or 6, its face divisions (i1 outer, i2 inner), the gas
// of each division, and the molecules due per species.
void enter_at_box_sides()
{
    const auto& B = BOX;
    const auto& G = GAS;
    auto& D = DIVISIONS;
    const bool separation = G.INITIAL_GAS == 1;
    const bool balance = separation && B.BOUNDARY_CODE(1) == BOUNDARY_PRESSURE;
    for (int side = 1; side <= BOX_SIDES; ++side) {
        const int code = B.BOUNDARY_CODE(side);
        if (code != BOUNDARY_STREAM && code != BOUNDARY_PRESSURE)
            continue;
        // The x division of the separation plane, counted from the box's lower x limit.
        const int separation_division =
            separation ? nearest((double(G.SEPARATION_X) - B.XMIN) / D.DIVISION_WIDTH_X) : 0;
        const SideLattice lattice = side_lattice(side);
        for (int i1 = 1; i1 <= lattice.count1; ++i1) {
            for (int i2 = 1; i2 <= lattice.count2; ++i2) {
                int ix, iy, iz;
                lattice.division(i1, i2, ix, iy, iz);
                int gas = 1;
                if (separation) {
                    if (side <= 2)
                        gas = side;
                    else
                        gas = i1 <= separation_division ? 1 : 2;
                }
                if (D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) == 0)
                    continue;
                for (int s = 1; s <= G.SPECIES_COUNT; ++s) {
                    const int n = molecules_due(side, s, gas, balance && side <= 2);
                    for (int m = 1; m <= n; ++m) {
                        D.CURRENT_DIVISION_X = ix;
                        D.CURRENT_DIVISION_Y = iy;
                        D.CURRENT_DIVISION_Z = iz;
                        enter_one(side, ix, iy, iz, s, gas);
                    }
                }
            }
        }
    }
}

// ENTER_MOLECULES: the box sides, the flow-entry triangles, then the outgassing solid triangles.
void ENTER_MOLECULES()
{
    enter_at_box_sides();
    enter_at_entry_triangles();
    if (RUN.OUTGAS_TOTAL > 0.01f)
        outgas_from_solid_triangles();
}
