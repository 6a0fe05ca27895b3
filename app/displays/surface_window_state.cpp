// The state of the surface display window: its opening values and its work arrays.
#include "app/displays/surface_window_state.h"

#include "app/displays/display_arrays.h"
#include "app/displays/surface_values.h"
#include "app/state/box.h"
#include "app/state/surface.h"

#include <algorithm>

SurfaceWindowState S3D;

namespace {

constexpr const char* OWNER = "surface display window";

}  // namespace

int streamline_max_points()
{
    const BoxState& B = BOX;
    return B.DIVISIONS_X * B.ELEMENTS_PER_DIVISION_X + B.DIVISIONS_Y * B.ELEMENTS_PER_DIVISION_Y +
           B.DIVISIONS_Z * B.ELEMENTS_PER_DIVISION_Z;
}

void open_surface_window_state()
{
    SurfaceWindowState& s = S3D;
    close_surface_window_state();
    s.S3D_PROPERTY = s.S3D_PROPERTY_PREV = 3;
    s.S3D_RANGE_HIGH = s.S3D_RANGE_LOW = s.S3D_LOG_SCALE = s.S3D_LOG_SCALE_PREV = 0;
    s.S3D_SHOW_AXES = s.S3D_SHOW_BOX = s.S3D_SHOW_ENTRY = s.S3D_NO_REFLECTION = 0;
    s.S3D_SELECTED_SURFACE = s.S3D_SELECTED_TRIANGLE = s.S3D_SELECTED_SOLID = 0;
    s.S3D_SPECIES = 1;
    s.STREAMLINE_COUNT = s.STREAMLINE_COUNTER = s.STREAMLINE_LAST = s.START_VALID = 0;
    s.START_X = s.START_Y = s.START_Z = 0.0f;

    const int points = streamline_max_points();
    s.STREAMLINE_MAX_POINTS = points;
    allocate_or_stop(s.VARL, OWNER, "VARL", surface_row_count(SurfaceDisplay::WINDOW),
                     SURFACE.SOLID_TRIANGLE_COUNT);
    allocate_or_stop(s.STREAM_DOWN_X, OWNER, "STREAM_DOWN_X", STREAMLINE_SLOTS, points);
    allocate_or_stop(s.STREAM_DOWN_Y, OWNER, "STREAM_DOWN_Y", STREAMLINE_SLOTS, points);
    allocate_or_stop(s.STREAM_DOWN_Z, OWNER, "STREAM_DOWN_Z", STREAMLINE_SLOTS, points);
    allocate_or_stop(s.STREAM_UP_X, OWNER, "STREAM_UP_X", STREAMLINE_SLOTS, points);
    allocate_or_stop(s.STREAM_UP_Y, OWNER, "STREAM_UP_Y", STREAMLINE_SLOTS, points);
    allocate_or_stop(s.STREAM_UP_Z, OWNER, "STREAM_UP_Z", STREAMLINE_SLOTS, points);
    // One column per streamline: at least 20 columns, also in a box with fewer elements along its axes.
    allocate_or_stop(s.STREAM_POINT_COUNT, OWNER, "STREAM_POINT_COUNT", 2,
                     std::max(points, STREAMLINE_SLOTS));
    allocate_or_stop(s.STREAMLINE_START, OWNER, "STREAMLINE_START", 2, 3, STREAMLINE_SLOTS + 1);
}

void close_surface_window_state()
{
    SurfaceWindowState& s = S3D;
    for (Array<float, 2>* a : {&s.VARL, &s.STREAM_DOWN_X, &s.STREAM_DOWN_Y, &s.STREAM_DOWN_Z, &s.STREAM_UP_X,
                               &s.STREAM_UP_Y, &s.STREAM_UP_Z})
        a->deallocate();
    s.STREAM_POINT_COUNT.deallocate();
    s.STREAMLINE_START.deallocate();
}
