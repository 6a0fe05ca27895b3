// Gas-phase chemistry: the total collision energy (TCE) model of Bird 1994, section 6.6, with the
// recombination probability of section 6.7 (third body found in the cell).
//
// REACTION_RATE_FACTORS turns the Arrhenius constants of every reaction, k(T) = A T^eta exp(-Ea / kT),
// into the steric-factor constant (REACTION_CONSTANTS field 6) that makes the collision-based
// probability reproduce that rate in equilibrium (Bird 1994, eq. 6.10). CHEMICAL_REACTION offers one
// accepted collision to every reaction of its species pair.
#include "app/kernel/chemical_reaction.h"

#include "app/kernel/cell_index.h"
#include "app/kernel/constants.h"
#include "app/kernel/molecule_store.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/array.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/random.h"
#include "base/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Fields of REACTION_CONSTANTS.
constexpr int RC_INTERNAL_DOF = 1;  // zeta, contributing internal degrees of freedom
constexpr int RC_ACTIVATION = 2;    // Ea, activation energy
constexpr int RC_PRE_EXP = 3;       // pre-exponential parameter times 1.E10
constexpr int RC_TEMP_POWER = 4;    // eta, temperature exponent
constexpr int RC_HEAT = 5;          // energy of the reaction, added to the collision energy
constexpr int RC_STERIC = 6;        // steric-factor constant

// Work arrays of one call, kept between calls so that a collision allocates nothing: the probability
// of each reaction of the pair and the third body chosen for it.
Array<float, 1> STERIC;
Array<int, 1> THIRD_BODY;

void ensure_work_arrays(int n)
{
    if (STERIC.extent(1) >= n && THIRD_BODY.extent(1) >= n)
        return;
    if (!STERIC.allocate(n) || !THIRD_BODY.allocate(n)) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE STERIC FACTORS"});
        fatal_stop("CHEMICAL_REACTION: cannot allocate the work arrays of " + std::to_string(n) +
                   " reactions");
    }
}

// Molecules produced by the reaction's two reactants: 2 exchange, 3 dissociation, 1 recombination.
int reaction_kind(int R)
{
    return GAS.REACTION_PRODUCT_COUNT(1, R) + GAS.REACTION_PRODUCT_COUNT(2, R);
}

// Molecule at list place p of the cell lists of the present indexing mode.
int listed_molecule(int p)
{
    return RUN.INDEX_MODE == INDEX_CONTINUOUS ? MOLECULES.XREF(p) : MOLECULES.IP(IP_PLACE, p);
}

// A molecule that may serve as third body: neither collision partner, and not absorbed by an earlier
// recombination of this collision step (its cell stands negated).
bool third_body_candidate(int T, int L, int M)
{
    return T != L && T != M && MOLECULES.IP(IP_CELL, T) > 0;
}

struct ThirdBody {
    int molecule = 0;     // the third body, 0 when none
    float factor = 0.0f;  // steric constant times the third-body efficiency
    int count = 0;        // n_3, the molecules that count as third bodies
};

// The third body of recombination R for the pair L, M in `cell`. A third-body table (code -t) draws
// listed molecules at random, one random number per draw, until one is a candidate; a species code s
// takes the last candidate of species s in the list.
// A marked molecule is never taken: it is leaving the flow, and a second recombination would negate
// its mark back. Without any candidate the table draw would never end, so it gives factor 0.
ThirdBody find_third_body(int R, int cell, int L, int M)
{
    const auto& ICELL = CELLS.ICELL;
    const int code = GAS.REACTION_PRODUCTS(2, R, 1);
    const int start = ICELL(ICELL_START, cell);
    const int n = ICELL(ICELL_COUNT, cell);
    ThirdBody tb;
    if (code < 0) {
        if (n < 3)
            return tb;
        bool any = false;
        for (int p = start + 1; p <= start + n && !any; ++p)
            any = third_body_candidate(listed_molecule(p), L, M);
        if (!any)
            return tb;
        const float span = static_cast<float>(n - 0.0001);
        int T;
        do {
            T = listed_molecule(start + static_cast<int>(double(span) * random_uniform()) + 1);
        } while (!third_body_candidate(T, L, M));
        tb.molecule = T;
        tb.factor = static_cast<float>(double(GAS.REACTION_CONSTANTS(RC_STERIC, R)) *
                                       GAS.THIRD_BODY_TABLE(-code, molecule_species(T)));
        tb.count = n;
        return tb;
    }
    for (int p = start + 1; p <= start + n; ++p) {
        const int T = listed_molecule(p);
        if (molecule_species(T) != code)
            continue;
        ++tb.count;
        if (third_body_candidate(T, L, M))
            tb.molecule = T;
    }
    if (tb.molecule != 0)
        tb.factor = GAS.REACTION_CONSTANTS(RC_STERIC, R);
    return tb;
}

// Clears the internal energy of molecule n: rotational energy and every vibrational level.
void clear_internal_energy(int n)
{
    auto& Mol = MOLECULES;
    if (Mol.PV_ROWS == 4)
        Mol.PV(PV_ROTATION, n) = 0.0f;
    for (int k = 1; k <= GAS.MAX_VIB_MODES; ++k)
        Mol.MOL_VIB_LEVEL(k, n) = 0;
}

// Vibrational energy of molecule n of species s: sum of level x k x theta_v over its modes.
double vibrational_energy(int n, int s)
{
    if (GAS.MAX_VIB_MODES <= 0)
        return 0.0;
    double e = 0.0;
    for (int k = 1; k <= GAS.VIB_MODE_COUNT(s); ++k)
        e += double(MOLECULES.MOL_VIB_LEVEL(k, n)) * BOLTZ * GAS.VIB_TEMP(k, s);
    return e;
}

// Appends the extra molecule of a dissociation: at L's position and time, in `cell`, of species X,
// with the centre-of-mass velocity and no internal energy; listed with continuous indexing.
void add_dissociation_product(int L, int cell, int X, const float VCM[3])
{
    const int n = open_molecule_slot();  // every field of the molecule zero: no internal energy
    auto& Mol = MOLECULES;
    for (int i = 1; i <= 3; ++i) {
        Mol.MOL_POS(i, n) = Mol.MOL_POS(i, L);
        Mol.PV(i, n) = VCM[i - 1];
    }
    Mol.MOL_TIME(n) = Mol.MOL_TIME(L);
    Mol.IP(IP_CELL, n) = cell;
    set_molecule_species(n, X);
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        INSERT_INTO_CELL_LIST(cell, n);
}

}  // namespace

// GAMMA_FUNCTION: Gamma(X) from the polynomial of Abramowitz and Stegun 6.1.35 for Gamma(1 + y),
// 0 <= y < 1, with Gamma(X) = Gamma(1 + X) / X below 1 and the recurrence above 2.
float GAMMA_FUNCTION(float X)
{
    double A = 1.0;
    double y;
    if (X < 1.0f) {
        A = 1.0 / X;
        y = X;
    } else {
        y = double(X) - 1.0;
        while (y >= 1.0) {
            A *= y;
            y -= 1.0;
        }
    }
    const double poly =
        1.0 +
        y * (-0.5748646f + y * (0.9512363f + y * (-0.6998588f + y * (0.4245549f + y * double(-0.1010678f)))));
    return static_cast<float>(A * poly);
}

// REACTION_RATE_FACTORS: makes the reaction lists symmetric in the species pair, then sets the
// steric-factor constant of every reaction R (reactants i, j; pair constants m_r, sigma, omega, T_ref):
//   Q = f sqrt(pi) A T_ref^eta / (2 sigma) 1e-10 sqrt(m_r / (2k T_ref)),  f = 2 for like reactants;
//   exchange, dissociation: Q Gamma(zeta + 2.5 - omega) / (Gamma(zeta + eta + 1.5) (k T_ref)^(eta - 1 +
//   omega)); recombination:          Q Gamma(2.5 - omega) / Gamma(eta + 1.5);
// the gamma arguments zeta + eta + 1.5 and eta + 1.5 held at 1e-6 or above.
void REACTION_RATE_FACTORS()
{
    auto& G = GAS;
    const int species = G.SPECIES_COUNT;
    for (int j = 1; j <= G.GAS_REACTION_DIM; ++j)
        for (int a = 1; a <= species; ++a)
            for (int b = 1; b <= species; ++b)
                if (G.REACTION_PAIR_LIST(j, a, b) == 0)
                    G.REACTION_PAIR_LIST(j, a, b) = G.REACTION_PAIR_LIST(j, b, a);

    for (int R = 1; R <= G.GAS_REACTIONS; ++R) {
        const int i = G.REACTION_REACTANTS(1, R);
        const int j = G.REACTION_REACTANTS(2, R);
        const double mr = G.SPECIES_PAIR_DATA(PAIR_REDUCED_MASS, i, j);
        const double sigma = G.SPECIES_PAIR_DATA(PAIR_CROSS_SECTION, i, j);
        const float omega = G.SPECIES_PAIR_DATA(PAIR_VISC_POWER, i, j);
        const double tref = G.SPECIES_PAIR_DATA(PAIR_REF_TEMP, i, j);
        const float zeta = G.REACTION_CONSTANTS(RC_INTERNAL_DOF, R);
        const float eta = G.REACTION_CONSTANTS(RC_TEMP_POWER, R);
        const double A = G.REACTION_CONSTANTS(RC_PRE_EXP, R);
        const double f = i == j ? 2.0 : 1.0;
        const double Q = f * double(SQRT_PI) * A * std::pow(tref, double(eta)) / (2.0 * sigma) * 1.0e-10 *
                         std::sqrt(mr / (double(BOLTZ2) * tref));
        double steric;
        if (reaction_kind(R) > 1) {
            const float Z = std::max(static_cast<float>(double(zeta) + eta + 1.5), 1.0e-6f);
            steric = Q * GAMMA_FUNCTION(static_cast<float>(double(zeta) + 2.5 - omega)) /
                     (GAMMA_FUNCTION(Z) * std::pow(double(BOLTZ) * tref, double(eta) - 1.0 + omega));
        } else {
            const float Z = std::max(static_cast<float>(double(eta) + 1.5), 1.0e-6f);
            steric = Q * GAMMA_FUNCTION(static_cast<float>(2.5 - omega)) / GAMMA_FUNCTION(Z);
        }
        G.REACTION_CONSTANTS(RC_STERIC, R) = static_cast<float>(steric);
    }
}

// CHEMICAL_REACTION: see the header. Steps:
//  1. collision energies: translational 0.5 m_r c_r^2, rotational and vibrational of both molecules;
//  2. the probability P_j of every reaction of the pair (one random number per recombination
//     considered, one per third-body draw);
//  3. one random number decides whether any reaction happens (sum S of P_j, certain above 1), a second
//     which (the first whose running sum of P_j / S reaches it);
//  4. the products: new species; a recombination absorbs M into L (centre-of-mass velocity) and goes
//     on with the third body; a dissociation appends the extra molecule;
//  5. the pair leaves with no internal energy and the total energy (plus the reaction's energy) as
//     relative translational energy.
void CHEMICAL_REACTION(int& reacted, int cell, int L, int& M, int& LS, int& MS, float& CRSQ, float& CR,
                       const float VCM[3], float& mass_ratio_m, float& mass_ratio_l)
{
    auto& G = GAS;
    auto& Mol = MOLECULES;
    auto& SPD = G.SPECIES_PAIR_DATA;
    const auto& RC = G.REACTION_CONSTANTS;

    ensure_work_arrays(std::max(G.GAS_REACTIONS, 1));
    reacted = 0;

    // Collision energies.
    const float mr = SPD(PAIR_REDUCED_MASS, LS, MS);
    const float Et = static_cast<float>(0.5 * mr * CRSQ);
    double er = 0.0;
    if (Mol.PV_ROWS == 4) {
        if (G.SPECIES_ROTATION(1, LS) > 0)
            er += Mol.PV(PV_ROTATION, L);
        if (G.SPECIES_ROTATION(1, MS) > 0)
            er += Mol.PV(PV_ROTATION, M);
    }
    const float Er = static_cast<float>(er);
    const float Ev = static_cast<float>(vibrational_energy(L, LS) + vibrational_energy(M, MS));
    const float E = static_cast<float>(double(Et) + Er + Ev);
    const int dof = G.SPECIES_ROTATION(1, LS) + G.SPECIES_ROTATION(1, MS);
    const float omega = SPD(PAIR_VISC_POWER, LS, MS);
    const float tref = SPD(PAIR_REF_TEMP, LS, MS);

    // Probability of each reaction of the pair.
    const int n = G.REACTION_PAIR_COUNT(LS, MS);
    double S = 0.0;
    for (int j = 1; j <= n; ++j) {
        const int R = G.REACTION_PAIR_LIST(j, LS, MS);
        STERIC(j) = 0.0f;
        THIRD_BODY(j) = 0;
        const float zeta = RC(RC_INTERNAL_DOF, R);
        const float eta = RC(RC_TEMP_POWER, R);
        const float Ea = RC(RC_ACTIVATION, R);
        const float Ec = dof < 1 ? Et : static_cast<float>(Et + 2.0 * zeta * Er / dof);
        if (Ec < Ea)
            continue;
        double P;
        if (reaction_kind(R) > 1) {
            P = std::pow(double(Ec) - Ea, double(eta) + zeta + 0.5) * RC(RC_STERIC, R) /
                std::pow(double(Ec), double(zeta) + 1.5 - omega);
        } else {
            if (random_uniform() >= 0.01)
                continue;
            const ThirdBody tb = find_third_body(R, cell, L, M);
            THIRD_BODY(j) = tb.molecule;
            // The real third-body density: the cell volume is in scaled length cubed, and the
            // steric constant holds a real cross-section, so the volume is unscaled by SF^3 (with
            // SF^2 a scaled case recombined SF times too slowly).
            const double sf = BOX.SCALE_FACTOR;
            P = tb.count * double(RUN.FNUM) * sf * sf * sf / CELLS.CELL_DATA(CELL_VOLUME, cell) * 100.0 *
                tb.factor * std::pow(double(Ec) / (double(BOLTZ) * tref), double(eta) - 1.0 + omega);
        }
        STERIC(j) = static_cast<float>(P);
        S += STERIC(j);
    }

    // Whether and which.
    if (!(random_uniform() < S))
        return;
    const double r = random_uniform();
    int chosen = 0;
    double running = 0.0;
    for (int j = 1; j <= n && chosen == 0; ++j) {
        if (STERIC(j) <= 0.0f)
            continue;
        running += STERIC(j) / S;
        if (running >= r)
            chosen = j;
    }
    if (chosen == 0) {
        // Round-off left the running sum just below r: the last reaction with a probability.
        for (int j = n; j >= 1 && chosen == 0; --j)
            chosen = STERIC(j) > 0.0f ? j : 0;
    }
    const int R = G.REACTION_PAIR_LIST(chosen, LS, MS);
    G.REACTION_COUNT(R) += 1.0;
    reacted = 1;
    float Ep = static_cast<float>(double(E) + RC(RC_HEAT, R));

    // Products.
    const bool swapped = LS != G.REACTION_REACTANTS(1, R);
    const int new_l = G.REACTION_PRODUCTS(swapped ? 2 : 1, R, 1);
    const int new_m = G.REACTION_PRODUCTS(swapped ? 1 : 2, R, 1);
    const int kind = reaction_kind(R);
    if (kind == 1) {
        // Recombination: L becomes the combined molecule, M is absorbed (its cell negated, the mark the
        // collision step resolves) and the collision goes on between L and the third body. In swapped
        // order new_l is the third-body code: L takes M's product species and M's position.
        const int combined = swapped ? new_m : new_l;
        if (swapped)
            for (int i = 1; i <= 3; ++i)
                Mol.MOL_POS(i, L) = Mol.MOL_POS(i, M);
        LS = combined;
        set_molecule_species(L, combined);
        Mol.IP(IP_CELL, M) = -std::abs(Mol.IP(IP_CELL, M));
        for (int i = 1; i <= 3; ++i)
            Mol.PV(i, L) = VCM[i - 1];
        M = THIRD_BODY(chosen);
        MS = molecule_species(M);
        double g2 = 0.0;
        for (int i = 1; i <= 3; ++i) {
            const double d = double(Mol.PV(i, M)) - Mol.PV(i, L);
            g2 += d * d;
        }
        Ep = static_cast<float>(Ep + 0.5 * SPD(PAIR_REDUCED_MASS, LS, MS) * g2);
    } else {
        LS = new_l;
        MS = new_m;
        set_molecule_species(L, LS);
        set_molecule_species(M, MS);
        if (kind == 3) {
            const int extra = G.REACTION_PRODUCTS(1, R, 2) != 0 ? G.REACTION_PRODUCTS(1, R, 2)
                                                                : G.REACTION_PRODUCTS(2, R, 2);
            add_dissociation_product(L, cell, extra, VCM);
        }
    }

    // The new pair: no internal energy, the total energy as relative translational energy. A
    // reaction energy below minus the collision energy (inconsistent data) leaves no energy rather than
    // a negative c_r^2.
    clear_internal_energy(L);
    clear_internal_energy(M);
    const float mr_new = SPD(PAIR_REDUCED_MASS, LS, MS);
    CRSQ = static_cast<float>(2.0 * std::max(Ep, 0.0f) / mr_new);
    CR = static_cast<float>(std::sqrt(double(CRSQ)));
    mass_ratio_m = static_cast<float>(double(mr_new) / G.SPECIES_DATA(SPECIES_MASS, MS));
    mass_ratio_l = static_cast<float>(double(mr_new) / G.SPECIES_DATA(SPECIES_MASS, LS));
}
