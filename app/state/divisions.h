// DIVISIONS: the flowfield box cut into divisions and elements, and what the set-up finds in them.
//
// Written by the flowfield geometry (app/geometry: SET_DIVISIONS_AND_ELEMENTS, SET_UP_CELLS,
// ADAPT_CELLS) and rebuilt by the restart reader; the kernel and the displays only read it, except for
// the six current indices, which the move also keeps (its present division) and the work array ICHECK.
//
// Every element array is 6-dimensional and indexed (z division, y division, x division, z element,
// y element, x element); every division array (field, z division, y division, x division); all 1-based.
#ifndef QR4T_APP_STATE_DIVISIONS_H
#define QR4T_APP_STATE_DIVISIONS_H

#include "base/array.h"

// DIVISION_INFO fields.
constexpr int DIVISION_CODE = 1;        // -k surface division k, L >= 1 level, 0 no flow, 100 no surfaces
constexpr int DIVISION_NODE_COUNT = 2;  // cell nodes in the division
constexpr int DIVISION_NODE_START = 3;  // ICELL row 3 entries before the division's group
constexpr int NO_SURFACE_LEVEL = 100;   // field 1 of every division of a case without surfaces

// SURFACE_INDEX fields.
constexpr int SURFACE_INDEX_COUNT = 1;  // triangles of the surface division
constexpr int SURFACE_INDEX_START = 2;  // TOTAL_SURFACE_INDEX entries before its list

struct Divisions {
    // ---- lattice scalars (scaled lengths; each stored as a 4-byte real before further use)
    float BOX_EXTENT_X = 0.0f;      // XMAX - XMIN
    float BOX_EXTENT_Y = 0.0f;      // YMAX - YMIN
    float BOX_EXTENT_Z = 0.0f;      // ZMAX - ZMIN
    float DIVISION_WIDTH_X = 0.0f;  // box extent / divisions, per axis
    float DIVISION_WIDTH_Y = 0.0f;
    float DIVISION_WIDTH_Z = 0.0f;
    int DIVISION_COUNT = 0;           // DIVISIONS_X * DIVISIONS_Y * DIVISIONS_Z
    float MIN_DIVISION_WIDTH = 0.0f;  // smallest division width (restart files only)
    float ELEMENT_WIDTH_X = 0.0f;     // division width / elements per division, per axis
    float ELEMENT_WIDTH_Y = 0.0f;
    float ELEMENT_WIDTH_Z = 0.0f;
    int ELEMENTS_IN_DIVISION = 0;     // product of the elements per division
    int ELEMENT_COUNT = 0;            // ELEMENTS_IN_DIVISION * DIVISION_COUNT
    float MIN_ELEMENT_WIDTH = 0.0f;   // smallest element width (restart files only)
    float ELEMENT_DIAGONAL = 0.0f;    // length unit of the element analysis
    float ELEMENT_VOLUME = 0.0f;      // volume unit of cell formation and adaption (scaled)
    float GEOMETRY_TOLERANCE = 0.0f;  // 1e-5 scaled length: margin of face tests

    // ---- constant tables (filled at the "Coordinates" stage, saved in the restart files)
    Array<int, 2> NEIGHBOUR_DIVISIONS;  // (26, 3): offsets (x, y, z) of the 26 divisions around one
    Array<int, 3> PATH_DIVISIONS;       // (26, 3, 8): divisions between a division and neighbour k

    // ---- divisions and elements (live for the run)
    Array<int, 4> DIVISION_INFO;          // (3, DIVISIONS_Z, DIVISIONS_Y, DIVISIONS_X), fields above
    Array<int, 6> ELEMENT_CELL;           // cell of every element; below 1: no cell
    Array<int, 4> SUB_ELEMENTS_IN_FLOW;   // (surface division, z element, y element, x element): 0..1000
    int SUB_ELEMENTS = 1000;              // sub-elements of one element
    float SUB_ELEMENT_FRACTION = 0.001f;  // volume share of one sub-element
    Array<int, 2> SURFACE_INDEX;          // (2, SURFACE_DIVISION_COUNT), fields above
    Array<int, 1> TOTAL_SURFACE_INDEX;    // triangle lists of the surface divisions, packed in order
    int TOTAL_SURFACE_INDEX_SIZE = 0;     // sum of the list lengths
    int SURFACE_DIVISION_COUNT = 0;       // divisions that surface triangles reach
    int SURFACE_ELEMENT_COUNT = 0;        // elements that surface triangles reach
    int MNSEG = 0;                        // capacity of a division's triangle list; ICHECK has 8 * MNSEG
    int MTRI = 0;                         // capacity of a surface element's triangle list
    int MAXSEL = 0;                       // rows (surface elements) of INDSURF
    Array<int, 1> ICHECK;                 // (8 * MNSEG): the move's work array of triangles tested
    int MAX_DIVISION_LEVEL = 0;           // highest level of a flow division
    int FLOW_DIVISION_COUNT = 0;          // divisions with field 1 above 0
    Array<int, 2> TRIANGLE_NEIGHBOURS;    // (TRIANGLE_COUNT, 3): triangle across each side, or -face

    // ---- the point located last (also the sweeps' and the move's present division)
    int CURRENT_DIVISION_X = 1;
    int CURRENT_DIVISION_Y = 1;
    int CURRENT_DIVISION_Z = 1;
    int CURRENT_ELEMENT_X = 1;
    int CURRENT_ELEMENT_Y = 1;
    int CURRENT_ELEMENT_Z = 1;

    // ---- temporaries of SET_DIVISIONS_AND_ELEMENTS (released at its end)
    Array<int, 6> SURFACE_ELEMENT_NUMBER;  // surface element number of an element, 0 when none
    Array<int, 6> ELEMENT_CODE;            // -2 none, -1 behind, +1 in front, 0 both (marking)
    // INDSURF (MAXSEL, 0:MTRI): the triangle list of each surface element; column 0 the count. Stored
    // transposed, one surface element's list contiguous, as (column + 1, surface element): use indsurf().
    Array<int, 2> INDSURF;
    // INDIV (DIVISIONS_Z, DIVISIONS_Y, DIVISIONS_X, 0:MNSEG): the triangle list of each division; slot 0
    // the count. Stored as (slot + 1, z, y, x) with room for indiv_room slots: use indiv().
    Array<int, 4> INDIV;
    int indiv_room = 0;                  // slots 1..indiv_room allocated (>= MNSEG)
    Array<int, 2> SURFACE_ELEMENT_DATA;  // (6, SURFACE_ELEMENT_COUNT): face flags of cut elements
    float PROGRESS_STEP = 1.0f;          // bar advance of one unit of work
    float PROGRESS_VALUE = 0.0f;         // running bar position
};

extern Divisions DIVISIONS;

// Column c (0..MTRI) of surface element e's INDSURF list.
inline int& indsurf(int e, int c)
{
    return DIVISIONS.INDSURF(c + 1, e);
}

// Slot s (0..MNSEG) of the INDIV list of division (iz, iy, ix).
inline int& indiv(int iz, int iy, int ix, int s)
{
    return DIVISIONS.INDIV(s + 1, iz, iy, ix);
}

#endif
