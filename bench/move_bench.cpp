// Molecule moves per second of the collisionless move (MOVE_MOLECULES): 10^6 molecules at 300 K in a box
// 0..20 cubed with planes of symmetry on every side (10 divisions of 4 elements per axis, one cell per
// division), without a body and with a sphere of 966 diffuse triangles of radius 4 at its centre. The
// time step moves a molecule about a tenth of a division per pass.
#include "app/geometry/geometry.h"
#include "app/kernel/samplers.h"
#include "base/random.h"
#include "base/units.h"
#include "tests/kernel_move/move_case.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int MOLECULE_COUNT = 1000000;
constexpr float CENTRE = 10.0f;
constexpr float RADIUS = 4.0f;
constexpr float DTC = 2.5e-4f;

// SURFACE as the surface reader leaves it for one closed sphere: rings - 1 latitude circles of `sectors`
// points between the poles, each band of quads split in two, fans at the poles; normals outward.
void set_sphere(int rings, int sectors)
{
    std::vector<float> px, py, pz;
    auto point = [&](double theta, double phi) {
        px.push_back(static_cast<float>(CENTRE + RADIUS * std::cos(theta) * std::cos(phi)));
        py.push_back(static_cast<float>(CENTRE + RADIUS * std::cos(theta) * std::sin(phi)));
        pz.push_back(static_cast<float>(CENTRE + RADIUS * std::sin(theta)));
    };
    const double pi = 3.14159265358979323846;
    point(-pi / 2, 0.0);
    for (int r = 1; r < rings; ++r)
        for (int s = 0; s < sectors; ++s)
            point(pi * r / rings - pi / 2, 2 * pi * s / sectors);
    point(pi / 2, 0.0);
    const int south = 1, north = static_cast<int>(px.size());
    auto at = [&](int r, int s) { return 2 + (r - 1) * sectors + s % sectors; };
    std::vector<int> corners;
    for (int s = 0; s < sectors; ++s) {
        corners.insert(corners.end(), {south, at(1, s + 1), at(1, s)});
        for (int r = 1; r < rings - 1; ++r)
            corners.insert(corners.end(), {at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r, s),
                                           at(r + 1, s + 1), at(r + 1, s)});
        corners.insert(corners.end(), {at(rings - 1, s), at(rings - 1, s + 1), north});
    }

    SurfaceState& S = SURFACE;
    S = SurfaceState{};
    S.SURFACE_COUNT = 1;
    S.POINT_COUNT = north;
    S.TRIANGLE_COUNT = S.SOLID_TRIANGLE_COUNT = static_cast<int>(corners.size() / 3);
    S.SURFACE_TRIANGLE_COUNT.allocate(1);
    S.SURFACE_TRIANGLE_COUNT(1) = S.TRIANGLE_COUNT;
    S.SURFACE_FIRST_TRIANGLE.allocate(1);
    S.SURFACE_FIRST_POINT.allocate(1);
    S.SURFACE_CLOSED.allocate(1);
    S.POINT_X.allocate(S.POINT_COUNT);
    S.POINT_Y.allocate(S.POINT_COUNT);
    S.POINT_Z.allocate(S.POINT_COUNT);
    S.POINT_TRIANGLE_COUNT.allocate(S.POINT_COUNT);
    for (int p = 1; p <= S.POINT_COUNT; ++p) {
        S.POINT_X(p) = px[p - 1];
        S.POINT_Y(p) = py[p - 1];
        S.POINT_Z(p) = pz[p - 1];
    }
    S.TRIANGLE.allocate(6, S.TRIANGLE_COUNT);
    S.TRIANGLE_GEOMETRY.allocate(5, S.TRIANGLE_COUNT);
    S.SOLID_TRIANGLE.allocate(2, S.TRIANGLE_COUNT);
    for (int t = 1; t <= S.TRIANGLE_COUNT; ++t) {
        for (int c = 1; c <= 3; ++c)
            S.TRIANGLE(c, t) = corners[3 * (t - 1) + c - 1];
        S.TRIANGLE(TRIANGLE_KIND, t) = t;
        S.SOLID_TRIANGLE(1, t) = t;
    }
}

// Builds the case (once per kind; the benchmark keeps it between its runs).
void build_case(bool body)
{
    static int built = -1;
    if (built == int(body))
        return;
    built = int(body);
    clear_move_state();
    set_test_gas();
    CaseBox box;
    for (int a = 0; a < 3; ++a) {
        box.hi[a] = 2 * CENTRE;
        box.divisions[a] = 10;
        box.elements[a] = 4;
    }
    set_case_box(box, BOUNDARY_PLANE);
    if (body)
        set_sphere(22, 23);
    set_solid_properties();
    SET_DIVISIONS_AND_ELEMENTS();
    make_division_cells(DTC);
    allocate_store(MOLECULE_COUNT, INDEX_NORMAL, DTC);

    const float vmp = static_cast<float>(vmp_of(300.0));
    while (MOLECULES.NM < MOLECULE_COUNT) {
        float p[3], c[4];
        for (float& x : p)
            x = static_cast<float>(2 * CENTRE * random_uniform());
        const double r = std::hypot(p[0] - CENTRE, p[1] - CENTRE, p[2] - CENTRE);
        if (body && r < RADIUS + 0.05)
            continue;
        SAMPLE_MAXWELLIAN_PAIR(c[0], c[1], vmp);
        SAMPLE_MAXWELLIAN_PAIR(c[2], c[3], vmp);
        int cell = 0;
        place_molecule(p[0], p[1], p[2], c[0], c[1], c[2], cell);
    }
}

// One pass per iteration; items are molecule moves.
void BM_MoveMolecules(benchmark::State& state)
{
    const bool body = state.range(0) != 0;
    build_case(body);
    const double moves = RUN.MOVE_COUNT;
    const double hits = RUN.SURFACE_HIT_COUNT;
    for (auto _ : state)
        move_pass();
    state.SetItemsProcessed(static_cast<int64_t>(RUN.MOVE_COUNT - moves));
    state.counters["hits_per_pass"] =
        (RUN.SURFACE_HIT_COUNT - hits) / static_cast<double>(state.iterations());
    state.counters["molecules"] = MOLECULES.NM;
    state.SetLabel(body ? "sphere of 966 triangles" : "no body");
}

}  // namespace

BENCHMARK(BM_MoveMolecules)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The geometry set-up writes its lines to the diagnostic log.
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unit_close(UNIT_DIAG);
    return 0;
}
