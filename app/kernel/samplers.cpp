// The equilibrium distributions of the kernel (Bird 1994, appendix C): the error function of the entry
// fluxes and the samplers used wherever a molecule is made or re-emitted in equilibrium at a given
// temperature. Each draw takes the next uniform random number of the run; the order of the draws is
// part of the behaviour (a repeated run draws the same sequence).
#include "app/kernel/samplers.h"

#include "app/kernel/constants.h"
#include "app/state/gas.h"
#include "base/random.h"

#include <cmath>

// ERF: erf(S) by the rational approximation of Abramowitz and Stegun 7.1.26 (absolute error below
// 1.5e-7 before the result is rounded to 4 bytes), with 4-byte coefficients; exactly +-1 for |S| >= 4.
float ERF(float S)
{
    constexpr float P = 0.3275911f;
    constexpr float A1 = 0.254829592f;
    constexpr float A2 = -0.284496736f;
    constexpr float A3 = 1.421413741f;
    constexpr float A4 = -1.453152027f;
    constexpr float A5 = 1.061405429f;
    const float x = std::fabs(S);
    float e = 1.0f;
    if (x < 4.0f) {
        // E and t stay in double: rounding them to 4 bytes would add up to 8e-8 to the 1.5e-7 of the
        // approximation; only the result is rounded.
        const double E = std::exp(-double(x) * x);
        const double t = 1.0 / (1.0 + double(P) * x);
        const double poly = t * (A1 + t * (A2 + t * (A3 + t * (A4 + t * double(A5)))));
        e = static_cast<float>(1.0 - poly * E);
    }
    return S < 0.0f ? -e : e;
}

// SAMPLE_ROTATIONAL_ENERGY: energy E (J) of species L's rotational modes in equilibrium at temperature
// T. Two degrees of freedom give an exponential energy; more use the acceptance-rejection of
// Bird 1994 (11.23) on x = E / kT in [0, 10) with the ratio of the gamma density to its maximum.
// Reads SPECIES_ROTATION.
void SAMPLE_ROTATIONAL_ENERGY(int L, float T, float& E)
{
    const int zr = GAS.SPECIES_ROTATION(1, L);
    if (zr == 2) {
        E = static_cast<float>(-std::log(random_uniform()) * BOLTZ * T);
        return;
    }
    if (zr == 1) {
        // One degree of freedom: the rejection below has no sound acceptance ratio (a negative base
        // under a fractional power), so x = z^2 / 2 with z a unit normal deviate, which is the exact
        // gamma(1/2) energy: -ln(r1) sin^2(2 pi r2).
        const double a = -std::log(random_uniform());
        const double s = std::sin(2.0 * double(PI4) * random_uniform());
        E = static_cast<float>(a * s * s * BOLTZ * T);
        return;
    }
    if (zr <= 0) {
        E = 0.0f;
        return;
    }
    const float a = static_cast<float>(0.5 * zr - 1.0);
    float x;
    for (;;) {
        x = static_cast<float>(10.0 * random_uniform());
        const float P = static_cast<float>(std::pow(double(x) / a, double(a)) * std::exp(double(a) - x));
        if (random_uniform() < P)
            break;
    }
    E = static_cast<float>(double(x) * BOLTZ * T);
}

// SAMPLE_VIB_LEVEL: vibrational level of mode K of species L in equilibrium at temperature T, for the
// harmonic oscillator: int(-ln(r) T / theta_v), geometric with ratio exp(-theta_v / T), at most 127.
// Reads VIB_TEMP.
void SAMPLE_VIB_LEVEL(int L, float T, int8_t& level, int K)
{
    const double x = -std::log(random_uniform()) * T / GAS.VIB_TEMP(K, L);
    level = x >= 127.0 ? int8_t{127} : static_cast<int8_t>(x);
}

// SAMPLE_MAXWELLIAN_PAIR: two independent velocity components of the Maxwellian with most probable
// speed v (Box-Muller: amplitude sqrt(-ln r1), angle 2 pi r2); each has variance v^2 / 2 = kT/m.
void SAMPLE_MAXWELLIAN_PAIR(float& c1, float& c2, float v)
{
    const float A = static_cast<float>(std::sqrt(-std::log(random_uniform())));
    const float theta = static_cast<float>(double(6.2831855f) * random_uniform());
    c1 = static_cast<float>(double(A) * std::sin(double(theta)) * v);
    c2 = static_cast<float>(double(A) * std::cos(double(theta)) * v);
}
