// Whole cases through the kernel's phases, against kinetic theory: the flowfield result VAR of a gas at
// rest in a closed box and of a uniform stream through an open box, and the surface result VARS of a
// body with diffuse walls at the gas temperature. Tolerances are five standard errors of the quantity from
// the size of its sample; where the samples of a run are correlated, the error of one snapshot of the box
// bounds the error of the time average from above.
#include "tests/kernel_physics/physics_case.h"

#include "tests/kernel_physics/run_folder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double K = 1.3806e-23;

using WholeRun = KernelRunTest;

// Runs passes until the given number of outputs has been made.
PhaseRun run_outputs(int outputs)
{
    PhaseRun r;
    while (RUN.OUTPUT_COUNT < outputs)
        r.run(1);
    return r;
}

// The flowfield result over the whole box: the volumes (true units) weight the number densities, the
// mean molecules per cell the temperatures, velocities and collision rates.
struct BoxMeans {
    double n = 0;  // number density
    double T = 0;  // overall temperature
    double u[3] = {0, 0, 0};
    double molecules = 0;  // sum over the cells of the mean molecules per cell
    double rate = 0;       // mean collision rate per molecule, 1 / (mean collision time)
};

BoxMeans box_means()
{
    BoxMeans b;
    const auto& VAR = RESULTS.VAR;
    const double scale3 = std::pow(double(BOX.SCALE_FACTOR), 3);
    double volume = 0;
    for (int c = 1; c <= CELLS.CELL_COUNT; ++c) {
        const double V = CELLS.CELL_DATA(CELL_VOLUME, c) / scale3;
        if (V <= 0.0)
            continue;
        const double N = VAR(VAR_MOLS_PER_CELL, c);
        b.n += VAR(VAR_NUMBER_DENSITY, c) * V;
        volume += V;
        b.T += VAR(VAR_TEMP, c) * N;
        for (int d = 0; d < 3; ++d)
            b.u[d] += VAR(VAR_U + d, c) * N;
        b.rate += N / VAR(VAR_COLL_TIME, c);
        b.molecules += N;
    }
    b.n /= volume;
    b.T /= b.molecules;
    for (double& u : b.u)
        u /= b.molecules;
    b.rate /= b.molecules;
    return b;
}

// A gas at rest in a closed box (every side specular) stays at its initial state: per cell and over
// the box, the number density, the temperature, zero velocity, and the VHS collision rate. One output
// of 36 collision times, so that the sample is the whole run (see the note in the report on the bound
// lowered at every output).
TEST_F(WholeRun, EquilibriumBoxGivesDensityTemperatureAndCollisionTime)
{
    PhysicsCase c;
    c.fnum = 2.5e14;  // 3200 molecules
    c.output_interval = 12.0;
    set_up_case(c);
    const int NM0 = MOLECULES.NM;
    ASSERT_NEAR(NM0, 3200, 1);
    PhaseRun r = run_outputs(1);
    EXPECT_EQ(r.draws_in_output, 0) << "sampling and output draw no random number";
    EXPECT_EQ(MOLECULES.NM, NM0) << "a closed box keeps its molecules";
    EXPECT_EQ(SAMPLES.SAMPLE_START_TIME, 0.0f) << "the sample is the whole run";

    const auto& VAR = RESULTS.VAR;
    const double T0 = c.temperature, m = c.mass;
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j) {
        const double N = VAR(VAR_MOLS_PER_CELL, j);
        ASSERT_GT(N, 300.0) << j;
        EXPECT_NEAR(VAR(VAR_NUMBER_DENSITY, j), c.density, 5.0 * c.density / std::sqrt(N)) << j;
        EXPECT_NEAR(VAR(VAR_TRANS_TEMP, j), T0, 5.0 * T0 * std::sqrt(2.0 / (3.0 * N))) << j;
        EXPECT_EQ(VAR(VAR_TEMP, j), VAR(VAR_TRANS_TEMP, j)) << "a gas without internal energy";
        for (int d = 0; d < 3; ++d)
            EXPECT_NEAR(VAR(VAR_U + d, j), 0.0, 5.0 * std::sqrt(K * T0 / m / N)) << j;
        EXPECT_NEAR(VAR(VAR_PRESSURE, j), double(VAR(VAR_NUMBER_DENSITY, j)) * K * VAR(VAR_TEMP, j),
                    1e-5 * VAR(VAR_PRESSURE, j));
        // Mean free path: mean speed times mean collision time (Bird 1994, eq. 4.65).
        EXPECT_NEAR(VAR(VAR_MFP, j), mean_speed(VAR(VAR_TRANS_TEMP, j), m) * VAR(VAR_COLL_TIME, j),
                    1e-4 * VAR(VAR_MFP, j));
    }
    const BoxMeans b = box_means();
    // The box holds a fixed number of molecules: the volume-weighted density is the initial one, which
    // is the stream's within the error of the initial fill.
    const double n0 = NM0 * c.fnum / (0.2 * 0.2 * 0.2);
    EXPECT_NEAR(b.n, n0, 1e-4 * n0);
    EXPECT_NEAR(n0, c.density, 5.0 * c.density / std::sqrt(NM0));
    // Its energy is fixed too (specular walls, elastic collisions): the error is the initial draw's.
    EXPECT_NEAR(b.T, T0, 5.0 * T0 * std::sqrt(2.0 / (3.0 * NM0)));
    // Collision rate of the VHS gas at the measured n and T: the count of the sample is Poisson.
    const double collisions = RUN.COLLISION_COUNT;
    ASSERT_GT(collisions, 40000.0);
    const double nu = collision_rate(c, b.n, b.T);
    EXPECT_NEAR(b.rate, nu, 5.0 * nu / std::sqrt(collisions));
}

// A uniform stream through a box open on every side keeps its velocity, temperature and density: the
// entry at the six sides and the removal of leaving molecules balance. The second output's sample
// begins after one output interval, when most molecules of the initial fill have left.
TEST_F(WholeRun, UniformStreamKeepsItsVelocityAndTemperature)
{
    PhysicsCase c;
    c.density = 1.0e19;
    c.fnum = 2.0e13;  // 4000 molecules
    c.velocity[0] = 300.0;
    c.velocity[1] = -200.0;
    c.velocity[2] = 100.0;
    for (int& code : c.codes)
        code = 3;
    c.output_interval = 8.0;
    c.steady_after = 2;
    set_up_case(c);
    const int NM0 = MOLECULES.NM;
    PhaseRun r = run_outputs(2);
    EXPECT_EQ(r.draws_in_output, 0);
    EXPECT_GT(SAMPLES.SAMPLE_START_TIME, 0.0f) << "the first output reset the sample";
    EXPECT_GT(RUN.ENTRY_COUNT, 2.0 * NM0) << "the box has been refilled by the entry";

    const BoxMeans b = box_means();
    const double T0 = c.temperature;
    const double sigma_u = std::sqrt(K * T0 / c.mass / NM0);
    for (int d = 0; d < 3; ++d)
        EXPECT_NEAR(b.u[d], c.velocity[d], 5.0 * sigma_u) << d;
    EXPECT_NEAR(b.T, T0, 5.0 * T0 * std::sqrt(2.0 / (3.0 * NM0)));
    EXPECT_NEAR(b.n, c.density, 5.0 * c.density / std::sqrt(NM0));
    // Per cell, the speed and the Mach number of the stream: speed / sqrt(5/3 k T / m).
    const double speed = std::sqrt(300.0 * 300.0 + 200.0 * 200.0 + 100.0 * 100.0);
    for (int j = 1; j <= CELLS.CELL_COUNT; ++j) {
        const double N = RESULTS.VAR(VAR_MOLS_PER_CELL, j);
        const float* v = &RESULTS.VAR(VAR_U, j);
        EXPECT_NEAR(RESULTS.VAR(VAR_SPEED, j),
                    std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]), 1e-3);
        EXPECT_NEAR(RESULTS.VAR(VAR_SPEED, j), speed, 5.0 * std::sqrt(K * T0 / c.mass / N)) << j;
        // Mach number: the errors of the speed and, through the speed of sound, of the temperature.
        const double a = std::sqrt(5.0 / 3.0 * K * T0 / c.mass), mach = speed / a;
        EXPECT_NEAR(RESULTS.VAR(VAR_MACH, j), mach,
                    5.0 * (std::sqrt(K * T0 / c.mass / N) / a + 0.5 * mach * std::sqrt(2.0 / (3.0 * N))))
            << j;
    }
}

// A block in a closed box, its walls diffuse at the gas temperature: every face sees the equilibrium
// gas, so the number flux is n cbar / 4, the pressure (incident plus reflected normal momentum) n k T,
// and the shear stresses and the net heat flux vanish (Bird 1994, sections 4.4 and 4.5). Nitrogen with
// rotation, so that the heat flux carries internal energy both ways.
//
// The move stops a molecule at the surface it meets and drops the rest of its step, so the hits fall
// short of n cbar / 4 by a fraction that grows with the step: about 9 % at 3 moves per cell transit,
// 3 % at 10, 1 % at 30 (bench/physics_bench.cpp). The case takes 10 moves per transit, inside its
// tolerance of five standard errors (about 6 % over the body), and divisions small enough that the box
// faces lie in divisions without surfaces. The sample
// begins at the first output, after the gas has filled the elements next to the body, which the
// initial state leaves empty.
TEST_F(WholeRun, DiffuseBodyAtGasTemperatureSeesEquilibriumFluxes)
{
    const PhysicsCase c = diffuse_body_case(1.25e13, 10);  // 6000 molecules
    set_up_case(c);
    ASSERT_EQ(SURFACE.SOLID_TRIANGLE_COUNT, 12);
    const int NM0 = MOLECULES.NM;
    PhaseRun r = run_outputs(5);
    EXPECT_EQ(r.draws_in_output, 0);
    EXPECT_EQ(MOLECULES.NM, NM0) << "a closed box keeps its molecules";
    EXPECT_GT(SAMPLES.SAMPLE_START_TIME, 0.0f) << "the first output reset the sample";

    // The gas: the molecules of the flow volume, at the wall temperature.
    const double n = NM0 * c.fnum / DIFFUSE_BODY_FLOW_VOLUME;
    EXPECT_NEAR(n, c.density, 5.0 * c.density / std::sqrt(NM0));
    const double T = c.wall_temperature;
    const double flux = n * mean_speed(T, c.mass) / 4.0, pressure = n * K * T;
    const auto& V = RESULTS.VARS;
    double hits = 0, area = 0, flux_sum = 0, pressure_sum = 0, net_heat = 0, incident_heat = 0;
    for (int k = 1; k <= 12; ++k) {
        // Hits are Poisson; per hit the normal momentum (incident + reflected) has a relative spread of
        // 0.37, a tangential momentum component 0.56 of the mean normal momentum, and the net energy
        // (translational 2kT and rotational kT each way, variances 2 (kT)^2 and (kT)^2) 0.82 of the mean
        // incident energy.
        const double S1 = V(VARS_SAMPLE_SIZE, k);
        ASSERT_GT(S1, 200.0) << k;
        const double e = 1.0 / std::sqrt(S1);
        EXPECT_NEAR(V(VARS_NUMBER_FLUX, k), flux, 5.0 * e * flux) << k;
        EXPECT_NEAR(V(VARS_PRESSURE, k), pressure, 5.0 * 1.07 * e * pressure) << k;
        EXPECT_NEAR(V(VARS_SHEAR_1, k), 0.0, 5.0 * 0.56 * e * pressure) << k;
        EXPECT_NEAR(V(VARS_SHEAR_1 + 1, k), 0.0, 5.0 * 0.56 * e * pressure) << k;
        EXPECT_NEAR(V(VARS_NET_HEAT, k), 0.0, 5.0 * 0.82 * e * V(VARS_INCIDENT_HEAT, k)) << k;
        EXPECT_LT(V(VARS_REFLECTED_HEAT, k), 0.0f) << k;
        EXPECT_EQ(V(VARS_SURFACE_TEMP, k), 300.0f) << k;
        EXPECT_EQ(V(VARS_FRACTION + 1, k), 1.0f) << k;
        const double a = SURFACE.TRIANGLE_GEOMETRY(5, SURFACE.SOLID_TRIANGLE(1, k));
        hits += S1;
        area += a;
        flux_sum += V(VARS_NUMBER_FLUX, k) * a;
        pressure_sum += V(VARS_PRESSURE, k) * a;
        net_heat += V(VARS_NET_HEAT, k) * a;
        incident_heat += V(VARS_INCIDENT_HEAT, k) * a;
    }
    // Over the whole body.
    const double e = 1.0 / std::sqrt(hits);
    EXPECT_NEAR(flux_sum / area, flux, 5.0 * e * flux);
    EXPECT_NEAR(pressure_sum / area, pressure, 5.0 * 1.07 * e * pressure);
    EXPECT_NEAR(net_heat / area, 0.0, 5.0 * 0.82 * e * incident_heat / area);
    // Per hit: the normal momentum sqrt(2 pi m k T), and the incident energy 2kT translational plus kT
    // rotational (relative spread 0.58).
    EXPECT_NEAR(pressure_sum / flux_sum, pressure / flux, 5.0 * 0.37 * e * pressure / flux);
    EXPECT_NEAR(incident_heat / flux_sum, 3.0 * K * T, 5.0 * 0.58 * e * 3.0 * K * T);
}

}  // namespace
