// A check of the cells that the geometry set-up forms, shared by the geometry and demonstration tests:
// every element in the flow belongs to a cell, and the cells hold the flow volume, both found from the
// triangles alone (the parity of ray crossings, the divergence theorem), independently of the set-up.
#ifndef QR4T_TESTS_GEOMETRY_FLOW_COVER_H
#define QR4T_TESTS_GEOMETRY_FLOW_COVER_H

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/divisions.h"
#include "app/state/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// A triangle's corners (scaled), read from the surface tables.
struct Corners {
    double p[3][3];
};

inline Corners corners(int t)
{
    Corners c{};
    for (int k = 0; k < 3; ++k) {
        const int q = SURFACE.TRIANGLE(k + 1, t);
        c.p[k][0] = SURFACE.POINT_X(q);
        c.p[k][1] = SURFACE.POINT_Y(q);
        c.p[k][2] = SURFACE.POINT_Z(q);
    }
    return c;
}

// Direction of the parity rays: every component positive, so that a ray never leaves the box through a
// low side, where the demonstration surfaces are open (planes of symmetry, the tube's vacuum end), and
// the surface closed there by its mirror image is crossed an odd number of times from inside it.
inline constexpr double PARITY_RAY[3] = {0.5123, 0.6291, 0.5843};

// Whether the ray from p along PARITY_RAY meets triangle c (Moller-Trumbore, in 8-byte reals).
inline bool ray_meets(const double p[3], const Corners& c)
{
    double e1[3], e2[3], s[3];
    for (int a = 0; a < 3; ++a) {
        e1[a] = c.p[1][a] - c.p[0][a];
        e2[a] = c.p[2][a] - c.p[0][a];
        s[a] = p[a] - c.p[0][a];
    }
    const double* r = PARITY_RAY;
    const double h[3] = {r[1] * e2[2] - r[2] * e2[1], r[2] * e2[0] - r[0] * e2[2],
                         r[0] * e2[1] - r[1] * e2[0]};
    const double det = e1[0] * h[0] + e1[1] * h[1] + e1[2] * h[2];
    if (std::fabs(det) < 1e-300)
        return false;
    const double u = (s[0] * h[0] + s[1] * h[1] + s[2] * h[2]) / det;
    if (u < 0.0 || u > 1.0)
        return false;
    const double q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2],
                         s[0] * e1[1] - s[1] * e1[0]};
    const double v = (r[0] * q[0] + r[1] * q[1] + r[2] * q[2]) / det;
    if (v < 0.0 || u + v > 1.0)
        return false;
    return (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) / det > 0.0;
}

// Whether point p (scaled) lies in the flow, by the parity of the surface crossings of a ray: an odd
// count puts it inside the closed surface, which is the flow only for an enclosure.
inline bool in_flow_by_parity(const double p[3], const std::vector<Corners>& triangles, bool flow_inside)
{
    int crossings = 0;
    for (const Corners& c : triangles)
        if (ray_meets(p, c))
            ++crossings;
    return (crossings % 2 == 1) == flow_inside;
}

// After SET_UP_CELLS: every element whose centre lies in the flow belongs to a cell, and the cells hold
// the flow volume of the box less the bodies (or the flow that an enclosure holds, `flow_inside`).
// Fault: an uncut element of a surface division that the surface cut off from the division's other
// elements near one of its corners got no cell, and molecules that reached it were lost.
inline void expect_cells_cover_the_flow(bool flow_inside)
{
    const auto& B = BOX;
    const auto& D = DIVISIONS;
    std::vector<Corners> triangles;
    for (int t = 1; t <= SURFACE.TRIANGLE_COUNT; ++t)
        triangles.push_back(corners(t));

    // The element centres: every element of a surface division, and the centre of every other division,
    // whose elements no triangle meets, so that they share its side.
    const int ne[3] = {B.ELEMENTS_PER_DIVISION_X, B.ELEMENTS_PER_DIVISION_Y, B.ELEMENTS_PER_DIVISION_Z};
    int open_without_cell = 0, checked = 0;
    for (int iz = 1; iz <= B.DIVISIONS_Z; ++iz)
        for (int iy = 1; iy <= B.DIVISIONS_Y; ++iy)
            for (int ix = 1; ix <= B.DIVISIONS_X; ++ix) {
                const bool surface = D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix) < 0;
                const double low[3] = {B.XMIN + (ix - 1) * double(D.DIVISION_WIDTH_X),
                                       B.YMIN + (iy - 1) * double(D.DIVISION_WIDTH_Y),
                                       B.ZMIN + (iz - 1) * double(D.DIVISION_WIDTH_Z)};
                const double width[3] = {D.ELEMENT_WIDTH_X, D.ELEMENT_WIDTH_Y, D.ELEMENT_WIDTH_Z};
                bool open = false;
                for (int ez = 1; ez <= ne[2]; ++ez)
                    for (int ey = 1; ey <= ne[1]; ++ey)
                        for (int ex = 1; ex <= ne[0]; ++ex) {
                            const int e[3] = {ex, ey, ez};
                            double p[3];
                            for (int a = 0; a < 3; ++a)
                                p[a] = surface ? low[a] + (e[a] - 0.5) * width[a]
                                               : low[a] + 0.5 * ne[a] * width[a];
                            const bool first = ex == 1 && ey == 1 && ez == 1;
                            if (surface || first) {
                                open = in_flow_by_parity(p, triangles, flow_inside);
                                ++checked;
                            }
                            if (open && D.ELEMENT_CELL(iz, iy, ix, ez, ey, ex) < 1) {
                                ++open_without_cell;
                                ADD_FAILURE()
                                    << "open element without cell: division " << ix << " " << iy << " " << iz
                                    << " (code " << D.DIVISION_INFO(DIVISION_CODE, iz, iy, ix)
                                    << "), element " << ex << " " << ey << " " << ez << ", centre "
                                    << p[0] / B.SCALE_FACTOR << " " << p[1] / B.SCALE_FACTOR << " "
                                    << p[2] / B.SCALE_FACTOR;
                            }
                        }
            }
    EXPECT_EQ(open_without_cell, 0);
    EXPECT_GT(checked, 0);

    // The volume enclosed by the surface and the box sides where it is open, from the flux of the field
    // (0, 0, z - ZMIN) through the triangles (the demonstration surfaces are open on z = ZMIN and on
    // sides parallel to z, which add no flux). The normals point into the flow: the flux is the volume
    // of a body, and minus the volume of the flow that an enclosure holds.
    double flux = 0.0;
    for (const Corners& t : triangles) {
        double e1[3], e2[3];
        for (int a = 0; a < 3; ++a) {
            e1[a] = t.p[1][a] - t.p[0][a];
            e2[a] = t.p[2][a] - t.p[0][a];
        }
        const double nz2 = e1[0] * e2[1] - e1[1] * e2[0];  // twice the area times the normal's z
        flux += 0.5 * nz2 * ((t.p[0][2] + t.p[1][2] + t.p[2][2]) / 3.0 - B.ZMIN);
    }
    const double box = double(D.BOX_EXTENT_X) * D.BOX_EXTENT_Y * D.BOX_EXTENT_Z;
    const double expected = flow_inside ? -flux : box - flux;
    double cells = 0.0;
    for (int n = 1; n <= CELLS.CELL_COUNT; ++n)
        cells += CELLS.CELL_DATA(CELL_VOLUME, n);
    // The cut elements' flow volumes are measured along lattice lines in tenths of the element's
    // width: each is uncertain by half a tenth of the element volume.
    const double element = double(D.ELEMENT_WIDTH_X) * D.ELEMENT_WIDTH_Y * D.ELEMENT_WIDTH_Z;
    EXPECT_NEAR(cells, expected, 0.05 * element * D.SURFACE_ELEMENT_COUNT)
        << "the cells' flow volume against the box less the bodies (scaled units)";
}

#endif
