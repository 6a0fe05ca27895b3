// ANALYSE_SURFACE_ELEMENT: which part of one cut element lies in the flow.
//
// The element is probed by the 121 straight lines parallel to x through an 11 by 11 lattice on its
// x-min face. Each surface triangle's plane gives a line its stretches in the flow, in tenths of the
// element's x width; the weighted sum over the lines is the in-flow share in thousandths (1000
// sub-elements). A line that no triangle crosses takes its state from the lattice, which the traces of
// the triangles on the x-min face set and a flood completes. Six face flags record which faces of the
// element the surface touches or a body covers. The side into which a triangle's normal points is the
// flow side throughout.
#include "app/geometry/geometry.h"
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/surface.h"

#include <cmath>
#include <vector>

namespace {

constexpr int X = 0, Y = 1, Z = 2;
constexpr int LATTICE = 10;  // lattice steps 0..10 across the face

// Per-call state of the analysis.
struct Analysis {
    float lo[3], hi[3];     // element limits
    float ya[LATTICE + 1];  // lattice positions on the x-min face, pulled in from its edges
    float zb[LATTICE + 1];
    int state[LATTICE + 1][LATTICE + 1];   // FACE_POINT_STATE (a, b): 0 unassigned, +1 flow, -1 body
    int source[LATTICE + 1][LATTICE + 1];  // FACE_POINT_SOURCE (a, b): 1 direct, -1 tentative, 0 not set
    int e = 0;                             // surface element number
    int triangle_count = 0;                // triangles of the element
    int inno = 0;                          // side shown by a triangle lying in faces 2..6
    int last = 0;                          // start state of the last line with crossings
    int unassigned = 0;                    // U: weighted tenths of lines that nothing assigned
    bool unassigned_set = false;
    int in_flow = 0;  // V: weighted tenths in the flow
};

// NINTT (2, MTRI): the crossings of the present x-line (tenth-step index, signed triangle number). Kept
// between calls so that the analysis allocates only when an element has more triangles than before.
std::vector<int> CROSS_INDEX;
std::vector<int> CROSS_TRIANGLE;

int triangle_of(const Analysis& A, int m)
{
    return indsurf(A.e, m);
}

// Plane function of triangle t: n . p + d, positive on the flow side.
float plane(int t, double x, double y, double z)
{
    const auto& G = SURFACE.TRIANGLE_GEOMETRY;
    return static_cast<float>(double(G(1, t)) * x + double(G(2, t)) * y + double(G(3, t)) * z +
                              double(G(4, t)));
}

float normal(int t, int axis)
{
    return SURFACE.TRIANGLE_GEOMETRY(axis + 1, t);
}

float corner(int t, int k, int axis)
{
    const auto& S = SURFACE;
    const int p = S.TRIANGLE(k, t);
    return axis == X ? S.POINT_X(p) : (axis == Y ? S.POINT_Y(p) : S.POINT_Z(p));
}

// The point (pu, pv) in the projection of triangle t onto the coordinates (u, v), coarse tolerance.
bool in_projection(int t, int u, int v, float pu, float pv)
{
    int inside = 0;
    POINT_IN_TRIANGLE_COARSE(corner(t, 1, u), corner(t, 1, v), corner(t, 2, u), corner(t, 2, v),
                             corner(t, 3, u), corner(t, 3, v), pu, pv, inside);
    return inside == 1;
}

void flag(const Analysis& A, int face)
{
    DIVISIONS.SURFACE_ELEMENT_DATA(face, A.e) = 1;
}

void flag_all_but(const Analysis& A, int spared)
{
    for (int j = 1; j <= 6; ++j)
        if (j != spared)
            flag(A, j);
}

// ---- edge and face contacts

struct EdgeCase {
    int along;            // axis of the edge
    int p, q;             // the two fixed axes
    bool p_high, q_high;  // the foot point at their low or high limits
    int u, v;             // projection coordinates of the foot test
    int face1, face2;     // faces flagged by a cut
};

constexpr EdgeCase EDGES[12] = {{Z, X, Y, false, false, X, Y, 1, 3}, {Z, X, Y, false, true, X, Y, 1, 4},
                                {Z, X, Y, true, false, X, Y, 2, 3},  {Z, X, Y, true, true, X, Y, 2, 4},
                                {Y, X, Z, false, false, X, Z, 1, 5}, {Y, X, Z, false, true, X, Z, 1, 6},
                                {Y, X, Z, true, false, X, Z, 2, 5},  {Y, X, Z, true, true, X, Z, 2, 6},
                                {X, Y, Z, false, false, Z, Y, 5, 3}, {X, Y, Z, false, true, Z, Y, 6, 3},
                                {X, Y, Z, true, false, Z, Y, 5, 4},  {X, Y, Z, true, true, Z, Y, 6, 4}};

void edge_contacts(const Analysis& A, int t, float tol)
{
    for (const EdgeCase& c : EDGES) {
        float point[3];
        point[c.p] = c.p_high ? A.hi[c.p] : A.lo[c.p];
        point[c.q] = c.q_high ? A.hi[c.q] : A.lo[c.q];
        if (!in_projection(t, c.u, c.v, point[c.u], point[c.v]))
            continue;
        const float nt = normal(t, c.along);
        if (!(std::fabs(nt) > 1.0e-6f))
            continue;
        const float t_lo = A.lo[c.along], t_hi = A.hi[c.along];
        const float tc =
            static_cast<float>(-(double(normal(t, c.p)) * point[c.p] + double(normal(t, c.q)) * point[c.q] +
                                 SURFACE.TRIANGLE_GEOMETRY(4, t)) /
                               nt);
        if (!(double(tc) > double(t_lo) - tol && double(tc) < double(t_hi) + tol))
            continue;
        bool counts = true;
        if (double(tc) < double(t_lo) + tol) {
            point[c.along] = t_hi;
            counts = counts && plane(t, point[X], point[Y], point[Z]) <= 0.0f;
        }
        if (double(tc) > double(t_hi) - tol) {
            point[c.along] = t_lo;
            counts = counts && !(plane(t, point[X], point[Y], point[Z]) > 0.0f);
        }
        if (counts) {
            flag(A, c.face1);
            flag(A, c.face2);
        }
    }
}

// A triangle whose plane is the plane of face j: |n| along the face's axis is 1 and the face lies in it.
bool lies_in_face(int t, int axis, float coordinate, float tol)
{
    const float n = normal(t, axis);
    return std::fabs(std::fabs(double(n)) - 1.0) < double(1.0e-5f) &&
           std::fabs(double(n) * coordinate + SURFACE.TRIANGLE_GEOMETRY(4, t)) < tol;
}

void face_contacts(Analysis& A, int t, float tol)
{
    const float d = SURFACE.TRIANGLE_GEOMETRY(4, t);
    // Face 1: the lattice points that the triangle covers take the side on which x_hi lies.
    if (lies_in_face(t, X, A.lo[X], tol)) {
        flag_all_but(A, 2);
        const int v = double(normal(t, X)) * A.hi[X] + d > 0.0 ? 1 : -1;
        for (int a = 0; a <= LATTICE; ++a)
            for (int b = 0; b <= LATTICE; ++b)
                if (in_projection(t, Y, Z, A.ya[a], A.zb[b])) {
                    A.state[a][b] = v;
                    A.source[a][b] = 1;
                }
    }
    // Faces 2 to 6: a triangle covering the face centre shows on which side the element lies.
    struct FaceCase {
        int face, axis;
        bool high;
        int u, v;
        int spared;
    };
    static constexpr FaceCase FACES[5] = {{2, X, true, Y, Z, 1},
                                          {3, Y, false, X, Z, 4},
                                          {4, Y, true, X, Z, 3},
                                          {5, Z, false, X, Y, 6},
                                          {6, Z, true, X, Y, 5}};
    for (const FaceCase& f : FACES) {
        const float coordinate = f.high ? A.hi[f.axis] : A.lo[f.axis];
        if (!lies_in_face(t, f.axis, coordinate, tol))
            continue;
        const float cu = static_cast<float>((double(A.lo[f.u]) + A.hi[f.u]) / 2.0);
        const float cv = static_cast<float>((double(A.lo[f.v]) + A.hi[f.v]) / 2.0);
        if (!in_projection(t, f.u, f.v, cu, cv))
            continue;
        flag_all_but(A, f.spared);
        const float opposite = f.high ? A.lo[f.axis] : A.hi[f.axis];
        const float g = static_cast<float>(double(normal(t, f.axis)) * opposite + d);
        if (g > 0.0f)
            A.inno = 1;
        else if (g < 0.0f)
            A.inno = -1;
    }
}

// ---- the trace of each triangle on face 1

bool in_lattice(int a, int b)
{
    return a >= 0 && a <= LATTICE && b >= 0 && b <= LATTICE;
}

int nint(double value)
{
    return static_cast<int>(value >= 0.0 ? value + 0.5 : value - 0.5);
}

int clamp_lattice(int a)
{
    return a < 0 ? 0 : (a > LATTICE ? LATTICE : a);
}

void trace_on_face_one(Analysis& A, int t, float tol)
{
    const double nx = normal(t, X), ny = normal(t, Y), nz = normal(t, Z);
    const double d = SURFACE.TRIANGLE_GEOMETRY(4, t);
    const double x0 = A.lo[X];

    // End points of the trace on the border of face 1: at most two.
    float end_y[2], end_z[2];
    int ends = 0;
    // A candidate end (y, z) is kept while fewer than two are held and `free` lies within its range.
    auto try_end = [&](float y, float z, float free, int axis) {
        if (ends < 2 && double(free) > double(A.lo[axis]) - tol && double(free) < double(A.hi[axis]) + tol) {
            end_y[ends] = y;
            end_z[ends] = z;
            ++ends;
        }
    };
    if (std::fabs(nz) > double(1.0e-6f)) {
        for (float y : {A.lo[Y], A.hi[Y]}) {
            const float z = static_cast<float>(-(nx * x0 + ny * y + d) / nz);
            try_end(y, z, z, Z);
        }
    }
    if (std::fabs(ny) > double(1.0e-6f)) {
        for (float z : {A.lo[Z], A.hi[Z]}) {
            const float y = static_cast<float>(-(nx * x0 + nz * z + d) / ny);
            try_end(y, z, y, Y);
        }
    }
    if (ends < 2)
        return;

    // Deletions: a segment too short, or one that another triangle in the same plane faces the other way.
    const float dy = static_cast<float>(double(end_y[1]) - end_y[0]);
    const float dz = static_cast<float>(double(end_z[1]) - end_z[0]);
    if (std::sqrt(double(dy) * dy + double(dz) * dz) < tol)
        return;
    for (int m = 1; m <= A.triangle_count; ++m) {
        const int other = triangle_of(A, m);
        if (other == t)
            continue;
        if (!(std::fabs(plane(other, x0, end_y[0], end_z[0])) < tol &&
              std::fabs(plane(other, x0, end_y[1], end_z[1])) < tol))
            continue;
        const double step = double(0.1f) * DIVISIONS.ELEMENT_DIAGONAL;
        const bool along_z = std::fabs(dy) < std::fabs(dz);
        const float qy = static_cast<float>(along_z ? end_y[1] + step : end_y[1]);
        const float qz = static_cast<float>(along_z ? end_z[1] : end_z[1] + step);
        const float fm = plane(other, x0, qy, qz), ft = plane(t, x0, qy, qz);
        if ((fm > 0.0f && ft < 0.0f) || (fm < 0.0f && ft > 0.0f))
            return;
    }

    // Marking: 50 walk points along the segment set the lattice points they fall nearest to.
    const Divisions& D = DIVISIONS;
    const bool mostly_z = std::fabs(dz) > std::fabs(dy);
    const double tenth_y = double(D.ELEMENT_WIDTH_Y) / 10.0, tenth_z = double(D.ELEMENT_WIDTH_Z) / 10.0;
    for (int h = 1; h <= 50; ++h) {
        const float ys = static_cast<float>(end_y[0] + (h - 0.5) / 50.0 * dy);
        const float zs = static_cast<float>(end_z[0] + (h - 0.5) / 50.0 * dz);
        const int a = clamp_lattice(nint(10.0 * (double(ys) - A.lo[Y]) / D.ELEMENT_WIDTH_Y));
        const int b = clamp_lattice(nint(10.0 * (double(zs) - A.lo[Z]) / D.ELEMENT_WIDTH_Z));
        const bool inside = std::fabs(dz) <= std::fabs(dy) ? in_projection(t, X, Y, A.lo[X], ys)
                                                           : in_projection(t, Z, X, zs, A.lo[X]);
        if (!inside)
            continue;
        if (!(A.state[a][b] == 0 || A.source[a][b] == -1))
            continue;
        const double ya = A.ya[a], zb = A.zb[b];
        const float f = plane(t, x0, ya, zb);
        // The four neighbours: a - 1, a + 1 (across a segment that runs mainly in z), b - 1, b + 1.
        const int na[4] = {a - 1, a + 1, a, a};
        const int nb[4] = {b, b, b - 1, b + 1};
        const double ny4[4] = {ya - tenth_y, ya + tenth_y, ya, ya};
        const double nz4[4] = {zb, zb, zb - tenth_z, zb + tenth_z};
        if (f < 0.0f) {
            A.state[a][b] = -1;
            A.source[a][b] = 1;
            for (int k = 0; k < 4; ++k) {
                if (!in_lattice(na[k], nb[k]))
                    continue;
                if (plane(t, x0, ny4[k], nz4[k]) > 0.0f && A.state[na[k]][nb[k]] == 0) {
                    A.state[na[k]][nb[k]] = 1;
                    A.source[na[k]][nb[k]] = -1;
                }
            }
        } else {
            A.state[a][b] = 1;
            A.source[a][b] = 1;
            for (int k = 0; k < 4; ++k) {
                if (!in_lattice(na[k], nb[k]))
                    continue;
                if (!(plane(t, x0, ny4[k], nz4[k]) < 0.0f))
                    continue;
                const bool across = mostly_z ? k < 2 : k >= 2;
                if (across || A.state[na[k]][nb[k]] == 0) {
                    A.state[na[k]][nb[k]] = -1;
                    A.source[na[k]][nb[k]] = -1;
                }
            }
        }
    }
}

// ---- clean-up of contradictions

void clean_up(Analysis& A)
{
    static constexpr int TOWARD[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (int a = 0; a <= LATTICE; ++a)
        for (int b = 0; b <= LATTICE; ++b) {
            if (A.source[a][b] != 1)
                continue;
            for (const auto& o : TOWARD) {
                const int da = a + o[0], db = b + o[1];
                if (!in_lattice(da, db))
                    continue;
                for (int v : {1, -1}) {
                    if (A.state[a][b] != v || A.state[da][db] != v)
                        continue;
                    if (A.state[da][b] != -v || A.state[a][db] != -v)
                        continue;
                    if (A.source[da][b] == -1)
                        A.state[da][b] = 0;
                    if (A.source[a][db] == -1)
                        A.state[a][db] = 0;
                }
            }
        }
    for (int a = 1; a <= LATTICE - 1; ++a)
        for (int b = 1; b <= LATTICE - 1; ++b) {
            if (A.state[a][b] != 1 || A.source[a][b] != -1)
                continue;
            bool flow_beside = false;
            for (int i = -1; i <= 1; ++i)
                for (int j = -1; j <= 1; ++j)
                    if ((i != 0 || j != 0) && A.state[a + i][b + j] == 1)
                        flow_beside = true;
            if (!flow_beside)
                A.state[a][b] = 0;
        }
}

// ---- steps 5 and 6: face flags of the lattice, and the flood of unassigned points

void lattice_face_flags(const Analysis& A)
{
    for (int a = 0; a <= LATTICE; ++a)
        for (int b = 0; b <= LATTICE; ++b) {
            if (A.state[a][b] != -1)
                continue;
            flag(A, 1);
            if (a == 0)
                flag(A, 3);
            if (a == LATTICE)
                flag(A, 4);
            if (b == 0)
                flag(A, 5);
            if (b == LATTICE)
                flag(A, 6);
        }
}

void flood_lattice(Analysis& A)
{
    bool changed = true;
    while (changed) {
        changed = false;
        for (int a = 0; a <= LATTICE; ++a)
            for (int b = 0; b <= LATTICE; ++b) {
                if (A.state[a][b] != 0)
                    continue;
                int taken = 0;
                const int na[4] = {a - 1, a + 1, a, a};
                const int nb[4] = {b, b, b - 1, b + 1};
                for (int k = 0; k < 4; ++k)
                    if (in_lattice(na[k], nb[k]) && A.state[na[k]][nb[k]] != 0)
                        taken = A.state[na[k]][nb[k]];
                if (taken != 0) {
                    A.state[a][b] = taken;
                    changed = true;
                }
            }
    }
}

// ---- the x-lines

bool negative(int entry)
{
    return entry < 0;
}
bool positive(int entry)
{
    return entry > 0;
}

// Appends a crossing and merges it with its neighbours in the list (rules 1 to 8).
void append_crossing(int& q, int index, int signed_triangle)
{
    auto& K = CROSS_INDEX;
    auto& T = CROSS_TRIANGLE;
    ++q;
    K[q] = index;
    T[q] = signed_triangle;
    if (q >= 2 && std::abs(K[q] - K[q - 1]) < 2) {
        if (q >= 2 && negative(T[q]) && negative(T[q - 1]))
            q -= 1;
        if (q >= 2 && positive(T[q]) && positive(T[q - 1]))
            q -= 1;
        if (q >= 2 && negative(T[q]) && positive(T[q - 1]))
            q -= 2;
        if (q >= 2 && positive(T[q]) && negative(T[q - 1]))
            q -= 2;
    }
    if (q == 3 && std::abs(K[3] - K[1]) < 2) {
        if (q > 2 && negative(T[3]) && negative(T[1]))
            q = 2;
        if (q > 2 && positive(T[3]) && positive(T[1]))
            q = 2;
        if (q > 2 && negative(T[3]) && positive(T[1])) {
            q = 1;
            K[1] = K[2];
            T[1] = T[2];
        }
        if (q > 2 && positive(T[3]) && negative(T[1])) {
            q = 1;
            K[1] = K[2];
            T[1] = T[2];
        }
    }
}

void x_line(Analysis& A, int a, int b, float tol)
{
    const Divisions& D = DIVISIONS;
    int w = 4;
    if (a == 0 || a == LATTICE)
        w /= 2;
    if (b == 0 || b == LATTICE)
        w /= 2;
    const float y = A.ya[a], z = A.zb[b];

    // Crossings of the line with the triangles' planes, strictly inside the element.
    int q = 0;
    for (int m = 1; m <= A.triangle_count; ++m) {
        const int t = triangle_of(A, m);
        const float nx = normal(t, X);
        if (!(std::fabs(nx) > 1.0e-6f))
            continue;
        const float xc = static_cast<float>(
            -(double(normal(t, Y)) * y + double(normal(t, Z)) * z + SURFACE.TRIANGLE_GEOMETRY(4, t)) / nx);
        if (!(double(xc) > double(A.lo[X]) + tol && double(xc) < double(A.hi[X]) - tol))
            continue;
        if (!in_projection(t, Y, Z, y, z))
            continue;
        const int index = nint(10.0 * (double(xc) - A.lo[X]) / D.ELEMENT_WIDTH_X);
        append_crossing(q, index, plane(t, A.lo[X], y, z) >= 0.0f ? t : -t);
    }
    auto& K = CROSS_INDEX;
    auto& T = CROSS_TRIANGLE;
    if (q > 2)
        q = 2;
    if (q == 2 && K[2] < K[1]) {
        std::swap(K[1], K[2]);
        std::swap(T[1], T[2]);
    }

    auto position_faces = [&] {
        if (a == 0)
            flag(A, 3);
        if (a == LATTICE)
            flag(A, 4);
        if (b == 0)
            flag(A, 5);
        if (b == LATTICE)
            flag(A, 6);
    };
    const int state = A.state[a][b];
    if (q > 0)
        position_faces();
    if (state == -1) {
        flag(A, 1);
        position_faces();
    }

    if (q == 0) {
        if (state == 0) {
            A.unassigned_set = true;
            A.unassigned += 10 * w;
        } else if (state == 1) {
            A.in_flow += 10 * w;
        } else if (A.source[a][b] != 1) {
            flag(A, 2);
            position_faces();
        }
        return;
    }
    const int k1 = K[1];
    const bool starts_in_body = negative(T[1]);
    if (q == 1 && starts_in_body) {
        A.in_flow += (10 - k1) * w;
        A.last = -1;
        flag(A, 1);
        position_faces();
        if (A.unassigned_set) {
            A.unassigned = 0;
            A.unassigned_set = false;
            flag(A, 3);
            if (a == LATTICE && b > 0)
                flag(A, 5);
        }
    } else if (q == 1) {
        A.in_flow += k1 * w;
        A.last = 1;
        if (A.source[a][b] != 1)
            flag(A, 2);
        position_faces();
    } else if (starts_in_body) {
        A.in_flow += (K[2] - k1) * w;
        A.last = -1;
        flag(A, 2);
        position_faces();
    } else {
        A.in_flow += (k1 + 10 - K[2]) * w;
        A.last = 1;
        flag(A, 1);
        position_faces();
    }
}

// ---- last resort: an element that no line could assign

int centre_side(const Analysis& A)
{
    const double cx = (double(A.lo[X]) + A.hi[X]) / 2.0;
    const double cy = (double(A.lo[Y]) + A.hi[Y]) / 2.0;
    const double cz = (double(A.lo[Z]) + A.hi[Z]) / 2.0;
    int side = 0;
    for (int m = 1; m <= A.triangle_count; ++m) {
        if (plane(triangle_of(A, m), cx, cy, cz) >= 0.0f)
            return 1;
        side = -1;
    }
    return side;
}

}  // namespace

void ANALYSE_SURFACE_ELEMENT()
{
    Divisions& D = DIVISIONS;
    const auto& B = BOX;
    D.SUB_ELEMENTS = 1000;
    D.SUB_ELEMENT_FRACTION = 0.001f;
    const float tol = D.GEOMETRY_TOLERANCE;
    const int I = D.CURRENT_DIVISION_X, J = D.CURRENT_DIVISION_Y, K = D.CURRENT_DIVISION_Z;
    const int i = D.CURRENT_ELEMENT_X, j = D.CURRENT_ELEMENT_Y, k = D.CURRENT_ELEMENT_Z;

    Analysis A{};
    // Element limits; the first element of the first x division starts a fifth of the tolerance inside
    // the box.
    A.lo[X] = static_cast<float>(double(B.XMIN) + double(I - 1) * D.DIVISION_WIDTH_X +
                                 double(i - 1) * D.ELEMENT_WIDTH_X);
    if (I == 1 && i == 1)
        A.lo[X] = static_cast<float>(double(B.XMIN) + double(tol) / 5.0);
    A.lo[Y] = static_cast<float>(double(B.YMIN) + double(J - 1) * D.DIVISION_WIDTH_Y +
                                 double(j - 1) * D.ELEMENT_WIDTH_Y);
    A.lo[Z] = static_cast<float>(double(B.ZMIN) + double(K - 1) * D.DIVISION_WIDTH_Z +
                                 double(k - 1) * D.ELEMENT_WIDTH_Z);
    A.hi[X] = static_cast<float>(double(A.lo[X]) + D.ELEMENT_WIDTH_X);
    A.hi[Y] = static_cast<float>(double(A.lo[Y]) + D.ELEMENT_WIDTH_Y);
    A.hi[Z] = static_cast<float>(double(A.lo[Z]) + D.ELEMENT_WIDTH_Z);
    for (int a = 0; a <= LATTICE; ++a) {
        A.ya[a] = static_cast<float>(double(A.lo[Y]) + a * double(D.ELEMENT_WIDTH_Y) / 10.0);
        A.zb[a] = static_cast<float>(double(A.lo[Z]) + a * double(D.ELEMENT_WIDTH_Z) / 10.0);
    }
    A.ya[0] = static_cast<float>(double(A.ya[0]) + tol);
    A.zb[0] = static_cast<float>(double(A.zb[0]) + tol);
    A.ya[LATTICE] = static_cast<float>(double(A.ya[LATTICE]) - tol);
    A.zb[LATTICE] = static_cast<float>(double(A.zb[LATTICE]) - tol);

    const int s = -D.DIVISION_INFO(DIVISION_CODE, K, J, I);
    A.e = D.SURFACE_ELEMENT_NUMBER(K, J, I, k, j, i);
    A.triangle_count = indsurf(A.e, 0);
    if (CROSS_INDEX.size() < static_cast<std::size_t>(A.triangle_count) + 2) {
        CROSS_INDEX.resize(static_cast<std::size_t>(A.triangle_count) + 2);
        CROSS_TRIANGLE.resize(static_cast<std::size_t>(A.triangle_count) + 2);
    }

    // 2. Edge and face contacts.
    for (int m = 1; m <= A.triangle_count; ++m) {
        edge_contacts(A, triangle_of(A, m), tol);
        face_contacts(A, triangle_of(A, m), tol);
    }
    // 3. Traces on face 1.
    for (int m = 1; m <= A.triangle_count; ++m)
        trace_on_face_one(A, triangle_of(A, m), tol);
    // 4-6. Clean-up, face flags of the lattice, flood.
    if (A.triangle_count > 1)
        clean_up(A);
    lattice_face_flags(A);
    flood_lattice(A);

    // 7. The x-lines.
    for (int a = 0; a <= LATTICE; ++a)
        for (int b = 0; b <= LATTICE; ++b)
            x_line(A, a, b, tol);

    const int whole = 4 * D.SUB_ELEMENTS;
    // 8. Unassigned lines next to assigned ones follow the last line with crossings.
    if (A.unassigned_set && A.unassigned < whole) {
        if (A.last == -1) {
            flag(A, 4);
            flag(A, 5);
            flag(A, 6);
        } else if (A.last == 1) {
            A.in_flow += A.unassigned;
        }
    }
    // 9. No line assigned: the element is wholly in the flow or wholly in a body.
    if (A.unassigned_set && A.unassigned == whole) {
        int side = A.inno;
        if (side == 0) {
            const int code = D.ELEMENT_CODE(K, J, I, k, j, i);
            side = code == 1 ? 1 : (code == -1 ? -1 : centre_side(A));
        }
        if (side == 1) {
            A.in_flow = whole;
        } else if (side == -1) {
            A.in_flow = 0;
            flag_all_but(A, 0);
        }
    }
    // 10. The result, in thousandths of the element.
    const int count = A.in_flow / 4;
    D.SUB_ELEMENTS_IN_FLOW(s, k, j, i) = count;
    if (count < 2)
        flag_all_but(A, 0);
}
