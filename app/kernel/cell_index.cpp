// The molecule-in-cell index (ICELL rows 1 and 2, IP row 1, XREF, IRCELL).
//
// Normal indexing (INDEX_MODE 0): INDEX_MOLECULES rebuilds every list once per time step, a counting
// sort of the molecules by cell into IP row 1, each cell's list in increasing molecule number. The
// counts of the sort are kept up to date between rebuilds (see LiveCounts), so that a rebuild fills the
// lists in one pass over the molecules instead of two.
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

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

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

// The normal index by a counting sort through ICELL alone (when there is no memory for the live
// counts): count, lay out, list every molecule in increasing number.
void index_without_live_counts()
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

// The molecules of every cell, kept up to date between rebuilds of the normal index from the changes
// that the move and the store report (note_cell_change, note_molecule_removed), so that the next
// rebuild knows every list's start before it reads a molecule. Molecules 1 .. counted are counted by
// |IP row 2|; those above (entered since the last rebuild) are added when the rebuild comes. A change
// that reaches the cells by another way (the restart reader, the cell adaption, a test) leaves the
// counts wrong, and the rebuild finds that out and counts afresh: the counts only ever save time.
// The changes are logged as they come and added to the counts at the rebuild: the move reports them
// from its innermost loop, where a count of a cell far away in memory would wait for its cache line.
struct LiveCounts {
    Array<int, 1> count;       // (CELL_COUNT at the last rebuild) molecules 1 .. counted in each cell
    std::vector<int> changes;  // changes not yet in `count`: K for one molecule more in cell K, -K for
                               // one fewer
    int counted = 0;           // molecules counted in `count` (with `changes`)
    bool valid = false;        // false: no counts (before the first rebuild, after a cell out of range,
                               // or after more changes than a recount costs)
};
LiveCounts live;

// Logs one molecule more (d = 1) or fewer (d = -1) in cell |c|. Past twice the molecules counted the
// log is given up: a recount is cheaper then (and under continuous indexing, which never rebuilds
// the normal index, the log stops there).
void add_to_live_count(int c, int d)
{
    if (!live.valid)
        return;
    if (live.changes.size() >= 2 * std::size_t(live.counted) + 64) {
        live.valid = false;
        live.changes.clear();
        return;
    }
    live.changes.push_back(d > 0 ? std::abs(c) : -std::abs(c));
}

// Adds d to the count of cell |c| at once; false for a cell outside the counts.
bool add_now(int c, int d)
{
    const int K = std::abs(c);
    if (K < 1 || std::size_t(K) > live.count.size())
        return false;
    live.count(K) += d;
    return true;
}

// Adds the logged changes, then molecules counted + 1 .. NM, to the counts; a cell outside the counts
// invalidates them.
void bring_live_counts_up_to_date()
{
    for (const int e : live.changes)
        if (!add_now(e, e > 0 ? 1 : -1))
            live.valid = false;
    live.changes.clear();
    const auto& IP = MOLECULES.IP;
    for (int N = live.counted + 1; N <= MOLECULES.NM; ++N)
        if (!add_now(IP(IP_CELL, N), 1))
            live.valid = false;
    live.counted = MOLECULES.NM;
}

// Counts molecules 1 .. NM afresh into the live counts (allocated for CELL_COUNT cells when needed);
// false without the memory for them.
bool count_into_live_counts()
{
    const int cells = CELLS.CELL_COUNT;
    live.changes.clear();
    live.valid = live.count.size() == std::size_t(cells) || live.count.allocate(cells);
    if (!live.valid)
        return false;
    live.count.fill(0);
    int* const count = live.count.data();
    const int* const ip = MOLECULES.IP.data();
    const std::ptrdiff_t rows = MOLECULES.IP.extent(1);
    const int NM = MOLECULES.NM;
    for (int N = 1; N <= NM; ++N)
        ++count[std::abs(ip[rows * (N - 1) + (IP_CELL - 1)]) - 1];
    live.counted = NM;
    return true;
}

// True when the live counts are there for the present cells, brought up to date.
bool live_counts_ready()
{
    if (!live.valid || live.count.size() != std::size_t(CELLS.CELL_COUNT) || live.counted > MOLECULES.NM)
        return false;
    bring_live_counts_up_to_date();
    return live.valid;
}

// Lays the lists out end to end from the live counts: every start into ICELL row 1, and the live count
// of every cell replaced by its start, the place from which fill_lists writes the cell's molecules.
// False when the counts cannot be right (a negative count, or a total other than NM).
bool lay_out_lists()
{
    auto& ICELL = CELLS.ICELL;
    const int cells = CELLS.CELL_COUNT;
    const int NM = MOLECULES.NM;
    long long p = 0;
    for (int K = 1; K <= cells; ++K) {
        const int n = live.count(K);
        if (n < 0)
            return false;
        const int start = int(std::min<long long>(p, NM));
        ICELL(ICELL_START, K) = start;
        live.count(K) = start;
        p += n;
    }
    return p == NM;
}

// Lists molecules 1 .. NM in IP row 1 in increasing number, each at the next place of its cell (the
// live count array, as lay_out_lists left it, holds the places; they end one past each cell's last
// molecule). Counting up a dense array of one integer per cell keeps this pass within the cache. A
// place beyond NM (counts that were wrong) is written at NM instead, so that the writes stay within
// the lists; close_lists then rejects the fill.
void fill_lists()
{
    int* const next = live.count.data();
    int* const ip = MOLECULES.IP.data();
    const std::ptrdiff_t rows = MOLECULES.IP.extent(1);
    const int NM = MOLECULES.NM;
    for (int N = 1; N <= NM; ++N) {
        const int place = next[std::abs(ip[rows * (N - 1) + (IP_CELL - 1)]) - 1]++;
        ip[rows * std::min(place, NM - 1) + (IP_PLACE - 1)] = N;
    }
}

// After fill_lists: the counts into ICELL row 2 and back into the live counts (the molecules that the
// fill found in each cell, right whether or not the layout was). True when every cell's molecules
// ended where the next cell's list starts, so that the lists written are the index.
bool close_lists()
{
    auto& ICELL = CELLS.ICELL;
    const int cells = CELLS.CELL_COUNT;
    bool held = true;
    for (int K = 1; K <= cells; ++K) {
        const int end = live.count(K);
        held = held && end == (K < cells ? ICELL(ICELL_START, K + 1) : MOLECULES.NM);
        const int n = end - ICELL(ICELL_START, K);
        ICELL(ICELL_COUNT, K) = n;
        live.count(K) = n;
    }
    return held;
}

}  // namespace

// INDEX_MOLECULES: full rebuild for normal indexing. The lists fill IP row 1 positions 1 .. NM without
// gaps, cell after cell; with no molecules only the counts are cleared (the starts keep their values).
// The lists are laid out from the live counts; the molecules are counted first only when there are
// none, and a fill that shows the counts wrong (having counted the cells' molecules as it went) is
// laid out and filled again.
void INDEX_MOLECULES()
{
    if (MOLECULES.NM == 0) {
        clear_counts();
        live.valid = false;
        live.changes.clear();
        return;
    }
    if (!live_counts_ready() || !lay_out_lists()) {
        if (!count_into_live_counts()) {
            index_without_live_counts();
            return;
        }
        lay_out_lists();
    }
    fill_lists();
    if (close_lists())
        return;
    lay_out_lists();
    fill_lists();
    close_lists();
}

// note_cell_change: molecule N, counted, goes from cell |from| to cell |to|.
void note_cell_change(int N, int from, int to)
{
    if (N > live.counted)
        return;
    add_to_live_count(from, -1);
    add_to_live_count(to, 1);
}

// note_molecule_removed: molecule N leaves the store and the last one, NM, takes its slot. N's cell loses
// it if it was counted; an uncounted last molecule that moves into a counted slot is counted there; and
// the counted molecules end at the new NM at the latest.
void note_molecule_removed(int N)
{
    const auto& IP = MOLECULES.IP;
    const int last = MOLECULES.NM;
    if (N <= live.counted) {
        add_to_live_count(IP(IP_CELL, N), -1);
        if (last > live.counted && N != last)
            add_to_live_count(IP(IP_CELL, last), 1);
    }
    live.counted = std::min(live.counted, last - 1);
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
    // The normal index's counts are of no use under continuous indexing: their log is stopped.
    live.valid = false;
    live.changes.clear();
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
