// The molecule store kept in cell order (see cell_order.h).
//
// Molecules are appended at the end of the store and a removal moves the last molecule into the gap,
// so as a run goes on a cell's molecules scatter over the whole store and every phase that walks the
// cells reads them from all over memory. Renumbering them in the order of the index puts each cell's
// molecules side by side again, and neighbouring cells next to each other.
#include "app/kernel/cell_order.h"

#include "app/kernel/cell_index.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "base/list_io.h"
#include "base/units.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int NEAR_NUMBERS = 64;   // neighbours whose numbers differ by at most this count as in order
constexpr int SAMPLE_STRIDE = 97;  // list positions sampled by cell_order_share: a cheap look, not a scan

// Row `row` of a molecule array of `rows` entries per molecule, in the new order: molecule n (from 1),
// taken in increasing number, goes to the next place of its cell, next(|IP(2, n)|), which starts at the
// cell's start in the index just built; so each molecule lands at its list position, and each cell's
// molecules keep their order. The row is read in store order and written through the dense scratch
// column, whose lines are far fewer than those of the molecule arrays that reading in list order
// would fetch at random.
template <class T>
void scatter_row(T* column, int rows, int row, const int32_t* ip, int ip_rows, int NM, int* next, T* scratch)
{
    const auto& ICELL = CELLS.ICELL;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K)
        next[K - 1] = ICELL(ICELL_START, K);
    T* const first = column + row;
    const int32_t* const cell = ip + (IP_CELL - 1);
    // Both loops unrolled: an entry costs a handful of instructions, of which the loop's own count and
    // test were a fourth.
#pragma GCC unroll 4
    for (std::ptrdiff_t n = 0; n < NM; ++n)
        scratch[next[std::abs(cell[std::ptrdiff_t(ip_rows) * n]) - 1]++] = first[std::ptrdiff_t(rows) * n];
#pragma GCC unroll 4
    for (std::ptrdiff_t p = 0; p < NM; ++p)
        first[std::ptrdiff_t(rows) * p] = scratch[p];
}

// Every row from `from` of a molecule array of `rows` entries of type T per molecule.
template <class T>
void scatter_rows(T* column, int rows, int from, const int32_t* ip, int ip_rows, int NM, int* next,
                  T* scratch)
{
    for (int row = from; row < rows; ++row)
        scatter_row(column, rows, row, ip, ip_rows, NM, next, scratch);
}

}  // namespace

// cell_order_share: every SAMPLE_STRIDE-th list position is compared with the next.
double cell_order_share()
{
    const auto& IP = MOLECULES.IP;
    const int NM = MOLECULES.NM;
    if (NM < 2)
        return 1.0;
    int near = 0, seen = 0;
    for (int p = 1; p < NM; p += SAMPLE_STRIDE) {
        ++seen;
        if (std::abs(IP(IP_PLACE, p + 1) - IP(IP_PLACE, p)) <= NEAR_NUMBERS)
            ++near;
    }
    return double(near) / seen;
}

// order_molecules_by_cell: slot p takes the molecule listed at position p, IP(1, p). Each array is
// rearranged one row at a time through one scratch column of 4-byte words (MOL_TIME as two rows of
// words, the 1-byte arrays through the same column), the places counted from the cells' starts and the
// molecules' cells, so IP row 2 comes last; then IP row 1 becomes the identity.
void order_molecules_by_cell()
{
    auto& M = MOLECULES;
    const int NM = M.NM;
    if (NM < 2)
        return;
    Array<uint32_t, 1> scratch_column;
    Array<int, 1> next_place;
    if (!scratch_column.allocate(NM) || !next_place.allocate(CELLS.CELL_COUNT)) {
        // Memory is short even for one column: the run goes on with the store as it is.
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE THE CELL ORDER SCRATCH OF", NM, " MOLECULES"});
        return;
    }
    uint32_t* const scratch = scratch_column.data();
    int* const next = next_place.data();
    int32_t* const ip = M.IP.data();
    auto* const ip_words = reinterpret_cast<uint32_t*>(ip);
    const int rows = M.IP_ROWS;
    static_assert(sizeof(float) == sizeof(uint32_t) && sizeof(double) == 2 * sizeof(uint32_t));
    scatter_rows(reinterpret_cast<uint32_t*>(M.MOL_POS.data()), 3, 0, ip, rows, NM, next, scratch);
    scatter_rows(reinterpret_cast<uint32_t*>(M.PV.data()), M.PV_ROWS, 0, ip, rows, NM, next, scratch);
    scatter_rows(reinterpret_cast<uint32_t*>(M.MOL_TIME.data()), 2, 0, ip, rows, NM, next, scratch);
    scatter_rows(ip_words, rows, IP_SPECIES - 1, ip, rows, NM, next, scratch);
    auto* const bytes = reinterpret_cast<uint8_t*>(scratch);
    if (GAS.MAX_VIB_MODES > 0)
        scatter_rows(reinterpret_cast<uint8_t*>(M.MOL_VIB_LEVEL.data()), GAS.MAX_VIB_MODES, 0, ip, rows, NM,
                     next, bytes);
    if (M.MOL_SKIP.size() >= std::size_t(NM))
        scatter_rows(M.MOL_SKIP.data(), 1, 0, ip, rows, NM, next, bytes);
    scatter_row(ip_words, rows, IP_CELL - 1, ip, rows, NM, next, scratch);
    for (int p = 1; p <= NM; ++p)
        M.IP(IP_PLACE, p) = p;
}

void index_molecules_in_cell_order()
{
    INDEX_MOLECULES();
    if (cell_order_share() < CELL_ORDER_LIMIT)
        order_molecules_by_cell();
}
