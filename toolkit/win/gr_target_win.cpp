// Drawing target selection: a window, an off-screen bitmap or a picture field of the current dialog
// becomes the surface of every graphics operation; the surface's size then re-derives the device area
// from the kept area fractions and user units. Also the platform answers of the graphics reset.
#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/graphics/gdi_context.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/gr_state.h"
#include "toolkit/win/gr_target_win.h"
#include "toolkit/graphics/window_text.h"
#include "toolkit/win/offscreen_bitmap.h"
#include "toolkit/win/picture_fields.h"
#include "toolkit/win/window_table_win.h"

namespace {

// Binds the current window's context and adopts its size; the reselect flag keeps IGrArea from
// repeating its hardcopy and text follow-ups.
void adopt_current_window()
{
    GrTarget.kind = TARGET_WINDOW;
    GrTarget.number = WIN_CURRENT.window;
    gr_gdi_bind(WIN_CURRENT.dc, -1);
    GrTarget.reselect = 1;
    IGrSurfaceSetup(TARGET_WINDOW, WIN_CURRENT.window, WIN_CURRENT.width, WIN_CURRENT.height);
    GrTarget.reselect = 0;
}

}  // namespace

void gr_select_target(int kind, int number)
{
    GrTarget.kind = kind;
    if (kind >= TARGET_WINDOW && kind <= TARGET_PICTURE_FIELD)
        picture_target_release();  // a picture field's context is given back before another is bound
    switch (kind) {
    case TARGET_WINDOW: {
        const int saved = ERROR_STATE.last_error;
        ERROR_STATE.last_error = 0;
        WWinSelect(number >= 0 ? number : WIN_CURRENT.window);
        if (ERROR_STATE.last_error == ERR_INVALID_WINDOW)
            break;
        ERROR_STATE.last_error = saved;
        adopt_current_window();
        return;
    }
    case TARGET_BITMAP: {
        const int handle = number >= 0 ? number : 1;
        int status = 1, width = 0, height = 0;
        IGrBitmapSelect(handle - 1, status, width, height);
        if (status != 0)
            break;
        GrTarget.number = handle;
        GrTarget.last_width = width;
        GrTarget.last_height = height;
        IGrSurfaceSetup(TARGET_BITMAP, handle, width, height);
        return;
    }
    case TARGET_PICTURE_FIELD: {
        int field = number >= 0 ? number : 0;
        int width = 0, height = 0;
        WDialogFieldTarget(field, width, height);
        if (field < 0)
            break;
        GrTarget.number = field;
        GrTarget.last_width = width;
        GrTarget.last_height = height;
        IGrSurfaceSetup(TARGET_PICTURE_FIELD, field, width, height);
        return;
    }
    default: return;  // another kind is recorded and nothing else happens
    }
    IErrorReport(GR_ERR_TARGET);
    adopt_current_window();
}

void gr_select_current_window()
{
    if (WIN_CURRENT.dc)
        adopt_current_window();
    else
        GrTarget.kind = TARGET_WINDOW;
}

int gr_display_colour_class()
{
    read_screen_info();
    GrGdiContext.display_colours = WIN_SCREEN.colours;
    return WIN_SCREEN.colour_class > 0 ? WIN_SCREEN.colour_class : 256;
}

void IGrSurfaceResize(int window, int width, int height)
{
    if (GrTarget.kind != TARGET_WINDOW || window != WIN_CURRENT.window)
        return;
    WIN_CURRENT.width = width;
    WIN_CURRENT.height = height;
    IGrSurfaceSetup(TARGET_WINDOW, window, width, height);
    WGrTextFontScale();
}
