// The "Triangle Connectivity" stage: the plane, area and projection axis of every surface triangle, the
// triangle across each of its sides (or the box face the side lies on), the closure of each surface, the
// triangles at each point, and the first capacities of the marking stage's triangle lists.
#include "app/geometry/setup.h"

#include "app/state/box.h"
#include "app/state/divisions.h"
#include "app/state/surface.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// One side of a triangle, keyed by its unordered pair of point numbers.
struct SideEntry {
    uint64_t key;
    int triangle;
};

uint64_t side_key(int a, int b)
{
    uint64_t lo = static_cast<uint32_t>(std::min(a, b));
    uint64_t hi = static_cast<uint32_t>(std::max(a, b));
    return (hi << 32) | lo;
}

std::string triangle_name(int s, int t)
{
    return "QR4SD.DAT: surface " + std::to_string(s) + ", triangle " + std::to_string(t);
}

// Refuses a triangle whose corners are not points of the data or lie outside the flowfield box: every
// later stage indexes the points and locates the corners in the lattice. A corner beyond a face by less
// than the geometric tolerance counts as on it, as in the box-face test of the sides: data rounded at a
// plane of symmetry are taken.
void check_corners(int s, int t)
{
    const auto& S = SURFACE;
    const auto& B = BOX;
    const double tol = DIVISIONS.GEOMETRY_TOLERANCE;
    const auto within = [tol](float c, float low, float high) {
        return double(c) - low > -tol && double(c) - high < tol;
    };
    for (int c = 1; c <= 3; ++c) {
        int p = S.TRIANGLE(c, t);
        if (p < 1 || p > S.POINT_COUNT)
            fatal_stop(triangle_name(s, t) + ": corner " + std::to_string(c) + " is point " +
                       std::to_string(p) + ", not one of the points 1 to " + std::to_string(S.POINT_COUNT));
        float x = S.POINT_X(p), y = S.POINT_Y(p), z = S.POINT_Z(p);
        if (!(within(x, B.XMIN, B.XMAX) && within(y, B.YMIN, B.YMAX) && within(z, B.ZMIN, B.ZMAX)))
            fatal_stop(triangle_name(s, t) + ": corner point " + std::to_string(p) + " at (" +
                       std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z) +
                       ") lies outside the flowfield box");
    }
}

// Unit normal of (P2 - P1) x (P3 - P1), plane constant, area and projection axis of triangle t.
void set_triangle_geometry(int s, int t)
{
    auto& S = SURFACE;
    auto& G = S.TRIANGLE_GEOMETRY;
    const int p1 = S.TRIANGLE(1, t), p2 = S.TRIANGLE(2, t), p3 = S.TRIANGLE(3, t);
    const double x1 = S.POINT_X(p1), y1 = S.POINT_Y(p1), z1 = S.POINT_Z(p1);
    const double x2 = S.POINT_X(p2), y2 = S.POINT_Y(p2), z2 = S.POINT_Z(p2);
    const double x3 = S.POINT_X(p3), y3 = S.POINT_Y(p3), z3 = S.POINT_Z(p3);

    const float nx = static_cast<float>((y2 - y1) * (z3 - z1) - (z2 - z1) * (y3 - y1));
    const float ny = static_cast<float>((z2 - z1) * (x3 - x1) - (x2 - x1) * (z3 - z1));
    const float nz = static_cast<float>((x2 - x1) * (y3 - y1) - (y2 - y1) * (x3 - x1));
    const float d = static_cast<float>(-(x1 * nx + y1 * ny + z1 * nz));
    const float length = static_cast<float>(std::sqrt(double(nx) * nx + double(ny) * ny + double(nz) * nz));
    // A triangle with collinear corners has no normal: every later test would read NaN.
    if (!(length > 0.0f) || !std::isfinite(length))
        fatal_stop(triangle_name(s, t) + " has zero area: its corners " + std::to_string(p1) + ", " +
                   std::to_string(p2) + ", " + std::to_string(p3) + " are collinear");
    G(1, t) = static_cast<float>(double(nx) / length);
    G(2, t) = static_cast<float>(double(ny) / length);
    G(3, t) = static_cast<float>(double(nz) / length);
    G(4, t) = static_cast<float>(double(d) / length);

    const float sx = static_cast<float>(y1 * (z2 - z3) + y2 * (z3 - z1) + y3 * (z1 - z2));
    const float sy = static_cast<float>(z1 * (x2 - x3) + z2 * (x3 - x1) + z3 * (x1 - x2));
    const float sz = static_cast<float>(x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2));
    G(5, t) =
        static_cast<float>(double(0.5f) * std::sqrt(double(sx) * sx + double(sy) * sy + double(sz) * sz));

    // Projection axis: |nz| is compared with |nx| alone.
    const float ax = std::fabs(G(1, t)), ay = std::fabs(G(2, t)), az = std::fabs(G(3, t));
    S.TRIANGLE(TRIANGLE_PLANE, t) = az > ax ? 3 : (ay > ax ? 2 : 1);
}

// Stops the set-up after a connectivity failure: the program's own log line goes to the log, then the
// message naming the surface and triangle.
[[noreturn]] void connectivity_stop(std::initializer_list<ListItem> line, int s, int t, int k,
                                    const char* what)
{
    write_list(UNIT_DIAG, line);
    fatal_stop(triangle_name(s, t) + ", side " + std::to_string(k) + ": " + what);
}

// The box-face test of a side without partner: both end points strictly within GEOMETRY_TOLERANCE of a
// face. All six faces are tested, in order.
void box_face_test(int s, int t, int k, int a, int b)
{
    const auto& S = SURFACE;
    const auto& B = BOX;
    const double tol = DIVISIONS.GEOMETRY_TOLERANCE;
    int& entry = DIVISIONS.TRIANGLE_NEIGHBOURS(t, k);
    auto on = [tol](float ca, float cb, float limit) {
        return std::fabs(double(ca) - limit) < tol && std::fabs(double(cb) - limit) < tol;
    };
    const float xa = S.POINT_X(a), xb = S.POINT_X(b);
    const float ya = S.POINT_Y(a), yb = S.POINT_Y(b);
    const float za = S.POINT_Z(a), zb = S.POINT_Z(b);
    if (on(xa, xb, B.XMIN))
        entry = -1;
    if (on(xa, xb, B.XMAX)) {
        if (entry != 0)
            connectivity_stop({"Side", k, " of triangle", t, " more than one connectivity"}, s, t, k,
                              "the side lies on both x faces of the box");
        entry = -2;
    }
    const struct {
        float ca, cb, limit;
        int code;
    } later[4] = {{ya, yb, B.YMIN, -3}, {ya, yb, B.YMAX, -4}, {za, zb, B.ZMIN, -5}, {za, zb, B.ZMAX, -6}};
    for (const auto& f : later) {
        if (!on(f.ca, f.cb, f.limit))
            continue;
        if (entry != 0)
            write_list(UNIT_DIAG, {"Side", k, " of triangle", t, " more than one connectivity"});
        else
            entry = f.code;
    }
}

// Triangles, side matching and closure of surface s.
void connect_surface(int s)
{
    auto& S = SURFACE;
    auto& N = DIVISIONS.TRIANGLE_NEIGHBOURS;
    const int first = S.SURFACE_FIRST_TRIANGLE(s) + 1;
    const int last = S.SURFACE_FIRST_TRIANGLE(s) + S.SURFACE_TRIANGLE_COUNT(s);

    // The sides of the surface sorted by their point pair (then by triangle): the partners of a side are
    // the entries of its key from other triangles, met in increasing triangle order as a full search
    // over the surface would meet them.
    std::vector<SideEntry> sides;
    sides.reserve(static_cast<std::size_t>(std::max(0, last - first + 1)) * 3);
    for (int u = first; u <= last; ++u) {
        check_corners(s, u);
        for (int m = 1; m <= 3; ++m)
            sides.push_back({side_key(S.TRIANGLE(m, u), S.TRIANGLE(m % 3 + 1, u)), u});
    }
    std::sort(sides.begin(), sides.end(), [](const SideEntry& p, const SideEntry& q) {
        return p.key != q.key ? p.key < q.key : p.triangle < q.triangle;
    });

    for (int t = first; t <= last; ++t) {
        progress_advance(0.1f);
        set_triangle_geometry(s, t);
        for (int k = 1; k <= 3; ++k) {
            const int a = S.TRIANGLE(k, t), b = S.TRIANGLE(k % 3 + 1, t);
            const uint64_t key = side_key(a, b);
            auto it = std::lower_bound(sides.begin(), sides.end(), key,
                                       [](const SideEntry& e, uint64_t v) { return e.key < v; });
            for (; it != sides.end() && it->key == key; ++it) {
                if (it->triangle == t)
                    continue;
                if (N(t, k) != 0)
                    connectivity_stop({"Side", k, " of triangle", t, " connects with more than one triangle"},
                                      s, t, k, "the side is shared by more than two triangles");
                N(t, k) = it->triangle;
            }
            if (N(t, k) == 0)
                box_face_test(s, t, k, a, b);
            if (N(t, k) == 0)
                connectivity_stop(
                    {"Side", k, "of triangle", t, " has no connectivity"}, s, t, k,
                    "no other triangle of the surface shares the side, and it lies on no box face");
        }
    }

    int open_sides = 0;
    for (int t = first; t <= last; ++t)
        for (int k = 1; k <= 3; ++k)
            open_sides += N(t, k) < 0 ? 1 : 0;
    if (open_sides == 0) {
        write_list(UNIT_DIAG, {"Surface ", s, " is a closed surface"});
        S.SURFACE_CLOSED(s) = 1;
    } else {
        write_list(UNIT_DIAG, {"Surface ", s, " is an open surface"});
        S.SURFACE_CLOSED(s) = 0;
    }
}

}  // namespace

void set_triangle_connectivity()
{
    auto& S = SURFACE;
    Divisions& D = DIVISIONS;
    progress_stage("Triangle Connectivity");
    D.TRIANGLE_NEIGHBOURS.fill(0);

    if (S.SURFACE_COUNT > 0)
        for (int s = 1; s <= S.SURFACE_COUNT; ++s)
            connect_surface(s);

    // Triangles per point; the largest count is the first capacity of a surface element's list.
    S.POINT_TRIANGLE_COUNT.fill(0);
    D.MTRI = 0;
    if (S.SURFACE_COUNT > 0) {
        for (int t = 1; t <= S.TRIANGLE_COUNT; ++t)
            for (int c = 1; c <= 3; ++c) {
                int p = S.TRIANGLE(c, t);
                if (p >= 1 && p <= S.POINT_COUNT)
                    ++S.POINT_TRIANGLE_COUNT(p);
            }
        for (int p = 1; p <= S.POINT_COUNT; ++p)
            D.MTRI = std::max(D.MTRI, S.POINT_TRIANGLE_COUNT(p));
    }
    write_list(UNIT_DIAG, {"The maximum number of triangles at any point is", D.MTRI});

    if (S.SURFACE_COUNT > 0) {
        D.MNSEG = D.MTRI;
        D.MAXSEL = D.ELEMENT_COUNT / 50 + 10;
        write_list(UNIT_DIAG, {"MAXSEL initially set to", D.MAXSEL});
    }
}
