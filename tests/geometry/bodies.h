// Bodies and boxes of the geometry tests and benchmarks, built in the program: blocks and spheres as
// triangulated surfaces, the box and the surface data as the readers leave them.
#ifndef QR4T_TESTS_GEOMETRY_BODIES_H
#define QR4T_TESTS_GEOMETRY_BODIES_H

#include "app/state/box.h"
#include "app/state/surface.h"

#include <array>
#include <cmath>
#include <vector>

using Point3 = std::array<float, 3>;

// One surface: its points (local numbers from 1) and triangles (local corner numbers).
struct Body {
    std::vector<Point3> points;
    std::vector<std::array<int, 3>> triangles;
};

// A rectangular block x0..x1, y0..y1, z0..z1 as 12 triangles with normals pointing out of it (into the
// flow), two per face, the faces (1..6 as the box sides) listed in `order`. `skip_face` leaves one face
// open.
inline Body block(float x0, float x1, float y0, float y1, float z0, float z1, int skip_face = 0,
                  std::array<int, 6> order = {1, 2, 3, 4, 5, 6})
{
    Body b;
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                b.points.push_back({i ? x1 : x0, j ? y1 : y0, k ? z1 : z0});
    auto p = [](int i, int j, int k) { return 1 + i + 2 * j + 4 * k; };
    // Each face as a quad, counter-clockwise seen from outside.
    const std::array<int, 4> faces[6] = {
        {p(0, 0, 0), p(0, 0, 1), p(0, 1, 1), p(0, 1, 0)},  // low x
        {p(1, 0, 0), p(1, 1, 0), p(1, 1, 1), p(1, 0, 1)},  // high x
        {p(0, 0, 0), p(1, 0, 0), p(1, 0, 1), p(0, 0, 1)},  // low y
        {p(0, 1, 0), p(0, 1, 1), p(1, 1, 1), p(1, 1, 0)},  // high y
        {p(0, 0, 0), p(0, 1, 0), p(1, 1, 0), p(1, 0, 0)},  // low z
        {p(0, 0, 1), p(1, 0, 1), p(1, 1, 1), p(0, 1, 1)},  // high z
    };
    for (int face : order) {
        const int f = face - 1;
        if (face == skip_face)
            continue;
        b.triangles.push_back({faces[f][0], faces[f][1], faces[f][2]});
        b.triangles.push_back({faces[f][0], faces[f][2], faces[f][3]});
    }
    return b;
}

// A UV sphere of `rings` latitude bands and `sectors` longitude sectors, normals outwards:
// 2 sectors (rings - 1) triangles.
inline Body sphere(Point3 centre, float radius, int rings, int sectors)
{
    Body b;
    const double pi = 3.14159265358979323846;
    b.points.push_back({centre[0], centre[1], centre[2] - radius});  // south pole: 1
    for (int r = 1; r < rings; ++r) {
        double theta = pi * r / rings - pi / 2;
        for (int s = 0; s < sectors; ++s) {
            double phi = 2 * pi * s / sectors;
            b.points.push_back({static_cast<float>(centre[0] + radius * std::cos(theta) * std::cos(phi)),
                                static_cast<float>(centre[1] + radius * std::cos(theta) * std::sin(phi)),
                                static_cast<float>(centre[2] + radius * std::sin(theta))});
        }
    }
    b.points.push_back({centre[0], centre[1], centre[2] + radius});  // north pole
    const int north = static_cast<int>(b.points.size());
    auto ring_point = [&](int r, int s) { return 2 + (r - 1) * sectors + (s % sectors); };
    for (int s = 0; s < sectors; ++s) {
        b.triangles.push_back({1, ring_point(1, s + 1), ring_point(1, s)});
        for (int r = 1; r < rings - 1; ++r) {
            b.triangles.push_back({ring_point(r, s), ring_point(r, s + 1), ring_point(r + 1, s + 1)});
            b.triangles.push_back({ring_point(r, s), ring_point(r + 1, s + 1), ring_point(r + 1, s)});
        }
        b.triangles.push_back({north, ring_point(rings - 1, s), ring_point(rings - 1, s + 1)});
    }
    return b;
}

// Sets the box (limits, divisions and elements per division, the same on every axis).
inline void set_box(float lo, float hi, int divisions, int elements)
{
    BOX = BoxState{};
    BOX.XMIN = BOX.YMIN = BOX.ZMIN = lo;
    BOX.XMAX = BOX.YMAX = BOX.ZMAX = hi;
    BOX.DIVISIONS_X = BOX.DIVISIONS_Y = BOX.DIVISIONS_Z = divisions;
    BOX.ELEMENTS_PER_DIVISION_X = BOX.ELEMENTS_PER_DIVISION_Y = BOX.ELEMENTS_PER_DIVISION_Z = elements;
}

// Fills SURFACE with the bodies as surfaces 1, 2, ..., every triangle solid, as the surface-data reader
// leaves them.
inline void set_surfaces(const std::vector<Body>& bodies)
{
    SurfaceState& S = SURFACE;
    S = SurfaceState{};
    S.SURFACE_COUNT = static_cast<int>(bodies.size());
    for (const Body& b : bodies) {
        S.POINT_COUNT += static_cast<int>(b.points.size());
        S.TRIANGLE_COUNT += static_cast<int>(b.triangles.size());
    }
    S.SOLID_TRIANGLE_COUNT = S.TRIANGLE_COUNT;
    S.SURFACE_TRIANGLE_COUNT.allocate(S.SURFACE_COUNT);
    S.SURFACE_FIRST_TRIANGLE.allocate(S.SURFACE_COUNT);
    S.SURFACE_FIRST_POINT.allocate(S.SURFACE_COUNT);
    S.SURFACE_CLOSED.allocate(S.SURFACE_COUNT);
    S.POINT_X.allocate(S.POINT_COUNT);
    S.POINT_Y.allocate(S.POINT_COUNT);
    S.POINT_Z.allocate(S.POINT_COUNT);
    S.POINT_TRIANGLE_COUNT.allocate(S.POINT_COUNT);
    S.TRIANGLE.allocate(6, S.TRIANGLE_COUNT);
    S.TRIANGLE_GEOMETRY.allocate(5, S.TRIANGLE_COUNT);
    S.SOLID_TRIANGLE.allocate(2, S.TRIANGLE_COUNT);
    int p0 = 0, t0 = 0;
    for (int s = 1; s <= S.SURFACE_COUNT; ++s) {
        const Body& b = bodies[s - 1];
        S.SURFACE_FIRST_POINT(s) = p0;
        S.SURFACE_FIRST_TRIANGLE(s) = t0;
        S.SURFACE_TRIANGLE_COUNT(s) = static_cast<int>(b.triangles.size());
        for (std::size_t i = 0; i < b.points.size(); ++i) {
            S.POINT_X(p0 + 1 + static_cast<int>(i)) = b.points[i][0];
            S.POINT_Y(p0 + 1 + static_cast<int>(i)) = b.points[i][1];
            S.POINT_Z(p0 + 1 + static_cast<int>(i)) = b.points[i][2];
        }
        for (std::size_t i = 0; i < b.triangles.size(); ++i) {
            const int t = t0 + 1 + static_cast<int>(i);
            for (int c = 0; c < 3; ++c)
                S.TRIANGLE(c + 1, t) = p0 + b.triangles[i][c];
            S.TRIANGLE(TRIANGLE_KIND, t) = t;
            S.SOLID_TRIANGLE(1, t) = t;
        }
        p0 += static_cast<int>(b.points.size());
        t0 += static_cast<int>(b.triangles.size());
    }
}

#endif
