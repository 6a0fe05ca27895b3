// The molecule store kept in cell order (see cell_order.h).
//
// Molecules are appended at the end of the store and a removal moves the last molecule into the gap,
// so as a run goes on a cell's molecules scatter over the whole store and every phase that walks the
// cells reads them from all over memory. Renumbering them in the order of the index puts each cell's
// molecules side by side again, and neighbouring cells next to each other.
#include "app/kernel/cell_order.h"

#include "app/kernel/cell_index.h"
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

// Row `row` of a molecule array of `rows` entries per molecule, in the new order: entry p (from 0) takes
// the entry of the molecule listed at position p + 1 (place, every place_rows-th entry from IP(1, 1)),
// through the scratch column. The reads are independent of one another, so many are in flight at once.
template <class T>
void gather_row(T* column, int rows, int row, const int32_t* place, int place_rows, int NM, T* scratch)
{
    T* const first = column + row;
    for (std::ptrdiff_t p = 0; p < NM; ++p)
        scratch[p] = first[std::ptrdiff_t(rows) * (place[place_rows * p] - 1)];
    for (std::ptrdiff_t p = 0; p < NM; ++p)
        first[std::ptrdiff_t(rows) * p] = scratch[p];
}

// Every row of a molecule array of `rows` entries of type T per molecule.
template <class T>
void gather_rows(T* column, int rows, const int32_t* place, int place_rows, int NM, T* scratch)
{
    for (int row = 0; row < rows; ++row)
        gather_row(column, rows, row, place, place_rows, NM, scratch);
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
// words, the 1-byte arrays through the same column), IP row 1 last, as it is the permutation.
void order_molecules_by_cell()
{
    auto& M = MOLECULES;
    const int NM = M.NM;
    if (NM < 2)
        return;
    Array<uint32_t, 1> scratch_column;
    if (!scratch_column.allocate(NM)) {
        // Memory is short even for one column: the run goes on with the store as it is.
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE THE CELL ORDER SCRATCH OF", NM, " MOLECULES"});
        return;
    }
    uint32_t* const scratch = scratch_column.data();
    int32_t* const ip = M.IP.data();
    const int rows = M.IP_ROWS;
    static_assert(sizeof(float) == sizeof(uint32_t) && sizeof(double) == 2 * sizeof(uint32_t));
    gather_rows(reinterpret_cast<uint32_t*>(M.MOL_POS.data()), 3, ip, rows, NM, scratch);
    gather_rows(reinterpret_cast<uint32_t*>(M.PV.data()), M.PV_ROWS, ip, rows, NM, scratch);
    gather_rows(reinterpret_cast<uint32_t*>(M.MOL_TIME.data()), 2, ip, rows, NM, scratch);
    for (int row = IP_CELL - 1; row < rows; ++row)
        gather_row(reinterpret_cast<uint32_t*>(ip), rows, row, ip, rows, NM, scratch);
    auto* const bytes = reinterpret_cast<uint8_t*>(scratch);
    if (GAS.MAX_VIB_MODES > 0)
        gather_rows(reinterpret_cast<uint8_t*>(M.MOL_VIB_LEVEL.data()), GAS.MAX_VIB_MODES, ip, rows, NM,
                    bytes);
    if (M.MOL_SKIP.size() >= std::size_t(NM))
        gather_rows(M.MOL_SKIP.data(), 1, ip, rows, NM, bytes);
    for (int p = 1; p <= NM; ++p)
        M.IP(IP_PLACE, p) = p;
}

void index_molecules_in_cell_order()
{
    INDEX_MOLECULES();
    if (cell_order_share() < CELL_ORDER_LIMIT)
        order_molecules_by_cell();
}
