// ENTER_MOLECULES at the surfaces: molecules entering from a flow-entry triangle (count, side,
// normal-velocity distribution in the triangle's frame), a triangle whose molecules find no cell, and
// outgassing from a solid triangle with its surface sample and the adiabatic wall's degrees of freedom.
#include "app/kernel/enter_molecules.h"

#include "tests/kernel_collide/collide_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr double K = double(BOLTZ);
const double SQRT_PI_D = std::sqrt(std::numbers::pi);
const TestSpecies NITROGEN{4.17e-10, 273.0, 0.74, 4.65e-26, 1.0, 2, 5, 3371.0, 9.1, 220.0};

struct Vec {
    double x, y, z;
};
double dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Triangle 1 (kind +1 solid or -1 flow-entry) in the box of the fixture (scaled 0..10 on each axis): a
// right triangle with legs of `leg` from `corner` along the unit vectors t1 = (0, nz, -ny) / |.|
// (or y for a normal along x) and t2 = n x t1, unit normal n into the flow.
void set_triangle(int kind, Vec n, Vec corner, double leg)
{
    auto& S = SURFACE;
    const double A = std::sqrt(n.y * n.y + n.z * n.z);
    const Vec t1 = A > 1e-6 ? Vec{0, n.z / A, -n.y / A} : Vec{0, 1, 0};
    const Vec t2 = {n.y * t1.z - n.z * t1.y, n.z * t1.x - n.x * t1.z, n.x * t1.y - n.y * t1.x};
    const Vec p[3] = {corner,
                      {corner.x + leg * t1.x, corner.y + leg * t1.y, corner.z + leg * t1.z},
                      {corner.x + leg * t2.x, corner.y + leg * t2.y, corner.z + leg * t2.z}};
    S.POINT_COUNT = 3;
    S.TRIANGLE_COUNT = 1;
    S.POINT_X.allocate(3), S.POINT_Y.allocate(3), S.POINT_Z.allocate(3);
    for (int i = 1; i <= 3; ++i) {
        S.POINT_X(i) = float(p[i - 1].x);
        S.POINT_Y(i) = float(p[i - 1].y);
        S.POINT_Z(i) = float(p[i - 1].z);
    }
    S.TRIANGLE.allocate(6, 1);
    S.TRIANGLE(1, 1) = 1, S.TRIANGLE(2, 1) = 2, S.TRIANGLE(3, 1) = 3, S.TRIANGLE(TRIANGLE_KIND, 1) = kind;
    S.TRIANGLE_GEOMETRY.allocate(5, 1);
    S.TRIANGLE_GEOMETRY(1, 1) = float(n.x), S.TRIANGLE_GEOMETRY(2, 1) = float(n.y);
    S.TRIANGLE_GEOMETRY(3, 1) = float(n.z);
    S.TRIANGLE_GEOMETRY(4, 1) = float(-dot(n, corner));
    S.TRIANGLE_GEOMETRY(5, 1) = float(0.5 * leg * leg);
    const int ns = GAS.SPECIES_COUNT;
    if (kind < 0) {
        S.ENTRY_TRIANGLE_COUNT = 1;
        S.ENTRY_TRIANGLE.allocate(1);
        S.ENTRY_TRIANGLE(1) = 1;
        S.ENTRY_PROPERTIES.allocate(5, 1);
        S.ENTRY_SPECIES_PROPERTIES.allocate(7, ns, 1);
        S.ENTRY_SPECIES_PROPERTIES(1, 1, 1) = 1.0f;  // species fraction
    } else {
        S.SOLID_TRIANGLE_COUNT = 1;
        S.SOLID_TRIANGLE.allocate(2, 1);
        S.SOLID_TRIANGLE(1, 1) = 1;
        S.SOLID_PROPERTIES.allocate(4, 1);
        S.SOLID_SPECIES_PROPERTIES.allocate(3, ns, 1);
    }
}

// An empty box of nitrogen (all sides vacuum) holding one triangle set by `set`.
void make_surface_case(const std::function<void()>& set, double fnum)
{
    TestCase c;
    c.initial_state = 2;
    c.fnum = fnum;
    c.mnm = 100000;
    c.species = {NITROGEN};
    c.before_initialise = [&] {
        for (int k = 1; k <= 6; ++k)
            BOX.BOUNDARY_CODE(k) = BOUNDARY_VACUUM;
        set();
    };
    make_case(c);
}

Vec velocity(int m)
{
    return {MOLECULES.PV(1, m), MOLECULES.PV(2, m), MOLECULES.PV(3, m)};
}

Vec position(int m)
{
    return {MOLECULES.MOL_POS(1, m), MOLECULES.MOL_POS(2, m), MOLECULES.MOL_POS(3, m)};
}

struct EntryTriangleCase {
    Vec normal;
    double s;  // speed ratio of the gas along the normal
};

class FlowEntryTriangle : public ::testing::TestWithParam<EntryTriangleCase> {};

}  // namespace

// The molecules entered per step equal the one-sided flux of the gas behind the triangle x its area x
// DTM / FNUM within 1 %; each lies in front of the triangle, moves into the flow, and the mean normal
// speed ratio and the tangential velocity match the drifting Maxwellian within 4 standard errors (which
// they do only when the triangle-frame velocity is turned into x, y, z correctly).
TEST_P(FlowEntryTriangle, AdmitsTheOneSidedFluxInFrontOfTheTriangle)
{
    RandomGuard keep;
    DiagLog log;
    const EntryTriangleCase ec = GetParam();
    const Vec n = ec.normal;
    const double vmp = std::sqrt(2.0 * K * 300.0 / NITROGEN.mass);
    const double F = std::exp(-ec.s * ec.s) + SQRT_PI_D * ec.s * (1.0 + std::erf(ec.s));
    make_surface_case(
        [&] {
            set_triangle(-1, n, {5, 5, 5}, 3.0);
            auto& EP = SURFACE.ENTRY_PROPERTIES;
            EP(1, 1) = float(ec.s * vmp * n.x), EP(2, 1) = float(ec.s * vmp * n.y),
                  EP(3, 1) = float(ec.s * vmp * n.z);
            EP(4, 1) = 300.0f;
            EP(5, 1) = 1.0e21f;
        },
        1.0e10 * F);
    const int steps = 5;
    const int entered = run_entry(steps);
    const double sf = BOX.SCALE_FACTOR;
    const double area = 4.5 / (sf * sf);
    const double flux = 1.0e21 * vmp / (2.0 * SQRT_PI_D) * F;
    const double expected = flux * area * (RUN.DTM / sf) / RUN.FNUM * steps;
    ASSERT_GT(expected, 3000.0);
    EXPECT_NEAR(entered / expected, 1.0, 0.01) << entered << " of " << expected;
    EXPECT_EQ(RUN.ENTRY_COUNT, entered);

    double sum_n = 0, sq_n = 0, sum_t = 0;
    const Vec corner{5, 5, 5};
    for (int m = 1; m <= entered; ++m) {
        const Vec v = velocity(m), p = position(m);
        const double vn = dot(v, n);
        ASSERT_GT(vn, 0.0);
        ASSERT_GE(dot({p.x - corner.x, p.y - corner.y, p.z - corner.z}, n), -1e-5);
        ASSERT_GE(MOLECULES.IP(IP_CELL, m), 1);
        sum_n += vn / vmp;
        sq_n += vn * vn / (vmp * vmp);
        const Vec vt{v.x - vn * n.x, v.y - vn * n.y, v.z - vn * n.z};
        sum_t += (vt.x + vt.y + vt.z) / vmp;
    }
    const double mean_ratio = mean_entry_ratio(ec.s);
    const double mean = sum_n / entered;
    const double sd = std::sqrt(sq_n / entered - mean * mean);
    EXPECT_NEAR(mean, mean_ratio, 4.0 * sd / std::sqrt(double(entered)));
    // The sum of the three tangential components is the tangential velocity along the projection of
    // (1, 1, 1) on the triangle's plane: variance vmp^2 / 2 x the projection's squared length.
    const double projection = 3.0 - dot(n, {1, 1, 1}) * dot(n, {1, 1, 1});
    EXPECT_NEAR(sum_t / entered, 0.0, 4.0 * std::sqrt(projection / 2.0 / entered));
}

INSTANTIATE_TEST_SUITE_P(Normals, FlowEntryTriangle,
                         ::testing::Values(EntryTriangleCase{{1, 0, 0}, 0.0},
                                           EntryTriangleCase{{-1, 0, 0}, 1.0},
                                           EntryTriangleCase{{0.48, 0.6, 0.64}, 0.0},
                                           EntryTriangleCase{{0.48, -0.6, 0.64}, 2.0}));

// A flow-entry triangle whose molecules find no cell (its elements belong to none) gives up every
// molecule due after the draws: one " Stream entry element, no cell" line and one ROUNDOFF_COUNT step
// each, and no molecule.
TEST(FlowEntryTriangleEdge, MoleculesWithoutACellAreGivenUpAndReported)
{
    RandomGuard keep;
    DiagLog log;
    make_surface_case(
        [&] {
            set_triangle(-1, {1, 0, 0}, {5, 3, 3}, 4.0);
            SURFACE.ENTRY_PROPERTIES(4, 1) = 300.0f;
            SURFACE.ENTRY_PROPERTIES(5, 1) = 1.0e21f;
        },
        1.0e14);
    DIVISIONS.ELEMENT_CELL.fill(0);
    SURFACE.ENTRY_SPECIES_PROPERTIES(2, 1, 1) = static_cast<float>(2.5 / RUN.DTM);
    run_entry(1);
    EXPECT_EQ(MOLECULES.NM, 0);
    EXPECT_EQ(RUN.ROUNDOFF_COUNT, 2);
    EXPECT_EQ(RUN.ENTRY_COUNT, 0.0);
    EXPECT_EQ(log.count(" Stream entry element, no cell"), 2);
    EXPECT_NEAR(SURFACE.ENTRY_SPECIES_PROPERTIES(3, 1, 1), 0.5f, 1e-5f);
}

// A solid triangle at 500 K outgasses its mass flux / m x area x DTM / FNUM molecules per step (1 %),
// diffusely: every one leaves into the flow with mean translational energy 2kT (Gamma(2) in kT, 4
// standard errors); the surface sample holds them as reflected molecules, to rounding.
TEST(Outgassing, EmitsDiffuselyAndSamplesTheReflectedFlux)
{
    RandomGuard keep;
    DiagLog log;
    const double mass_flux = 2.5e-3;  // kg / m^2 / s
    make_surface_case(
        [&] {
            set_triangle(+1, {1, 0, 0}, {5, 3, 3}, 4.0);
            SURFACE.SOLID_PROPERTIES(1, 1) = 500.0f;
            SURFACE.SOLID_SPECIES_PROPERTIES(2, 1, 1) = float(mass_flux);
        },
        1.0e10);
    ASSERT_GT(RUN.OUTGAS_TOTAL, 0.01f);
    const int steps = 5;
    const int n = run_entry(steps);
    const double sf = BOX.SCALE_FACTOR;
    const double expected = mass_flux / NITROGEN.mass * (8.0 / (sf * sf)) * (RUN.DTM / sf) / RUN.FNUM * steps;
    ASSERT_GT(expected, 3000.0);
    EXPECT_NEAR(n / expected, 1.0, 0.01);

    const double m = NITROGEN.mass;
    double normal = 0, tangent_y = 0, tangent_z = 0, energy = 0, trans = 0;
    for (int i = 1; i <= n; ++i) {
        const Vec v = velocity(i);
        ASSERT_GT(v.x, 0.0);
        ASSERT_LE(MOLECULES.MOL_TIME(i), RUN.TIME);  // the flow time of its step
        ASSERT_GE(MOLECULES.MOL_TIME(i), RUN.TIME - (steps - 1) * RUN.DTM - 1e-12);
        normal += m * v.x;
        tangent_y += m * v.y;
        tangent_z += m * v.z;
        const double e = 0.5 * m * dot(v, v);
        trans += e;
        energy += e + MOLECULES.PV(PV_ROTATION, i) + MOLECULES.MOL_VIB_LEVEL(1, i) * K * 3371.0;
    }
    const auto& SS = SAMPLES.SURF_SAMPLE;
    EXPECT_NEAR(SS(2, 1, 1) / normal, 1.0, 1e-5);
    EXPECT_NEAR(SS(3, 1, 1), -tangent_y, 1e-5 * normal);
    EXPECT_NEAR(SS(4, 1, 1), -tangent_z, 1e-5 * normal);
    EXPECT_NEAR(SS(6, 1, 1) / -energy, 1.0, 1e-5);
    EXPECT_NEAR(trans / n / (K * 500.0), 2.0, 4.0 * std::sqrt(2.0 / n));
}

// Fault avoided: an adiabatic wall added the vibrational degrees of freedom of an outgassed molecule at
// every placement draw, discarded draws included. Here half the triangle lies where no cell is, so about
// half the draws are discarded; the sample must gain dof(T) once per molecule placed, T being the
// wall's temperature from its sample at that moment (at least its minimum, 200 K).
TEST(Outgassing, AdiabaticWallGainsVibrationalDofOncePerMolecule)
{
    RandomGuard keep;
    DiagLog log;
    make_surface_case(
        [&] {
            set_triangle(+1, {1, 0, 0}, {5, 3, 3}, 4.0);
            SURFACE.SOLID_PROPERTIES(1, 1) = -200.0f;
            SURFACE.SOLID_SPECIES_PROPERTIES(2, 1, 1) = 2.5e-3f;
        },
        1.0e11);
    // Divisions with y above 5 hold no cell.
    for (int iz = 1; iz <= 2; ++iz)
        for (int ix = 1; ix <= 2; ++ix)
            DIVISIONS.ELEMENT_CELL(iz, 2, ix, 1, 1, 1) = 0;
    auto& AS = SAMPLES.ADIABATIC_SAMPLE;
    AS(1, 1) = 10.0;
    AS(2, 1) = 1000.0 * 10.0 / double(TWO_OVER_BOLTZ);  // the wall at 1000 K
    const double energy = AS(2, 1);
    const int n = run_entry(3);
    ASSERT_GT(n, 20);
    double dof = 10.0;
    for (int i = 1; i <= n; ++i) {
        const double T = std::max(double(float(energy * double(TWO_OVER_BOLTZ) / dof)), 200.0);
        const double x = 3371.0 / double(float(T));
        dof += 2.0 * x / (std::exp(x) - 1.0);
    }
    EXPECT_NEAR(AS(1, 1), dof, 1e-9 * dof);
    EXPECT_EQ(RUN.ROUNDOFF_COUNT, 0);
}

// With OUTGAS_TOTAL at most 0.01 no solid triangle outgasses, whatever its own rate.
TEST(Outgassing, NoneWhenTheTotalIsSmall)
{
    RandomGuard keep;
    DiagLog log;
    make_surface_case(
        [&] {
            set_triangle(+1, {1, 0, 0}, {5, 3, 3}, 4.0);
            SURFACE.SOLID_PROPERTIES(1, 1) = 500.0f;
            SURFACE.SOLID_SPECIES_PROPERTIES(2, 1, 1) = 1.0e-5f;
        },
        1.0e10);
    RUN.OUTGAS_TOTAL = 0.01f;
    EXPECT_EQ(run_entry(3), 0);
}
