// ENTER_MOLECULES, second and third blocks: molecules entering from the flow-entry triangles of the
// surfaces, and molecules outgassed by solid triangles.
//
// Both place a molecule at a uniformly distributed point of the triangle, give it a velocity in the
// triangle's frame (unit normal n into the flow, t1 = (0, nz, -ny) / |(ny, nz)|, t2 = n x t1), and
// retry until the position, a random part of a small step along the velocity, lies in a cell.
// Flow-entry molecules carry the flux-weighted velocity of the gas behind the triangle (Bird 1994,
// section 12.1); outgassed ones are emitted diffusely at the wall temperature (Bird 1994, section 12.3),
// and are sampled as molecules reflected by the triangle.
#include "app/kernel/enter_molecules.h"

#include "app/geometry/locate.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/constants.h"
#include "app/kernel/molecule_store.h"
#include "app/kernel/samplers.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "base/random.h"
#include "base/units.h"

#include <cmath>

namespace {

// Placement draws before a molecule is given up (one further draw is then made and reported).
constexpr int PLACEMENT_DRAWS = 1000;

// A normal this close to the x axis has no (ny, nz) direction: t1 = y and t2 = z.
constexpr double AXIS_NORMAL = 1.0e-6;

// Adiabatic wall: the sampled degrees of freedom below which the wall has no temperature yet, and the
// bound on theta_v / T above which a vibrational mode adds no degrees of freedom.
constexpr double NO_SAMPLE_DOF = 0.1;
constexpr double FROZEN_MODE = 50.0;

struct Placement {
    float pos[3];  // position
    float vel[3];  // velocity (x, y, z)
    int cell;      // cell of the position, below 1 when none
};

// A uniformly distributed point of triangle t: a point q on the edge P1 P2, then P3 + (q - P3) sqrt(rf).
void point_in_triangle(int t, float P[3])
{
    const auto& S = SURFACE;
    const int p1 = S.TRIANGLE(1, t), p2 = S.TRIANGLE(2, t), p3 = S.TRIANGLE(3, t);
    const float X[3] = {S.POINT_X(p1), S.POINT_Y(p1), S.POINT_Z(p1)};
    const float Y[3] = {S.POINT_X(p2), S.POINT_Y(p2), S.POINT_Z(p2)};
    const float Z[3] = {S.POINT_X(p3), S.POINT_Y(p3), S.POINT_Z(p3)};
    const double a = random_uniform();
    float q[3];
    for (int i = 0; i < 3; ++i)
        q[i] = static_cast<float>(X[i] + (double(Y[i]) - X[i]) * a);
    const double b = std::sqrt(random_uniform());
    for (int i = 0; i < 3; ++i)
        P[i] = static_cast<float>(Z[i] + (double(q[i]) - Z[i]) * b);
}

// Velocity (vn along the normal, c1 along t1, c2 along t2) of triangle t in x, y, z.
void frame_to_xyz(int t, float vn, float c1, float c2, float v[3])
{
    const auto& TG = SURFACE.TRIANGLE_GEOMETRY;
    const double nx = TG(1, t), ny = TG(2, t), nz = TG(3, t);
    const double A = std::sqrt(ny * ny + nz * nz);
    if (A <= AXIS_NORMAL) {
        v[0] = static_cast<float>(vn * nx);
        v[1] = c1;
        v[2] = c2;
        return;
    }
    v[0] = static_cast<float>(vn * nx - A * c2);
    v[1] = static_cast<float>(vn * ny + (c1 * nz + nx * ny * c2) / A);
    v[2] = static_cast<float>(vn * nz + (nx * nz * c2 - c1 * ny) / A);
}

// Position a random part of 0.01 DTM along the velocity from P, and its cell.
void place(const float P[3], Placement& out)
{
    const double f = 0.01 * random_uniform() * RUN.DTM;
    for (int i = 0; i < 3; ++i)
        out.pos[i] = static_cast<float>(P[i] + double(out.vel[i]) * f);
    FIND_CELL(out.cell, out.pos[0], out.pos[1], out.pos[2]);
}

// A new molecule in slot NM + 1 (the store grown when full) at the placement.
int append_molecule(const Placement& pl)
{
    const int n = open_molecule_slot();
    auto& Mol = MOLECULES;
    RUN.ENTRY_COUNT += 1.0;
    for (int i = 1; i <= 3; ++i) {
        Mol.MOL_POS(i, n) = pl.pos[i - 1];
        Mol.PV(i, n) = pl.vel[i - 1];
    }
    return n;
}

void set_cell(int n, int cell)
{
    MOLECULES.IP(IP_CELL, n) = cell;
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        INSERT_INTO_CELL_LIST(cell, n);
}

// Draws a flow-entry molecule of species s at entry triangle e (triangle t) until it lies in a cell;
// false when the draws are exhausted (pl then holds the last draw).
bool draw_entry_placement(int e, int t, int s, Placement& pl)
{
    const auto& ESP = SURFACE.ENTRY_SPECIES_PROPERTIES;
    const auto& EP = SURFACE.ENTRY_PROPERTIES;
    const float vmp = ESP(4, s, e);
    for (int draw = 1; draw <= PLACEMENT_DRAWS + 1; ++draw) {
        float P[3];
        point_in_triangle(t, P);
        const float q = sample_entry_speed_ratio(ESP(5, s, e), ESP(6, s, e), ESP(7, s, e));
        const float vn = static_cast<float>(double(q) * vmp);
        float c1, c2;
        SAMPLE_MAXWELLIAN_PAIR(c1, c2, vmp);
        c1 = static_cast<float>(double(c1) + EP(2, e));
        c2 = static_cast<float>(double(c2) + EP(3, e));
        frame_to_xyz(t, vn, c1, c2, pl.vel);
        place(P, pl);
        if (draw <= PLACEMENT_DRAWS && pl.cell >= 1)
            return true;
    }
    return false;
}

// The temperature at which solid triangle k (triangle t) outgasses: its own when above 0; for an
// adiabatic wall the temperature of the energy it has sampled (2/k times energy over degrees of
// freedom), at least the wall's minimum temperature.
float outgas_temperature(int k, int t)
{
    const float wall = SURFACE.SOLID_PROPERTIES(1, k);
    if (wall > 0.0f)
        return wall;
    const auto& AS = SAMPLES.ADIABATIC_SAMPLE;
    float T = AS(1, t) > NO_SAMPLE_DOF ? static_cast<float>(AS(2, t) * TWO_OVER_BOLTZ / AS(1, t)) : 0.0f;
    if (T < -wall)
        T = -wall;
    return T;
}

struct Outgassed {
    float vn, c1, c2;  // velocity in the triangle's frame
};

bool draw_outgas_placement(int t, float T, double mass, Placement& pl, Outgassed& o)
{
    const float v = static_cast<float>(std::sqrt(double(BOLTZ2) * T / mass));
    for (int draw = 1; draw <= PLACEMENT_DRAWS + 1; ++draw) {
        float P[3];
        point_in_triangle(t, P);
        o.vn = static_cast<float>(v * std::sqrt(-std::log(random_uniform())));
        SAMPLE_MAXWELLIAN_PAIR(o.c1, o.c2, v);
        frame_to_xyz(t, o.vn, o.c1, o.c2, pl.vel);
        place(P, pl);
        if (draw <= PLACEMENT_DRAWS && pl.cell >= 1)
            return true;
    }
    return false;
}

// The degrees of freedom that the vibrational modes of species s add to the adiabatic sample of a wall
// at temperature T: 2 (theta_v / T) / (exp(theta_v / T) - 1) per mode not frozen.
double vibrational_dof(int s, float T)
{
    double dof = 0.0;
    if (GAS.MAX_VIB_MODES <= 0)
        return dof;
    for (int m = 1; m <= GAS.VIB_MODE_COUNT(s); ++m) {
        const double x = double(GAS.VIB_TEMP(m, s)) / T;
        if (x < FROZEN_MODE)
            dof += 2.0 * x / (std::exp(x) - 1.0);
    }
    return dof;
}

}  // namespace

// enter_at_entry_triangles: for every flow-entry triangle and species, the molecules due by the rate
// rule with the carried remainder; a molecule that finds no cell is reported and counted.
void enter_at_entry_triangles()
{
    auto& S = SURFACE;
    auto& Mol = MOLECULES;
    const float scale = BOX.SCALE_FACTOR;
    for (int e = 1; e <= S.ENTRY_TRIANGLE_COUNT; ++e) {
        const int t = S.ENTRY_TRIANGLE(e);
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s) {
            float& remainder = S.ENTRY_SPECIES_PROPERTIES(3, s, e);
            const double due = double(RUN.DTM) * S.ENTRY_SPECIES_PROPERTIES(2, s, e) + remainder;
            const int n = entry_count(due);
            remainder = static_cast<float>(due - n);
            for (int m = 1; m <= n; ++m) {
                Placement pl;
                if (!draw_entry_placement(e, t, s, pl)) {
                    write_list(UNIT_DIAG,
                               {" Stream entry element, no cell", static_cast<float>(pl.pos[0] / scale),
                                static_cast<float>(pl.pos[1] / scale), static_cast<float>(pl.pos[2] / scale),
                                pl.cell});
                    RUN.ROUNDOFF_COUNT += 1;
                    continue;
                }
                const int mol = append_molecule(pl);
                set_entry_internal_energy(mol, s, S.ENTRY_PROPERTIES(4, e));
                set_molecule_species(mol, s);
                const double dtc = CELLS.CELL_DATA(CELL_TIME_STEP, pl.cell);
                Mol.MOL_TIME(mol) = RUN.TIME + (2.0 * random_uniform() - 1.0) * dtc;
                Mol.MOL_TIME(mol) -= random_uniform() * RUN.DTM;
                set_cell(mol, pl.cell);
            }
        }
    }
}

// outgas_from_solid_triangles: for every solid triangle and species, the molecules due by the rate rule
// with the carried remainder, emitted diffusely at the wall's temperature and sampled as reflected
// molecules. An adiabatic wall's sample gains the vibrational degrees of freedom of each molecule it
// emits, once per molecule placed (a discarded draw emits nothing).
void outgas_from_solid_triangles()
{
    auto& S = SURFACE;
    auto& Mol = MOLECULES;
    auto& SURF = SAMPLES.SURF_SAMPLE;
    for (int k = 1; k <= S.SOLID_TRIANGLE_COUNT; ++k) {
        const int t = S.SOLID_TRIANGLE(1, k);
        for (int s = 1; s <= GAS.SPECIES_COUNT; ++s) {
            float& remainder = S.SOLID_SPECIES_PROPERTIES(3, s, k);
            const double due = double(RUN.DTM) * S.SOLID_SPECIES_PROPERTIES(2, s, k) + remainder;
            const int n = entry_count(due);
            remainder = static_cast<float>(due - n);
            const double mass = GAS.SPECIES_DATA(SPECIES_MASS, s);
            for (int m = 1; m <= n; ++m) {
                const float T = outgas_temperature(k, t);
                Placement pl;
                Outgassed o;
                if (!draw_outgas_placement(t, T, mass, pl, o)) {
                    RUN.ROUNDOFF_COUNT += 1;
                    continue;
                }
                if (S.SOLID_PROPERTIES(1, k) <= 0.0f)
                    SAMPLES.ADIABATIC_SAMPLE(1, t) += vibrational_dof(s, T);
                const int mol = append_molecule(pl);
                set_molecule_species(mol, s);
                set_entry_internal_energy(mol, s, T);
                Mol.MOL_TIME(mol) = RUN.TIME;
                set_cell(mol, pl.cell);

                // Sampled as a molecule reflected by the triangle.
                const double vn = o.vn, c1 = o.c1, c2 = o.c2;
                SURF(2, t, s) += mass * vn;
                SURF(3, t, s) -= mass * c1;
                SURF(4, t, s) -= mass * c2;
                double energy = 0.5 * mass * (vn * vn + c1 * c1 + c2 * c2);
                if (Mol.PV_ROWS == 4 && GAS.SPECIES_ROTATION(1, s) > 0)
                    energy += Mol.PV(PV_ROTATION, mol);
                if (GAS.MAX_VIB_MODES > 0)
                    for (int v = 1; v <= GAS.VIB_MODE_COUNT(s); ++v)
                        energy += double(Mol.MOL_VIB_LEVEL(v, mol)) * BOLTZ * GAS.VIB_TEMP(v, s);
                SURF(6, t, s) -= energy;
            }
        }
    }
}
