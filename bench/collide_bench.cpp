// Speed and memory of the kernel's time step on a stream: a nitrogen-like gas (rotation, one
// vibrational mode) at Mach 2.8 fills a box of 50 x 50 x 60 cells (one element per division, no
// surfaces) with about 1.5 million molecules; all six sides are stream sides, so molecules leave and
// enter everywhere. One pass is the kernel's phase order: move, entry, indexing, collisions (transient
// sub-cells). After a warm-up of 20 passes, 100 passes are timed.
//
// Reported: molecule moves and collisions per second (one core), the time of each phase per molecule,
// the bytes of the molecule store per molecule and the peak resident memory of the process per
// molecule, and a checksum of the final state (molecules, cell clocks, random state), which a change
// meant to leave results alone must leave unchanged.
#include "bench/kernel_pass.h"

#include "base/units.h"
#include "tests/kernel_collide/collide_fixture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int NX = 60, NY = 50, NZ = 50;        // divisions = cells (x along the stream)
constexpr double LX = 0.6, LY = 0.5, LZ = 0.5;  // real extents (m)
constexpr double MASS = 4.65e-26;               // nitrogen-like molecule
constexpr double TEMP = 300.0;
constexpr double MACH = 2.8;
constexpr double DENSITY = 1.3e20;  // mean free path about one cell
constexpr double MOLECULES_WANTED = 1.5e6;

// The box, its divisions and cells, and the gas (the test fixture's case, scaled as the flow-data
// reader would scale it); INITIALIZE_FLOW then fills the box with the stream.
void make_stream_case()
{
    if (!unit_is_open(UNIT_DIAG))
        unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    TestCase c;
    c.nx = NX, c.ny = NY, c.nz = NZ;
    c.lx = LX, c.ly = LY, c.lz = LZ;
    c.sf = static_cast<float>(10.0 / std::min(LY, LZ));
    c.density = DENSITY;
    c.temperature = TEMP;
    c.fnum = DENSITY * LX * LY * LZ / MOLECULES_WANTED;
    c.mnm = static_cast<int>(1.1 * MOLECULES_WANTED);
    c.subcell_mode = SUBCELLS_TRANSIENT;
    c.species = {{4.17e-10, 273.0, 0.74, MASS, 1.0, 2, 5, 3371.0, 9.1, 220.0}};
    c.before_initialise = [] {
        for (int k = 1; k <= BOX_SIDES; ++k)
            BOX.BOUNDARY_CODE(k) = BOUNDARY_STREAM;
        GAS.STREAM_U = static_cast<float>(MACH * std::sqrt(1.4 * 1.3806e-23 * TEMP / MASS));
        set_lattice_without_surfaces();
    };
    make_case(c);

    // A step of a quarter of a cell's transit at the stream speed (the initialisation's first step is a
    // tenth of that; the output would lengthen it).
    set_time_step(static_cast<float>(0.25 * DIVISIONS.DIVISION_WIDTH_X / GAS.STREAM_U));
}

void BM_StreamTimeStep(benchmark::State& state)
{
    make_stream_case();
    PhaseTimes warm;
    for (int pass = 1; pass <= 20; ++pass)
        one_pass(warm);
    const double moves0 = RUN.MOVE_COUNT, colls0 = RUN.COLLISION_COUNT;
    double nm_sum = 0;
    PhaseTimes t;
    for (auto _ : state) {
        for (int pass = 1; pass <= 100; ++pass) {
            one_pass(t);
            nm_sum += MOLECULES.NM;
        }
    }
    const double total = t.total();
    const double moves = RUN.MOVE_COUNT - moves0;
    const double colls = RUN.COLLISION_COUNT - colls0;
    const double nm = nm_sum / 100.0;
    state.counters["molecules"] = nm;
    state.counters["cells"] = CELLS.CELL_COUNT;
    state.counters["moves_per_s"] = moves / total;
    state.counters["collisions_per_s"] = colls / total;
    state.counters["colls_per_move"] = colls / moves;
    state.counters["ns_move_per_mol"] = 1e9 * t.move / moves;
    state.counters["ns_enter_per_mol"] = 1e9 * t.enter / moves;
    state.counters["ns_index_per_mol"] = 1e9 * t.index / moves;
    state.counters["ns_collide_per_mol"] = 1e9 * t.collide / moves;
    state.counters["store_bytes_per_mol"] = store_bytes() / MOLECULES.NM;
    state.counters["peak_rss_bytes_per_mol"] = peak_rss_bytes() / MOLECULES.NM;
    std::printf("state checksum after the timed passes: %016llx\n",
                static_cast<unsigned long long>(state_checksum()));
}
BENCHMARK(BM_StreamTimeStep)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
