// The mechanics of an accepted collision: gas-phase chemistry (mixtures with reactions), the
// Larsen-Borgnakke redistribution of energy between the relative translational motion and each
// molecule's vibrational modes and rotation, and isotropic scattering of the relative velocity about the
// centre-of-mass velocity (variable hard sphere model, Bird 1994, sections 2.4, 5.6 and 11.3).
//
// Vibration is quantised (harmonic oscillator, level i has energy i k theta_v): a mode that relaxes
// takes a level i' <= ECC / (k theta_v) with probability proportional to (1 - i' k theta_v / ECC)^(3/2 -
// omega), ECC its own energy plus the relative translational energy. The vibrational collision number
// is Z_v = C1 / T^omega exp(C2 T^(-1/3)) (Bird 1994, eq. 6.53) or C1 itself when C2 <= 0.
// Rotation relaxes with the pair's probability 2 / (Z_r,p + Z_r,q), taking the energy ratio from
// SAMPLE_ENERGY_RATIO (closed form for two degrees of freedom).
#include "app/kernel/collide_molecules.h"

#include "app/kernel/chemical_reaction.h"
#include "app/kernel/constants.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "base/random.h"

#include <cmath>

int REACTION_FLAG = 0;

namespace {

// Level of a mode beyond which no level is stored (MOL_VIB_LEVEL is one signed byte).
constexpr int MAX_LEVEL = 127;

// Exponent of the temperature in the vibrational collision number, and the bound on C2 T^(-1/3) at and
// above which the collision number is taken as 1e7 (practically no exchange).
constexpr double THIRD = double(-0.3333333f);
constexpr float EXPONENT_LIMIT = 50.0f;
constexpr float NO_EXCHANGE_NUMBER = 1.0e7f;

// Vibrational collision number of mode k of species s (exponent omega) at level i with the energy ECC
// of the mode and the pair; `cell_temperature` > 0 stands in for the collision temperature.
float vib_collision_number(int k, int s, int i, float ECC, float omega, float cell_temperature)
{
    const float C1 = GAS.VIB_RELAX(1, k, s);
    const float C2 = GAS.VIB_RELAX(2, k, s);
    if (C2 <= 0.0f)
        return C1;
    float T = cell_temperature;
    if (!(T > 0.0f)) {
        // Collision temperature: ECC over (5/2 - omega + dv / 2) k, with dv = 2 i ln(1 + 1/i) the
        // degrees of freedom of level i.
        const float dv = i == 0 ? 0.0f : static_cast<float>(2.0 * i * std::log(1.0 + 1.0 / i));
        T = static_cast<float>(double(ECC) / ((2.5 - omega + 0.5 * dv) * BOLTZ));
    }
    const float Y = static_cast<float>(C2 * std::pow(double(T), THIRD));
    if (Y >= EXPONENT_LIMIT)
        return NO_EXCHANGE_NUMBER;
    return static_cast<float>(C1 / std::pow(double(T), double(omega)) * std::exp(double(Y)));
}

// Step E2: the vibrational modes of molecule X (species s, partner species o). ECT is the relative
// translational energy, changed by every mode that exchanges.
void exchange_vibration(int X, int s, int o, float& ECT, bool forced, float cell_temperature)
{
    auto& LEVEL = MOLECULES.MOL_VIB_LEVEL;
    const float omega = GAS.SPECIES_PAIR_DATA(PAIR_VISC_POWER, s, o);
    const double exponent = 1.5 - omega;
    for (int k = 1; k <= GAS.VIB_MODE_COUNT(s); ++k) {
        const int i = LEVEL(k, X);
        const float quantum = static_cast<float>(double(BOLTZ) * GAS.VIB_TEMP(k, s));
        const float EV = static_cast<float>(double(i) * quantum);
        const float ECC = static_cast<float>(double(ECT) + EV);
        const float ZV = vib_collision_number(k, s, i, ECC, omega, cell_temperature);
        if (!(random_uniform() < 1.0 / ZV) && !forced)
            continue;
        if (!(ECC > 0.0f)) {
            // No energy to share (a reaction may leave none): the level drops to 0 and nothing else
            // changes; the selection below would never accept a level.
            LEVEL(k, X) = 0;
            continue;
        }
        const double ratio = double(ECC) / quantum;
        const double imax = ratio >= 1.0e9 ? 1.0e9 : std::trunc(ratio);
        int level;
        float EVp;
        for (;;) {
            level = static_cast<int>((imax + double(0.99999f)) * random_uniform());
            if (level > MAX_LEVEL)
                level = MAX_LEVEL;
            EVp = static_cast<float>(double(level) * quantum);
            if (EVp >= ECC)
                continue;
            const double P = std::pow(1.0 - double(EVp) / ECC, exponent);
            if (random_uniform() < P)
                break;
        }
        LEVEL(k, X) = static_cast<int8_t>(level);
        ECT = static_cast<float>(double(ECC) - EVp);
    }
}

// Step E3: the rotation of molecule X (species s, partner species o).
void exchange_rotation(int X, int s, int o, float& ECT, bool forced)
{
    const int zr = GAS.SPECIES_ROTATION(1, s);
    if (zr <= 0)
        return;
    const auto& SPD = GAS.SPECIES_PAIR_DATA;
    if (!(random_uniform() < SPD(PAIR_ROT_RELAX, s, o)) && !forced)
        return;
    auto& PV = MOLECULES.PV;
    const float omega = SPD(PAIR_VISC_POWER, s, o);
    const float ECC = static_cast<float>(double(ECT) + PV(PV_ROTATION, X));
    float R;
    if (zr == 2)
        R = static_cast<float>(1.0 - std::pow(random_uniform(), 1.0 / (2.5 - omega)));
    else
        SAMPLE_ENERGY_RATIO(static_cast<float>(0.5 * zr - 1.0), static_cast<float>(1.5 - omega), R);
    PV(PV_ROTATION, X) = static_cast<float>(double(R) * ECC);
    ECT = static_cast<float>(double(ECC) - PV(PV_ROTATION, X));
}

// E2 then E3 for one molecule.
void exchange_internal(int X, int s, int o, float& ECT, bool forced, float cell_temperature)
{
    if (GAS.MAX_VIB_MODES > 0 && GAS.VIB_MODE_COUNT(s) > 0)
        exchange_vibration(X, s, o, ECT, forced, cell_temperature);
    exchange_rotation(X, s, o, ECT, forced);
}

// Step S: isotropic post-collision relative velocity of magnitude cr (Bird 1994, eq. 2.33).
void scatter(float cr, float VRC[3])
{
    const float B = static_cast<float>(2.0 * random_uniform() - 1.0);
    const float A = static_cast<float>(std::sqrt(1.0 - double(B) * B));
    const float phi = static_cast<float>(double(6.2831855f) * random_uniform());
    VRC[0] = static_cast<float>(double(B) * cr);
    VRC[1] = static_cast<float>(double(A) * std::cos(double(phi)) * cr);
    VRC[2] = static_cast<float>(double(A) * std::sin(double(phi)) * cr);
}

// The cell's overall temperature from the last output, when the cell has one (number density above
// 1), for the vibrational collision number of a single species; 0 otherwise.
float output_temperature(int j)
{
    const auto& VAR = RESULTS.VAR;
    if (!VAR.allocated() || VAR.extent(2) < j)
        return 0.0f;
    return VAR(VAR_NUMBER_DENSITY, j) > 1.0f ? VAR(VAR_TEMP, j) : 0.0f;
}

void collide_single_species(int j, int M, int L, float cr2, float cr)
{
    auto& PV = MOLECULES.PV;
    // Internal energy: only a rotating species exchanges (its vibration too).
    if (GAS.SPECIES_ROTATION(1, 1) > 0) {
        const float mr = GAS.SPECIES_PAIR_DATA(PAIR_REDUCED_MASS, 1, 1);
        float ECT = static_cast<float>(0.5 * mr * cr2);
        const float T = GAS.MAX_VIB_MODES > 0 ? output_temperature(j) : 0.0f;
        exchange_internal(M, 1, 1, ECT, false, T);
        exchange_internal(L, 1, 1, ECT, false, T);
        cr = static_cast<float>(std::sqrt(2.0 * ECT / mr));
    }
    // Centre of mass and scattering with equal weights.
    float VRC[3];
    float VCM[3];
    for (int i = 0; i < 3; ++i)
        VCM[i] = static_cast<float>(0.5 * (double(PV(i + 1, M)) + PV(i + 1, L)));
    scatter(cr, VRC);
    for (int i = 0; i < 3; ++i) {
        PV(i + 1, M) = static_cast<float>(VCM[i] + 0.5 * VRC[i]);
        PV(i + 1, L) = static_cast<float>(VCM[i] - 0.5 * VRC[i]);
    }
}

void centre_of_mass(int M, int L, float wM, float wL, float VCM[3])
{
    const auto& PV = MOLECULES.PV;
    for (int i = 0; i < 3; ++i)
        VCM[i] = static_cast<float>(double(wM) * PV(i + 1, M) + double(wL) * PV(i + 1, L));
}

void collide_mixture(int j, int M, int L, int LS, int MS, float cr2, float cr)
{
    auto& G = GAS;
    auto& PV = MOLECULES.PV;
    // Mass weights and the centre-of-mass velocity.
    float mr = G.SPECIES_PAIR_DATA(PAIR_REDUCED_MASS, LS, MS);
    float wM = static_cast<float>(double(mr) / G.SPECIES_DATA(SPECIES_MASS, MS));
    float wL = static_cast<float>(double(mr) / G.SPECIES_DATA(SPECIES_MASS, LS));
    float VCM[3];
    centre_of_mass(M, L, wM, wL, VCM);

    // Chemistry. After a recombination the collision goes on with the third body, which has a
    // velocity of its own: the centre of mass of the new pair is formed again, otherwise the third
    // body's momentum would be replaced by the old pair's.
    REACTION_FLAG = 0;
    if (G.GAS_REACTIONS > 0) {
        const int partner = L;
        CHEMICAL_REACTION(REACTION_FLAG, j, M, L, LS, MS, cr2, cr, VCM, wM, wL);
        if (REACTION_FLAG != 0 && L != partner)
            centre_of_mass(M, L, wM, wL, VCM);
    }

    // Internal energy when either species rotates.
    const bool forced = REACTION_FLAG != 0;
    if (G.SPECIES_ROTATION(1, LS) > 0 || G.SPECIES_ROTATION(1, MS) > 0) {
        mr = G.SPECIES_PAIR_DATA(PAIR_REDUCED_MASS, LS, MS);
        float ECT = static_cast<float>(0.5 * mr * cr2);
        exchange_internal(M, LS, MS, ECT, forced, 0.0f);
        exchange_internal(L, MS, LS, ECT, forced, 0.0f);
        cr = static_cast<float>(std::sqrt(2.0 * ECT / mr));
    }

    // Scattering with the mass weights.
    float VRC[3];
    scatter(cr, VRC);
    for (int i = 0; i < 3; ++i) {
        PV(i + 1, M) = static_cast<float>(VCM[i] + double(wL) * VRC[i]);
        PV(i + 1, L) = static_cast<float>(VCM[i] - double(wM) * VRC[i]);
    }
}

}  // namespace

// collide_pair: see the header; a single species and a mixture take separate paths.
void collide_pair(int j, int M, int L, int LS, int MS, float cr2, float cr)
{
    if (GAS.SPECIES_COUNT == 1)
        collide_single_species(j, M, L, cr2, cr);
    else
        collide_mixture(j, M, L, LS, MS, cr2, cr);
}

// SAMPLE_ENERGY_RATIO: R uniform, accepted with P = ((a + b) R / a)^a ((a + b)(1 - R) / b)^b, the
// density over its maximum at R = a / (a + b). Exponents below 1e-6 count as 0: P = (1 - R)^b for
// a = 0, and P = R^a for b = 0 (omega of 1.5 or more, where the density of (1 - R) has no peak
// inside (0, 1)); with both 0 R is uniform.
void SAMPLE_ENERGY_RATIO(float a, float b, float& R)
{
    constexpr float SMALL = 1.0e-6f;
    for (;;) {
        R = static_cast<float>(random_uniform());
        double P;
        if (a >= SMALL && b >= SMALL)
            P = std::pow((double(a) + b) * R / a, double(a)) *
                std::pow((double(a) + b) * (1.0 - R) / b, double(b));
        else if (a < SMALL && b >= SMALL)
            P = std::pow(1.0 - R, double(b));
        else if (a >= SMALL)
            P = std::pow(double(R), double(a));
        else
            P = std::pow(1.0 - R, double(a));
        if (random_uniform() < P)
            return;
    }
}
