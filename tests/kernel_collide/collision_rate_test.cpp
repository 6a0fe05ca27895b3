// Collisions against kinetic theory in a closed box at equilibrium (no move, so the gas stays uniform):
// the VHS collision rate of one species and of a binary mixture's species pairs, conservation of
// energy and momentum, and the relaxation of a rotating, vibrating gas to one temperature.
#include "app/kernel/collide_molecules.h"

#include "tests/kernel_collide/collide_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double K = double(BOLTZ);
const double PI = std::numbers::pi;

// <sigma_T c_r> of the pair (p, q) in equilibrium at T (Bird 1994, eq. 4.76 over n_q): with the pair's
// mean diameter, reference temperature and exponent.
double mean_sigma_cr(const TestSpecies& p, const TestSpecies& q, double T)
{
    const double d = 0.5 * (p.diameter + q.diameter);
    const double tref = 0.5 * (p.tref + q.tref);
    const double omega = 0.5 * (p.omega + q.omega);
    const double mr = p.mass * q.mass / (p.mass + q.mass);
    return 2.0 * std::sqrt(PI) * d * d * std::pow(T / tref, 1.0 - omega) * std::sqrt(2.0 * K * tref / mr);
}

// Molecules of every species in every cell: census[j][s].
std::vector<std::vector<double>> census(int species)
{
    std::vector<std::vector<double>> n(CELLS.CELL_COUNT + 1, std::vector<double>(species + 1, 0.0));
    for (int m = 1; m <= MOLECULES.NM; ++m)
        n[MOLECULES.IP(IP_CELL, m)][molecule_species(m)] += 1.0;
    return n;
}

// Expected collisions of one step between species p and q as PAIR_COLL_COUNT counts them (each
// collision once for an unlike pair, twice for a like pair): the sum over the cells of N_p N_q (or
// N_p (N_p - 1)) FNUM / V <sigma c_r> dt, V and dt real.
double expected_pair_count(const TestCase& c, const std::vector<std::vector<double>>& n, int p, int q,
                           double T)
{
    const double sf = c.sf;
    const double dt = RUN.DTM / sf;
    const double sc = mean_sigma_cr(c.species[p - 1], c.species[q - 1], T);
    double sum = 0.0;
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j) {
        const double np = n[j][p];
        const double nq = p == q ? np - 1.0 : n[j][q];
        sum += np * nq * RUN.FNUM / (CELLS.CELL_DATA(CELL_VOLUME, j) / (sf * sf * sf));
    }
    return sum * sc * dt;
}

TestSpecies argon(double omega)
{
    return {4.17e-10, 273.0, omega, 6.63e-26, 1.0};
}

// The collision time of the stream at the case's density and temperature, real seconds.
double collision_time(const TestCase& c)
{
    const TestSpecies& s = c.species[0];
    return 1.0 / (c.density * mean_sigma_cr(s, s, c.temperature));
}

void zero_counts()
{
    RUN.COLLISION_COUNT = 0.0;
    SAMPLES.PAIR_COLL_COUNT.fill(0.0);
    SAMPLES.CELL_COLL_COUNT.fill(0.0);
}

struct RateCase {
    double omega;
    int index_mode;
    int subcell_mode;
};

class SingleSpeciesRate : public ::testing::TestWithParam<RateCase> {};

}  // namespace

// Collisions per unit time equal N nu / 2, nu = 4 d^2 n sqrt(pi k T_ref / m) (T / T_ref)^(1 - omega)
// (Bird 1994, eq. 4.64), summed cell by cell as N (N - 1) / 2 FNUM / V <sigma c_r>. The count is
// Poisson: the tolerance is 4 / sqrt(count). Energy and momentum are conserved to 4-byte rounding.
TEST_P(SingleSpeciesRate, MatchesVhsTheory)
{
    RandomGuard keep;
    DiagLog log;
    const RateCase rc = GetParam();
    TestCase c;
    c.temperature = 500.0;
    c.index_mode = rc.index_mode;
    c.subcell_mode = rc.subcell_mode;
    c.species = {argon(rc.omega)};
    make_case(c);
    ASSERT_NEAR(MOLECULES.NM, 10000, 2);
    set_time_step(static_cast<float>(collision_time(c) * c.sf));
    // Warm-up: the bound on sigma c_r settles (a pair that raises it collides with certainty).
    for (int step = 1; step <= 3; ++step)
        one_collision_step();
    zero_counts();

    const Totals before = totals();
    const double T = translational_temperature();
    double expected = 0.0;
    for (int step = 1; step <= 12; ++step) {
        expected += 0.5 * expected_pair_count(c, census(1), 1, 1, T);
        one_collision_step();
    }
    const double counted = RUN.COLLISION_COUNT;
    RecordProperty("rate_ratio", std::to_string(counted / expected));
    EXPECT_NEAR(counted / expected, 1.0, 4.0 / std::sqrt(expected)) << counted << " collisions, " << expected;
    double cells = 0.0;
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j)
        cells += SAMPLES.CELL_COLL_COUNT(j);
    EXPECT_EQ(cells, counted);

    const Totals after = totals();
    const double m = c.species[0].mass;
    const double p_scale = MOLECULES.NM * m * std::sqrt(K * T / m);
    EXPECT_NEAR(after.energy() / before.energy(), 1.0, 1e-5);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((after.momentum[i] - before.momentum[i]) / p_scale, 0.0, 1e-6) << "axis " << i;
    EXPECT_NEAR(translational_temperature() / T, 1.0, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Omegas, SingleSpeciesRate,
                         ::testing::Values(RateCase{0.5, INDEX_NORMAL, SUBCELLS_NONE},
                                           RateCase{0.74, INDEX_CONTINUOUS, SUBCELLS_TRANSIENT},
                                           RateCase{1.0, INDEX_NORMAL, SUBCELLS_TRANSIENT}));

// A binary mixture of a heavy and a light species: PAIR_COLL_COUNT(p, q) per unit time equals
// N_p nu_pq (Bird 1994, eq. 4.76) for every pair, within 4 / sqrt(count); momentum and energy kept.
TEST(Collisions, BinaryMixtureMatchesPairRates)
{
    RandomGuard keep;
    DiagLog log;
    TestCase c;
    c.temperature = 400.0;
    c.species = {{4.17e-10, 273.0, 0.81, 6.63e-26, 0.6}, {2.33e-10, 273.0, 0.66, 6.65e-27, 0.4}};
    make_case(c);
    set_time_step(static_cast<float>(collision_time(c) * c.sf));
    for (int step = 1; step <= 3; ++step)
        one_collision_step();
    zero_counts();

    const Totals before = totals();
    const double T = translational_temperature();
    double expected[3][3] = {};
    for (int step = 1; step <= 12; ++step) {
        const auto n = census(2);
        for (int p = 1; p <= 2; ++p)
            for (int q = 1; q <= 2; ++q)
                expected[p][q] += expected_pair_count(c, n, p, q, T);
        one_collision_step();
    }
    for (int p = 1; p <= 2; ++p)
        for (int q = 1; q <= 2; ++q) {
            // A like pair counts 2 per collision: its Poisson error is that of half the count.
            const double collisions = p == q ? expected[p][q] / 2 : expected[p][q];
            RecordProperty("pair_ratio_" + std::to_string(p) + std::to_string(q),
                           std::to_string(SAMPLES.PAIR_COLL_COUNT(p, q) / expected[p][q]));
            EXPECT_NEAR(SAMPLES.PAIR_COLL_COUNT(p, q) / expected[p][q], 1.0, 4.0 / std::sqrt(collisions))
                << "pair " << p << "," << q;
        }
    EXPECT_EQ(SAMPLES.PAIR_COLL_COUNT(1, 2), SAMPLES.PAIR_COLL_COUNT(2, 1));
    EXPECT_EQ(RUN.COLLISION_COUNT, 0.5 * (SAMPLES.PAIR_COLL_COUNT(1, 1) + SAMPLES.PAIR_COLL_COUNT(2, 2)) +
                                       SAMPLES.PAIR_COLL_COUNT(1, 2));

    const Totals after = totals();
    const double p_scale = MOLECULES.NM * 6.63e-26 * std::sqrt(K * T / 6.63e-26);
    EXPECT_NEAR(after.energy() / before.energy(), 1.0, 1e-5);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((after.momentum[i] - before.momentum[i]) / p_scale, 0.0, 1e-6) << "axis " << i;
    // Equilibrium persists: each species keeps the common temperature (4 sigma of sqrt(2 / 3N)).
    for (int s = 1; s <= 2; ++s)
        EXPECT_NEAR(translational_temperature(s) / T, 1.0, 4.0 * std::sqrt(2.0 / (3.0 * 4000)))
            << "species " << s;
}

// A rotating (2 degrees of freedom, Z_r = 2) and vibrating (theta_v = 1000 K, Z_v = 2) gas started with
// all its energy in translation at 3000 K relaxes to the one temperature T that its energy fixes:
//   E / N = 3/2 k T + k T + k theta_v / (exp(theta_v / T) - 1)
// (harmonic oscillator). Each temperature is a mean over 40 samples of 10000 molecules, taken half a
// collision time apart: one sample's statistical error is about 1 % (vibrational), 0.8 %
// (translational) and 1 % (rotational), and the mean holds at least 10 independent samples, so 2 % is
// more than 5 sigma.
TEST(Collisions, HeatBathRelaxesToTheCommonTemperature)
{
    RandomGuard keep;
    DiagLog log;
    TestCase c;
    c.temperature = 3000.0;
    c.species = {{4.17e-10, 273.0, 0.74, 4.65e-26, 1.0, 2, 2, 1000.0, 2.0, 0.0}};
    make_case(c);
    ASSERT_NEAR(MOLECULES.NM, 10000, 2);
    auto& M = MOLECULES;
    for (int n = 1; n <= M.NM; ++n) {
        M.PV(PV_ROTATION, n) = 0.0f;
        M.MOL_VIB_LEVEL(1, n) = 0;
    }
    const Totals start = totals();
    const double theta = 1000.0;
    const double e = start.energy() / (M.NM * K);
    double lo = 100.0, hi = 3000.0;
    for (int i = 0; i < 100; ++i) {
        const double T = 0.5 * (lo + hi);
        (2.5 * T + theta / (std::exp(theta / T) - 1.0) < e ? lo : hi) = T;
    }
    const double Teq = 0.5 * (lo + hi);

    set_time_step(static_cast<float>(collision_time(c) * c.sf));
    for (int step = 1; step <= 20; ++step)
        one_collision_step();
    set_time_step(static_cast<float>(0.5 * collision_time(c) * c.sf));
    double tt = 0, tr = 0, tv = 0;
    const int samples = 40;
    for (int k = 1; k <= samples; ++k) {
        one_collision_step();
        const Totals t = totals();
        tt += translational_temperature();
        tr += t.rot / (M.NM * K);
        const double level = t.vib / (M.NM * K * theta);
        tv += theta / std::log(1.0 + 1.0 / level);
    }
    RecordProperty("T_ratios", std::to_string(tt / samples / Teq) + " " + std::to_string(tr / samples / Teq) +
                                   " " + std::to_string(tv / samples / Teq));
    EXPECT_NEAR(tt / samples / Teq, 1.0, 0.02) << "translational, Teq " << Teq;
    EXPECT_NEAR(tr / samples / Teq, 1.0, 0.02) << "rotational, Teq " << Teq;
    EXPECT_NEAR(tv / samples / Teq, 1.0, 0.02) << "vibrational, Teq " << Teq;
    EXPECT_NEAR(totals().energy() / start.energy(), 1.0, 1e-5);
}
