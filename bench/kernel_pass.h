// What the stream benchmarks share: the lattice of a case without surfaces, one pass of the kernel's
// phases timed phase by phase, the bytes of the molecule store, the peak resident memory, and a
// checksum of the final state.
#ifndef QR4T_BENCH_KERNEL_PASS_H
#define QR4T_BENCH_KERNEL_PASS_H

#include "app/kernel/cell_index.h"
#include "app/kernel/cell_order.h"
#include "app/kernel/collide_molecules.h"
#include "app/kernel/enter_molecules.h"
#include "app/kernel/kernel_move.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/random.h"

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdint>

using BenchClock = std::chrono::steady_clock;

// Seconds spent in each phase.
struct PhaseTimes {
    double move = 0, enter = 0, index = 0, collide = 0;
    double total() const { return move + enter + index + collide; }
};

inline double seconds_since(BenchClock::time_point t0)
{
    return std::chrono::duration<double>(BenchClock::now() - t0).count();
}

// What the move reads of a lattice of one-element divisions without surfaces, beyond what the test
// fixture sets: the element widths and diagonal, and the work array ICHECK.
inline void set_lattice_without_surfaces()
{
    auto& D = DIVISIONS;
    D.ELEMENT_WIDTH_X = D.DIVISION_WIDTH_X, D.ELEMENT_WIDTH_Y = D.DIVISION_WIDTH_Y;
    D.ELEMENT_WIDTH_Z = D.DIVISION_WIDTH_Z;
    D.ELEMENT_DIAGONAL =
        std::sqrt(D.ELEMENT_WIDTH_X * D.ELEMENT_WIDTH_X + D.ELEMENT_WIDTH_Y * D.ELEMENT_WIDTH_Y +
                  D.ELEMENT_WIDTH_Z * D.ELEMENT_WIDTH_Z);
    D.MNSEG = 1;
    D.ICHECK.allocate(8);
}

// One pass in the kernel's phase order: move, entry, indexing, collisions.
inline void one_pass(PhaseTimes& t)
{
    RUN.TIME += RUN.DTM;
    auto t0 = BenchClock::now();
    MOVE_MOLECULES();
    t.move += seconds_since(t0);
    t0 = BenchClock::now();
    ENTER_MOLECULES();
    t.enter += seconds_since(t0);
    t0 = BenchClock::now();
    index_molecules_in_cell_order();
    t.index += seconds_since(t0);
    t0 = BenchClock::now();
    COLLIDE_MOLECULES();
    t.collide += seconds_since(t0);
}

// Bytes of the molecule store (every molecule array at its capacity MNM).
inline double store_bytes()
{
    const auto& M = MOLECULES;
    return double(M.MOL_POS.bytes() + M.PV.bytes() + M.IP.bytes() + M.MOL_TIME.bytes() +
                  M.MOL_VIB_LEVEL.bytes() + M.XREF.bytes() + M.MOL_SKIP.bytes() + M.IPS.bytes() +
                  M.ISCH.bytes() + M.SUBCELL_IJK.bytes());
}

// Peak resident memory of the process (bytes).
inline double peak_rss_bytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return 1024.0 * double(usage.ru_maxrss);
}

// FNV-1a hash of the molecule store in use, the cell clocks and the random state: equal figures before
// and after a change of the kernel show that it left the run's results unchanged.
inline uint64_t state_checksum()
{
    uint64_t h = 1469598103934665603ULL;
    auto add = [&h](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i)
            h = (h ^ b[i]) * 1099511628211ULL;
    };
    const auto& M = MOLECULES;
    const std::size_t nm = static_cast<std::size_t>(M.NM);
    add(M.MOL_POS.data(), 3 * nm * sizeof(float));
    add(M.PV.data(), std::size_t(M.PV_ROWS) * nm * sizeof(float));
    add(M.IP.data(), std::size_t(M.IP_ROWS) * nm * sizeof(int32_t));
    add(M.MOL_TIME.data(), nm * sizeof(double));
    add(M.MOL_VIB_LEVEL.data(), M.MOL_VIB_LEVEL.extent(1) * nm);
    add(CELLS.CELL_DATA.data(), CELLS.CELL_DATA.bytes());
    add(CELLS.CELL_TIME.data(), CELLS.CELL_TIME.bytes());
    add(&RANDOM_STATE, sizeof RANDOM_STATE);
    add(&RUN.COLLISION_COUNT, sizeof RUN.COLLISION_COUNT);
    return h;
}

#endif
