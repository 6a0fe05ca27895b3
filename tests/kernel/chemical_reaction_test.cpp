// Gas-phase chemistry: steric-factor constants, and scripted collisions that dissociate, exchange and
// recombine.
#include "app/kernel/chemical_reaction.h"

#include "app/kernel/cell_index.h"
#include "app/kernel/constants.h"
#include "app/state/samples.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

// Species: 1 A2 (diatomic, 2 rotational degrees of freedom, one vibrational mode of 2000 K), 2 A, 3 B,
// 4 AB (diatomic).
constexpr int A2 = 1, A = 2, B = 3, AB = 4;
const float MASS[5] = {0, 4.0e-26f, 2.0e-26f, 3.0e-26f, 5.0e-26f};

// Reactions: 1 A2 + B -> A + A + B (dissociation), 2 A2 + B -> AB + A (exchange),
// 3 A + A + T -> A2 (recombination, third-body table 1), 4 A + B + T -> AB (table 1),
// 5 A + B + A2 -> AB (third body of species A2).
constexpr int DISSOCIATION = 1, EXCHANGE = 2, RECOMB_AA = 3, RECOMB_AB = 4, RECOMB_AB_SPECIES = 5;

void add_reaction(int R, int r1, int r2, int n1, int n2, int p1, int p2, int extra, float Ea, float heat)
{
    auto& G = GAS;
    G.REACTION_REACTANTS(1, R) = r1;
    G.REACTION_REACTANTS(2, R) = r2;
    G.REACTION_PRODUCT_COUNT(1, R) = n1;
    G.REACTION_PRODUCT_COUNT(2, R) = n2;
    G.REACTION_PRODUCTS(1, R, 1) = p1;
    G.REACTION_PRODUCTS(2, R, 1) = p2;
    G.REACTION_PRODUCTS(1, R, 2) = extra;
    G.REACTION_CONSTANTS(1, R) = 0.0f;  // zeta
    G.REACTION_CONSTANTS(2, R) = Ea;    // activation energy
    G.REACTION_CONSTANTS(3, R) = 1.0f;  // pre-exponential parameter x 1e10
    G.REACTION_CONSTANTS(4, R) = 0.0f;  // eta
    G.REACTION_CONSTANTS(5, R) = heat;  // reaction energy
}

// Lists reaction R for the pair (a, b); with `both`, for (b, a) too, as REACTION_RATE_FACTORS makes it.
void list_reaction(int a, int b, int R, bool both = true)
{
    const int j = ++GAS.REACTION_PAIR_COUNT(a, b);
    if (a != b)
        ++GAS.REACTION_PAIR_COUNT(b, a);
    GAS.REACTION_PAIR_LIST(j, a, b) = R;
    if (both)
        GAS.REACTION_PAIR_LIST(j, b, a) = R;
}

// Molecules 1 .. 5 in cell 1 of 2 (continuous or normal index): 1 A2, 2 B, 3 A, 4 A, 5 A2; molecule 6
// (AB) in cell 2.
void set_state(int index_mode)
{
    make_store(10, 2, index_mode, 1, 4, 3);
    auto& G = GAS;
    G.SPECIES_COUNT = 4;
    G.GAS_REACTIONS = G.GAS_REACTION_DIM = 5;
    G.THIRD_BODY_TABLES = G.THIRD_BODY_DIM = 1;
    G.SPECIES_DATA.allocate(4, 4);
    G.SPECIES_ROTATION.allocate(2, 4);
    G.VIB_MODE_COUNT.allocate(4);
    G.VIB_TEMP.allocate(1, 4);
    G.SPECIES_PAIR_DATA.allocate(7, 4, 4);
    for (int s = 1; s <= 4; ++s) {
        G.SPECIES_DATA(4, s) = MASS[s];
        G.SPECIES_DATA(1, s) = 4.0e-10f;
        G.SPECIES_DATA(2, s) = 273.0f;
        G.SPECIES_DATA(3, s) = 0.75f;
        const bool diatomic = s == A2 || s == AB;
        G.SPECIES_ROTATION(1, s) = diatomic ? 2 : 0;
        G.VIB_MODE_COUNT(s) = diatomic ? 1 : 0;
        G.VIB_TEMP(1, s) = 2000.0f;
    }
    for (int p = 1; p <= 4; ++p)
        for (int q = 1; q <= 4; ++q) {
            G.SPECIES_PAIR_DATA(1, p, q) = float(double(MASS[p]) * MASS[q] / (double(MASS[p]) + MASS[q]));
            G.SPECIES_PAIR_DATA(2, p, q) = 0.7853982f * 8.0e-10f * 8.0e-10f;
            G.SPECIES_PAIR_DATA(3, p, q) = 0.75f;
            G.SPECIES_PAIR_DATA(5, p, q) = 273.0f;
        }
    G.REACTION_REACTANTS.allocate(2, 5);
    G.REACTION_PRODUCT_COUNT.allocate(2, 5);
    G.REACTION_PRODUCTS.allocate(2, 5, 2);
    G.REACTION_CONSTANTS.allocate(6, 5);
    G.REACTION_PAIR_COUNT.allocate(4, 4);
    G.REACTION_PAIR_LIST.allocate(5, 4, 4);
    G.THIRD_BODY_TABLE.allocate(1, 4);
    G.REACTION_COUNT.allocate(5);
    for (int s = 1; s <= 4; ++s)
        G.THIRD_BODY_TABLE(1, s) = 0.5f * s;
    add_reaction(DISSOCIATION, A2, B, 2, 1, A, B, A, 1.0e-19f, -1.0e-19f);
    add_reaction(EXCHANGE, A2, B, 1, 1, AB, A, 0, 1.0e-20f, -2.0e-20f);
    add_reaction(RECOMB_AA, A, A, 1, 0, A2, -1, 0, 0.0f, 1.0e-19f);
    add_reaction(RECOMB_AB, A, B, 1, 0, AB, -1, 0, 0.0f, 1.0e-19f);
    add_reaction(RECOMB_AB_SPECIES, A, B, 1, 0, AB, A2, 0, 0.0f, 1.0e-19f);
    RUN.FNUM = 1.0e15f;
    CELLS.CELL_DATA(CELL_VOLUME, 1) = 1.0e-6f;

    const int species[7] = {0, A2, B, A, A, A2, AB};
    auto& M = MOLECULES;
    for (int n = 1; n <= 6; ++n) {
        M.IP(IP_CELL, n) = n <= 5 ? 1 : 2;
        M.IP(IP_SPECIES, n) = species[n];
        for (int i = 1; i <= 3; ++i) {
            M.MOL_POS(i, n) = 0.1f * n + 0.01f * i;
            M.PV(i, n) = 100.0f * n * (i == 1 ? 1.0f : -0.5f);
        }
        M.PV(4, n) = species[n] == A2 || species[n] == AB ? 2.0e-21f * n : 0.0f;
        M.MOL_VIB_LEVEL(1, n) = species[n] == A2 || species[n] == AB ? 2 : 0;
        M.MOL_TIME(n) = 1.0e-6 * n;
    }
    M.NM = 6;
    if (index_mode == INDEX_CONTINUOUS)
        RESET_CONTINUOUS_INDEXING();
    else
        INDEX_MOLECULES();
}

// Makes every reaction certain when offered: a steric constant far above any probability's scale.
void make_certain(int R)
{
    GAS.REACTION_CONSTANTS(6, R) = 1.0e30f;
}

// Moves the random state to just before the next draw below 0.01 (a recombination is considered only
// after such a draw).
void advance_to_draw_below_one_percent()
{
    for (;;) {
        const RandomState before = RANDOM_STATE;
        if (random_uniform() < 0.01) {
            RANDOM_STATE = before;
            return;
        }
    }
}

struct Call {
    int reacted = -1;
    int L = 0, M = 0, LS = 0, MS = 0;
    float crsq = 0.0f, cr = 0.0f, ratio_m = 0.0f, ratio_l = 0.0f;
    float vcm[3] = {10.0f, 20.0f, 30.0f};
};

void offer(Call& c, int cell = 1)
{
    CHEMICAL_REACTION(c.reacted, cell, c.L, c.M, c.LS, c.MS, c.crsq, c.cr, c.vcm, c.ratio_m, c.ratio_l);
}

// Total energy of the pair L, M as CHEMICAL_REACTION forms it: translational, rotational, vibrational.
double pair_energy(const Call& c)
{
    const double mr = GAS.SPECIES_PAIR_DATA(1, c.LS, c.MS);
    double e = float(0.5 * mr * c.crsq);
    for (int n : {c.L, c.M}) {
        const int s = molecule_species(n);
        if (GAS.SPECIES_ROTATION(1, s) > 0)
            e += MOLECULES.PV(4, n);
        if (GAS.VIB_MODE_COUNT(s) > 0)
            e += MOLECULES.MOL_VIB_LEVEL(1, n) * double(BOLTZ) * 2000.0f;
    }
    return e;
}

}  // namespace

TEST(GammaFunction, MatchesKnownValues)
{
    const struct {
        float x;
        double gamma;
    } cases[] = {{1.0f, 1.0},         {2.0f, 1.0},          {1.5f, 0.886226925}, {3.5f, 3.32335097},
                 {0.5f, 1.772453851}, {0.25f, 3.625609908}, {5.0f, 24.0},        {1.75f, 0.919062527}};
    for (const auto& c : cases)
        EXPECT_NEAR(GAMMA_FUNCTION(c.x), c.gamma, 5.0e-5 * c.gamma) << "x = " << c.x;  // A&S 6.1.35: 5e-5
}

TEST(ReactionRateFactors, StericConstantFollowsTheArrheniusParameters)
{
    DiagLog log;
    set_state(INDEX_NORMAL);
    list_reaction(A2, B, DISSOCIATION, false);
    list_reaction(A, A, RECOMB_AA);
    REACTION_RATE_FACTORS();
    EXPECT_EQ(GAS.REACTION_PAIR_LIST(1, B, A2), DISSOCIATION);  // made symmetric
    // Dissociation, unlike reactants: Q Gamma(2.5 - omega) / (Gamma(1.5) (k Tref)^(omega - 1)).
    const double mr = GAS.SPECIES_PAIR_DATA(1, A2, B), sigma = GAS.SPECIES_PAIR_DATA(2, A2, B);
    const double kt = double(BOLTZ) * 273.0;
    const double Q = 1.7724539 * 1.0 / (2 * sigma) * 1e-10 * std::sqrt(mr / (2 * kt));
    EXPECT_NEAR(GAS.REACTION_CONSTANTS(6, DISSOCIATION) /
                    (Q * std::tgamma(1.75) / (std::tgamma(1.5) * std::pow(kt, -0.25))),
                1.0, 1.5e-4);  // two gamma values, each to 5e-5
    // Recombination of like reactants carries the factor 2: 2 Q Gamma(1.75) / Gamma(1.5).
    const double mr2 = GAS.SPECIES_PAIR_DATA(1, A, A);
    const double Q2 = 2 * 1.7724539 / (2 * sigma) * 1e-10 * std::sqrt(mr2 / (2 * kt));
    EXPECT_NEAR(GAS.REACTION_CONSTANTS(6, RECOMB_AA) / (Q2 * std::tgamma(1.75) / std::tgamma(1.5)), 1.0,
                1.5e-4);
}

TEST(ChemicalReaction, BelowEveryActivationEnergyNothingChanges)
{
    RandomGuard keep;
    DiagLog log;
    set_state(INDEX_CONTINUOUS);
    list_reaction(A2, B, DISSOCIATION);
    list_reaction(A2, B, EXCHANGE);
    make_certain(DISSOCIATION);
    make_certain(EXCHANGE);
    Call c;
    c.L = 1, c.M = 2, c.LS = A2, c.MS = B;
    c.crsq = 2.0f * 0.5e-20f / GAS.SPECIES_PAIR_DATA(1, A2, B);  // E_t = 0.5e-20 < 1e-20
    const Call before = c;
    const RandomState start = RANDOM_STATE;
    offer(c);
    EXPECT_EQ(c.reacted, 0);
    EXPECT_EQ(c.M, before.M);
    EXPECT_EQ(c.LS, before.LS);
    EXPECT_EQ(c.MS, before.MS);
    EXPECT_EQ(c.crsq, before.crsq);
    EXPECT_EQ(MOLECULES.NM, 6);
    EXPECT_EQ(GAS.REACTION_COUNT(EXCHANGE), 0.0);
    // Only the decision draw was made.
    const RandomState after = RANDOM_STATE;
    RANDOM_STATE = start;
    random_uniform();
    EXPECT_EQ(RANDOM_STATE.s1, after.s1);
    EXPECT_EQ(RANDOM_STATE.s2, after.s2);
}

// The rotational energy counts towards the activation energy in proportion to the contributing
// degrees of freedom zeta: E_c = E_t + 2 zeta E_r / (rotational degrees of freedom of the pair).
TEST(ChemicalReaction, InternalDegreesOfFreedomAddRotationalEnergy)
{
    for (float zeta : {0.0f, 1.0f}) {
        RandomGuard keep;
        DiagLog log;
        set_state(INDEX_NORMAL);
        list_reaction(A2, B, EXCHANGE);
        make_certain(EXCHANGE);
        GAS.REACTION_CONSTANTS(1, EXCHANGE) = zeta;
        MOLECULES.PV(4, 1) = 1.0e-20f;  // E_r of the A2; the B has none; d = 2
        Call c;
        c.L = 1, c.M = 2, c.LS = A2, c.MS = B;
        c.crsq = 2.0f * 0.5e-20f / GAS.SPECIES_PAIR_DATA(1, A2, B);  // E_t = 0.5e-20, E_a = 1e-20
        offer(c);
        EXPECT_EQ(c.reacted, zeta > 0.0f ? 1 : 0) << "zeta " << zeta;
    }
}

TEST(ChemicalReaction, DissociationAppendsTheExtraAtomAtLsPlace)
{
    for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
        RandomGuard keep;
        DiagLog log;
        set_state(mode);
        list_reaction(A2, B, DISSOCIATION);
        make_certain(DISSOCIATION);
        // Slot 7 was last used by a vibrating, rotating molecule: the extra atom must not inherit it.
        MOLECULES.PV(4, 7) = 3.0e-21f;
        MOLECULES.MOL_VIB_LEVEL(1, 7) = 5;
        Call c;
        c.L = 1, c.M = 2, c.LS = A2, c.MS = B;
        c.crsq = 2.0f * 3.0e-19f / GAS.SPECIES_PAIR_DATA(1, A2, B);
        const double e = pair_energy(c);
        offer(c);
        ASSERT_EQ(c.reacted, 1);
        EXPECT_EQ(GAS.REACTION_COUNT(DISSOCIATION), 1.0);
        EXPECT_EQ(c.LS, A);
        EXPECT_EQ(c.MS, B);
        EXPECT_EQ(c.M, 2);
        EXPECT_EQ(molecule_species(1), A);
        ASSERT_EQ(MOLECULES.NM, 7);
        EXPECT_EQ(molecule_species(7), A);
        EXPECT_EQ(MOLECULES.IP(IP_CELL, 7), 1);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(MOLECULES.MOL_POS(i, 7), MOLECULES.MOL_POS(i, 1));
            EXPECT_EQ(MOLECULES.PV(i, 7), c.vcm[i - 1]);
        }
        EXPECT_EQ(MOLECULES.MOL_TIME(7), MOLECULES.MOL_TIME(1));
        EXPECT_EQ(MOLECULES.PV(4, 7), 0.0f);
        EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL(1, 7), 0);
        EXPECT_EQ(MOLECULES.PV(4, 1), 0.0f);
        EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL(1, 1), 0);
        // Total energy plus the reaction energy (-1e-19) as relative translational energy of (A, B).
        const double mr = GAS.SPECIES_PAIR_DATA(1, A, B);
        EXPECT_NEAR(0.5 * mr * c.crsq, e - 1.0e-19, 1e-6 * e);
        EXPECT_FLOAT_EQ(c.cr * c.cr, c.crsq);
        EXPECT_FLOAT_EQ(c.ratio_m, mr / MASS[B]);
        EXPECT_FLOAT_EQ(c.ratio_l, mr / MASS[A]);
        if (mode == INDEX_CONTINUOUS) {
            EXPECT_EQ(CELLS.ICELL(ICELL_COUNT, 1), 6);
            CHECK_INDEX();
            EXPECT_EQ(log.count("RESETTING"), 1);
        }
    }
}

TEST(ChemicalReaction, ExchangeChangesBothSpeciesAndTheEnergy)
{
    RandomGuard keep;
    DiagLog log;
    set_state(INDEX_NORMAL);
    list_reaction(A2, B, EXCHANGE);
    make_certain(EXCHANGE);
    // Offered with the reactants in swapped order: L is the B, M the A2.
    Call c;
    c.L = 2, c.M = 1, c.LS = B, c.MS = A2;
    c.crsq = 2.0f * 3.0e-20f / GAS.SPECIES_PAIR_DATA(1, B, A2);
    const double e = pair_energy(c);
    offer(c);
    ASSERT_EQ(c.reacted, 1);
    EXPECT_EQ(c.LS, A);   // B took reactant 2's product
    EXPECT_EQ(c.MS, AB);  // A2 took reactant 1's product
    EXPECT_EQ(molecule_species(2), A);
    EXPECT_EQ(molecule_species(1), AB);
    EXPECT_EQ(MOLECULES.NM, 6);
    EXPECT_EQ(GAS.REACTION_COUNT(EXCHANGE), 1.0);
    const double mr = GAS.SPECIES_PAIR_DATA(1, A, AB);
    EXPECT_NEAR(0.5 * mr * c.crsq, e - 2.0e-20, 1e-6 * e);
    EXPECT_EQ(MOLECULES.PV(4, 1), 0.0f);
}

// A + A (+ table third body) -> A2, and A + B in both orders -> AB: the combined molecule keeps the A's
// place (or takes the B's when the B came first), M is marked and the third body becomes M.
TEST(ChemicalReaction, RecombinationAbsorbsMAndGoesOnWithTheThirdBody)
{
    const struct {
        int R, L, M, combined;
        bool takes_m_position;
    } cases[] = {{RECOMB_AA, 3, 4, A2, false}, {RECOMB_AB, 3, 2, AB, false}, {RECOMB_AB, 2, 3, AB, true}};
    for (const auto& t : cases) {
        for (int mode : {INDEX_NORMAL, INDEX_CONTINUOUS}) {
            RandomGuard keep;
            DiagLog log;
            set_state(mode);
            list_reaction(A, t.R == RECOMB_AA ? A : B, t.R);
            make_certain(t.R);
            Call c;
            c.L = t.L, c.M = t.M, c.LS = molecule_species(t.L), c.MS = molecule_species(t.M);
            c.crsq = 2.0f * 1.0e-20f / GAS.SPECIES_PAIR_DATA(1, c.LS, c.MS);
            const double e = pair_energy(c);
            float m_pos[3];
            for (int i = 1; i <= 3; ++i)
                m_pos[i - 1] = MOLECULES.MOL_POS(i, t.M);
            advance_to_draw_below_one_percent();
            offer(c);
            ASSERT_EQ(c.reacted, 1) << "reaction " << t.R;
            EXPECT_EQ(GAS.REACTION_COUNT(t.R), 1.0);
            EXPECT_EQ(c.LS, t.combined);
            EXPECT_EQ(molecule_species(t.L), t.combined);
            EXPECT_EQ(MOLECULES.IP(IP_CELL, t.M), -1);
            const int T = c.M;
            EXPECT_TRUE(T != t.L && T != t.M && T >= 1 && T <= 5) << T;
            EXPECT_EQ(c.MS, molecule_species(T));
            for (int i = 1; i <= 3; ++i) {
                EXPECT_EQ(MOLECULES.PV(i, t.L), c.vcm[i - 1]);
                if (t.takes_m_position) {
                    EXPECT_EQ(MOLECULES.MOL_POS(i, t.L), m_pos[i - 1]);
                }
            }
            // Energy: total of the pair, the reaction's 1e-19, and the relative energy of L and T.
            const double mr_t = GAS.SPECIES_PAIR_DATA(1, c.LS, c.MS);
            double g2 = 0;
            for (int i = 1; i <= 3; ++i)
                g2 += std::pow(double(MOLECULES.PV(i, T)) - c.vcm[i - 1], 2);
            EXPECT_NEAR(0.5 * mr_t * c.crsq, e + 1.0e-19 + 0.5 * mr_t * g2,
                        1e-5 * (e + 1.0e-19 + 0.5 * mr_t * g2));
            EXPECT_EQ(MOLECULES.PV(4, T), 0.0f);
            EXPECT_EQ(MOLECULES.MOL_VIB_LEVEL(1, T), 0);
        }
    }
}

// Offers the pair L, M for recombination R (made certain), after a draw below 0.01; true when it reacted.
bool recombines(int L, int M, int R)
{
    list_reaction(molecule_species(L), molecule_species(M), R);
    make_certain(R);
    Call c;
    c.L = L, c.M = M, c.LS = molecule_species(L), c.MS = molecule_species(M);
    c.crsq = 1.0e6f;
    advance_to_draw_below_one_percent();
    offer(c);
    return c.reacted == 1;
}

// Cases where the recombination probability must be 0 whatever the steric constant.
TEST(ChemicalReaction, RecombinationWithoutAThirdBodyNeverHappens)
{
    RandomGuard keep;
    DiagLog log;
    // A table third body in a cell of two molecules (1, 2, 5 moved to cell 2).
    set_state(INDEX_NORMAL);
    for (int n : {1, 2, 5})
        MOLECULES.IP(IP_CELL, n) = 2;
    INDEX_MOLECULES();
    EXPECT_FALSE(recombines(3, 4, RECOMB_AA));

    // A third-body species (A2) that no molecule of the cell has: only 2 (B), 3 (A), 4 (A) are left.
    set_state(INDEX_NORMAL);
    for (int n : {1, 5})
        MOLECULES.IP(IP_CELL, n) = 2;
    INDEX_MOLECULES();
    EXPECT_FALSE(recombines(3, 2, RECOMB_AB_SPECIES));

    // Fault avoided: every other molecule of the cell was absorbed by an earlier recombination (marked);
    // the table draw would never end. It finds no third body instead.
    set_state(INDEX_NORMAL);
    for (int n : {1, 2, 5})
        MOLECULES.IP(IP_CELL, n) = -1;
    EXPECT_FALSE(recombines(3, 4, RECOMB_AA));

    // The control: with the marks cleared the same pair recombines.
    set_state(INDEX_NORMAL);
    EXPECT_TRUE(recombines(3, 4, RECOMB_AA));
}

// The total collision energy model in equilibrium: collisions drawn from the VHS collision-energy
// distribution at T, f(E) ~ E^(1.5 - omega) exp(-E / kT), react with a mean probability that, times the
// equilibrium <sigma c_r>, gives back the Arrhenius rate A T^eta exp(-Ea / kT) of the data (Bird 1994,
// eq. 6.10). eta = 1 - omega keeps every probability below its constant, so none is cut at 1.
TEST(ChemicalReaction, EquilibriumRateIsTheArrheniusRate)
{
    RandomGuard keep;
    DiagLog log;
    set_state(INDEX_NORMAL);
    auto& G = GAS;
    G.MAX_VIB_MODES = 0;  // atoms only: the collision energy is the translational energy
    const double omega = 0.75, tref = 273.0, T = 2000.0, k = double(BOLTZ);
    const double eta = 1.0 - omega;
    const double Ea = 1.5 * k * T;
    add_reaction(EXCHANGE, A, B, 1, 1, A, B, 0, float(Ea), 0.0f);
    G.REACTION_CONSTANTS(4, EXCHANGE) = float(eta);
    list_reaction(A, B, EXCHANGE);
    // The pre-exponential parameter that makes the steric constant 0.8.
    const double mr = G.SPECIES_PAIR_DATA(1, A, B), sigma = G.SPECIES_PAIR_DATA(2, A, B);
    const double A_pre = 0.8 / (std::sqrt(std::numbers::pi) * std::pow(tref, eta) / (2 * sigma) * 1e-10 *
                                std::sqrt(mr / (2 * k * tref)));
    G.REACTION_CONSTANTS(3, EXCHANGE) = float(A_pre);
    REACTION_RATE_FACTORS();

    std::mt19937_64 gen(12345);
    std::gamma_distribution<double> energy(2.5 - omega, k * T);
    const int N = 200000;
    int reactions = 0;
    for (int i = 0; i < N; ++i) {
        Call c;
        c.L = 3, c.M = 2, c.LS = A, c.MS = B;
        c.crsq = float(2.0 * energy(gen) / mr);
        offer(c);
        reactions += c.reacted;
    }
    const double p = double(reactions) / N;
    // <sigma c_r> of the VHS model in equilibrium (Bird 1994, eq. 4.64 over n).
    const double sigma_cr = 2 * sigma / std::sqrt(std::numbers::pi) * std::pow(T / tref, 1 - omega) *
                            std::sqrt(2 * k * tref / mr);
    const double arrhenius = A_pre * 1e-10 * std::pow(T, eta) * std::exp(-Ea / (k * T));
    const double p_theory = arrhenius / sigma_cr;
    EXPECT_NEAR(p, p_theory, 5 * std::sqrt(p_theory * (1 - p_theory) / N) + 2e-4 * p_theory)
        << "rate " << p * sigma_cr << " against " << arrhenius;
    EXPECT_EQ(G.REACTION_COUNT(EXCHANGE), double(reactions));
}
