// Speed of the molecule-in-cell index, per molecule: the full rebuild of normal indexing (every time
// step), the full rebuild of continuous indexing, and the continuous index's move of one molecule from
// one cell to another (remove plus insert, as the move does).
#include "app/kernel/cell_index.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/random.h"
#include "base/units.h"

#include <benchmark/benchmark.h>

namespace {

// NM molecules at random over `cells` cells (about 20 per cell, as in a typical run).
void make_state(int nm, int cells, int index_mode)
{
    if (!unit_is_open(UNIT_DIAG))
        unit_open_or_stop(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT);
    RUN = RunState{};
    RUN.MNM = nm + nm / 10;
    RUN.INDEX_MODE = index_mode;
    RUN.XREF_SIZE = index_mode == INDEX_CONTINUOUS ? 6 * RUN.MNM : 1;
    CELLS = Cells{};
    CELLS.CELL_COUNT = CELLS.MAX_CELLS = cells;
    CELLS.CELL_DATA.allocate(14, cells);
    CELLS.ICELL.allocate(3, cells);
    CELLS.IRCELL.allocate(index_mode == INDEX_CONTINUOUS ? cells : 1);
    auto& M = MOLECULES;
    M = MoleculeStore{};
    M.IP_ROWS = 3;
    M.IP.allocate(3, RUN.MNM);
    M.XREF.allocate(RUN.XREF_SIZE);
    for (int n = 1; n <= nm; ++n)
        M.IP(IP_CELL, n) = 1 + static_cast<int>(random_uniform() * cells);
    M.NM = nm;
}

void BM_IndexMolecules(benchmark::State& state)
{
    const int nm = static_cast<int>(state.range(0));
    make_state(nm, nm / 20, INDEX_NORMAL);
    for (auto _ : state) {
        INDEX_MOLECULES();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * nm);
}
BENCHMARK(BM_IndexMolecules)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The normal index at the size of the transitional sphere of body_bench (1.5 million molecules over
// 215 thousand cells), the store in cell order (as after set-up, range(0) = 1) or at random: the lists
// are a counting sort, whose increments and list writes follow the cells of the molecules in store
// order, so the order of the store sets the cost.
void BM_IndexMoleculesByStoreOrder(benchmark::State& state)
{
    const int nm = 1500000, cells = 215000;
    make_state(nm, cells, INDEX_NORMAL);
    if (state.range(0))
        for (int n = 1; n <= nm; ++n)
            MOLECULES.IP(IP_CELL, n) = 1 + static_cast<int>(double(n - 1) * cells / nm);
    for (auto _ : state) {
        INDEX_MOLECULES();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * nm);
}
BENCHMARK(BM_IndexMoleculesByStoreOrder)
    ->ArgName("cell_order")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

// The normal index rebuilt after a pass in which one molecule in seven moved to a neighbouring cell (as
// after the adaptation of body_bench's transitional sphere, at its size), from a store in cell order
// that decays as the passes go on. Items: molecules.
void BM_IndexMoleculesAfterFewMoves(benchmark::State& state)
{
    const int nm = 1500000, cells = 215000;
    make_state(nm, cells, INDEX_NORMAL);
    auto& IP = MOLECULES.IP;
    for (int n = 1; n <= nm; ++n)
        IP(IP_CELL, n) = 1 + static_cast<int>(double(n - 1) * cells / nm);
    int first = 0;
    for (auto _ : state) {
        state.PauseTiming();
        first = (first + 3) % 7;
        for (int n = 1 + first; n <= nm; n += 7) {
            const int old = IP(IP_CELL, n);
            IP(IP_CELL, n) = n % 2 ? old % cells + 1 : (old + cells - 2) % cells + 1;
        }
        state.ResumeTiming();
        INDEX_MOLECULES();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * nm);
}
BENCHMARK(BM_IndexMoleculesAfterFewMoves)->Unit(benchmark::kMillisecond);

void BM_ResetContinuousIndexing(benchmark::State& state)
{
    const int nm = static_cast<int>(state.range(0));
    make_state(nm, nm / 20, INDEX_CONTINUOUS);
    for (auto _ : state) {
        RESET_CONTINUOUS_INDEXING();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * nm);
}
BENCHMARK(BM_ResetContinuousIndexing)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One time step's worth of cell changes: a molecule leaves its cell for a neighbouring one (cell
// number +-1), as after a move under continuous indexing.
void BM_ContinuousCellChange(benchmark::State& state)
{
    const int nm = static_cast<int>(state.range(0));
    const int cells = nm / 20;
    make_state(nm, cells, INDEX_CONTINUOUS);
    RESET_CONTINUOUS_INDEXING();
    auto& IP = MOLECULES.IP;
    int N = 0;
    for (auto _ : state) {
        N = N % nm + 1;
        const int old = IP(IP_CELL, N);
        const int next = old == cells ? old - 1 : old + 1;
        IP(IP_CELL, N) = next;
        REMOVE_FROM_CELL_LIST(old, N);
        INSERT_INTO_CELL_LIST(next, N);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ContinuousCellChange)->Arg(1000000);

}  // namespace

BENCHMARK_MAIN();
