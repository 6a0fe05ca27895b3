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

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
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

// ---- The sort of one cell.

// n / (hi - lo) with the reciprocal rounded to 4 bytes. The rounding decides the side of a molecule on a
// mid-plane; GCC's straight-line vectorizer, which drops it when it packs the sides of x and y into one
// register, is turned off in the build (see CMakeLists.txt).
inline double side_factor(float lo, float hi, int n)
{
    return n * double(static_cast<float>(1.0 / (double(hi) - lo)));
}

// What the sort of a cell reads.
struct CellSort {
    int j = 0;          // the cell
    int N = 0;          // its molecules
    int n = 0;          // sub-cells per side
    ListColumn list{};  // the index's lists
    int start = 0;      // the cell's list start: its molecules at list positions start + 1 .. start + N
};

// SUBCELL_IJK(1..3, s) := (iz, iy, ix) of every sub-cell s = 1..n^3 (raw column s at ijk[3 (s - 1)]).
// Two per side are the same eight columns every time.
void fill_subcell_indices(int* ijk, int n)
{
    static constexpr int OCTANT_IJK[8][3] = {{1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {1, 2, 2},
                                             {2, 1, 1}, {2, 1, 2}, {2, 2, 1}, {2, 2, 2}};
    if (n == 2) {
        std::memcpy(ijk, OCTANT_IJK, sizeof OCTANT_IJK);
        return;
    }
    for (int iz = 1, s = 0; iz <= n; ++iz)
        for (int iy = 1; iy <= n; ++iy)
            for (int ix = 1; ix <= n; ++ix, s += 3) {
                ijk[s] = iz;
                ijk[s + 1] = iy;
                ijk[s + 2] = ix;
            }
}

// Any number of sub-cells per side: the sub-cell of every molecule from axis_index, then a counting
// sort (counts, starts, then the positions listed sub-cell by sub-cell in increasing order). The work
// arrays' columns are used through raw pointers (column i of IPS at ips[3 (i - 1)], of ISCH at
// isch[2 (s - 1)]): these loops are the collision phase's busiest, and the store's columns are read
// the same way.
void sort_into_subcells(const CellSort& c)
{
    auto& M = MOLECULES;
    const auto& CD = CELLS.CELL_DATA;
    int* const ips = M.IPS.data();
    int* const isch = M.ISCH.data();
    const float* const pos = M.MOL_POS.data();
    const int j = c.j, N = c.N, n = c.n, nn = n * n, n3 = nn * n;
    const float xl = CD(CELL_LOW_X, j), yl = CD(CELL_LOW_Y, j), zl = CD(CELL_LOW_Z, j);
    const double fx = side_factor(xl, CD(CELL_HIGH_X, j), n);
    const double fy = side_factor(yl, CD(CELL_HIGH_Y, j), n);
    const double fz = side_factor(zl, CD(CELL_HIGH_Z, j), n);
    for (int i = 1; i <= N; ++i) {
        const int m = c.list(c.start + i);
        int* const col = ips + 3 * std::ptrdiff_t(i - 1);
        col[2] = m;
        const float* const P = pos + 3 * std::ptrdiff_t(m - 1);
        const int ix = axis_index(P[0], xl, fx, n);
        const int iy = axis_index(P[1], yl, fy, n);
        const int iz = axis_index(P[2], zl, fz, n);
        col[1] = ix + (iy - 1) * n + (iz - 1) * nn;
    }

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

// ---- Two sub-cells per side.
//
// With n = 2, axis_index(c, lo, f, 2) is 1 or 2, and for a finite f > 0 it never decreases as c
// grows: each step (widening to double, subtracting lo, multiplying by f, adding 1, the limits, the
// truncation) is monotonic, and -0 and +0 give the same index (both give -lo, or for lo = 0 a zero
// that the limit takes to 1). So the floats of index 2 are exactly those at or above the least of
// them, t, and a molecule's index is 1 + (c >= t), a NaN (index 1) failing the test too. t is found
// from the plane where (c - lo) f = 1 and proved by axis_index itself: index 2 at t and 1 at the
// float just below t.

// Molecules of a cell sorted with counts in bytes: the starts are formed from them by one product.
constexpr int MAX_OCTANT_MOLECULES = 255;

// Steps from the estimated plane to the proved one (one float at most in the cells met so far); a cell
// that needs more is sorted by axis_index.
constexpr int PLANE_STEPS = 4;

// The floats next to x above and below it (x finite); -0 and +0 are one point of the order.
inline float float_above(float x)
{
    if (x == 0.0f)
        return std::numeric_limits<float>::denorm_min();
    const auto bits = std::bit_cast<uint32_t>(x);
    return std::bit_cast<float>(x > 0.0f ? bits + 1 : bits - 1);
}

inline float float_below(float x)
{
    return -float_above(-x);
}

// t of the axis with lower side lo and factor f (see above); false when not proved.
bool split_plane(float lo, double f, float& t)
{
    if (!(f > 0.0) || !std::isfinite(f))
        return false;
    float x = static_cast<float>(double(lo) + 1.0 / f);
    if (!std::isfinite(x))
        return false;
    if (axis_index(x, lo, f, 2) == 2) {
        for (int step = 0; step < PLANE_STEPS; ++step) {
            const float below = float_below(x);
            if (axis_index(below, lo, f, 2) != 2) {
                t = x;
                return true;
            }
            x = below;
        }
        return false;
    }
    for (int step = 0; step < PLANE_STEPS; ++step) {
        x = float_above(x);
        if (axis_index(x, lo, f, 2) == 2) {
            t = x;
            return true;
        }
    }
    return false;
}

// A split plane depends on the side's two ends alone, and the cells of a lattice share their sides'
// ends with many others: the planes proved are kept in a table at a hash of the ends' bits (any axis),
// and an entry whose ends are the same bits gives the same plane without the search.
constexpr int PLANE_SLOT_BITS = 8;

struct PlaneSlot {
    uint64_t ends = 0;  // the bits of lo (high half) and hi (low half)
    float t = 0.0f;     // the plane
};

inline uint64_t side_ends(float lo, float hi)
{
    return uint64_t(std::bit_cast<uint32_t>(lo)) << 32 | std::bit_cast<uint32_t>(hi);
}

struct PlaneMemo {
    PlaneSlot slot[1 << PLANE_SLOT_BITS];

    // Every slot starts as the side from 0 to 1.
    PlaneMemo()
    {
        PlaneSlot unit;
        unit.ends = side_ends(0.0f, 1.0f);
        if (!split_plane(0.0f, side_factor(0.0f, 1.0f, 2), unit.t))
            fatal_stop("SET_SUBCELLS: no mid-plane for the side from 0 to 1");
        for (PlaneSlot& s : slot)
            s = unit;
    }

    // The plane of the side from lo to hi into t; false when not proved.
    bool find(float lo, float hi, float& t)
    {
        const uint64_t ends = side_ends(lo, hi);
        PlaneSlot& s = slot[(ends * 0x9E3779B97F4A7C15ULL) >> (64 - PLANE_SLOT_BITS)];
        if (s.ends == ends) {
            t = s.t;
            return true;
        }
        if (!split_plane(lo, side_factor(lo, hi, 2), t))
            return false;
        s.ends = ends;
        s.t = t;
        return true;
    }
};
PlaneMemo plane_memo;

// The octant k = 0..7 of position P (sub-cell k + 1): bit 0 the upper x half, bit 1 the upper y half,
// bit 2 the upper z half. The planes are (tx, ty, tz, +infinity); the fourth lane compares 0 with
// infinity and stays clear.
struct SplitPlanes {
    alignas(16) float t[4];
};

// The planes of cell j; false when one is not proved.
bool octant_planes(int j, SplitPlanes& planes)
{
    const auto& CD = CELLS.CELL_DATA;
    planes.t[3] = std::numeric_limits<float>::infinity();
    return plane_memo.find(CD(CELL_LOW_X, j), CD(CELL_HIGH_X, j), planes.t[0]) &&
           plane_memo.find(CD(CELL_LOW_Y, j), CD(CELL_HIGH_Y, j), planes.t[1]) &&
           plane_memo.find(CD(CELL_LOW_Z, j), CD(CELL_HIGH_Z, j), planes.t[2]);
}

inline int octant(const float* P, const SplitPlanes& planes)
{
#if defined(__SSE2__)
    const __m128 xy = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(P)));
    const __m128 xyz = _mm_movelh_ps(xy, _mm_load_ss(P + 2));
    return _mm_movemask_ps(_mm_cmpge_ps(xyz, _mm_load_ps(planes.t)));
#else
    return int(P[0] >= planes.t[0]) | int(P[1] >= planes.t[1]) << 1 | int(P[2] >= planes.t[2]) << 2;
#endif
}

// ISCH(1..2, s) := (start, count) of the eight sub-cells from the bytes of `starts` and `counts`
// (byte k for sub-cell k + 1).
inline void store_octant_counts(int* isch, uint64_t starts, uint64_t counts)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs =
        _mm_unpacklo_epi8(_mm_set_epi64x(0, int64_t(starts)), _mm_set_epi64x(0, int64_t(counts)));
    const __m128i low = _mm_unpacklo_epi8(pairs, zero), high = _mm_unpackhi_epi8(pairs, zero);
    __m128i* const out = reinterpret_cast<__m128i*>(isch);
    _mm_storeu_si128(out, _mm_unpacklo_epi16(low, zero));
    _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(low, zero));
    _mm_storeu_si128(out + 2, _mm_unpacklo_epi16(high, zero));
    _mm_storeu_si128(out + 3, _mm_unpackhi_epi16(high, zero));
#else
    for (int k = 0; k < 8; ++k) {
        isch[2 * k] = int((starts >> (8 * k)) & 0xFF);
        isch[2 * k + 1] = int((counts >> (8 * k)) & 0xFF);
    }
#endif
}

// The sort with n = 2 and N <= MAX_OCTANT_MOLECULES in the cell's planes: the same arrays as
// sort_into_subcells.
void sort_into_octants(const CellSort& c, const SplitPlanes& planes)
{
    // Byte k of the counts is the count of octant k (1 in byte k added per molecule); the starts are
    // their sums below k, the product by 0x0101... shifted up one byte (no byte passes 255).
    static constexpr uint64_t ONE_IN_BYTE[8] = {1ULL,       1ULL << 8,  1ULL << 16, 1ULL << 24,
                                                1ULL << 32, 1ULL << 40, 1ULL << 48, 1ULL << 56};
    auto& M = MOLECULES;
    int* const ips = M.IPS.data();
    const float* const pos = M.MOL_POS.data();
    const int N = c.N;
    uint64_t counts = 0;
    for (int i = 0; i < N; ++i) {
        const int m = c.list(c.start + i + 1);
        int* const col = ips + 3 * std::ptrdiff_t(i);
        col[2] = m;
        const int k = octant(pos + 3 * (std::ptrdiff_t(m) - 1), planes);
        col[1] = k + 1;
        counts += ONE_IN_BYTE[k];
    }
    const uint64_t starts = (counts * 0x0101010101010101ULL) << 8;
    store_octant_counts(M.ISCH.data(), starts, counts);

    // The positions listed octant by octant: next[s] is the IPS row-1 entries of sub-cell s so far.
    uint8_t next[9];
    std::memcpy(next + 1, &starts, 8);
    for (int i = 1; i <= N; ++i) {
        const unsigned s = static_cast<unsigned>(ips[3 * std::size_t(i) - 2]);
        ips[3 * std::size_t(next[s]++)] = i;
    }
}

}  // namespace

// SET_SUBCELLS: see the header. The sort is a counting sort in two passes over the cell's molecules; with
// two sub-cells per side (a cell of about 9 to 26 molecules, most cells of a dense flow) each axis is
// split at a plane found once per cell (see split_plane) and the counts are kept in the bytes of one word.
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
    fill_subcell_indices(M.SUBCELL_IJK.data(), n);

    CellSort c;
    c.j = j;
    c.N = N;
    c.n = n;
    c.list = list_column(RUN.INDEX_MODE == INDEX_CONTINUOUS);
    c.start = CELLS.ICELL(ICELL_START, j);
    SplitPlanes planes;
    if (n == 2 && N <= MAX_OCTANT_MOLECULES && octant_planes(j, planes))
        sort_into_octants(c, planes);
    else
        sort_into_subcells(c);
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
        const int* d = OFFSETS[r + k < 26 ? r + k : r + k - 26];
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
