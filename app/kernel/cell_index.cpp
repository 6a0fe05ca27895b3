// The molecule-in-cell index (ICELL rows 1 and 2, IP row 1, XREF, IRCELL).
//
// Normal indexing (INDEX_MODE 0): INDEX_MOLECULES rebuilds every list once per time step, a counting
// sort of the molecules by cell into IP row 1, each cell's list in increasing molecule number.
// Continuous indexing (INDEX_MODE 1): cell K's group is XREF(ICELL(1,K) + 1 .. ICELL(1,K) + ICELL(2,K)),
// followed by free room up to ICELL(1,K) + IRCELL(K); IP(1,N) is the molecule's place in XREF. The
// invariants, outside a single insertion, removal or rebuild:
//   XREF(IP(1,N)) = N and IP(1,N) lies in the group of cell |IP(2,N)| for every molecule N in use;
//   ICELL(2,K) <= IRCELL(K); ICELL(1,1) = 0; ICELL(1,K+1) = ICELL(1,K) + IRCELL(K);
//   the last group ends at or before XREF_SIZE.
// A cell number in IP row 2 may stand negated (the mark of a molecule that a recombination absorbed);
// the index uses its absolute value.
#include "app/kernel/cell_index.h"

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <cstddef>
#include <cstdlib>
#include <string>

namespace {

// Growth factor of a full group, as the program's 4-byte real (4.9499998...).
constexpr float ROOM_GROWTH = 4.95f;

// Counts the molecules of every cell into ICELL row 2 (which must be zero).
// (Through raw columns: ICELL(r, K) is icell[cell_rows (K - 1) + r - 1], IP(r, N) ip[rows (N - 1) + r - 1].)
void count_molecules()
{
    int* const icell = CELLS.ICELL.data();
    const std::ptrdiff_t cell_rows = CELLS.ICELL.extent(1);
    const int* const ip = MOLECULES.IP.data();
    const std::ptrdiff_t rows = MOLECULES.IP.extent(1);
    const int NM = MOLECULES.NM;
    for (int N = 1; N <= NM; ++N)
        ++icell[cell_rows * std::ptrdiff_t(std::abs(ip[rows * (N - 1) + (IP_CELL - 1)]) - 1) +
                (ICELL_COUNT - 1)];
}

void clear_counts()
{
    auto& ICELL = CELLS.ICELL;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K)
        ICELL(ICELL_COUNT, K) = 0;
}

// The normal index by a counting sort through ICELL alone (when there is no memory for the places):
// count, lay out, list every molecule in increasing number.
void index_through_icell()
{
    auto& ICELL = CELLS.ICELL;
    auto& IP = MOLECULES.IP;
    clear_counts();
    count_molecules();
    int p = 0;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K) {
        ICELL(ICELL_START, K) = p;
        p += ICELL(ICELL_COUNT, K);
        ICELL(ICELL_COUNT, K) = 0;
    }
    for (int N = 1; N <= MOLECULES.NM; ++N) {
        const int K = std::abs(IP(IP_CELL, N));
        IP(IP_PLACE, ICELL(ICELL_START, K) + ++ICELL(ICELL_COUNT, K)) = N;
    }
}

// One integer per cell for the normal index's counting sort: first each cell's count, then the next list
// place of the cell. Dense, it stays in the cache while the molecules stream past, where ICELL's rows
// (three integers per cell) would not; kept from one rebuild to the next.
Array<int, 1> cell_place;

// Counts molecules 1 .. NM into cell_place (allocated for CELL_COUNT cells when needed); false without
// the memory for it.
bool count_into_cell_places()
{
    const int cells = CELLS.CELL_COUNT;
    if (cell_place.size() != std::size_t(cells) && !cell_place.allocate(cells))
        return false;
    cell_place.fill(0);
    int* const count = cell_place.data();
    const int* const ip = MOLECULES.IP.data();
    const std::ptrdiff_t rows = MOLECULES.IP.extent(1);
    const int NM = MOLECULES.NM;
    // Unrolled: a molecule costs a handful of instructions, of which the loop's own
    // count and test were a fourth.
#pragma GCC unroll 4
    for (int N = 1; N <= NM; ++N)
        ++count[std::abs(ip[rows * (N - 1) + (IP_CELL - 1)]) - 1];
    return true;
}

// Lays the lists out end to end from the counts in cell_place: every start into ICELL row 1, every
// count into ICELL row 2, and in cell_place the first place (from 0) of the cell's list.
void lay_out_lists()
{
    auto& ICELL = CELLS.ICELL;
    int p = 0;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K) {
        const int n = cell_place(K);
        ICELL(ICELL_START, K) = p;
        ICELL(ICELL_COUNT, K) = n;
        cell_place(K) = p;
        p += n;
    }
}

// Lists molecules 1 .. NM in IP row 1 in increasing number, each at the next place of its cell.
void fill_lists()
{
    int* const next = cell_place.data();
    int* const ip = MOLECULES.IP.data();
    const std::ptrdiff_t rows = MOLECULES.IP.extent(1);
    const int NM = MOLECULES.NM;
    // Unrolled as the count is (see count_into_cell_places).
#pragma GCC unroll 4
    for (int N = 1; N <= NM; ++N) {
        const int place = next[std::abs(ip[rows * (N - 1) + (IP_CELL - 1)]) - 1]++;
        ip[rows * place + (IP_PLACE - 1)] = N;
    }
}

}  // namespace

// INDEX_MOLECULES: full rebuild for normal indexing. The lists fill IP row 1 positions 1 .. NM without
// gaps, cell after cell; with no molecules only the counts are cleared (the starts keep their values).
void INDEX_MOLECULES()
{
    if (MOLECULES.NM == 0) {
        clear_counts();
        return;
    }
    if (!count_into_cell_places()) {
        index_through_icell();
        return;
    }
    lay_out_lists();
    fill_lists();
}

// lay_out_cell_rooms: rooms int(4.95 n + S), S = int(MNM / MAX_CELLS), for the counts n of ICELL row 2;
// the groups end to end from place 0; every count back to 0. The rooms add up to at most
// 4.95 MNM + MNM, which fits XREF_SIZE = int(6 MNM).
void lay_out_cell_rooms()
{
    auto& ICELL = CELLS.ICELL;
    auto& IRCELL = CELLS.IRCELL;
    const int cells = CELLS.CELL_COUNT;
    const double share = CELLS.MAX_CELLS > 0 ? double(int(double(RUN.MNM) / CELLS.MAX_CELLS)) : 0.0;
    int p = 0;
    for (int K = 1; K <= cells; ++K) {
        IRCELL(K) = static_cast<int>(double(ROOM_GROWTH) * ICELL(ICELL_COUNT, K) + share);
        ICELL(ICELL_START, K) = p;
        ICELL(ICELL_COUNT, K) = 0;
        p += IRCELL(K);
    }
}

// RESET_CONTINUOUS_INDEXING: full rebuild for continuous indexing: count, lay out the rooms, then
// list every molecule in increasing number. With no molecules only the counts are cleared.
void RESET_CONTINUOUS_INDEXING()
{
    auto& ICELL = CELLS.ICELL;
    auto& IP = MOLECULES.IP;
    auto& XREF = MOLECULES.XREF;
    const int NM = MOLECULES.NM;

    write_list(UNIT_DIAG, {"RESETTING CONTINUOUS INDEXING"});
    clear_counts();
    if (NM == 0)
        return;
    count_molecules();
    lay_out_cell_rooms();
    for (int N = 1; N <= NM; ++N) {
        const int K = std::abs(IP(IP_CELL, N));
        const int L = ICELL(ICELL_START, K) + ++ICELL(ICELL_COUNT, K);
        IP(IP_PLACE, N) = L;
        XREF(L) = N;
    }
}

// INSERT_INTO_CELL_LIST: appends molecule N (whose IP row 2 is already K) to cell K's group. A full
// group grows to int(4.95 x room) places, at least one more (a room of 0 would otherwise never grow),
// by moving the later groups up in place, highest entries first; when XREF has no space for that, the
// whole index is rebuilt, which lists N as well.
void INSERT_INTO_CELL_LIST(int K, int N)
{
    auto& ICELL = CELLS.ICELL;
    auto& IRCELL = CELLS.IRCELL;
    auto& IP = MOLECULES.IP;
    auto& XREF = MOLECULES.XREF;

    if (ICELL(ICELL_COUNT, K) == IRCELL(K)) {
        const int R = IRCELL(K);
        int grown = static_cast<int>(double(R) * ROOM_GROWTH);
        if (grown <= R)
            grown = R + 1;
        IRCELL(K) = grown;
        const int D = grown - R;
        // The groups walk the cells 1 .. CELL_COUNT (equal to MAX_CELLS once cells are formed).
        const int last = CELLS.CELL_COUNT;
        if (static_cast<long long>(ICELL(ICELL_START, last)) + IRCELL(last) + D > RUN.XREF_SIZE) {
            RESET_CONTINUOUS_INDEXING();
            return;
        }
        for (int J = last; J > K; --J) {
            const int start = ICELL(ICELL_START, J);
            for (int p = start + ICELL(ICELL_COUNT, J); p > start; --p) {
                const int M = XREF(p);
                XREF(p + D) = M;
                IP(IP_PLACE, M) = p + D;
            }
            ICELL(ICELL_START, J) = start + D;
        }
    }
    const int L = ICELL(ICELL_START, K) + ++ICELL(ICELL_COUNT, K);
    XREF(L) = N;
    IP(IP_PLACE, N) = L;
}

// REMOVE_FROM_CELL_LIST: takes molecule N out of cell K's group; the group's last entry fills the gap.
// The freed XREF place and IP(1,N) are not cleared.
void REMOVE_FROM_CELL_LIST(int K, int N)
{
    auto& ICELL = CELLS.ICELL;
    auto& IP = MOLECULES.IP;
    auto& XREF = MOLECULES.XREF;

    const int L = IP(IP_PLACE, N);
    const int E = ICELL(ICELL_START, K) + ICELL(ICELL_COUNT, K);
    --ICELL(ICELL_COUNT, K);
    if (L > 0 && L < E) {
        const int Q = XREF(E);
        IP(IP_PLACE, Q) = L;
        XREF(L) = Q;
    }
}

// CHECK_INDEX: compares the continuous index with the molecules' cells, logs every inconsistency and,
// when it found any, rebuilds the index. It never stops the run.
void CHECK_INDEX()
{
    const auto& ICELL = CELLS.ICELL;
    const auto& CELL_DATA = CELLS.CELL_DATA;
    const auto& IP = MOLECULES.IP;
    const auto& XREF = MOLECULES.XREF;
    const int NM = MOLECULES.NM;
    const int cells = CELLS.CELL_COUNT;
    const float scale = BOX.SCALE_FACTOR;

    Array<int, 1> MOLS_PER_CELL;
    if (!MOLS_PER_CELL.allocate(cells)) {
        // Memory is short even for one integer per cell: the run cannot go on safely.
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE MOLS PER CELL"});
        fatal_stop("CHECK_INDEX: cannot allocate the work array MOLS_PER_CELL of " + std::to_string(cells) +
                   " cells");
    }
    write_list(UNIT_DIAG, {"CHECKING INDEX"});
    bool fault = false;
    for (int N = 1; N <= NM; ++N)
        ++MOLS_PER_CELL(std::abs(IP(IP_CELL, N)));
    for (int K = 1; K <= cells; ++K) {
        if (MOLS_PER_CELL(K) != ICELL(ICELL_COUNT, K)) {
            write_list(UNIT_DIAG,
                       {MOLS_PER_CELL(K), " MOLS IN CELL", K, " /= ICELL(2, OF", ICELL(ICELL_COUNT, K)});
            write_list(UNIT_DIAG, {"CELL AT", static_cast<float>(double(CELL_DATA(CELL_NODE_X, K)) / scale),
                                   static_cast<float>(double(CELL_DATA(CELL_NODE_Y, K)) / scale)});
            fault = true;
        }
    }
    for (int K = 1; K <= cells; ++K) {
        const int n = ICELL(ICELL_COUNT, K);
        if (n < 0) {
            write_list(UNIT_DIAG, {n, " NEGATIVE MOLECULES IN CELL", K});
            fault = true;
            continue;
        }
        for (int j = 1; j <= n; ++j) {
            const int L = ICELL(ICELL_START, K) + j;
            const int M = L >= 1 && L <= RUN.XREF_SIZE ? XREF(L) : 0;
            if (M < 1 || M > NM) {
                // An entry that names no molecule in use (a place outside XREF reads as 0): reading its
                // IP columns would leave the store.
                write_list(UNIT_DIAG, {"INCORRECT X-REF, CELL", K, " MOL", M, " IP(1,K)", 0});
                fault = true;
                continue;
            }
            if (std::abs(IP(IP_CELL, M)) != K) {
                write_list(UNIT_DIAG, {"INCORRECT INDEX, CELL", K, " MOL", M, " CELL", IP(IP_CELL, M)});
                fault = true;
            }
            if (IP(IP_PLACE, M) != L) {
                write_list(UNIT_DIAG, {"INCORRECT X-REF, CELL", K, " MOL", M, " IP(1,K)", IP(IP_PLACE, M)});
                fault = true;
            }
        }
    }
    if (fault)
        RESET_CONTINUOUS_INDEXING();
}
