// COLLIDE_MOLECULES: the "Collisions" phase, the no-time-counter scheme of Bird 1994 (section 11.1).
//
// Every cell whose collisions lag the flow time by more than its time step DTC is given one interval of
// 2 DTC. The candidate pairs of the interval are
//   A = N (N - 1) / 2  FNUM  (sigma_T c_r)_max  2 DTC  SF^2 / V  +  remainder,
// of which the integer part is selected and the fraction carried to the next interval (lengths and
// times are scaled by SF, so SF^2 / V turns the scaled volume back into real units per scaled time).
// A pair is accepted with probability sigma_T c_r / (sigma_T c_r)_max, the VHS cross-section being
//   sigma_T = sigma_ref (2 k T_ref / (m_r c_r^2))^(omega - 1/2) / Gamma(5/2 - omega)   (Bird 1994, 4.63).
//
// Reads CELLS (fields 1, 12-14 of CELL_DATA, CELL_TIME, ICELL), the molecule store and the pair
// constants; writes fields 12 and 14 of CELL_DATA, CELL_TIME, COLLISION_COUNT, CELL_COLL_COUNT,
// CELL_SEP_SUM and PAIR_COLL_COUNT, and the molecules through the collision mechanics. Keeps a count
// per cell of the passes in which it surely is not due (see "Cells passed by"), so that a pass that
// follows the last one tests only about the cells that are due.
#include "app/kernel/collide_molecules.h"

#include "app/kernel/constants.h"
#include "app/kernel/pass_counts.h"
#include "app/kernel/molecule_store.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "base/fatal.h"
#include "base/prefetch.h"
#include "base/random.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Draws of a first molecule that a reaction has not marked, and of a partner from the whole cell.
// A cell whose other molecules are all marked would otherwise draw forever.
constexpr int FIRST_MOLECULE_DRAWS = 100;
constexpr int WHOLE_CELL_PARTNER_DRAWS = 20;

// Offset subtracted from the molecule count so that a list draw never passes the last entry.
constexpr double LIST_OFFSET = double(0.0001f);

// Squared relative speed at and below which a pair counts as one molecule with itself.
constexpr float ZERO_SPEED = 1.0e-6f;

// Remainder left in a cell that met such a pair.
constexpr float ZERO_SPEED_REMAINDER = 0.99f;

// sigma_T c_r of a species pair as K f(c_r^2), with K = sigma_ref (2 k T_ref / m_r)^(omega - 1/2) /
// Gamma(5/2 - omega) and f(c_r^2) = (c_r^2)^(1 - omega); the common exponents are done without pow.
struct PairRate {
    double K = 0.0;      // the constant factor
    double power = 0.0;  // 1 - omega
    int kind = 0;        // 0 general, 1 omega = 1/2, 2 omega = 3/4, 3 omega = 1
};

PairRate pair_rate(int LS, int MS)
{
    const auto& SPD = GAS.SPECIES_PAIR_DATA;
    const double omega = SPD(PAIR_VISC_POWER, LS, MS);
    PairRate r;
    r.K =
        double(SPD(PAIR_CROSS_SECTION, LS, MS)) *
        std::pow(double(BOLTZ2) * SPD(PAIR_REF_TEMP, LS, MS) / SPD(PAIR_REDUCED_MASS, LS, MS), omega - 0.5) *
        SPD(PAIR_GAMMA_FACTOR, LS, MS);
    r.power = 1.0 - omega;
    const float w = SPD(PAIR_VISC_POWER, LS, MS);
    r.kind = w == 0.5f ? 1 : w == 0.75f ? 2 : w == 1.0f ? 3 : 0;
    return r;
}

inline float sigma_cr(const PairRate& r, float cr2, float cr)
{
    switch (r.kind) {
    case 1: return static_cast<float>(r.K * cr);
    case 2: return static_cast<float>(r.K * std::sqrt(double(cr)));
    case 3: return static_cast<float>(r.K);
    default: return static_cast<float>(r.K * std::pow(double(cr2), r.power));
    }
}

// The pair constants of every species pair, formed once per call (no allocation after the first call
// of a run with this many species).
Array<double, 3> RATE_TABLE;  // (3, SPECIES_COUNT, SPECIES_COUNT): K, 1 - omega, kind

void fill_rate_table(int species)
{
    if (RATE_TABLE.extent(2) != species && !RATE_TABLE.allocate(3, species, species))
        fatal_stop("COLLIDE_MOLECULES: cannot allocate the pair constants of " + std::to_string(species) +
                   " species");
    for (int p = 1; p <= species; ++p)
        for (int q = 1; q <= species; ++q) {
            const PairRate r = pair_rate(p, q);
            RATE_TABLE(1, p, q) = r.K;
            RATE_TABLE(2, p, q) = r.power;
            RATE_TABLE(3, p, q) = r.kind;
        }
}

inline PairRate table_rate(int p, int q)
{
    PairRate r;
    r.K = RATE_TABLE(1, p, q);
    r.power = RATE_TABLE(2, p, q);
    r.kind = static_cast<int>(RATE_TABLE(3, p, q));
    return r;
}

// The molecule at list position p of the present indexing mode.
inline int listed(int p, bool continuous)
{
    return continuous ? MOLECULES.XREF(p) : MOLECULES.IP(IP_PLACE, p);
}

// Whether molecule m is free of a reaction's mark (a negative cell in IP row 2). Only gas reactions
// mark molecules, and the marked ones leave the store at the end of the phase, so without reactions no
// molecule is marked and its IP column, which lies anywhere in the store, need not be read.
inline bool unmarked(int m, bool reactions)
{
    return !reactions || MOLECULES.IP(IP_CELL, m) > 0;
}

// A list position of cell j drawn at random: start + int((N - 0.0001) rf) + 1.
inline int draw_position(int start, double span)
{
    return start + static_cast<int>(span * random_uniform()) + 1;
}

// A of cell j holding N molecules for an interval of 2 dtc: the candidate pairs, the products from
// left to right, the division and the remainder last.
inline double candidate_pairs(int j, int N, float dtc, double fnum, double sf)
{
    const auto& CD = CELLS.CELL_DATA;
    return double(N) * 0.5 * double(N - 1) * fnum * CD(CELL_SIGMA_CR_MAX, j) * (2.0 * dtc) * sf * sf /
               CD(CELL_VOLUME, j) +
           CD(CELL_REMAINDER, j);
}

// The number of selections of an interval: A truncated toward zero, with A clamped in floating point.
// A that is not a positive finite number (a negative bound, or a cell without volume) selects nothing.
int selection_count(double& A)
{
    if (A > 0.0 && A < 2.0e9)
        return static_cast<int>(A);
    if (!(A > 0.0) || !std::isfinite(A)) {
        A = 0.0;
        return 0;
    }
    return 2000000000;
}

// Removes every molecule that a reaction marked (negative IP row 2). REMOVE_MOLECULE moves the last
// molecule into the freed slot and steps the slot number back, so that molecule is examined next; the
// pass takes as many steps as the store had molecules, so every slot that remains is examined once.
// Under continuous indexing the removal also takes the molecule out of its cell's list.
void remove_marked_molecules()
{
    auto& IP = MOLECULES.IP;
    const int steps = MOLECULES.NM;
    int n = 0;
    for (int k = 1; k <= steps && n < MOLECULES.NM; ++k) {
        ++n;
        const int cell = IP(IP_CELL, n);
        if (cell < 0)
            REMOVE_MOLECULE(n, -cell);
    }
}

// ---- Cells passed by. CELL_SKIP(j) holds the passes in which cell j, with its clock and step, surely is
// not due after its turn (its clock advanced when it was due: passes_surely_not_due), and counts down in each
// pass that passes the cell by without reading its clock or its step; a cell is tested again when its count
// reaches 0. So exactly the cells that are due collide, in increasing order, as when every clock is read, and
// a pass reads the clocks and steps of about the cells that are due instead of the whole cell table. The
// counts hold while the passes follow one another at one DTM under the same steps and clocks; a pass after
// anything else (an output, which adapts the steps and moves OUTPUT_TIME on, another DTM or flow time,
// another cell table) first sets every count to 0.

// What the counts were made under: the last pass's flow time, DTM and OUTPUT_TIME, and the cell table.
struct CellSkipRecord {
    double time = 0.0;
    float dtm = 0.0f;
    float output_time = 0.0f;
    const float* cell_data = nullptr;
    const double* clocks = nullptr;
    int cells = 0;
};
CellSkipRecord cell_skip_record;
Array<uint8_t, 1> CELL_SKIP;   // (CELL_COUNT) passes in which cell j surely is not due
Array<int32_t, 1> CELL_TURNS;  // (CELL_COUNT) the cells tested in this pass, in increasing order
int cells_outstanding = 0;     // the largest count that may be above 0 at the start of the next pass
int cells_most = 0;            // the largest count set in this pass
bool cells_waited = false;     // whether a cell tested in this pass was not due

// How many turns ahead of the cell in hand the memory is asked for a cell's data, and for its list
// entries (see COLLIDE_MOLECULES).
constexpr int CELL_DATA_AHEAD = 16;
constexpr int LIST_AHEAD = 8;

CellSkipRecord cell_skip_conditions(double time)
{
    return {time, RUN.DTM, RUN.OUTPUT_TIME, CELLS.CELL_DATA.data(), CELLS.CELL_TIME.data(), CELLS.CELL_COUNT};
}

// The cells to test in the pass at `time`: `count` of them; when `skipping` (cells are passed by) they
// are listed in increasing order in CELL_TURNS, else every cell is tested in turn. `counting`
// tells whether the cells' counts are worth setting in this pass: a count of 0 is never wrong, so under
// one step for all cells, where every cell is due in every pass, the counts are left at 0 until a pass
// finds a cell not due.
struct CellTurns {
    int count = 0;
    bool skipping = false;
    bool counting = false;
};

// CellTurns of the pass at `time`. The counts of the cells passed by go down by 1. When this pass does
// not follow the last one every count is set to 0.
CellTurns list_cell_turns(double time)
{
    const int cells = CELLS.CELL_COUNT;
    const CellSkipRecord now = cell_skip_conditions(time), last = cell_skip_record;
    const bool follows = CELL_SKIP.size() == std::size_t(std::max(cells, 0)) && now.dtm == last.dtm &&
                         now.time == last.time + double(last.dtm) && now.output_time == last.output_time &&
                         now.cell_data == last.cell_data && now.clocks == last.clocks &&
                         now.cells == last.cells;
    if (CELL_SKIP.size() != std::size_t(std::max(cells, 0))) {
        if (!CELL_SKIP.allocate(cells) || !CELL_TURNS.allocate(cells))
            fatal_stop("COLLIDE_MOLECULES: cannot allocate the work arrays of " + std::to_string(cells) +
                       " cells");
    }
    if (!follows) {
        CELL_SKIP.fill(0);
        cells_outstanding = 0;
    }
    CellTurns turns;
    turns.skipping = cells_outstanding > 0;
    turns.counting = turns.skipping || !follows || cells_waited;
    cells_most = 0;
    cells_waited = false;
    if (!turns.skipping) {
        turns.count = cells;
        return turns;
    }
    int32_t* const turn = CELL_TURNS.data();
    // Eight counts at a time: `zero` has the high bit of each byte that is 0 (and of no other), every
    // other count goes down by 1 without a borrow across bytes.
    constexpr uint64_t LOWS = 0x7F7F7F7F7F7F7F7FULL;
    uint8_t* const skip = CELL_SKIP.data();
    int& listed = turns.count;
    int j = 0;
    for (; j + 8 <= cells; j += 8) {
        uint64_t w;
        std::memcpy(&w, skip + j, sizeof w);
        uint64_t zero = ~(((w & LOWS) + LOWS) | w) & ~LOWS;
        w -= SKIP_ONES ^ (zero >> 7);
        std::memcpy(skip + j, &w, sizeof w);
        for (; zero != 0; zero &= zero - 1)
            turn[listed++] = j + 1 + std::countr_zero(zero) / 8;
    }
    for (; j < cells; ++j) {
        if (skip[j] != 0)
            --skip[j];
        else
            turn[listed++] = j + 1;
    }
    return turns;
}

// Sets the count of cell j after its turn at `time`, with clock `clock` and step dtc; per_dtm is
// skip_rate(DTM).
inline void pass_cell_by(int j, double clock, float dtc, double time, double per_dtm)
{
    if (const int count = passes_surely_not_due(clock, dtc, time, per_dtm)) {
        CELL_SKIP(j) = static_cast<uint8_t>(count);
        cells_most = std::max(cells_most, count);
    }
}

// Notes the conditions of the pass just made, under which the counts were set.
void end_cell_turns(double time)
{
    cell_skip_record = cell_skip_conditions(time);
    cells_outstanding = std::max(cells_outstanding - 1, cells_most);
}

// The relative speed of the bound's floor, in most probable relative speeds sqrt(2 k T / m_r): in an
// equilibrium gas 4.4e-4 of the pairs are faster, and the collisions that a bound at this speed misses
// are below 7e-5 of all for any omega from 1/2 to 1.
constexpr double FLOOR_SPEED_RATIO = 3.0;

}  // namespace

// collision_bound_floor: see the header.
float collision_bound_floor(double T, int cell)
{
    return CollisionBoundFloors()(T, cell);
}

// sigma_T c_r = K (c_r^2)^(1 - omega) at c_r^2 = 9 (2 k T / m_r), the largest over the pairs present.
float CollisionBoundFloors::operator()(double T, int cell)
{
    if (!(T > 0.0))
        return 0.0f;
    if (!formed_) {
        species_ = GAS.SPECIES_COUNT;
        for (int p = 1; p <= species_; ++p)
            for (int q = 1; q <= species_; ++q) {
                const PairRate r = pair_rate(p, q);
                K_.push_back(r.K);
                power_.push_back(r.power);
                reduced_mass_.push_back(GAS.SPECIES_PAIR_DATA(PAIR_REDUCED_MASS, p, q));
            }
        formed_ = true;
    }
    auto present = [cell](int s) { return cell < 1 || SAMPLES.CELL_SAMPLE(CS_COUNT, cell, s) > 0.5; };
    bool any = false;
    for (int s = 1; s <= species_ && !any; ++s)
        any = present(s);
    double floor = 0.0;
    for (int p = 1; p <= species_; ++p)
        for (int q = 1; q <= species_; ++q) {
            if (any && !(present(p) && present(q)))
                continue;
            const std::size_t pair = std::size_t(p - 1) * species_ + (q - 1);
            const double cr2 =
                FLOOR_SPEED_RATIO * FLOOR_SPEED_RATIO * double(BOLTZ2) * T / reduced_mass_[pair];
            floor = std::max(floor, K_[pair] * std::pow(cr2, power_[pair]));
        }
    return static_cast<float>(floor);
}

// stream_collision_bound_floor: see the header.
float stream_collision_bound_floor()
{
    const auto& G = GAS;
    const double T = G.INITIAL_GAS == 1 ? std::fmax(G.STREAM_TEMP, G.SECONDARY_TEMP) : G.STREAM_TEMP;
    return collision_bound_floor(T, 0);
}

// COLLIDE_MOLECULES: see the file comment. Per due cell: the clock, the selection number, the sub-cells,
// then NSEL times a first molecule anywhere in the cell, its partner, the acceptance test and, for an
// accepted pair, the counts, the separation sum and the collision mechanics.
void COLLIDE_MOLECULES()
{
    auto& CD = CELLS.CELL_DATA;
    auto& CELL_TIME = CELLS.CELL_TIME;
    const auto& ICELL = CELLS.ICELL;
    auto& IP = MOLECULES.IP;
    auto& PV = MOLECULES.PV;
    auto& POS = MOLECULES.MOL_POS;
    auto& COLL = SAMPLES.CELL_COLL_COUNT;
    auto& SEP = SAMPLES.CELL_SEP_SUM;
    auto& PAIRS = SAMPLES.PAIR_COLL_COUNT;

    const double time = RUN.TIME;
    const double fnum = RUN.FNUM;
    const double sf = BOX.SCALE_FACTOR;
    const int species = GAS.SPECIES_COUNT;
    const bool mixture = species > 1;
    const bool reactions = GAS.GAS_REACTIONS > 0;
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    const bool subcells = RUN.SUBCELL_MODE == SUBCELLS_TRANSIENT;
    const int species_row = MOLECULES.IP_ROWS;

    fill_rate_table(species);
    const PairRate single = table_rate(1, 1);

    const double per_dtm = skip_rate(RUN.DTM);
    const CellTurns cell_turns = list_cell_turns(time);
    const int turns = cell_turns.count;
    const bool skipping = cell_turns.skipping, counting = cell_turns.counting;
    const int32_t* const turn = CELL_TURNS.data();
    // The cell of turn t, and whether it will select pairs (due, two molecules or more, A >= 1), read
    // ahead of its turn for the hints below.
    auto cell_of_turn = [turn, skipping](int t) { return skipping ? int(turn[t]) : t + 1; };
    // Whether cell c is due with two molecules or more; if so, its count and its A as its turn forms them.
    auto due_with_pairs = [&](int c, int& count, double& A) {
        count = ICELL(ICELL_COUNT, c);
        const float c_dtc = CD(CELL_TIME_STEP, c);
        if (count < 2 || !(time - CELL_TIME(c) > c_dtc))
            return false;
        A = candidate_pairs(c, count, c_dtc, fnum, sf);
        return true;
    };
    auto will_select = [&](int c) {
        int count = 0;
        double A = 0.0;
        return due_with_pairs(c, count, A) && A >= 1.0;
    };
    // The A of the cell of turn `turn` (-1: none) with `N` molecules, formed in the turn before.
    struct Ahead {
        int turn = -1;
        int N = 0;
        double A = 0.0;
    } ahead;
    for (int t = 0; t < turns; ++t) {
        const int j = cell_of_turn(t);
        // Hints only, no result changes. The cells tested lie apart when cells are passed by: their
        // clocks, steps and list starts are asked for CELL_DATA_AHEAD turns ahead, and the list entries
        // of a cell that will select LIST_AHEAD turns ahead (whatever the collisions between change).
        if (skipping && t + CELL_DATA_AHEAD < turns) {
            const int ahead = turn[t + CELL_DATA_AHEAD];
            prefetch_line(&CD(CELL_VOLUME, ahead));
            prefetch_line(&CD(CELL_TIME_STEP, ahead));
            prefetch_line(&CELL_TIME(ahead));
            prefetch_line(&ICELL(ICELL_START, ahead));
        }
        if (skipping && t + LIST_AHEAD < turns && will_select(turn[t + LIST_AHEAD])) {
            const int ahead = turn[t + LIST_AHEAD], first = ICELL(ICELL_START, ahead);
            const ListColumn list = list_column(continuous);
            prefetch_line(list.address(first + 1));
            prefetch_line(list.address(first + ICELL(ICELL_COUNT, ahead)));
        }

        // Time rule: due when the cell lags by more than its step; one interval of 2 DTC per call.
        const float dtc = CD(CELL_TIME_STEP, j);
        if (!(time - CELL_TIME(j) > dtc)) {
            cells_waited = true;
            pass_cell_by(j, CELL_TIME(j), dtc, time, per_dtm);
            continue;
        }
        CELL_TIME(j) += 2.0 * dtc;
        if (counting)
            pass_cell_by(j, CELL_TIME(j), dtc, time, per_dtm);

        // Selection number.
        const int N = ICELL(ICELL_COUNT, j);
        const bool seen = ahead.turn == t && ahead.N == N;
        double A = seen ? ahead.A : candidate_pairs(j, N, dtc, fnum, sf);
        const int nsel = selection_count(A);
        CD(CELL_REMAINDER, j) = static_cast<float>(A - nsel);

        // The next tested cell, when due with two molecules or more: its A, formed now and taken at its
        // turn while its count is the same (this phase writes the cell data of the cell in turn alone,
        // and a dissociation lists its product in the cell in turn). With sub-cells every molecule's
        // position is read in a cell that selects pairs: when the next cell will, the memory is asked
        // for those of its molecules, which lie anywhere in the store, so that the first touch need not
        // wait. Without sub-cells only the few pairs selected are read.
        if (t + 1 < turns) {
            const int next = cell_of_turn(t + 1);
            int count = 0;
            double A_next = 0.0;
            if (due_with_pairs(next, count, A_next)) {
                ahead = {t + 1, count, A_next};
                if (subcells && ahead.A >= 1.0) {
                    const ListColumn list = list_column(continuous);
                    const float* const pos = POS.data();
                    const int first = ICELL(ICELL_START, next);
                    const int* const end = list.address(first + count + 1);
                    for (const int* q = list.address(first + 1); q != end; q += list.stride)
                        prefetch_line(pos + 3 * (std::ptrdiff_t(*q) - 1));
                }
            }
        }

        // Nothing to select; a cell of fewer than two molecules (whose A is its remainder alone, below
        // 1 unless a restart set says otherwise) has no pair, and its list draws would leave it.
        if (nsel <= 0 || N < 2)
            continue;

        // The velocities of the pairs selected below lie anywhere in the store: ask for those of the
        // cell's molecules now, so that the loads overlap with the sub-cell sort (hints only).
        {
            const ListColumn list = list_column(continuous);
            const float* const pv = PV.data();
            const std::ptrdiff_t rows = PV.extent(1);
            const int start = ICELL(ICELL_START, j);
            const int* const end = list.address(start + N + 1);
            for (const int* q = list.address(start + 1); q != end; q += list.stride)
                prefetch_line(pv + rows * (std::ptrdiff_t(*q) - 1));
        }

        // Sub-cells for this interval.
        int n_side = 1, n_total = 1;
        if (subcells)
            SET_SUBCELLS(j, n_side, n_total);

        const double span = double(N) - LIST_OFFSET;
        for (int sel = 1; sel <= nsel; ++sel) {
            // First molecule, one that no reaction has marked. The cell's list start is read anew:
            // under continuous indexing a dissociation product listed in a full index lays the whole
            // index out again.
            const int start = ICELL(ICELL_START, j);
            int p = 0, M = 0;
            bool found = false;
            for (int draw = 1; draw <= FIRST_MOLECULE_DRAWS && !found; ++draw) {
                p = draw_position(start, span);
                M = listed(p, continuous);
                found = unmarked(M, reactions);
            }
            if (!found)
                continue;

            // Partner.
            int L = M;
            if (n_side < 2) {
                for (int draw = 1; draw <= WHOLE_CELL_PARTNER_DRAWS && L == M; ++draw) {
                    const int c = listed(draw_position(start, span), continuous);
                    if (unmarked(c, reactions))
                        L = c;
                }
            } else {
                L = find_subcell_partner(j, M, p, n_side);
            }

            // Relative speed; a pair without one (L = M, or equal velocities) ends the selection.
            const double gx = double(PV(1, M)) - PV(1, L);
            const double gy = double(PV(2, M)) - PV(2, L);
            const double gz = double(PV(3, M)) - PV(3, L);
            const float cr2 = static_cast<float>(gx * gx + gy * gy + gz * gz);
            if (cr2 <= ZERO_SPEED) {
                CD(CELL_REMAINDER, j) = ZERO_SPEED_REMAINDER;
                continue;
            }
            const float cr = static_cast<float>(std::sqrt(double(cr2)));

            // Species, sigma_T c_r, the bound, the acceptance.
            int LS = 1, MS = 1;
            float S;
            if (mixture) {
                LS = IP(species_row, M);
                MS = IP(species_row, L);
                if (reactions) {
                    LS = std::abs(LS);
                    MS = std::abs(MS);
                }
                S = sigma_cr(table_rate(LS, MS), cr2, cr);
            } else {
                S = sigma_cr(single, cr2, cr);
            }
            float& bound = CD(CELL_SIGMA_CR_MAX, j);
            if (S > bound)
                bound = S;
            if (!(random_uniform() < double(S) / bound))
                continue;

            // Counts, the separation of the pair (all three components), the mechanics.
            RUN.COLLISION_COUNT += 1.0;
            COLL(j) += 1.0;
            if (mixture) {
                PAIRS(LS, MS) += 1.0;
                PAIRS(MS, LS) += 1.0;
            }
            const double dx = double(POS(1, M)) - POS(1, L);
            const double dy = double(POS(2, M)) - POS(2, L);
            const double dz = double(POS(3, M)) - POS(3, L);
            SEP(j) += std::sqrt(dx * dx + dy * dy + dz * dz);
            collide_pair(j, M, L, LS, MS, cr2, cr);
        }
    }

    end_cell_turns(time);

    // Molecules that reactions marked leave the store (and, under continuous indexing, their list).
    if (reactions && MOLECULES.NM > 0)
        remove_marked_molecules();
}
