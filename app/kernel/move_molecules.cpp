// The "Moving" phase: MOVE_MOLECULES decides which molecules are due under the per-cell time steps and
// advances their clocks; MOVE_ONE_MOLECULE moves one molecule along a straight path of at most one
// division width per axis, settles the surface triangles, box faces and moving wall that the path
// meets, finds the molecule's new cell (recovering points that fall in no cell) and keeps the
// molecule-in-cell index current.
//
// Reads the molecule store, CELL_DATA field 13, DIVISION_INFO field 1, the surface index, the box and
// lattice scalars, BOUNDARY_CODE, INDEX_MODE, SURFACE_REACTIONS, INITIAL_GAS and SEPARATION_X. Writes
// the molecules' positions, cells and clocks, CURRENT_DIVISION_X/Y/Z, ICHECK, MOVE_COUNT,
// SURFACE_HIT_COUNT, REMOVAL_COUNT, ROUNDOFF_COUNT, SEPARATION_CROSSINGS, DEBUG_MOLECULE and MOL_SKIP.
// Allocates only work arrays that are kept from pass to pass: MOL_SKIP when the store is made or grows,
// the open neighbourhoods when the lattice grows, the table of the cells' steps when the cells grow, and
// ICHECK if it was sized too small for the triangles of one path.
#include "app/kernel/kernel_move.h"

#include "app/geometry/geometry.h"
#include "app/geometry/locate.h"
#include "app/kernel/cell_index.h"
#include "app/kernel/molecule_store.h"
#include "app/kernel/pass_counts.h"
#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/prefetch.h"
#include "base/units.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Diagnostic texts of the molecules given up for want of a cell.
const char* const LOST_REFLECTED_SAME = " REM DURING REFL. SAME EL";
const char* const LOST_MOVED_SAME = " REMOVED DURING MOVE, SAME EL, AT";
const char* const LOST_REFLECTED_CHANGE = " REMOVED DURING REFL, CHANGE ";
const char* const LOST_MOVED_CHANGE = " REMOVED DURING MOVE, CHANGE EL";

constexpr float HIT_FRACTION_LIMIT = 1.01f;  // a triangle crossing up to this fraction is a hit
constexpr float PULL_BACK_LIMIT = 0.99999f;  // a face fraction below this pulls the end point back

// The division codes and the element cells as raw storage with their strides, so that a look-up costs
// one multiply and add per subscript without reading the array's strides again after every store.
struct LatticeTables {
    const int* info = nullptr;      // DIVISION_INFO's storage (null when it has none)
    std::ptrdiff_t info_stride[3];  // of a division's x, y, z index
    const int* cells = nullptr;     // ELEMENT_CELL's storage (null when it has none)
    std::ptrdiff_t cell_stride[6];  // of a division's x, y, z index, then of an element's x, y, z index
};

LatticeTables lattice_tables()
{
    const auto& INFO = DIVISIONS.DIVISION_INFO;
    const auto& EC = DIVISIONS.ELEMENT_CELL;
    LatticeTables t;
    // DIVISION_INFO(field, k, j, i) and ELEMENT_CELL(k, j, i, ek, ej, ei), the first subscript fastest.
    t.info = INFO.data();
    t.info_stride[2] = INFO.extent(1);
    t.info_stride[1] = t.info_stride[2] * INFO.extent(2);
    t.info_stride[0] = t.info_stride[1] * INFO.extent(3);
    t.cells = EC.data();
    t.cell_stride[2] = 1;
    t.cell_stride[1] = EC.extent(1);
    t.cell_stride[0] = t.cell_stride[1] * EC.extent(2);
    t.cell_stride[5] = t.cell_stride[0] * EC.extent(3);
    t.cell_stride[4] = t.cell_stride[5] * EC.extent(4);
    t.cell_stride[3] = t.cell_stride[4] * EC.extent(5);
    return t;
}

// DIVISION_INFO(DIVISION_CODE, k, j, i).
inline int division_code(const LatticeTables& t, int i, int j, int k)
{
    return t.info[(DIVISION_CODE - 1) + (i - 1) * t.info_stride[0] + (j - 1) * t.info_stride[1] +
                  (k - 1) * t.info_stride[2]];
}

// ELEMENT_CELL(k, j, i, e[2], e[1], e[0]).
inline int element_cell(const LatticeTables& t, int i, int j, int k, const int e[3])
{
    const std::ptrdiff_t* s = t.cell_stride;
    return t.cells[(i - 1) * s[0] + (j - 1) * s[1] + (k - 1) * s[2] + (e[0] - 1) * s[3] + (e[1] - 1) * s[4] +
                   (e[2] - 1) * s[5]];
}

// What the move reads for every molecule and nothing in a pass changes, read once per pass (the box's
// side codes and the index mode stay as they are while molecules move).
struct MovePass {
    LatticeSteps L;         // the lattice, with the reciprocals of its divisors
    double clip_limit[3];   // division width less GEOMETRY_TOLERANCE, per axis
    double start_half[3];   // 1/2 - 2 (QUOTIENT_NEAR + start margin): see open_axis_divisions
    bool one_element;       // one element per division on every axis: the element is (1, 1, 1)
    bool open_paths;        // no min-x side that is periodic, the moving wall or
                            // counts separation crossings: move_on_open_path may be tried
    bool all_open;          // every division's code is 1 or more (no surface, all in the flow);
                            // set by MOVE_MOLECULES only, false elsewhere
    bool side1_periodic;    // BOUNDARY_CODE(1) is BOUNDARY_PERIODIC
    bool moving_wall;       // BOUNDARY_CODE(1) is BOUNDARY_MOVING_WALL
    bool count_separation;  // constant-pressure min-x side with a secondary gas: count crossings
    bool continuous;        // INDEX_MODE is INDEX_CONTINUOUS
    LatticeTables tables;   // DIVISION_INFO and ELEMENT_CELL
};

// 2^-22: see open_axis_divisions.
constexpr double START_MARGIN_SCALE = 1.0 / 4194304.0;

MovePass move_pass()
{
    MovePass pass{lattice_steps(), {}, {}, false, false, false, false, false, false, false, lattice_tables()};
    const LatticeSteps& L = pass.L;
    for (int a = 0; a < 3; ++a) {
        pass.clip_limit[a] = L.width[a] - L.tol;
        const double start_margin =
            START_MARGIN_SCALE * L.divisions_per_length[a] * (std::fabs(L.low[a]) + L.extent[a] + L.width[a]);
        pass.start_half[a] = 0.5 - 2.0 * (locate_detail::QUOTIENT_NEAR + start_margin);
    }
    pass.one_element = L.elements[0] == 1 && L.elements[1] == 1 && L.elements[2] == 1;
    const int side1 = BOX.BOUNDARY_CODE(1);
    pass.side1_periodic = side1 == BOUNDARY_PERIODIC;
    pass.moving_wall = side1 == BOUNDARY_MOVING_WALL;
    pass.count_separation = side1 == BOUNDARY_PRESSURE && GAS.INITIAL_GAS == 1;
    pass.continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    pass.open_paths = !pass.side1_periodic && !pass.moving_wall && !pass.count_separation;
    return pass;
}

// One path of MOVE_ONE_MOLECULE.
struct Path {
    float P0[3];           // start point
    float d[3];            // displacement
    float P1[3];           // end point
    float dt;              // time moved (DTIM')
    float left;            // time left, DTIM - DTIM'
    const MovePass* pass;  // the pass's lattice and side codes
};

// Division index of a coordinate on the path (axis a): GEOMETRY_TOLERANCE is added first, so a point
// within it below a division boundary counts as being in the upper division. That is
// trunc(N (c + tol - cmin) / extent + 1), clamped to 1..N.
inline int path_division_index(const LatticeSteps& L, int a, float c)
{
    return locate_detail::quotient_index(double(c) + L.tol - L.low[a], L.division_count[a], L.extent[a],
                                         L.divisions_per_length[a], L.divisions[a]);
}

// The division indices of a point on the path, x, y, z.
struct PathDivision {
    int i, j, k;
    bool operator==(const PathDivision& o) const { return i == o.i && j == o.j && k == o.k; }
};

inline PathDivision path_division(const float P[3], const LatticeSteps& L)
{
    return {path_division_index(L, 0, P[0]), path_division_index(L, 1, P[1]),
            path_division_index(L, 2, P[2])};
}

// Makes division v the present one (CURRENT_DIVISION_X/Y/Z), which the cell search within a division,
// the recovery of lost points and the surface interaction read.
inline void set_current_division(const PathDivision& v)
{
    auto& D = DIVISIONS;
    D.CURRENT_DIVISION_X = v.i;
    D.CURRENT_DIVISION_Y = v.j;
    D.CURRENT_DIVISION_Z = v.k;
}

// The current division indices of point P, as the path step finds them.
inline void set_path_division(const float P[3], const LatticeSteps& L)
{
    set_current_division(path_division(P, L));
}

// The element of point P within division v, as FIND_CELL_IN_DIVISION and FIND_CELL find it (1 on an
// axis of one element).
inline void elements_of(const MovePass& pass, const float P[3], const PathDivision& v, int e[3])
{
    using locate_detail::element_index;
    if (pass.one_element) {
        e[0] = e[1] = e[2] = 1;
        return;
    }
    e[0] = element_index(pass.L, 0, P[0], v.i);
    e[1] = element_index(pass.L, 1, P[1], v.j);
    e[2] = element_index(pass.L, 2, P[2], v.k);
}

// Displacement along one axis for the time DT, shortened (with DT) to `limit`, the division width less
// the tolerance. Returns whether it was shortened.
inline bool clip_displacement(float velocity, double limit, float& d, float& DT)
{
    d = static_cast<float>(double(velocity) * DT);
    if (std::fabs(d) > limit) {
        d = static_cast<float>(d > 0.0f ? limit : -limit);
        DT = static_cast<float>(double(d) / velocity);
        return true;
    }
    return false;
}

// ---- ICHECK: the triangles already tested on the present path. Outside the entries of the last
// path every entry is 0, so clearing those clears the whole array.

int icheck_filled = 0;                // entries written by the last path
const int* icheck_storage = nullptr;  // the storage they were written to

void clear_icheck()
{
    auto& IC = DIVISIONS.ICHECK;
    if (IC.data() != icheck_storage) {
        IC.fill(0);
        icheck_storage = IC.data();
    } else {
        const int n = std::min(icheck_filled, static_cast<int>(IC.size()));
        for (int i = 1; i <= n; ++i)
            IC(i) = 0;
    }
    icheck_filled = 0;
}

// ICHECK holds 8 x MNSEG entries, enough for the triangles of eight divisions. A smaller array (one
// not yet allocated, or from inconsistent restart data) grows instead of being written past its end.
void grow_icheck()
{
    auto& IC = DIVISIONS.ICHECK;
    const int size = std::max({2 * static_cast<int>(IC.size()), 8 * DIVISIONS.MNSEG, 64});
    Array<int, 1> bigger;
    if (!bigger.allocate(size)) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE ICHECK"});
        fatal_stop("MOVE_ONE_MOLECULE: cannot allocate the work array ICHECK of " + std::to_string(size) +
                   " entries");
    }
    for (int i = 1; i <= icheck_filled; ++i)
        bigger(i) = IC(i);
    IC = std::move(bigger);
    icheck_storage = IC.data();
}

// Nearest crossing of the path with the triangles of surface division k that the molecule meets from
// their flow side (UN <= 0), in list order; ties keep the earlier triangle. With `once`, a triangle
// already in ICHECK is skipped and every tested one is added.
void test_triangles(int k, const Path& p, const float vel[3], bool once, float& SDMIN, int& ITRI)
{
    const auto& D = DIVISIONS;
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    const int count = D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
    const int first = D.SURFACE_INDEX(SURFACE_INDEX_START, k);
    for (int i = 1; i <= count; ++i) {
        const int T = D.TOTAL_SURFACE_INDEX(first + i);
        if (once) {
            auto& IC = DIVISIONS.ICHECK;
            bool tested = false;
            for (int j = 1; j <= icheck_filled && !tested; ++j)
                tested = IC(j) == T;
            if (tested)
                continue;
            if (icheck_filled >= static_cast<int>(IC.size()))
                grow_icheck();
            DIVISIONS.ICHECK(++icheck_filled) = T;
        }
        // A triangle that the molecule meets from behind is passed through: its crossing (which only
        // gives SD) is not worked out.
        const float UN = static_cast<float>(double(vel[0]) * G(1, T) + double(vel[1]) * G(2, T) +
                                            double(vel[2]) * G(3, T));
        if (!(UN <= 0.0f))
            continue;
        float SD;
        PATH_CROSSES_TRIANGLE(T, p.P0[0], p.P0[1], p.P0[2], p.d[0], p.d[1], p.d[2], SD);
        if (SD < SDMIN) {
            SDMIN = SD;
            ITRI = T;
        }
    }
}

// Stores cell CN of molecule N (until now in NCI); under continuous indexing the molecule moves from
// the old cell's list to the new one's.
void set_cell(int N, int NCI, int CN, const MovePass& pass)
{
    MOLECULES.IP(IP_CELL, N) = CN;
    if (pass.continuous && CN != NCI) {
        REMOVE_FROM_CELL_LIST(NCI, N);
        INSERT_INTO_CELL_LIST(CN, N);
    }
}

void remove_at_face(int& N, int NCI, int& II)
{
    REMOVE_MOLECULE(N, NCI);
    RUN.REMOVAL_COUNT += 1.0;
    II = MOVE_REMOVED;
}

// A molecule given up for want of a cell: its line (number, text, position / SCALE_FACTOR) goes to the
// diagnostic log before it is removed.
void remove_without_cell(int& N, int NCI, int& II, const char* text, const float pos[3])
{
    const double scale = BOX.SCALE_FACTOR;
    write_list(UNIT_DIAG, {N, text, static_cast<float>(pos[0] / scale), static_cast<float>(pos[1] / scale),
                           static_cast<float>(pos[2] / scale)});
    REMOVE_MOLECULE(N, NCI);
    ++RUN.ROUNDOFF_COUNT;
    II = MOVE_REMOVED;
}

// The cell of point P (in/out): the search within the present division or the full one, then the
// recovery of a point in no cell, which may move P. With one element per division the element within
// the division is (1, 1, 1) whatever P is (the element search clamps each index to 1..1), so it is
// not worked out.
int cell_of_point(float P[3], bool in_division, const MovePass& pass)
{
    const LatticeSteps& L = pass.L;
    int CN = 0;
    if (in_division) {
        if (pass.one_element) {
            auto& D = DIVISIONS;
            D.CURRENT_ELEMENT_X = D.CURRENT_ELEMENT_Y = D.CURRENT_ELEMENT_Z = 1;
            CN = D.ELEMENT_CELL(D.CURRENT_DIVISION_Z, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_X, 1, 1, 1);
        } else {
            FIND_CELL_IN_DIVISION(CN, P[0], P[1], P[2], L);
        }
        if (CN < 1)
            RELOCATE_LOST_MOLECULE_IN_DIVISION(CN, P[0], P[1], P[2]);
    }
    // A point that no trial within its division places (the open part of the division may lie beyond
    // its reach, or be no cell's) is searched over all divisions before the molecule is given up.
    if (!in_division || CN < 1) {
        FIND_CELL(CN, P[0], P[1], P[2], L);
        if (CN < 1)
            RELOCATE_LOST_MOLECULE(CN, P[0], P[1], P[2]);
    }
    return CN;
}

// The stop short of a triangle can lie behind the start of a short path, and so outside the box for a
// molecule that started near a side; a path from outside the box can pass a surface that meets that
// side (its crossing lies outside the triangles) and be lost behind it. Such a point is brought back
// onto the side, less the tolerance.
void keep_inside_box(float P[3])
{
    const auto& B = BOX;
    const double tol = DIVISIONS.GEOMETRY_TOLERANCE;
    const float low[3] = {B.XMIN, B.YMIN, B.ZMIN};
    const float high[3] = {B.XMAX, B.YMAX, B.ZMAX};
    for (int a = 0; a < 3; ++a) {
        if (P[a] <= low[a])
            P[a] = static_cast<float>(low[a] + tol);
        else if (P[a] >= high[a])
            P[a] = static_cast<float>(high[a] - tol);
    }
}

// A molecule that meets triangle ITRI at the fraction SDMIN of its path: it stops short of the triangle
// (within one division by a hundredth of the path and a tenth of an element diagonal, across divisions
// by 0.015 of the path), interacts with the surface and, if it is still there, is given its cell.
void settle_surface_hit(int& N, int NCI, int& II, Path& p, int ITRI, float SDMIN, bool in_division)
{
    auto& M = MOLECULES;
    if (in_division) {
        RUN.SURFACE_HIT_COUNT += 1.0;
        const double L =
            std::sqrt(double(p.d[0]) * p.d[0] + double(p.d[1]) * p.d[1] + double(p.d[2]) * p.d[2]);
        SDMIN = static_cast<float>(SDMIN - double(0.01f) - double(0.1f) * DIVISIONS.ELEMENT_DIAGONAL / L);
    } else {
        SDMIN = static_cast<float>(double(SDMIN) - double(0.015f));
    }
    for (int i = 1; i <= 3; ++i)
        M.MOL_POS(i, N) = static_cast<float>(p.P0[i - 1] + double(SDMIN) * p.d[i - 1]);
    // The clock of reaction products: the time of the hit, the molecule's clock less the time left
    // after this sub-step and the part of the sub-step after the hit. A molecule that meets a surface
    // ends its move for this step there (the rest of its step is not moved).
    const float THIT = static_cast<float>(M.MOL_TIME(N) - p.left - (1.0 - SDMIN) * p.dt);
    p.left = 0.0f;
    INTERACT_WITH_SURFACE(N, ITRI, NCI, II, M.MOL_POS(1, N), M.MOL_POS(2, N), M.MOL_POS(3, N), THIT);
    if (!in_division)
        RUN.SURFACE_HIT_COUNT += 1.0;
    if (II == MOVE_REMOVED)
        return;
    float P[3] = {M.MOL_POS(1, N), M.MOL_POS(2, N), M.MOL_POS(3, N)};
    keep_inside_box(P);
    const int CN = cell_of_point(P, in_division, *p.pass);
    for (int i = 1; i <= 3; ++i)
        M.MOL_POS(i, N) = P[i - 1];
    if (CN < 1) {
        remove_without_cell(N, NCI, II, in_division ? LOST_REFLECTED_SAME : LOST_REFLECTED_CHANGE, P);
        return;
    }
    set_cell(N, NCI, CN, *p.pass);
    II = MOVE_KEPT;
}

// A path that meets no surface: the box faces and the moving wall at its end point, then its cell.
// A face or the moving wall that reflects the molecule pulls the end point back to where it met it, and
// the rest of the sub-step is left for the next one, which moves the molecule on with its reflected
// velocity; so no time is lost at a reflection, and a path across an edge of the box meets the second
// face in its own sub-step.
void settle_at_faces(int& N, int NCI, int& II, Path& p, bool in_division)
{
    auto& M = MOLECULES;
    // An end point strictly inside the box meets no face, and no plane lies behind it.
    const auto& B = BOX;
    const bool faces = !(p.P1[0] > B.XMIN && p.P1[0] < B.XMAX && p.P1[1] > B.YMIN && p.P1[1] < B.YMAX &&
                         p.P1[2] > B.ZMIN && p.P1[2] < B.ZMAX);
    float SDMIN = NO_FACE_MET;
    if (faces)
        APPLY_BOX_FACES(N, p.P1[0], p.d[0], p.P1[1], p.d[1], p.P1[2], p.d[2], SDMIN);
    if (p.pass->moving_wall)
        REFLECT_AT_MOVING_WALL(N, p.P1[0], p.d[0], p.dt, p.left, SDMIN);
    if (SDMIN < 0.0f) {
        remove_at_face(N, NCI, II);
        return;
    }
    if (SDMIN < PULL_BACK_LIMIT) {
        for (int i = 0; i < 3; ++i)
            p.P1[i] = static_cast<float>(p.P0[i] + double(SDMIN) * p.d[i]);
        // The part of the sub-step after the reflection is owed to the molecule: it is moved on from
        // the face with its reflected velocity in the next sub-step.
        p.left = static_cast<float>(p.left + std::max(0.0, 1.0 - SDMIN) * p.dt);
        // A periodic side may have set the x division of the far side before a later face of the
        // sub-step reflected the molecule; the pulled-back point is not wrapped, so its own division
        // holds (otherwise it would be given a cell at the other end of the box).
        if (in_division)
            set_path_division(p.P1, p.pass->L);
    } else if (faces) {
        reflect_at_further_planes(N, p.P1);
    }
    const int CN = cell_of_point(p.P1, in_division, *p.pass);
    if (CN < 1) {
        // The same-division line gives the end point, the division-change line the start point.
        const float P0[3] = {M.MOL_POS(1, N), M.MOL_POS(2, N), M.MOL_POS(3, N)};
        if (in_division)
            remove_without_cell(N, NCI, II, LOST_MOVED_SAME, p.P1);
        else
            remove_without_cell(N, NCI, II, LOST_MOVED_CHANGE, P0);
        return;
    }
    set_cell(N, NCI, CN, *p.pass);
    for (int i = 1; i <= 3; ++i)
        M.MOL_POS(i, N) = p.P1[i - 1];
    II = MOVE_KEPT;
}

// The path within division v (start and end division the same).
void move_within_division(int& N, int NCI, int& II, Path& p, const float vel[3], const PathDivision& v)
{
    const int MINLEV = DIVISIONS.DIVISION_INFO(DIVISION_CODE, v.k, v.j, v.i);
    // A division without surfaces, the min-x side not periodic: faces and cell only.
    if (MINLEV >= 1 && !p.pass->side1_periodic) {
        settle_at_faces(N, NCI, II, p, true);
        return;
    }
    if (MINLEV < 0) {
        float SDMIN = NO_FACE_MET;
        int ITRI = 0;
        test_triangles(-MINLEV, p, vel, false, SDMIN, ITRI);
        if (SDMIN <= HIT_FRACTION_LIMIT) {
            settle_surface_hit(N, NCI, II, p, ITRI, SDMIN, true);
            return;
        }
    }
    settle_at_faces(N, NCI, II, p, true);
}

// The path from division v0 into division v1 (the present one), which differs on one to three axes
// by one: the up to eight divisions of the block they span are examined, start and end first.
void move_across_divisions(int& N, int NCI, int& II, Path& p, const float vel[3], const PathDivision& v0,
                           const PathDivision& v1)
{
    const auto& D = DIVISIONS;
    const int i0 = v0.i, j0 = v0.j, k0 = v0.k;
    const int i1 = v1.i, j1 = v1.j, k1 = v1.k;
    // PATH_DIVISION_LIST: entry c (bit 1 x, bit 2 y, bit 4 z set: that index from the end division)
    // for every c whose changed bits lie among the axes that change; start (c = 0) first, end second.
    const int changed = (i1 != i0 ? 1 : 0) | (j1 != j0 ? 2 : 0) | (k1 != k0 ? 4 : 0);
    int PATH_DIVISION_LIST[8][3];
    int entries = 0;
    auto add = [&](int c) {
        PATH_DIVISION_LIST[entries][0] = c & 1 ? i1 : i0;
        PATH_DIVISION_LIST[entries][1] = c & 2 ? j1 : j0;
        PATH_DIVISION_LIST[entries][2] = c & 4 ? k1 : k0;
        ++entries;
    };
    add(0);
    add(changed);
    for (int c = 1; c < changed; ++c)
        if ((c & ~changed) == 0)
            add(c);

    int MINLEV = D.DIVISION_INFO(DIVISION_CODE, k0, j0, i0);
    for (int e = 1; e < entries; ++e)
        MINLEV = std::min(MINLEV, D.DIVISION_INFO(DIVISION_CODE, PATH_DIVISION_LIST[e][2],
                                                  PATH_DIVISION_LIST[e][1], PATH_DIVISION_LIST[e][0]));
    if (MINLEV < 1) {
        clear_icheck();
        float SDMIN = NO_FACE_MET;
        int ITRI = 0;
        for (int e = 0; e < entries; ++e) {
            const int code = D.DIVISION_INFO(DIVISION_CODE, PATH_DIVISION_LIST[e][2],
                                             PATH_DIVISION_LIST[e][1], PATH_DIVISION_LIST[e][0]);
            if (code < 0)
                test_triangles(-code, p, vel, true, SDMIN, ITRI);
        }
        if (SDMIN <= HIT_FRACTION_LIMIT) {
            settle_surface_hit(N, NCI, II, p, ITRI, SDMIN, false);
            return;
        }
    }
    settle_at_faces(N, NCI, II, p, false);
}

// ---- Molecules passed by. MOL_SKIP(n) holds the passes in which molecule n, with its clock in a cell of
// step DTC, surely is not due after its turn (moved or found not due: passes_surely_not_due), and counts down
// in each pass that passes the molecule by without reading its clock or its cell; a molecule is tested again
// when it reaches 0. So exactly the molecules that are due are moved, in the same order as when every clock
// is read. The counts hold while the passes follow one another at one DTM under the same cell steps; a pass
// after anything else (an adaptation of the steps, which moves OUTPUT_TIME on, another DTM or flow time,
// another store or cell table) first sets every count to 0. A slot opened for a new molecule gets 0, a copied
// molecule the count of its original.

// What the counts were made under: the last pass's flow time, DTM and OUTPUT_TIME, and the storage of
// the cells' data and of the clocks.
struct SkipRecord {
    double time = 0.0;
    float dtm = 0.0f;
    float output_time = 0.0f;
    const float* cell_data = nullptr;
    int cells = 0;
    const double* clocks = nullptr;
    const int* division_info = nullptr;
};
SkipRecord skip_record;
int skip_outstanding = 0;  // the largest count that may be above 0 at the start of the next pass
int skip_most = 0;         // the largest count set in this pass

// MOL_SKIP sized anew to the store: the counts kept, new slots 0.
void resize_skips()
{
    auto& S = MOLECULES.MOL_SKIP;
    const std::size_t size = MOLECULES.MOL_TIME.size();
    {
        Array<uint8_t, 1> resized;
        if (size > 0 && !resized.allocate(static_cast<int>(size))) {
            write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE MOL_SKIP"});
            fatal_stop("MOVE_MOLECULES: cannot allocate the work array MOL_SKIP of " + std::to_string(size) +
                       " molecules");
        }
        for (std::size_t n = 0; n < std::min(size, S.size()); ++n)
            resized.data()[n] = S.data()[n];
        S = std::move(resized);
    }
}

// MOL_SKIP sized to the store, which a move may have grown.
inline uint8_t* skips_for_store()
{
    if (MOLECULES.MOL_SKIP.size() != MOLECULES.MOL_TIME.size())
        resize_skips();
    return MOLECULES.MOL_SKIP.data();
}

SkipRecord skip_conditions(double TIME)
{
    return {TIME,
            RUN.DTM,
            RUN.OUTPUT_TIME,
            CELLS.CELL_DATA.data(),
            CELLS.CELL_COUNT,
            MOLECULES.MOL_TIME.data(),
            DIVISIONS.DIVISION_INFO.data()};
}

// MOL_SKIP for the pass at TIME, every count 0 unless this pass follows the last one (see above);
// `follows` tells which.
uint8_t* prepare_skips(double TIME, bool& follows)
{
    const SkipRecord now = skip_conditions(TIME), last = skip_record;
    follows = MOLECULES.MOL_SKIP.size() == MOLECULES.MOL_TIME.size() && now.dtm == last.dtm &&
              now.time == last.time + double(last.dtm) && now.output_time == last.output_time &&
              now.cell_data == last.cell_data && now.cells == last.cells && now.clocks == last.clocks &&
              now.division_info == last.division_info;
    uint8_t* skip = skips_for_store();
    if (!follows) {
        MOLECULES.MOL_SKIP.fill(0);
        skip_outstanding = 0;
    }
    skip_most = 0;
    return skip;
}

// Whether any count may be above 0 in this pass (after prepare_skips): while none is (every molecule
// moves every pass, as under one step for all cells), the counts need not be looked at.
inline bool skips_outstanding()
{
    return skip_outstanding > 0;
}

// Notes the conditions of the pass just made, under which the counts were set.
void end_skips(double TIME)
{
    skips_for_store();
    skip_record = skip_conditions(TIME);
    skip_outstanding = std::max(skip_outstanding - 1, skip_most);
}

// Sets the count of molecule N after its turn at TIME, with clock `clock` in a cell of step DTC.
inline void pass_by(uint8_t* skip, int N, double clock, float DTC, double TIME, double per_dtm)
{
    if (const int count = passes_surely_not_due(clock, DTC, TIME, per_dtm)) {
        skip[N - 1] = static_cast<uint8_t>(count);
        skip_most = std::max(skip_most, count);
    }
}

constexpr uint64_t SKIP_HIGHS = 0x8080808080808080ULL;  // the high bit of each count in a word

// The place (0 .. 7) in w of its first count that is 0, or 8 when none is. (w - SKIP_ONES) & ~w flags the
// high bit of every byte that is 0, and of no byte below the first one that is (a byte above it may be
// flagged through the borrow): the lowest flag is the first 0.
inline int first_zero_count(uint64_t w)
{
    const uint64_t zeros = (w - SKIP_ONES) & ~w & SKIP_HIGHS;
    return zeros == 0 ? 8 : std::countr_zero(zeros) / 8;
}

// From molecule N on, counts down the molecules passed by in this pass, eight at a time; returns the
// first one to be tested (NM + 1 when none is left).
inline int next_to_test(uint8_t* skip, int N, int NM)
{
    if (N <= NM && skip[N - 1] == 0)  // the common case while every molecule moves every pass
        return N;
    while (N + 7 <= NM) {
        uint64_t w;
        std::memcpy(&w, skip + (N - 1), sizeof w);
        const int z = first_zero_count(w);
        // The counts before the first 0 are 1 or more: one subtraction counts them all down.
        w -= z == 8 ? SKIP_ONES : SKIP_ONES & ((uint64_t(1) << (8 * z)) - 1);
        std::memcpy(skip + (N - 1), &w, sizeof w);
        if (z < 8)
            return N + z;
        N += 8;
    }
    while (N <= NM && skip[N - 1] != 0) {
        --skip[N - 1];
        ++N;
    }
    return N;
}

// The first molecule from m on whose count is 0 (NM + 1 when none is), the counts left as they are.
inline int next_zero_count(const uint8_t* skip, int m, int NM)
{
    for (; m + 7 <= NM; m += 8) {
        uint64_t w;
        std::memcpy(&w, skip + (m - 1), sizeof w);
        const int z = first_zero_count(w);
        if (z < 8)
            return m + z;
    }
    while (m <= NM && skip[m - 1] != 0)
        ++m;
    return m;
}

// How many molecules to be tested ahead of the one being moved the memory is asked for their own rows
// (IP, MOL_TIME, MOL_POS, PV), and how many ahead, once their IP row has arrived, for the time step of
// their cell. While every molecule is tested the rows are read in the order of the store, which the
// memory's own look-ahead follows, and the step is asked for SEQUENTIAL_DISTANCE molecules ahead.
constexpr int ROWS_DISTANCE = 24;
constexpr int STEP_DISTANCE = 12;
constexpr int SEQUENTIAL_DISTANCE = 32;
static_assert(STEP_DISTANCE < ROWS_DISTANCE);

// The molecules that a pass will test next, found ahead of the pass: a molecule whose count is 0 when
// the pass has not yet reached it is tested (the pass counts down only the others). While counts are
// outstanding a pass tests a few of the molecules, spread over the store, each of whose rows then lies
// in a line of its own; keeping ROWS_DISTANCE of those ahead, rather than looking a fixed number of
// slots ahead, asks for the lines of every molecule that is tested and of no other. The step of a
// molecule's cell is asked for in a second stage, STEP_DISTANCE tests ahead, when its cell number can be
// read without waiting. All of it is a hint: nothing is written, and a molecule found ahead that a
// removal or a reordering has replaced since only asks for a useless line.
struct Lookahead {
    static constexpr int RING = 32;  // found molecules kept for the second stage (a power of 2)
    static_assert(RING > ROWS_DISTANCE - STEP_DISTANCE);
    int ring[RING];
    int last = 0;    // the last molecule found ahead (0: none yet)
    int found = 0;   // molecules found ahead
    int tested = 0;  // molecules the pass has come to

    // Notes that the pass comes to molecule N; calls rows(m) for each molecule m found ahead of it until
    // ROWS_DISTANCE are, and step(m) for the one STEP_DISTANCE tests ahead.
    template <class Rows, class Step>
    void come_to(int N, const uint8_t* skip, bool skipping, int NM, Rows rows, Step step)
    {
        if (!skipping) {  // every molecule is tested, in the order of the store
            if (N + SEQUENTIAL_DISTANCE <= NM)
                step(N + SEQUENTIAL_DISTANCE);
            return;
        }
        ++tested;
        while (found < tested + ROWS_DISTANCE && last < NM) {
            const int m = next_zero_count(skip, std::max(last, N) + 1, NM);
            last = m;
            ring[found % RING] = m;
            ++found;
            if (m <= NM)
                rows(m);
        }
        const int near = tested + STEP_DISTANCE;  // its place among the molecules found
        if (near <= found) {
            const int m = ring[(near - 1) % RING];
            if (m <= NM)
                step(m);
        }
    }
};

// Asks for the rows of molecule m that its turn reads (IP, MOL_TIME, the position and the velocity;
// the first and last byte of the 12 of each of the last two, which may straddle two lines).
void prefetch_molecule_rows(const int32_t* ip, std::ptrdiff_t ip_rows, const double* mol_time,
                            const float* pos, const float* pv, std::ptrdiff_t pv_rows, int m)
{
    const std::ptrdiff_t n = m - 1;
    prefetch_line(ip + ip_rows * n + (IP_CELL - 1));
    prefetch_line(mol_time + n);
    prefetch_line(pos + 3 * n);
    prefetch_line(pos + 3 * n + 2);
    prefetch_line(pv + pv_rows * n);
    prefetch_line(pv + pv_rows * n + 2);
}

// The store holds the molecules in no order of place, so the time step of a molecule's cell lies
// anywhere in memory; asking for it ahead lets the loads overlap (a hint only: nothing is written and
// no result changes). The lattice entries of the divisions are not asked for: they are few enough to
// stay in the cache, and working out a molecule's division ahead costs more than it saves.
void prefetch_cell_time_step(int far)
{
    const int cell = MOLECULES.IP(IP_CELL, far);
    if (cell >= 1 && cell <= CELLS.CELL_COUNT)
        prefetch_line(&CELLS.CELL_DATA(CELL_TIME_STEP, cell));
}

// Whether every division has a code of 1 or more: no surface reaches any, and all lie in the flow.
bool every_division_open()
{
    const auto& INFO = DIVISIONS.DIVISION_INFO;
    const auto& B = BOX;
    for (int i = 1; i <= B.DIVISIONS_X; ++i)
        for (int j = 1; j <= B.DIVISIONS_Y; ++j)
            for (int k = 1; k <= B.DIVISIONS_Z; ++k)
                if (INFO(DIVISION_CODE, k, j, i) < 1)
                    return false;
    return true;
}

// MOVE_ONE_MOLECULE in the pass described by `pass`. The displacement is cut, on each axis in the
// order x, y, z, to the division width less GEOMETRY_TOLERANCE, the time moved (and the axes already
// formed) shrinking with it; the time not moved comes back in DTIM, with the part of the sub-step after a
// reflection at a box face or the moving wall that pulled the end point back, for the caller's next
// sub-step.
void move_one_molecule(int& N, int& NCI, float& DTIM, int& II, const MovePass& pass)
{
    auto& M = MOLECULES;
    const LatticeSteps& L = pass.L;

    // Start point and its division.
    Path p;
    p.pass = &pass;
    for (int i = 0; i < 3; ++i)
        p.P0[i] = M.MOL_POS(i + 1, N);
    const PathDivision start = path_division(p.P0, L);

    // Displacement, end point and its division, which becomes the present one.
    const float vel[3] = {M.PV(1, N), M.PV(2, N), M.PV(3, N)};
    p.dt = DTIM;
    clip_displacement(vel[0], pass.clip_limit[0], p.d[0], p.dt);
    if (clip_displacement(vel[1], pass.clip_limit[1], p.d[1], p.dt))
        p.d[0] = static_cast<float>(double(vel[0]) * p.dt);
    if (clip_displacement(vel[2], pass.clip_limit[2], p.d[2], p.dt)) {
        p.d[0] = static_cast<float>(double(vel[0]) * p.dt);
        p.d[1] = static_cast<float>(double(vel[1]) * p.dt);
    }
    for (int i = 0; i < 3; ++i)
        p.P1[i] = p.P0[i] + p.d[i];
    p.left = DTIM - p.dt;
    const PathDivision end = path_division(p.P1, L);
    set_current_division(end);

    // Within one division or across divisions.
    if (end == start)
        move_within_division(N, NCI, II, p, vel, end);
    else
        move_across_divisions(N, NCI, II, p, vel, start, end);

    // Completion.
    if (II == MOVE_KEPT) {
        if (pass.count_separation) {
            // Net crossings of the flow separation boundary; a molecule that starts or ends on it is
            // not counted.
            const float x0 = p.P0[0], x1 = M.MOL_POS(1, N), xs = GAS.SEPARATION_X;
            if (x0 < xs && xs < x1)
                GAS.SEPARATION_CROSSINGS(molecule_species(N)) += 1.0;
            else if (x0 > xs && xs > x1)
                GAS.SEPARATION_CROSSINGS(molecule_species(N)) -= 1.0;
        }
        NCI = M.IP(IP_CELL, N);
        DTIM = p.left;
    } else {
        DTIM = 0.0f;
    }
}

// Sub-steps of one molecule's move are bounded: a molecule that makes no headway (reflected again and
// again within the smallest face fraction) gives up the rest of its step after this many.
constexpr int MAX_SUB_STEPS = 100;

// move_for_time in the pass described by `pass`.
void move_for_time_on(int& N, int& NCI, float DTIM, int& II, const MovePass& pass)
{
    for (int step = 1; step <= MAX_SUB_STEPS; ++step) {
        II = MOVE_PENDING;
        move_one_molecule(N, NCI, DTIM, II, pass);
        if (II != MOVE_KEPT || !(DTIM > 0.0f))
            return;
    }
}

// The path division indices on axis a (path_division_index) of the start point c0 and of the end
// point c1 = c0 + d (a 4-byte sum) of a sub-step whose end point lies strictly inside the box. Where the
// end point's index comes from the quotient rule's multiplication (the fraction t1 - k of its product
// t1 lies more than NEAR from an integer), the start point's fraction is, up to the rounding of the
// sum, the same less d divisions_per_length; where that lies more than NEAR + start_margin inside
// (0, 1), the start point's product t0 lies more than NEAR inside the same interval (k, k + 1), so the
// quotient rule gives it the same index, which is therefore not worked out. The margin, 2^-22
// divisions_per_length (|low| + extent + width), is four times a bound of that rounding (half a unit
// in the last place of |c1| < |low| + extent + width, at most 2^-24 |c1|, times divisions_per_length)
// and leaves far more than enough for the roundings of the 8-byte sums and products (about 2^-50 of
// it). Each interval test is written |f - 1/2| < h with h half the interval less twice the distance
// asked for (start_half and END_HALF), so that it holds only for fractions well inside the interval
// whatever the rounding of f - 1/2. Every other index is found by the quotient rule itself.
struct AxisDivisions {
    int start, end;
};

// 1/2 less twice QUOTIENT_NEAR: see open_axis_divisions.
constexpr double END_HALF = 0.5 - 2.0 * locate_detail::QUOTIENT_NEAR;

inline AxisDivisions open_axis_divisions(const MovePass& pass, int a, float c0, float d, float c1)
{
    const LatticeSteps& L = pass.L;
    const double t1 = (double(c1) + L.tol - L.low[a]) * L.divisions_per_length[a];
    if (t1 >= 0.0 && t1 < L.division_count[a]) {
        const int k = static_cast<int>(t1);
        const double f1 = t1 - k;
        if (std::fabs(f1 - 0.5) < END_HALF) {
            const double f0 = f1 - double(d) * L.divisions_per_length[a];
            if (std::fabs(f0 - 0.5) < pass.start_half[a])
                return {k + 1, k + 1};
            return {path_division_index(L, a, c0), k + 1};
        }
    }
    return {path_division_index(L, a, c0), path_division_index(L, a, c1)};
}

// Whether every division of the block spanned by the start and end divisions x, y, z of a path across
// divisions (those that move_across_divisions examines) has a code of 1 or more.
inline bool block_open(const LatticeTables& t, const AxisDivisions& x, const AxisDivisions& y,
                       const AxisDivisions& z)
{
    for (int k : {z.start, z.end})
        for (int j : {y.start, y.end})
            for (int i : {x.start, x.end})
                if (division_code(t, i, j, k) < 1)
                    return false;
    return true;
}

// The most common moves, made without the general steps: one sub-step (no axis cut at a division
// width) whose end point lies strictly inside the box (so no face can be met and no plane lies behind
// it), in a pass with `open_paths`, either within one division that no surface reaches or across
// divisions of which none that the general path examines (the block they span) holds a surface; and
// the end point's element holding a cell. For such a move move_for_time makes one call of move_one_molecule
// that tests no triangle and applies no face or wall, and leaves the time left DTIM - DTIM = 0. Its cell
// search is the one within the path's end division for a path within one division, and the full search
// (FIND_CELL, which locates the point anew without the tolerance and makes that division the present one) for
// a path across divisions. The same writes are made here: the present division and element, the cell (and the
// cell lists), the position, NCI. Returns false, having changed nothing, for every other move, which then
// goes the general way.
inline bool move_on_open_path(int N, int& NCI, float DTIM, const MovePass& pass)
{
    const LatticeTables& t = pass.tables;
    if (!pass.open_paths || !t.info || !t.cells)
        return false;
    auto& M = MOLECULES;
    float* const pos = M.MOL_POS.data() + 3 * std::ptrdiff_t(N - 1);  // MOL_POS(1..3, N)
    const float* const U = M.PV.data() + M.PV.extent(1) * std::ptrdiff_t(N - 1);
    const float P0[3] = {pos[0], pos[1], pos[2]};
    float d[3], P1[3];
    for (int a = 0; a < 3; ++a) {
        d[a] = static_cast<float>(double(U[a]) * DTIM);
        if (std::fabs(d[a]) > pass.clip_limit[a])
            return false;
        P1[a] = P0[a] + d[a];
    }
    const auto& B = BOX;
    if (!(P1[0] > B.XMIN && P1[0] < B.XMAX && P1[1] > B.YMIN && P1[1] < B.YMAX && P1[2] > B.ZMIN &&
          P1[2] < B.ZMAX))
        return false;
    const LatticeSteps& L = pass.L;
    const AxisDivisions x = open_axis_divisions(pass, 0, P0[0], d[0], P1[0]);
    const AxisDivisions y = open_axis_divisions(pass, 1, P0[1], d[1], P1[1]);
    const AxisDivisions z = open_axis_divisions(pass, 2, P0[2], d[2], P1[2]);
    PathDivision cell_division{x.end, y.end, z.end};
    auto& D = DIVISIONS;
    if (x.start == x.end && y.start == y.end && z.start == z.end) {
        if (division_code(t, cell_division.i, cell_division.j, cell_division.k) < 1)
            return false;
    } else {
        if (!pass.all_open && !block_open(t, x, y, z))
            return false;
        using locate_detail::division_index;
        cell_division = {division_index(L, 0, P1[0]), division_index(L, 1, P1[1]),
                         division_index(L, 2, P1[2])};
    }
    int e[3];
    elements_of(pass, P1, cell_division, e);
    const int CN = element_cell(t, cell_division.i, cell_division.j, cell_division.k, e);
    if (CN < 1)
        return false;
    set_current_division(cell_division);
    D.CURRENT_ELEMENT_X = e[0];
    D.CURRENT_ELEMENT_Y = e[1];
    D.CURRENT_ELEMENT_Z = e[2];
    set_cell(N, NCI, CN, pass);
    for (int a = 0; a < 3; ++a)
        pos[a] = P1[a];
    NCI = CN;
    return true;
}

// Molecule N's turn in the pass at flow time TIME: when its clock lags TIME by more than its cell's
// time step DTC, the clock advances by 2 DTC, MOVE_COUNT by one, and the molecule is moved for 2 DTC;
// otherwise it is passed by in the passes in which it surely stays not due (skip, per_dtm: see
// pass_by). A removal leaves N one less.
inline void move_if_due(int& N, double TIME, const MovePass& pass, uint8_t* skip, double per_dtm)
{
    auto& M = MOLECULES;
    int NCI = M.IP(IP_CELL, N);
    const float DTC = CELLS.CELL_DATA(CELL_TIME_STEP, NCI);
    if (TIME - M.MOL_TIME(N) <= DTC) {
        pass_by(skip, N, M.MOL_TIME(N), DTC, TIME, per_dtm);
        return;
    }
    const float DTIM = static_cast<float>(2.0 * DTC);
    M.MOL_TIME(N) += DTIM;
    RUN.MOVE_COUNT += 1.0;
    int II = MOVE_PENDING;
    if (DTIM > double(0.2f) * DTC) {
        const int n = N;
        if (!move_on_open_path(N, NCI, DTIM, pass))
            move_for_time_on(N, NCI, DTIM, II, pass);
        // Still in slot N (not removed): the passes it may now be passed by, from its new cell's step.
        if (N == n)
            pass_by(skips_for_store(), N, M.MOL_TIME(N), CELLS.CELL_DATA(CELL_TIME_STEP, M.IP(IP_CELL, N)),
                    TIME, per_dtm);
    } else
        M.MOL_TIME(N) -= DTIM;
}

// What the open-lattice loop reads for every move and nothing in a pass changes: per axis the 4-byte
// clip limit, the box, the lattice terms and the interval of fractions in which a point's division is
// known from its product alone; the storage of ELEMENT_CELL and of the cells' time steps.
// The per-axis terms have a fourth entry, so that the three axes' tests can be made together, four 4-byte
// or two 8-byte lanes at a time (see open_move); in the fourth lane a point 0 moved by 0 passes them all.
struct OpenLattice {
    alignas(16) float clip[4];  // largest 4-byte value <= clip_limit: |d| > clip[a] iff |d| > clip_limit[a]
    alignas(16) float box_low[4], box_high[4];  // XMIN, YMIN, ZMIN; XMAX, YMAX, ZMAX
    alignas(16) double shift[4];                // GEOMETRY_TOLERANCE - XMIN, - YMIN, - ZMIN
    alignas(16) double per_length[4];           // divisions per length
    alignas(16) double count[4];                // divisions as reals
    alignas(16) double mid[4], half[4];         // see open_lattice
    alignas(16) double index_stride[4];      // 1, nx, nx ny: the division cells' strides (see division_cells)
    alignas(16) uint64_t magnitude_bits[2];  // all but the sign bit of an 8-byte real, twice (for |f - mid|)
    int cell_stride[3];                      // ELEMENT_CELL strides of the division's z, y and x index
    const int* element_cell;                 // ELEMENT_CELL's storage
    const float* step;                       // the time step of cell c at step[(c - 1) step_stride]
    std::ptrdiff_t step_stride;              // CELL_DATA's rows, or 1 in the table of passed_by_steps
};

// The largest 4-byte value not above x: a 4-byte f lies above x exactly when it lies above that value.
float float_at_or_below(double x)
{
    float f = static_cast<float>(x);
    if (double(f) > x)
        f = std::nextafter(f, -HUGE_VALF);
    return f;
}

// The end point's division on one axis in a lattice of open divisions, from the product t of the
// path step's rule (with the tolerance) alone, when it also gives the division of the rule without the
// tolerance (FIND_CELL's): the fraction f of t lies more than 2 (QUOTIENT_NEAR + start margin) inside
// (tol divisions_per_length, 1), so that t and t less tol divisions_per_length (whose exact values lie
// within far less than that margin of the computed ones: see open_axis_divisions) truncate alike and
// both quotient rules give the same index. Then a path within one division and a path across
// divisions find the same cell, and the start point's division need not be known. The test is
// |f - mid| < half. The product is formed as (c + (tol - low)) divisions_per_length, one sum fewer than
// the rule's ((c + tol) - low): the two differ by a few units in the last place, far within the margin.
OpenLattice open_lattice(const MovePass& pass, const float* steps)
{
    const LatticeSteps& L = pass.L;
    const auto& B = BOX;
    const auto& EC = DIVISIONS.ELEMENT_CELL;
    const auto& CD = CELLS.CELL_DATA;
    OpenLattice o{};
    const float box_low[3] = {B.XMIN, B.YMIN, B.ZMIN}, box_high[3] = {B.XMAX, B.YMAX, B.ZMAX};
    for (int a = 0; a < 3; ++a) {
        o.clip[a] = float_at_or_below(pass.clip_limit[a]);
        o.box_low[a] = box_low[a];
        o.box_high[a] = box_high[a];
        o.shift[a] = L.tol - L.low[a];
        o.per_length[a] = L.divisions_per_length[a];
        o.count[a] = L.division_count[a];
        const double margin = 0.5 - pass.start_half[a];  // 2 (QUOTIENT_NEAR + start margin)
        const double lo = L.tol * L.divisions_per_length[a] + margin, hi = 1.0 - margin;
        o.mid[a] = 0.5 * (lo + hi);
        o.half[a] = lo < hi ? 0.5 * (hi - lo) : 0.0;
    }
    o.index_stride[0] = 1.0;
    o.index_stride[1] = L.divisions[0];
    o.index_stride[2] = double(L.divisions[0]) * L.divisions[1];
    // The fourth lane: 0 lies inside, and in the first division, the rest of its terms being 0.
    o.box_low[3] = -1.0f;
    o.box_high[3] = 1.0f;
    o.count[3] = 1.0;
    o.half[3] = 1.0;
    o.magnitude_bits[0] = o.magnitude_bits[1] = 0x7fffffffffffffff;
    // ELEMENT_CELL(k, j, i, 1, 1, 1) = element_cell[k + j s1 + i s2 - (1 + s1 + s2)], s1 and s2 its
    // second and third strides.
    o.cell_stride[0] = 1;
    o.cell_stride[1] = EC.extent(1);
    o.cell_stride[2] = EC.extent(1) * EC.extent(2);
    o.element_cell = EC.data();
    o.step = steps ? steps : CD.data() + (CELL_TIME_STEP - 1);
    o.step_stride = steps ? 1 : CD.extent(1);
    return o;
}

// Whether the displacement d on axis a is within the clip limit and the end point c strictly inside
// the box.
inline bool open_end(const OpenLattice& o, int a, float d, float c)
{
    return !(std::fabs(d) > o.clip[a]) && c > o.box_low[a] && c < o.box_high[a];
}

// Whether the end point's division on axis a is known from its product (see open_lattice); if so,
// that division, as its index less 1 in `below`.
inline bool open_division(const OpenLattice& o, int a, float c, int& below)
{
    const double t = (double(c) + o.shift[a]) * o.per_length[a];
    const int k = static_cast<int>(t);
    below = k;
    return t < o.count[a] && std::fabs((t - k) - o.mid[a]) < o.half[a];
}

// A move of the open-lattice loop: the end point P + U DTIM and its division.
struct OpenMove {
#if defined(__SSE2__)
    __m128 end;        // x, y, z, and a fourth lane not looked at
    __m128i below_xy;  // the division indices less 1 of x and y (first two lanes)
    __m128i below_zw;  // that of z (first lane)
#else
    float end[3];  // x, y, z
    int below[3];  // the division indices less 1
#endif
    int division;  // the division cells' subscript of that division
};

#if defined(__SSE2__)
// The three 4-byte values at p in the first three lanes (no more is read: p may end its storage).
inline __m128 load_xyz(const float* p)
{
    double xy;
    std::memcpy(&xy, p, sizeof xy);
    return _mm_movelh_ps(_mm_castpd_ps(_mm_set_sd(xy)), _mm_load_ss(p + 2));
}

// All but the sign bit of a 4-byte real in the three axes' lanes (the fourth lane's magnitude is 0).
alignas(16) constexpr uint32_t FLOAT_MAGNITUDE[4] = {0x7fffffff, 0x7fffffff, 0x7fffffff, 0};

// open_division on two axes, one per 8-byte lane, at index a of the OpenLattice terms: the lanes whose
// division is known are all ones; the truncated products (the indices less 1) go to `below`, their
// values as reals to `below_real`.
inline __m128d open_divisions(const OpenLattice& o, int a, __m128 c, __m128i& below, __m128d& below_real)
{
    const __m128d t =
        _mm_mul_pd(_mm_add_pd(_mm_cvtps_pd(c), _mm_load_pd(o.shift + a)), _mm_load_pd(o.per_length + a));
    below = _mm_cvttpd_epi32(t);
    below_real = _mm_cvtepi32_pd(below);
    const __m128d off_mid = _mm_sub_pd(_mm_sub_pd(t, below_real), _mm_load_pd(o.mid + a));
    const __m128d magnitude =
        _mm_and_pd(off_mid, _mm_load_pd(reinterpret_cast<const double*>(o.magnitude_bits)));
    return _mm_and_pd(_mm_cmplt_pd(t, _mm_load_pd(o.count + a)),
                      _mm_cmplt_pd(magnitude, _mm_load_pd(o.half + a)));
}
#endif

// The end point P + U DTIM of a molecule at P with velocity U moved for DTIM, into m; returns whether
// open_end and open_division hold on every axis, and if so, the end point's division in m. The SSE2 form
// makes every axis's tests at once: each lane does the scalar form's operations in the same precision
// and order, so every value and every outcome is the same (the scalar form stops at the first test that
// fails, which changes nothing, as every test only reads). The fourth lane moves 0 by 0 DTIM, which
// passes every test while DTIM is finite; when it is not, the x lane fails (its |d| exceeds the clip,
// or its end point is not a number), so the fourth lane never decides. The division cells' subscript
// i + nx j + nx ny k of indices less 1 is formed in 8-byte reals, exact for whole numbers this small.
inline bool open_move(const OpenLattice& o, const float* P, const float* U, float DTIM, OpenMove& m)
{
#if defined(__SSE2__)
    const __m128 d = _mm_mul_ps(load_xyz(U), _mm_set1_ps(DTIM));
    const __m128 c = _mm_add_ps(load_xyz(P), d);
    m.end = c;
    // open_end: !(|d| > clip), c > box_low and c < box_high.
    const __m128 magnitude = _mm_and_ps(d, _mm_load_ps(reinterpret_cast<const float*>(FLOAT_MAGNITUDE)));
    const __m128 in_box = _mm_and_ps(
        _mm_and_ps(_mm_cmpngt_ps(magnitude, _mm_load_ps(o.clip)), _mm_cmpgt_ps(c, _mm_load_ps(o.box_low))),
        _mm_cmplt_ps(c, _mm_load_ps(o.box_high)));
    // open_division, x and y in one register, z (and the fourth lane) in the other.
    __m128d real_xy, real_zw;
    const __m128d known_xy = open_divisions(o, 0, c, m.below_xy, real_xy);
    const __m128d known_zw = open_divisions(o, 2, _mm_movehl_ps(c, c), m.below_zw, real_zw);
    const __m128d terms = _mm_add_pd(_mm_mul_pd(real_xy, _mm_load_pd(o.index_stride)),
                                     _mm_mul_pd(real_zw, _mm_load_pd(o.index_stride + 2)));
    // The high lane brought down by an integer shuffle, which needs no copy of `terms` first.
    const __m128d high =
        _mm_castsi128_pd(_mm_shuffle_epi32(_mm_castpd_si128(terms), _MM_SHUFFLE(1, 0, 3, 2)));
    m.division = _mm_cvttsd_si32(_mm_add_sd(terms, high));
    // The low half of each 8-byte lane's mask, x, y, z, w, beside the 4-byte lanes' masks.
    const __m128 known =
        _mm_shuffle_ps(_mm_castpd_ps(known_xy), _mm_castpd_ps(known_zw), _MM_SHUFFLE(2, 0, 2, 0));
    return _mm_movemask_ps(_mm_and_ps(in_box, known)) == 15;
#else
    for (int a = 0; a < 3; ++a) {
        const float d = U[a] * DTIM;
        m.end[a] = P[a] + d;
        if (!open_end(o, a, d, m.end[a]))
            return false;
    }
    for (int a = 0; a < 3; ++a)
        if (!open_division(o, a, m.end[a], m.below[a]))
            return false;
    const double* s = o.index_stride;
    m.division = static_cast<int>(m.below[0] + m.below[1] * s[1] + m.below[2] * s[2]);
    return true;
#endif
}

// The division index less 1 of m's end point on axis a.
inline int below(const OpenMove& m, int a)
{
#if defined(__SSE2__)
    const __m128i v = a == 0   ? m.below_xy
                      : a == 1 ? _mm_shuffle_epi32(m.below_xy, _MM_SHUFFLE(1, 1, 1, 1))
                               : m.below_zw;
    return _mm_cvtsi128_si32(v);
#else
    return m.below[a];
#endif
}

// The end point of m, x, y, z, into P.
inline void end_point(const OpenMove& m, float* P)
{
#if defined(__SSE2__)
    const __m128 c = m.end;
    const double xy = _mm_cvtsd_f64(_mm_castps_pd(c));
    std::memcpy(P, &xy, sizeof xy);
    _mm_store_ss(P + 2, _mm_movehl_ps(c, c));
#else
    P[0] = m.end[0], P[1] = m.end[1], P[2] = m.end[2];
#endif
}

// Open neighbourhoods: whether a division and every division beside it (the up to 26 that share a
// face, an edge or a corner with it) have a code of 1 or more, one byte per division in the order of
// ELEMENT_CELL's division subscripts (z fastest). A path of one sub-step, at most a division width less
// the tolerance per axis, whose end point lies well inside such a division (open_division) starts in it
// or in one beside it, so every division that the general path would examine is open. With `every_open`
// each division counts as open. Returns false when the tables do not agree on the divisions.
bool open_neighbourhoods(const LatticeTables& t, bool every_open, std::vector<uint8_t>& open)
{
    const auto& INFO = DIVISIONS.DIVISION_INFO;
    const auto& EC = DIVISIONS.ELEMENT_CELL;
    const int nz = EC.extent(1), ny = EC.extent(2), nx = EC.extent(3);
    if (!t.info || !t.cells || INFO.extent(2) != nz || INFO.extent(3) != ny || INFO.extent(4) != nx)
        return false;
    const std::size_t count = std::size_t(nx) * ny * nz;
    open.resize(count);
    std::size_t n = 0;
    for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j)
            for (int k = 1; k <= nz; ++k)
                open[n++] = every_open || division_code(t, i, j, k) >= 1;
    if (every_open)
        return true;
    std::vector<uint8_t> swept(count);
    // The least of each division and its neighbours along one axis (stride between neighbours, count
    // along the axis, and the divisions of one step of the next axis), into `to`.
    auto sweep = [count](const std::vector<uint8_t>& from, std::vector<uint8_t>& to, std::size_t stride,
                         int along) {
        for (std::size_t m = 0; m < count; ++m) {
            const int c = static_cast<int>((m / stride) % along);
            uint8_t v = from[m];
            if (c > 0)
                v &= from[m - stride];
            if (c + 1 < along)
                v &= from[m + stride];
            to[m] = v;
        }
    };
    sweep(open, swept, 1, nz);
    sweep(swept, open, std::size_t(nz), ny);
    sweep(open, swept, std::size_t(nz) * ny, nx);
    open.swap(swept);
    return true;
}

// A division's entry of the division cells (see division_cells) when its elements differ in cell.
constexpr int32_t ELEMENTS_DIFFER = -1;

// Division cells: what the open-lattice loop needs of a division, in one 4-byte entry per division, x
// fastest (the order in which the cells are made around the divisions' nodes, and so the order of the
// molecules of a fresh fill, and the order in which a pass meets them): the cell of its elements when the
// division has an open neighbourhood and every element of it has that one cell (a cell number, 1 or more);
// ELEMENTS_DIFFER when it has an open neighbourhood and its elements' cells differ; 0 otherwise (the
// general way). One entry replaces the neighbourhood byte and the element's cell, whose table spreads
// the elements of one division over as many blocks as it has elements: a move then reads one entry of
// a table an eighth the size (with 2 x 2 x 2 elements), which stays in the cache far more often.
// Returns null when the tables and the lattice do not agree on the divisions. The entries are a work
// array of the move, kept between passes.
const int32_t* division_cells(const LatticeTables& t, const LatticeSteps& L, bool every_open)
{
    std::vector<uint8_t> open;  // made anew with the entries, which alone are kept
    static std::vector<int32_t> cells;
    const auto& EC = DIVISIONS.ELEMENT_CELL;
    const int nz = EC.extent(1), ny = EC.extent(2), nx = EC.extent(3);
    if (nx != L.divisions[0] || ny != L.divisions[1] || nz != L.divisions[2] ||
        !open_neighbourhoods(t, every_open, open))
        return nullptr;
    const int ez = EC.extent(4), ey = EC.extent(5), ex = EC.extent(6);
    const std::size_t count = std::size_t(nx) * ny * nz;
    const std::size_t elements = std::size_t(ex) * ey * ez;
    cells.resize(count);
    std::size_t n = 0;  // division (i, j, k) in ELEMENT_CELL's order
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            for (int k = 0; k < nz; ++k, ++n) {
                int32_t& entry = cells[i + std::size_t(nx) * (j + std::size_t(ny) * k)];
                if (!open[n]) {
                    entry = 0;
                    continue;
                }
                // ELEMENT_CELL(k, j, i, e...) lies `count` entries from the same division's entry of the
                // element before it.
                const int32_t first = t.cells[n];
                bool same = true;
                for (std::size_t e = 1; e < elements && same; ++e)
                    same = t.cells[n + e * count] == first;
                entry = !same ? ELEMENTS_DIFFER : first >= 1 ? first : 0;
            }
    return cells.data();
}

// The cells' time steps in a table of their own, 4 bytes a cell instead of a row of CELL_DATA, for the
// open-lattice loop while molecules are passed by: the few molecules that a pass then tests lie in cells
// anywhere, and a table of a fourteenth the span stays far more often in the cache and in the address
// translation's. Made in the first pass with counts outstanding after a pass without or one that did not
// follow the last, and kept while the passes follow one another with counts outstanding, in which the
// cells' steps stay as they are (as the counts themselves require: see above). Null in every other pass,
// which reads CELL_DATA. A work array of the move, kept between passes.
const float* passed_by_steps(bool follows)
{
    static std::vector<float> steps;
    static bool made = false;  // steps holds the cells' steps of this run of passes
    if (!follows || !skips_outstanding()) {
        made = false;
        return nullptr;
    }
    if (!made) {
        const auto& C = CELLS;
        steps.resize(std::size_t(std::max(C.CELL_COUNT, 0)));
        for (int c = 1; c <= C.CELL_COUNT; ++c)
            steps[std::size_t(c - 1)] = C.CELL_DATA(CELL_TIME_STEP, c);
        made = true;
    }
    return steps.data();
}

// MOVE_MOLECULES in a pass with `open_paths`: the molecules' turns as move_if_due takes them, with
// the common move (that of move_on_open_path whose end point lies well inside its division on every
// axis, a division of an open neighbourhood unless every division is open, with a cell: the entry of
// `cells`, the division cells, or of ELEMENT_CELL where the division's elements differ) made here on the
// store's raw rows, whose pointers are read again after every move that goes the general way (which may grow
// the store); every other move goes the general way (move_on_open_path, then move_for_time_on) after the
// writes this loop holds back are made: MOVE_COUNT, and the present division and element, which only the last
// move's values reach. The displacement d = float(double(u) DTIM) is formed as the 4-byte product u DTIM: the
// product of two 4-byte values is exact in 8 bytes, so both round it once to 4 bytes, alike. SKIPPING is
// skips_outstanding() of the pass: the loop is made for either, so that a pass in which every molecule
// moves carries none of the work of passing molecules by.
template <bool CONTINUOUS, bool SKIPPING>
void move_in_open_lattice(double TIME, const MovePass& pass, const int32_t* cells, const float* steps,
                          uint8_t* skip)
{
    auto& M = MOLECULES;
    auto& D = DIVISIONS;
    const OpenLattice o = open_lattice(pass, steps);
    float* pos = nullptr;
    const float* pv = nullptr;
    int* ip = nullptr;
    double* mol_time = nullptr;
    std::ptrdiff_t pv_rows = 0, ip_rows = 0;
    int NM = 0;  // MOLECULES.NM, which only the general way changes
    auto read_rows = [&] {
        pos = M.MOL_POS.data();
        pv = M.PV.data();
        ip = M.IP.data();
        mol_time = M.MOL_TIME.data();
        pv_rows = M.PV.extent(1);
        ip_rows = M.IP.extent(1);
        NM = M.NM;
    };
    read_rows();
    const double per_dtm = skip_rate(RUN.DTM);
    double moves = 0.0;  // MOVE_COUNT not yet added
    int held = 0;        // the last molecule moved here, whose division is the present one (0: none)
    auto write_held = [&] {
        RUN.MOVE_COUNT += moves;
        moves = 0.0;
        if (held != 0) {
            // Its division as the move found it, from the position it was given.
            const float* P = pos + 3 * std::ptrdiff_t(held - 1);
            int below[3];
            for (int a = 0; a < 3; ++a)
                open_division(o, a, P[a], below[a]);
            const PathDivision v{below[0] + 1, below[1] + 1, below[2] + 1};
            set_current_division(v);
            int e[3];
            elements_of(pass, P, v, e);
            D.CURRENT_ELEMENT_X = e[0];
            D.CURRENT_ELEMENT_Y = e[1];
            D.CURRENT_ELEMENT_Z = e[2];
            held = 0;
        }
    };
    // The address of the time step of a cell, o.step[(cell - 1) o.step_stride], formed in integers
    // from the cell number alone. A later molecule's is asked for as prefetch_cell_time_step does, so
    // that a cell number out of range (which a molecule in the store never has) would only ask for a
    // useless line: a prefetch never faults.
    const std::uintptr_t step_bytes = sizeof(float) * std::uintptr_t(o.step_stride);
    const std::uintptr_t step_address = reinterpret_cast<std::uintptr_t>(o.step) - step_bytes;
    auto step_at = [=](int cell) { return step_address + step_bytes * std::uintptr_t(cell); };
    Lookahead ahead;
    auto ask_rows = [&](int far) { prefetch_molecule_rows(ip, ip_rows, mol_time, pos, pv, pv_rows, far); };
    auto ask_step = [&](int far) {
        prefetch_line(reinterpret_cast<const void*>(step_at(ip[ip_rows * (far - 1) + (IP_CELL - 1)])));
    };
    for (int N = 1; N <= NM; ++N) {
        if (SKIPPING) {
            N = next_to_test(skip, N, NM);
            if (N > NM)
                break;
        }
        ahead.come_to(N, skip, SKIPPING, NM, ask_rows, ask_step);
        const std::ptrdiff_t column = N - 1;  // of molecule N in the store's arrays
        int* ipN = ip + ip_rows * column;
        int NCI = ipN[IP_CELL - 1];
        const float DTC = *reinterpret_cast<const float*>(step_at(NCI));
        double& clock = mol_time[column];
        if (TIME - clock <= DTC) {
            pass_by(skip, N, clock, DTC, TIME, per_dtm);
            continue;
        }
        const float DTIM = static_cast<float>(2.0 * DTC);
        clock += DTIM;
        moves += 1.0;
        if (!(DTIM > double(0.2f) * DTC)) [[unlikely]] {
            clock -= DTIM;
            continue;
        }
        float* P = pos + 3 * column;
        OpenMove move;
        if (open_move(o, P, pv + pv_rows * column, DTIM, move)) [[likely]] {
            int CN = cells[move.division];
            if (CN == ELEMENTS_DIFFER) {
                // The element within the division, as both cell searches find it.
                const int i = below(move, 0), j = below(move, 1), k = below(move, 2);
                float P1[3];
                end_point(move, P1);
                int e[3];
                elements_of(pass, P1, {i + 1, j + 1, k + 1}, e);
                const std::ptrdiff_t* s = pass.tables.cell_stride;
                const int division = k + j * o.cell_stride[1] + i * o.cell_stride[2];
                CN = o.element_cell[division + (e[0] - 1) * s[3] + (e[1] - 1) * s[4] + (e[2] - 1) * s[5]];
            }
            if (CN >= 1) [[likely]] {
                ipN[IP_CELL - 1] = CN;
                if (CONTINUOUS && CN != NCI) {
                    REMOVE_FROM_CELL_LIST(NCI, N);
                    INSERT_INTO_CELL_LIST(CN, N);
                }
                end_point(move, P);
                held = N;
                // While molecules are passed by: the passes it may now be passed by, from its new cell's
                // step, as move_if_due sets them (otherwise the next pass would read its rows only to find
                // it not due). While none is, every molecule moves every pass, as it will in the next.
                if (SKIPPING) {
                    const float step = CN == NCI ? DTC : *reinterpret_cast<const float*>(step_at(CN));
                    pass_by(skip, N, clock, step, TIME, per_dtm);
                }
                continue;
            }
        }
        write_held();
        // The general way works on copies of the slot and the cell, so that the loop's own need not be
        // kept in memory for it.
        int II = MOVE_PENDING;
        int n = N, nci = NCI;
        if (!move_on_open_path(n, nci, DTIM, pass))
            move_for_time_on(n, nci, DTIM, II, pass);
        read_rows();
        skip = skips_for_store();
        // Still in slot N (not removed): its count as for the common move.
        if (SKIPPING && n == N)
            pass_by(skip, N, M.MOL_TIME(N), CELLS.CELL_DATA(CELL_TIME_STEP, M.IP(IP_CELL, N)), TIME, per_dtm);
        N = n;
    }
    write_held();
}

}  // namespace

// MOVE_ONE_MOLECULE: see kernel_move.h.
void MOVE_ONE_MOLECULE(int& N, int& NCI, float& DTIM, int& II)
{
    move_one_molecule(N, NCI, DTIM, II, move_pass());
}

// move_for_time: see kernel_move.h.
void move_for_time(int& N, int& NCI, float DTIM, int& II)
{
    move_for_time_on(N, NCI, DTIM, II, move_pass());
}

// MOVE_MOLECULES: every molecule present at the start of the pass is considered once. A molecule is
// due when TIME - MOL_TIME exceeds its cell's time step DTC; its clock then advances by 2 DTC and it is
// moved for that time, so on average it moves once every 2 DTC / DTM passes. A removal copies the last
// molecule into slot N and steps N back, so the loop visits slot N again; molecules added during the
// pass (surface-reaction products) come after NM and are moved when due.
void MOVE_MOLECULES()
{
    auto& M = MOLECULES;
    const double TIME = RUN.TIME;
    M.DEBUG_MOLECULE = -1;
    MovePass pass = move_pass();
    bool follows = false;
    uint8_t* skip = prepare_skips(TIME, follows);
    // Nothing in the passes changes the division codes or the element cells: they are looked at again
    // only when a pass does not follow the last one (or the tables are others).
    static struct {
        bool all_open = false;              // every division open
        const int32_t* cells = nullptr;     // the division cells, or null
        const int* element_cell = nullptr;  // ELEMENT_CELL's storage they were made for
    } lattice;
    if (!follows || lattice.element_cell != pass.tables.cells) {
        lattice.all_open = every_division_open();
        lattice.cells = division_cells(pass.tables, pass.L, lattice.all_open);
        lattice.element_cell = pass.tables.cells;
    }
    pass.all_open = pass.open_paths && lattice.all_open;
    const int32_t* cells = pass.open_paths ? lattice.cells : nullptr;
    const float* steps = passed_by_steps(follows);
    if (cells) {
        using OpenLatticeLoop = void (*)(double, const MovePass&, const int32_t*, const float*, uint8_t*);
        static constexpr OpenLatticeLoop loops[2][2] = {
            {move_in_open_lattice<false, false>, move_in_open_lattice<false, true>},
            {move_in_open_lattice<true, false>, move_in_open_lattice<true, true>}};
        loops[pass.continuous][skips_outstanding()](TIME, pass, cells, steps, skip);
    } else {
        const bool skipping = skips_outstanding();
        const double per_dtm = skip_rate(RUN.DTM);
        Lookahead ahead;
        auto rows = [&M](int m) {
            prefetch_molecule_rows(M.IP.data(), M.IP.extent(1), M.MOL_TIME.data(), M.MOL_POS.data(),
                                   M.PV.data(), M.PV.extent(1), m);
        };
        for (int N = 1; N <= M.NM; ++N) {
            if (skipping) {
                N = next_to_test(skip, N, M.NM);
                if (N > M.NM)
                    break;
            }
            ahead.come_to(N, skip, skipping, M.NM, rows, prefetch_cell_time_step);
            move_if_due(N, TIME, pass, skip, per_dtm);
            skip = skips_for_store();
        }
    }
    end_skips(TIME);
}
