// BOX: the flowfield box, its division into divisions and elements, and the settings of its six sides.
//
// Written by the flow-data reader (app/casedata) for a new run and by the restart reader (app/restart)
// for a continued one; the geometry, the kernel and the displays only read it. Lengths are held in
// scaled units: every length of the data files is multiplied by SCALE_FACTOR when it is read.
#ifndef QR4T_APP_STATE_BOX_H
#define QR4T_APP_STATE_BOX_H

#include "base/array.h"

// Codes of BOUNDARY_CODE, one per side in the order min x, max x, min y, max y, min z, max z.
enum BoundaryCode {
    BOUNDARY_AXIS = 1,         // axis of symmetry
    BOUNDARY_PLANE = 2,        // plane of symmetry
    BOUNDARY_STREAM = 3,       // stream boundary
    BOUNDARY_VACUUM = 4,       // vacuum boundary
    BOUNDARY_PERIODIC = 5,     // periodic boundary
    BOUNDARY_PRESSURE = 6,     // constant-pressure boundary
    BOUNDARY_MOVING_WALL = 7,  // specular wall moving into the flow; side 1 (minimum x) only
};
constexpr int BOX_SIDES = 6;

struct BoxState {
    float XMIN = 0.0f, XMAX = 0.0f;  // x limits of the box (scaled)
    float YMIN = 0.0f, YMAX = 0.0f;  // y limits (scaled)
    float ZMIN = 0.0f, ZMAX = 0.0f;  // z limits (scaled)
    float SCALE_FACTOR = 1.0f;       // 1, or 10 / smallest extent when the x extent is below 10

    int DIVISIONS_X = 0, DIVISIONS_Y = 0, DIVISIONS_Z = 0;  // divisions of the box per direction
    int ELEMENTS_PER_DIVISION_X = 0;                        // elements per division along x
    int ELEMENTS_PER_DIVISION_Y = 0;                        // ... along y
    int ELEMENTS_PER_DIVISION_Z = 0;                        // ... along z

    Array<int, 1> BOUNDARY_CODE;  // (6), fixed: BoundaryCode of each side
    float WALL_SPEED = 0.0f;      // speed of the moving wall at side 1 (BOUNDARY_CODE(1) = 7)

    // The fixed arrays exist from the start, zero-filled, so that a cleared BOX has them too.
    BoxState() { BOUNDARY_CODE.allocate(BOX_SIDES); }
};

extern BoxState BOX;

#endif
