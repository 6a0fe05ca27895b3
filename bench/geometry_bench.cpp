// Set-up time and peak memory of the flowfield geometry: the divisions and elements of a sphere body
// (marking and cut-element analysis of about 1100 triangles), its cells, and the cells of a box of about
// a million elements; the crossing test of the move as a micro benchmark.
#include "app/geometry/geometry.h"

#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/samples.h"
#include "base/units.h"
#include "tests/geometry/bodies.h"
#include "toolkit/headless/headless.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void fresh_state()
{
    DIVISIONS = Divisions{};
    CELLS = Cells{};
    SAMPLES = SampleSums{};
    GAS.SPECIES_COUNT = 1;
    HEADLESS.reset();
    HEADLESS.record_calls = false;
    if (!unit_is_open(UNIT_DIAG))
        unit_open(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
}

// Box 0..40 cubed, 8 divisions of 4 elements, and a sphere of 1144 triangles.
void sphere_case()
{
    set_box(0.0f, 40.0f, 8, 4);
    set_surfaces({sphere({20.3f, 19.7f, 20.1f}, 9.0f, 23, 26)});
}

void report_memory(benchmark::State& state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_SphereDivisionsAndElements(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        fresh_state();
        sphere_case();
        state.ResumeTiming();
        SET_DIVISIONS_AND_ELEMENTS();
    }
    state.counters["cut_elements"] = DIVISIONS.SURFACE_ELEMENT_COUNT;
    report_memory(state);
}
BENCHMARK(BM_SphereDivisionsAndElements)->Unit(benchmark::kMillisecond);

void BM_SphereCells(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        fresh_state();
        sphere_case();
        SET_DIVISIONS_AND_ELEMENTS();
        state.ResumeTiming();
        SET_UP_CELLS();
    }
    state.counters["cells"] = CELLS.CELL_COUNT;
    report_memory(state);
}
BENCHMARK(BM_SphereCells)->Unit(benchmark::kMillisecond);

// About 10^6 elements: 34 divisions of 3 elements per axis (1.06 million), no surfaces.
void BM_MillionElementCells(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        fresh_state();
        set_box(0.0f, 100.0f, 34, 3);
        set_surfaces({});
        SET_DIVISIONS_AND_ELEMENTS();
        state.ResumeTiming();
        SET_UP_CELLS();
    }
    state.counters["elements"] = DIVISIONS.ELEMENT_COUNT;
    report_memory(state);
}
BENCHMARK(BM_MillionElementCells)->Unit(benchmark::kMillisecond)->Iterations(2);

// The crossing test of the move: a path through a triangle and one missing it.
void BM_PathCrossesTriangle(benchmark::State& state)
{
    fresh_state();
    sphere_case();
    SET_DIVISIONS_AND_ELEMENTS();
    float f = 0.0f;
    for (auto _ : state) {
        PATH_CROSSES_TRIANGLE(7, 20.3f, 19.7f, 20.1f, 0.5f, 0.3f, -12.0f, f);
        benchmark::DoNotOptimize(f);
        PATH_CROSSES_TRIANGLE(500, 1.0f, 1.0f, 1.0f, 0.5f, 0.3f, 0.2f, f);
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_PathCrossesTriangle);

}  // namespace

BENCHMARK_MAIN();
