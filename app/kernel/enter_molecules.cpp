// ENTER_MOLECULES, first block: molecules entering through the stream (code 3) and constant-pressure
// (code 6) sides of the box.
//
// Each face division of such a side admits, per species, the integer part of DTM times the entry rate
// (EFACE item 2, the one-sided flux of a drifting Maxwellian, Bird 1994 eq. 4.22) plus the remainder
// carried from the last step. An entering molecule gets the flux-weighted normal velocity (Bird 1994,
// section 12.1), Maxwellian tangential components about the stream velocity, equilibrium internal
// energy at the gas temperature, and a random entry time within the step just ended: it is placed on
// the face and moved at once for the rest of the step, so that it does not fall behind the flow.
//
// With a separation boundary (INITIAL_GAS = 1) and a constant-pressure side 1, sides 1 and 2 admit
// instead the balance of the molecules that left them against those that crossed the separation plane.
#include "app/kernel/enter_molecules.h"

#include "app/geometry/locate.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/kernel_move.h"
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
        case 2: ix = side == 1 ? 1 : B.DIVISIONS_X, iy = i1, iz = i2; break;
        case 3:
        case 4: ix = i1, iy = side == 3 ? 1 : B.DIVISIONS_Y, iz = i2; break;
        default: ix = i1, iy = i2, iz = side == 5 ? 1 : B.DIVISIONS_Z; break;
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

// True when the element just found lies partly inside a body: an element of a surface division with
// fewer sub-elements in the flow than it has.
bool element_partly_in_body()
{
    const auto& D = DIVISIONS;
    const int code =
        D.DIVISION_INFO(DIVISION_CODE, D.CURRENT_DIVISION_Z, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_X);
    return code < 0 && D.SUB_ELEMENTS_IN_FLOW(-code, D.CURRENT_ELEMENT_Z, D.CURRENT_ELEMENT_Y,
                                              D.CURRENT_ELEMENT_X) < D.SUB_ELEMENTS;
}

// Squared distance from P to the nearest point of triangle t (Ericson 2005, section 5.1.5), and P's
// signed distance to the triangle's plane (positive on the flow side, into which the normal points).
void distance_to_triangle(int t, const double P[3], double& squared, double& plane)
{
    const auto& S = SURFACE;
    const auto& TG = S.TRIANGLE_GEOMETRY;
    double V[3][3];
    for (int k = 0; k < 3; ++k) {
        const int p = S.TRIANGLE(k + 1, t);
        V[k][0] = S.POINT_X(p), V[k][1] = S.POINT_Y(p), V[k][2] = S.POINT_Z(p);
    }
    auto dot = [](const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    double ab[3], ac[3], ap[3], bp[3], cp[3];
    for (int i = 0; i < 3; ++i) {
        ab[i] = V[1][i] - V[0][i], ac[i] = V[2][i] - V[0][i];
        ap[i] = P[i] - V[0][i], bp[i] = P[i] - V[1][i], cp[i] = P[i] - V[2][i];
    }
    // The nearest point as A + v AB + w AC, from the Voronoi region of P.
    double v = 0, w = 0;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap), d3 = dot(ab, bp), d4 = dot(ac, bp), d5 = dot(ab, cp),
                 d6 = dot(ac, cp);
    const double vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
    if (d1 <= 0 && d2 <= 0) {
        v = w = 0;  // corner A
    } else if (d3 >= 0 && d4 <= d3) {
        v = 1, w = 0;  // corner B
    } else if (vc <= 0 && d1 >= 0 && d3 <= 0) {
        v = d1 / (d1 - d3), w = 0;  // edge AB
    } else if (d6 >= 0 && d5 <= d6) {
        v = 0, w = 1;  // corner C
    } else if (vb <= 0 && d2 >= 0 && d6 <= 0) {
        v = 0, w = d2 / (d2 - d6);  // edge AC
    } else if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) {
        w = (d4 - d3) / ((d4 - d3) + (d5 - d6)), v = 1 - w;  // edge BC
    } else {
        const double denom = 1.0 / (va + vb + vc);  // inside the face
        v = vb * denom, w = vc * denom;
    }
    squared = 0;
    for (int i = 0; i < 3; ++i) {
        const double d = ap[i] - v * ab[i] - w * ac[i];
        squared += d * d;
    }
    plane = double(TG(1, t)) * P[0] + double(TG(2, t)) * P[1] + double(TG(3, t)) * P[2] + TG(4, t);
}

// Whether point P lies inside a body: behind the surface triangle nearest to it. Of triangles equally
// near (P nearest to an edge or a corner that they share) the one whose plane lies farthest from P
// decides: outside a convex edge that plane has P on its flow side, inside a concave one behind it.
// The triangles of P's division are taken first, then those of ever larger blocks of divisions around
// it, until the nearest one found is nearer than every face of the block that lies inside the box (the
// triangles of a division are all those that reach into it).
//
// A point behind the plane of some triangle of its division may well lie in the flow: for a convex body
// every triangle on the far side of the body has its plane between the point and the body, so taking
// back every molecule behind any plane starved the parts of a body near a stream face.
bool inside_body(const float P[3])
{
    const auto& B = BOX;
    const auto& D = DIVISIONS;
    const double Q[3] = {P[0], P[1], P[2]};
    const int count[3] = {B.DIVISIONS_X, B.DIVISIONS_Y, B.DIVISIONS_Z};
    const double low[3] = {B.XMIN, B.YMIN, B.ZMIN};
    const double width[3] = {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
    int centre[3];
    for (int a = 0; a < 3; ++a)
        centre[a] = locate_detail::division_index(P[a], static_cast<float>(low[a]),
                                                  static_cast<float>(width[a] * count[a]), count[a]);
    double best = -1.0, best_plane = 0.0;
    const int most = std::max({count[0], count[1], count[2]});
    for (int r = 0; r <= most; ++r) {
        int lo[3], hi[3];
        double room = HUGE_VAL;  // distance from P to the nearest face of the block inside the box
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::max(1, centre[a] - r), hi[a] = std::min(count[a], centre[a] + r);
            if (lo[a] > 1)
                room = std::min(room, Q[a] - (low[a] + (lo[a] - 1) * width[a]));
            if (hi[a] < count[a])
                room = std::min(room, low[a] + hi[a] * width[a] - Q[a]);
        }
        for (int ix = lo[0]; ix <= hi[0]; ++ix)
            for (int iy = lo[1]; iy <= hi[1]; ++iy)
                for (int iz = lo[2]; iz <= hi[2]; ++iz) {
                    const int code = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
                    if (code >= 0)
                        continue;
                    const int first = D.SURFACE_INDEX(SURFACE_INDEX_START, -code);
                    for (int i = 1; i <= D.SURFACE_INDEX(SURFACE_INDEX_COUNT, -code); ++i) {
                        double squared, plane;
                        distance_to_triangle(D.TOTAL_SURFACE_INDEX(first + i), Q, squared, plane);
                        const double tie = 1e-9 * (squared + best);
                        if (best < 0.0 || squared < best - tie) {
                            best = squared, best_plane = plane;
                        } else if (squared <= best + tie && std::fabs(plane) > std::fabs(best_plane)) {
                            best = std::min(best, squared), best_plane = plane;
                        }
                    }
                }
        if (best >= 0.0 && best <= room * room)
            break;
    }
    return best >= 0.0 && best_plane < 0.0;
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
    const float q =
        sample_entry_speed_ratio(EF(EFACE_SPEED_RATIO, s, side, gas), EF(EFACE_CONST_A, s, side, gas),
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

    // Position: the face point, where the molecule crosses the face at its entry time.
    for (int i = 1; i <= 3; ++i)
        Mol.MOL_POS(i, n) = P[i - 1];

    // Cell; a molecule in no cell, or whose face point lies inside a body, is taken back.
    int cell;
    FIND_CELL(cell, Mol.MOL_POS(1, n), Mol.MOL_POS(2, n), Mol.MOL_POS(3, n));
    Mol.IP(IP_CELL, n) = cell;
    if (cell < 1 || (element_partly_in_body() && inside_body(P))) {
        Mol.NM -= 1;
        return;
    }

    // The molecule crosses the face at a random time of the step just ended and is moved at once for the
    // rest of the step, so that at TIME it lies where the stream has carried it, with its clock at TIME.
    // Placed on the face with its clock set back instead, it would stay behind its place in the stream
    // for its whole life: too many molecules in a stream box (0.7 % in the stream benchmark's box), most
    // of them next to the inflow faces.
    const float owed = static_cast<float>(random_uniform() * RUN.DTM);
    Mol.MOL_TIME(n) = RUN.TIME;
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        INSERT_INTO_CELL_LIST(cell, n);
    if (owed > 0.0f) {
        int N = n, NCI = cell, II = MOVE_PENDING;
        move_for_time(N, NCI, owed, II);
    }
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
