// SURFACE: the triangulated surfaces of the bodies in the flowfield.
//
// Written by the surface-data reader (app/casedata) for a new run and by the restart reader
// (app/restart) for a continued one. The geometry fills TRIANGLE_GEOMETRY, POINT_TRIANGLE_COUNT,
// SURFACE_CLOSED and row 6 of TRIANGLE; the kernel's flow initialisation derives rows of
// SOLID_SPECIES_PROPERTIES, ENTRY_PROPERTIES and ENTRY_SPECIES_PROPERTIES in place; the surface display
// sets row 2 of SOLID_TRIANGLE and row 5 of TRIANGLE.
//
// Numbering: points and triangles are numbered across all surfaces in file order (global point
// p = SURFACE_FIRST_POINT(n) + local i, triangle t = SURFACE_FIRST_TRIANGLE(n) + local j). Solid
// triangles k and flow-entry triangles e have numberings of their own; TRIANGLE(4, t) is +k or -e.
#ifndef QR4T_APP_STATE_SURFACE_H
#define QR4T_APP_STATE_SURFACE_H

#include "base/array.h"

// Rows of TRIANGLE.
constexpr int TRIANGLE_KIND = 4;   // +k for the k-th solid triangle, -e for the e-th flow-entry triangle
constexpr int TRIANGLE_MARK = 5;   // 1 once a solid triangle has been dealt with (geometry, display)
constexpr int TRIANGLE_PLANE = 6;  // coordinate plane 1..3 of the point-in-triangle tests

struct SurfaceState {
    int SURFACE_COUNT = 0;         // number of distinct surfaces; 0 = no surfaces
    int POINT_COUNT = 0;           // total number of points
    int TRIANGLE_COUNT = 0;        // total number of triangles, solid and flow-entry
    int SOLID_TRIANGLE_COUNT = 0;  // total number of solid triangles
    int ENTRY_TRIANGLE_COUNT = 0;  // total number of flow-entry triangles

    // ---- per surface ("NUMBER OF SURFACES" group)
    Array<int, 1> SURFACE_POINT_COUNT;     // (SURFACE_COUNT) points of surface n
    Array<int, 2> SURFACE_SPARE_1;         // (2, SURFACE_COUNT) never filled; saved whole
    Array<int, 2> SURFACE_SPARE_2;         // (2, SURFACE_COUNT) never filled; saved whole
    Array<int, 1> SURFACE_SOLID_COUNT;     // (SURFACE_COUNT) solid triangles of surface n
    Array<int, 1> SURFACE_CLOSED;          // (SURFACE_COUNT) 1 closed, 0 open (geometry)
    Array<int, 1> SURFACE_ENTRY_COUNT;     // (SURFACE_COUNT) flow-entry triangles of surface n
    Array<int, 1> SURFACE_TRIANGLE_COUNT;  // (SURFACE_COUNT) solid + flow-entry triangles of surface n
    Array<int, 1> SURFACE_FIRST_POINT;     // (SURFACE_COUNT) points of surfaces 1 .. n-1
    Array<int, 1> SURFACE_FIRST_TRIANGLE;  // (SURFACE_COUNT) triangles of surfaces 1 .. n-1

    // ---- points ("NUMBER OF POINTS" group)
    Array<float, 1> POINT_X, POINT_Y, POINT_Z;  // (POINT_COUNT) coordinates (scaled)
    Array<int, 1> POINT_TRIANGLE_COUNT;         // (POINT_COUNT) triangles using the point (geometry)

    // ---- triangles ("TRIANGLES" group)
    Array<int, 2> TRIANGLE;                    // (6, TRIANGLE_COUNT) corners 1-3 (global), kind, mark, plane
    Array<float, 2> TRIANGLE_GEOMETRY;         // (5, TRIANGLE_COUNT) unit normal, plane constant, area
    Array<int, 1> ENTRY_TRIANGLE;              // (ENTRY_TRIANGLE_COUNT) triangle t of entry triangle e
    Array<float, 2> ENTRY_PROPERTIES;          // (5, ENTRY_TRIANGLE_COUNT) u, v, w, temperature, density
    Array<float, 3> ENTRY_SPECIES_PROPERTIES;  // (7, SPECIES_COUNT, ENTRY_TRIANGLE_COUNT) 1 fraction,
                                               // 2-7 entry constants of the flow initialisation
    Array<float, 2> SOLID_PROPERTIES;          // (4, SOLID_TRIANGLE_COUNT) temperature (<= 0 adiabatic,
                                               // minimum minus it), specular fraction, 3-4 wall velocity
    Array<float, 3> SOLID_SPECIES_PROPERTIES;  // (3, SPECIES_COUNT, SOLID_TRIANGLE_COUNT) adsorbed
                                               // fraction, outgas flux (then rate), outgas remainder
    Array<float, 2> SOLID_REACTION_PROBABILITY;  // (SURFACE_REACTION_DIM, SOLID_TRIANGLE_COUNT)
    Array<int, 2> SOLID_TRIANGLE;                // (2, SOLID_TRIANGLE_COUNT) 1 triangle t, 2 display colour
    Array<int, 1> TRIANGLE_SURFACE;              // (TRIANGLE_COUNT) surface n of triangle t
};

extern SurfaceState SURFACE;

#endif
