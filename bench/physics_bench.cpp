// Physics of whole runs against kinetic theory, in sizes too large for the test programs: the cases of
// tests/kernel_physics and the long run of tests/kernel_output, with more molecules and longer samples.
// Each benchmark runs its case once and reports, besides the time, the measured quantity over its
// theoretical value ("ratio") and the standard error of that ratio from the size of the sample
// ("error"), so that a deviation of several errors shows a bias of the method:
//
// - EquilibriumCollisionRate/outputs: a gas at rest in a closed box, the molecule-weighted collision
//   rate of VAR against the VHS rate (Bird 1994, eq. 4.64), over the same flow time sampled in one
//   output or in several (each output lowers every cell's bound on sigma c_r, and a cell's next interval
//   keeps the selection number of the lowered bound while its acceptance uses the raised one);
// - DiffuseBodyFlux/moves_per_transit: the number flux and the pressure of VARS on a body at the gas
//   temperature against n cbar / 4 and n k T (the move drops the rest of a step at a surface);
// - StreamBoxCount: the mean molecule count of a stream through an open box over 2000 passes against
//   n V / FNUM.
#include "tests/kernel_physics/physics_case.h"

#include "base/units.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace {

constexpr double K = 1.3806e-23;

// A fresh run folder with the diagnostic log open.
void enter_run_folder(const std::string& name)
{
    if (unit_is_open(UNIT_DIAG))
        unit_close(UNIT_DIAG);
    const auto dir = std::filesystem::temp_directory_path() / ("qr4t_physics_bench_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
}

void run_outputs(int outputs)
{
    PhaseRun r;
    while (RUN.OUTPUT_COUNT < outputs)
        r.run(1);
}

void EquilibriumCollisionRate(benchmark::State& state)
{
    const int outputs = static_cast<int>(state.range(0));
    double ratio = 0, error = 0;
    for (auto _ : state) {
        enter_run_folder("equilibrium");
        PhysicsCase c;
        c.fnum = 4.0e13;                     // 20000 molecules
        c.output_interval = 24.0 / outputs;  // 72 collision times in all
        set_up_case(c);
        run_outputs(outputs);
        const auto& VAR = RESULTS.VAR;
        double N = 0, rate = 0, nV = 0, V = 0, T = 0;
        const double scale3 = std::pow(double(BOX.SCALE_FACTOR), 3);
        for (int j = 1; j <= CELLS.CELL_COUNT; ++j) {
            const double n_j = VAR(VAR_MOLS_PER_CELL, j), v = CELLS.CELL_DATA(CELL_VOLUME, j) / scale3;
            N += n_j;
            rate += n_j / VAR(VAR_COLL_TIME, j);
            T += n_j * VAR(VAR_TEMP, j);
            nV += VAR(VAR_NUMBER_DENSITY, j) * v;
            V += v;
        }
        double collisions = 0;
        for (int j = 1; j <= CELLS.CELL_COUNT; ++j)
            collisions += SAMPLES.CELL_COLL_COUNT(j);
        ratio = rate / N / collision_rate(c, nV / V, T / N);
        error = 1.0 / std::sqrt(collisions);
    }
    state.counters["ratio"] = ratio;
    state.counters["error"] = error;
    state.counters["moves/s"] = benchmark::Counter(RUN.MOVE_COUNT, benchmark::Counter::kIsRate);
}
BENCHMARK(EquilibriumCollisionRate)->Arg(1)->Arg(12)->Iterations(1)->Unit(benchmark::kSecond);

void DiffuseBodyFlux(benchmark::State& state)
{
    double flux_ratio = 0, pressure_ratio = 0, error = 0;
    for (auto _ : state) {
        enter_run_folder("body");
        const PhysicsCase c = diffuse_body_case(2.5e12, static_cast<int>(state.range(0)));  // 30000 molecules
        set_up_case(c);
        const double n = MOLECULES.NM * c.fnum / DIFFUSE_BODY_FLOW_VOLUME;
        run_outputs(11);
        double hits = 0, area = 0, flux = 0, pressure = 0;
        for (int k = 1; k <= SURFACE.SOLID_TRIANGLE_COUNT; ++k) {
            const double a = SURFACE.TRIANGLE_GEOMETRY(5, SURFACE.SOLID_TRIANGLE(1, k));
            hits += RESULTS.VARS(VARS_SAMPLE_SIZE, k);
            area += a;
            flux += RESULTS.VARS(VARS_NUMBER_FLUX, k) * a;
            pressure += RESULTS.VARS(VARS_PRESSURE, k) * a;
        }
        flux_ratio = flux / area / (n * mean_speed(c.wall_temperature, c.mass) / 4.0);
        pressure_ratio = pressure / area / (n * K * c.wall_temperature);
        error = 1.0 / std::sqrt(hits);
    }
    state.counters["flux_ratio"] = flux_ratio;
    state.counters["pressure_ratio"] = pressure_ratio;
    state.counters["error"] = error;
    state.counters["moves/s"] = benchmark::Counter(RUN.MOVE_COUNT, benchmark::Counter::kIsRate);
}
BENCHMARK(DiffuseBodyFlux)->Arg(3)->Arg(10)->Arg(30)->Iterations(1)->Unit(benchmark::kSecond);

void StreamBoxCount(benchmark::State& state)
{
    double ratio = 0;
    int passes = 0;
    for (auto _ : state) {
        enter_run_folder("stream");
        const PhysicsCase c = stream_box_case(1.0e12);  // 40000 molecules
        set_up_case(c);
        const double nominal = c.density * STREAM_BOX_VOLUME / c.fnum;
        PhaseRun r;
        r.run(400);
        double sum = 0;
        r.run(1600, [&](int) { sum += MOLECULES.NM; });
        ratio = sum / 1600.0 / nominal;
        passes = r.passes;
    }
    state.counters["ratio"] = ratio;
    state.counters["passes/s"] = benchmark::Counter(passes, benchmark::Counter::kIsRate);
}
BENCHMARK(StreamBoxCount)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
