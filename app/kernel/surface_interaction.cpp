// The gas-surface interaction (INTERACT_WITH_SURFACE): what happens to a molecule that the path step
// has stopped just short of a surface triangle. A flow-entry triangle absorbs it; on a solid triangle
// the incident molecule is sampled and then, in this order, a surface reaction, sticking, specular
// reflection or diffuse reflection (full accommodation to the wall temperature, or adiabatic) settles
// it, and the reflected molecule (or each reaction product) is sampled.
//
// Reads the triangle tables of SURFACE, the species tables and surface-reaction tables of GAS. Writes
// the molecule's velocity and internal state, the surface samples (SURF_SAMPLE, SURF_FORCE_SAMPLE,
// ADIABATIC_SAMPLE), SURF_REACTION_COUNT, the waiting marks in SURF_REACTANTS, the counters, and adds
// or removes molecules.
//
// Triangle frame (n the unit normal into the flow, S = sqrt(ny^2 + nz^2)): t1 = (0, nz, -ny) / S,
// t2 = n x t1; for S <= 1e-6 (normal along x) t1 = (0, 1, 0), t2 = (0, 0, 1).
// Diffuse re-emission (Bird 1994, section 12.2): the normal speed has the flux-weighted density
// 2 (c/VMP^2) exp(-c^2/VMP^2), sampled as VMP sqrt(-ln r); the tangential components are Maxwellian.
#include "app/kernel/kernel_move.h"

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
#include <cstdlib>

namespace {

// Fields of SOLID_PROPERTIES.
constexpr int SOLID_TEMP = 1;      // wall temperature; 0 or below: adiabatic, minimum -value
constexpr int SOLID_SPECULAR = 2;  // fraction of specular reflection
constexpr int SOLID_WALL_VT1 = 3;  // wall velocity along t1 and t2
constexpr int SOLID_WALL_VT2 = 4;
constexpr int SOLID_STICKING = 1;  // SOLID_SPECIES_PROPERTIES field: fraction that sticks

// The frame of one triangle, with the conversions of a velocity into it and back.
struct Frame {
    double nx, ny, nz, S;
    bool degenerate;  // normal along x

    explicit Frame(int t)
    {
        const auto& G = SURFACE.TRIANGLE_GEOMETRY;
        nx = G(1, t);
        ny = G(2, t);
        nz = G(3, t);
        S = std::sqrt(ny * ny + nz * nz);
        degenerate = S <= 1e-6;
    }
    // Normal and tangential components (UN, VT1, VT2) of (u, v, w).
    void to_frame(double u, double v, double w, float& UN, float& VT1, float& VT2) const
    {
        UN = static_cast<float>(u * nx + v * ny + w * nz);
        if (degenerate) {
            VT1 = static_cast<float>(v);
            VT2 = static_cast<float>(w);
        } else {
            VT1 = static_cast<float>((nz * v - ny * w) / S);
            VT2 = static_cast<float>(nx * (ny * v + nz * w) / S - S * u);
        }
    }
    // (u, v, w) of the components (VN, VT1, VT2).
    void from_frame(double VN, double VT1, double VT2, float& u, float& v, float& w) const
    {
        if (degenerate) {
            u = static_cast<float>(VN * nx);
            v = static_cast<float>(VT1);
            w = static_cast<float>(VT2);
        } else {
            u = static_cast<float>(VN * nx - S * VT2);
            v = static_cast<float>(VN * ny + (VT1 * nz + nx * ny * VT2) / S);
            w = static_cast<float>(VN * nz + (nx * nz * VT2 - VT1 * ny) / S);
        }
    }
};

// What one triangle hit needs of the triangle and of the incident molecule.
struct Hit {
    int t;        // triangle
    int k;        // solid triangle number
    int surface;  // its surface
    Frame frame;
    float wall_vt1, wall_vt2;  // wall velocity along t1, t2
    float T1;                  // wall temperature (<= 0 adiabatic)
    float E;                   // incident energy relative to the wall, internal energy included
};

// Internal energy of molecule n of species s: rotational (PV row 4, present when any species rotates)
// and vibrational.
double internal_energy(int n, int s)
{
    const auto& G = GAS;
    double e = 0.0;
    if (G.SPECIES_ROTATION(1, s) > 0 && MOLECULES.PV_ROWS == 4)
        e += MOLECULES.PV(PV_ROTATION, n);
    if (G.MAX_VIB_MODES > 0)
        for (int j = 1; j <= G.VIB_MODE_COUNT(s); ++j)
            e += MOLECULES.MOL_VIB_LEVEL(j, n) * double(BOLTZ) * G.VIB_TEMP(j, s);
    return e;
}

// Force and moment sums of a surface: sign +1 for an incident molecule, -1 for a reflected one.
void sample_force(int surface, double sign, double m, double u, double v, double w, double x, double y,
                  double z)
{
    auto& F = SAMPLES.SURF_FORCE_SAMPLE;
    const double scale = BOX.SCALE_FACTOR;
    F(1, surface) += sign * m * u;
    F(2, surface) += sign * m * v;
    F(3, surface) += sign * m * w;
    F(4, surface) += sign * m * (u * y - v * x) / scale;
    F(5, surface) += sign * m * (w * x - u * z) / scale;
    F(6, surface) += sign * m * (v * z - w * y) / scale;
}

// Samples of a molecule of species s leaving triangle hit.t with frame components (VN, VT1, VT2),
// velocity (u, v, w) at (x, y, z) and internal energy e_int.
void sample_reflected(const Hit& hit, int s, float VN, float VT1, float VT2, float u, float v, float w,
                      const float pos[3], double e_int)
{
    const double m = GAS.SPECIES_DATA(SPECIES_MASS, s);
    sample_force(hit.surface, -1.0, m, u, v, w, pos[0], pos[1], pos[2]);
    auto& SS = SAMPLES.SURF_SAMPLE;
    const double r1 = double(VT1) - hit.wall_vt1;
    const double r2 = double(VT2) - hit.wall_vt2;
    SS(2, hit.t, s) += m * VN;
    SS(3, hit.t, s) -= m * r1;
    SS(4, hit.t, s) -= m * r2;
    SS(6, hit.t, s) -= 0.5 * m * (double(VN) * VN + r1 * r1 + r2 * r2) + e_int;
}

// Temperature of the diffuse re-emission from an adiabatic triangle: the incident energy E and the
// translational (4) and rotational degrees of freedom of species s are added to ADIABATIC_SAMPLE, the
// temperature is the accumulated energy per degree of freedom (at least the minimum -T1), and then the
// vibrational degrees of freedom at that temperature, 2x / (e^x - 1) per mode with x = theta_v / T < 50,
// are added.
float adiabatic_temperature(const Hit& hit, int s, double E)
{
    auto& A = SAMPLES.ADIABATIC_SAMPLE;
    const auto& G = GAS;
    A(1, hit.t) += 4 + G.SPECIES_ROTATION(1, s);
    A(2, hit.t) += E;
    float T = static_cast<float>(A(2, hit.t) * double(TWO_OVER_BOLTZ) / A(1, hit.t));
    if (T < -hit.T1)
        T = -hit.T1;
    if (G.MAX_VIB_MODES > 0)
        for (int j = 1; j <= G.VIB_MODE_COUNT(s); ++j) {
            const float x = static_cast<float>(double(G.VIB_TEMP(j, s)) / T);
            if (x < 50.0f)
                A(1, hit.t) += 2.0 * x / (std::exp(double(x)) - 1.0);
        }
    return T;
}

// Rotational energy (into PV row 4) and vibrational levels of molecule n of species s, sampled at T,
// rotation first. Returns the internal energy given.
double sample_internal_state(int n, int s, float T)
{
    auto& M = MOLECULES;
    const auto& G = GAS;
    double e = 0.0;
    if (M.PV_ROWS == 4 && G.SPECIES_ROTATION(1, s) > 0) {
        SAMPLE_ROTATIONAL_ENERGY(s, T, M.PV(PV_ROTATION, n));
        e += M.PV(PV_ROTATION, n);
    }
    if (G.MAX_VIB_MODES > 0)
        for (int j = 1; j <= G.VIB_MODE_COUNT(s); ++j) {
            SAMPLE_VIB_LEVEL(s, T, M.MOL_VIB_LEVEL(j, n), j);
            e += M.MOL_VIB_LEVEL(j, n) * double(BOLTZ) * G.VIB_TEMP(j, s);
        }
    return e;
}

// Diffuse components at temperature T for species s: VN from the flux-weighted normal distribution,
// the tangential pair Maxwellian, plus the wall velocity.
void diffuse_components(const Hit& hit, int s, float T, float& VN, float& VT1, float& VT2)
{
    const float VMP = static_cast<float>(std::sqrt(double(BOLTZ2) * T / GAS.SPECIES_DATA(SPECIES_MASS, s)));
    VN = static_cast<float>(VMP * std::sqrt(-std::log(random_uniform())));
    SAMPLE_MAXWELLIAN_PAIR(VT1, VT2, VMP);
    VT1 = static_cast<float>(double(VT1) + hit.wall_vt1);
    VT2 = static_cast<float>(double(VT2) + hit.wall_vt2);
}

// The surface reaction step. Returns the reaction chosen (0 none) and whether a waiting partner was met.
int choose_surface_reaction(int s, int k, bool& found)
{
    auto& G = GAS;
    auto& R = G.SURF_REACTANTS;
    const int NR = G.SURF_REACTION_SPECIES_COUNT(s);
    const float threshold = static_cast<float>(random_uniform());
    const int start = static_cast<int>(NR * random_uniform());
    float P = 0.0f;
    int RSEL = 0;
    found = false;
    // Each reaction of the species once, cyclically from the position after `start`. Every waiting
    // partner met is released; the last one met gives the reaction.
    for (int i = 1; i <= NR; ++i) {
        const int pos = (start + i - 1) % NR + 1;
        const int r = G.SURF_REACTION_SPECIES_LIST(pos, s);
        const int a1 = R(1, r), a2 = R(2, r);
        if (a2 != 0) {
            if (std::abs(a2) == s && a1 < 0) {
                R(1, r) = -a1;
                found = true;
                RSEL = r;
            }
            if (a2 < 0 && std::abs(a1) == s) {
                R(2, r) = -a2;
                found = true;
                RSEL = r;
            }
        }
        P = static_cast<float>(double(P) + SURFACE.SOLID_REACTION_PROBABILITY(r, k));
        if (RSEL == 0 && P > threshold)
            RSEL = r;
    }
    return RSEL;
}

// A product of species sp that lies in no cell: dropped, and replaced by a copy of a random molecule of
// the incident molecule's cell NCI to keep the number of molecules. The candidate is taken from the
// cell's list and copied only when it is a molecule in use that the list still places in NCI (under
// normal indexing the list is that of the last indexing, and an empty cell's list position is the next
// cell's); otherwise the product is dropped without a copy.
void substitute_product(int N, int NCI)
{
    auto& M = MOLECULES;
    const auto& ICELL = CELLS.ICELL;
    write_list(UNIT_DIAG, {N, " REMOVED DURING REFL, CHANGE ",
                           static_cast<float>(double(M.MOL_POS(1, N)) / BOX.SCALE_FACTOR),
                           static_cast<float>(double(M.MOL_POS(2, N)) / BOX.SCALE_FACTOR)});
    ++RUN.ROUNDOFF_COUNT;
    const double rf = random_uniform();
    const int p = ICELL(ICELL_START, NCI) + static_cast<int>((ICELL(ICELL_COUNT, NCI) - 0.0001) * rf) + 1;
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    const int places = continuous ? RUN.XREF_SIZE : RUN.MNM;
    if (p < 1 || p > places)
        return;
    const int candidate = continuous ? M.XREF(p) : M.IP(IP_PLACE, p);
    if (candidate >= 1 && candidate <= M.NM && M.IP(IP_CELL, candidate) == NCI)
        ADD_MOLECULE(candidate, NCI);
}

// The products of surface reaction RSEL, released at the hit point (X, Y, Z) with clock THIT.
void release_products(const Hit& hit, int RSEL, int N, int NCI, const float pos[3], float THIT)
{
    auto& G = GAS;
    const float reaction_energy = G.SURF_REACTION_ENERGY(RSEL);
    for (int p = 1; p <= 6; ++p) {
        const int sp = G.SURF_REACTION_PRODUCTS(p, RSEL);
        if (sp <= 0)
            continue;
        // A new molecule at the hit point, in a cleared slot, so that the samplers below never leave
        // a removed molecule's internal state behind (the store may move: no reference is held across).
        const int n = open_molecule_slot();
        auto& M = MOLECULES;
        set_molecule_species(n, sp);
        for (int i = 1; i <= 3; ++i)
            M.MOL_POS(i, n) = pos[i - 1];
        M.MOL_TIME(n) = THIT;

        // Temperature of the re-emission.
        const float T =
            hit.T1 <= 0.0f ? adiabatic_temperature(hit, sp, double(hit.E) + reaction_energy) : hit.T1;
        // Velocity and internal state.
        float VN, VT1, VT2;
        diffuse_components(hit, sp, T, VN, VT1, VT2);
        const double e_int = sample_internal_state(n, sp, T);
        float u, v, w;
        hit.frame.from_frame(VN, VT1, VT2, u, v, w);
        M.PV(1, n) = u;
        M.PV(2, n) = v;
        M.PV(3, n) = w;

        // Its cell.
        int CN = 0;
        FIND_CELL(CN, pos[0], pos[1], pos[2]);
        if (CN < 1) {
            --M.NM;
            substitute_product(N, NCI);
        } else {
            M.IP(IP_CELL, n) = CN;
            if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
                INSERT_INTO_CELL_LIST(CN, n);
        }
        // The product as it was released.
        sample_reflected(hit, sp, VN, VT1, VT2, u, v, w, pos, e_int);
    }
}

}  // namespace

void INTERACT_WITH_SURFACE(int& N, int ITRI, int NCI, int& II, float X, float Y, float Z, float THIT)
{
    auto& RN = RUN;
    const auto& G = GAS;
    const auto& SF = SURFACE;
    const int kind = SF.TRIANGLE(TRIANGLE_KIND, ITRI);

    // A flow-entry triangle absorbs the molecule; the path step's hit count is taken back.
    if (kind < 0) {
        REMOVE_MOLECULE(N, NCI);
        II = MOVE_REMOVED;
        RN.REMOVAL_COUNT += 1.0;
        RN.SURFACE_HIT_COUNT -= 1.0;
        return;
    }

    // The solid triangle and the molecule in its frame.
    auto& M = MOLECULES;
    const int s = G.SPECIES_COUNT < 2 ? 1 : M.IP(M.IP_ROWS, N);
    Hit hit{ITRI,
            kind,
            SF.TRIANGLE_SURFACE(ITRI),
            Frame(ITRI),
            SF.SOLID_PROPERTIES(SOLID_WALL_VT1, kind),
            SF.SOLID_PROPERTIES(SOLID_WALL_VT2, kind),
            SF.SOLID_PROPERTIES(SOLID_TEMP, kind),
            0.0f};
    const double m = G.SPECIES_DATA(SPECIES_MASS, s);
    float UN, VT1, VT2;
    hit.frame.to_frame(M.PV(1, N), M.PV(2, N), M.PV(3, N), UN, VT1, VT2);

    // Incident samples.
    sample_force(hit.surface, 1.0, m, M.PV(1, N), M.PV(2, N), M.PV(3, N), M.MOL_POS(1, N), M.MOL_POS(2, N),
                 M.MOL_POS(3, N));
    auto& SS = SAMPLES.SURF_SAMPLE;
    SS(1, ITRI, s) += 1.0;
    SS(2, ITRI, s) -= m * UN;
    SS(3, ITRI, s) += m * VT1;
    SS(4, ITRI, s) += m * VT2;
    const double r1 = double(VT1) - hit.wall_vt1;
    const double r2 = double(VT2) - hit.wall_vt2;
    hit.E = static_cast<float>(0.5 * m * (double(UN) * UN + r1 * r1 + r2 * r2) + internal_energy(N, s));
    SS(5, ITRI, s) += hit.E;

    // Surface reaction.
    if (G.SURFACE_REACTIONS > 0 && G.SURF_REACTION_SPECIES_COUNT(s) > 0) {
        bool found = false;
        const int RSEL = choose_surface_reaction(s, hit.k, found);
        if (RSEL != 0) {
            auto& R = GAS.SURF_REACTANTS;
            if (!found && std::abs(R(2, RSEL)) >= 1) {
                // The first of two molecules is held on the surface until its partner arrives.
                for (int i = 1; i <= 2; ++i)
                    if (R(i, RSEL) == s)
                        R(i, RSEL) = -s;
                REMOVE_MOLECULE(N, NCI);
                II = MOVE_REMOVED;
                return;
            }
            GAS.SURF_REACTION_COUNT(RSEL) += 1.0;
            SS(5, ITRI, s) += G.SURF_REACTION_ENERGY(RSEL);
            const float pos[3] = {X, Y, Z};
            release_products(hit, RSEL, N, NCI, pos, THIT);
            REMOVE_MOLECULE(N, NCI);
            II = MOVE_REMOVED;
            return;
        }
    }

    // Sticking: the incident samples stay.
    if (random_uniform() <= SF.SOLID_SPECIES_PROPERTIES(SOLID_STICKING, s, hit.k)) {
        REMOVE_MOLECULE(N, NCI);
        II = MOVE_REMOVED;
        RN.REMOVAL_COUNT += 1.0;
        return;
    }

    // Reflection.
    float VN;
    double e_int;
    if (random_uniform() <= SF.SOLID_PROPERTIES(SOLID_SPECULAR, hit.k)) {
        VN = -UN;
        e_int = internal_energy(N, s);
    } else {
        const float T = hit.T1 <= 0.0f ? adiabatic_temperature(hit, s, hit.E) : hit.T1;
        diffuse_components(hit, s, T, VN, VT1, VT2);
        e_int = sample_internal_state(N, s, T);
    }
    float u, v, w;
    hit.frame.from_frame(VN, VT1, VT2, u, v, w);
    M.PV(1, N) = u;
    M.PV(2, N) = v;
    M.PV(3, N) = w;

    // Reflected samples.
    const float pos[3] = {M.MOL_POS(1, N), M.MOL_POS(2, N), M.MOL_POS(3, N)};
    sample_reflected(hit, s, VN, VT1, VT2, u, v, w, pos, e_int);
}
