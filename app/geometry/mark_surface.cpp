// The "Mark surface elements" stage: sample points laid on every surface triangle (on shifted lattice
// lines through it, on a fan over its face and around its corners) register the triangle in the
// division and the element that each point falls in. Sided points just before and behind the surface
// on the lattice lines give each element its code. The stage ends with the surface index, which packs
// the triangle lists of the surface divisions, and the arrays of the element analysis.
#include "app/geometry/geometry.h"
#include "app/geometry/locate.h"
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "base/units.h"

#include <algorithm>
#include <cmath>

namespace {

// G1: every division's list gains one slot (MNSEG + 1). The storage grows by half its room at a time,
// so the copies stay few on large surfaces; the capacity, its log line and the lists are as with growth
// by one slot.
void extend_mnseg()
{
    Divisions& D = DIVISIONS;
    D.MNSEG += 1;
    if (D.MNSEG > D.indiv_room) {
        const int room = std::max(D.MNSEG, D.indiv_room + D.indiv_room / 2 + 1);
        const auto& B = BOX;
        Array<int, 4> grown;
        if (!grown.allocate(room + 1, B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X))
            allocation_stop("PROGRAM COULD NOT REALLOCATE INDIV", "INDIV");
        for (int ix = 1; ix <= B.DIVISIONS_X; ++ix)
            for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
                for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
                    for (int s = 0; s <= D.indiv_room; ++s)
                        grown(s + 1, iz, iy, ix) = indiv(iz, iy, ix, s);
        D.INDIV = std::move(grown);
        D.indiv_room = room;
    }
    write_list(UNIT_DIAG, {"MNSEG extended to", D.MNSEG});
}

// Re-makes INDSURF with new capacities, keeping columns 0..MTRI of rows 1..rows_kept.
void reshape_indsurf(int new_maxsel, int new_mtri, int rows_kept)
{
    Divisions& D = DIVISIONS;
    Array<int, 2> grown;
    if (!grown.allocate(new_mtri + 1, new_maxsel))
        allocation_stop("PROGRAM COULD NOT REALLOCATE INDSURF", "INDSURF");
    for (int e = 1; e <= rows_kept; ++e)
        for (int c = 0; c <= D.MTRI; ++c)
            grown(c + 1, e) = indsurf(e, c);
    D.INDSURF = std::move(grown);
    D.MAXSEL = new_maxsel;
    D.MTRI = new_mtri;
}

// G2 and G3: INDSURF gains 20 % plus one of its rows or of its columns.
int grown_capacity(int capacity)
{
    return static_cast<int>(double(1.2f) * capacity + 1.0);
}

void extend_maxsel()
{
    Divisions& D = DIVISIONS;
    reshape_indsurf(grown_capacity(D.MAXSEL), D.MTRI, D.SURFACE_ELEMENT_COUNT - 1);
    write_list(UNIT_DIAG, {"MAXSEL extended to", D.MAXSEL});
}

void extend_mtri()
{
    Divisions& D = DIVISIONS;
    reshape_indsurf(D.MAXSEL, grown_capacity(D.MTRI), D.SURFACE_ELEMENT_COUNT);
    write_list(UNIT_DIAG, {"MTRI extended to", D.MTRI});
}

// The transitions of an element code by one sided point.
int code_after(int code, int side)
{
    if (side == -1)
        return code == -2 ? -1 : (code == 1 ? 0 : code);
    if (side == 1)
        return code == -2 ? 1 : (code == -1 ? 0 : code);
    return code;
}

// Lower and upper limit along one axis of element e of division i.
float element_low(float cmin, int i, float division_width, int e, float element_width)
{
    return static_cast<float>(double(cmin) + double(i - 1) * division_width + double(e - 1) * element_width);
}
float element_high(float cmin, int i, float division_width, int e, float element_width)
{
    return static_cast<float>(double(cmin) + double(i - 1) * division_width + double(e) * element_width);
}

// Limits of the element located last (the six current indices), per axis.
void current_element_box(float low[3], float high[3])
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const float cmin[3] = {B.XMIN, B.YMIN, B.ZMIN};
    const int division[3] = {D.CURRENT_DIVISION_X, D.CURRENT_DIVISION_Y, D.CURRENT_DIVISION_Z};
    const int element[3] = {D.CURRENT_ELEMENT_X, D.CURRENT_ELEMENT_Y, D.CURRENT_ELEMENT_Z};
    const float dw[3] = {D.DIVISION_WIDTH_X, D.DIVISION_WIDTH_Y, D.DIVISION_WIDTH_Z};
    const float ew[3] = {D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z};
    for (int a = 0; a < 3; ++a) {
        low[a] = element_low(cmin[a], division[a], dw[a], element[a], ew[a]);
        high[a] = element_high(cmin[a], division[a], dw[a], element[a], ew[a]);
    }
}

struct Vec3 {
    float c[3];
};

// The corners of triangle t.
void triangle_corners(int t, Vec3 p[3])
{
    const auto& S = SURFACE;
    for (int k = 0; k < 3; ++k) {
        int q = S.TRIANGLE(k + 1, t);
        p[k] = {{S.POINT_X(q), S.POINT_Y(q), S.POINT_Z(q)}};
    }
}

void mark(const Vec3& p, int t, int side)
{
    MARK_SURFACE_POINT(p.c[0], p.c[1], p.c[2], t, side);
}

// First marking pass: lattice lines along axis a through the element box [lo, hi] of the triangle.
void mark_lattice_lines(int t, const Vec3 p[3], const float n[3], float w, int a, const float lo[3],
                        const float hi[3])
{
    const Divisions& D = DIVISIONS;
    const auto& B = BOX;
    const float width[3] = {D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z};
    const float box_lo[3] = {B.XMIN, B.YMIN, B.ZMIN};
    const float box_hi[3] = {B.XMAX, B.YMAX, B.ZMAX};
    const int u = a == 0 ? 1 : 0;  // (y, z) for x; (x, z) for y; (x, y) for z
    const int v = a == 2 ? 1 : 2;
    const float s = static_cast<float>(4.0 * double(D.GEOMETRY_TOLERANCE));      // LINE_SHIFT
    const float doff = static_cast<float>(50.0 * double(D.GEOMETRY_TOLERANCE));  // DOFF
    const float shift_u[4] = {-s, s, s, -s};
    const float shift_v[4] = {-s, -s, s, s};

    auto in_projection = [&](float pu, float pv) {
        int inside = 0;
        POINT_IN_TRIANGLE(p[0].c[u], p[0].c[v], p[1].c[u], p[1].c[v], p[2].c[u], p[2].c[v], pu, pv, inside);
        return inside == 1;
    };

    const int ku = static_cast<int>((double(hi[u]) - lo[u]) / width[u] + 1.0);
    const int kv = static_cast<int>((double(hi[v]) - lo[v]) / width[v] + 1.0);
    for (int j = 0; j <= kv; ++j) {
        const float vj = static_cast<float>(double(lo[v]) + double(j) * width[v]);
        for (int k = 0; k <= ku; ++k) {
            const float uk = static_cast<float>(double(lo[u]) + double(k) * width[u]);
            if (!in_projection(uk, vj))
                continue;
            for (int q = 0; q < 4; ++q) {
                const float pu = static_cast<float>(double(uk) + shift_u[q]);
                const float pv = static_cast<float>(double(vj) + shift_v[q]);
                if (pu < box_lo[u] || pu > box_hi[u] || pv < box_lo[v] || pv > box_hi[v])
                    continue;
                if (!in_projection(pu, pv))
                    continue;
                Vec3 point;
                point.c[u] = pu;
                point.c[v] = pv;
                const float a0 = static_cast<float>(-(double(n[u]) * pu + double(n[v]) * pv + w) / n[a]);
                point.c[a] = a0;
                mark(point, t, 0);

                point.c[a] = static_cast<float>(double(a0) + 2.0 * doff);
                const float side_value = static_cast<float>(
                    double(n[0]) * point.c[0] + double(n[1]) * point.c[1] + double(n[2]) * point.c[2] + w);
                if (side_value > 0.0f)
                    mark(point, t, 1);
                else if (side_value < 0.0f)
                    mark(point, t, -1);

                point.c[a] = static_cast<float>(double(a0) - 2.0 * doff);
                if (side_value > 0.0f)
                    mark(point, t, -1);
                else if (side_value < 0.0f)
                    mark(point, t, 1);
            }
        }
    }
}

float distance(const Vec3& p, const Vec3& q)
{
    double dx = double(p.c[0]) - q.c[0], dy = double(p.c[1]) - q.c[1], dz = double(p.c[2]) - q.c[2];
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

// Second pass: a fan of segments from the edge P2P3 to P1, sampled at spacings below a third of the element
// diagonal.
void mark_fan(int t, const Vec3 p[3])
{
    const double diagonal = DIVISIONS.ELEMENT_DIAGONAL;
    const int K = static_cast<int>(3.0 * distance(p[2], p[1]) / diagonal + 2.0);
    for (int i = 0; i <= K - 1; ++i) {
        Vec3 q;
        for (int c = 0; c < 3; ++c)
            q.c[c] =
                static_cast<float>(double(p[1].c[c]) + double(i) * (double(p[2].c[c]) - p[1].c[c]) / (K - 1));
        const int L = static_cast<int>(3.0 * distance(p[0], q) / diagonal + 1.0);
        for (int m = 1; m <= L; ++m) {
            Vec3 point;
            for (int c = 0; c < 3; ++c)
                point.c[c] =
                    static_cast<float>(double(q.c[c]) + (m - 0.5) * (double(p[0].c[c]) - q.c[c]) / L);
            mark(point, t, 0);
        }
    }
}

// Third pass: 26 points around each corner at 0.01 of the element diagonal.
void mark_corner_neighbourhoods(int t, const Vec3 p[3])
{
    static constexpr int RING[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    const float d = static_cast<float>(double(0.01f) * DIVISIONS.ELEMENT_DIAGONAL);
    for (int k = 0; k < 3; ++k) {
        auto at = [&](int dx, int dy, int dz) {
            Vec3 point;
            const int o[3] = {dx, dy, dz};
            for (int c = 0; c < 3; ++c)
                point.c[c] = static_cast<float>(double(p[k].c[c]) + o[c] * double(d));
            mark(point, t, 0);
        };
        for (const auto& r : RING)
            at(r[0], r[1], 0);
        at(0, 0, -1);
        at(0, 0, 1);
        for (const auto& r : RING)
            at(r[0], r[1], -1);
        for (const auto& r : RING)
            at(r[0], r[1], 1);
    }
}

// The sample points of one triangle.
void mark_triangle(int t)
{
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    Vec3 p[3];
    triangle_corners(t, p);

    // Corners, and the smallest box of whole elements that holds their elements.
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        mark(p[k], t, 0);
        float l[3], h[3];
        current_element_box(l, h);
        for (int c = 0; c < 3; ++c) {
            lo[c] = k == 0 ? l[c] : std::min(lo[c], l[c]);
            hi[c] = k == 0 ? h[c] : std::max(hi[c], h[c]);
        }
    }

    const float n[3] = {G(1, t), G(2, t), G(3, t)};
    const float w = G(4, t);
    for (int a = 0; a < 3; ++a)
        if (std::fabs(n[a]) > 1.0e-4f)
            mark_lattice_lines(t, p, n, w, a, lo, hi);
    mark_fan(t, p);
    mark_corner_neighbourhoods(t, p);
}

// The surface index: the division lists packed in surface-division order.
void make_surface_index()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    if (!D.SURFACE_INDEX.allocate(2, D.SURFACE_DIVISION_COUNT))
        allocation_stop("PROGRAM COULD NOT ALLOCATE SURFACE INDEX", "SURFACE_INDEX");
    D.TOTAL_SURFACE_INDEX_SIZE = 0;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                const int n = indiv(iz, iy, ix, 0);
                if (n > 0) {
                    D.TOTAL_SURFACE_INDEX_SIZE += n;
                    D.SURFACE_INDEX(SURFACE_INDEX_COUNT, -D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix)) = n;
                }
            }
    if (!D.TOTAL_SURFACE_INDEX.allocate(D.TOTAL_SURFACE_INDEX_SIZE))
        allocation_stop("PROGRAM COULD NOT ALLOCATE TOTAL SURFACE INDEX", "TOTAL_SURFACE_INDEX");
    int before = 0;
    for (int k = 1; k <= D.SURFACE_DIVISION_COUNT; ++k) {
        D.SURFACE_INDEX(SURFACE_INDEX_START, k) = before;
        before += D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k);
    }
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                const int n = indiv(iz, iy, ix, 0);
                if (n <= 0)
                    continue;
                const int start =
                    D.SURFACE_INDEX(SURFACE_INDEX_START, -D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix));
                for (int m = 1; m <= n; ++m)
                    D.TOTAL_SURFACE_INDEX(start + m) = indiv(iz, iy, ix, m);
            }
}

// ELEMENT_CELL, SUB_ELEMENTS_IN_FLOW and SURFACE_ELEMENT_DATA for the analysis and the levels.
void allocate_analysis_arrays()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    if (!D.ELEMENT_CELL.allocate(B.DIVISIONS_Z, B.DIVISIONS_Y, B.DIVISIONS_X, B.ELEMENTS_PER_DIVISION_Z,
                                 B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X))
        allocation_stop("PROGRAM COULD NOT ALLOCATE ELEMENTS", "ELEMENT_CELL");
    if (!D.SUB_ELEMENTS_IN_FLOW.allocate(D.SURFACE_ELEMENT_COUNT, B.ELEMENTS_PER_DIVISION_Z,
                                         B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_X))
        allocation_stop("PROGRAM COULD NOT ALLOCATE ELEMENTS", "SUB_ELEMENTS_IN_FLOW");
    if (!D.SURFACE_ELEMENT_DATA.allocate(6, D.SURFACE_ELEMENT_COUNT))
        allocation_stop("PROGRAM COULD NOT ALLOCATE ELEMENTS", "SURFACE_ELEMENT_DATA");
    D.ELEMENT_CELL.fill(SURFACE.SURFACE_COUNT > 0 ? -1 : 0);
}

}  // namespace

void MARK_SURFACE_POINT(float x, float y, float z, int t, int side)
{
    int inside = 0;
    POINT_IN_BOX(x, y, z, inside);
    if (inside == 0)
        return;
    FIND_ELEMENT(x, y, z);
    Divisions& D = DIVISIONS;
    const int ix = D.CURRENT_DIVISION_X, iy = D.CURRENT_DIVISION_Y, iz = D.CURRENT_DIVISION_Z;
    const int ex = D.CURRENT_ELEMENT_X, ey = D.CURRENT_ELEMENT_Y, ez = D.CURRENT_ELEMENT_Z;

    int& code = D.ELEMENT_CODE(iz, iy, ix, ez, ey, ex);
    code = code_after(code, side);

    // The division's list.
    const int n = indiv(iz, iy, ix, 0);
    bool listed = false;
    if (n == 0) {
        D.SURFACE_DIVISION_COUNT += 1;
        D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) = -D.SURFACE_DIVISION_COUNT;
    } else {
        for (int m = 1; m <= n && !listed; ++m)
            listed = indiv(iz, iy, ix, m) == t;
    }
    if (!listed) {
        if (n + 1 > D.MNSEG)
            extend_mnseg();
        indiv(iz, iy, ix, 0) = n + 1;
        indiv(iz, iy, ix, n + 1) = t;
    }

    // The element's list.
    int& number = D.SURFACE_ELEMENT_NUMBER(iz, iy, ix, ez, ey, ex);
    if (number == 0) {
        D.SURFACE_ELEMENT_COUNT += 1;
        if (D.SURFACE_ELEMENT_COUNT > D.MAXSEL)
            extend_maxsel();
        number = D.SURFACE_ELEMENT_COUNT;
        indsurf(number, 1) = t;
        indsurf(number, 0) = 1;
        return;
    }
    for (int j = 1;; ++j) {
        if (j > D.MTRI)
            extend_mtri();
        int& entry = indsurf(number, j);
        if (entry == t)
            return;
        if (entry == 0) {
            entry = t;
            indsurf(number, 0) = j;
            return;
        }
    }
}

void mark_surface_elements()
{
    Divisions& D = DIVISIONS;
    const auto& S = SURFACE;
    progress_stage("Mark surface elements");
    D.SURFACE_ELEMENT_COUNT = 0;
    if (S.SURFACE_COUNT > 0) {
        for (int t = 1; t <= S.TRIANGLE_COUNT; ++t) {
            progress_advance(1.0f);
            mark_triangle(t);
        }
    }
    make_surface_index();
    allocate_analysis_arrays();
}
