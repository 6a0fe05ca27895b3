// Gas-phase chemistry through the collisions: a slow dissociation AB + M -> A + A + M in an isothermal
// bath reacts at the Arrhenius rate k(T) = A T^eta exp(-Ea / kT) of the flow data (the total collision
// energy model reproduces it in equilibrium, Bird 1994, section 6.1), at two temperatures; a
// recombination A + B + M -> AB + M reacts at its rate k(T) = A T^eta (Bird 1994, section 6.7) whatever
// the scale factor of the lengths.
#include "app/kernel/collide_molecules.h"
#include "app/kernel/samplers.h"

#include "tests/kernel_collide/collide_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

namespace {

constexpr double K = double(BOLTZ);
constexpr int AB = 1, M = 2, A = 3;

// Activation energy: 3 kT at 4000 K, 2 kT at 6000 K. Pre-exponential parameter (m^3/s): about one
// AB-M collision in ten reacts at 6000 K, so the reaction is slow against the collisions that keep the
// bath in equilibrium, and the TCE probability stays well below 1.
const double EA = 3.0 * K * 4000.0;
const double PRE_EXP = 5.8e-16;

// The tables of one gas reaction among `species` species, no third-body table, all entries 0.
void allocate_one_reaction(int species)
{
    auto& G = GAS;
    G.GAS_REACTIONS = G.GAS_REACTION_DIM = 1;
    G.THIRD_BODY_TABLES = 0;
    G.THIRD_BODY_DIM = 1;
    G.REACTION_REACTANTS.allocate(2, 1);
    G.REACTION_PRODUCT_COUNT.allocate(2, 1);
    G.REACTION_PRODUCTS.allocate(2, 1, 2);
    G.REACTION_CONSTANTS.allocate(6, 1);
    G.REACTION_PAIR_COUNT.allocate(species, species);
    G.REACTION_PAIR_LIST.allocate(1, species, species);
    G.THIRD_BODY_TABLE.allocate(1, species);
    G.REACTION_COUNT.allocate(1);
}

// The reaction's table entries: reactants AB and M; AB gives two molecules (A and the extra A), M one.
void set_reaction_tables()
{
    auto& G = GAS;
    allocate_one_reaction(3);
    G.REACTION_REACTANTS(1, 1) = AB;
    G.REACTION_REACTANTS(2, 1) = M;
    G.REACTION_PRODUCT_COUNT(1, 1) = 2;
    G.REACTION_PRODUCT_COUNT(2, 1) = 1;
    G.REACTION_PRODUCTS(1, 1, 1) = A;
    G.REACTION_PRODUCTS(2, 1, 1) = M;
    G.REACTION_PRODUCTS(1, 1, 2) = A;
    G.REACTION_CONSTANTS(1, 1) = 0.0f;                     // zeta: translational energy only
    G.REACTION_CONSTANTS(2, 1) = float(EA);                // activation energy
    G.REACTION_CONSTANTS(3, 1) = float(PRE_EXP * 1.0e10);  // pre-exponential parameter x 1e10
    G.REACTION_CONSTANTS(4, 1) = 0.0f;                     // eta
    G.REACTION_CONSTANTS(5, 1) = 0.0f;                     // no heat of reaction
    G.REACTION_PAIR_COUNT(AB, M) = G.REACTION_PAIR_COUNT(M, AB) = 1;
    G.REACTION_PAIR_LIST(1, AB, M) = 1;
}

// The isothermal bath: every molecule gets a fresh velocity from the Maxwellian at T, so each step
// starts from equilibrium. (Merely rescaling the velocities would leave the AB molecules short of their
// fastest members, which react first: the rate would fall below the equilibrium rate.)
void rethermalise(double T)
{
    auto& Mol = MOLECULES;
    for (int n = 1; n <= Mol.NM; ++n) {
        const double m = GAS.SPECIES_DATA(SPECIES_MASS, molecule_species(n));
        const float vmp = static_cast<float>(std::sqrt(2.0 * K * T / m));
        float c[4];
        SAMPLE_MAXWELLIAN_PAIR(c[0], c[1], vmp);
        SAMPLE_MAXWELLIAN_PAIR(c[2], c[3], vmp);
        for (int i = 1; i <= 3; ++i)
            Mol.PV(i, n) = c[i - 1];
    }
}

// A + B -> AB with third body M (species 1, 2, 3, 4): A gives one molecule (AB), B none.
constexpr int RA = 1, RB = 2, RAB = 3, RM = 4;
constexpr double RECOMBINATION_PRE_EXP = 5.5e-39;  // m^6/s
constexpr double RECOMBINATION_ETA = 0.25;         // 1 - omega: the probability does not depend on energy

void set_recombination_tables()
{
    auto& G = GAS;
    allocate_one_reaction(4);
    G.REACTION_REACTANTS(1, 1) = RA;
    G.REACTION_REACTANTS(2, 1) = RB;
    G.REACTION_PRODUCT_COUNT(1, 1) = 1;
    G.REACTION_PRODUCT_COUNT(2, 1) = 0;
    G.REACTION_PRODUCTS(1, 1, 1) = RAB;                                  // the combined molecule
    G.REACTION_PRODUCTS(2, 1, 1) = RM;                                   // third body: species M
    G.REACTION_CONSTANTS(1, 1) = 0.0f;                                   // zeta
    G.REACTION_CONSTANTS(2, 1) = 0.0f;                                   // no activation energy
    G.REACTION_CONSTANTS(3, 1) = float(RECOMBINATION_PRE_EXP * 1.0e10);  // pre-exponential x 1e10
    G.REACTION_CONSTANTS(4, 1) = float(RECOMBINATION_ETA);               // eta
    G.REACTION_CONSTANTS(5, 1) = 0.0f;                                   // no heat of reaction
    G.REACTION_PAIR_COUNT(RA, RB) = G.REACTION_PAIR_COUNT(RB, RA) = 1;
    G.REACTION_PAIR_LIST(1, RA, RB) = 1;
}

int species_count(int s)
{
    int n = 0;
    for (int m = 1; m <= MOLECULES.NM; ++m)
        n += molecule_species(m) == s ? 1 : 0;
    return n;
}

// Warm-up: three steps of the bath at T, in which the bound on sigma c_r settles (until then the fastest
// pairs, which react, are accepted less often than their share); the reaction counter then starts at 0.
void warm_up(double T)
{
    for (int step = 1; step <= 3; ++step) {
        one_collision_step();
        rethermalise(T);
    }
    GAS.REACTION_COUNT(1) = 0.0;
}

// Steps the bath at T until `target` reactions are expected or `max_steps` steps have run, and returns
// the reactions expected: per step, `rate` (reactions per unit real time, from the present counts, which
// fall during a step) as the mean of its values before and after the step, times the real step.
double expected_reactions(double T, double sf, const std::function<double()>& rate, double target,
                          int max_steps, int& steps)
{
    double expected = 0.0;
    steps = 0;
    while (expected < target && steps < max_steps) {
        const double before = rate();
        one_collision_step();
        rethermalise(T);
        expected += 0.5 * (before + rate()) * (RUN.DTM / sf);
        ++steps;
    }
    return expected;
}

class DissociationRate : public ::testing::TestWithParam<double> {};

}  // namespace

// Per step the expected reactions are k(T) FNUM N_AB N_M / V dt (one cell, V and dt real), with the
// counts of the step; the bath gives every molecule a new equilibrium velocity at T after every step. The
// count is Poisson: the tolerance is 4 / sqrt(expected). Every dissociation adds one molecule: A appears
// twice for each AB lost.
TEST_P(DissociationRate, FollowsArrhenius)
{
    RandomGuard keep;
    DiagLog log;
    const double T = GetParam();
    TestCase c;
    c.nx = c.ny = c.nz = 1;
    c.temperature = T;
    c.mnm = 20000;
    c.species = {{4.0e-10, 273.0, 0.75, 4.65e-26, 0.5},
                 {4.0e-10, 273.0, 0.75, 6.63e-26, 0.5},
                 {3.0e-10, 273.0, 0.75, 2.325e-26, 0.0}};
    c.before_initialise = set_reaction_tables;
    make_case(c);
    ASSERT_NEAR(MOLECULES.NM, 10000, 2);

    // A step of a quarter of the collision time, so that few molecules collide twice between baths.
    const double V = CELLS.CELL_DATA(CELL_VOLUME, 1) / std::pow(double(c.sf), 3);
    const double mr = 4.65e-26 * 6.63e-26 / (4.65e-26 + 6.63e-26);
    const double sigma_cr = 2.0 * std::sqrt(std::numbers::pi) * 16.0e-20 * std::pow(T / 273.0, 0.25) *
                            std::sqrt(2.0 * K * 273.0 / mr);
    const double dt = 0.25 / (c.density * sigma_cr);
    set_time_step(static_cast<float>(dt * c.sf));
    const double k = PRE_EXP * std::exp(-EA / (K * T));

    warm_up(T);
    const int nm0 = MOLECULES.NM, ab0 = species_count(AB), a0 = species_count(A);
    int steps = 0;
    const double expected = expected_reactions(
        T, c.sf, [&] { return k * RUN.FNUM * species_count(AB) * double(species_count(M)) / V; }, 2000.0, 400,
        steps);
    const double counted = GAS.REACTION_COUNT(1);
    RecordProperty("reaction_ratio", std::to_string(counted / expected));
    EXPECT_NEAR(counted / expected, 1.0, 4.0 / std::sqrt(expected))
        << counted << " of " << expected << " in " << steps << " steps";
    EXPECT_EQ(MOLECULES.NM - nm0, counted);
    EXPECT_EQ(ab0 - species_count(AB), counted);
    EXPECT_EQ(species_count(A) - a0, 2 * counted);
}

INSTANTIATE_TEST_SUITE_P(Temperatures, DissociationRate, ::testing::Values(4000.0, 6000.0));

// Fault: the recombination probability took the third-body density as n_3 FNUM SF^2 / V, with V in
// scaled length cubed, so that a case with lengths scaled by SF recombined SF times too slowly; the
// collision rate itself scales correctly. The same gas at SF 1 and SF 20 (one cell of 0.1 m, 10,000
// molecules: 45 % A, 45 % B, 10 % the third body M) recombines at k(T) FNUM^2 N_A N_B
// N_M / V^2 per unit real time (V real), with the counts of each step, and the two rates agree within
// their Poisson statistics. eta = 1 - omega makes the probability independent of the collision
// energy, and the probability per A-B collision stays below 0.01 (drawn 100 times too large with a
// chance of 0.01), so the rate is the model's exactly.
TEST(RecombinationRate, SameRealRateAtAnyScale)
{
    RandomGuard keep;
    DiagLog log;
    const double T = 300.0;
    const double k = RECOMBINATION_PRE_EXP * std::pow(T, RECOMBINATION_ETA);
    double ratio[2] = {0.0, 0.0}, sigma[2] = {0.0, 0.0};
    const float scales[2] = {1.0f, 20.0f};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(scales[i]);
        TestCase c;
        c.nx = c.ny = c.nz = 1;
        c.sf = scales[i];
        c.temperature = T;
        c.mnm = 20000;
        c.species = {{4.0e-10, 273.0, 0.75, 4.65e-26, 0.45},
                     {4.0e-10, 273.0, 0.75, 6.63e-26, 0.45},
                     {4.0e-10, 273.0, 0.75, 11.28e-26, 0.0},
                     {4.0e-10, 273.0, 0.75, 4.65e-26, 0.1}};
        c.before_initialise = set_recombination_tables;
        make_case(c);
        ASSERT_NEAR(MOLECULES.NM, 10000, 2);

        // Half a collision time per step.
        const double V = CELLS.CELL_DATA(CELL_VOLUME, 1) / std::pow(double(c.sf), 3);
        const double sigma_cr = 2.0 * std::sqrt(std::numbers::pi) * 16.0e-20 * std::pow(T / 273.0, 0.25) *
                                std::sqrt(2.0 * K * 273.0 / 2.325e-26);
        set_time_step(static_cast<float>(0.5 / (c.density * sigma_cr) * c.sf));
        warm_up(T);
        const int nm0 = MOLECULES.NM, ab0 = species_count(RAB), m0 = species_count(RM);
        const double f = RUN.FNUM;
        int steps = 0;
        const double expected = expected_reactions(
            T, c.sf,
            [&] {
                return k * f * f * species_count(RA) * double(species_count(RB)) * species_count(RM) /
                       (V * V);
            },
            1000.0, 600, steps);
        const double counted = GAS.REACTION_COUNT(1);
        ratio[i] = counted / expected;
        sigma[i] = std::sqrt(counted) / expected;
        RecordProperty("recombination_ratio_sf" + std::to_string(int(c.sf)), std::to_string(ratio[i]));
        EXPECT_NEAR(ratio[i], 1.0, 4.0 / std::sqrt(expected))
            << counted << " of " << expected << " in " << steps << " steps";
        // Each recombination turns an A into AB and absorbs a B; the third bodies stay.
        EXPECT_EQ(nm0 - MOLECULES.NM, counted);
        EXPECT_EQ(species_count(RAB) - ab0, counted);
        EXPECT_EQ(species_count(RM), m0);
    }
    EXPECT_NEAR(ratio[1] - ratio[0], 0.0, 4.0 * std::hypot(sigma[0], sigma[1]));
}
