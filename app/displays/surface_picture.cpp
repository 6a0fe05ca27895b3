// DRAW_SURFACE_PROPERTIES: the live surface property picture in the main window, redrawn at every output,
// on an expose message and when a setting of the surface toolbar changes. The surfaces are drawn with
// OpenGL into an off-screen bitmap of 510 x 420 pixels, which is then copied into the main window beside
// the legend strip.
#include "app/displays/display_arrays.h"
#include "app/displays/display_dialogs.h"
#include "app/displays/displays.h"
#include "app/displays/surface_values.h"
#include "app/displays/surface_window_state.h"
#include "app/displays/view_3d.h"
#include "app/displays/view_3d_gl.h"

#include "app/state/display.h"
#include "app/state/surface.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/win/gl_surface.h"
#include "toolkit/win/offscreen_bitmap.h"

namespace {

constexpr int PICTURE_WIDTH = 510, PICTURE_HEIGHT = 420;

}  // namespace

void DRAW_SURFACE_PROPERTIES()
{
    DisplaySettings& d = DISPLAY;
    if (!surface_results_ready())
        return;
    Array<float, 2> VARL;
    allocate_or_stop(VARL, "surface picture", "VARL", surface_row_count(SurfaceDisplay::LIVE),
                     SURFACE.SOLID_TRIANGLE_COUNT);
    fill_surface_values(VARL, SurfaceDisplay::LIVE);
    const int code = d.SURF_DISPLAY_PROPERTY.current;
    if (code < 1 || code > surface_row_count(SurfaceDisplay::LIVE))
        return;
    const SurfaceScale scale = surface_scale(VARL, code, d.SURF_LOG_SCALE.current == 1, false,
                                             d.SURF_RANGE_LOW.current, d.SURF_RANGE_HIGH.current);
    // No logarithm: the picture is linear, and the toolbar's box says so.
    if (scale.log_refused)
        refuse_log_scale(d.SURF_LOG_SCALE, IDD_SURFACE_TOOLBAR, IDC_SURF_LOG_SCALE);
    // Before any triangle has enough samples the earlier picture stays.
    if (!scale.counted)
        return;
    SURFACE_LEGEND_STRIP(SurfaceDisplay::LIVE, code, scale);
    colour_solid_triangles(VARL, code, scale);

    IGrSelectTarget(1, -1);
    IGrArea(0.0f, 0.1f, 0.5f, 0.68f);
    int bitmap = 0;
    WBitmapCreate(bitmap, PICTURE_WIDTH, PICTURE_HEIGHT);
    if (bitmap < 1)
        return;  // the toolkit has reported why
    WGlSelectTarget(2, bitmap, 0);
    const float background = d.SURF_WHITE_BACKGROUND.current == 1 ? 1.0f : 0.0f;
    gl_view_clear_colour(background, background, background, 1.0f);
    d.VIEW_MODE_3D = 2;
    BUILD_PROPERTY_LIST_3D();
    WGlSelectTarget(0);
    WBitmapPut(bitmap, 2, 0);
    WBitmapDestroy(bitmap);
}
