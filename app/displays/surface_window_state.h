// S3D: the work arrays and the process-wide state of the surface display window (the paused 3-D view of
// the surfaces with streamlines). The window allocates the arrays and sets the state when it opens and
// frees the arrays when it closes; the surface property values and colours, the 3-D view's display list
// and the streamline tracer read or fill them.
#ifndef QR4T_APP_DISPLAYS_SURFACE_WINDOW_STATE_H
#define QR4T_APP_DISPLAYS_SURFACE_WINDOW_STATE_H

#include "base/array.h"

constexpr int STREAMLINE_SLOTS = 20;  // streamlines traced at most in one opening

struct SurfaceWindowState {
    // ---- work arrays, allocated on opening and freed on closing
    Array<float, 2> VARL;           // (SPECIES_COUNT + 12, SOLID_TRIANGLE_COUNT) shown values per triangle
    Array<float, 2> STREAM_DOWN_X;  // (20, STREAMLINE_MAX_POINTS) downstream points of streamline s
    Array<float, 2> STREAM_DOWN_Y;
    Array<float, 2> STREAM_DOWN_Z;
    Array<float, 2> STREAM_UP_X;  // (20, STREAMLINE_MAX_POINTS) upstream points
    Array<float, 2> STREAM_UP_Y;
    Array<float, 2> STREAM_UP_Z;
    Array<int, 2> STREAM_POINT_COUNT;  // (2, STREAMLINE_MAX_POINTS, at least 20) row 1 downstream, row 2
                                       // upstream count of streamline s in column s (columns 1..20 used)
    Array<int, 3> STREAMLINE_START;    // (2, 3, 21) start of each streamline: 1 division, 2 element;
                                       // x, y, z; streamline slot 1..21
    int STREAMLINE_MAX_POINTS = 0;     // elements along the three axes together

    // ---- window state; 0 on opening unless stated
    int S3D_PROPERTY = 3;       // property code shown; 3 (pressure) on opening
    int S3D_PROPERTY_PREV = 3;  // the code last drawn
    int S3D_RANGE_HIGH = 0;     // range adjustments of the colour scale
    int S3D_RANGE_LOW = 0;
    int S3D_LOG_SCALE = 0;       // logarithmic colour scale
    int S3D_LOG_SCALE_PREV = 0;  // its value when last read
    // The option switches; each takes its spin's value when that differs from what was last drawn.
    int S3D_SHOW_AXES = 0;         // axes in the display list
    int S3D_SHOW_BOX = 0;          // box edges
    int S3D_SHOW_ENTRY = 0;        // flow-entry triangles
    int S3D_NO_REFLECTION = 0;     // suppresses the mirror image
    int S3D_SELECTED_SURFACE = 0;  // selected surface and triangle within it (drawn black)
    int S3D_SELECTED_TRIANGLE = 0;
    int S3D_SELECTED_SOLID = 0;  // solid-triangle number of the selection; 0 when not solid
    int S3D_SPECIES = 1;         // species whose fraction the triangle dialog shows; 1 on opening
    int STREAMLINE_COUNT = 0;    // streamlines traced so far, 0..20
    int STREAMLINE_COUNTER = 0;  // the streamline counter as the user set it
    int STREAMLINE_LAST = 0;     // its value at the latest trace
    int START_VALID = 0;         // 1 when the start in slot STREAMLINE_COUNTER + 1 passed the checks
    float START_X = 0.0f;        // start point (scaled): the element centre chosen by the user
    float START_Y = 0.0f;
    float START_Z = 0.0f;
};

extern SurfaceWindowState S3D;

// DIVISIONS_X x ELEMENTS_PER_DIVISION_X + the same for y and z.
int streamline_max_points();

// Opening: the state takes its opening values and the work arrays are allocated from the case's
// counts; an allocation failure writes "PROGRAM COULD NOT ALLOCATE" with the array's name and stops.
void open_surface_window_state();
// Closing: the work arrays are freed.
void close_surface_window_state();

#endif
