// A body close to the stream faces: a faceted sphere in a free-molecular argon stream, its front in the
// divisions of the inflow face, so that the elements at that face are partly inside it and every
// molecule entering there goes through the take-back test of a face point inside a body. The body must
// see the undisturbed stream: the number flux on each front triangle and the drag of the whole body are
// those of free-molecular flow on the faceted body (before the mend the entry took back molecules that
// lay behind the plane of any triangle of their division: the front triangles received 3 to 40 % of
// their flux and the drag was 2.4 % low).
#include "tests/kernel_physics/physics_case.h"

#include "tests/kernel_physics/run_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr double K = 1.3806e-23;
const double SQRT_PI = std::sqrt(std::numbers::pi);

using BodyNearFace = KernelRunTest;

// Free-molecular flow on one side of a flat plate (Bird 1994, chapter 7): a Maxwellian stream of
// density n, most probable speed vmp and velocity U meets a plate whose unit normal, pointing into the
// flow, is nrm; the plate reflects diffusely at temperature Tw. Returns the incident number flux and the
// force per unit area on the plate.
struct PlateFlux {
    double number = 0;  // incident molecules per unit area and time
    double force[3] = {0, 0, 0};
};

PlateFlux plate_flux(double n, double m, double vmp, const double U[3], const double nrm[3], double Tw)
{
    PlateFlux f;
    const double un = U[0] * nrm[0] + U[1] * nrm[1] + U[2] * nrm[2];
    const double sn = -un / vmp;  // speed ratio of the stream towards the plate
    const double e = std::exp(-sn * sn), a = 1.0 + std::erf(sn);
    f.number = n * vmp / (2.0 * SQRT_PI) * (e + SQRT_PI * sn * a);
    const double p_in = n * m * vmp * vmp / (2.0 * SQRT_PI) * (sn * e + SQRT_PI * (0.5 + sn * sn) * a);
    const double p_out = f.number * m * std::sqrt(std::numbers::pi * K * Tw / (2.0 * m));  // diffuse effusion
    for (int d = 0; d < 3; ++d) {
        const double tangential = U[d] - un * nrm[d];  // the stream's tangential velocity, carried in
        f.force[d] = -(p_in + p_out) * nrm[d] + f.number * m * tangential;
    }
    return f;
}

TEST_F(BodyNearFace, SphereNearTheInflowFaceSeesTheUndisturbedStream)
{
    PhysicsCase c;
    for (int d = 0; d < 3; ++d)
        c.high[d] = 0.4;
    for (int& code : c.codes)
        code = 3;
    for (int d = 0; d < 3; ++d)
        c.divisions[d] = 4, c.elements[d] = 1;  // divisions and elements of 0.1 m
    c.density = 1.0e14;                         // a mean free path of some 10 km: free-molecular
    c.fnum = 8.0e8;                             // 8000 molecules
    const double vmp = std::sqrt(2.0 * K * c.temperature / c.mass);
    c.velocity[0] = 2.4 * vmp;
    c.output_interval = 5.0;  // 0.5 ms, about one transit of the box
    c.steady_after = 2;       // the first output starts a new sample
    c.moves_per_transit = 1;
    c.body = true;
    c.shape = sphere({0.13f, 0.2f, 0.2f}, 0.1f, 6, 10);  // front at x = 0.03, in the face's divisions
    c.wall_temperature = c.temperature;
    set_up_case(c);
    const int triangles = SURFACE.SOLID_TRIANGLE_COUNT;
    ASSERT_EQ(triangles, 100);
    const double sf = BOX.SCALE_FACTOR;

    // The surface samples after the first output (the flow about the body established), pass by pass,
    // and the drag per output interval. A pass whose output started a new sample (the molecule count
    // may drift while the wake forms) is left out with its time.
    PhaseRun r;
    while (RUN.OUTPUT_COUNT < 1)
        r.run(1);
    std::vector<double> hits(triangles + 1, 0.0), last(triangles + 1);
    double last_momentum = 0.0, elapsed = 0.0;
    auto read_samples = [&] {
        for (int k = 1; k <= triangles; ++k)
            last[k] = SAMPLES.SURF_SAMPLE(1, SURFACE.SOLID_TRIANGLE(1, k), 1);
        last_momentum = SAMPLES.SURF_FORCE_SAMPLE(1, 1);
    };
    read_samples();
    std::vector<double> drag;  // per output interval
    for (int out = 2; out <= 11; ++out) {
        double momentum = 0.0, time = 0.0;
        while (RUN.OUTPUT_COUNT < out) {
            const float start = SAMPLES.SAMPLE_START_TIME;
            const double t = RUN.TIME;
            r.run(1);
            if (SAMPLES.SAMPLE_START_TIME == start) {
                for (int k = 1; k <= triangles; ++k)
                    hits[k] += SAMPLES.SURF_SAMPLE(1, SURFACE.SOLID_TRIANGLE(1, k), 1) - last[k];
                momentum += SAMPLES.SURF_FORCE_SAMPLE(1, 1) - last_momentum;
                time += (RUN.TIME - t) / sf;
            }
            read_samples();
        }
        drag.push_back(momentum * c.fnum / time);
        elapsed += time;
    }
    EXPECT_EQ(r.draws_in_output, 0);

    // Theory over the faceted body.
    const double U[3] = {c.velocity[0], 0.0, 0.0};
    double theory_drag = 0.0, chi2 = 0.0;
    int front = 0;
    for (int k = 1; k <= triangles; ++k) {
        const int t = SURFACE.SOLID_TRIANGLE(1, k);
        const auto& G = SURFACE.TRIANGLE_GEOMETRY;
        const double nrm[3] = {G(1, t), G(2, t), G(3, t)};
        const double area = G(5, t) / (sf * sf);
        const PlateFlux f = plate_flux(c.density, c.mass, vmp, U, nrm, c.wall_temperature);
        theory_drag += f.force[0] * area;
        if (nrm[0] < -0.5) {  // a front triangle
            const double expected = f.number * area * elapsed / c.fnum;
            ASSERT_GT(expected, 100.0) << k;
            chi2 += (hits[k] - expected) * (hits[k] - expected) / expected;
            ++front;
        }
    }
    // The hits of the front triangles are Poisson about the flux: their chi-square over `front` degrees
    // of freedom lies within three of its standard deviations of its mean.
    ASSERT_GE(front, 16);
    EXPECT_LT(chi2, front + 3.0 * std::sqrt(2.0 * front)) << front << " front triangles";

    // The drag: the mean over the output intervals, with the standard error of their spread.
    double mean = 0, var = 0;
    for (double d : drag)
        mean += d;
    mean /= drag.size();
    for (double d : drag)
        var += (d - mean) * (d - mean);
    const double se = std::sqrt(var / (drag.size() - 1) / drag.size());
    std::printf("%d front triangles: chi-square %.1f; drag / theory %.4f, standard error %.4f\n", front, chi2,
                mean / theory_drag, se / theory_drag);
    EXPECT_NEAR(mean, theory_drag, 3.0 * se) << "drag " << mean << " against " << theory_drag;
    EXPECT_LT(se, 0.01 * theory_drag) << "the statistics the tolerance rests on";
}

}  // namespace
