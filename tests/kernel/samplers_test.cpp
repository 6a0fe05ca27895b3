// The equilibrium samplers against theory: 10^6 draws each, tolerances of five standard errors.
#include "app/kernel/samplers.h"

#include "app/kernel/constants.h"
#include "app/state/gas.h"
#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr int DRAWS = 1000000;

// Gas of one species with the given rotational degrees of freedom and one vibrational mode.
void set_gas(int rotational_dof, float theta_v)
{
    GAS = GasState{};
    GAS.SPECIES_COUNT = 1;
    GAS.MAX_VIB_MODES = 1;
    GAS.SPECIES_ROTATION.allocate(2, 1);
    GAS.SPECIES_ROTATION(1, 1) = rotational_dof;
    GAS.VIB_TEMP.allocate(1, 1);
    GAS.VIB_TEMP(1, 1) = theta_v;
}

// Simpson's rule on [a, b] with n (even) intervals.
double integrate(const std::function<double(double)>& f, double a, double b, int n = 20000)
{
    const double h = (b - a) / n;
    double s = f(a) + f(b);
    for (int i = 1; i < n; ++i)
        s += f(a + i * h) * (i % 2 ? 4.0 : 2.0);
    return s * h / 3.0;
}

struct Moments {
    double mean = 0.0;
    double var = 0.0;
};

// Mean and variance of x = E/kT for the energy density x^(zr/2 - 1) e^-x cut at 10 kT, where the
// rejection of the sampler draws its trials; zr = 2 has no cut (exponential).
Moments rotational_theory(int zr)
{
    const double a = 0.5 * zr - 1.0;
    if (zr == 2)
        return {1.0, 1.0};
    if (zr == 1)
        return {0.5, 0.5};  // gamma(1/2): mean 1/2, variance 1/2
    auto w = [a](double x) { return x <= 0.0 ? 0.0 : std::pow(x, a) * std::exp(-x); };
    const double z = integrate(w, 0.0, 10.0);
    const double m1 = integrate([&](double x) { return x * w(x); }, 0.0, 10.0) / z;
    const double m2 = integrate([&](double x) { return x * x * w(x); }, 0.0, 10.0) / z;
    return {m1, m2 - m1 * m1};
}

}  // namespace

// Abramowitz and Stegun bound 7.1.26 to 1.5e-7; the 4-byte result adds at most half its last place.
TEST(Erf, FollowsTheExactFunctionWithinTheApproximationError)
{
    for (int i = -5000; i <= 5000; ++i) {
        const float s = static_cast<float>(i * 1.0e-3);
        const float e = ERF(s);
        const double half_ulp = 0.5 * (std::nextafter(std::fabs(e), 2.0f) - std::fabs(e));
        ASSERT_LE(std::fabs(double(e) - std::erf(double(s))), 1.5e-7 + half_ulp) << "s = " << s;
    }
}

TEST(Erf, IsOddAndExactlyOneFromFourOn)
{
    EXPECT_EQ(ERF(4.0f), 1.0f);
    EXPECT_EQ(ERF(25.0f), 1.0f);
    EXPECT_EQ(ERF(-4.0f), -1.0f);
    EXPECT_NEAR(ERF(0.0f), 0.0f, 1.0e-7);
    for (float s : {0.1f, 0.5f, 1.3f, 2.7f, 3.99f})
        EXPECT_EQ(ERF(-s), -ERF(s)) << s;
}

TEST(MaxwellianPair, ComponentsAreIndependentNormalsOfVarianceHalfVSquared)
{
    RandomGuard keep;
    const float v = 400.0f;
    double s1 = 0, s2 = 0, q1 = 0, q2 = 0, c12 = 0;
    for (int i = 0; i < DRAWS; ++i) {
        float c1, c2;
        SAMPLE_MAXWELLIAN_PAIR(c1, c2, v);
        const double x = c1 / v, y = c2 / v;
        s1 += x;
        s2 += y;
        q1 += x * x;
        q2 += y * y;
        c12 += x * y;
    }
    // x ~ N(0, 1/2): the mean has standard error sqrt(0.5 / N), the mean square sqrt(2 (1/2)^2 / N),
    // the product x y sqrt(1/4 / N).
    const double n = DRAWS;
    EXPECT_NEAR(s1 / n, 0.0, 5 * std::sqrt(0.5 / n));
    EXPECT_NEAR(s2 / n, 0.0, 5 * std::sqrt(0.5 / n));
    EXPECT_NEAR(q1 / n, 0.5, 5 * std::sqrt(0.5 / n));
    EXPECT_NEAR(q2 / n, 0.5, 5 * std::sqrt(0.5 / n));
    EXPECT_NEAR(c12 / n, 0.0, 5 * std::sqrt(0.25 / n));
}

TEST(MaxwellianPair, ZeroSpeedGivesZeroComponentsAndDrawsTwoNumbers)
{
    RandomGuard keep;
    const RandomState before = RANDOM_STATE;
    float c1 = 1.0f, c2 = 1.0f;
    SAMPLE_MAXWELLIAN_PAIR(c1, c2, 0.0f);
    EXPECT_EQ(c1, 0.0f);
    EXPECT_EQ(c2, 0.0f);
    RANDOM_STATE = before;
    random_uniform();
    random_uniform();
    const RandomState after_two = RANDOM_STATE;
    RANDOM_STATE = before;
    SAMPLE_MAXWELLIAN_PAIR(c1, c2, 0.0f);
    EXPECT_EQ(RANDOM_STATE.s1, after_two.s1);
    EXPECT_EQ(RANDOM_STATE.s2, after_two.s2);
}

// Mean and variance of E / kT against the (cut) gamma distribution of zr / 2 degrees of freedom.
TEST(RotationalEnergy, MeanIsHalfKTPerDegreeOfFreedom)
{
    RandomGuard keep;
    const float T = 300.0f;
    const double kT = double(BOLTZ) * T;
    for (int zr : {1, 2, 3, 4, 6}) {
        set_gas(zr, 1000.0f);
        double s = 0, q = 0;
        for (int i = 0; i < DRAWS; ++i) {
            float E;
            SAMPLE_ROTATIONAL_ENERGY(1, T, E);
            ASSERT_GE(E, 0.0f);
            const double x = E / kT;
            s += x;
            q += x * x;
        }
        const Moments th = rotational_theory(zr);
        const double mean = s / DRAWS;
        const double var = q / DRAWS - mean * mean;
        EXPECT_NEAR(mean, th.mean, 5 * std::sqrt(th.var / DRAWS)) << "zr " << zr;
        EXPECT_NEAR(var, th.var, 0.02 * th.var) << "zr " << zr;
        if (zr >= 3) {
            EXPECT_NEAR(th.mean, 0.5 * zr, 0.1) << "zr " << zr;  // the cut at 10 kT is small
        }
    }
}

// Levels of the harmonic oscillator: P(level >= n) = q^n with q = exp(-theta / T).
TEST(VibLevel, LevelsAreGeometricWithRatioExpMinusThetaOverT)
{
    RandomGuard keep;
    const float theta = 1000.0f, T = 2000.0f;
    set_gas(2, theta);
    std::vector<int> counts(128, 0);
    for (int i = 0; i < DRAWS; ++i) {
        int8_t level;
        SAMPLE_VIB_LEVEL(1, T, level, 1);
        ASSERT_GE(level, 0);
        ++counts[static_cast<std::size_t>(level)];
    }
    const double q = std::exp(-double(theta) / T);
    for (int n = 0; n <= 6; ++n) {
        const double p = (1 - q) * std::pow(q, n);
        EXPECT_NEAR(counts[n] / double(DRAWS), p, 5 * std::sqrt(p * (1 - p) / DRAWS)) << "level " << n;
    }
}

TEST(VibLevel, HighLevelsAreHeldAt127)
{
    RandomGuard keep;
    set_gas(2, 10.0f);
    const float T = 10000.0f;  // mean level 1000
    int at_cap = 0;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        int8_t level;
        SAMPLE_VIB_LEVEL(1, T, level, 1);
        ASSERT_GE(level, 0);
        ASSERT_LE(level, 127);
        at_cap += level == 127 ? 1 : 0;
    }
    // P(-ln r T / theta >= 127) = exp(-0.127)
    const double p = std::exp(-127.0 * 10.0 / 10000.0);
    EXPECT_NEAR(at_cap / double(n), p, 5 * std::sqrt(p * (1 - p) / n));
}
