// Transient sub-cells of the collision phase: for one collision interval a cell's bounding box is cut
// into n x n x n sub-cells, so that a collision partner is taken close to the first molecule (Bird 1994,
// section 11.1: nearest-neighbour selection keeps the mean collision separation small against the
// mean free path).
//
// Work arrays (MOLECULES, reused from cell to cell, grown only when a cell needs more room):
//   IPS(3, i)  the molecule at cell position i = 1..N;  IPS(2, i) its sub-cell;
//   IPS(1, q)  the positions listed sub-cell by sub-cell;
//   ISCH(1, s) the IPS row-1 entries before sub-cell s;  ISCH(2, s) its molecule count;
//   SUBCELL_IJK(1..3, s) its z, y and x index.
// Sub-cell s = ix + (iy - 1) n + (iz - 1) n^2.
#include "app/kernel/collide_molecules.h"

#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/random.h"
#include "base/units.h"

#include <cmath>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double LIST_OFFSET = double(0.0001f);

// The exponent of the sub-cell count, the 4-byte constant 0.33333 (just below 1/3: a ratio of exactly
// 8 gives n = 1).
constexpr double CUBE_ROOT_POWER = double(0.33333f);

// Largest sub-cells per side, so that n^3 stays a 4-byte integer.
constexpr int MAX_SUBCELLS_PER_SIDE = 1290;

// Draws within the first molecule's own sub-cell, and of the whole-cell fallback. The fallback draws
// until the partner differs from the first molecule; it is bounded only because a molecule that a
// reaction marked is never taken, and the cell's others may all be marked.
constexpr int SUBCELL_PARTNER_DRAWS = 10;
constexpr int FALLBACK_DRAWS = 10000;

// The 26 neighbour offsets (dx, dy, dz) in the order of the search, read from NEIGHBOUR_DIVISIONS
// (whose columns, in this use, hold dz, dy, dx).
int OFFSETS[26][3];
bool offsets_read = false;

void read_offsets()
{
    const auto& ND = DIVISIONS.NEIGHBOUR_DIVISIONS;
    for (int k = 1; k <= 26; ++k) {
        OFFSETS[k - 1][0] = ND(k, 3);
        OFFSETS[k - 1][1] = ND(k, 2);
        OFFSETS[k - 1][2] = ND(k, 1);
    }
    offsets_read = true;
}

// Sub-cell index along one axis: int((c - lo) n inv + 1), limited to 1..n (clamped in floating point,
// so a point outside the cell, or a cell of no extent, stays in range). Written as selections, not
// branches: with two sub-cells per side either side is as likely, and a branch would be mispredicted
// half the time.
// The compiler turns the upper limit into a branch to an integer result unless told the instruction:
// MINSD(a, b) is a < b ? a : b, the same value.
inline int axis_index(float c, float lo, double n_inv, int n)
{
    const double v = (double(c) - lo) * n_inv + 1.0;
    const double above = v >= 1.0 ? v : 1.0;  // also NaN -> 1
    const double limit = n;
#if defined(__SSE2__)
    return static_cast<int>(_mm_cvtsd_f64(_mm_min_sd(_mm_set_sd(above), _mm_set_sd(limit))));
#else
    return static_cast<int>(above < limit ? above : limit);
#endif
}

// The sub-cells per side before truncation, (N / fill)^0.33333.
inline double subcell_root(int N, float fill)
{
    return std::pow(double(N) / fill, CUBE_ROOT_POWER);
}

// The same for a cell that the flow fills whole (most cells), kept for the molecule counts met so far:
// one power per count instead of one per cell and interval.
constexpr int ROOT_TABLE_SIZE = 256;
double ROOT_TABLE[ROOT_TABLE_SIZE];  // 0 where not yet formed

double whole_cell_root(int N)
{
    if (N >= ROOT_TABLE_SIZE)
        return subcell_root(N, 1.0f);
    double& root = ROOT_TABLE[N];
    if (root == 0.0)
        root = subcell_root(N, 1.0f);
    return root;
}

[[noreturn]] void allocation_failed(const char* line, const std::string& what)
{
    write_list(UNIT_DIAG, {line});
    fatal_stop("SET_SUBCELLS: cannot allocate " + what);
}

inline int listed(int p, bool continuous)
{
    return continuous ? MOLECULES.XREF(p) : MOLECULES.IP(IP_PLACE, p);
}

// A partner that no reaction has marked; without gas reactions no molecule is marked (see
// COLLIDE_MOLECULES), and its IP column need not be read.
inline bool usable(int L)
{
    return GAS.GAS_REACTIONS <= 0 || MOLECULES.IP(IP_CELL, L) > 0;
}

}  // namespace

// SET_SUBCELLS: see the header. The sort is a counting sort in two passes over the cell's molecules.
void SET_SUBCELLS(int j, int& n, int& n3)
{
    auto& M = MOLECULES;
    const auto& CD = CELLS.CELL_DATA;
    const int N = CELLS.ICELL(ICELL_COUNT, j);
    if (N < 2)
        return;
    if (M.IPS_SIZE < N) {
        M.IPS.deallocate();
        M.IPS_SIZE = N;
        if (!M.IPS.allocate(3, N))
            allocation_failed("PROGRAM COULD NOT ALLOCATE IPS",
                              "IPS for " + std::to_string(N) + " molecules");
    }

    // Sub-cells per side. A cell without a fill fraction (no volume) takes partners from the whole
    // cell: the ratio would be infinite.
    const float fill = CD(CELL_FILL_FRACTION, j);
    const double root = fill == 1.0f ? whole_cell_root(N) : fill > 0.0f ? subcell_root(N, fill) : 1.0;
    n = root >= MAX_SUBCELLS_PER_SIDE ? MAX_SUBCELLS_PER_SIDE : static_cast<int>(root);
    if (n < 2)
        return;

    // Sub-cell arrays and their indices.
    n3 = n * n * n;
    if (M.ISCH_SIZE < n3) {
        M.ISCH.deallocate();
        M.SUBCELL_IJK.deallocate();
        M.ISCH_SIZE = n3;
        if (!M.ISCH.allocate(2, n3) || !M.SUBCELL_IJK.allocate(3, n3))
            allocation_failed("PROGRAM COULD NOT ALLOCATE ISCH",
                              "ISCH for " + std::to_string(n3) + " sub-cells");
    }
    // The work arrays' columns through raw pointers (column i of IPS at ips[3 (i - 1)], of ISCH at
    // isch[2 (s - 1)], of SUBCELL_IJK at ijk[3 (s - 1)]): the loops below are the collision phase's
    // busiest, and the store's columns are read the same way.
    int* const ips = M.IPS.data();
    int* const isch = M.ISCH.data();
    int* const ijk = M.SUBCELL_IJK.data();
    for (int iz = 1, s = 0; iz <= n; ++iz)
        for (int iy = 1; iy <= n; ++iy)
            for (int ix = 1; ix <= n; ++ix, s += 3) {
                ijk[s] = iz;
                ijk[s + 1] = iy;
                ijk[s + 2] = ix;
            }

    // The sub-cell of every molecule of the cell, from the cell's extents.
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    const float* const pos = M.MOL_POS.data();
    const ListColumn list = list_column(continuous);
    const int start = CELLS.ICELL(ICELL_START, j);
    const float xl = CD(CELL_LOW_X, j), yl = CD(CELL_LOW_Y, j), zl = CD(CELL_LOW_Z, j);
    const double fx = n * double(static_cast<float>(1.0 / (double(CD(CELL_HIGH_X, j)) - xl)));
    const double fy = n * double(static_cast<float>(1.0 / (double(CD(CELL_HIGH_Y, j)) - yl)));
    const double fz = n * double(static_cast<float>(1.0 / (double(CD(CELL_HIGH_Z, j)) - zl)));
    const int nn = n * n;
    for (int i = 1; i <= N; ++i) {
        const int m = list(start + i);
        int* const col = ips + 3 * std::ptrdiff_t(i - 1);
        col[2] = m;
        const float* const P = pos + 3 * std::ptrdiff_t(m - 1);
        const int ix = axis_index(P[0], xl, fx, n);
        const int iy = axis_index(P[1], yl, fy, n);
        const int iz = axis_index(P[2], zl, fz, n);
        col[1] = ix + (iy - 1) * n + (iz - 1) * nn;
    }

    // Counts, starts, then the positions listed sub-cell by sub-cell in increasing order.
    for (int s = 0; s < n3; ++s)
        isch[2 * s + 1] = 0;
    for (int i = 0; i < N; ++i)
        ++isch[2 * (ips[3 * i + 1] - 1) + 1];
    int total = 0;
    for (int s = 0; s < n3; ++s) {
        isch[2 * s] = total;
        total += isch[2 * s + 1];
        isch[2 * s + 1] = 0;
    }
    for (int i = 1; i <= N; ++i) {
        int* const sub = isch + 2 * (ips[3 * (i - 1) + 1] - 1);
        ++sub[1];
        ips[3 * (sub[0] + sub[1] - 1)] = i;
    }
}

// find_subcell_partner: see the header. Steps: up to 10 draws within M's own sub-cell when it holds
// others; for M alone, the 26 neighbours once each in table order from a random entry, the first
// occupied one inside the cell giving the partner; else draws from the whole cell.
int find_subcell_partner(int j, int M, int p, int n)
{
    const auto& IPS = MOLECULES.IPS;
    const auto& ISCH = MOLECULES.ISCH;
    const auto& IJK = MOLECULES.SUBCELL_IJK;
    const int start = CELLS.ICELL(ICELL_START, j);
    const int SC = IPS(2, p - start);

    // M's own sub-cell.
    if (ISCH(2, SC) >= 2) {
        const double span = double(ISCH(2, SC)) - LIST_OFFSET;
        for (int draw = 1; draw <= SUBCELL_PARTNER_DRAWS; ++draw) {
            const int q = ISCH(1, SC) + static_cast<int>(span * random_uniform()) + 1;
            const int L = IPS(3, IPS(1, q));
            if (L != M && usable(L))
                return L;
        }
        return M;
    }

    // M alone: the neighbouring sub-cells, starting at a random entry of the table.
    if (!offsets_read)
        read_offsets();
    const int ix = IJK(3, SC), iy = IJK(2, SC), iz = IJK(1, SC);
    const int r = static_cast<int>(random_uniform() * double(25.9999f));
    for (int k = 0; k < 26; ++k) {
        const int* d = OFFSETS[(r + k) % 26];
        const int jx = ix + d[0], jy = iy + d[1], jz = iz + d[2];
        if (jx < 1 || jx > n || jy < 1 || jy > n || jz < 1 || jz > n)
            continue;
        const int t = jx + (jy - 1) * n + (jz - 1) * n * n;
        const int count = ISCH(2, t);
        if (count < 1)
            continue;
        const int q =
            count == 1 ? ISCH(1, t) + 1
                       : ISCH(1, t) + static_cast<int>((double(count) - LIST_OFFSET) * random_uniform()) + 1;
        const int L = IPS(3, IPS(1, q));
        if (usable(L))
            return L;
    }

    // The whole cell, until the partner differs from M.
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    const double span = double(CELLS.ICELL(ICELL_COUNT, j)) - LIST_OFFSET;
    for (int draw = 1; draw <= FALLBACK_DRAWS; ++draw) {
        const int L = listed(start + static_cast<int>(span * random_uniform()) + 1, continuous);
        if (L != M && usable(L))
            return L;
    }
    return M;
}
