// clear_display_state: one place that knows the list of the displays' state.
#include "app/displays/clear_display_state.h"

#include "app/displays/colour_scale.h"
#include "app/displays/flowfield_properties.h"
#include "app/displays/section_display.h"
#include "app/displays/section_state.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"

void clear_display_state()
{
    SECTION = SectionDisplayState{};
    S3D = SurfaceWindowState{};
    VIEW_3D = View3DState{};
    VIEW_LIST = ViewList{};
    VIEW_RAMP = ColourRamp{};
    PICTURE_RAMP = ColourRamp{};
    for (Array<float, 1>* frame :
         {&PLANE_FRAME_LEFT, &PLANE_FRAME_RIGHT, &PLANE_FRAME_BOTTOM, &PLANE_FRAME_TOP})
        frame->fill(0.0f);
    CONTOUR_BAND.fill(0);
}
