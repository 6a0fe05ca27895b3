// Fixture of the 3-D view tests: surfaces made of given triangles in the box 0..10 on every axis.
#ifndef QR4T_TESTS_DISPLAYS_SURFACE_FIXTURE_H
#define QR4T_TESTS_DISPLAYS_SURFACE_FIXTURE_H

#include "app/state/box.h"
#include "app/state/surface.h"

#include <array>
#include <vector>

using Corner = std::array<float, 3>;
using Triangle = std::array<Corner, 3>;

// One surface per entry, of its triangles in order (corners counter-clockwise seen from outside), each
// with points of its own; every triangle is solid (solid triangle k = triangle k) with the colour index.
inline void make_surfaces_of(const std::vector<std::vector<Triangle>>& surfaces, int colour)
{
    BOX = BoxState{};
    BOX.XMAX = BOX.YMAX = BOX.ZMAX = 10.0f;
    BOX.BOUNDARY_CODE.allocate(6);
    SurfaceState& S = SURFACE;
    S = SurfaceState{};
    int n = 0;
    for (const auto& s : surfaces)
        n += static_cast<int>(s.size());
    S.SURFACE_COUNT = static_cast<int>(surfaces.size());
    S.TRIANGLE_COUNT = S.SOLID_TRIANGLE_COUNT = n;
    S.POINT_COUNT = 3 * n;
    S.SURFACE_TRIANGLE_COUNT.allocate(S.SURFACE_COUNT);
    S.SURFACE_FIRST_TRIANGLE.allocate(S.SURFACE_COUNT);
    S.TRIANGLE.allocate(6, n);
    S.SOLID_TRIANGLE.allocate(2, n);
    S.POINT_X.allocate(3 * n);
    S.POINT_Y.allocate(3 * n);
    S.POINT_Z.allocate(3 * n);
    int t = 0;
    for (int k = 1; k <= S.SURFACE_COUNT; ++k) {
        S.SURFACE_FIRST_TRIANGLE(k) = t;
        S.SURFACE_TRIANGLE_COUNT(k) = static_cast<int>(surfaces[k - 1].size());
        for (const Triangle& tri : surfaces[k - 1]) {
            ++t;
            for (int c = 1; c <= 3; ++c) {
                const int p = 3 * (t - 1) + c;
                S.TRIANGLE(c, t) = p;
                S.POINT_X(p) = tri[c - 1][0];
                S.POINT_Y(p) = tri[c - 1][1];
                S.POINT_Z(p) = tri[c - 1][2];
            }
            S.TRIANGLE(TRIANGLE_KIND, t) = t;
            S.SOLID_TRIANGLE(1, t) = t;
            S.SOLID_TRIANGLE(2, t) = colour;
        }
    }
}

#endif
